// Reads a run-time error object into an ErrorRecord, late-bound by property name, so that
// any automation object with Number, Description, Source, HelpFile and HelpContext serves.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

#include "lib/errors/errormessages.h"

namespace bk::errors {

// The failure of a property read, to be raised by the calling member: its HRESULT and the
// description the object gave (empty when it gave none).
struct ReadFailure {
    HRESULT hr = S_OK;
    std::wstring description;
};

// Reads the five properties once each, in the order Number, Description, Source, HelpFile,
// HelpContext. Stops at the first read that fails and reports it through `failure`.
HRESULT ReadErrorRecord(IDispatch* object, ErrorRecord& record, ReadFailure& failure);

}  // namespace bk::errors
