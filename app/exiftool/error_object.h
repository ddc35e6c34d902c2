// A small error object of Metaview's own (Number, Description, Source, HelpFile, HelpContext)
// to hand a failure recorded during a run to orxErr.GetErrorMessage. Callable both through
// the ErrObject interface and by name through IDispatch.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string_view>

#include "Basekit0308.h"

namespace metaview {

struct ErrorRecord {
    long Number = 0;
    std::wstring_view Description;
    std::wstring_view Source;
    std::wstring_view HelpFile;
    long HelpContext = 0;
};

// The caller owns the new object (one reference).
HRESULT CreateErrorObject(const ErrorRecord& error, ErrObject** out) noexcept;

}  // namespace metaview
