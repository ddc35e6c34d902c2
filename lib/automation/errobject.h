// The library's error object: Number, Description, Source, HelpFile and HelpContext of a
// run-time error, behind the automation runtime's error-object interface. Callers that
// received a failing HRESULT build one from it and the thread's IErrorInfo.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "Basekit0308.h"

namespace bk {

// `info` may be null (the number alone is known). The caller owns the new object.
HRESULT CreateErrorObject(HRESULT hr, IErrorInfo* info, ErrObject** out);

}  // namespace bk
