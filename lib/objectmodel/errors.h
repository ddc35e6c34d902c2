// How failures cross the COM boundary: a run-time error number n becomes the HRESULT
// 0x800A0000 | n with IErrorInfo set (description and source "Basekit0308.<class>").
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <string_view>

namespace bk {

constexpr HRESULT RuntimeErrorHResult(long number) {
    return static_cast<HRESULT>(0x800A0000UL | (static_cast<unsigned long>(number) & 0xFFFFUL));
}

// Sets the thread's error information and returns the HRESULT for run-time error `number`.
// An empty description takes the standard text of the number.
HRESULT RaiseError(std::wstring_view source, long number, std::wstring_view description = {});

// Sets the thread's error information for a failure that keeps its own HRESULT.
HRESULT RaiseHResult(std::wstring_view source, HRESULT hr, std::wstring_view description);

// For members whose behaviour is not built yet: E_NOTIMPL with a description that says so.
HRESULT NotImplemented(std::wstring_view source, std::wstring_view member);

// Fills an EXCEPINFO from the thread's error information after `hr` failed, as
// ITypeInfo::Invoke does, and returns DISP_E_EXCEPTION.
HRESULT ExceptionFromErrorInfo(HRESULT hr, EXCEPINFO* info);

// The run-time error number a failing HRESULT stands for: its low word for
// FACILITY_CONTROL errors, the HRESULT itself otherwise.
long ErrorNumberOf(HRESULT hr);

}  // namespace bk
