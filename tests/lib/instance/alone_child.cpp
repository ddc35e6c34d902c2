// Helper program of the single-instance tests: a second instance that the test drives through
// its standard input, one command a line, each answered by one line on standard output.
//     alone <guid> | desktop <guid> | user <guid>   the test on this program's object: 1 or 0,
//                                                   E<hresult> when it failed
//     release                                      drops the object (a new one comes with the
//                                                   next test): ok
//     window <method> <guid>                       a top-level window of its own, marked; its
//                                                   handle in decimal
//     answered                                     how often the window got the activation message
//     exit                                         ends the program
// The main thread runs a message loop (the marked window lives there); a reader thread hands
// it the lines.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/harness/library.h"

namespace {

constexpr UINT kCommand = WM_APP + 1;
UINT activationMessage = 0;
int answered = 0;

void Reply(const std::string& line) {
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

LRESULT CALLBACK MarkedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == activationMessage && activationMessage != 0) {
        ++answered;
        return 1;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void ReadCommands(DWORD mainThread) {
    std::string line;
    char c = 0;
    DWORD got = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), &c, 1, &got, nullptr) && got == 1) {
        if (c == '\r') continue;
        if (c != '\n') {
            line += c;
            continue;
        }
        PostThreadMessageW(mainThread, kCommand, 0, reinterpret_cast<LPARAM>(new std::string(line)));
        line.clear();
    }
    PostThreadMessageW(mainThread, kCommand, 0, reinterpret_cast<LPARAM>(new std::string("exit")));
}

std::wstring Wide(const std::string& s) { return std::wstring(s.begin(), s.end()); }

class Child {
public:
    // Runs one command; false when the program is to end.
    bool Run(const std::string& line) {
        const size_t blank = line.find(' ');
        const std::string verb = line.substr(0, blank);
        const std::string rest = blank == std::string::npos ? std::string() : line.substr(blank + 1);
        if (verb == "exit") return false;
        if (verb == "release") {
            alone_.reset();
            Reply("ok");
        } else if (verb == "alone" || verb == "desktop" || verb == "user") {
            Test(verb, Wide(rest));
        } else if (verb == "window") {
            MakeWindow(rest);
        } else if (verb == "answered") {
            Reply(std::to_string(answered));
        } else {
            Reply("?");
        }
        return true;
    }

    ~Child() {
        if (window_) DestroyWindow(window_);
    }

private:
    _orxAlone* Object() {
        if (!alone_) alone_ = bktest::Create<_orxAlone>(CLSID_orxAlone);
        return alone_.get();
    }

    void Test(const std::string& kind, const std::wstring& guid) {
        _orxAlone* a = Object();
        if (!a) return Reply("E80004005");
        bktest::Bstr g(guid);
        VARIANT_BOOL result = VARIANT_FALSE;
        const HRESULT hr = kind == "alone"     ? a->IsAlone(g.get(), &result)
                           : kind == "desktop" ? a->IsAloneOnDesktop(g.get(), &result)
                                               : a->IsAloneAtUser(g.get(), &result);
        if (FAILED(hr)) {
            char text[16];
            std::snprintf(text, sizeof(text), "E%08lX", static_cast<unsigned long>(hr));
            return Reply(text);
        }
        Reply(result ? "1" : "0");
    }

    void MakeWindow(const std::string& rest) {
        const size_t blank = rest.find(' ');
        const long method = std::stol(rest.substr(0, blank));
        const std::wstring guid = Wide(rest.substr(blank + 1));
        WNDCLASSW wc{};
        wc.lpfnWndProc = &MarkedWindowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"AloneChildWindow";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, wc.lpszClassName, L"Alone child", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 200,
                                  100, nullptr, nullptr, wc.hInstance, nullptr);
        _orxAlone* a = Object();
        VARIANT_BOOL marked = VARIANT_FALSE;
        bktest::Bstr g(guid);
        if (!window_ || !a ||
            FAILED(a->MarkPrevInstanceWindowEx(static_cast<LONG>(reinterpret_cast<LONG_PTR>(window_)),
                                               static_cast<ActivationMethodConst>(method), g.get(), &marked)) ||
            !marked)
            return Reply("0");
        Reply(std::to_string(static_cast<long long>(reinterpret_cast<LONG_PTR>(window_))));
    }

    bktest::ComPtr<_orxAlone> alone_;
    HWND window_ = nullptr;
};

}  // namespace

int wmain() {
    support::ComApartment apartment;
    activationMessage = RegisterWindowMessageW(L"{C91232E8-B223-4501-BCF0-4F645EAACD6E}");
    MSG msg{};
    PeekMessageW(&msg, nullptr, WM_USER, WM_USER, PM_NOREMOVE);  // the thread's queue, before the reader posts
    const DWORD mainThread = GetCurrentThreadId();
    HANDLE reader = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
            ReadCommands(static_cast<DWORD>(reinterpret_cast<UINT_PTR>(p)));
            return 0;
        },
        reinterpret_cast<void*>(static_cast<UINT_PTR>(mainThread)), 0, nullptr);
    {
        Child child;
        bool running = true;
        while (running && GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.hwnd == nullptr && msg.message == kCommand) {
                std::string* line = reinterpret_cast<std::string*>(msg.lParam);
                running = child.Run(*line);
                delete line;
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (reader) CloseHandle(reader);
    return 0;
}
