// The library's one way to use a caller's objects (forms, controls, error objects, pages):
// by name, as a script does. Objects that script engines make are asked through IDispatchEx
// when they offer it; a VBScript class instance answers names only there.
//
//   LateBound form(formObject);
//   support::Variant caption;
//   if (FAILED(form.Get(L"Caption", *caption.put()))) return RaiseRecord(form.error(), Source());
//
// A failed call keeps the error the object reported (number, description, source, help file
// and context) in error(); failures of the dispatch itself become the run-time errors a
// script would see: 91 for Nothing, 438 for a missing member, 449 for a missing argument,
// 450 for a wrong number of arguments, 13 for a type mismatch, 448 for an unknown named
// argument.
#pragma once

#include <windows.h>
#include <dispex.h>
#include <oaidl.h>

#include <initializer_list>
#include <span>
#include <string_view>

#include "support/base/error_record.h"
#include "support/win/com.h"

namespace bk {

class LateBound {
public:
    LateBound() = default;
    explicit LateBound(IDispatch* object);
    explicit LateBound(IUnknown* object);

    IDispatch* object() const { return dispatch_.get(); }
    bool valid() const { return dispatch_.valid(); }

    // The member id of `name` (compared without regard to case).
    HRESULT IdOf(std::wstring_view name, DISPID& id);

    // Arguments are given in call order; a VARIANT holding VT_ERROR / DISP_E_PARAMNOTFOUND
    // (Missing()) leaves an optional argument out. The caller keeps ownership of them.
    HRESULT Get(std::wstring_view name, VARIANT& result, std::initializer_list<VARIANT> args = {});
    HRESULT Put(std::wstring_view name, const VARIANT& value, std::initializer_list<VARIANT> args = {});
    HRESULT PutRef(std::wstring_view name, IDispatch* value);
    HRESULT Call(std::wstring_view name, std::initializer_list<VARIANT> args = {}, VARIANT* result = nullptr);
    // Any call kind by member id (DISPATCH_METHOD, ..._PROPERTYGET, ..._PROPERTYPUT, ..._PROPERTYPUTREF).
    HRESULT Invoke(DISPID id, WORD flags, std::span<const VARIANT> args, VARIANT* result);
    // The same call as the object answers it: its own HRESULT, its exception in `exception`
    // (filled in, including a deferred fill-in) and nothing recorded in error(). `result` is
    // overwritten without being cleared; it may be null.
    HRESULT InvokeRaw(DISPID id, WORD flags, std::span<const VARIANT> args, VARIANT* result, EXCEPINFO* exception);

    // The error the last failing call left.
    const support::ErrorRecord& error() const { return error_; }

    // An omitted optional argument.
    static VARIANT Missing();

private:
    HRESULT FailWith(long number);

    support::ComPtr<IDispatch> dispatch_;
    support::ComPtr<IDispatchEx> dispatchEx_;
    support::ErrorRecord error_;
};

// The error record of a failed automation call: the exception's fields after DISP_E_EXCEPTION,
// else the run-time error the failure stands for.
support::ErrorRecord ErrorRecordOfCall(HRESULT hr, const EXCEPINFO* exception);

}  // namespace bk
