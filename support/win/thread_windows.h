// What a modal window does to the rest of its thread: while it is up, the thread's other
// visible top-level windows take no input, as with any modal form. They are enabled again
// when it goes, whichever way it goes.
#pragma once

#include <windows.h>

#include <vector>

namespace support {

class ThreadWindowsDisabled {
public:
    explicit ThreadWindowsDisabled(HWND except) : except_(except) {
        EnumThreadWindows(GetCurrentThreadId(), &Collect, reinterpret_cast<LPARAM>(this));
        for (HWND window : disabled_) EnableWindow(window, FALSE);
    }
    ThreadWindowsDisabled(const ThreadWindowsDisabled&) = delete;
    ThreadWindowsDisabled& operator=(const ThreadWindowsDisabled&) = delete;
    ~ThreadWindowsDisabled() { Restore(); }
    // Enables them again now (before the modal window goes, so that activation returns to the
    // caller's window).
    void Restore() {
        for (HWND window : disabled_)
            if (IsWindow(window)) EnableWindow(window, TRUE);
        disabled_.clear();
    }

private:
    static BOOL CALLBACK Collect(HWND window, LPARAM self) {
        auto* me = reinterpret_cast<ThreadWindowsDisabled*>(self);
        if (window != me->except_ && IsWindowVisible(window) && IsWindowEnabled(window))
            me->disabled_.push_back(window);
        return TRUE;
    }

    HWND except_;
    std::vector<HWND> disabled_;
};

}  // namespace support
