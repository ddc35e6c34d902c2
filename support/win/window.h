// The C++ objects behind our windows, dialogs and subclassed controls. Each kind has one
// procedure thunk that finds the object and calls its HandleMessage, and all three share one
// exception boundary: nothing may unwind into the system's code, so an exception ends the
// message as not handled (and is traced for the debugger).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace support {

// A top-level or child window of a class of ours.
class WindowBase {
public:
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;
    HWND hwnd() const { return window_; }

protected:
    WindowBase() = default;
    // Destroys the window if it is still there; the object gets no message after it is gone.
    virtual ~WindowBase();

    // Registers a window class (once per process and class name) whose procedure is the thunk.
    // `wc.lpfnWndProc` is set here; `wc.hInstance` defaults to the executable.
    static bool RegisterWindowClass(WNDCLASSEXW wc);

    // Creates the window; this object receives its messages from WM_NCCREATE on.
    HWND CreateOwnWindow(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x, int y,
                         int width, int height, HWND parent, HMENU menu, HINSTANCE instance);

    // The window's messages; the default hands them to DefWindowProcW. After WM_NCDESTROY the
    // object is detached from the window.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Thunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    HWND window_ = nullptr;
};

// A dialog made from a template in memory (see dialog_template.h), modal or modeless.
class DialogBase {
public:
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;
    HWND hwnd() const { return dialog_; }

protected:
    DialogBase() = default;
    // Destroys a modeless dialog that is still there.
    virtual ~DialogBase();

    // Runs the dialog modally (DialogBoxIndirectParamW) and returns what EndDialog gave, or -1
    // when it could not be made. An exception while the dialog initialises ends it with IDABORT.
    INT_PTR RunModal(HWND owner, const std::vector<std::uint32_t>& dialogTemplate, HINSTANCE instance);
    // Creates the dialog modeless; the caller runs the message loop. Null on failure.
    HWND CreateModeless(HWND owner, const std::vector<std::uint32_t>& dialogTemplate, HINSTANCE instance);

    // The dialog's messages, as a dialog procedure answers them (TRUE: handled).
    virtual INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

private:
    static INT_PTR CALLBACK Thunk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    HWND dialog_ = nullptr;
    bool modal_ = false;
};

// A control of another window class whose messages pass through this object first
// (SetWindowSubclass). Several subclasses may hook one window; each is removed when it goes
// or when the window is destroyed.
class Subclass {
public:
    Subclass() = default;
    Subclass(const Subclass&) = delete;
    Subclass& operator=(const Subclass&) = delete;
    virtual ~Subclass() { Detach(); }

    bool Attach(HWND window);
    void Detach();
    bool attached() const { return window_ != nullptr; }
    HWND hwnd() const { return window_; }

protected:
    // The control's messages; the default passes them on to the control.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultHandling(UINT message, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK Thunk(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                  DWORD_PTR self);
    HWND window_ = nullptr;
};

}  // namespace support
