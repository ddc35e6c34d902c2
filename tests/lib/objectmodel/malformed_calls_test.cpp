// Late-bound calls a careless or hostile client can make, against every member of every class
// the library publishes (found through its type library, so a new class is covered without a
// new test): malformed DISPPARAMS, references to nothing, and required arguments left out. Each
// is refused before the member runs, with the answer the system's own dispatch gives.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/harness/library.h"

using namespace bktest;

namespace {

struct Member {
    DISPID id;
    INVOKEKIND kind;
    std::wstring name;
    int required;  // parameters a caller must pass
};

struct Published {
    std::wstring name;
    ComPtr<IDispatch> object;
    std::vector<Member> members;
};

WORD FlagsOf(INVOKEKIND kind) {
    switch (kind) {
    case INVOKE_PROPERTYGET: return DISPATCH_PROPERTYGET;
    case INVOKE_PROPERTYPUT: return DISPATCH_PROPERTYPUT;
    case INVOKE_PROPERTYPUTREF: return DISPATCH_PROPERTYPUTREF;
    default: return DISPATCH_METHOD;
    }
}

std::vector<Member> MembersOf(IDispatch* object) {
    std::vector<Member> members;
    ComPtr<ITypeInfo> info;
    if (FAILED(object->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()))) return members;
    const support::TypeAttr attr = support::GetTypeAttr(info.get());
    if (!attr) return members;
    for (UINT i = 0; i < attr.get().desc->cFuncs; ++i) {
        const support::FuncDesc fd = support::GetFuncDesc(info.get(), i);
        if (!fd) continue;
        const FUNCDESC* f = fd.get().desc;
        if (f->memid >= 0x60000000 && f->memid < 0x60020000) continue;  // IUnknown and IDispatch
        Bstr name;
        info->GetDocumentation(f->memid, name.put(), nullptr, nullptr, nullptr);
        int required = 0;
        for (SHORT p = 0; p < f->cParams; ++p)
            if (!(f->lprgelemdescParam[p].paramdesc.wParamFlags & (PARAMFLAG_FOPT | PARAMFLAG_FRETVAL))) ++required;
        if (f->cParamsOpt == -1) required = 0;  // a parameter array takes any number
        members.push_back(Member{f->memid, f->invkind, name.str(), required});
    }
    return members;
}

// Every class the library hands out: the creatable and global ones of its type library, and
// the objects only its members make.
std::vector<Published> Everything() {
    std::vector<Published> all;
    ComPtr<IDispatch> any;
    if (FAILED(CreateFromLibrary(CLSID_orxMain, IID_IDispatch, any.put_void()))) return all;
    ComPtr<ITypeInfo> info;
    ComPtr<ITypeLib> lib;
    UINT index = 0;
    if (FAILED(any->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put())) || FAILED(info->GetContainingTypeLib(lib.put(), &index)))
        return all;
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        TYPEKIND kind;
        if (FAILED(lib->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS) continue;
        ComPtr<ITypeInfo> coclass;
        if (FAILED(lib->GetTypeInfo(i, coclass.put()))) continue;
        const support::TypeAttr attr = support::GetTypeAttr(coclass.get());
        Published p;
        ComPtr<IDispatch> object;
        if (!attr || FAILED(CreateFromLibrary(attr.get().desc->guid, IID_IDispatch, object.put_void()))) continue;
        Bstr name;
        lib->GetDocumentation(static_cast<INT>(i), name.put(), nullptr, nullptr, nullptr);
        all.push_back(Published{name.str(), object, MembersOf(object.get())});
    }
    auto main = Create<_orxMain>(CLSID_orxMain);
    ComPtr<_CommandLineParser> parser;
    main->CommandLine(parser.put());
    Dispatch late(main);
    Variant collection;
    late.Method(L"Collection", {}, collection.get());
    for (auto [name, object] : {std::pair<std::wstring, IDispatch*>{L"CommandLineParser", parser.get()},
                                {L"Collection", V_DISPATCH(collection.get())}}) {
        if (!object) continue;
        all.push_back(Published{name, ComPtr<IDispatch>::Share(object), MembersOf(object)});
    }
    return all;
}

HRESULT Call(IDispatch* object, const Member& m, DISPPARAMS* params, REFIID riid = IID_NULL, UINT* argErr = nullptr) {
    Variant result;
    support::ExcepInfo exception;
    UINT ignored = 0;
    return object->Invoke(m.id, riid, LOCALE_USER_DEFAULT, FlagsOf(m.kind), params, result.get(), exception.put(),
                          argErr ? argErr : &ignored);
}

TEST(MalformedCalls, EveryClassIsSwept) {
    const auto all = Everything();
    EXPECT_GE(all.size(), 13u);
    size_t members = 0, required = 0;
    for (const auto& p : all) {
        members += p.members.size();
        for (const Member& m : p.members) required += m.required > 0 && m.kind != INVOKE_PROPERTYPUT;
    }
    EXPECT_GT(members, 120u);
    // The sweep's size, for the record: 11 malformed calls per member, 2 more per member with
    // a required argument.
    std::printf("swept %zu classes, %zu members, %zu calls\n", all.size(), members, members * 11 + required * 2);
}

TEST(MalformedCalls, BrokenParameterBlocksAreRefused) {
    const IID someInterface = IID_IDispatch;
    for (const auto& p : Everything()) {
        for (const Member& m : p.members) {
            SCOPED_TRACE(testing::Message() << p.name << "." << testing::PrintToString(m.name));
            DISPPARAMS none{nullptr, nullptr, 0, 0};
            EXPECT_EQ(DISP_E_UNKNOWNINTERFACE, Call(p.object.get(), m, &none, someInterface));
            EXPECT_EQ(E_INVALIDARG, Call(p.object.get(), m, nullptr));
            DISPPARAMS noArgs{nullptr, nullptr, 2, 0};
            EXPECT_EQ(E_INVALIDARG, Call(p.object.get(), m, &noArgs));
            Variant one = Variant::FromLong(1);
            DISPPARAMS noNames{one.get(), nullptr, 1, 1};
            EXPECT_EQ(E_INVALIDARG, Call(p.object.get(), m, &noNames));
            DISPID names[2] = {0, 1};
            DISPPARAMS tooManyNames{one.get(), names, 1, 2};
            EXPECT_EQ(E_INVALIDARG, Call(p.object.get(), m, &tooManyNames));
        }
    }
}

TEST(MalformedCalls, ReferencesToNothingAreTypeMismatchesNeverReads) {
    const VARTYPE kinds[] = {VT_VARIANT | VT_BYREF, VT_BSTR | VT_BYREF, VT_I4 | VT_BYREF,
                             VT_ARRAY | VT_VARIANT | VT_BYREF, VT_DISPATCH | VT_BYREF};
    for (const auto& p : Everything()) {
        for (const Member& m : p.members) {
            SCOPED_TRACE(testing::Message() << p.name << "." << testing::PrintToString(m.name));
            for (VARTYPE vt : kinds) {
                VARIANTARG args[2];
                VariantInit(&args[0]);
                VariantInit(&args[1]);
                V_VT(&args[0]) = VT_I4;  // the last argument is fine
                V_VT(&args[1]) = vt;     // the first refers to nothing
                V_BYREF(&args[1]) = nullptr;
                DISPPARAMS params{args, nullptr, 2, 0};
                UINT argErr = 99;
                EXPECT_EQ(DISP_E_TYPEMISMATCH, Call(p.object.get(), m, &params, IID_NULL, &argErr)) << vt;
                EXPECT_EQ(1u, argErr) << vt;
            }
            // A reference to a variable that itself refers to nothing.
            VARIANT inner;
            VariantInit(&inner);
            V_VT(&inner) = VT_BSTR | VT_BYREF;
            V_BSTRREF(&inner) = nullptr;
            VARIANTARG outer;
            VariantInit(&outer);
            V_VT(&outer) = VT_VARIANT | VT_BYREF;
            V_VARIANTREF(&outer) = &inner;
            DISPPARAMS params{&outer, nullptr, 1, 0};
            EXPECT_EQ(DISP_E_TYPEMISMATCH, Call(p.object.get(), m, &params));
        }
    }
}

TEST(OmittedArguments, RequiredArgumentsAreNotOptional) {
    size_t checked = 0;
    for (const auto& p : Everything()) {
        for (const Member& m : p.members) {
            if (m.required == 0 || m.kind == INVOKE_PROPERTYPUT || m.kind == INVOKE_PROPERTYPUTREF) continue;
            SCOPED_TRACE(testing::Message() << p.name << "." << testing::PrintToString(m.name));
            DISPPARAMS none{nullptr, nullptr, 0, 0};
            EXPECT_EQ(DISP_E_PARAMNOTOPTIONAL, Call(p.object.get(), m, &none));
            // The omitted marker in the first (required) position.
            std::vector<VARIANTARG> args(static_cast<size_t>(m.required));
            for (auto& a : args) {
                VariantInit(&a);
                V_VT(&a) = VT_ERROR;
                V_ERROR(&a) = DISP_E_PARAMNOTFOUND;
            }
            DISPPARAMS missing{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
            EXPECT_EQ(DISP_E_PARAMNOTOPTIONAL, Call(p.object.get(), m, &missing));
            ++checked;
        }
    }
    EXPECT_GT(checked, 40u);
}

TEST(OmittedArguments, AddWithoutAnItemStoresNothing) {
    auto main = Create<_orxMain>(CLSID_orxMain);
    Dispatch late(main);
    Variant collection;
    ASSERT_EQ(S_OK, late.Method(L"Collection", {}, collection.get()));
    Dispatch items(V_DISPATCH(collection.get()));
    EXPECT_EQ(DISP_E_PARAMNOTOPTIONAL, items.Method(L"Add", {}));
    Variant missing = Variant::Missing(), key = Variant::FromString(L"k");
    EXPECT_EQ(DISP_E_PARAMNOTOPTIONAL, items.Method(L"Add", {missing.get(), key.get()}));
    Variant count;
    ASSERT_EQ(S_OK, items.Method(L"Count", {}, count.get()));
    EXPECT_EQ(0, V_I4(count.get()));

    // Early-bound, the omitted marker as the item is refused the same way.
    ComPtr<_Collection> early;
    ASSERT_EQ(S_OK, V_DISPATCH(collection.get())->QueryInterface(__uuidof(_Collection), early.put_void()));
    Variant absent = Variant::Missing();
    EXPECT_EQ(449, LastError(early->Add(missing.get(), absent.get(), absent.get(), absent.get())).number);
    long n = -1;
    early->Count(&n);
    EXPECT_EQ(0, n);
}

}  // namespace
