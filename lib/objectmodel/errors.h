// How failures cross the COM boundary: a run-time error number n becomes the HRESULT
// 0x800A0000 | n with IErrorInfo set (description and source "Basekit0308.<class>").
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string_view>

#include "support/base/error_record.h"
#include "support/base/status.h"

namespace bk {

constexpr HRESULT RuntimeErrorHResult(long number) { return support::CodeFromRuntimeError(number); }

// The run-time error number a failing HRESULT stands for: its low word for run-time errors
// (FACILITY_CONTROL), the HRESULT itself otherwise.
constexpr long ErrorNumberOf(HRESULT hr) { return support::ErrorNumberOf(hr); }

// Sets the thread's error information and returns the HRESULT for run-time error `number`.
// An empty description takes the standard text of the number.
HRESULT RaiseError(std::wstring_view source, long number, std::wstring_view description = {});

// Sets the thread's error information for a failure that keeps its own HRESULT.
HRESULT RaiseHResult(std::wstring_view source, HRESULT hr, std::wstring_view description);

// Raises an error another object reported, as it reported it: its number (a run-time error
// number, or an HRESULT), description, help file and context, and its source when it named
// one (`fallbackSource` otherwise).
HRESULT RaiseRecord(const support::ErrorRecord& error, std::wstring_view fallbackSource);

// Fills an EXCEPINFO from the thread's error information after `hr` failed, as
// ITypeInfo::Invoke does, and returns DISP_E_EXCEPTION.
HRESULT ExceptionFromErrorInfo(HRESULT hr, EXCEPINFO* info);

// The HRESULT an error number stands for: run-time error numbers (1-65535) as 0x800A0000 | n,
// anything else (an HRESULT) as it is.
constexpr HRESULT HResultOfErrorNumber(long number) {
    return number > 0 && number <= 0xFFFF ? RuntimeErrorHResult(number) : static_cast<HRESULT>(number);
}

// The steps of a member that carries on past failures unless it is asked to raise them: a
// StepRecorder keeping the first failure, stopping at it in raising mode. A member that ends
// without raising drops the error information its skipped steps left, so that its caller
// sees no stale error.
class MemberSteps : public support::StepRecorder {
public:
    explicit MemberSteps(bool raise) : StepRecorder(support::KeepFailure::First, raise) {}
    MemberSteps(const MemberSteps&) = delete;
    MemberSteps& operator=(const MemberSteps&) = delete;
    ~MemberSteps() {
        if (!stopping() && failed()) SetErrorInfo(0, nullptr);
    }
};

}  // namespace bk
