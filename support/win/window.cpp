#include "support/win/window.h"

#include <commctrl.h>

#include <exception>

namespace support {
namespace {

// The one exception boundary of every message handler: `handle` runs, and an exception ends
// the message with `fallback()` instead of unwinding into the system.
template <class Handle, class Fallback>
auto Guarded(Handle&& handle, Fallback&& fallback) noexcept -> decltype(handle()) {
    try {
        return handle();
    } catch (const std::exception&) {
        OutputDebugStringW(L"window procedure: exception, message not handled\n");
    } catch (...) {
        OutputDebugStringW(L"window procedure: exception, message not handled\n");
    }
    try {
        return fallback();
    } catch (...) {
        return {};
    }
}

}  // namespace

WindowBase::~WindowBase() {
    if (!window_) return;
    HWND window = window_;
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    window_ = nullptr;
    if (IsWindow(window)) DestroyWindow(window);
}

bool WindowBase::RegisterWindowClass(WNDCLASSEXW wc) {
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = &WindowBase::Thunk;
    if (!wc.hInstance) wc.hInstance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) return existing.lpfnWndProc == &WindowBase::Thunk;
    return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND WindowBase::CreateOwnWindow(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                                 int y, int width, int height, HWND parent, HMENU menu, HINSTANCE instance) {
    if (!instance) instance = GetModuleHandleW(nullptr);
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu, instance, this);
}

LRESULT WindowBase::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandling(message, wParam, lParam);
}

LRESULT WindowBase::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK WindowBase::Thunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self) {
            self->window_ = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        }
    }
    auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!self) return DefWindowProcW(window, message, wParam, lParam);
    const LRESULT result = Guarded([&] { return self->HandleMessage(message, wParam, lParam); },
                                   [&] { return DefWindowProcW(window, message, wParam, lParam); });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
    }
    return result;
}

DialogBase::~DialogBase() {
    if (!dialog_) return;
    HWND dialog = dialog_;
    SetWindowLongPtrW(dialog, DWLP_USER, 0);
    dialog_ = nullptr;
    if (!modal_ && IsWindow(dialog)) DestroyWindow(dialog);
}

INT_PTR DialogBase::RunModal(HWND owner, const std::vector<std::uint32_t>& dialogTemplate, HINSTANCE instance) {
    modal_ = true;
    const INT_PTR result =
        DialogBoxIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), owner,
                                &DialogBase::Thunk, reinterpret_cast<LPARAM>(this));
    dialog_ = nullptr;
    return result;
}

HWND DialogBase::CreateModeless(HWND owner, const std::vector<std::uint32_t>& dialogTemplate, HINSTANCE instance) {
    modal_ = false;
    return CreateDialogIndirectParamW(instance, reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()), owner,
                                      &DialogBase::Thunk, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogBase::Thunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogBase*>(lParam);
        if (self) self->dialog_ = dialog;
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    }
    auto* self = reinterpret_cast<DialogBase*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!self) return FALSE;
    const INT_PTR result = Guarded([&] { return self->HandleMessage(message, wParam, lParam); },
                                   [&]() -> INT_PTR {
                                       // A dialog that could not initialise is of no use: a modal one ends.
                                       if (message == WM_INITDIALOG && self->modal_) EndDialog(dialog, IDABORT);
                                       return FALSE;
                                   });
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(dialog, DWLP_USER, 0);
        self->dialog_ = nullptr;
    }
    return result;
}

bool Subclass::Attach(HWND window) {
    Detach();
    if (!window) return false;
    if (!SetWindowSubclass(window, &Subclass::Thunk, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<DWORD_PTR>(this)))
        return false;
    window_ = window;
    return true;
}

void Subclass::Detach() {
    if (!window_) return;
    RemoveWindowSubclass(window_, &Subclass::Thunk, reinterpret_cast<UINT_PTR>(this));
    window_ = nullptr;
}

LRESULT Subclass::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultHandling(message, wParam, lParam);
}

LRESULT Subclass::DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefSubclassProc(window_, message, wParam, lParam);
}

LRESULT CALLBACK Subclass::Thunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR data) {
    auto* self = reinterpret_cast<Subclass*>(data);
    if (message == WM_NCDESTROY) {
        // The window goes: the hook is removed before the control's own clean-up.
        self->Detach();
        return DefSubclassProc(window, message, wParam, lParam);
    }
    return Guarded([&] { return self->HandleMessage(message, wParam, lParam); },
                   [&] { return DefSubclassProc(window, message, wParam, lParam); });
}

}  // namespace support
