// orxAlone used by a script client: the library is registered, Wine's cscript runs a script
// that creates orxAlone by programmatic id and marks and activates a window of this test,
// which runs its own message loop on a thread of its own while the script runs.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/win/owner.h"
#include "tests/harness/library.h"
#include "tests/harness/registered.h"

using namespace bktest;

namespace {

std::atomic<int> activations{0};

LRESULT CALLBACK Proc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    static const UINT activation = RegisterWindowMessageW(L"{C91232E8-B223-4501-BCF0-4F645EAACD6E}");
    if (m == activation) {
        ++activations;
        return 1;
    }
    return DefWindowProcW(w, m, wp, lp);
}

TEST(ScriptClient, UsesOrxAloneByProgrammaticId) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());

    std::atomic<HWND> window{nullptr};
    std::atomic<DWORD> threadId{0};
    std::thread owner([&] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"AloneScriptTarget";
        RegisterClassW(&wc);
        support::Window w(CreateWindowExW(0, wc.lpszClassName, L"Script target", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                          nullptr, nullptr, wc.hInstance, nullptr));
        threadId = GetCurrentThreadId();
        window = w.get();
        MSG msg{};
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    });
    while (!threadId) Sleep(5);
    ASSERT_NE(nullptr, window.load());

    std::string output;
    const std::wstring command = L"cscript.exe //nologo \"" + BinFile(L"orxalone_client.vbs") + L"\" " +
                                 std::to_wstring(static_cast<long long>(reinterpret_cast<LONG_PTR>(window.load())));
    const int failures = RunCaptured(command, output, 120000);
    PostThreadMessageW(threadId, WM_QUIT, 0, 0);
    owner.join();

    EXPECT_TRUE(ScriptClientPassed(failures, output));
    EXPECT_EQ(2, activations.load());  // one activation with the last GUID, one with the other
}

}  // namespace
