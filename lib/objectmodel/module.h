// Module-wide state of the library: its instance handle, the count of live objects and
// server locks that DllCanUnloadNow reads, and the embedded type library with what is read
// from it once (type information and dispatch tables per interface).
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string>

namespace bk {

class DispatchTable;

HINSTANCE ModuleInstance();
void SetModuleInstance(HINSTANCE instance);
std::wstring ModuleFileName();

// Every live object holds one count.
void ModuleAddRef();
void ModuleRelease();
// Server locks (IClassFactory::LockServer): a lock count that never goes below zero, however
// often a client unlocks.
void ModuleLock();
void ModuleUnlock();
bool ModuleInUse();

// The type library embedded as resource TYPELIB 1, loaded on first use.
HRESULT LibraryTypeLib(ITypeLib** out);
// Type information of an interface or class of the library, cached.
HRESULT LibraryTypeInfo(REFGUID guid, ITypeInfo** out);
// The dispatch table of a dual interface of the library (see dispatch.h), built on first use
// and kept while the module is in use.
HRESULT LibraryDispatchTable(REFIID iid, const DispatchTable** out);
// Drops what was cached from the type library once the module is no longer in use.
void ReleaseTypeLibCache();

}  // namespace bk
