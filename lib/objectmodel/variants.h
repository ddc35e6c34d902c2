// Arguments as the automation runtime sees them: omitted, Null, Nothing, references to
// variables, and conversions with the run-time errors their failures stand for.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace bk {

// The variant a chain of VT_VARIANT | VT_BYREF references points to; a null reference ends
// the chain at the variant holding it.
const VARIANT* Deref(const VARIANT* v);
VARIANT* Deref(VARIANT* v);

// An omitted optional argument (DISP_E_PARAMNOTFOUND), also through references.
bool IsMissing(const VARIANT& v);
// Null, also through references.
bool IsNull(const VARIANT& v);
// An object variable set to Nothing: an object type without an object.
bool IsNothing(const VARIANT& v);

// The run-time error number a failed conversion of `value` stands for: 94 for Null, 91 for
// an object variable set to Nothing, 438 for an object without a default value, 6 overflow,
// 7 out of memory, 13 type mismatch for anything else.
long ConversionErrorNumber(HRESULT hr, const VARIANT& value);

// Converts `value` (through references) to `type` by the automation rules; an object gives
// its default value first. `locale` and `flags` as VariantChangeTypeEx takes them. On failure
// `out` is empty and the result is the run-time error's HRESULT (0x800A0000 | number, see
// ConversionErrorNumber); nothing is raised.
HRESULT ConvertValue(const VARIANT& value, VARTYPE type, VARIANT& out, LCID locale = LOCALE_USER_DEFAULT,
                     USHORT flags = 0);

}  // namespace bk
