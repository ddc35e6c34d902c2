// Starting a program from a command line, optionally with three given standard handles, and
// waiting for its end. This build targets NT-family Windows only, so the process is always
// created with the wide-character call (CreateProcessW); there is no ANSI path.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "support/base/status.h"
#include "support/win/owner.h"

namespace metaview {

// What to start and how (parameters 1-10 and 14-18 of the launcher).
struct LaunchRequest {
    std::wstring CommandLine;        // complete command line, the program path quoted if needed
    bool InheritHandles = false;     // let the process inherit our inheritable handles
    DWORD CreationFlags = NORMAL_PRIORITY_CLASS;
    std::wstring CurrentDirectory;   // empty: ours
    long WaitMode = 0;               // 0 return at once, 1 block (TimeoutMs), 2 poll and pump messages
    long TimeoutMs = -1;             // mode 1 only; -1 = no limit
    bool NoFeedback = false;         // no busy-cursor feedback while the process starts
    bool FailCriticalErrors = false; // fail critical errors silently while creating the process;
                                     // when false the process gets the default error mode
    WORD ShowWindow = SW_SHOWNORMAL; // show-window code of its first window (0 = hidden)
    std::wstring Desktop;            // empty: ours
    bool UseStdHandles = false;      // hand the three handles below to the process
    HANDLE StdInput = nullptr;       // null: our own standard input
    HANDLE StdOutput = nullptr;      // null: our own standard output
    HANDLE StdError = nullptr;       // null: our own standard error
    bool KeepHandles = false;        // hand the process and thread handles to the caller
    HANDLE Job = nullptr;            // a job object the process joins before it runs; null: none
    // Mode 2: offered each message before it is dispatched, as the program's own message loop
    // does (keyboard accelerators, modeless dialogs); true when it was handled there.
    std::function<bool(MSG&)> PreTranslateMessage;
};

// What the launcher reports back (parameters 11-13, 19 and 20). Only the fields the outcome
// concerns are written; the others keep what the caller put there.
struct LaunchOutput {
    DWORD ProcessExitCode = 0;
    DWORD ThreadExitCode = 0;
    DWORD LastError = 0;                   // the system's last error right after the creation call
    support::UniqueHandle ProcessHandle;   // with KeepHandles: the caller owns it from then on
    support::UniqueHandle ThreadHandle;
};

// The outcome of one call: whether the process was started, or the run-time error that
// refused the request before anything was done (run-time error 5 for an invalid wait mode).
struct LaunchStatus {
    bool Started = false;
    support::Status Error;
    bool failed() const { return Error.failed(); }
};

// Starts the program. Invalid wait mode: Error is run-time error 5 and nothing else happens. Creation
// failure: Started false, LastError set, nothing else written. Otherwise the process is
// waited for by WaitMode; with a wait the exit codes are read (a process still running reports
// STILL_ACTIVE, 259), without one both are 0. Mode 2 checks at least every 250 ms and
// dispatches the thread's pending window messages each time, and notices the process's end at
// once; it has no time-out.
[[nodiscard]] LaunchStatus LaunchProcess(const LaunchRequest& request, LaunchOutput& output);

// For a process started without a wait and with KeepHandles: waits for it as mode 2 does, then
// reads both exit codes into `output`. Without a process handle it does nothing.
void WaitPumpingForExit(LaunchOutput& output, const std::function<bool(MSG&)>& preTranslate = {});

}  // namespace metaview
