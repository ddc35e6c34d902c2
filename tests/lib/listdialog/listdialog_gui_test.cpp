// orxSimpleListDialog shown for real: Show runs on the test's main thread and blocks in the
// window's modal loop; a second thread finds the window, reads it, clicks, resizes and
// closes it.
#include <gtest/gtest.h>

#include <olectl.h>

#include <cmath>
#include <string>
#include <vector>

#include "support/win/screen_dpi.h"
#include "tests/harness/library.h"
#include "tests/lib/errors/box_driver.h"

using namespace bktest;
using namespace errtest;

namespace {

ComPtr<_orxSimpleListDialog> NewDialog() { return Create<_orxSimpleListDialog>(CLSID_orxSimpleListDialog); }

ComPtr<_Collection> ElementsOf(_orxSimpleListDialog* d) {
    ComPtr<_Collection> c;
    d->get_Elements(c.put());
    return c;
}

void Add(_Collection* c, Variant v) { c->Add(v.get(), nullptr, nullptr, nullptr); }
void Add(_Collection* c, const wchar_t* text) { Add(c, Variant::FromString(text)); }

// The first child of a class (the dialog has one list and one label).
HWND ChildOfClass(HWND box, const wchar_t* cls) {
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        if (_wcsicmp(ClassOf(c).c_str(), cls) == 0) return c;
    return nullptr;
}
HWND ListOf(HWND box) { return ChildOfClass(box, L"ListBox"); }
HWND LabelOf(HWND box) { return ChildOfClass(box, L"Static"); }

std::vector<std::wstring> Entries(HWND list) {
    std::vector<std::wstring> entries;
    const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        entries.push_back(text);
    }
    return entries;
}

// A mouse click on entry `index`, as the mouse makes it; waits until the label changes.
std::wstring ClickEntry(HWND box, int index) {
    HWND list = ListOf(box);
    HWND label = LabelOf(box);
    const std::wstring before = TextOf(label);
    RECT item{};
    SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(list, WM_LBUTTONUP, 0, at);
    for (DWORD start = GetTickCount(); GetTickCount() - start < 3000 && TextOf(label) == before;) Sleep(10);
    return TextOf(label);
}

RECT ClientRectIn(HWND child, HWND parent) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

int Height(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    return r.bottom - r.top;
}

// Shows the dialog; `action` runs on the second thread with its window.
template <class Action>
bool ShowDriven(_orxSimpleListDialog* d, Action&& action, HRESULT* hr = nullptr) {
    bool saw = false;
    const HRESULT result = WithBox([&] { return d->Show(); }, action, &saw);
    if (hr) *hr = result;
    return saw;
}

// What the window showed, read before it is closed with Esc.
struct Shown {
    std::wstring caption;
    std::vector<std::wstring> entries;
};
Shown ShowAndRead(_orxSimpleListDialog* d) {
    Shown shown;
    HRESULT hr = E_FAIL;
    ShowDriven(
        d,
        [&](HWND box) {
            shown.caption = TextOf(box);
            shown.entries = Entries(ListOf(box));
            PressKey(box, VK_ESCAPE);
        },
        &hr);
    EXPECT_EQ(S_OK, hr);
    return shown;
}

// ---- Caption and entries ----

TEST(ListDialogShow, CaptionCarriesTheCountUnlessSwitchedOff) {
    auto d = NewDialog();
    auto c = ElementsOf(d.get());
    for (const wchar_t* t : {L"one", L"two", L"three"}) Add(c.get(), t);
    Shown s = ShowAndRead(d.get());
    EXPECT_EQ(L" [3]", s.caption);
    EXPECT_EQ((std::vector<std::wstring>{L"one", L"two", L"three"}), s.entries);

    Bstr files(L"Files");
    d->put_Caption(files.get());
    EXPECT_EQ(L"Files [3]", ShowAndRead(d.get()).caption);
    d->put_ShowCountInCaption(VARIANT_FALSE);
    EXPECT_EQ(L"Files", ShowAndRead(d.get()).caption);
}

TEST(ListDialogShow, ItemsWithoutATextFormAreLeftOut) {
    auto d = NewDialog();
    auto c = ElementsOf(d.get());
    Add(c.get(), L"a");
    Variant null;
    V_VT(null.get()) = VT_NULL;
    Add(c.get(), null);
    Add(c.get(), Variant::FromLong(3));
    auto stranger = NewDialog();
    Add(c.get(), Variant::FromDispatch(stranger.get()));  // an object without a default value
    Add(c.get(), Variant::FromBool(true));
    SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 2);
    Variant arrayItem;
    V_VT(arrayItem.get()) = VT_ARRAY | VT_VARIANT;
    V_ARRAY(arrayItem.get()) = array;
    Add(c.get(), std::move(arrayItem));
    Add(c.get(), L"b");
    const Shown s = ShowAndRead(d.get());
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"3", L"True", L"b"}), s.entries);
    EXPECT_EQ(L" [4]", s.caption);
    // The skipped items leave no error behind.
    ComPtr<IErrorInfo> info;
    EXPECT_NE(S_OK, GetErrorInfo(0, info.put()));
}

// A collection of the caller's own: answers _Collection only, so it is walked as For Each
// walks it. Every call goes to a library collection inside.
class CallerCollection : public _Collection {
public:
    explicit CallerCollection(ComPtr<_Collection> inner) : inner_(std::move(inner)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(_Collection)) {
            *out = static_cast<_Collection*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs_; }  // lives on the test's stack
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* n) override { return inner_->GetTypeInfoCount(n); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT i, LCID l, ITypeInfo** t) override { return inner_->GetTypeInfo(i, l, t); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID r, LPOLESTR* n, UINT c, LCID l, DISPID* ids) override {
        return inner_->GetIDsOfNames(r, n, c, l, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID r, LCID l, WORD f, DISPPARAMS* p, VARIANT* v, EXCEPINFO* e,
                                     UINT* a) override {
        return inner_->Invoke(id, r, l, f, p, v, e, a);
    }
    HRESULT STDMETHODCALLTYPE Item(VARIANT* index, VARIANT* out) override { return inner_->Item(index, out); }
    HRESULT STDMETHODCALLTYPE Add(VARIANT* item, VARIANT* key, VARIANT* before, VARIANT* after) override {
        return inner_->Add(item, key, before, after);
    }
    HRESULT STDMETHODCALLTYPE Count(long* n) override { return inner_->Count(n); }
    HRESULT STDMETHODCALLTYPE Remove(VARIANT* index) override { return inner_->Remove(index); }
    HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown** out) override {
        ++enumerations;
        return inner_->_NewEnum(out);
    }
    int enumerations = 0;
    ULONG refs_ = 1;

private:
    ComPtr<_Collection> inner_;
};

TEST(ListDialogShow, ACallersOwnCollectionIsWalkedInOrder) {
    auto d = NewDialog();
    auto inner = ElementsOf(NewDialog().get());
    for (int i = 0; i < 600; ++i) Add(inner.get(), Variant::FromLong(i));  // more than one batch
    Variant null;
    V_VT(null.get()) = VT_NULL;
    Add(inner.get(), null);
    Add(inner.get(), L"last");
    CallerCollection mine(inner);
    _Collection* p = &mine;
    ASSERT_EQ(S_OK, d->putref_Elements(&p));
    const Shown s = ShowAndRead(d.get());
    EXPECT_EQ(1, mine.enumerations);
    ASSERT_EQ(601u, s.entries.size());
    EXPECT_EQ(L"0", s.entries.front());
    EXPECT_EQ(L"599", s.entries[599]);
    EXPECT_EQ(L"last", s.entries.back());
    EXPECT_EQ(L" [601]", s.caption);
    d.reset();
    EXPECT_EQ(1u, mine.refs_);
}

TEST(ListDialogShow, AHundredThousandEntriesShowWithoutAStall) {
    auto d = NewDialog();
    auto c = ElementsOf(d.get());
    for (int i = 0; i < 100000; ++i) Add(c.get(), (L"entry " + std::to_wstring(i) + L"\tC:\\files\\" + std::to_wstring(i)).c_str());
    Bstr caption(L"Big");
    d->put_Caption(caption.get());
    std::wstring shownCaption, last, tag;
    LRESULT count = 0;
    double seconds = 0;
    const DWORD start = GetTickCount();
    ShowDriven(d.get(), [&](HWND box) {
        seconds = (GetTickCount() - start) / 1000.0;
        shownCaption = TextOf(box);
        HWND list = ListOf(box);
        count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        std::wstring text(64, L'\0');
        text.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, 99999, reinterpret_cast<LPARAM>(text.data()))));
        last = text;
        tag = ClickEntry(box, 0);
        PressKey(box, VK_RETURN);
    });
    EXPECT_EQ(L"Big [100000]", shownCaption);
    EXPECT_EQ(100000, count);
    EXPECT_EQ(L"entry 99999\tC:\\files\\99999", last);
    EXPECT_EQ(L"C:\\files\\0", tag);
    // About 0.6 s here; filling the list with its drawing on (it then updates its scroll bar
    // for every entry) takes 3 to 4 s.
    EXPECT_LT(seconds, 2.0);
    RecordProperty("seconds_to_show_100000", std::to_string(seconds));
}

TEST(ListDialogShow, NoElementsShowsAnEmptyList) {
    auto d = NewDialog();
    auto before = ElementsOf(d.get());
    Add(before.get(), L"x");
    _Collection* none = nullptr;
    ASSERT_EQ(S_OK, d->putref_Elements(&none));
    auto after = ElementsOf(d.get());
    ASSERT_TRUE(after);
    EXPECT_NE(before.get(), after.get());
    long n = -1;
    after->Count(&n);
    EXPECT_EQ(0, n);
    const Shown s = ShowAndRead(d.get());
    EXPECT_TRUE(s.entries.empty());
    EXPECT_EQ(L" [0]", s.caption);
}

// ---- Keys, clicks, window ----

TEST(ListDialogWindow, ClickShowsTheTextAfterTheFirstTab) {
    auto d = NewDialog();
    auto c = ElementsOf(d.get());
    Add(c.get(), L"report.txt\tC:\\data\\report.txt");
    Add(c.get(), L"no tab here");
    Add(c.get(), L"a\tb\tc");
    std::wstring first, second, third, initial;
    ShowDriven(d.get(), [&](HWND box) {
        initial = TextOf(LabelOf(box));
        first = ClickEntry(box, 0);
        second = ClickEntry(box, 1);
        third = ClickEntry(box, 2);
        PressKey(box, VK_ESCAPE);
    });
    EXPECT_EQ(L"", initial);
    EXPECT_EQ(L"C:\\data\\report.txt", first);
    EXPECT_EQ(L"no tab here", second);
    EXPECT_EQ(L"b\tc", third);
}

TEST(ListDialogWindow, EscEnterAndTheCloseBoxEndShow) {
    auto d = NewDialog();
    Add(ElementsOf(d.get()).get(), L"x");
    for (UINT key : {UINT{VK_ESCAPE}, UINT{VK_RETURN}, 0u}) {
        HWND shown = nullptr;
        DWORD closedAfter = 0;
        HRESULT hr = E_FAIL;
        const bool saw = ShowDriven(
            d.get(),
            [&](HWND box) {
                shown = box;
                const DWORD start = GetTickCount();
                if (key)
                    PressKey(box, key);
                else
                    PostMessageW(box, WM_CLOSE, 0, 0);
                while (!Gone(box) && GetTickCount() - start < 4000) Sleep(10);
                closedAfter = GetTickCount() - start;
            },
            &hr);
        SCOPED_TRACE(testing::Message() << "key " << key);
        EXPECT_TRUE(saw);
        EXPECT_EQ(S_OK, hr);
        EXPECT_LT(closedAfter, 4000u);  // closed by the key, not by the driver's safety net
        EXPECT_FALSE(IsWindow(shown));
    }
}

TEST(ListDialogWindow, FrameSizeAndPlace) {
    auto d = NewDialog();
    Add(ElementsOf(d.get()).get(), L"x");
    LONG_PTR style = 0, exStyle = 0;
    LRESULT icon = 1;
    HWND owner = reinterpret_cast<HWND>(1);
    RECT client{}, window{}, list{}, label{};
    ShowDriven(d.get(), [&](HWND box) {
        owner = GetWindow(box, GW_OWNER);
        style = GetWindowLongPtrW(box, GWL_STYLE);
        exStyle = GetWindowLongPtrW(box, GWL_EXSTYLE);
        icon = SendMessageW(box, WM_GETICON, ICON_SMALL, 0) | SendMessageW(box, WM_GETICON, ICON_BIG, 0);
        GetClientRect(box, &client);
        GetWindowRect(box, &window);
        list = ClientRectIn(ListOf(box), box);
        label = ClientRectIn(LabelOf(box), box);
        PressKey(box, VK_ESCAPE);
    });
    EXPECT_EQ(nullptr, owner);
    EXPECT_TRUE(style & WS_THICKFRAME);
    EXPECT_TRUE(exStyle & WS_EX_TOOLWINDOW);
    EXPECT_EQ(0, icon);
    // 6735 x 4050 twips of client area at the screen's pixels per inch.
    EXPECT_EQ(support::TwipsToPixelsX(6735), client.right);
    EXPECT_EQ(support::TwipsToPixelsY(4050), client.bottom);
    // Centred on the screen.
    EXPECT_NEAR(GetSystemMetrics(SM_CXSCREEN) / 2, (window.left + window.right) / 2, 1);
    EXPECT_NEAR(GetSystemMetrics(SM_CYSCREEN) / 2, (window.top + window.bottom) / 2, 1);
    // List and label 60 twips from the left, the list 60 twips from the top.
    const int m = support::TwipsToPixelsX(60);
    EXPECT_EQ(m, list.left);
    EXPECT_EQ(support::TwipsToPixelsY(60), list.top);
    EXPECT_EQ(m, label.left);
    EXPECT_EQ(client.right - support::TwipsToPixelsX(120), list.right - list.left);
    EXPECT_EQ(list.bottom, label.top);
}

TEST(ListDialogWindow, ResizingKeepsTheLayoutAndTheMinimumHeight) {
    auto d = NewDialog();
    Add(ElementsOf(d.get()).get(), L"x");
    int labelHeight = 0, frame = 0, shrunk = 0;
    RECT client{}, list{}, label{};
    int heightAfterGrow = 0;
    ShowDriven(d.get(), [&](HWND box) {
        RECT w{}, c{};
        GetWindowRect(box, &w);
        GetClientRect(box, &c);
        frame = (w.bottom - w.top) - c.bottom;
        labelHeight = Height(LabelOf(box));
        // Far below the least height: it snaps back.
        SetWindowPos(box, nullptr, 0, 0, w.right - w.left, 20, SWP_NOMOVE | SWP_NOZORDER);
        shrunk = Height(box);
        // Larger: list and label follow.
        SetWindowPos(box, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
        heightAfterGrow = Height(box);
        GetClientRect(box, &client);
        list = ClientRectIn(ListOf(box), box);
        label = ClientRectIn(LabelOf(box), box);
        PressKey(box, VK_ESCAPE);
    });
    ASSERT_GT(labelHeight, 0);
    EXPECT_EQ(2 * labelHeight + frame + support::TwipsToPixelsY(120), shrunk);
    EXPECT_EQ(480, heightAfterGrow);
    const int mx = support::TwipsToPixelsX(60), my = support::TwipsToPixelsY(60);
    EXPECT_EQ(mx, list.left);
    EXPECT_EQ(my, list.top);
    EXPECT_EQ(client.right - mx, list.right);
    EXPECT_EQ(client.bottom - labelHeight - my, list.bottom);
    EXPECT_EQ(list.bottom, label.top);
    EXPECT_EQ(labelHeight, label.bottom - label.top);
    EXPECT_EQ(client.right - mx, label.right);
}

TEST(ListDialogWindow, OtherWindowsOfTheThreadWaitWhileItIsUp) {
    support::Window other(CreateWindowExW(0, L"STATIC", L"caller", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 100, 100,
                                          nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(other.valid());
    auto d = NewDialog();
    bool enabledWhileUp = true;
    ShowDriven(d.get(), [&](HWND box) {
        enabledWhileUp = IsWindowEnabled(other.get()) != FALSE;
        PressKey(box, VK_ESCAPE);
    });
    EXPECT_FALSE(enabledWhileUp);
    EXPECT_TRUE(IsWindowEnabled(other.get()));
}

// ---- Properties ----

ComPtr<IFont> FontOf(_orxSimpleListDialog* d) {
    ComPtr<IFontDisp> disp;
    d->get_Font(disp.put());
    ComPtr<IFont> font;
    if (disp) disp.As(font);
    return font;
}

TEST(ListDialogProperties, StartValues) {
    auto d = NewDialog();
    VARIANT_BOOL show = VARIANT_FALSE;
    d->get_ShowCountInCaption(&show);
    EXPECT_EQ(VARIANT_TRUE, show);
    Bstr caption;
    d->get_Caption(caption.put());
    EXPECT_EQ(L"", caption.str());
    long count = -1;
    ElementsOf(d.get())->Count(&count);
    EXPECT_EQ(0, count);

    auto font = FontOf(d.get());
    ASSERT_TRUE(font);
    Bstr name;
    font->get_Name(name.put());
    EXPECT_EQ(L"Tahoma", name.str());
    CY size{};
    font->get_Size(&size);
    EXPECT_EQ(90000, size.int64);
    SHORT charset = 0, weight = 0;
    font->get_Charset(&charset);
    font->get_Weight(&weight);
    EXPECT_EQ(204, charset);
    EXPECT_EQ(100, weight);
    BOOL bold = TRUE, italic = TRUE, underline = TRUE, strike = TRUE;
    font->get_Bold(&bold);
    font->get_Italic(&italic);
    font->get_Underline(&underline);
    font->get_Strikethrough(&strike);
    EXPECT_FALSE(bold || italic || underline || strike);
    // Each object has its own.
    EXPECT_NE(font.get(), FontOf(NewDialog().get()).get());
}

TEST(ListDialogProperties, ElementsAndFontKeepTheCallersObjects) {
    auto d = NewDialog();
    auto c = ElementsOf(NewDialog().get());
    _Collection* p = c.get();
    ASSERT_EQ(S_OK, d->putref_Elements(&p));
    EXPECT_EQ(c.get(), ElementsOf(d.get()).get());
    auto c2 = ElementsOf(NewDialog().get());
    p = c2.get();
    ASSERT_EQ(S_OK, d->put_Elements(&p));  // by value too: the collection itself
    EXPECT_EQ(c2.get(), ElementsOf(d.get()).get());
    // Not a collection.
    p = reinterpret_cast<_Collection*>(static_cast<IDispatch*>(d.get()));
    EXPECT_EQ(LastError(d->putref_Elements(&p)).number, 13);
    EXPECT_EQ(c2.get(), ElementsOf(d.get()).get());

    // A font of the caller's: kept as it is, and the list and the label use it.
    auto other = FontOf(NewDialog().get());
    ComPtr<IFont> big;
    ASSERT_EQ(S_OK, other->Clone(big.put()));
    CY size{};
    size.int64 = 14 * 10000;
    big->put_Size(size);
    ComPtr<IFontDisp> bigDisp;
    ASSERT_EQ(S_OK, big.As(bigDisp));
    ASSERT_EQ(S_OK, d->putref_Font(bigDisp.get()));
    ComPtr<IFontDisp> back;
    d->get_Font(back.put());
    EXPECT_EQ(static_cast<IUnknown*>(bigDisp.get()), static_cast<IUnknown*>(back.get()));
    HFONT expected = nullptr;
    big->get_hFont(&expected);
    Add(ElementsOf(d.get()).get(), L"x");
    WPARAM listFont = 0, labelFont = 0;
    ShowDriven(d.get(), [&](HWND box) {
        listFont = static_cast<WPARAM>(SendMessageW(ListOf(box), WM_GETFONT, 0, 0));
        labelFont = static_cast<WPARAM>(SendMessageW(LabelOf(box), WM_GETFONT, 0, 0));
        PressKey(box, VK_ESCAPE);
    });
    EXPECT_EQ(reinterpret_cast<WPARAM>(expected), listFont);
    EXPECT_EQ(reinterpret_cast<WPARAM>(expected), labelFont);

    // By value as well; and no font at all still shows the list.
    ASSERT_EQ(S_OK, d->put_Font(nullptr));
    back.reset();
    d->get_Font(back.put());
    EXPECT_FALSE(back);
    EXPECT_EQ(L" [1]", ShowAndRead(d.get()).caption);
}

}  // namespace
