#include "lib/objectmodel/module.h"

#include <memory>
#include <vector>

#include "lib/objectmodel/dispatch.h"
#include "support/es/fileops.h"
#include "support/win/com.h"
#include "support/win/owner.h"
#include "support/win/resources.h"

namespace bk {
namespace {

HINSTANCE g_instance = nullptr;
LONG g_objects = 0;
LONG g_locks = 0;

// What is read from the type library once. Guarded by a lock: objects live in the apartments
// of their callers, and several apartments may call at once.
struct Cache {
    SRWLOCK lock = SRWLOCK_INIT;
    support::ComPtr<ITypeLib> typelib;
    std::vector<std::pair<GUID, support::ComPtr<ITypeInfo>>> typeInfos;
    std::vector<std::pair<GUID, std::unique_ptr<DispatchTable>>> tables;
};

Cache& TheCache() {
    static Cache cache;
    return cache;
}

class SharedLock {
public:
    explicit SharedLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockShared(&lock_); }
    ~SharedLock() { ReleaseSRWLockShared(&lock_); }
    SharedLock(const SharedLock&) = delete;
    SharedLock& operator=(const SharedLock&) = delete;

private:
    SRWLOCK& lock_;
};

class ExclusiveLock {
public:
    explicit ExclusiveLock(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
    ~ExclusiveLock() { ReleaseSRWLockExclusive(&lock_); }
    ExclusiveLock(const ExclusiveLock&) = delete;
    ExclusiveLock& operator=(const ExclusiveLock&) = delete;

private:
    SRWLOCK& lock_;
};

// Loads the embedded type library from a copy in a temporary file, for hosts whose resource
// lookup cannot reach the TYPELIB resource (see support/win/resources.h). The copy is deleted
// as soon as it is loaded: the loader keeps nothing of the file.
HRESULT LoadTypeLibFromCopy(ITypeLib** out) {
    const auto data = support::FindNamedTypeResource(g_instance, L"TYPELIB", 1);
    if (data.empty()) return TYPE_E_CANTLOADLIBRARY;
    wchar_t folder[MAX_PATH + 1] = {}, file[MAX_PATH + 1] = {};
    if (!GetTempPathW(MAX_PATH, folder) || !GetTempFileNameW(folder, L"bkt", 0, file))
        return HRESULT_FROM_WIN32(GetLastError());
    HRESULT hr = S_OK;
    {
        support::UniqueHandle h(CreateFileW(file, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_TEMPORARY, nullptr));
        DWORD written = 0;
        if (!h || !WriteFile(h.get(), data.data(), static_cast<DWORD>(data.size()), &written, nullptr) ||
            written != data.size())
            hr = HRESULT_FROM_WIN32(GetLastError());
    }
    if (SUCCEEDED(hr)) hr = LoadTypeLibEx(file, REGKIND_NONE, out);
    DeleteFileW(file);
    return hr;
}

// The embedded library: from the DLL itself, else (hosts that cannot reach the resource) from
// a temporary copy of the resource.
HRESULT LoadOwnTypeLib(support::ComPtr<ITypeLib>& out) {
    if (SUCCEEDED(LoadTypeLibEx(ModuleFileName().c_str(), REGKIND_NONE, out.put()))) return S_OK;
    return LoadTypeLibFromCopy(out.put());
}

// The entry of `guid` in one of the cache's lists, made by `make` on first use (outside the
// lock: making it may use the cache itself) and handed out by `give` under the lock, since
// another apartment may grow the list meanwhile.
template <class Value, class Make, class Give>
HRESULT CachedByGuid(std::vector<std::pair<GUID, Value>>& list, REFGUID guid, Make&& make, Give&& give) {
    Cache& cache = TheCache();
    auto find = [&]() -> const Value* {
        for (const auto& [id, value] : list)
            if (id == guid) return &value;
        return nullptr;
    };
    {
        SharedLock shared(cache.lock);
        if (const Value* value = find()) {
            give(*value);
            return S_OK;
        }
    }
    Value made{};
    if (HRESULT hr = make(made); FAILED(hr)) return hr;
    ExclusiveLock exclusive(cache.lock);
    if (const Value* value = find()) {  // another apartment was quicker
        give(*value);
        return S_OK;
    }
    list.emplace_back(guid, std::move(made));
    give(list.back().second);
    return S_OK;
}

}  // namespace

HINSTANCE ModuleInstance() { return g_instance; }
void SetModuleInstance(HINSTANCE instance) { g_instance = instance; }

std::wstring ModuleFileName() { return support::esGetModuleFileName(g_instance, false); }

void ModuleAddRef() { InterlockedIncrement(&g_objects); }
void ModuleRelease() { InterlockedDecrement(&g_objects); }

void ModuleLock() { InterlockedIncrement(&g_locks); }
void ModuleUnlock() {
    // More unlocks than locks are a client's mistake; they must not make the module look
    // unused while objects live.
    for (LONG n = g_locks; n > 0;) {
        const LONG seen = InterlockedCompareExchange(&g_locks, n - 1, n);
        if (seen == n) return;
        n = seen;
    }
}

bool ModuleInUse() {
    return InterlockedCompareExchange(&g_objects, 0, 0) != 0 || InterlockedCompareExchange(&g_locks, 0, 0) != 0;
}

HRESULT LibraryTypeLib(ITypeLib** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    Cache& cache = TheCache();
    {
        SharedLock shared(cache.lock);
        if (cache.typelib) {
            *out = support::ComPtr<ITypeLib>(cache.typelib).detach();
            return S_OK;
        }
    }
    ExclusiveLock exclusive(cache.lock);
    if (!cache.typelib) {
        if (HRESULT hr = LoadOwnTypeLib(cache.typelib); FAILED(hr)) return hr;
    }
    *out = support::ComPtr<ITypeLib>(cache.typelib).detach();
    return S_OK;
}

HRESULT LibraryTypeInfo(REFGUID guid, ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return CachedByGuid(
        TheCache().typeInfos, guid,
        [&](support::ComPtr<ITypeInfo>& made) {
            support::ComPtr<ITypeLib> lib;
            if (HRESULT hr = LibraryTypeLib(lib.put()); FAILED(hr)) return hr;
            return lib->GetTypeInfoOfGuid(guid, made.put());
        },
        [&](const support::ComPtr<ITypeInfo>& info) { *out = support::ComPtr<ITypeInfo>(info).detach(); });
}

HRESULT LibraryDispatchTable(REFIID iid, const DispatchTable** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    return CachedByGuid(
        TheCache().tables, iid,
        [&](std::unique_ptr<DispatchTable>& made) {
            support::ComPtr<ITypeInfo> info;
            if (HRESULT hr = LibraryTypeInfo(iid, info.put()); FAILED(hr)) return hr;
            return DispatchTable::Create(info.get(), made);
        },
        [&](const std::unique_ptr<DispatchTable>& table) { *out = table.get(); });
}

void ReleaseTypeLibCache() {
    Cache& cache = TheCache();
    ExclusiveLock exclusive(cache.lock);
    cache.tables.clear();
    cache.typeInfos.clear();
    cache.typelib.reset();
}

}  // namespace bk
