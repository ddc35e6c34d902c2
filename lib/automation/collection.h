// The library's collection: 1-based ordered items with optional unique text keys (compared
// without regard to case), behind the automation runtime's collection interface.
// Positions and keys are found in constant time, so it stays fast for very large counts.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "Basekit0308.h"

namespace bk {

// Creates an empty collection; the caller owns the reference.
HRESULT CreateCollection(_Collection** out);

// Appends a value under an optional key (empty key: none) through the collection's own rules.
HRESULT CollectionAppend(_Collection* collection, const VARIANT& value, const wchar_t* key = nullptr);

}  // namespace bk
