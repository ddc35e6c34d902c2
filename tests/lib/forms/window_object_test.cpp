// The library's windows as automation objects: what late binding reads and changes through
// the wrapper, in twips, and what it answers once the window is gone.
#include <gtest/gtest.h>

#include "lib/forms/window_object.h"
#include "lib/objectmodel/errors.h"
#include "support/win/screen_dpi.h"
#include "tests/harness/library.h"

using namespace bktest;

namespace {

const wchar_t* TestClass() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"BkWindowObjectTest";
        return RegisterClassExW(&wc) != 0;
    }();
    return registered ? L"BkWindowObjectTest" : L"STATIC";
}

struct Windows {
    support::Window parent{CreateWindowExW(0, TestClass(), L"parent", WS_OVERLAPPED, 0, 0, 400, 300, nullptr, nullptr,
                                           GetModuleHandleW(nullptr), nullptr)};
    HWND first = CreateWindowExW(0, TestClass(), L"first", WS_CHILD | WS_VISIBLE, 10, 20, 100, 50, parent.get(), nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    HWND second = CreateWindowExW(0, TestClass(), L"second", WS_CHILD | WS_VISIBLE, 10, 20, 100, 50, parent.get(),
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
};

ComPtr<IDispatch> Wrap(HWND w) {
    ComPtr<IDispatch> object;
    EXPECT_EQ(S_OK, bk::CreateWindowObject(w, object.put()));
    return object;
}

LONG GetLong(Dispatch& d, const wchar_t* name) {
    Variant v, n;
    EXPECT_EQ(S_OK, d.Get(name, {}, v.put())) << name;
    VariantChangeType(n.put(), v.get(), 0, VT_I4);
    return V_I4(n.get());
}

TEST(WindowObject, PlaceInTwipsVisibilityTextAndTag) {
    Windows w;
    ASSERT_TRUE(w.parent) << GetLastError();
    ASSERT_TRUE(w.first) << GetLastError();
    Dispatch d(Wrap(w.first).get());
    const int ppiX = support::ScreenPixelsPerInch().x, ppiY = support::ScreenPixelsPerInch().y;
    EXPECT_EQ(static_cast<LONG>(reinterpret_cast<INT_PTR>(w.first)), GetLong(d, L"hWnd"));
    EXPECT_NEAR(10.0 * 1440 / ppiX, GetLong(d, L"Left"), 1);
    EXPECT_NEAR(50.0 * 1440 / ppiY, GetLong(d, L"Height"), 1);

    Variant twips = Variant::FromLong(1440);
    EXPECT_EQ(S_OK, d.late.Put(L"Top", *twips.get()));
    RECT r{};
    GetWindowRect(w.first, &r);
    MapWindowPoints(nullptr, w.parent.get(), reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(ppiY, r.top) << "an inch down";

    Variant no = Variant::FromBool(false);
    EXPECT_EQ(S_OK, d.late.Put(L"Visible", *no.get()));
    EXPECT_FALSE(GetWindowLongW(w.first, GWL_STYLE) & WS_VISIBLE);
    Variant text = Variant::FromString(L"Заголовок");
    EXPECT_EQ(S_OK, d.late.Put(L"Caption", *text.get()));
    Variant read;
    EXPECT_EQ(S_OK, d.Get(L"text", {}, read.put())) << "names compare without regard to case";
    EXPECT_EQ(std::wstring(L"Заголовок"), V_BSTR(read.get()));
    Variant tag = Variant::FromString(L"marked");
    EXPECT_EQ(S_OK, d.late.Put(L"Tag", *tag.get()));
    Variant width = Variant::FromLong(-15);
    EXPECT_NE(S_OK, d.late.Put(L"Width", *width.get()));
    EXPECT_EQ(380, d.late.error().number) << "a negative size";
}

TEST(WindowObject, ZOrderBringsToTheFrontOrSendsBack) {
    Windows w;
    Dispatch first(Wrap(w.first).get());
    EXPECT_EQ(S_OK, first.Method(L"ZOrder", {}));
    EXPECT_EQ(w.first, GetWindow(w.parent.get(), GW_CHILD)) << "on top of its siblings";
    Variant back = Variant::FromLong(1);
    EXPECT_EQ(S_OK, first.Method(L"ZOrder", {back.get()}));
    EXPECT_EQ(w.second, GetWindow(w.parent.get(), GW_CHILD));
    Variant wrong = Variant::FromLong(2);
    EXPECT_NE(S_OK, first.Method(L"ZOrder", {wrong.get()}));
}

TEST(WindowObject, AGoneWindowAnswersError91ButKeepsItsTag) {
    ComPtr<IDispatch> object;
    {
        Windows w;
        object = Wrap(w.first);
        Dispatch d(object.get());
        Variant tag = Variant::FromString(L"kept");
        d.late.Put(L"Tag", *tag.get());
    }
    Dispatch d(object.get());
    Variant v;
    EXPECT_EQ(S_OK, d.Get(L"Tag", {}, v.put()));
    EXPECT_EQ(std::wstring(L"kept"), V_BSTR(v.get()));
    EXPECT_NE(S_OK, d.Get(L"Visible", {}, v.put()));
    EXPECT_EQ(bk::RuntimeErrorHResult(91), d.exception.scode);
    EXPECT_EQ(DISP_E_UNKNOWNNAME, [&] {
        DISPID id;
        LPOLESTR name = const_cast<LPOLESTR>(L"NoSuchMember");
        return object->GetIDsOfNames(IID_NULL, &name, 1, 0, &id);
    }());
}

}  // namespace
