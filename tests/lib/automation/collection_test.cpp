// The library's collection through its interface at sizes where its order has several levels,
// its enumerator while the collection changes, and values whose release uses the collection.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/harness/library.h"

using namespace bktest;

namespace {

const HRESULT kInvalidCall = 0x800A0005, kSubscript = 0x800A0009;

ComPtr<_Collection> NewCollection() {
    auto main = Create<_orxMain>(CLSID_orxMain);
    if (!main) return {};
    SAFEARRAYBOUND bound{0, 0};
    support::SafeArray none(SafeArrayCreate(VT_VARIANT, 1, &bound));
    SAFEARRAY* args = none.get();
    ComPtr<_Collection> c;
    main->Collection(&args, c.put());
    return c;
}

HRESULT Add(_Collection* c, const std::wstring& value, const Variant& key = Variant::Missing(),
            const Variant& before = Variant::Missing(), const Variant& after = Variant::Missing()) {
    Variant v = Variant::FromString(value), k = key, b = before, a = after;
    return c->Add(v.get(), k.get(), b.get(), a.get());
}

std::wstring At(_Collection* c, const Variant& index) {
    Variant item;
    if (FAILED(c->Item(const_cast<VARIANT*>(index.get()), item.put()))) return L"<failed>";
    return Text(*item.get());
}

std::vector<std::wstring> All(_Collection* c) {
    std::vector<std::wstring> out;
    long n = 0;
    c->Count(&n);
    for (long i = 1; i <= n; ++i) out.push_back(At(c, Variant::FromLong(i)));
    return out;
}

Variant Key(int i) { return Variant::FromString(L"K" + std::to_wstring(i)); }

TEST(Collection, ThousandsOfItemsAddedAndRemovedAnywhereKeepPositionsAndKeys) {
    ComPtr<_Collection> c = NewCollection();
    ASSERT_TRUE(c);
    std::vector<std::wstring> model;
    // Appended, put first, before and after keyed items far inside: enough for three levels.
    for (int i = 0; i < 6000; ++i) {
        const std::wstring value = L"v" + std::to_wstring(i);
        const int kind = i % 4;
        if (kind == 0 || i < 8) {
            ASSERT_EQ(S_OK, Add(c.get(), value, Key(i)));
            model.push_back(value);
        } else if (kind == 1) {
            ASSERT_EQ(S_OK, Add(c.get(), value, Key(i), Variant::FromLong(1)));
            model.insert(model.begin(), value);
        } else {
            // Relative to the item keyed K(i/2): its place is found from its key.
            const std::wstring anchor = L"v" + std::to_wstring(i / 2);
            auto at = std::find(model.begin(), model.end(), anchor);
            ASSERT_NE(at, model.end());
            const Variant none = Variant::Missing(), anchorKey = Key(i / 2);
            ASSERT_EQ(S_OK, Add(c.get(), value, Key(i), kind == 2 ? anchorKey : none, kind == 3 ? anchorKey : none));
            model.insert(kind == 2 ? at : at + 1, value);
        }
    }
    ASSERT_EQ(model, All(c.get()));
    // Keys in lower case find the same items.
    for (int i = 0; i < 6000; i += 97) EXPECT_EQ(At(c.get(), Variant::FromString(L"k" + std::to_wstring(i))), L"v" + std::to_wstring(i));

    // Removed by key and by position from the front, the middle and the end.
    for (int i = 0; i < 6000; i += 3) {
        ASSERT_EQ(S_OK, c->Remove(Key(i).get()));
        model.erase(std::find(model.begin(), model.end(), L"v" + std::to_wstring(i)));
    }
    for (int round = 0; round < 1500; ++round) {
        const long n = static_cast<long>(model.size());
        const long at = round % 3 == 0 ? 1 : round % 3 == 1 ? n / 2 + 1 : n;
        ASSERT_EQ(S_OK, c->Remove(Variant::FromLong(at).get()));
        model.erase(model.begin() + (at - 1));
    }
    ASSERT_EQ(model, All(c.get()));
    EXPECT_EQ(kInvalidCall, c->Remove(Key(0).get())) << "a removed key is gone";
    ASSERT_EQ(S_OK, Add(c.get(), L"again", Key(0))) << "and free again";
    model.push_back(L"again");
    EXPECT_EQ(kSubscript, c->Remove(Variant::FromLong(static_cast<long>(model.size()) + 2).get()));

    // Emptied and filled again.
    while (!model.empty()) {
        ASSERT_EQ(S_OK, c->Remove(Variant::FromLong(1).get()));
        model.erase(model.begin());
    }
    long count = -1;
    c->Count(&count);
    EXPECT_EQ(0, count);
    ASSERT_EQ(S_OK, Add(c.get(), L"first", Key(1)));
    EXPECT_EQ(L"first", At(c.get(), Key(1)));
}

TEST(Collection, EnumeratorWalksPositionsSoItSeesChangesMadeWhileItRuns) {
    ComPtr<_Collection> c = NewCollection();
    ASSERT_TRUE(c);
    for (const wchar_t* v : {L"a", L"b", L"c", L"d", L"e"}) ASSERT_EQ(S_OK, Add(c.get(), v));
    ComPtr<IUnknown> unknown;
    ASSERT_EQ(S_OK, c->_NewEnum(unknown.put()));
    ComPtr<IEnumVARIANT> e;
    ASSERT_EQ(S_OK, unknown.As(e));
    VARIANT got[4];
    ULONG fetched = 0;
    ASSERT_EQ(S_OK, e->Next(2, got, &fetched));
    EXPECT_EQ(L"b", Text(got[1]));
    for (ULONG i = 0; i < fetched; ++i) VariantClear(&got[i]);

    // The walk is at the third position: removing the first item moves "c" to the second,
    // behind the walk, so "d" comes next.
    ASSERT_EQ(S_OK, c->Remove(Variant::FromLong(1).get()));
    Variant next;
    ASSERT_EQ(S_OK, e->Next(1, next.put(), &fetched));
    EXPECT_EQ(L"d", Text(*next.get()));
    ComPtr<IEnumVARIANT> clone;
    ASSERT_EQ(S_OK, e->Clone(clone.put()));
    // Items added at the end are reached; the clone walks on from where it was made.
    ASSERT_EQ(S_OK, Add(c.get(), L"f"));
    EXPECT_EQ(S_FALSE, e->Next(4, got, &fetched));
    ASSERT_EQ(2u, fetched);
    EXPECT_EQ(L"e", Text(got[0]));
    EXPECT_EQ(L"f", Text(got[1]));
    for (ULONG i = 0; i < fetched; ++i) VariantClear(&got[i]);
    ASSERT_EQ(S_OK, clone->Next(1, next.put(), &fetched));
    EXPECT_EQ(L"e", Text(*next.get()));
    // Emptied under a walk: nothing more, and no failure.
    while (SUCCEEDED(c->Remove(Variant::FromLong(1).get()))) {
    }
    EXPECT_EQ(S_FALSE, clone->Next(1, next.put(), &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_EQ(S_FALSE, clone->Skip(1));
}

// An object that, when its last reference goes, reads from and adds to a collection, as a
// script object's Class_Terminate may.
class Reentrant final : public IUnknown {
public:
    explicit Reentrant(_Collection* c) : c_(c) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        *out = iid == IID_IUnknown ? this : nullptr;
        if (!*out) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        if (--refs_ > 0) return refs_;
        c_->Count(&seenCount);
        Add(c_, L"added on release", Variant::FromString(L"late"));
        delete this;
        return 0;
    }
    // A variant holding the only reference to a new object.
    static Variant Make(_Collection* c) {
        Variant v;
        V_VT(v.get()) = VT_UNKNOWN;
        V_UNKNOWN(v.get()) = new Reentrant(c);
        return v;
    }
    static inline long seenCount = -1;

private:
    _Collection* c_;
    ULONG refs_ = 1;
};

TEST(Collection, ReleasingARemovedValueMayUseTheCollection) {
    ComPtr<_Collection> c = NewCollection();
    ASSERT_TRUE(c);
    ASSERT_EQ(S_OK, Add(c.get(), L"kept", Variant::FromString(L"kept")));
    Variant object = Reentrant::Make(c.get());
    Variant none = Variant::Missing(), key = Variant::FromString(L"object");
    ASSERT_EQ(S_OK, c->Add(object.get(), key.get(), none.get(), none.get()));
    object.reset();  // now the collection holds the only reference
    ASSERT_EQ(S_OK, c->Remove(Variant::FromString(L"object").get()));
    EXPECT_EQ(1, Reentrant::seenCount) << "the item was already out when its value went";
    EXPECT_EQ((std::vector<std::wstring>{L"kept", L"added on release"}), All(c.get()));
    EXPECT_EQ(L"added on release", At(c.get(), Variant::FromString(L"LATE")));

    // The last item's value goes after the collection has emptied and let go of its memory.
    ComPtr<_Collection> d = NewCollection();
    ASSERT_TRUE(d);
    object = Reentrant::Make(d.get());
    ASSERT_EQ(S_OK, d->Add(object.get(), none.get(), none.get(), none.get()));
    object.reset();
    ASSERT_EQ(S_OK, d->Remove(Variant::FromLong(1).get()));
    EXPECT_EQ(0, Reentrant::seenCount);
    EXPECT_EQ((std::vector<std::wstring>{L"added on release"}), All(d.get()));
}

}  // namespace
