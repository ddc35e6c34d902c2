// Reads a run-time error object into an ErrorRecord, late-bound by property name, so that
// any automation object with Number, Description, Source, HelpFile and HelpContext serves
// (the library's own error object, a client's, a script's class instance).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "support/base/error_record.h"

namespace bk::errors {

// Reads the five properties once each, in the order Number, Description, Source, HelpFile,
// HelpContext. Stops at the first read that fails and reports the error it stands for in
// `failure` (the object's own error, or 438 for a missing property, 13 / 94 / 6 for a value
// that does not convert, 424 for no object).
HRESULT ReadErrorRecord(IDispatch* object, support::ErrorRecord& record, support::ErrorRecord& failure);

}  // namespace bk::errors
