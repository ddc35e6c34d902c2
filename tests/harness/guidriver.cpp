#include "tests/harness/guidriver.h"

#include <cwctype>

namespace bktest::gui {
namespace {

constexpr DWORD kPollMs = 50;
constexpr UINT kSendTimeoutMs = 5000;

bool Matches(HWND window, const WindowQuery& q) {
    if (q.visibleOnly && !IsWindowVisible(window)) return false;
    if (q.processId) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if (pid != q.processId) return false;
    }
    if (q.className && ClassName(window) != *q.className) return false;
    if (q.title && WindowText(window) != *q.title) return false;
    return true;
}

struct FindState {
    const WindowQuery* query;
    std::vector<HWND>* found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
    auto* state = reinterpret_cast<FindState*>(param);
    if (Matches(window, *state->query)) state->found->push_back(window);
    return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
    reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
    return TRUE;
}

std::wstring WithoutMnemonics(std::wstring_view text) {
    std::wstring out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;  // "&&" keeps one '&'
        out += text[i];
    }
    return out;
}

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

// Where keyboard messages for `window` go: the control with the focus in its thread, when that
// control belongs to `window`; otherwise `window` itself.
HWND KeyTarget(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (GetGUIThreadInfo(thread, &info) && info.hwndFocus &&
        (info.hwndFocus == window || IsChild(window, info.hwndFocus)))
        return info.hwndFocus;
    return window;
}

LPARAM KeyData(UINT virtualKey, bool up) {
    const UINT scan = MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC);
    LPARAM data = 1 | (static_cast<LPARAM>(scan & 0xFF) << 16);
    if (up) data |= (static_cast<LPARAM>(1) << 30) | (static_cast<LPARAM>(1) << 31);
    return data;
}

}  // namespace

std::vector<HWND> FindWindows(const WindowQuery& query) {
    std::vector<HWND> found;
    FindState state{&query, &found};
    EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&state));
    return found;
}

HWND WaitForWindow(const WindowQuery& query, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    for (;;) {
        const auto found = FindWindows(query);
        if (!found.empty()) return found.front();
        if (GetTickCount64() >= end) return nullptr;
        Sleep(kPollMs);
    }
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    while (IsWindow(window)) {
        if (GetTickCount64() >= end) return false;
        Sleep(kPollMs);
    }
    return true;
}

std::wstring WindowText(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kSendTimeoutMs, &length))
        return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_ABORTIFHUNG, kSendTimeoutMs, &copied))
        return {};
    text.resize(static_cast<size_t>(copied));
    return text;
}

std::wstring ClassName(HWND window) {
    wchar_t name[256] = {};
    const int n = GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return std::wstring(name, n > 0 ? static_cast<size_t>(n) : 0);
}

std::vector<Control> ListControls(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
    std::vector<Control> controls;
    for (HWND child : children) {
        Control c;
        c.handle = child;
        c.className = ClassName(child);
        c.text = WindowText(child);
        c.id = GetDlgCtrlID(child);
        c.visible = IsWindowVisible(child) != FALSE;
        c.enabled = IsWindowEnabled(child) != FALSE;
        controls.push_back(std::move(c));
    }
    return controls;
}

std::wstring MessageBoxText(HWND box) {
    for (const Control& c : ListControls(box)) {
        if (!EqualsIgnoreCase(c.className, L"Static")) continue;
        const LONG_PTR style = GetWindowLongPtrW(c.handle, GWL_STYLE);
        if ((style & SS_TYPEMASK) == SS_ICON) continue;
        if (!c.text.empty()) return c.text;
    }
    return {};
}

HWND FindControlByText(HWND window, std::wstring_view text, std::wstring_view className) {
    const std::wstring wanted = WithoutMnemonics(text);
    for (const Control& c : ListControls(window)) {
        if (!className.empty() && !EqualsIgnoreCase(c.className, className)) continue;
        if (WithoutMnemonics(c.text) == wanted) return c.handle;
    }
    return nullptr;
}

bool PressKey(HWND window, UINT virtualKey) {
    HWND target = KeyTarget(window);
    return PostMessageW(target, WM_KEYDOWN, virtualKey, KeyData(virtualKey, false)) &&
           PostMessageW(target, WM_KEYUP, virtualKey, KeyData(virtualKey, true));
}

bool TypeText(HWND window, std::wstring_view text) {
    HWND target = KeyTarget(window);
    for (wchar_t c : text)
        if (!PostMessageW(target, WM_CHAR, c, 1)) return false;
    return true;
}

bool SendKeyChord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (const WORD key : keys) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        inputs.push_back(input);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = *--it;
        input.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(input);
    }
    return SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)) == inputs.size();
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

bool SendMenuCommand(HWND window, UINT id) {
    return PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, 0), 0) != FALSE;
}

namespace {

bool Click(HWND button) {
    if (!button || !IsWindowEnabled(button)) return false;
    HWND parent = GetParent(button);
    const int id = GetDlgCtrlID(button);
    return PostMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button)) !=
           FALSE;
}

}  // namespace

bool ClickButton(HWND window, std::wstring_view caption) { return Click(FindControlByText(window, caption, L"Button")); }

bool ClickButton(HWND window, int id) {
    for (const Control& c : ListControls(window))
        if (c.id == id && EqualsIgnoreCase(c.className, L"Button")) return Click(c.handle);
    return false;
}

bool RequestClose(HWND window) { return PostMessageW(window, WM_CLOSE, 0, 0) != FALSE; }

Process Process::Start(const std::wstring& exe, const std::wstring& arguments, HANDLE standardOutput) {
    Process p;
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    if (standardOutput) {
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = standardOutput;
        si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, standardOutput != nullptr, 0, nullptr,
                        nullptr, &si, &pi))
        return p;
    const support::UniqueHandle thread(pi.hThread);
    p.process_.reset(pi.hProcess);
    p.id_ = pi.dwProcessId;
    return p;
}

Process::~Process() {
    if (process_.valid() && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), kSendTimeoutMs);
    }
}

bool Process::WaitForExit(DWORD timeoutMs) {
    return process_.valid() && WaitForSingleObject(process_.get(), timeoutMs) == WAIT_OBJECT_0;
}

DWORD Process::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (process_.valid()) GetExitCodeProcess(process_.get(), &code);
    return code;
}

bool WaitForProcessExit(DWORD processId, DWORD timeoutMs) {
    support::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process (any more)
    return WaitForSingleObject(process.get(), timeoutMs) == WAIT_OBJECT_0;
}

std::wstring ClipboardText() {
    std::wstring text;
    if (!OpenClipboard(nullptr)) return L"<clipboard busy>";
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace bktest::gui
