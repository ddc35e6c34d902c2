// The program's and the library's one vocabulary for outcomes. Platform-free.
//
// A code is an HRESULT-style 32-bit value: zero or positive is success; a system error n is
// 0x80070000 | n (as HRESULT_FROM_WIN32 makes it); run-time error n is 0x800A0000 | n.
#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace support {

// System error `n` (a Win32 error code) as a code; 0 stays 0, a value that is already a
// failing code stays as it is.
constexpr std::int32_t CodeFromSystemError(std::uint32_t n) {
    if (n == 0) return 0;
    if (static_cast<std::int32_t>(n) < 0) return static_cast<std::int32_t>(n);
    return static_cast<std::int32_t>(0x80070000u | (n & 0xFFFFu));
}

// Run-time error `n` as a code.
constexpr std::int32_t CodeFromRuntimeError(long n) {
    return static_cast<std::int32_t>(0x800A0000u | (static_cast<std::uint32_t>(n) & 0xFFFFu));
}

// The run-time error number a failing code stands for: the low word of a run-time error code,
// the code itself for anything else.
constexpr long ErrorNumberOf(std::int32_t code) {
    const auto bits = static_cast<std::uint32_t>(code);
    if ((bits & 0xFFFF0000u) == 0x800A0000u) return static_cast<long>(bits & 0xFFFFu);
    return static_cast<long>(code);
}

// The outcome of an operation: success, or a failure with its code and what it means.
struct Status {
    std::int32_t code = 0;
    std::wstring description;  // may be empty; the code's standard text applies then

    bool failed() const { return code < 0; }
    bool ok() const { return code >= 0; }

    static Status Failure(std::int32_t code, std::wstring description = {}) {
        // A failure must never read as success.
        return Status{code < 0 ? code : static_cast<std::int32_t>(0x80004005u), std::move(description)};
    }
};

// Which failure a routine that runs its steps past failures keeps.
enum class KeepFailure { First, Last };

// The steps of a routine that carries on past failures: each step's outcome is recorded, a
// failing step is skipped by the caller, and the routine tests the recorded failure only where
// the outcome matters. In stopping mode the first failure ends the routine (MustStop).
class StepRecorder {
public:
    explicit StepRecorder(KeepFailure keep = KeepFailure::First, bool stopAtFailure = false)
        : keep_(keep), stop_(stopAtFailure) {}

    // Records a step's outcome; true when the step succeeded and its result can be used.
    bool Succeeded(std::int32_t code) {
        if (code < 0 && (keep_ == KeepFailure::Last || error_ >= 0)) error_ = code;
        return code >= 0;
    }
    // True when a recorded failure must end the routine.
    bool MustStop() const { return stop_ && error_ < 0; }
    bool stopping() const { return stop_; }
    bool failed() const { return error_ < 0; }
    std::int32_t error() const { return error_; }
    void Clear() { error_ = 0; }

private:
    KeepFailure keep_;
    bool stop_;
    std::int32_t error_ = 0;
};

}  // namespace support
