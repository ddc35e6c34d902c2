// One owner for every Windows resource the code holds: handles, keys, GDI objects, windows,
// memory blocks, modules, scopes that must be closed (an open clipboard, a device context, an
// object selected into it) and type descriptions. Each kind is one line below: its traits say
// what "none" is and how the resource is given back. All owners share one set of verbs:
//   get()      the raw value, ownership kept
//   put()      gives back what is held and returns the address for a call that fills it
//   reset(v)   gives back what is held and takes `v`
//   detach()   hands the raw value over to the caller, who owns it from then on
//   valid() / explicit operator bool   whether something is held
// Owners move, never copy. The COM owners (interfaces, strings, variants, arrays) are in com.h.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <utility>

namespace support {

template <class Traits>
class Owner {
public:
    using value_type = typename Traits::value_type;

    Owner() noexcept = default;
    explicit Owner(value_type v) noexcept : v_(v) {}
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    Owner(Owner&& o) noexcept : v_(o.detach()) {}
    Owner& operator=(Owner&& o) noexcept {
        if (this != &o) reset(o.detach());
        return *this;
    }
    ~Owner() { reset(); }

    value_type get() const noexcept { return v_; }
    bool valid() const noexcept { return Traits::Valid(v_); }
    explicit operator bool() const noexcept { return valid(); }
    value_type* put() noexcept {
        reset();
        return &v_;
    }
    value_type detach() noexcept { return std::exchange(v_, Traits::None()); }
    void reset(value_type v = Traits::None()) noexcept {
        if (Traits::Valid(v_)) Traits::Close(v_);
        v_ = v;
    }

private:
    value_type v_ = Traits::None();
};

namespace owner_traits {

// A pointer-like value whose "none" is null, given back by `close`.
template <class T, auto close>
struct Pointer {
    using value_type = T;
    static constexpr T None() noexcept { return nullptr; }
    static bool Valid(T v) noexcept { return v != nullptr; }
    static void Close(T v) noexcept { close(v); }
};

// Kernel handles: both null and INVALID_HANDLE_VALUE mean none.
struct Kernel {
    using value_type = HANDLE;
    static HANDLE None() noexcept { return nullptr; }
    static bool Valid(HANDLE h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) noexcept { CloseHandle(h); }
};

inline void DeleteGdiObject(HGDIOBJ o) noexcept { DeleteObject(o); }
inline void DestroyWindowIfAlive(HWND w) noexcept {
    if (IsWindow(w)) DestroyWindow(w);
}
inline void CloseRegKey(HKEY k) noexcept { RegCloseKey(k); }
inline void FreeLocal(HLOCAL m) noexcept { LocalFree(m); }
inline void FreeGlobal(HGLOBAL m) noexcept { GlobalFree(m); }
inline void UnloadModule(HMODULE m) noexcept { FreeLibrary(m); }
inline void DestroyIconHandle(HICON i) noexcept { DestroyIcon(i); }
inline void DestroyCursorHandle(HCURSOR c) noexcept { DestroyCursor(c); }
inline void DestroyMenuHandle(HMENU m) noexcept { DestroyMenu(m); }
inline void DestroyAccelerators(HACCEL a) noexcept { DestroyAcceleratorTable(a); }
inline void DeleteMemoryDC(HDC dc) noexcept { DeleteDC(dc); }
inline void Unhook(HHOOK h) noexcept { UnhookWindowsHookEx(h); }

// An open clipboard: the value says whether OpenClipboard succeeded.
struct Clipboard {
    using value_type = bool;
    static constexpr bool None() noexcept { return false; }
    static bool Valid(bool open) noexcept { return open; }
    static void Close(bool) noexcept { CloseClipboard(); }
};

// A window's device context from GetDC, given back with ReleaseDC.
struct WindowDc {
    struct value_type {
        HWND window = nullptr;
        HDC dc = nullptr;
    };
    static constexpr value_type None() noexcept { return {}; }
    static bool Valid(const value_type& v) noexcept { return v.dc != nullptr; }
    static void Close(const value_type& v) noexcept { ReleaseDC(v.window, v.dc); }
};

// An object selected into a device context; the one it replaced goes back in.
struct Selection {
    struct value_type {
        HDC dc = nullptr;
        HGDIOBJ previous = nullptr;
    };
    static constexpr value_type None() noexcept { return {}; }
    static bool Valid(const value_type& v) noexcept { return v.dc != nullptr && v.previous != nullptr; }
    static void Close(const value_type& v) noexcept { SelectObject(v.dc, v.previous); }
};

// Descriptions handed out by an ITypeInfo, given back to it. The type information must
// outlive the owner (callers hold it in a ComPtr declared first).
template <class Desc, void (STDMETHODCALLTYPE ITypeInfo::*release)(Desc*)>
struct TypeDescription {
    struct value_type {
        ITypeInfo* info = nullptr;
        Desc* desc = nullptr;
    };
    static constexpr value_type None() noexcept { return {}; }
    static bool Valid(const value_type& v) noexcept { return v.desc != nullptr; }
    static void Close(const value_type& v) noexcept { (v.info->*release)(v.desc); }
};

// The attributes of a type library, given back to it (the library must outlive the owner).
struct LibraryAttributes {
    struct value_type {
        ITypeLib* library = nullptr;
        TLIBATTR* attr = nullptr;
    };
    static constexpr value_type None() noexcept { return {}; }
    static bool Valid(const value_type& v) noexcept { return v.attr != nullptr; }
    static void Close(const value_type& v) noexcept { v.library->ReleaseTLibAttr(v.attr); }
};

inline void UnlockArray(SAFEARRAY* a) noexcept { SafeArrayUnlock(a); }

}  // namespace owner_traits

using UniqueHandle = Owner<owner_traits::Kernel>;  // files, processes, threads, events, snapshots
using Mutex = Owner<owner_traits::Kernel>;
using RegKey = Owner<owner_traits::Pointer<HKEY, owner_traits::CloseRegKey>>;
template <class T>
using GdiObject = Owner<owner_traits::Pointer<T, owner_traits::DeleteGdiObject>>;  // fonts, brushes, bitmaps
using Window = Owner<owner_traits::Pointer<HWND, owner_traits::DestroyWindowIfAlive>>;
using LocalMemory = Owner<owner_traits::Pointer<HLOCAL, owner_traits::FreeLocal>>;
using GlobalMemory = Owner<owner_traits::Pointer<HGLOBAL, owner_traits::FreeGlobal>>;
using Module = Owner<owner_traits::Pointer<HMODULE, owner_traits::UnloadModule>>;
using Icon = Owner<owner_traits::Pointer<HICON, owner_traits::DestroyIconHandle>>;
using Cursor = Owner<owner_traits::Pointer<HCURSOR, owner_traits::DestroyCursorHandle>>;
using Menu = Owner<owner_traits::Pointer<HMENU, owner_traits::DestroyMenuHandle>>;
using Accelerators = Owner<owner_traits::Pointer<HACCEL, owner_traits::DestroyAccelerators>>;
using MemoryDC = Owner<owner_traits::Pointer<HDC, owner_traits::DeleteMemoryDC>>;
using Hook = Owner<owner_traits::Pointer<HHOOK, owner_traits::Unhook>>;
using ClipboardOpen = Owner<owner_traits::Clipboard>;
using WindowDC = Owner<owner_traits::WindowDc>;
using SelectedObject = Owner<owner_traits::Selection>;
using FuncDesc = Owner<owner_traits::TypeDescription<FUNCDESC, &ITypeInfo::ReleaseFuncDesc>>;
using TypeAttr = Owner<owner_traits::TypeDescription<TYPEATTR, &ITypeInfo::ReleaseTypeAttr>>;
using LibAttr = Owner<owner_traits::LibraryAttributes>;
using ArrayLock = Owner<owner_traits::Pointer<SAFEARRAY*, owner_traits::UnlockArray>>;  // a locked SAFEARRAY

// The device context of a window (of the screen for null); check valid() before use.
inline WindowDC GetWindowDC(HWND window) noexcept { return WindowDC({window, GetDC(window)}); }

// Selects `object` into `dc` until the owner goes.
inline SelectedObject Select(HDC dc, HGDIOBJ object) noexcept {
    if (!dc || !object) return SelectedObject();
    return SelectedObject({dc, SelectObject(dc, object)});
}

// Opens the clipboard for `owner`; valid() tells whether it opened.
inline ClipboardOpen OpenClipboardFor(HWND owner) noexcept { return ClipboardOpen(OpenClipboard(owner) != FALSE); }

// Description of member `index` / the attributes of a type; check valid() before use.
inline FuncDesc GetFuncDesc(ITypeInfo* info, UINT index) noexcept {
    FUNCDESC* fd = nullptr;
    if (!info || FAILED(info->GetFuncDesc(index, &fd))) return FuncDesc();
    return FuncDesc({info, fd});
}
inline TypeAttr GetTypeAttr(ITypeInfo* info) noexcept {
    TYPEATTR* attr = nullptr;
    if (!info || FAILED(info->GetTypeAttr(&attr))) return TypeAttr();
    return TypeAttr({info, attr});
}

inline LibAttr GetLibAttr(ITypeLib* library) noexcept {
    TLIBATTR* attr = nullptr;
    if (!library || FAILED(library->GetLibAttr(&attr))) return LibAttr();
    return LibAttr({library, attr});
}

// Locks `array` until the owner goes; check valid() before use.
inline ArrayLock LockArray(SAFEARRAY* array) noexcept {
    if (!array || FAILED(SafeArrayLock(array))) return ArrayLock();
    return ArrayLock(array);
}

}  // namespace support
