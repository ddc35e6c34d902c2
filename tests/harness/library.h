// Test access to Basekit0308: objects created straight from the DLL beside the test program
// (no registration needed), late-bound calls by name, and the run-time error a call left.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "Basekit0308.h"
#include "lib/objectmodel/latebinding.h"
#include "support/win/com.h"
#include "support/win/owner.h"

namespace bktest {

using support::Bstr;
using support::ComPtr;
using support::Variant;

// Folder of the running test program (the build's bin folder).
std::wstring BinFolder();
// Full path of a file in that folder.
std::wstring BinFile(const wchar_t* name);

// The library module, loaded once and kept for the run.
HMODULE Library();

// Creates an object of a class through the DLL's own class factory.
HRESULT CreateFromLibrary(const CLSID& clsid, REFIID iid, void** out);
template <class T>
ComPtr<T> Create(const CLSID& clsid) {
    ComPtr<T> p;
    CreateFromLibrary(clsid, __uuidof(T), p.put_void());
    return p;
}

// The run-time error number of a failed HRESULT and the description the call left.
struct CallError {
    HRESULT hr = S_OK;
    long number = 0;
    std::wstring description;
    std::wstring source;
};
CallError LastError(HRESULT hr);

// Late binding by name through IDispatch, as script clients call, keeping the raw outcome of
// the call (its HRESULT and exception) for the tests to check.
struct Dispatch {
    explicit Dispatch(IDispatch* d) : late(d) {}
    template <class T>
    explicit Dispatch(const ComPtr<T>& p) : late(static_cast<IUnknown*>(p.get())) {}

    // Invokes `name` with the arguments in call order; fills `result` and the exception.
    HRESULT Call(const wchar_t* name, WORD flags, std::initializer_list<VARIANT*> args, VARIANT* result = nullptr);
    HRESULT Method(const wchar_t* name, std::initializer_list<VARIANT*> args, VARIANT* result = nullptr) {
        return Call(name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args, result);
    }
    HRESULT Get(const wchar_t* name, std::initializer_list<VARIANT*> args, VARIANT* result) {
        return Call(name, DISPATCH_PROPERTYGET, args, result);
    }

    IDispatch* object() const { return late.object(); }

    bk::LateBound late;
    support::ExcepInfo raised;
    const EXCEPINFO& exception = raised.get();  // of the last call that returned DISP_E_EXCEPTION
    Dispatch(const Dispatch&) = delete;
    Dispatch& operator=(const Dispatch&) = delete;
};

// Runs `commandLine` with its standard output captured; returns the exit code (or -1).
int RunCaptured(const std::wstring& commandLine, std::string& output, DWORD timeoutMs = 60000);

// Runs a script client (a .vbs beside the test program) with Wine's cscript; returns its exit
// code, which the clients set to the number of their failed checks. `arguments` follow the
// script's name on cscript's command line.
int RunScriptClient(const wchar_t* script, std::string& output, const std::wstring& arguments = {});
// Whether a script client's run passed every check: exit code 0 (`failures`), its summary
// "failures=0" and no "FAIL" line; the output goes into the failure message.
::testing::AssertionResult ScriptClientPassed(int failures, const std::string& output);

// Text of a VARIANT holding a string (empty for anything else).
std::wstring Text(const VARIANT& v);

}  // namespace bktest
