// Calling a caller's objects by name (LateBound), conversions with the run-time errors their
// failures stand for, and the library's error object.
#include <gtest/gtest.h>

#include <dispex.h>

#include <map>
#include <string>

#include "lib/objectmodel/errorobject.h"
#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/latebinding.h"
#include "lib/objectmodel/variants.h"
#include "tests/harness/library.h"

namespace {

using bktest::Text;
using support::ComPtr;
using support::Variant;

// An object as a script engine makes it: names are answered only through IDispatchEx
// (GetIDsOfNames fails, as for a VBScript class instance), calls through InvokeEx. It has
// a text property "Caption", a method "Twice(n)" and a property "Broken" that raises.
class ScriptObject : public IDispatchEx {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(IDispatchEx)) {
            *out = static_cast<IDispatchEx*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the test's stack

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    HRESULT STDMETHODCALLTYPE GetDispID(BSTR name, DWORD, DISPID* id) override {
        static const std::map<std::wstring, DISPID> ids = {{L"caption", 1}, {L"twice", 2}, {L"broken", 3}};
        std::wstring lower(support::BstrView(name));
        for (wchar_t& c : lower) c = static_cast<wchar_t>(towlower(c));
        const auto it = ids.find(lower);
        if (it == ids.end()) return DISP_E_UNKNOWNNAME;
        *id = it->second;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE InvokeEx(DISPID id, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                       EXCEPINFO* exception, IServiceProvider*) override {
        ++calls;
        switch (id) {
        case 1:
            if (flags & DISPATCH_PROPERTYPUT) {
                caption = Text(params->rgvarg[0]);
                return S_OK;
            }
            V_VT(result) = VT_BSTR;
            V_BSTR(result) = SysAllocString(caption.c_str());
            return S_OK;
        case 2: {
            if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
            Variant n;
            if (FAILED(VariantChangeType(n.get(), &params->rgvarg[0], 0, VT_I4))) return DISP_E_TYPEMISMATCH;
            V_VT(result) = VT_I4;
            V_I4(result) = 2 * V_I4(n.get());
            return S_OK;
        }
        case 3:
            *exception = EXCEPINFO{};
            exception->scode = static_cast<SCODE>(0x800A0046);
            exception->bstrDescription = SysAllocString(L"No access to the page");
            exception->bstrSource = SysAllocString(L"ScriptPage");
            return DISP_E_EXCEPTION;
        default:
            return DISP_E_MEMBERNOTFOUND;
        }
    }
    HRESULT STDMETHODCALLTYPE DeleteMemberByName(BSTR, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DeleteMemberByDispID(DISPID) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMemberProperties(DISPID, DWORD, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMemberName(DISPID, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNextDispID(DWORD, DISPID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetNameSpaceParent(IUnknown**) override { return E_NOTIMPL; }

    std::wstring caption = L"Page 1";
    int calls = 0;

private:
    ULONG refs_ = 1;
};

TEST(LateBound, ScriptObjectsAreReachedThroughIDispatchEx) {
    ScriptObject page;
    bk::LateBound late(static_cast<IDispatch*>(&page));
    Variant value;
    ASSERT_EQ(late.Get(L"CAPTION", *value.get()), S_OK);
    EXPECT_EQ(Text(*value.get()), L"Page 1");

    Variant text = Variant::FromString(L"Page 2");
    ASSERT_EQ(late.Put(L"Caption", *text.get()), S_OK);
    EXPECT_EQ(page.caption, L"Page 2");

    Variant three = Variant::FromLong(3);
    ASSERT_EQ(late.Call(L"Twice", {*three.get()}, value.put()), S_OK);
    EXPECT_EQ(V_I4(value.get()), 6);
    EXPECT_EQ(page.calls, 3);
}

TEST(LateBound, FailuresBecomeTheRunTimeErrorsAScriptSees) {
    ScriptObject page;
    bk::LateBound late(static_cast<IDispatch*>(&page));
    Variant value;

    // The object's own error goes through with its number, text and source.
    EXPECT_EQ(late.Get(L"Broken", *value.get()), static_cast<HRESULT>(0x800A0046));
    EXPECT_EQ(late.error().number, 70);
    EXPECT_EQ(late.error().description, L"No access to the page");
    EXPECT_EQ(late.error().source, L"ScriptPage");

    EXPECT_EQ(late.Get(L"NoSuchMember", *value.get()), bk::RuntimeErrorHResult(438));
    EXPECT_EQ(late.error().number, 438);
    EXPECT_EQ(late.error().description, L"Object doesn't support this property or method");

    EXPECT_EQ(late.Call(L"Twice", {}, value.put()), bk::RuntimeErrorHResult(450));
    Variant word = Variant::FromString(L"many");
    EXPECT_EQ(late.Call(L"Twice", {*word.get()}, value.put()), bk::RuntimeErrorHResult(13));

    bk::LateBound nothing(static_cast<IDispatch*>(nullptr));
    EXPECT_EQ(nothing.Get(L"Caption", *value.get()), bk::RuntimeErrorHResult(91));
    EXPECT_EQ(nothing.error().number, 91);
}

TEST(LateBound, LibraryObjectsThroughPlainIDispatch) {
    auto main = bktest::Create<_orxMain>(CLSID_orxMain);
    ASSERT_TRUE(main);
    ComPtr<_CommandLineParser> parser;
    ASSERT_EQ(main->CommandLine(parser.put()), S_OK);
    bk::LateBound late(static_cast<IUnknown*>(parser.get()));
    Variant count;
    ASSERT_EQ(late.Get(L"Count", *count.get()), S_OK);
    EXPECT_EQ(V_VT(count.get()), VT_I4);

    // The parser's own error comes back with its source.
    Variant beyond = Variant::FromLong(1000);
    Variant item;
    EXPECT_EQ(late.Get(L"Item", *item.get(), {*beyond.get()}), bk::RuntimeErrorHResult(9));
    EXPECT_EQ(late.error().source, L"Basekit0308.CommandLineParser");
}

// An object whose default member (DISPID_VALUE) gives a text, or that has none.
class Defaulted : public IDispatch {
public:
    explicit Defaulted(bool hasDefault) : hasDefault_(hasDefault) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS*, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (id != DISPID_VALUE || !hasDefault_) return DISP_E_MEMBERNOTFOUND;
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocString(L"42");
        return S_OK;
    }

private:
    bool hasDefault_;
};

TEST(ConvertValue, ObjectsGiveTheirDefaultValueAndFailuresTheirRunTimeError) {
    Defaulted withValue(true), without(false);
    Variant out;
    Variant object = Variant::FromDispatch(&withValue);
    ASSERT_EQ(bk::ConvertValue(*object.get(), VT_I4, *out.put()), S_OK);
    EXPECT_EQ(V_I4(out.get()), 42);

    auto numberOf = [&](const VARIANT& v, VARTYPE type) { return bk::ErrorNumberOf(bk::ConvertValue(v, type, *out.put())); };
    EXPECT_EQ(numberOf(*Variant::FromDispatch(&without).get(), VT_BSTR), 438);
    EXPECT_EQ(numberOf(*Variant::FromDispatch(nullptr).get(), VT_BSTR), 91);
    Variant null;
    V_VT(null.get()) = VT_NULL;
    EXPECT_EQ(numberOf(*null.get(), VT_I4), 94);
    EXPECT_EQ(numberOf(*Variant::FromDouble(1e20).get(), VT_I4), 6);
    EXPECT_EQ(numberOf(*Variant::FromString(L"abc").get(), VT_I4), 13);

    // Through a reference to a variable, and a reference whose pointer is missing.
    Variant five = Variant::FromString(L"5");
    VARIANT ref;
    V_VT(&ref) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&ref) = five.get();
    ASSERT_EQ(bk::ConvertValue(ref, VT_I4, *out.put()), S_OK);
    EXPECT_EQ(V_I4(out.get()), 5);
    VARIANT broken;
    V_VT(&broken) = VT_BSTR | VT_BYREF;
    V_BSTRREF(&broken) = nullptr;
    EXPECT_EQ(numberOf(broken, VT_I4), 13);
}

TEST(ErrorObject, ServesItsPropertiesByInterfaceAndByName) {
    ErrObject* raw = nullptr;
    ASSERT_EQ(bk::CreateErrorObject({-2147024891, L"Access is denied.", L"TextFileIO", L"", 7}, &raw), S_OK);
    auto object = ComPtr<ErrObject>::Attach(raw);
    LONG number = 0;
    ASSERT_EQ(object->get_Number(&number), S_OK);
    EXPECT_EQ(number, -2147024891);

    bktest::Dispatch late(object);
    Variant v;
    ASSERT_EQ(late.Get(L"description", {}, v.put()), S_OK);
    EXPECT_EQ(Text(*v.get()), L"Access is denied.");
    ASSERT_EQ(late.Get(L"Source", {}, v.put()), S_OK);
    EXPECT_EQ(Text(*v.get()), L"TextFileIO");
    ASSERT_EQ(late.Get(L"HelpContext", {}, v.put()), S_OK);
    EXPECT_EQ(V_I4(v.get()), 7);

    Variant five = Variant::FromString(L"5");
    ASSERT_EQ(late.Call(L"Number", DISPATCH_PROPERTYPUT, {five.get()}), S_OK);
    ASSERT_EQ(object->get_Number(&number), S_OK);
    EXPECT_EQ(number, 5);
    EXPECT_EQ(late.Get(L"NoSuchProperty", {}, v.put()), DISP_E_UNKNOWNNAME);
}

TEST(ErrorObject, RaiseSetsTheErrorAndFailsTheCall) {
    ErrObject* raw = nullptr;
    ASSERT_EQ(bk::CreateErrorObject({}, &raw), S_OK);
    auto object = ComPtr<ErrObject>::Attach(raw);

    bktest::Dispatch late(object);
    Variant number = Variant::FromLong(53), source = Variant::FromString(L"Script");
    EXPECT_EQ(late.Method(L"Raise", {number.get(), source.get()}), DISP_E_EXCEPTION);
    EXPECT_EQ(late.exception.scode, bk::RuntimeErrorHResult(53));
    EXPECT_STREQ(late.exception.bstrDescription, L"File not found");
    EXPECT_STREQ(late.exception.bstrSource, L"Script");
    Variant v;
    ASSERT_EQ(late.Get(L"Number", {}, v.put()), S_OK);
    EXPECT_EQ(V_I4(v.get()), 53);

    // The object itself is an error record a member can read back.
    ASSERT_EQ(late.Method(L"Clear", {}), S_OK);
    ASSERT_EQ(late.Get(L"Description", {}, v.put()), S_OK);
    EXPECT_EQ(Text(*v.get()), L"");
}

}  // namespace
