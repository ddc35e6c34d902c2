// The library's collection object, orxMain's Collection builder, the collection searches and
// JoinCollection / SplitCollection, early-bound and late-bound.
#include <gtest/gtest.h>

#include "lib/automation/collection.h"
#include "tests/lib/main/main_test_util.h"

using namespace bktest;

namespace {

using Texts_ = std::vector<std::wstring>;
const HRESULT kInvalidCall = 0x800A0005, kSubscript = 0x800A0009, kTypeMismatch = 0x800A000D,
              kDuplicateKey = 0x800A01C9;

ComPtr<_orxMain> NewMain() { return Create<_orxMain>(CLSID_orxMain); }

// A collection built by orxMain.Collection from the values (early-bound).
ComPtr<_Collection> Build(_orxMain* main, std::initializer_list<const VARIANT*> values) {
    SafeArray args = VariantArray(0, values);
    SAFEARRAY* in = args.get();
    ComPtr<_Collection> c;
    EXPECT_EQ(S_OK, main->Collection(&in, c.put()));
    return c;
}

HRESULT Add(_Collection* c, const wchar_t* value, const Variant& key, const Variant& before = Variant::Missing(),
            const Variant& after = Variant::Missing()) {
    Variant v = Variant::FromString(value);
    Variant k = key, b = before, a = after;
    return c->Add(v.get(), k.get(), b.get(), a.get());
}

TEST(CollectionObject, KeysPositionsBeforeAfterAndRemove) {
    auto main = NewMain();
    ASSERT_TRUE(main);
    ComPtr<_Collection> c = Build(main.get(), {});
    ASSERT_TRUE(c);
    const Variant none = Variant::Missing();
    ASSERT_EQ(S_OK, Add(c.get(), L"a", Variant::FromString(L"Key")));
    // Keys are unique without regard to case.
    EXPECT_EQ(kDuplicateKey, Add(c.get(), L"x", Variant::FromString(L"KEY")));
    EXPECT_EQ(457, LastError(kDuplicateKey).number);
    EXPECT_EQ(kInvalidCall, Add(c.get(), L"x", Variant::FromString(L"")));
    ASSERT_EQ(S_OK, Add(c.get(), L"c", none));
    ASSERT_EQ(S_OK, Add(c.get(), L"b", none, Variant::FromLong(2)));            // before position 2
    ASSERT_EQ(S_OK, Add(c.get(), L"0", none, Variant::FromString(L"kEy")));     // before by key
    ASSERT_EQ(S_OK, Add(c.get(), L"d", Variant::FromString(L"d"), none, Variant::FromLong(4)));  // after the last
    EXPECT_EQ((Texts_{L"0", L"a", L"b", L"c", L"d"}), Texts(c.get()));
    EXPECT_EQ(kInvalidCall, Add(c.get(), L"x", none, Variant::FromLong(1), Variant::FromLong(1)));
    EXPECT_EQ(kSubscript, Add(c.get(), L"x", none, Variant::FromLong(9)));

    EXPECT_EQ(L"a", ItemText(c.get(), *Variant::FromString(L"key").get()));
    Variant item;
    EXPECT_EQ(kInvalidCall, c->Item(Variant::FromString(L"nope").get(), item.put()));
    EXPECT_EQ(kSubscript, c->Item(Variant::FromLong(0).get(), item.put()));
    EXPECT_EQ(kSubscript, c->Item(Variant::FromLong(6).get(), item.put()));
    EXPECT_EQ(L"Subscript out of range", LastError(kSubscript).description);

    ASSERT_EQ(S_OK, c->Remove(Variant::FromString(L"KEY").get()));
    ASSERT_EQ(S_OK, c->Remove(Variant::FromLong(1).get()));
    EXPECT_EQ(kSubscript, c->Remove(Variant::FromLong(4).get()));
    EXPECT_EQ((Texts_{L"b", L"c", L"d"}), Texts(c.get()));
    // A removed key is free again.
    EXPECT_EQ(S_OK, Add(c.get(), L"again", Variant::FromString(L"key")));
    EXPECT_EQ(L"d", ItemText(c.get(), *Variant::FromString(L"D").get()));
}

TEST(CollectionObject, EnumeratesThroughNewEnum) {
    auto main = NewMain();
    ASSERT_TRUE(main);
    Variant a = Variant::FromLong(1), b = Variant::FromString(L"two"), n = Null();
    ComPtr<_Collection> c = Build(main.get(), {a.get(), b.get(), n.get()});
    ASSERT_TRUE(c);
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(S_OK, c->_NewEnum(unknown.put()));
    ComPtr<IEnumVARIANT> e;
    ASSERT_EQ(S_OK, unknown.As(e));
    VARIANT items[4];
    ULONG fetched = 0;
    EXPECT_EQ(S_FALSE, e->Next(4, items, &fetched));
    ASSERT_EQ(3u, fetched);
    EXPECT_EQ(VT_I4, V_VT(&items[0]));
    EXPECT_EQ(L"two", Text(items[1]));
    EXPECT_EQ(VT_NULL, V_VT(&items[2]));
    for (ULONG i = 0; i < fetched; ++i) VariantClear(&items[i]);

    ASSERT_EQ(S_OK, e->Reset());
    EXPECT_EQ(S_OK, e->Skip(2));
    ComPtr<IEnumVARIANT> clone;
    ASSERT_EQ(S_OK, e->Clone(clone.put()));
    Variant last;
    EXPECT_EQ(S_OK, clone->Next(1, last.get(), &fetched));
    EXPECT_EQ(VT_NULL, last.vt());
    EXPECT_EQ(S_FALSE, e->Skip(5));

    // Late-bound: the enumerator comes from DISPID_NEWENUM.
    Dispatch late(c);
    Variant result;
    DISPPARAMS noArgs{};
    ASSERT_EQ(S_OK, late.object()->Invoke(DISPID_NEWENUM, IID_NULL, 0, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &noArgs,
                                        result.get(), nullptr, nullptr));
    ASSERT_TRUE(result.vt() == VT_UNKNOWN || result.vt() == VT_DISPATCH);
    ComPtr<IEnumVARIANT> lateEnum;
    ASSERT_EQ(S_OK, V_UNKNOWN(result.get())->QueryInterface(IID_IEnumVARIANT, lateEnum.put_void()));
    ULONG count = 0;
    for (Variant v; lateEnum->Next(1, v.put(), nullptr) == S_OK;) ++count;
    EXPECT_EQ(3u, count);
}

TEST(CollectionBuilder, KeysArePositionsAndAnyNumberOfArgumentsLateBound) {
    auto main = NewMain();
    ASSERT_TRUE(main);
    Variant x = Variant::FromString(L"x"), y = Variant::FromDouble(2.5);
    ComPtr<_Collection> c = Build(main.get(), {x.get(), y.get()});
    ASSERT_TRUE(c);
    EXPECT_EQ(L"x", ItemText(c.get(), *Variant::FromString(L"1").get()));
    EXPECT_EQ(L"<vt 5 2.5>", ItemText(c.get(), *Variant::FromString(L"2").get()));

    Dispatch late(main);
    Variant result;
    ASSERT_EQ(S_OK, late.Method(L"Collection", {}, result.get()));
    ASSERT_EQ(VT_DISPATCH, result.vt());
    ComPtr<_Collection> empty;
    ASSERT_EQ(S_OK, V_DISPATCH(result.get())->QueryInterface(__uuidof(_Collection), empty.put_void()));
    EXPECT_TRUE(Texts(empty.get()).empty());

    std::vector<Variant> values;
    for (int i = 0; i < 20; ++i) values.push_back(Variant::FromLong(i * 10));
    std::vector<VARIANT*> ptrs;
    for (auto& v : values) ptrs.push_back(v.get());
    DISPID id = 0;
    LPOLESTR name = const_cast<LPOLESTR>(L"Collection");
    ASSERT_EQ(S_OK, late.object()->GetIDsOfNames(IID_NULL, &name, 1, 0, &id));
    std::vector<VARIANTARG> reversed(values.size());
    for (size_t i = 0; i < values.size(); ++i) reversed[values.size() - 1 - i] = *values[i].get();
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    ASSERT_EQ(S_OK, late.object()->Invoke(id, IID_NULL, 0, DISPATCH_METHOD, &params, result.put(), nullptr, nullptr));
    ComPtr<_Collection> twenty;
    ASSERT_EQ(S_OK, V_DISPATCH(result.get())->QueryInterface(__uuidof(_Collection), twenty.put_void()));
    long count = 0;
    twenty->Count(&count);
    EXPECT_EQ(20, count);
    EXPECT_EQ(L"<vt 3 190>", ItemText(twenty.get(), *Variant::FromString(L"20").get()));
}

struct Search {
    LONG position = -7;
    VARIANT_BOOL found = VARIANT_TRUE;
    HRESULT hr = E_FAIL;
};

using Member = HRESULT (STDMETHODCALLTYPE _orxMain::*)(_Collection**, VARIANT, VARIANT, VARIANT, VARIANT_BOOL*, LONG*);

Search Find(_orxMain* main, Member member, _Collection* c, const Variant& what, const Variant& start = Variant::Missing(),
            const Variant& end = Variant::Missing()) {
    Search s;
    s.hr = (main->*member)(&c, *what.get(), *start.get(), *end.get(), &s.found, &s.position);
    return s;
}

TEST(CollectionSearch, ValueTextAndTextIgnoringCase) {
    auto main = NewMain();
    ASSERT_TRUE(main);
    Variant one = Variant::FromLong(1), x = Variant::FromString(L"X"), n = Null(), two = Variant::FromDouble(2.0);
    ComPtr<_Collection> c = Build(main.get(), {one.get(), x.get(), n.get(), two.get()});
    ASSERT_TRUE(c);

    Search s = Find(main.get(), &_orxMain::InCollection, c.get(), Variant::FromLong(2));
    EXPECT_EQ(4, s.position);  // 2 = 2.0
    EXPECT_EQ(VARIANT_TRUE, s.found);
    s = Find(main.get(), &_orxMain::InCollection, c.get(), Variant::FromString(L"x"));
    EXPECT_EQ(0, s.position);  // texts compare exactly
    EXPECT_EQ(VARIANT_FALSE, s.found);
    EXPECT_EQ(0, Find(main.get(), &_orxMain::InCollection, c.get(), Null()).position);

    // The number 1 and the text "1" are the same text.
    s = Find(main.get(), &_orxMain::InCollectionString, c.get(), Variant::FromString(L"1"));
    EXPECT_EQ(1, s.position);
    EXPECT_EQ(0, Find(main.get(), &_orxMain::InCollectionString, c.get(), Variant::FromString(L"x")).position);
    EXPECT_EQ(2, Find(main.get(), &_orxMain::InCollectionStringText, c.get(), Variant::FromString(L"x")).position);
    EXPECT_EQ(0, Find(main.get(), &_orxMain::InCollectionStringText, c.get(), Null()).position);

    // StartAt 3, EndAt 2: nothing is compared.
    s = Find(main.get(), &_orxMain::InCollection, c.get(), Variant::FromLong(1), Variant::FromLong(3), Variant::FromLong(2));
    EXPECT_EQ(S_OK, s.hr);
    EXPECT_EQ(0, s.position);
    EXPECT_EQ(0, Find(main.get(), &_orxMain::InCollectionStringText, c.get(), Variant::FromString(L"x"),
                      Variant::FromLong(3), Variant::FromLong(4)).position);

    s = Find(main.get(), &_orxMain::InCollection, c.get(), Variant::FromLong(7), Variant::FromLong(2), Variant::FromLong(5));
    EXPECT_EQ(kSubscript, s.hr);
    EXPECT_EQ(VARIANT_FALSE, s.found);
    EXPECT_EQ(kTypeMismatch, Find(main.get(), &_orxMain::InCollection, c.get(), Variant::FromLong(1),
                                  Variant::FromString(L"first")).hr);
    EXPECT_EQ(0x800A005B, Find(main.get(), &_orxMain::InCollection, nullptr, Variant::FromLong(1)).hr);
    // Another kind of object in place of the collection is refused, not called.
    ComPtr<IDispatch> notACollection;
    ASSERT_EQ(S_OK, main->QueryInterface(IID_IDispatch, notACollection.put_void()));
    EXPECT_EQ(kTypeMismatch, Find(main.get(), &_orxMain::InCollection,
                                  reinterpret_cast<_Collection*>(notACollection.get()), Variant::FromLong(1)).hr);

    VARIANT_BOOL is = VARIANT_FALSE;
    _Collection* raw = c.get();
    Variant none = Variant::Missing();
    ASSERT_EQ(S_OK, main->IsInCollectionStringText(&raw, *Variant::FromString(L"x").get(), *none.get(), *none.get(), &is));
    EXPECT_EQ(VARIANT_TRUE, is);
    ASSERT_EQ(S_OK, main->IsInCollectionString(&raw, *Variant::FromString(L"x").get(), *none.get(), *none.get(), &is));
    EXPECT_EQ(VARIANT_FALSE, is);
    ASSERT_EQ(S_OK, main->IsInCollection(&raw, *Variant::FromLong(1).get(), *none.get(), *none.get(), &is));
    EXPECT_EQ(VARIANT_TRUE, is);
}

TEST(CollectionSearch, LateBoundWithIsFoundByReference) {
    auto main = NewMain();
    ASSERT_TRUE(main);
    Variant a = Variant::FromString(L"a"), b = Variant::FromString(L"b");
    ComPtr<_Collection> c = Build(main.get(), {a.get(), b.get(), a.get()});
    ASSERT_TRUE(c);
    Dispatch late(main);
    IDispatch* d = nullptr;
    ASSERT_EQ(S_OK, c->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d)));
    ComPtr<IDispatch> owner = ComPtr<IDispatch>::Attach(d);
    Variant collectionRef = ByRef(VT_DISPATCH, &d);
    VARIANT_BOOL found = VARIANT_FALSE;
    Variant foundRef = ByRef(VT_BOOL, &found);
    Variant start = Variant::FromLong(2), none = Variant::Missing(), result;
    ASSERT_EQ(S_OK, late.Method(L"InCollection", {collectionRef.get(), a.get(), start.get(), none.get(), foundRef.get()},
                                result.get()));
    EXPECT_EQ(3, V_I4(result.get()));
    EXPECT_EQ(VARIANT_TRUE, found);
    Variant upperB = Variant::FromString(L"B");
    ASSERT_EQ(S_OK, late.Method(L"IsInCollectionStringText", {collectionRef.get(), upperB.get()}, result.get()));
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(result.get()));
    Variant past = Variant::FromLong(4);
    EXPECT_EQ(DISP_E_EXCEPTION, late.Method(L"InCollectionString", {collectionRef.get(), upperB.get(), none.get(), past.get()},
                                            result.get()));
    EXPECT_EQ(kSubscript, late.exception.scode);
}

TEST(JoinCollection, DelimitersBetweenItemsAndFailedItems) {
    auto main = NewMain();
    ASSERT_TRUE(main);
    Variant a = Variant::FromString(L"a"), two = Variant::FromLong(2), yes = Variant::FromBool(true);
    ComPtr<_Collection> c = Build(main.get(), {a.get(), two.get(), yes.get()});
    ASSERT_TRUE(c);
    _Collection* raw = c.get();
    Bstr joined, dash(L"--");
    ASSERT_EQ(S_OK, main->JoinCollection(&raw, dash.get(), VARIANT_FALSE, joined.put()));
    EXPECT_EQ(L"a--2--True", joined.str());

    // An object without a default value adds nothing, the delimiter after it still comes;
    // an error value gives its text form.
    ComPtr<_Collection> inner = Build(main.get(), {});
    Variant object = Variant::FromDispatch(reinterpret_cast<IDispatch*>(inner.get()));
    Variant error = ErrorValue(static_cast<SCODE>(0x800A0005)), z = Variant::FromString(L"z");
    ComPtr<_Collection> mixed = Build(main.get(), {object.get(), error.get(), z.get()});
    raw = mixed.get();
    ASSERT_EQ(S_OK, main->JoinCollection(&raw, dash.get(), VARIANT_FALSE, joined.put()));
    EXPECT_EQ(L"--Error 5--z", joined.str());
    EXPECT_TRUE(FAILED(main->JoinCollection(&raw, dash.get(), VARIANT_TRUE, joined.put())));

    ComPtr<_Collection> empty = Build(main.get(), {});
    raw = empty.get();
    ASSERT_EQ(S_OK, main->JoinCollection(&raw, dash.get(), VARIANT_TRUE, joined.put()));
    EXPECT_EQ(L"", joined.str());
    raw = nullptr;
    EXPECT_EQ(S_OK, main->JoinCollection(&raw, dash.get(), VARIANT_FALSE, joined.put()));
    EXPECT_EQ(0x800A005B, main->JoinCollection(&raw, dash.get(), VARIANT_TRUE, joined.put()));
}

TEST(JoinCollection, StringsAloneAndAmongOtherItemsJoinAsItemByItem) {
    auto main = NewMain();
    ASSERT_TRUE(main);
    // Strings only (some empty, some absent): joined straight from where they are stored.
    ComPtr<_Collection> c = Build(main.get(), {});
    ASSERT_TRUE(c);
    std::wstring expected;
    const int n = 700;
    for (int i = 0; i < n; ++i) {
        Variant v = Variant::FromString(i % 7 == 0 ? L"" : L"p" + std::to_wstring(i));
        if (i % 50 == 0) {
            v.reset();
            V_VT(v.get()) = VT_BSTR;
            V_BSTR(v.get()) = nullptr;
        }
        Variant none = Variant::Missing();
        ASSERT_EQ(S_OK, c->Add(v.get(), none.get(), none.get(), none.get()));
        expected += Text(*v.get());
        if (i + 1 < n) expected += L"<>";
    }
    _Collection* raw = c.get();
    Bstr joined, between(L"<>"), nothing;
    ASSERT_EQ(S_OK, main->JoinCollection(&raw, between.get(), VARIANT_TRUE, joined.put()));
    EXPECT_EQ(expected, joined.str());
    // A number in front: the item-by-item way gives the same text around it.
    Variant number = Variant::FromLong(42), none = Variant::Missing(), first = Variant::FromLong(1);
    ASSERT_EQ(S_OK, c->Add(number.get(), none.get(), first.get(), none.get()));
    ASSERT_EQ(S_OK, main->JoinCollection(&raw, between.get(), VARIANT_TRUE, joined.put()));
    EXPECT_EQ(L"42<>" + expected, joined.str());
    ASSERT_EQ(S_OK, c->Remove(first.get()));
    ASSERT_EQ(S_OK, main->JoinCollection(&raw, nothing.get(), VARIANT_FALSE, joined.put()));
    for (size_t at = 0; (at = expected.find(L"<>")) != std::wstring::npos;) expected.erase(at, 2);
    EXPECT_EQ(expected, joined.str()) << "an absent delimiter joins with nothing between";
}

TEST(SplitCollection, ManyPiecesJoinBackToTheText) {
    auto main = NewMain();
    ASSERT_TRUE(main);
    std::wstring text;
    for (int i = 0; i < 5000; ++i) text += (i ? (i % 9 == 0 ? L":::" : L"::") : L"") + std::to_wstring(i);
    Bstr expression(text), between(L"::");
    ComPtr<_Collection> c;
    ASSERT_EQ(S_OK, main->SplitCollection(expression.get(), *Variant::FromString(L"::").get(), -1, vbBinaryCompare,
                                          VARIANT_TRUE, c.put()));
    long count = 0;
    c->Count(&count);
    EXPECT_EQ(5000, count);
    EXPECT_EQ(L":9", ItemText(c.get(), *Variant::FromLong(10).get())) << "occurrences are taken from the left";
    _Collection* raw = c.get();
    Bstr joined;
    ASSERT_EQ(S_OK, main->JoinCollection(&raw, between.get(), VARIANT_TRUE, joined.put()));
    EXPECT_EQ(text, joined.str());
}

Texts_ Split(_orxMain* main, const wchar_t* text, const Variant& delimiter, LONG limit = -1,
             VbCompareMethod compare = vbBinaryCompare, HRESULT expect = S_OK, bool raise = false) {
    Bstr expression(text);
    ComPtr<_Collection> c;
    EXPECT_EQ(expect, main->SplitCollection(expression.get(), *delimiter.get(), limit, compare,
                                            raise ? VARIANT_TRUE : VARIANT_FALSE, c.put())) << text;
    return Texts(c.get());
}

TEST(SplitCollection, PiecesLimitAndCompareModes) {
    auto main = NewMain();
    ASSERT_TRUE(main);
    const Variant blank = Variant::Missing(), comma = Variant::FromString(L",");
    EXPECT_EQ((Texts_{L"one", L"two three"}), Split(main.get(), L"one two three", blank, 2));
    EXPECT_EQ((Texts_{L"one", L"two", L"three"}), Split(main.get(), L"one two three", blank));
    EXPECT_EQ((Texts_{L"", L"a", L"", L"b", L""}), Split(main.get(), L",a,,b,", comma));
    EXPECT_EQ(Texts_{}, Split(main.get(), L"", comma));
    EXPECT_EQ((Texts_{L"a,b"}), Split(main.get(), L"a,b", Variant::FromString(L"")));
    EXPECT_EQ((Texts_{L"a", L"b", L"c"}), Split(main.get(), L"aXbxc", Variant::FromString(L"x"), -1, vbTextCompare));
    EXPECT_EQ((Texts_{L"aXb", L"c"}), Split(main.get(), L"aXbxc", Variant::FromString(L"x")));
    EXPECT_EQ((Texts_{L"a", L"b"}), Split(main.get(), L"a1b", Variant::FromLong(1)));
    // A compare mode the split rules lack: an empty collection, or error 5 when asked to raise.
    EXPECT_EQ(Texts_{}, Split(main.get(), L"a b", blank, -1, vbDatabaseCompare));
    Split(main.get(), L"a b", blank, -1, vbDatabaseCompare, kInvalidCall, true);
    EXPECT_EQ(Texts_{}, Split(main.get(), L"a b", Null()));
    Split(main.get(), L"a b", Null(), -1, vbBinaryCompare, 0x800A005E, true);

    // Late-bound with the defaults from the type library.
    Dispatch late(main);
    Variant text = Variant::FromString(L"x y z"), result;
    ASSERT_EQ(S_OK, late.Method(L"SplitCollection", {text.get()}, result.get()));
    ComPtr<_Collection> c;
    ASSERT_EQ(S_OK, V_DISPATCH(result.get())->QueryInterface(__uuidof(_Collection), c.put_void()));
    EXPECT_EQ((Texts_{L"x", L"y", L"z"}), Texts(c.get()));
}

}  // namespace
