// The library's error object: Number, Description, Source, HelpFile, HelpContext (and the
// rest of the automation runtime's error object) of one run-time error, callable through the
// ErrObject interface and by name. Used wherever an error must be handed to a member that
// takes an error object (orxErr's messages), by the library and by Metaview alike.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "Basekit0308.h"
#include "support/base/error_record.h"

namespace bk {

// A new error object holding `error`; the caller owns it.
HRESULT CreateErrorObject(const support::ErrorRecord& error, ErrObject** out) noexcept;

// A new error object for a call that failed with `hr` and left `info` (may be null): the
// number is the run-time error number of `hr`, the texts come from `info`.
HRESULT CreateErrorObjectFromFailure(HRESULT hr, IErrorInfo* info, ErrObject** out) noexcept;

}  // namespace bk
