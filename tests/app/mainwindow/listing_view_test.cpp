// The listing view on its own: the text box messages it answers, the caret keys, the mouse,
// scrolling and copying, driven in this thread with messages.
#include <gtest/gtest.h>

#include <string>

#include "tests/harness/guidriver.h"
#include "app/mainwindow/listing_view.h"
#include "support/win/owner.h"

namespace {

using metaview::ListingView;

constexpr int kWidth = 400;
constexpr int kHeight = 300;

// A parent window with a listing view filling it, a fixed-pitch font and `text` in it.
struct Fixture {
    explicit Fixture(const std::wstring& text) {
        parent.reset(CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                     nullptr, nullptr, nullptr, nullptr));
        RECT client{};
        GetClientRect(parent.get(), &client);
        view = ListingView::Create(parent.get(), 1, client);
        if (!view) return;
        box = view->hwnd();
        font.reset(CreateFontW(-14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"Courier New"));
        SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
        SendMessageW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    }
    std::pair<DWORD, DWORD> Selection() const {
        DWORD start = 0, end = 0;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    LRESULT Lines() const { return SendMessageW(box, EM_GETLINECOUNT, 0, 0); }
    LRESULT Top() const { return SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0); }
    // A key typed with the given modifiers held (the view reads them from this thread's state).
    void Key(UINT key, bool shift = false, bool ctrl = false) const {
        BYTE state[256] = {};
        GetKeyboardState(state);
        state[VK_SHIFT] = shift ? 0x80 : 0;
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(state);
        SendMessageW(box, WM_KEYDOWN, key, 0);
        state[VK_SHIFT] = state[VK_CONTROL] = 0;
        SetKeyboardState(state);
    }
    // The offset under the point `x`, `y` of the client area.
    void Click(UINT message, int x, int y, WPARAM keys = 0) const { SendMessageW(box, message, keys, MAKELPARAM(x, y)); }
    TEXTMETRICW Metrics() const {
        TEXTMETRICW metrics{};
        HDC dc = GetDC(box);
        HGDIOBJ old = SelectObject(dc, font.get());
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(box, dc);
        return metrics;
    }
    int LineHeight() const { return Metrics().tmHeight; }
    int CharWidth() const { return Metrics().tmAveCharWidth; }

    support::Window parent;
    support::GdiObject<HFONT> font;
    std::unique_ptr<ListingView> view;
    HWND box = nullptr;
};

void PutOnClipboard(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    memcpy(GlobalLock(block), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(block);
    SetClipboardData(CF_UNICODETEXT, block);
    CloseClipboard();
}

// Words enough for a line of `length` characters.
std::wstring Words(std::size_t length) {
    std::wstring text;
    for (int i = 0; text.size() < length; ++i) text += L"word" + std::to_wstring(i % 100) + L" ";
    text.resize(length);
    return text;
}

TEST(ListingView, AnswersTheTextBoxMessagesWithTheTextAsGiven) {
    const std::wstring longLine = Words(70000);
    const std::wstring text = L"first\r\n" + longLine + L"\r\nlast";
    Fixture f(text);
    ASSERT_NE(f.box, nullptr);
    EXPECT_EQ(SendMessageW(f.box, WM_GETTEXTLENGTH, 0, 0), static_cast<LRESULT>(text.size()));
    std::wstring back(text.size() + 1, L'\0');
    EXPECT_EQ(SendMessageW(f.box, WM_GETTEXT, back.size(), reinterpret_cast<LPARAM>(back.data())),
              static_cast<LRESULT>(text.size()));
    back.resize(text.size());
    EXPECT_EQ(back, text) << "wrapping puts nothing into the text";
    wchar_t small[6] = {L'x', L'x', L'x', L'x', L'x', L'x'};
    EXPECT_EQ(SendMessageW(f.box, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(small)), 3);
    EXPECT_STREQ(small, L"fir");

    // The long line is wrapped to the width; every line fits.
    const LRESULT lines = f.Lines();
    EXPECT_GT(lines, 70000 / (kWidth / 6));
    RECT client{};
    GetClientRect(f.box, &client);
    const std::size_t perLine = static_cast<std::size_t>(client.right / f.CharWidth());
    for (LRESULT line = 0; line < lines; line += 97) {
        const LRESULT start = SendMessageW(f.box, EM_LINEINDEX, static_cast<WPARAM>(line), 0);
        ASSERT_GE(start, 0);
        EXPECT_LE(static_cast<std::size_t>(SendMessageW(f.box, EM_LINELENGTH, static_cast<WPARAM>(start), 0)),
                  perLine + 1);  // + the blank that may hang at the edge
        EXPECT_EQ(SendMessageW(f.box, EM_LINEFROMCHAR, static_cast<WPARAM>(start), 0), line);
    }
    EXPECT_EQ(SendMessageW(f.box, EM_LINEINDEX, static_cast<WPARAM>(lines), 0), -1);

    // Selections past 65,535 come back whole through the pointers; -1 ends mean the end.
    SendMessageW(f.box, EM_SETSEL, 5, 70005);
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{5, 70005}));
    SendMessageW(f.box, EM_SETSEL, 70005, 5);  // reversed: the same range
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{5, 70005}));
    SendMessageW(f.box, EM_SETSEL, 0, -1);
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{0, static_cast<DWORD>(text.size())}));
    SendMessageW(f.box, EM_SETSEL, static_cast<WPARAM>(-1), 0);  // deselect: the caret stays
    EXPECT_EQ(f.Selection().first, f.Selection().second);
    SendMessageW(f.box, EM_SETSEL, 10, 1000000);  // past the end: to the end
    EXPECT_EQ(f.Selection().second, text.size());

    // Narrower: more lines, and the line at the top still shows the same part of the text.
    SendMessageW(f.box, EM_LINESCROLL, 0, 200);
    const LRESULT topOffset = SendMessageW(f.box, EM_LINEINDEX, static_cast<WPARAM>(f.Top()), 0);
    SetWindowPos(f.box, nullptr, 0, 0, kWidth / 2, kHeight / 2, SWP_NOZORDER | SWP_NOMOVE);
    EXPECT_GT(f.Lines(), lines * 3 / 2);
    const LRESULT newTop = f.Top();
    const LRESULT newTopStart = SendMessageW(f.box, EM_LINEINDEX, static_cast<WPARAM>(newTop), 0);
    const LRESULT nextStart = SendMessageW(f.box, EM_LINEINDEX, static_cast<WPARAM>(newTop + 1), 0);
    EXPECT_LE(newTopStart, topOffset);
    EXPECT_GT(nextStart, topOffset);
}

TEST(ListingView, CaretKeysMoveAndShiftExtends) {
    // Two short lines and a long one.
    const std::wstring text = L"abc\r\ndefgh\r\n" + Words(4000);
    Fixture f(text);
    ASSERT_NE(f.box, nullptr);
    SendMessageW(f.box, EM_SETSEL, 0, 0);
    f.Key(VK_RIGHT);
    f.Key(VK_RIGHT, true);
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{1, 2}));
    f.Key(VK_RIGHT);  // a selection collapses to its end first
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{2, 2}));
    f.Key(VK_RIGHT);
    f.Key(VK_RIGHT);  // over "\r\n" in one step
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{5, 5}));
    f.Key(VK_LEFT);
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{3, 3}));
    f.Key(VK_DOWN);  // keeps the column: "def|gh"
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{8, 8}));
    f.Key(VK_END, true);
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{8, 10}));
    f.Key(VK_HOME);
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{5, 5}));
    f.Key(VK_END, true, true);
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{5, static_cast<DWORD>(text.size())}));
    f.Key(VK_HOME, false, true);
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{0, 0}));
    f.Key('A', false, true);
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{0, static_cast<DWORD>(text.size())}));

    // End on a line broken for the width stops before its last character, so the caret stays
    // on that line.
    SendMessageW(f.box, EM_SETSEL, 12, 12);
    f.Key(VK_END);
    const DWORD end = f.Selection().second;
    EXPECT_EQ(SendMessageW(f.box, EM_LINEFROMCHAR, end, 0), 2);
    EXPECT_EQ(static_cast<LRESULT>(end) + 1, SendMessageW(f.box, EM_LINEINDEX, 3, 0));

    // Page Down moves the caret a page and scrolls along; Ctrl+End shows the last page.
    SendMessageW(f.box, EM_SETSEL, 0, 0);
    f.Key(VK_NEXT);
    EXPECT_GT(f.Top(), 0);
    EXPECT_GE(SendMessageW(f.box, EM_LINEFROMCHAR, f.Selection().second, 0), f.Top());
    f.Key(VK_END, false, true);
    RECT client{};
    GetClientRect(f.box, &client);
    const LRESULT visible = client.bottom / f.LineHeight();
    EXPECT_EQ(f.Top(), f.Lines() - visible);
}

TEST(ListingView, ScrollBarWheelAndMouseSelection) {
    std::wstring text;
    for (int i = 0; i < 100000; ++i) text += L"line " + std::to_wstring(i) + L"\r\n";
    Fixture f(text);
    ASSERT_NE(f.box, nullptr);
    EXPECT_EQ(f.Lines(), 100001);
    SendMessageW(f.box, WM_VSCROLL, SB_LINEDOWN, 0);
    EXPECT_EQ(f.Top(), 1);
    SendMessageW(f.box, WM_VSCROLL, SB_BOTTOM, 0);
    const LRESULT bottom = f.Top();
    EXPECT_GT(bottom, 65535) << "the scroll range is not cut to 16 bits";
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_ALL;
    ASSERT_TRUE(GetScrollInfo(f.box, SB_VERT, &info));
    EXPECT_EQ(info.nMax, 100000);
    EXPECT_EQ(info.nPos, bottom);
    SendMessageW(f.box, WM_VSCROLL, SB_TOP, 0);
    EXPECT_EQ(f.Top(), 0);
    SendMessageW(f.box, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    UINT perNotch = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
    EXPECT_EQ(f.Top(), static_cast<LRESULT>(perNotch));
    SendMessageW(f.box, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA * 5), 0);
    EXPECT_EQ(f.Top(), 0);

    // Press on "line 2", drag to the fourth character of "line 4", release.
    const int h = f.LineHeight(), w = f.CharWidth();
    f.Click(WM_LBUTTONDOWN, 2, 2 * h + h / 2, MK_LBUTTON);
    f.Click(WM_MOUSEMOVE, 2 + 3 * w + 2, 4 * h + h / 2, MK_LBUTTON);
    f.Click(WM_LBUTTONUP, 2 + 3 * w + 2, 4 * h + h / 2);
    const std::size_t line2 = text.find(L"line 2\r\n"), line4 = text.find(L"line 4\r\n");
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{static_cast<DWORD>(line2), static_cast<DWORD>(line4 + 3)}));
    // Shift+click moves the end, the start stays.
    f.Click(WM_LBUTTONDOWN, 2 + w + 2, 1 * h + 1, MK_LBUTTON | MK_SHIFT);
    f.Click(WM_LBUTTONUP, 2 + w + 2, 1 * h + 1);
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{static_cast<DWORD>(text.find(L"line 1") + 1),
                                                       static_cast<DWORD>(line2)}));
    // A double click takes the word.
    f.Click(WM_LBUTTONDBLCLK, 2 + 6 * w + 1, 3 * h + 1, MK_LBUTTON);
    const std::size_t three = text.find(L"3\r\n");
    EXPECT_EQ(f.Selection(), (std::pair<DWORD, DWORD>{static_cast<DWORD>(three), static_cast<DWORD>(three + 1)}));
}

TEST(ListingView, CopyTakesTheSelectionAsGiven) {
    const std::wstring line = Words(5000);
    const std::wstring text = L"Comment : " + line + L"\r\nNext : x";
    Fixture f(text);
    ASSERT_NE(f.box, nullptr);
    PutOnClipboard(L"before");
    SendMessageW(f.box, EM_SETSEL, 3, 3);
    SendMessageW(f.box, WM_COPY, 0, 0);
    EXPECT_EQ(bktest::gui::ClipboardText(), L"before") << "nothing selected: the clipboard stays";

    SendMessageW(f.box, EM_SETSEL, 0, -1);
    SendMessageW(f.box, WM_COPY, 0, 0);
    EXPECT_EQ(bktest::gui::ClipboardText(), text) << "no line breaks of the wrapping";
    SendMessageW(f.box, EM_SETSEL, 10, 10 + 3000);
    SendMessageW(f.box, WM_CHAR, 0x03, 0);  // Ctrl+C
    EXPECT_EQ(bktest::gui::ClipboardText(), line.substr(0, 3000));
    SendMessageW(f.box, EM_SETSEL, 0, 7);
    f.Key(VK_INSERT, false, true);
    EXPECT_EQ(bktest::gui::ClipboardText(), L"Comment");
}

}  // namespace
