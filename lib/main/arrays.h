// orxMain's array helpers: the ArrayString and ArrayLong builders and the array searches.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace bk {

// Arrays of the arguments (a one-dimensional array of variants), indexed like it: each
// argument as text, or as a 32-bit integer with halves rounded to the even one. An argument
// that cannot be converted leaves its element empty; an unusable argument list gives an
// array without elements.
HRESULT BuildArrayString(SAFEARRAY* args, SAFEARRAY** result);
HRESULT BuildArrayLong(SAFEARRAY* args, SAFEARRAY** result);

enum class TextMatch { Exact, IgnoreCase };

// The position of the first element between StartAt and EndAt (default: the array's bounds)
// that equals `findWhat`, or the lower bound minus one. Reaching a position outside the
// array fails with error 9.
HRESULT FindInArrayLong(SAFEARRAY** arrayX, LONG findWhat, const VARIANT& startAt, const VARIANT& endAt,
                        VARIANT_BOOL* isFound, LONG* result);
HRESULT FindInArrayString(SAFEARRAY** arrayX, BSTR findWhat, const VARIANT& startAt, const VARIANT& endAt,
                          TextMatch match, VARIANT_BOOL* isFound, LONG* result);

}  // namespace bk
