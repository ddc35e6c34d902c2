// The process launcher: argument checks, creation failures, the three wait modes and
// redirected standard handles.
#include <gtest/gtest.h>

#include "app/exiftool/launch_process.h"
#include "app/exiftool/temp_files.h"
#include "tests/harness/scratch.h"

namespace metaview {
namespace {

std::wstring Child(const std::wstring& arguments) {
    return L"\"" + mvtest::ProgramFolder() + L"\\fake_exiftool.exe\" --child " + arguments;
}

// Ends a child a test left running.
void Stop(LaunchOutput& output) {
    if (output.ProcessHandle) {
        TerminateProcess(output.ProcessHandle.get(), 1);
        WaitForSingleObject(output.ProcessHandle.get(), 5000);
    }
}

TEST(LaunchProcess, InvalidWaitModeIsErrorFiveBeforeAnythingElse) {
    for (long mode : {3L, -1L}) {
        LaunchRequest request;
        request.CommandLine = Child(L"sleep 0");
        request.WaitMode = mode;
        request.KeepHandles = true;
        LaunchOutput output;
        output.LastError = 12345;
        output.ProcessExitCode = 111;
        const LaunchStatus status = LaunchProcess(request, output);
        EXPECT_TRUE(status.failed()) << mode;
        EXPECT_EQ(support::ErrorNumberOf(status.Error.code), 5) << mode;
        EXPECT_EQ(status.Error.description, L"Invalid procedure call or argument");
        EXPECT_FALSE(status.Started);
        EXPECT_EQ(output.LastError, 12345u) << "the creation call was reached";
        EXPECT_EQ(output.ProcessExitCode, 111u);
        EXPECT_FALSE(output.ProcessHandle);
    }
}

TEST(LaunchProcess, MissingProgramReportsFileNotFoundAndLeavesExitCodes) {
    mvtest::ScratchFolder folder;
    LaunchRequest request;
    request.CommandLine = L"\"" + (folder / L"no such program.exe") + L"\" -ver";
    request.WaitMode = 2;
    request.KeepHandles = true;
    LaunchOutput output;
    output.ProcessExitCode = 111;
    output.ThreadExitCode = 222;
    const LaunchStatus status = LaunchProcess(request, output);
    EXPECT_FALSE(status.failed());
    EXPECT_FALSE(status.Started);
    EXPECT_EQ(output.LastError, static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(output.ProcessExitCode, 111u);
    EXPECT_EQ(output.ThreadExitCode, 222u);
    EXPECT_FALSE(output.ProcessHandle);
}

TEST(LaunchProcess, ModeZeroReturnsAtOnceWithZeroExitCodes) {
    LaunchRequest request;
    request.CommandLine = Child(L"sleep 4000");
    request.WaitMode = 0;
    request.ShowWindow = SW_HIDE;
    request.KeepHandles = true;
    LaunchOutput output;
    output.ProcessExitCode = 7;
    output.ThreadExitCode = 7;
    const DWORD start = GetTickCount();
    const LaunchStatus status = LaunchProcess(request, output);
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_TRUE(status.Started);
    EXPECT_LT(elapsed, 2000u);
    EXPECT_EQ(output.ProcessExitCode, 0u);
    EXPECT_EQ(output.ThreadExitCode, 0u);
    ASSERT_TRUE(output.ProcessHandle);
    EXPECT_TRUE(output.ThreadHandle);
    EXPECT_EQ(WaitForSingleObject(output.ProcessHandle.get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
    Stop(output);
}

TEST(LaunchProcess, ModeOneTimeOutLeavesTheChildRunningWithStillActive) {
    LaunchRequest request;
    request.CommandLine = Child(L"sleep 4000");
    request.WaitMode = 1;
    request.TimeoutMs = 200;
    request.ShowWindow = SW_HIDE;
    request.KeepHandles = true;
    LaunchOutput output;
    ASSERT_TRUE(LaunchProcess(request, output).Started);
    EXPECT_EQ(output.ProcessExitCode, static_cast<DWORD>(STILL_ACTIVE));
    EXPECT_EQ(output.ThreadExitCode, static_cast<DWORD>(STILL_ACTIVE));
    Stop(output);
}

int g_appMessages = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    if (message == WM_APP) ++g_appMessages;
    return DefWindowProcW(window, message, w, l);
}

TEST(LaunchProcess, ModeTwoDispatchesMessagesAndKeepsQuitForTheMessageLoop) {
    WNDCLASSW cls{};
    cls.lpfnWndProc = CountingProc;
    cls.hInstance = GetModuleHandleW(nullptr);
    cls.lpszClassName = L"MvLaunchTestWindow";
    RegisterClassW(&cls);
    HWND window = CreateWindowW(cls.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, cls.hInstance, nullptr);
    ASSERT_NE(window, nullptr);
    g_appMessages = 0;
    PostMessageW(window, WM_APP, 0, 0);
    PostQuitMessage(3);

    LaunchRequest request;
    request.CommandLine = Child(L"echo \"\" \"\" 7");
    request.WaitMode = 2;
    request.ShowWindow = SW_HIDE;
    LaunchOutput output;
    ASSERT_TRUE(LaunchProcess(request, output).Started);
    EXPECT_EQ(output.ProcessExitCode, 7u);
    EXPECT_EQ(g_appMessages, 1);
    EXPECT_FALSE(output.ProcessHandle) << "handles are closed without KeepHandles";

    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    DestroyWindow(window);
}

TEST(LaunchProcess, StandardHandlesCaptureTheChildsOutputWithoutInheritHandles) {
    mvtest::ScratchFolder folder;
    csStdFile out, err;
    ASSERT_TRUE(out.CreateNewFile(folder / L"out.txt"));
    ASSERT_TRUE(err.CreateNewFile(folder / L"err.txt"));
    LaunchRequest request;
    request.CommandLine = Child(L"echo \"hello world\" oops 0");
    request.InheritHandles = false;
    request.WaitMode = 1;
    request.ShowWindow = SW_HIDE;
    request.UseStdHandles = true;
    request.StdOutput = out.hFile();
    request.StdError = err.hFile();
    request.CurrentDirectory = folder.path();
    LaunchOutput output;
    ASSERT_TRUE(LaunchProcess(request, output).Started);
    EXPECT_EQ(output.ProcessExitCode, 0u);
    out.CloseFile();
    err.CloseFile();
    EXPECT_EQ(mvtest::ReadBytes(folder / L"out.txt"), "hello world");
    EXPECT_EQ(mvtest::ReadBytes(folder / L"err.txt"), "oops");
}

}  // namespace
}  // namespace metaview
