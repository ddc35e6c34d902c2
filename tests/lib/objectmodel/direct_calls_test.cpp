// Calls that dispatch makes through the member's vtable slot itself give what the host's
// ITypeInfo::Invoke gives for the same call: the same outcome, result, exception, error
// information left behind, and arguments afterwards. Each call is made both ways on objects
// in the same state.
#include <gtest/gtest.h>

#include <functional>
#include <utility>
#include <string>
#include <vector>

#include "tests/harness/library.h"

using namespace bktest;

namespace {

// A value as text with its type; a collection by its items, another object as one.
std::wstring Describe(const VARIANT& v) {
    std::wstring out = L"vt " + std::to_wstring(V_VT(&v)) + L":";
    if (V_VT(&v) == VT_DISPATCH || V_VT(&v) == VT_UNKNOWN) {
        ComPtr<_Collection> c;
        if (!V_UNKNOWN(&v) || FAILED(V_UNKNOWN(&v)->QueryInterface(__uuidof(_Collection), c.put_void())))
            return out + (V_UNKNOWN(&v) ? L"an object" : L"nothing");
        long n = 0;
        c->Count(&n);
        for (long i = 1; i <= n; ++i) {
            Variant item;
            c->Item(Variant::FromLong(i).get(), item.put());
            out += L"[" + Describe(*item.get()) + L"]";
        }
        return out;
    }
    Variant text;
    if (SUCCEEDED(VariantChangeTypeEx(text.get(), const_cast<VARIANT*>(&v), LOCALE_INVARIANT, 0, VT_BSTR)))
        out += Text(*text.get());
    return out;
}

// One way of calling: the object's own IDispatch::Invoke, or the host's ITypeInfo::Invoke on
// the object's default interface with the type information the object hands out.
using Invoker = HRESULT (*)(IDispatch*, DISPID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*);

HRESULT Ours(IDispatch* object, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) {
    UINT argErr = 0;
    return object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, params, result, info, &argErr);
}

HRESULT Host(IDispatch* object, DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info) {
    ComPtr<ITypeInfo> ti;
    if (FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, ti.put()))) return E_UNEXPECTED;
    const support::TypeAttr attr = support::GetTypeAttr(ti.get());
    if (!attr) return E_UNEXPECTED;
    ComPtr<IUnknown> itf;
    if (FAILED(object->QueryInterface(attr.get().desc->guid, itf.put_void()))) return E_UNEXPECTED;
    UINT argErr = 0;
    return ti->Invoke(itf.get(), id, flags, params, result, info, &argErr);
}

// Makes the object and the arguments afresh (in call order), calls, and reads the outcome.
struct Call {
    std::function<ComPtr<IDispatch>()> object;
    const wchar_t* member;
    WORD flags;
    std::function<std::vector<Variant>(IDispatch*)> args;
    bool wantResult = true;
    bool wantException = true;
};

// The outcome as text: the HRESULT, the result, the exception, the error information left
// on the thread, and the by-reference arguments as their variables hold them afterwards.
std::wstring Outcome(const Call& call, Invoker invoke) {
    ComPtr<IDispatch> object = call.object();
    DISPID id = DISPID_NEWENUM;
    LPOLESTR name = const_cast<LPOLESTR>(call.member);
    if (!object || (call.member[0] != L'#' && FAILED(object->GetIDsOfNames(IID_NULL, &name, 1, 0, &id))))
        return L"no call";
    std::vector<Variant> args = call.args(object.get());
    std::vector<VARIANTARG> reversed(args.size());
    for (size_t i = 0; i < args.size(); ++i) reversed[args.size() - 1 - i] = *args[i].get();
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    SetErrorInfo(0, nullptr);
    Variant result;
    support::ExcepInfo exception;
    const HRESULT hr = invoke(object.get(), id, call.flags, &params, call.wantResult ? result.get() : nullptr,
                              call.wantException ? exception.put() : nullptr);
    const EXCEPINFO& e = exception.get();
    std::wstring out = std::to_wstring(hr) + L" | " + Describe(*result.get()) + L" | " + std::to_wstring(e.scode) +
                       L" " + std::wstring(support::BstrView(e.bstrDescription)) + L" / " +
                       std::wstring(support::BstrView(e.bstrSource)) + L" | ";
    ComPtr<IErrorInfo> info;
    Bstr description;
    if (GetErrorInfo(0, info.put()) == S_OK && info) info->GetDescription(description.put());
    out += description.str() + L" |";
    for (const VARIANTARG& a : reversed) {
        Variant value;
        if (V_VT(&a) & VT_BYREF) VariantCopyInd(value.get(), const_cast<VARIANTARG*>(&a));
        out += L" " + Describe(*value.get());
    }
    return out;
}

ComPtr<IDispatch> MainObject() {
    auto main = Create<_orxMain>(CLSID_orxMain);
    ComPtr<IDispatch> d;
    if (main) main->QueryInterface(IID_IDispatch, d.put_void());
    return d;
}

// A keyed collection of three strings and a number.
ComPtr<IDispatch> Filled() {
    auto main = Create<_orxMain>(CLSID_orxMain);
    if (!main) return {};
    SAFEARRAYBOUND bound{0, 0};
    support::SafeArray none(SafeArrayCreate(VT_VARIANT, 1, &bound));
    SAFEARRAY* args = none.get();
    ComPtr<_Collection> c;
    main->Collection(&args, c.put());
    const Variant missing = Variant::Missing();
    int i = 0;
    for (Variant v : {Variant::FromString(L"one"), Variant::FromString(L"two"), Variant::FromLong(3), Variant::FromString(L"")}) {
        Variant key = Variant::FromString(L"k" + std::to_wstring(++i));
        c->Add(v.get(), key.get(), const_cast<VARIANT*>(missing.get()), const_cast<VARIANT*>(missing.get()));
    }
    ComPtr<IDispatch> d;
    c->QueryInterface(IID_IDispatch, d.put_void());
    return d;
}

// Arguments made of fixed values, in call order.
std::function<std::vector<Variant>(IDispatch*)> Values(std::vector<Variant> values) {
    return [values](IDispatch*) { return values; };
}

Variant Short(SHORT n) {
    Variant v;
    V_VT(v.get()) = VT_I2;
    V_I2(v.get()) = n;
    return v;
}

// The variables by-reference arguments point to, made afresh for each call.
struct Variables {
    ~Variables() { Clear(); }
    void Clear() {
        referenced.reset();
        collection.reset();
        collectionRef = nullptr;
        if (array) SafeArrayDestroy(std::exchange(array, nullptr));
    }
    VARIANT_BOOL found = VARIANT_FALSE;
    Variant referenced;
    ComPtr<IDispatch> collection;
    IDispatch* collectionRef = nullptr;
    SAFEARRAY* array = nullptr;
};

TEST(DirectCalls, GiveWhatTheHostsInvokeGives) {
    const WORD get = DISPATCH_METHOD | DISPATCH_PROPERTYGET;
    Variables vars;
    std::vector<std::pair<const char*, Call>> calls = {
        {"Count, no arguments", {Filled, L"Count", get, Values({})}},
        {"Count, no result asked for", {Filled, L"Count", get, Values({}), false}},
        {"Item by position, a VARIANT* given a value", {Filled, L"Item", get, Values({Variant::FromLong(2)})}},
        {"Item by a 16-bit position", {Filled, L"Item", get, Values({Short(3)})}},
        {"Item by key", {Filled, L"Item", get, Values({Variant::FromString(L"K1")})}},
        {"Item by a referenced variable", {Filled, L"Item", get, [&](IDispatch*) {
             vars.referenced = Variant::FromString(L"k2");
             Variant ref;
             V_VT(ref.get()) = VT_VARIANT | VT_BYREF;
             V_VARIANTREF(ref.get()) = vars.referenced.get();
             return std::vector<Variant>{ref};
         }}},
        {"Item failing: out of range", {Filled, L"Item", get, Values({Variant::FromLong(9)})}},
        {"Item failing without EXCEPINFO", {Filled, L"Item", get, Values({Variant::FromString(L"none")}), true, false}},
        {"Item failing without a result", {Filled, L"Item", get, Values({Variant::FromLong(0)}), false}},
        {"Remove by a 16-bit position", {Filled, L"Remove", DISPATCH_METHOD, Values({Short(1)})}},
        {"the enumerator", {Filled, L"#", get, Values({})}},
        {"CommandLine: an object", {MainObject, L"CommandLine", get, Values({})}},
        {"SplitCollection with every argument", {MainObject, L"SplitCollection", get,
             Values({Variant::FromString(L"a,b,,c"), Variant::FromString(L","), Variant::FromLong(3), Variant::FromLong(0),
                     Variant::FromBool(false)})}},
        {"SplitCollection: omitted arguments take their defaults", {MainObject, L"SplitCollection", get,
             Values({Variant::FromString(L"x y  z")})}},
        {"SplitCollection: converted arguments", {MainObject, L"SplitCollection", get,
             Values({Variant::FromLong(12131), Variant::FromLong(1), Variant::FromString(L"2"), Short(1)})}},
        {"SplitCollection: an argument without conversion", {MainObject, L"SplitCollection", get,
             Values({Variant::FromString(L"a b"), Variant::FromString(L" "), Variant::FromString(L"many")})}},
        {"SplitCollection failing: raised error", {MainObject, L"SplitCollection", get,
             Values({Variant::FromString(L"a"), Variant::FromString(L" "), Variant::FromLong(-1), Variant::FromLong(7),
                     Variant::FromBool(true)})}},
        {"JoinCollection", {MainObject, L"JoinCollection", get, [&](IDispatch*) {
             vars.collection = Filled();
             vars.collectionRef = vars.collection.get();
             Variant ref;
             V_VT(ref.get()) = VT_DISPATCH | VT_BYREF;
             V_DISPATCHREF(ref.get()) = &vars.collectionRef;
             return std::vector<Variant>{ref, Variant::FromString(L"+"), Short(-1)};
         }}},
        {"InArrayLong: an array by reference, a converted number, IsFound by reference", {MainObject, L"InArrayLong", get,
             [&](IDispatch*) {
                 SAFEARRAYBOUND b{4, 1};
                 vars.Clear();
                 vars.array = SafeArrayCreate(VT_I4, 1, &b);
                 for (LONG i = 1; i <= 4; ++i) {
                     LONG v = i * 10;
                     SafeArrayPutElement(vars.array, &i, &v);
                 }
                 vars.found = VARIANT_FALSE;
                 Variant a, isFound;
                 V_VT(a.get()) = VT_ARRAY | VT_I4 | VT_BYREF;
                 V_ARRAYREF(a.get()) = &vars.array;
                 V_VT(isFound.get()) = VT_BOOL | VT_BYREF;
                 V_BOOLREF(isFound.get()) = &vars.found;
                 return std::vector<Variant>{a, Variant::FromString(L"30"), Variant::FromLong(2), Variant::Missing(), isFound};
             }}},
    };
    for (const auto& [what, call] : calls) EXPECT_EQ(Outcome(call, Host), Outcome(call, Ours)) << what;
    vars.Clear();  // the module holds no object of the test's afterwards
}

// Every member's name in several spellings, with a parameter's name, and names of no member:
// the object answers as the host's lookup on its type information does.
TEST(DirectCalls, NamesAreFoundAsTheHostFindsThem) {
    auto main = Create<_orxMain>(CLSID_orxMain);
    ASSERT_TRUE(main);
    ComPtr<_CommandLineParser> parser;
    main->CommandLine(parser.put());
    ComPtr<IDispatch> parserDispatch;
    ASSERT_EQ(S_OK, parser->QueryInterface(IID_IDispatch, parserDispatch.put_void()));
    size_t compared = 0;
    for (const ComPtr<IDispatch>& object : {MainObject(), Filled(), parserDispatch}) {
        ASSERT_TRUE(object);
        ComPtr<ITypeInfo> ti;
        ASSERT_EQ(S_OK, object->GetTypeInfo(0, LOCALE_USER_DEFAULT, ti.put()));
        std::vector<std::vector<std::wstring>> lookups = {
            {L"NoSuchMember"}, {L"QueryInterface"}, {L"Invoke"}, {L"\u0421ount"}, {L""}};
        const support::TypeAttr attr = support::GetTypeAttr(ti.get());
        ASSERT_TRUE(attr);
        for (UINT i = 0; i < attr.get().desc->cFuncs; ++i) {
            const support::FuncDesc fd = support::GetFuncDesc(ti.get(), i);
            BSTR names[4] = {};
            UINT got = 0;
            ti->GetNames(fd.get().desc->memid, names, 4, &got);
            std::wstring name(support::BstrView(names[0])), lower = name, upper = name;
            for (wchar_t& ch : lower) ch = static_cast<wchar_t>(towlower(ch));
            for (wchar_t& ch : upper) ch = static_cast<wchar_t>(towupper(ch));
            lookups.push_back({name});
            lookups.push_back({lower});
            lookups.push_back({upper});
            if (got > 1) lookups.push_back({name, std::wstring(support::BstrView(names[1]))});
            lookups.push_back({name, L"nothing"});
            for (UINT k = 0; k < got; ++k) SysFreeString(names[k]);
        }
        for (const auto& lookup : lookups) {
            std::vector<LPOLESTR> names;
            for (const auto& n : lookup) names.push_back(const_cast<LPOLESTR>(n.c_str()));
            std::vector<DISPID> host(names.size(), 7), ours(names.size(), 7);
            const UINT n = static_cast<UINT>(names.size());
            const HRESULT hostHr = ti->GetIDsOfNames(names.data(), n, host.data());
            const HRESULT oursHr = object->GetIDsOfNames(IID_NULL, names.data(), n, LOCALE_USER_DEFAULT, ours.data());
            EXPECT_EQ(hostHr, oursHr) << testing::PrintToString(lookup);
            EXPECT_EQ(host, ours) << testing::PrintToString(lookup);
            ++compared;
        }
    }
    EXPECT_GT(compared, 150u);
}

}  // namespace
