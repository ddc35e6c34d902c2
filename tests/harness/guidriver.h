// Test driver for the programs' windows: finds top-level windows, reads the texts of windows and
// their controls, sends keys, menu commands and button clicks, closes windows, and starts and
// waits for processes. Works across processes on the same (Wine) desktop; every input is
// posted, so a driven program that opens a modal loop never blocks the driver.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "support/win/com.h"
#include "support/win/owner.h"

namespace bktest::gui {

// What a top-level window must match; unset parts match anything.
struct WindowQuery {
    std::optional<std::wstring> title;      // whole caption, exact
    std::optional<std::wstring> className;  // exact, e.g. L"#32770" for dialogs and message boxes
    DWORD processId = 0;                    // 0: any process
    bool visibleOnly = true;
};

// Generous default: the first start of Wine in a prefix takes several seconds.
constexpr DWORD kDefaultTimeoutMs = 30000;

// The matching top-level windows, in z-order.
std::vector<HWND> FindWindows(const WindowQuery& query);
// Waits until a matching window exists; null after the timeout.
HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs = kDefaultTimeoutMs);
// Waits until the window is gone; false after the timeout.
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kDefaultTimeoutMs);

// The text of a window or control (WM_GETTEXT, so edit controls of other processes read too).
std::wstring WindowText(HWND window);
std::wstring ClassName(HWND window);

struct Control {
    HWND handle = nullptr;
    std::wstring className;
    std::wstring text;
    int id = 0;
    bool visible = false;
    bool enabled = false;
};
// All descendants of `window`, in the order the system enumerates them.
std::vector<Control> ListControls(HWND window);
// The message text of a message box: its static control that is not the icon.
std::wstring MessageBoxText(HWND box);
// The first control whose text (without '&' markers) equals `text`; null when there is none.
HWND FindControlByText(HWND window, std::wstring_view text, std::wstring_view className = L"");

// Input. Keys go to the focus window of the target's thread when `window` is a top-level
// window of another thread and no control is named; characters go as WM_CHAR.
bool PressKey(HWND window, UINT virtualKey);
bool TypeText(HWND window, std::wstring_view text);
// Real keyboard input (SendInput) to whichever window has the focus: the keys pressed in the
// order given and released in reverse, e.g. {VK_CONTROL, 'F'}. Tests that use it hold the
// "input" resource lock.
bool SendKeyChord(std::initializer_list<WORD> keys);
// The window with the keyboard focus in the thread of `window`; null when there is none.
HWND FocusOf(HWND window);
// WM_COMMAND with a menu or accelerator id.
bool SendMenuCommand(HWND window, UINT id);
// Clicks the button with that caption (as its parent's WM_COMMAND/BN_CLICKED).
bool ClickButton(HWND window, std::wstring_view caption);
// Clicks the button with that control id (IDOK, IDCANCEL, ...): button captions of message
// boxes follow the user's language, their ids do not.
bool ClickButton(HWND window, int id);
// Posts WM_CLOSE (Win32 CloseWindow minimises, hence the name).
bool RequestClose(HWND window);

// A started program: its handles are closed, and the process ended if it still runs, when the
// object goes.
class Process {
public:
    Process() = default;
    // Starts `exe` with `arguments` (the command-line text after the quoted program name).
    // A given `standardOutput` (an inheritable handle) receives the program's standard output.
    static Process Start(const std::wstring& exe, const std::wstring& arguments, HANDLE standardOutput = nullptr);
    ~Process();
    Process(Process&&) = default;
    Process& operator=(Process&&) = default;

    bool started() const { return process_.valid(); }
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_.get(); }
    // Waits for the process to end; false after the timeout.
    bool WaitForExit(DWORD timeoutMs = kDefaultTimeoutMs);
    // The exit code once it has ended; STILL_ACTIVE before.
    DWORD ExitCode() const;

private:
    support::UniqueHandle process_;
    DWORD id_ = 0;
};

// Waits for a process given by id (not started here) to end; false after the timeout.
bool WaitForProcessExit(DWORD processId, DWORD timeoutMs = kDefaultTimeoutMs);

// The text on the clipboard (CF_UNICODETEXT), "<clipboard busy>" when it cannot be opened.
std::wstring ClipboardText();

}  // namespace bktest::gui
