// IDispatch for small objects without type information (the error object, a window handed to a
// caller, Metaview's application object): members are found by name in a fixed table, letter
// case ignored, and there is no type information to give.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <span>

namespace bk {

struct NamedId {
    const wchar_t* name;
    DISPID id;
};

// GetTypeInfoCount and GetTypeInfo: none.
HRESULT NoTypeInfoCount(UINT* count);
HRESULT NoTypeInfo(ITypeInfo** info);

// GetIDsOfNames: the first name is looked up in `members`; the objects have no named
// arguments, so every further name (and an unknown first one) gets DISPID_UNKNOWN and the call
// DISP_E_UNKNOWNNAME.
HRESULT IdsOfNames(std::span<const NamedId> members, LPOLESTR* names, UINT count, DISPID* ids);

}  // namespace bk
