// Driving the About dialog from a second thread while the call that shows it blocks the test's
// main thread: its pages, labels, focus and keys, read and sent the way a user would see them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <thread>

#include "lib/about/about_dialog.h"
#include "tests/harness/guidriver.h"

namespace abouttest {

namespace ctl = bk::about::control;

// Waits until `done` is true; false after the timeout.
inline bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

inline std::wstring TextOf(HWND w) {
    wchar_t buffer[8192] = {};
    DWORD_PTR copied = 0;
    if (!w || !SendMessageTimeoutW(w, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer), SMTO_NORMAL,
                                   2000, &copied))
        return {};
    return std::wstring(buffer, std::min<size_t>(copied, std::size(buffer) - 1));
}

// A window's own visibility flag (a control on a hidden page keeps it).
inline bool OwnVisible(HWND w) { return w && (GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE) != 0; }

class AboutWindow {
public:
    // Waits for the About dialog of process `processId` (0: this process).
    explicit AboutWindow(DWORD processId = 0, DWORD timeoutMs = bktest::gui::kDefaultTimeoutMs) {
        bktest::gui::WindowQuery q;
        q.title = bk::about::kAboutCaption;
        q.processId = processId ? processId : GetCurrentProcessId();
        dialog_ = bktest::gui::WaitForWindow(q, timeoutMs);
    }
    HWND hwnd() const { return dialog_; }
    explicit operator bool() const { return dialog_ != nullptr; }

    HWND Page(int page) const { return GetDlgItem(dialog_, ctl::kPageBase + page); }
    HWND Item(int page, int id) const { return GetDlgItem(Page(page), id); }
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    std::wstring Text(int page, int id) const { return TextOf(Item(page, id)); }

    // The page shown: the one page with its visibility flag set; -1 when none or several are.
    int CurrentPage() const {
        int shown = -1;
        for (int i = 0; i < 6; ++i)
            if (OwnVisible(Page(i))) {
                if (shown != -1) return -1;
                shown = i;
            }
        return shown;
    }

    // The control with the keyboard focus in the dialog's thread.
    HWND Focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info)) return nullptr;
        return info.hwndFocus;
    }

    // Presses a key in the focused control and waits for the page to become `expectPage`.
    bool KeyToPage(UINT key, int expectPage) const {
        bktest::gui::PressKey(dialog_, key);
        return WaitUntil([&] { return CurrentPage() == expectPage; });
    }

    // The pages in the order Page Down shows them, starting from the one shown now, until it
    // comes back (at most 8 steps).
    std::vector<int> Cycle() const {
        std::vector<int> seen{CurrentPage()};
        for (int step = 0; step < 8; ++step) {
            const int before = CurrentPage();
            bktest::gui::PressKey(dialog_, VK_NEXT);
            if (!WaitUntil([&] { return CurrentPage() != before && CurrentPage() != -1; }, 3000)) break;
            if (CurrentPage() == seen.front()) break;
            seen.push_back(CurrentPage());
        }
        return seen;
    }

    // Shows page `page` by Page Down presses (at most 8).
    bool GoTo(int page) const {
        for (int step = 0; step < 8 && CurrentPage() != page; ++step) {
            const int before = CurrentPage();
            bktest::gui::PressKey(dialog_, VK_NEXT);
            WaitUntil([&] { return CurrentPage() != before; }, 3000);
        }
        return CurrentPage() == page;
    }

    // Clicks a control of a page (as its parent's WM_COMMAND).
    void Click(int page, int id, WORD code = BN_CLICKED) const {
        PostMessageW(Page(page), WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(Item(page, id)));
    }

    bool Close() const {
        bktest::gui::PressKey(dialog_, VK_ESCAPE);
        return bktest::gui::WaitForWindowGone(dialog_, 10000);
    }

private:
    HWND dialog_ = nullptr;
};

// Runs `show` (the call that shows the dialog) on this thread while `drive` runs on a second
// thread with the dialog found; returns show's result. The dialog is closed if `drive` left
// it open.
inline HRESULT WithAbout(const std::function<HRESULT()>& show, const std::function<void(AboutWindow&)>& drive) {
    std::thread driver([&] {
        AboutWindow about;
        if (about) {
            drive(about);
            if (IsWindow(about.hwnd())) about.Close();
        }
    });
    const HRESULT hr = show();
    driver.join();
    return hr;
}

}  // namespace abouttest
