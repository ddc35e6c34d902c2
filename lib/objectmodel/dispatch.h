// IDispatch served from the embedded type information, with the two gaps of the host's
// ITypeInfo::Invoke filled in one place:
//  - [vararg] members with a return value (the parameter array is packed here and the
//    member is called through its vtable slot);
//  - omitted optional by-reference arguments (a temporary of the parameter's own type,
//    holding its default value or the empty value, is passed by reference), whether the
//    caller passes its arguments by position or by name.
#pragma once

#include <windows.h>
#include <oaidl.h>

namespace bk {

HRESULT InvokeThroughTypeInfo(ITypeInfo* typeInfo, void* instance, DISPID id, WORD flags,
                              DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                              UINT* argErr);

}  // namespace bk
