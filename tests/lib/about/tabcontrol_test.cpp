// orxTabControl with pages of our own that record every call: what each operation does to the
// pages and in which order, paging forwards and backwards, the TabShown event as a client's
// sink receives it, and the failures with what they leave unchanged.
#include <gtest/gtest.h>

#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <functional>
#include <map>

#include "tests/harness/fake_controls.h"
#include "tests/harness/library.h"

using namespace bktest;

namespace {

using Journal = std::vector<std::wstring>;
using Page = ComPtr<FakeObject>;

constexpr VARIANT_BOOL kTrue = VARIANT_TRUE;
constexpr VARIANT_BOOL kFalse = VARIANT_FALSE;

// What the pages of one test saw: every call in order ("2.ZOrder", "3.Visible=False") and the
// stacking order, bottom first (ZOrder moves a page to the top).
struct Desk {
    Journal journal;
    std::vector<int> stack;
    std::map<int, bool> visible;
    std::map<int, std::function<void()>> onZOrder;  // runs while that page's ZOrder runs

    void Clear() { journal.clear(); }
};

// A page as a form's frame offers it: ZOrder and Visible, writing into the desk.
Page MakePage(Desk& desk, int number, bool withVisible = true) {
    Page page = FakeObject::Make();
    FakeObject* self = page.get();  // the handlers must not hold their own object
    const std::wstring who = std::to_wstring(number) + L".";
    desk.stack.push_back(number);
    page->Member(L"ZOrder", [&desk, number, who](WORD, std::span<VARIANT* const> args, VARIANT*) -> HRESULT {
        if (!args.empty()) return DISP_E_BADPARAMCOUNT;
        desk.journal.push_back(who + L"ZOrder");
        if (desk.onZOrder[number]) desk.onZOrder[number]();
        std::erase(desk.stack, number);
        desk.stack.push_back(number);
        return S_OK;
    });
    if (withVisible) {
        page->Property(L"Visible", false).AfterPut(L"Visible", [&desk, number, who, self] {
            desk.visible[number] = self->GetBool(L"Visible");
            desk.journal.push_back(who + L"Visible=" + LogText(*self->Get(L"Visible").get()));
        });
    }
    return page;
}

// An array of any values, as a control array offers its elements: LBound, UBound and the
// element by index as its default member.
Page MakeArray(long lower, std::vector<Variant> elements) {
    Page array = FakeObject::Make();
    array->Property(L"LBound", lower).Property(L"UBound", lower + static_cast<long>(elements.size()) - 1);
    array->Member(
        L"Item",
        [lower, elements](WORD, std::span<VARIANT* const> args, VARIANT* result) -> HRESULT {
            Variant index;
            if (args.size() != 1 || FAILED(VariantChangeType(index.put(), args[0], 0, VT_I4))) return DISP_E_TYPEMISMATCH;
            const long i = V_I4(index.get()) - lower;
            if (i < 0 || i >= static_cast<long>(elements.size())) return bk::RuntimeErrorHResult(340);
            return VariantCopy(result, const_cast<VARIANT*>(elements[static_cast<size_t>(i)].get()));
        },
        DISPID_VALUE);
    return array;
}

IDispatch* D(const Page& p) { return static_cast<IDispatch*>(p.get()); }

// A client's sink of TabShown: the source dispinterface served as IDispatch. Records each
// event's argument and what `probe` said at that moment.
class TabShownSink : public IDispatch {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == DIID___orxTabControl) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++refs_); }
    ULONG STDMETHODCALLTYPE Release() override { return static_cast<ULONG>(--refs_); }  // on the test's stack
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { *n = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        if (id != 1 || !(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
        if (!params || params->cArgs != 1 || V_VT(&params->rgvarg[0]) != VT_I4) return DISP_E_BADPARAMCOUNT;
        shown.push_back(V_I4(&params->rgvarg[0]));
        if (probe) probed.push_back(probe());
        return S_OK;
    }

    std::vector<long> shown;
    std::function<long()> probe;
    std::vector<long> probed;
    long refs() const { return refs_; }

private:
    long refs_ = 1;
};

// A tab control with a sink connected the way an event-binding client connects it: the
// source interface named by IProvideClassInfo2, its connection point found through
// IConnectionPointContainer.
struct Connected {
    ComPtr<_orxTabControl> tabs = Create<_orxTabControl>(CLSID_orxTabControl);
    TabShownSink sink;
    ComPtr<IConnectionPoint> point;
    DWORD cookie = 0;

    Connected() {
        EXPECT_TRUE(tabs);
        if (!tabs) return;
        ComPtr<IProvideClassInfo2> info;
        EXPECT_EQ(S_OK, tabs->QueryInterface(IID_IProvideClassInfo2, info.put_void()));
        GUID source{};
        EXPECT_EQ(S_OK, info->GetGUID(GUIDKIND_DEFAULT_SOURCE_DISP_IID, &source));
        ComPtr<IConnectionPointContainer> container;
        EXPECT_EQ(S_OK, tabs->QueryInterface(IID_IConnectionPointContainer, container.put_void()));
        EXPECT_EQ(S_OK, container->FindConnectionPoint(source, point.put()));
        if (point) {
            EXPECT_EQ(S_OK, point->Advise(&sink, &cookie));
        }
        sink.probe = [this] { return Current(); };
    }
    ~Connected() {
        if (point && cookie) point->Unadvise(cookie);
    }

    long Current() {
        LONG n = -99;
        EXPECT_EQ(S_OK, tabs->get_CurrentTab(&n));
        return n;
    }
    long Count() {
        LONG n = -99;
        EXPECT_EQ(S_OK, tabs->get_TabsCount(&n));
        return n;
    }
    // Adds the pages one by one and forgets what that did to them and the sink.
    void Add(Desk& desk, std::initializer_list<const Page*> pages) {
        for (const Page* p : pages) EXPECT_EQ(S_OK, tabs->AddTab(D(*p), kFalse));
        desk.Clear();
        sink.shown.clear();
        sink.probed.clear();
    }
};

// Three pages, each added with AddTab, on a desk where the stacking is bottom 1 … top 3.
struct ThreePages {
    Desk desk;
    Page p1 = MakePage(desk, 1), p2 = MakePage(desk, 2), p3 = MakePage(desk, 3);
    Connected c;
    ThreePages() { c.Add(desk, {&p1, &p2, &p3}); }
};

// What a pop of `index` does to pages 1..`count` when it restacks them all.
Journal FullPop(int count, int index, bool visibleOthers) {
    Journal j;
    for (int i = 1; i <= count; ++i) j.push_back(std::to_wstring(i) + L".ZOrder");
    for (int i = 1; i <= count; ++i) j.push_back(std::to_wstring(i) + (visibleOthers ? L".Visible=True" : L".Visible=False"));
    j.push_back(std::to_wstring(index) + L".ZOrder");
    j.push_back(std::to_wstring(index) + L".Visible=True");
    return j;
}

}  // namespace

TEST(TabControl, StartsEmptyWithNoPageShown) {
    Connected c;
    EXPECT_EQ(0, c.Current());
    EXPECT_EQ(0, c.Count());
    EXPECT_TRUE(c.sink.shown.empty());
}

TEST(TabControl, AddTabMakesTheNewPageCurrentAfterRestackingAll) {
    Desk desk;
    Page p1 = MakePage(desk, 1), p2 = MakePage(desk, 2);
    Connected c;
    ASSERT_EQ(S_OK, c.tabs->AddTab(D(p1), kFalse));
    EXPECT_EQ(FullPop(1, 1, true), desk.journal);
    desk.Clear();
    ASSERT_EQ(S_OK, c.tabs->AddTab(D(p2), kTrue));
    EXPECT_EQ(FullPop(2, 2, false), desk.journal);
    EXPECT_EQ(2, c.Current());
    EXPECT_EQ(2, c.Count());
    EXPECT_EQ((std::vector<long>{1, 2}), c.sink.shown);
    EXPECT_EQ(c.sink.shown, c.sink.probed) << "TabShown comes after CurrentTab is set";

    ComPtr<IDispatch> item;
    ASSERT_EQ(S_OK, c.tabs->get_TabItem(1, item.put()));
    EXPECT_EQ(D(p1), item.get());
    ASSERT_EQ(S_OK, c.tabs->get_TabItem(2, item.put()));
    EXPECT_EQ(D(p2), item.get());
}

TEST(TabControl, NextAndPreviousWrapAround) {
    // Pages added one by one leave the last current: next wraps to the first, previous goes
    // to the last but one. Each from an instance of its own.
    {
        ThreePages t;
        ASSERT_EQ(S_OK, t.c.tabs->PopNextTab(kFalse, kFalse));
        EXPECT_EQ(1, t.c.Current());
        EXPECT_EQ(FullPop(3, 1, true), t.desk.journal);
        ASSERT_EQ(S_OK, t.c.tabs->PopNextTab(kFalse, kFalse));
        EXPECT_EQ(2, t.c.Current());
        EXPECT_EQ((std::vector<long>{1, 2}), t.c.sink.shown);
    }
    {
        ThreePages t;
        ASSERT_EQ(S_OK, t.c.tabs->PopPrevTab(kFalse, kFalse));
        EXPECT_EQ(2, t.c.Current());
        ASSERT_EQ(S_OK, t.c.tabs->PopPrevTab(kFalse, kFalse));
        EXPECT_EQ(1, t.c.Current());
        ASSERT_EQ(S_OK, t.c.tabs->PopPrevTab(kFalse, kFalse));
        EXPECT_EQ(3, t.c.Current()) << "previous of the first page is the last";
        EXPECT_EQ((std::vector<long>{2, 1, 3}), t.c.sink.shown);
    }
}

TEST(TabControl, HideOtherTabsDecidesWhetherThePagesBehindStayVisible) {
    ThreePages t;
    ASSERT_EQ(S_OK, t.c.tabs->PopTab(2, kFalse, kFalse));
    EXPECT_EQ((std::map<int, bool>{{1, true}, {2, true}, {3, true}}), t.desk.visible);
    EXPECT_EQ((std::vector<int>{1, 3, 2}), t.desk.stack) << "all restacked in list order, the chosen on top";

    ASSERT_EQ(S_OK, t.c.tabs->PopTab(1, kFalse, kTrue));
    EXPECT_EQ((std::map<int, bool>{{1, true}, {2, false}, {3, false}}), t.desk.visible);
    EXPECT_EQ((std::vector<int>{2, 3, 1}), t.desk.stack);
    EXPECT_EQ((std::vector<long>{2, 1}), t.c.sink.shown);
}

TEST(TabControl, PopOnlyThisTabLeavesTheOthersStackedAsTheyWere) {
    ThreePages t;
    ASSERT_EQ((std::vector<int>{1, 2, 3}), t.desk.stack);
    ASSERT_EQ(S_OK, t.c.tabs->PopTab(1, kTrue, kFalse));
    EXPECT_EQ((std::vector<int>{2, 3, 1}), t.desk.stack);
    ASSERT_EQ(S_OK, t.c.tabs->PopTab(2, kTrue, kTrue));
    EXPECT_EQ((std::vector<int>{3, 1, 2}), t.desk.stack);
    // No page but the chosen one is moved; all still get their visibility.
    EXPECT_EQ((Journal{L"1.Visible=True", L"2.Visible=True", L"3.Visible=True", L"1.ZOrder", L"1.Visible=True",
                       L"1.Visible=False", L"2.Visible=False", L"3.Visible=False", L"2.ZOrder", L"2.Visible=True"}),
              t.desk.journal);
}

TEST(TabControl, TabShownIsRaisedAlsoWhenTheCurrentPageIsShownAgain) {
    ThreePages t;
    ASSERT_EQ(S_OK, t.c.tabs->PopTab(3, kFalse, kFalse));
    ASSERT_EQ(S_OK, t.c.tabs->PopTab(-1, kFalse, kFalse));
    ASSERT_EQ(S_OK, t.c.tabs->ArrangeTabs(kTrue));
    EXPECT_EQ((std::vector<long>{3, 3, 3}), t.c.sink.shown);
    // ArrangeTabs restacks everything, however the pages were left.
    EXPECT_EQ(FullPop(3, 3, false), Journal(t.desk.journal.end() - 8, t.desk.journal.end()));
}

TEST(TabControl, FillTabsTakesTheArrayFromLowerToUpperBoundAndShowsTheLast) {
    Desk desk;
    Page a = MakePage(desk, 1), b = MakePage(desk, 2), c3 = MakePage(desk, 3);
    Connected c;
    ASSERT_EQ(S_OK, c.tabs->AddTab(D(c3), kFalse));  // replaced by the fill

    Page one = MakeArray(0, {Variant::FromDispatch(D(a))});
    desk.Clear();
    c.sink.shown.clear();
    ASSERT_EQ(S_OK, c.tabs->FillTabs(D(one), kFalse));
    EXPECT_EQ(1, c.Count());
    EXPECT_EQ(1, c.Current());
    EXPECT_EQ((std::vector<long>{1}), c.sink.shown);
    EXPECT_EQ(FullPop(1, 1, true), desk.journal) << "the replaced page is not touched";
    EXPECT_EQ(1, c3->refs()) << "and no longer held";

    // An array with its own lower bound: elements 3, 4, 5 become pages 1, 2, 3.
    Page three = MakeArray(3, {Variant::FromDispatch(D(b)), Variant::FromDispatch(D(a)), Variant::FromDispatch(D(c3))});
    ASSERT_EQ(S_OK, c.tabs->FillTabs(D(three), kTrue));
    EXPECT_EQ(3, c.Count());
    EXPECT_EQ(3, c.Current());
    const Page* expected[] = {&b, &a, &c3};
    for (LONG i = 1; i <= 3; ++i) {
        ComPtr<IDispatch> item;
        ASSERT_EQ(S_OK, c.tabs->get_TabItem(i, item.put()));
        EXPECT_EQ(D(*expected[i - 1]), item.get()) << i;
    }
    EXPECT_EQ((std::map<int, bool>{{1, false}, {2, false}, {3, true}}), desk.visible);
}

TEST(TabControl, ClearTabsLetsThePagesGoButKeepsTheCurrentPosition) {
    ThreePages t;
    EXPECT_GT(t.p1->refs(), 1);
    ASSERT_EQ(S_OK, t.c.tabs->ClearTabs());
    EXPECT_EQ(0, t.c.Count());
    EXPECT_EQ(3, t.c.Current());
    EXPECT_EQ(1, t.p1->refs());
    EXPECT_EQ(1, t.p3->refs());
    // The pages belong to their form: the control lets them go when it goes.
    Desk desk;
    Page page = MakePage(desk, 1);
    {
        Connected c;
        ASSERT_EQ(S_OK, c.tabs->AddTab(D(page), kFalse));
    }
    EXPECT_EQ(1, page->refs());
}

TEST(TabControl, AnInvalidPositionFailsWithError5AndChangesNothing) {
    ThreePages t;
    ASSERT_EQ(S_OK, t.c.tabs->PopTab(2, kFalse, kTrue));
    t.desk.Clear();
    t.c.sink.shown.clear();
    const auto visible = t.desk.visible;
    const auto stack = t.desk.stack;

    for (LONG bad : {0L, 4L, -2L}) {
        SCOPED_TRACE(bad);
        const CallError e = LastError(t.c.tabs->PopTab(bad, kFalse, kFalse));
        EXPECT_EQ(5, e.number);
        EXPECT_EQ(L"Invalid procedure call or argument", e.description);
        EXPECT_EQ(L"Basekit0308.orxTabControl", e.source);
    }
    EXPECT_TRUE(t.desk.journal.empty());
    EXPECT_EQ(visible, t.desk.visible);
    EXPECT_EQ(stack, t.desk.stack);
    EXPECT_EQ(2, t.c.Current());
    EXPECT_TRUE(t.c.sink.shown.empty());

    // After ClearTabs the kept position names no page, and neither does any neighbour.
    ASSERT_EQ(S_OK, t.c.tabs->ClearTabs());
    EXPECT_EQ(5, LastError(t.c.tabs->PopTab(-1, kFalse, kFalse)).number);
    EXPECT_EQ(5, LastError(t.c.tabs->ArrangeTabs(kFalse)).number);
    EXPECT_EQ(5, LastError(t.c.tabs->PopNextTab(kFalse, kFalse)).number);
    EXPECT_EQ(5, LastError(t.c.tabs->PopPrevTab(kFalse, kFalse)).number);
    EXPECT_EQ(2, t.c.Current());
    EXPECT_TRUE(t.c.sink.shown.empty());
    EXPECT_TRUE(t.desk.journal.empty());

    // A fresh control has no current page to show again.
    Connected fresh;
    EXPECT_EQ(5, LastError(fresh.tabs->PopTab(-1, kFalse, kFalse)).number);
    EXPECT_EQ(5, LastError(fresh.tabs->PopNextTab(kFalse, kFalse)).number);
}

TEST(TabControl, AddTabOfNothingFailsWithError380) {
    ThreePages t;
    const CallError e = LastError(t.c.tabs->AddTab(nullptr, kFalse));
    EXPECT_EQ(380, e.number);
    EXPECT_EQ(L"Invalid property value", e.description);
    EXPECT_EQ(3, t.c.Count());
    EXPECT_EQ(3, t.c.Current());
    EXPECT_TRUE(t.desk.journal.empty());
    EXPECT_TRUE(t.c.sink.shown.empty());
}

TEST(TabControl, TabItemOutsideTheListFailsWithTheCollectionsOwnError) {
    ThreePages t;
    // The library's collection, asked the same way.
    auto main = Create<_orxMain>(CLSID_orxMain);
    ASSERT_TRUE(main);
    support::SafeArray none(SafeArrayCreateVector(VT_VARIANT, 0, 0));
    SAFEARRAY* args = none.get();
    ComPtr<_Collection> collection;
    ASSERT_EQ(S_OK, main->Collection(&args, collection.put()));
    ASSERT_TRUE(collection);
    Variant four = Variant::FromLong(4);
    Variant unused;
    const CallError expected = LastError(collection->Item(four.get(), unused.get()));
    ASSERT_EQ(9, expected.number);

    for (LONG bad : {0L, 4L, -1L}) {
        ComPtr<IDispatch> item;
        const CallError e = LastError(t.c.tabs->get_TabItem(bad, item.put()));
        EXPECT_EQ(expected.hr, e.hr);
        EXPECT_EQ(expected.description, e.description);
        EXPECT_EQ(expected.source, e.source);
        EXPECT_FALSE(item);
    }
}

TEST(TabControl, APagesOwnErrorReachesTheCallerAfterTheEarlierPagesWereHandled) {
    // Page 2 has no Visible: the restacking is done, page 1 got its visibility, then 438.
    {
        Desk desk;
        Page p1 = MakePage(desk, 1), p2 = MakePage(desk, 2, false);
        Connected c;
        ASSERT_EQ(S_OK, c.tabs->AddTab(D(p1), kFalse));
        desk.Clear();
        c.sink.shown.clear();
        EXPECT_EQ(438, LastError(c.tabs->AddTab(D(p2), kFalse)).number);
        EXPECT_EQ((Journal{L"1.ZOrder", L"2.ZOrder", L"1.Visible=True"}), desk.journal);
        EXPECT_EQ(2, c.Count()) << "the page was added before it was shown";
        EXPECT_EQ(1, c.Current());
        EXPECT_TRUE(c.sink.shown.empty());
    }
    // A page's own run-time error keeps its number, text and source.
    {
        Desk desk;
        Page p1 = MakePage(desk, 1), p2 = MakePage(desk, 2);
        Connected c;
        c.Add(desk, {&p1, &p2});
        p2->Raises(L"ZOrder", 70, L"The page cannot move", L"FakePage");
        const CallError e = LastError(c.tabs->PopTab(1, kFalse, kFalse));
        EXPECT_EQ(70, e.number);
        EXPECT_EQ(L"The page cannot move", e.description);
        EXPECT_EQ(L"FakePage", e.source);
        EXPECT_EQ((Journal{L"1.ZOrder"}), desk.journal);
        EXPECT_EQ(L"ZOrder()", p2->log.back()) << "the failing call";
        EXPECT_EQ(2, c.Current());
        EXPECT_TRUE(c.sink.shown.empty());
        // Only the chosen page moves with PopOnlyThisTab: the broken one is not asked.
        ASSERT_EQ(S_OK, c.tabs->PopTab(1, kTrue, kFalse));
        EXPECT_EQ(1, c.Current());
    }
}

TEST(TabControl, FillTabsFailuresNameTheirCause) {
    Desk desk;
    Page p1 = MakePage(desk, 1);
    Connected c;
    EXPECT_EQ(91, LastError(c.tabs->FillTabs(nullptr, kFalse)).number);
    EXPECT_EQ(438, LastError(c.tabs->FillTabs(D(p1), kFalse)).number) << "no LBound";

    Page notObject = MakeArray(1, {Variant::FromDispatch(D(p1)), Variant::FromLong(7)});
    EXPECT_EQ(424, LastError(c.tabs->FillTabs(D(notObject), kFalse)).number);
    EXPECT_EQ(1, c.Count()) << "elements before the bad one stay";
    Page nothing = MakeArray(1, {Variant::FromDispatch(nullptr)});
    EXPECT_EQ(91, LastError(c.tabs->FillTabs(D(nothing), kFalse)).number);
    EXPECT_EQ(0, c.Count());

    // An empty array (UBound below LBound) leaves no page to show.
    Page empty = MakeArray(0, {});
    EXPECT_EQ(5, LastError(c.tabs->FillTabs(D(empty), kFalse)).number);
    EXPECT_TRUE(c.sink.shown.empty());
}

TEST(TabControl, APageMayEmptyTheListWhileItIsBeingShown) {
    ThreePages t;
    t.desk.onZOrder[2] = [&] { t.c.tabs->ClearTabs(); };
    ASSERT_EQ(S_OK, t.c.tabs->PopTab(1, kFalse, kFalse));
    EXPECT_EQ(FullPop(3, 1, true), t.desk.journal) << "the pop runs over the pages as they were";
    EXPECT_EQ(0, t.c.Count());
    EXPECT_EQ(1, t.c.Current());
    EXPECT_EQ(1, t.p1->refs());
}

TEST(TabControl, LateBoundCallsTakeTheDefaultsOfTheirOptionalArguments) {
    Desk desk;
    Page p1 = MakePage(desk, 1), p2 = MakePage(desk, 2);
    Connected c;
    Dispatch late(c.tabs);
    Variant page1 = Variant::FromDispatch(D(p1)), page2 = Variant::FromDispatch(D(p2));
    Variant result;
    ASSERT_EQ(S_OK, late.Method(L"AddTab", {page1.get()}));
    ASSERT_EQ(S_OK, late.Method(L"AddTab", {page2.get()}));
    desk.Clear();
    ASSERT_EQ(S_OK, late.Method(L"PopTab", {}));  // the current page, restack all, others visible
    EXPECT_EQ(FullPop(2, 2, true), desk.journal);
    ASSERT_EQ(S_OK, late.Method(L"PopNextTab", {}));
    ASSERT_EQ(S_OK, late.Get(L"CurrentTab", {}, result.get()));
    EXPECT_EQ(1, V_I4(result.get()));
    Variant two = Variant::FromLong(2);
    ASSERT_EQ(S_OK, late.Get(L"TabItem", {two.get()}, result.get()));
    EXPECT_EQ(VT_DISPATCH, result.vt());
    EXPECT_EQ(D(p2), V_DISPATCH(result.get()));
    Variant zero = Variant::FromLong(0);
    EXPECT_EQ(DISP_E_EXCEPTION, late.Method(L"PopTab", {zero.get()}));
    EXPECT_EQ(static_cast<SCODE>(0x800A0005), late.exception.scode);
    EXPECT_EQ((std::vector<long>{1, 2, 2, 1}), c.sink.shown);
}

TEST(TabControl, AnUnadvisedSinkHearsNoMore) {
    ThreePages t;
    ASSERT_EQ(S_OK, t.c.tabs->PopTab(1, kFalse, kFalse));
    ASSERT_EQ(S_OK, t.c.point->Unadvise(t.c.cookie));
    t.c.cookie = 0;
    ASSERT_EQ(S_OK, t.c.tabs->PopTab(2, kFalse, kFalse));
    EXPECT_EQ((std::vector<long>{1}), t.c.sink.shown);
    EXPECT_EQ(1, t.c.sink.refs());
}
