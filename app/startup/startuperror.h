// The error that ends Metaview's start-up: a failing status and what failed. Main passes it to
// the entry, which shows it and ends the program.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace metaview {

class StartupError {
public:
    StartupError(HRESULT status, std::wstring description) : status_(status), description_(std::move(description)) {}
    HRESULT status() const { return status_; }
    // What failed, then the error's own description (from the failing object, else the system's
    // text for the status).
    const std::wstring& description() const { return description_; }

private:
    HRESULT status_;
    std::wstring description_;
};

// Throws a StartupError for a failed `status`; `what` says which step failed.
void ThrowIfFailed(HRESULT status, std::wstring_view what);

// Shows the error in a message box (critical-error icon, application title).
void ShowStartupError(const StartupError& error);

}  // namespace metaview
