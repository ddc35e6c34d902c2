// guidriver.exe: the GUI test driver as a command-line program, for scripts and manual runs.
//
//   guidriver find     [WINDOW]                 list matching top-level windows
//   guidriver wait     [WINDOW]                 wait for a window, print its handle
//   guidriver caption  WINDOW                   print the caption
//   guidriver controls WINDOW                   print handle, class, id and text of every control
//   guidriver waittext WINDOW TEXT              wait until a control's text contains TEXT
//   guidriver msgtext  WINDOW                   print a message box's text
//   guidriver key      WINDOW VK                post a key press (virtual-key code, decimal or 0x..)
//   guidriver type     WINDOW TEXT              post the characters of TEXT
//   guidriver command  WINDOW ID                post WM_COMMAND with a menu id
//   guidriver click    WINDOW CAPTION           click the button with that caption (#N: control id N)
//   guidriver close    WINDOW                   post WM_CLOSE
//   guidriver waitgone WINDOW                   wait until the window is gone
//   guidriver waitexit PID                      wait for a process to end
//
// WINDOW: --hwnd H, or any of --title T, --class C, --pid P (waited for up to --timeout MS,
// default 30000). Output is UTF-8, one item a line. Exit code 0 on success, 1 when the window or
// process was not found or the wait timed out, 2 for a wrong command line.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <cwctype>
#include <string>
#include <vector>

#include "tests/harness/guidriver.h"

namespace {

using namespace bktest::gui;

void Print(const std::wstring& text) {
    std::wstring line = text + L"\n";
    const int n = WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), nullptr, 0, nullptr,
                                      nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), bytes.data(), n, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring Hex(UINT_PTR value) {
    wchar_t buf[32];
    std::swprintf(buf, std::size(buf), L"0x%llx", static_cast<unsigned long long>(value));
    return buf;
}

struct Options {
    std::wstring command;
    std::vector<std::wstring> positional;
    WindowQuery query;
    HWND hwnd = nullptr;
    bool hasWindowOption = false;
    DWORD timeoutMs = kDefaultTimeoutMs;
};

bool Parse(int argc, wchar_t** argv, Options& o) {
    if (argc < 2) return false;
    o.command = argv[1];
    for (int i = 2; i < argc; ++i) {
        const std::wstring a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == L"--hwnd" && hasValue) {
            o.hwnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::wcstoull(argv[++i], nullptr, 0)));
            o.hasWindowOption = true;
        } else if (a == L"--title" && hasValue) {
            o.query.title = argv[++i];
            o.hasWindowOption = true;
        } else if (a == L"--class" && hasValue) {
            o.query.className = argv[++i];
            o.hasWindowOption = true;
        } else if (a == L"--pid" && hasValue) {
            o.query.processId = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 0));
            o.hasWindowOption = true;
        } else if (a == L"--timeout" && hasValue) {
            o.timeoutMs = static_cast<DWORD>(std::wcstoul(argv[++i], nullptr, 0));
        } else {
            o.positional.push_back(a);
        }
    }
    return true;
}

HWND Window(const Options& o) {
    if (o.hwnd) return IsWindow(o.hwnd) ? o.hwnd : nullptr;
    return WaitForWindow(o.query, o.timeoutMs);
}

int Run(const Options& o) {
    const auto& p = o.positional;
    if (o.command == L"waitexit") {
        if (p.size() != 1) return 2;
        return WaitForProcessExit(static_cast<DWORD>(std::wcstoul(p[0].c_str(), nullptr, 0)), o.timeoutMs) ? 0 : 1;
    }
    if (o.command == L"find") {
        for (HWND w : FindWindows(o.query)) Print(Hex(reinterpret_cast<UINT_PTR>(w)) + L"\t" + ClassName(w) + L"\t" + WindowText(w));
        return 0;
    }
    if (!o.hasWindowOption) return 2;
    HWND w = Window(o);
    if (!w) return 1;
    if (o.command == L"wait") {
        Print(Hex(reinterpret_cast<UINT_PTR>(w)));
        return 0;
    }
    if (o.command == L"caption") {
        Print(WindowText(w));
        return 0;
    }
    if (o.command == L"controls") {
        for (const Control& c : ListControls(w))
            Print(Hex(reinterpret_cast<UINT_PTR>(c.handle)) + L"\t" + c.className + L"\t" + std::to_wstring(c.id) +
                  L"\t" + c.text);
        return 0;
    }
    if (o.command == L"waittext") {
        // Waits, inside this one process, until a control's text contains the given text.
        if (p.size() != 1) return 2;
        const DWORD start = GetTickCount();
        for (;;) {
            for (const Control& c : ListControls(w))
                if (c.text.find(p[0]) != std::wstring::npos) return 0;
            if (!IsWindow(w) || GetTickCount() - start > o.timeoutMs) return 1;
            Sleep(20);
        }
    }
    if (o.command == L"msgtext") {
        Print(MessageBoxText(w));
        return 0;
    }
    if (o.command == L"close") return RequestClose(w) ? 0 : 1;
    if (o.command == L"waitgone") return WaitForWindowGone(w, o.timeoutMs) ? 0 : 1;
    if (p.size() != 1) return 2;
    if (o.command == L"key") return PressKey(w, static_cast<UINT>(std::wcstoul(p[0].c_str(), nullptr, 0))) ? 0 : 1;
    if (o.command == L"type") return TypeText(w, p[0]) ? 0 : 1;
    if (o.command == L"command") return SendMenuCommand(w, static_cast<UINT>(std::wcstoul(p[0].c_str(), nullptr, 0))) ? 0 : 1;
    if (o.command == L"click") {
        const bool byId = p[0].size() > 1 && p[0][0] == L'#' && std::iswdigit(p[0][1]);
        return (byId ? ClickButton(w, static_cast<int>(std::wcstol(p[0].c_str() + 1, nullptr, 10)))
                     : ClickButton(w, p[0]))
                   ? 0
                   : 1;
    }
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    if (!Parse(argc, argv, options)) {
        Print(L"usage: guidriver COMMAND [--hwnd H | --title T --class C --pid P] [--timeout MS] [ARGS]");
        return 2;
    }
    const int rc = Run(options);
    if (rc == 2) Print(L"guidriver: wrong command line");
    return rc;
}
