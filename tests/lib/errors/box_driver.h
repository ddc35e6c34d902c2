// Finding and driving the message boxes the library shows on the test's main thread, from a
// second thread: the call under test runs (and blocks in its modal loop) on the main thread.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace errtest {

// The visible dialog windows (message boxes included) of this process.
inline std::vector<HWND> VisibleBoxes() {
    struct Search {
        std::vector<HWND> found;
    } search;
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            wchar_t cls[64] = {};
            GetClassNameW(w, cls, 64);
            if (pid == GetCurrentProcessId() && IsWindowVisible(w) && std::wstring(cls) == L"#32770")
                reinterpret_cast<Search*>(p)->found.push_back(w);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The text of a window of the main thread; never blocks for long.
inline std::wstring TextOf(HWND w) {
    wchar_t buffer[4096] = {};
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(w, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL, 1000,
                             &copied))
        return {};
    return std::wstring(buffer, std::min<size_t>(copied, std::size(buffer) - 1));
}

inline std::wstring WithoutMnemonic(std::wstring s) {
    s.erase(std::remove(s.begin(), s.end(), L'&'), s.end());
    return s;
}

inline std::wstring ClassOf(HWND w) {
    wchar_t cls[64] = {};
    GetClassNameW(w, cls, 64);
    return cls;
}

// The visible push buttons of a box, from left to right.
inline std::vector<HWND> Buttons(HWND box) {
    std::vector<HWND> buttons;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (IsWindowVisible(c) && _wcsicmp(ClassOf(c).c_str(), L"Button") == 0) buttons.push_back(c);
    std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) {
        RECT ra{}, rb{};
        GetWindowRect(a, &ra);
        GetWindowRect(b, &rb);
        return ra.left < rb.left;
    });
    return buttons;
}

inline HWND ButtonByText(HWND box, const std::wstring& text) {
    for (HWND b : Buttons(box))
        if (WithoutMnemonic(TextOf(b)) == text) return b;
    return nullptr;
}

// The message of a standard message box: its static text that is not the icon.
inline std::wstring MessageText(HWND box) {
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        if (_wcsicmp(ClassOf(c).c_str(), L"Static") != 0) continue;
        if ((GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) continue;
        std::wstring t = TextOf(c);
        if (!t.empty()) return t;
    }
    return {};
}

// A key press as the keyboard makes it: to the focus window of the box's thread.
inline void PressKey(HWND box, UINT key) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    HWND target = box;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(box, nullptr), &info) && info.hwndFocus &&
        (info.hwndFocus == box || IsChild(box, info.hwndFocus)))
        target = info.hwndFocus;
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

inline void Click(HWND button) {
    PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

inline bool Gone(HWND box) { return !IsWindow(box) || !IsWindowVisible(box); }

// Runs `call` here and `action(box)` on a second thread as soon as a box shows. Whatever the
// action leaves open is closed after a few seconds, so that a fault never hangs the test.
// Returns the call's result; `sawBox` tells whether any box showed.
template <class Call, class Action>
HRESULT WithBox(Call&& call, Action&& action, bool* sawBox = nullptr) {
    std::atomic<bool> returned{false};
    std::atomic<bool> seen{false};
    std::thread driver([&] {
        HWND box = nullptr;
        for (DWORD start = GetTickCount(); !returned && GetTickCount() - start < 10000; Sleep(20)) {
            const auto boxes = VisibleBoxes();
            if (!boxes.empty()) {
                box = boxes.front();
                break;
            }
        }
        if (!box) return;
        seen = true;
        action(box);
        for (DWORD start = GetTickCount(); !returned; Sleep(50)) {
            if (GetTickCount() - start > 5000)
                for (HWND b : VisibleBoxes()) PostMessageW(b, WM_CLOSE, 0, 0);
        }
    });
    const HRESULT hr = call();
    returned = true;
    driver.join();
    if (sawBox) *sawBox = seen;
    return hr;
}

}  // namespace errtest
