// Module-wide state of the library: its instance handle, the count of live objects and
// server locks that DllCanUnloadNow reads, and the embedded type library.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace bk {

HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);
std::wstring ModuleFileName();

// Every live object and every LockServer(TRUE) holds one count.
void ModuleAddRef();
void ModuleRelease();
bool ModuleInUse();

// The type library embedded as resource TYPELIB 1, loaded on first use.
HRESULT LibraryTypeLib(ITypeLib** out);
HRESULT LibraryTypeInfo(REFGUID guid, ITypeInfo** out);
// Drops the cached type library once the module is no longer in use.
void ReleaseTypeLibCache();

}  // namespace bk
