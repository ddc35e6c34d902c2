// Omitted optional by-reference strings, completed by the dispatcher from the library's type
// information: a late-bound SetHTML reaches the member with the context strings the library
// declares as defaults. The calls go to a stand-in whose method table holds only SetHTML,
// which records what it gets.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "lib/objectmodel/dispatch.h"
#include "tests/harness/library.h"

using namespace bktest;

namespace {

struct StandIn {
    explicit StandIn(void* const* methods) : table(methods) {}
    void* const* table;  // first, where a COM object has its method table
    std::wstring fragment, start, end;
};

HRESULT STDMETHODCALLTYPE StandInSetHTML(StandIn* self, BSTR fragment, BSTR* start, BSTR* end, VARIANT_BOOL* result) {
    self->fragment = support::BstrView(fragment);
    self->start = support::BstrView(*start);
    self->end = support::BstrView(*end);
    *result = VARIANT_TRUE;
    return S_OK;
}

// Calls SetHTML on the stand-in with `args` in DISPPARAMS order (last to first).
HRESULT SetHTML(StandIn& object, std::initializer_list<VARIANTARG> args) {
    auto clipboard = Create<_orxClipboard>(CLSID_orxClipboard);
    ComPtr<ITypeInfo> ti;
    if (!clipboard || FAILED(clipboard->GetTypeInfo(0, LOCALE_USER_DEFAULT, ti.put()))) return E_FAIL;
    std::unique_ptr<bk::DispatchTable> table;
    if (FAILED(bk::DispatchTable::Create(ti.get(), table))) return E_FAIL;
    DISPPARAMS params{const_cast<VARIANTARG*>(args.begin()), nullptr, static_cast<UINT>(args.size()), 0};
    Variant result;
    return table->Invoke(&object, 0x60030002, IID_NULL, DISPATCH_METHOD, &params, result.get(), nullptr, nullptr);
}

VARIANTARG String(BSTR* s, VARTYPE byRef = 0) {
    VARIANTARG v{};
    V_VT(&v) = static_cast<VARTYPE>(VT_BSTR | byRef);
    if (byRef) V_BSTRREF(&v) = s; else V_BSTR(&v) = *s;
    return v;
}

TEST(OmittedArguments, ContextStringsTakeTheLibraryDefaultsWhereLeftOut) {
    void* table[7 + 14] = {};
    table[7 + 2] = reinterpret_cast<void*>(&StandInSetHTML);  // after IUnknown and IDispatch
    Bstr fragment(L"<b>x</b>"), given(L"<DIV>");
    BSTR fragmentValue = fragment.get(), variable = given.get();

    StandIn all{table};
    ASSERT_EQ(S_OK, SetHTML(all, {String(&fragmentValue)}));
    EXPECT_EQ(L"<b>x</b>", all.fragment);
    EXPECT_EQ(L"<HTML><BODY>", all.start);
    EXPECT_EQ(L"</BODY></HTML>", all.end);

    StandIn first{table};  // ContextHTMLStart given, ContextHTMLEnd left out
    ASSERT_EQ(S_OK, SetHTML(first, {String(&variable, VT_BYREF), String(&fragmentValue)}));
    EXPECT_EQ(L"<DIV>", first.start);
    EXPECT_EQ(L"</BODY></HTML>", first.end);
}

}  // namespace
