#include "app/exiftool/launch_process.h"

#include <vector>

#include "lib/objectmodel/runtime_errors.h"

namespace metaview {
namespace {

constexpr DWORD kPollMs = 250;

// A zero-terminated, writable copy of a text, as CreateProcessW wants for its command line
// and the start-up record's desktop.
std::vector<wchar_t> WritableCopy(const std::wstring& text) {
    std::vector<wchar_t> buffer(text.begin(), text.end());
    buffer.push_back(L'\0');
    return buffer;
}

// Dispatches every pending message of this thread, each offered to `preTranslate` first. A
// WM_QUIT taken on the way is noted, so the caller can post it again once the wait is over and
// the message loop sees it.
void PumpMessages(const std::function<bool(MSG&)>& preTranslate, bool& quitSeen, WPARAM& quitCode) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quitSeen = true;
            quitCode = msg.wParam;
            continue;
        }
        if (preTranslate && preTranslate(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Waits for the process, handling the thread's window messages at least every 250 ms. The wait
// ends as soon as the process does or a message arrives, so the end is noticed at once rather
// than at the next check.
void WaitPumping(HANDLE process, const std::function<bool(MSG&)>& preTranslate) {
    bool quitSeen = false;
    WPARAM quitCode = 0;
    for (;;) {
        MsgWaitForMultipleObjectsEx(1, &process, kPollMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        PumpMessages(preTranslate, quitSeen, quitCode);
        const DWORD state = WaitForSingleObject(process, 0);
        if (state != WAIT_TIMEOUT) break;  // ended, abandoned or failed
    }
    if (quitSeen) PostQuitMessage(static_cast<int>(quitCode));
}

void ReadExitCodes(HANDLE process, HANDLE thread, LaunchOutput& output) {
    DWORD code = 0;
    output.ProcessExitCode = GetExitCodeProcess(process, &code) ? code : output.ProcessExitCode;
    output.ThreadExitCode = GetExitCodeThread(thread, &code) ? code : output.ThreadExitCode;
}

// Restores the caller's error mode when it goes.
class ErrorModeScope {
public:
    explicit ErrorModeScope(bool active) : active_(active) {
        if (active_) previous_ = SetErrorMode(SEM_FAILCRITICALERRORS);
    }
    ErrorModeScope(const ErrorModeScope&) = delete;
    ErrorModeScope& operator=(const ErrorModeScope&) = delete;
    ~ErrorModeScope() { Restore(); }
    void Restore() {
        if (active_) SetErrorMode(previous_);
        active_ = false;
    }

private:
    bool active_;
    UINT previous_ = 0;
};

}  // namespace

LaunchStatus LaunchProcess(const LaunchRequest& request, LaunchOutput& output) {
    LaunchStatus status;
    if (request.WaitMode < 0 || request.WaitMode > 2) {
        status.Error = support::Status::Failure(support::CodeFromRuntimeError(bk::kErrInvalidCall),
                                                std::wstring(bk::RuntimeErrorText(bk::kErrInvalidCall)));
        return status;
    }

    std::vector<wchar_t> commandLine = WritableCopy(request.CommandLine);
    std::vector<wchar_t> desktop = WritableCopy(request.Desktop);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    if (request.NoFeedback) startup.dwFlags |= STARTF_FORCEOFFFEEDBACK;
    startup.wShowWindow = request.ShowWindow;
    if (!request.Desktop.empty()) startup.lpDesktop = desktop.data();
    if (request.UseStdHandles) {
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = request.StdInput ? request.StdInput : GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = request.StdOutput ? request.StdOutput : GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = request.StdError ? request.StdError : GetStdHandle(STD_ERROR_HANDLE);
    }

    DWORD flags = request.CreationFlags;
    if (!request.FailCriticalErrors) flags |= CREATE_DEFAULT_ERROR_MODE;
    // A process that joins a job does so before it runs, so that everything it starts belongs
    // to the job as well.
    const bool joinJob = request.Job != nullptr && !(flags & CREATE_SUSPENDED);
    if (joinJob) flags |= CREATE_SUSPENDED;
    // Standard handles reach the child only through inheritance.
    const BOOL inherit = (request.InheritHandles || request.UseStdHandles) ? TRUE : FALSE;
    const wchar_t* directory = request.CurrentDirectory.empty() ? nullptr : request.CurrentDirectory.c_str();

    PROCESS_INFORMATION info{};
    ErrorModeScope errorMode(request.FailCriticalErrors);
    const BOOL created = CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, inherit, flags, nullptr,
                                        directory, &startup, &info);
    output.LastError = GetLastError();
    errorMode.Restore();
    if (!created) return status;
    status.Started = true;

    support::UniqueHandle process(info.hProcess);
    support::UniqueHandle thread(info.hThread);
    if (joinJob) {
        AssignProcessToJobObject(request.Job, process.get());  // without the job it runs all the same
        ResumeThread(thread.get());
    }

    switch (request.WaitMode) {
    case 1: WaitForSingleObject(process.get(), static_cast<DWORD>(request.TimeoutMs)); break;
    case 2: WaitPumping(process.get(), request.PreTranslateMessage); break;
    default: break;
    }

    if (request.WaitMode != 0) {
        ReadExitCodes(process.get(), thread.get(), output);
    } else {
        output.ProcessExitCode = 0;
        output.ThreadExitCode = 0;
    }

    if (request.KeepHandles) {
        output.ProcessHandle = std::move(process);
        output.ThreadHandle = std::move(thread);
    }
    return status;
}

void WaitPumpingForExit(LaunchOutput& output, const std::function<bool(MSG&)>& preTranslate) {
    if (!output.ProcessHandle) return;
    WaitPumping(output.ProcessHandle.get(), preTranslate);
    ReadExitCodes(output.ProcessHandle.get(), output.ThreadHandle.get(), output);
}

}  // namespace metaview
