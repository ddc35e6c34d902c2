// The in-process server as a client sees it: its exports, when it may be unloaded, and how
// calls fail, early-bound (HRESULT plus IErrorInfo) and late-bound (EXCEPINFO).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/harness/library.h"
#include "tests/harness/registered.h"

using namespace bktest;

namespace {

HRESULT CanUnloadNow() { return CallExport("DllCanUnloadNow"); }

HRESULT ClassFactory(const CLSID& clsid, IClassFactory** out) {
    auto f = Export<HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**)>("DllGetClassObject");
    return f ? f(clsid, IID_IClassFactory, reinterpret_cast<void**>(out)) : E_FAIL;
}

bool Contains(std::wstring_view text, std::wstring_view part) { return text.find(part) != std::wstring_view::npos; }
std::wstring Str(BSTR b) { return std::wstring(support::BstrView(b)); }

// ---- Exports

TEST(Exports, ExactlyTheServerEntryPointsUndecorated) {
    auto* base = reinterpret_cast<const BYTE*>(Library());
    ASSERT_TRUE(base);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    ASSERT_NE(0u, dir.VirtualAddress);
    auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    EXPECT_EQ(5u, exports->NumberOfFunctions);  // no exports by ordinal only
    auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    std::vector<std::string> found;
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        found.emplace_back(reinterpret_cast<const char*>(base + names[i]));
    EXPECT_EQ((std::vector<std::string>{"DllCanUnloadNow", "DllGetClassObject", "DllInstall", "DllRegisterServer",
                                        "DllUnregisterServer"}),
              found);
}

// ---- DllCanUnloadNow

struct Creatable {
    const CLSID* clsid;
    const char* name;
};
const Creatable kCreatable[] = {
    {&CLSID_orxMain, "orxMain"}, {&CLSID_orxAlone, "orxAlone"}, {&CLSID_orxBenchMark, "orxBenchMark"},
    {&CLSID_orxSimpleListDialog, "orxSimpleListDialog"}, {&CLSID_orxBenchMarkHP, "orxBenchMarkHP"},
    {&CLSID_orxTextBoxDefButtonWatcher, "orxTextBoxDefButtonWatcher"}, {&CLSID_orxTabControl, "orxTabControl"},
    {&CLSID_orxAutorunSupport, "orxAutorunSupport"}, {&CLSID_orxClipboard, "orxClipboard"},
    {&CLSID_orxErr, "orxErr"}, {&CLSID_orxMultiMonitor, "orxMultiMonitor"},
};

TEST(UnloadNow, NoWhileAnObjectOfAnyClassLives) {
    ASSERT_EQ(S_OK, CanUnloadNow());
    for (const Creatable& c : kCreatable) {
        SCOPED_TRACE(c.name);
        ComPtr<IUnknown> object;
        ASSERT_EQ(S_OK, CreateFromLibrary(*c.clsid, IID_IUnknown, object.put_void()));
        EXPECT_EQ(S_FALSE, CanUnloadNow());
        object.reset();
        EXPECT_EQ(S_OK, CanUnloadNow());
    }
}

TEST(UnloadNow, ObjectsHandedOutKeepTheModule) {
    ASSERT_EQ(S_OK, CanUnloadNow());
    ComPtr<_CommandLineParser> parser;
    {
        auto main = Create<_orxMain>(CLSID_orxMain);
        ASSERT_TRUE(main);
        ASSERT_EQ(S_OK, main->CommandLine(parser.put()));
    }
    EXPECT_EQ(S_FALSE, CanUnloadNow());  // the parser outlives the orxMain that made it
    parser.reset();
    EXPECT_EQ(S_OK, CanUnloadNow());

    // After the cached type library went with the last object, a new object serves its type
    // information again.
    auto main = Create<_orxMain>(CLSID_orxMain);
    ComPtr<ITypeInfo> ti;
    EXPECT_EQ(S_OK, main->GetTypeInfo(0, LOCALE_USER_DEFAULT, ti.put()));
}

TEST(UnloadNow, HandedOutCollectionKeepsTheModule) {
    ASSERT_EQ(S_OK, CanUnloadNow());
    Variant collection;
    {
        Dispatch main(Create<_orxMain>(CLSID_orxMain));
        Variant a = Variant::FromLong(1), b = Variant::FromString(L"b");
        const HRESULT hr = main.Method(L"Collection", {a.get(), b.get()}, collection.get());
        if (hr == DISP_E_EXCEPTION && main.exception.scode == E_NOTIMPL) GTEST_SKIP() << "orxMain.Collection is not built yet";
        ASSERT_EQ(S_OK, hr);
        ASSERT_EQ(VT_DISPATCH, collection.vt());
    }
    EXPECT_EQ(S_FALSE, CanUnloadNow());
    collection.put();
    EXPECT_EQ(S_OK, CanUnloadNow());
}

TEST(UnloadNow, NoWhileAClassFactoryIsLocked) {
    ASSERT_EQ(S_OK, CanUnloadNow());
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(S_OK, ClassFactory(CLSID_orxErr, factory.put()));
    EXPECT_EQ(S_FALSE, CanUnloadNow());  // a factory is an object of the module too
    ASSERT_EQ(S_OK, factory->LockServer(TRUE));
    factory.reset();
    EXPECT_EQ(S_FALSE, CanUnloadNow());  // the lock outlives the factory

    ASSERT_EQ(S_OK, ClassFactory(CLSID_orxMain, factory.put()));
    ASSERT_EQ(S_OK, factory->LockServer(FALSE));
    factory.reset();
    EXPECT_EQ(S_OK, CanUnloadNow());

    // More unlocks than locks must not hide a live object, nor swallow a later lock.
    ASSERT_EQ(S_OK, ClassFactory(CLSID_orxMain, factory.put()));
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(S_FALSE, CanUnloadNow());
    ASSERT_EQ(S_OK, factory->LockServer(TRUE));
    factory.reset();
    EXPECT_EQ(S_FALSE, CanUnloadNow());
    ASSERT_EQ(S_OK, ClassFactory(CLSID_orxMain, factory.put()));
    ASSERT_EQ(S_OK, factory->LockServer(FALSE));
    factory.reset();
    EXPECT_EQ(S_OK, CanUnloadNow());
}

// ---- Generic dispatch

// Omitted optional arguments, by value and by reference, reach the member: orxErr's display
// members take their description text and silence flag by reference. Positionally
// (5, , , , True) and named (ErrorNumber:=5, Silent:=True); silent, so that the member shows
// nothing once it is built.
TEST(LateBinding, OmittedOptionalByReferenceArgumentsReachTheMember) {
    Dispatch err(Create<_orxErr>(CLSID_orxErr));
    LPOLESTR names[] = {const_cast<LPOLESTR>(L"ErrorDisplayAPI"), const_cast<LPOLESTR>(L"Silent"),
                        const_cast<LPOLESTR>(L"ErrorNumber")};
    DISPID ids[3] = {};
    ASSERT_EQ(S_OK, err.object()->GetIDsOfNames(IID_NULL, names, 3, LOCALE_USER_DEFAULT, ids));
    EXPECT_EQ(4, ids[1]);  // parameter positions
    EXPECT_EQ(0, ids[2]);

    Variant silent = Variant::FromBool(true), number = Variant::FromLong(5), missing = Variant::Missing();
    VARIANTARG positional[5] = {*silent.get(), *missing.get(), *missing.get(), *missing.get(), *number.get()};
    VARIANTARG named[2] = {*silent.get(), *number.get()};
    DISPPARAMS calls[2] = {{positional, nullptr, 5, 0}, {named, &ids[1], 2, 2}};
    for (DISPPARAMS& params : calls) {
        SCOPED_TRACE(params.cNamedArgs ? "named" : "positional");
        Variant result;
        EXCEPINFO info{};
        UINT argErr = 0;
        const HRESULT hr = err.object()->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                                              result.get(), &info, &argErr);
        Bstr description = Bstr::Attach(info.bstrDescription), source = Bstr::Attach(info.bstrSource),
             help = Bstr::Attach(info.bstrHelpFile);
        if (hr == DISP_E_EXCEPTION && info.scode == E_NOTIMPL) {
            EXPECT_TRUE(Contains(description.str(), L"ErrorDisplayAPI")) << description.str();
        } else {
            EXPECT_EQ(S_OK, hr) << std::hex << hr << " argErr " << argErr;
        }
    }
}

// A search member with its optional by-reference IsFound omitted.
TEST(LateBinding, SearchWithoutIsFound) {
    Dispatch main(Create<_orxMain>(CLSID_orxMain));
    SAFEARRAYBOUND bound{5, 5};  // positions 5 to 9
    support::SafeArray array(SafeArrayCreate(VT_I4, 1, &bound));
    for (LONG i = 5; i <= 9; ++i) {
        LONG value = i * 10;
        SafeArrayPutElement(array.get(), &i, &value);
    }
    SAFEARRAY* held = array.get();
    Variant byRef;
    V_VT(byRef.get()) = VT_ARRAY | VT_I4 | VT_BYREF;
    V_ARRAYREF(byRef.get()) = &held;
    for (auto [find, position] : {std::pair{70, 7}, std::pair{11, 4}}) {
        Variant what = Variant::FromLong(find), result;
        const HRESULT hr = main.Method(L"InArrayLong", {byRef.get(), what.get()}, result.get());
        if (hr == DISP_E_EXCEPTION && main.exception.scode == E_NOTIMPL) GTEST_SKIP() << "InArrayLong is not built yet";
        ASSERT_EQ(S_OK, hr);
        ASSERT_EQ(VT_I4, result.vt());
        EXPECT_EQ(position, V_I4(result.get()));
    }
    V_VT(byRef.get()) = VT_EMPTY;  // the array stays with its owner above
}

// A parameter-array member with a return value, dispatched by the library itself.
TEST(LateBinding, ParameterArrayMember) {
    Dispatch main(Create<_orxMain>(CLSID_orxMain));
    Variant a = Variant::FromDouble(2.5), b = Variant::FromDouble(3.5), result;
    const HRESULT hr = main.Method(L"ArrayLong", {a.get(), b.get()}, result.get());
    if (hr == DISP_E_EXCEPTION && main.exception.scode == E_NOTIMPL) {
        EXPECT_TRUE(Contains(Str(main.exception.bstrDescription), L"ArrayLong"));
        return;
    }
    ASSERT_EQ(S_OK, hr);
    ASSERT_EQ(VT_ARRAY | VT_I4, result.vt());
    LONG lower = -1, upper = -1, first = 0, second = 0, zero = 0, one = 1;
    SafeArrayGetLBound(V_ARRAY(result.get()), 1, &lower);
    SafeArrayGetUBound(V_ARRAY(result.get()), 1, &upper);
    EXPECT_EQ(0, lower);
    EXPECT_EQ(1, upper);
    SafeArrayGetElement(V_ARRAY(result.get()), &zero, &first);
    SafeArrayGetElement(V_ARRAY(result.get()), &one, &second);
    EXPECT_EQ(2, first);  // halves to even
    EXPECT_EQ(4, second);
}

// A run-time error n crosses as 0x800A0000 | n with number, description and source, through
// the interface and through IDispatch (by name and as the default member).
TEST(RuntimeErrors, CrossEarlyAndLateBound) {
    auto main = Create<_orxMain>(CLSID_orxMain);
    ComPtr<_CommandLineParser> parser;
    ASSERT_EQ(S_OK, main->CommandLine(parser.put()));
    Bstr line(L"one two");
    ASSERT_EQ(S_OK, parser->SetNewCommandLine(line.get(), VARIANT_TRUE));

    SetErrorInfo(0, nullptr);
    Bstr item;
    const CallError early = LastError(parser->get_Item(-2, item.put()));
    EXPECT_EQ(static_cast<HRESULT>(0x800A0009), early.hr);
    EXPECT_EQ(9, early.number);
    EXPECT_EQ(L"Subscript out of range", early.description);
    EXPECT_EQ(L"Basekit0308.CommandLineParser", early.source);

    Dispatch late(parser);
    Variant index = Variant::FromLong(-2), result;
    ASSERT_EQ(DISP_E_EXCEPTION, late.Get(L"Item", {index.get()}, result.get()));
    EXPECT_EQ(static_cast<HRESULT>(0x800A0009), late.exception.scode);
    EXPECT_EQ(0, late.exception.wCode);
    EXPECT_EQ(L"Subscript out of range", Str(late.exception.bstrDescription));
    EXPECT_EQ(L"Basekit0308.CommandLineParser", Str(late.exception.bstrSource));

    // The same through the default member, as `parser(-2)` calls it.
    VARIANTARG arg = *index.get();
    DISPPARAMS params{&arg, nullptr, 1, 0};
    EXCEPINFO info{};
    UINT argErr = 0;
    EXPECT_EQ(DISP_E_EXCEPTION, late.object()->Invoke(DISPID_VALUE, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET,
                                                    &params, result.put(), &info, &argErr));
    Bstr description = Bstr::Attach(info.bstrDescription), source = Bstr::Attach(info.bstrSource),
         help = Bstr::Attach(info.bstrHelpFile);
    EXPECT_EQ(static_cast<HRESULT>(0x800A0009), info.scode);
    EXPECT_EQ(L"Basekit0308.CommandLineParser", source.str());

    // A valid index still reads after the failures.
    Variant first = Variant::FromLong(1);
    ASSERT_EQ(S_OK, late.Get(L"Item", {first.get()}, result.get()));
    EXPECT_EQ(L"two", Text(*result.get()));
}

}  // namespace
