// The message box with a time-out, shown for real: count-down, time-out, keys, indexes,
// captions and layout. The box runs on the test's main thread; a second thread drives it.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "support/es/application.h"
#include "support/win/owner.h"
#include "support/win/screen_dpi.h"
#include "tests/harness/library.h"
#include "tests/lib/errors/box_driver.h"

using namespace bktest;
using namespace errtest;

namespace {

struct Shown {
    HRESULT hr = E_FAIL;
    long result = 0;
    double seconds = 0;
};

// ShowErrorBox with a title argument as given, driven by `action`.
template <class Action>
Shown ShowBoxTitled(const std::wstring& text, long style, Variant& titleArg, long defaultIndex, long cancelIndex,
                    long timeout, Action&& action) {
    auto err = Create<_orxErr>(CLSID_orxErr);
    Shown shown;
    if (!err) return shown;
    Bstr message(text);
    VbMsgBoxResult result{};
    const DWORD start = GetTickCount();
    shown.hr = WithBox(
        [&] {
            return err->ShowErrorBox(message.get(), VbMsgBoxStyle(style), *titleArg.get(), defaultIndex, cancelIndex,
                                     timeout, &result);
        },
        action);
    shown.seconds = (GetTickCount() - start) / 1000.0;
    shown.result = result;
    return shown;
}

// ShowErrorBox with a title (none: omitted), driven by `action`.
template <class Action>
Shown ShowBox(const std::wstring& text, long style, const wchar_t* title, long defaultIndex, long cancelIndex,
              long timeout, Action&& action) {
    Variant titleArg = title ? Variant::FromString(title) : Variant::Missing();
    return ShowBoxTitled(text, style, titleArg, defaultIndex, cancelIndex, timeout, std::forward<Action>(action));
}

// The captions a button shows until its box closes, each once, in order.
std::vector<std::wstring> WatchCaptions(HWND box, size_t buttonIndex) {
    std::vector<std::wstring> seen;
    while (!Gone(box)) {
        const auto buttons = Buttons(box);
        if (buttonIndex < buttons.size()) {
            const std::wstring caption = TextOf(buttons[buttonIndex]);
            if (!caption.empty() && (seen.empty() || seen.back() != caption)) seen.push_back(caption);
        }
        Sleep(20);
    }
    return seen;
}

// The caption the system gives a message-box button, or the box's own fallback.
std::wstring SystemCaption(UINT id, const wchar_t* fallback) {
    wchar_t buffer[256] = {};
    const int n = LoadStringW(GetModuleHandleW(L"user32"), id, buffer, 256);
    return n > 0 ? std::wstring(buffer, static_cast<size_t>(n)) : fallback;
}

int TwipsToPixelsX(double twips) {
    return static_cast<int>(std::lround(twips * support::ScreenPixelsPerInch().x / 1440.0));
}

int ClientWidth(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    return r.right;
}

}  // namespace

TEST(TimedBox, CountsDownOnceASecondAndClosesAQuarterSecondAfterZero) {
    // A time-out of 0 counts as 1. The box's visible life is timed from the driver, since
    // hiding a window can take the display server a while longer.
    std::vector<std::wstring> captions;
    double visibleSeconds = 0;
    const Shown s = ShowBox(L"Closing by itself.", 0, L"Count", -1, -1, 0, [&](HWND box) {
        const DWORD start = GetTickCount();
        captions = WatchCaptions(box, 0);
        visibleSeconds = (GetTickCount() - start) / 1000.0;
    });
    ASSERT_EQ(S_OK, s.hr);
    EXPECT_EQ(1, s.result);
    const std::wstring ok = SystemCaption(800, L"Ok");
    EXPECT_EQ((std::vector<std::wstring>{ok + L" (1)", ok + L" (0)"}), captions);
    EXPECT_GE(visibleSeconds, 1.0);
    EXPECT_LE(visibleSeconds, 2.0);
}

TEST(TimedBox, TimeOutPressesTheSetsDefaultButton) {
    // Abort/Retry/Ignore: Retry (index 1) is the default.
    std::vector<std::wstring> captions;
    const Shown s = ShowBox(L"Abort, retry, ignore?", 2 | 48, L"T", -1, -1, 1,
                            [&](HWND box) { captions = WatchCaptions(box, 1); });
    EXPECT_EQ(4, s.result);
    ASSERT_FALSE(captions.empty());
    EXPECT_EQ(SystemCaption(803, L"&Retry") + L" (1)", captions.front());
}

TEST(TimedBox, EscPressesTheCancelButton) {
    Shown s = ShowBox(L"Esc", 2 | 64, L"Keys", -1, -1, 15, [](HWND box) { PressKey(box, VK_ESCAPE); });
    EXPECT_EQ(3, s.result);  // Abort
    s = ShowBox(L"Esc", 3 | 64, L"Keys", -1, -1, 15, [](HWND box) { PressKey(box, VK_ESCAPE); });
    EXPECT_EQ(2, s.result);  // Cancel
}

TEST(TimedBox, EnterPressesTheDefaultButton) {
    Shown s = ShowBox(L"Enter", 2 | 64, L"Keys", -1, -1, 15, [](HWND box) { PressKey(box, VK_RETURN); });
    EXPECT_EQ(4, s.result);  // Retry
    s = ShowBox(L"Enter", 3 | 64, L"Keys", -1, -1, 15, [](HWND box) { PressKey(box, VK_RETURN); });
    EXPECT_EQ(6, s.result);  // Yes
}

TEST(TimedBox, RequestedDefaultAndCancelButtons) {
    // Yes/No with No as the default: the count-down runs on No, Enter presses it.
    std::wstring noCaption;
    Shown s = ShowBox(L"Default No", 4, L"I", 1, -1, 15, [&](HWND box) {
        const auto buttons = Buttons(box);
        if (buttons.size() == 2) noCaption = TextOf(buttons[1]);
        PressKey(box, VK_RETURN);
    });
    EXPECT_EQ(SystemCaption(806, L"&No") + L" (15)", noCaption);
    EXPECT_EQ(7, s.result);

    // Yes/No/Cancel with Yes as the cancel button.
    s = ShowBox(L"Cancel Yes", 3, L"I", -1, 0, 15, [](HWND box) { PressKey(box, VK_ESCAPE); });
    EXPECT_EQ(6, s.result);
}

TEST(TimedBox, IndexesBeyondTheSetAreIgnored) {
    std::wstring yesCaption;
    Shown s = ShowBox(L"Out of range", 4, L"I", 5, -1, 15, [&](HWND box) {
        const auto buttons = Buttons(box);
        if (!buttons.empty()) yesCaption = TextOf(buttons[0]);
        PressKey(box, VK_RETURN);
    });
    EXPECT_EQ(SystemCaption(805, L"&Yes") + L" (15)", yesCaption);
    EXPECT_EQ(6, s.result);
    s = ShowBox(L"Out of range", 5, L"I", -1, 2, 15, [](HWND box) { PressKey(box, VK_ESCAPE); });
    EXPECT_EQ(2, s.result);
}

TEST(TimedBox, ClickedButtonsAndTheCloseBoxAnswer) {
    Shown s = ShowBox(L"Click Ignore", 2, L"C", -1, -1, 15, [](HWND box) {
        const auto buttons = Buttons(box);
        if (buttons.size() == 3) Click(buttons[2]);
    });
    EXPECT_EQ(5, s.result);
    // Closed by the frame: the first button's result, not the cancel button's.
    s = ShowBox(L"Close box", 4, L"C", -1, -1, 15, [](HWND box) { PostMessageW(box, WM_SYSCOMMAND, SC_CLOSE, 0); });
    EXPECT_EQ(6, s.result);
}

TEST(TimedBox, ButtonCaptionsFromTheSystemOrTheFallbacksRightAligned) {
    std::vector<std::wstring> captions;
    int rightMargin = -1;
    ShowBox(L"Three buttons", 3 | 16, L"B", -1, -1, 15, [&](HWND box) {
        const auto buttons = Buttons(box);
        for (HWND b : buttons) captions.push_back(TextOf(b));
        if (!buttons.empty()) {
            RECT r{};
            GetWindowRect(buttons.back(), &r);
            MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
            rightMargin = ClientWidth(box) - r.right;
        }
        PressKey(box, VK_ESCAPE);
    });
    EXPECT_EQ((std::vector<std::wstring>{SystemCaption(805, L"&Yes") + L" (15)", SystemCaption(806, L"&No"),
                                         SystemCaption(801, L"&Cancel")}),
              captions);
    EXPECT_EQ(TwipsToPixelsX(180), rightMargin);

    // One button takes the rightmost place.
    std::vector<std::wstring> single;
    rightMargin = -1;
    ShowBox(L"One button", 0, L"B", -1, -1, 15, [&](HWND box) {
        const auto buttons = Buttons(box);
        for (HWND b : buttons) single.push_back(TextOf(b));
        if (!buttons.empty()) {
            RECT r{};
            GetWindowRect(buttons[0], &r);
            MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&r), 2);
            rightMargin = ClientWidth(box) - r.right;
        }
        PressKey(box, VK_RETURN);
    });
    EXPECT_EQ((std::vector<std::wstring>{SystemCaption(800, L"Ok") + L" (15)"}), single);
    EXPECT_EQ(TwipsToPixelsX(180), rightMargin);
}

TEST(TimedBox, WithoutAnIconTheBoxIsNarrower) {
    int withIcon = 0, withoutIcon = 0;
    ShowBox(L"Short", 64, L"W", -1, -1, 15, [&](HWND box) { withIcon = ClientWidth(box); PressKey(box, VK_ESCAPE); });
    ShowBox(L"Short", 0, L"W", -1, -1, 15, [&](HWND box) { withoutIcon = ClientWidth(box); PressKey(box, VK_ESCAPE); });
    EXPECT_EQ(TwipsToPixelsX(6195), withIcon);
    EXPECT_EQ(TwipsToPixelsX(810), withIcon - withoutIcon);
}

TEST(TimedBox, LongTextsWrapAndTheBoxStaysOnTheScreen) {
    std::wstring text;
    for (int i = 0; i < 4000; ++i) text += L"word" + std::to_wstring(i) + L' ';
    RECT frame{};
    std::wstring caption;
    ShowBox(text, 0, L"Long", -1, -1, 15, [&](HWND box) {
        GetWindowRect(box, &frame);
        caption = TextOf(box);
        PressKey(box, VK_ESCAPE);
    });
    EXPECT_EQ(L"Long", caption);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN), screenHeight = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_GT(frame.right - frame.left, TwipsToPixelsX(6315));  // widened for the text
    EXPECT_LE(frame.right - frame.left, screenWidth);
    EXPECT_LE(frame.bottom - frame.top, screenHeight);
    EXPECT_GE(frame.left, 0);
    EXPECT_GE(frame.top, 0);
}

// Pixels of a client rectangle that differ from the dialog's background.
int InkedPixels(HWND box, RECT area) {
    const support::WindowDC owner = support::GetWindowDC(box);
    if (!owner) return -1;
    const HDC dc = owner.get().dc;
    const COLORREF face = GetSysColor(COLOR_3DFACE);
    int inked = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            if (c != CLR_INVALID && c != face) ++inked;
        }
    return inked;
}

TEST(TimedBox, TextAndIconSurviveRepainting) {
    int textInk = -1, iconInk = -1, emptyInk = -1;
    ShowBox(L"MMMM MMMM MMMM", 16, L"Paint", -1, -1, 15, [&](HWND box) {
        Sleep(200);
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        Sleep(300);  // the box's thread repaints
        const int icon = TwipsToPixelsX(300), text = TwipsToPixelsX(1080), top = TwipsToPixelsX(180);
        iconInk = InkedPixels(box, {icon, TwipsToPixelsX(360), icon + 32, TwipsToPixelsX(360) + 32});
        textInk = InkedPixels(box, {text, top, text + 60, top + 12});
        emptyInk = InkedPixels(box, {text + 150, top, text + 210, top + 12});  // right of the text
        PressKey(box, VK_ESCAPE);
    });
    EXPECT_GT(iconInk, 50);
    EXPECT_GT(textInk, 20);
    EXPECT_EQ(0, emptyInk);
}

TEST(TimedBox, CaptionOfAMissingOrEmptyTitle) {
    std::wstring missing, empty, emptyVariant;
    ShowBox(L"t", 0, nullptr, -1, -1, 15, [&](HWND box) { missing = TextOf(box); PressKey(box, VK_ESCAPE); });
    ShowBox(L"t", 0, L"", -1, -1, 15, [&](HWND box) { empty = TextOf(box); PressKey(box, VK_ESCAPE); });
    Variant uninitialised;  // an Empty variable is given, with no text: not the same as omitted
    ShowBoxTitled(L"t", 0, uninitialised, -1, -1, 15, [&](HWND box) {
        emptyVariant = TextOf(box);
        PressKey(box, VK_ESCAPE);
    });
    EXPECT_EQ(support::esGetThunderMainTitle(), missing);
    EXPECT_FALSE(missing.empty());
    EXPECT_EQ(L" ", empty);
    EXPECT_EQ(L" ", emptyVariant);
}

// The caller's visible windows take no input while the box is up, and are enabled again when
// it goes; a window the caller had disabled itself stays disabled.
TEST(TimedBox, IsModalToTheCallersWindows) {
    HWND open = CreateWindowW(L"STATIC", L"caller", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr,
                              nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND off = CreateWindowW(L"STATIC", L"caller, disabled", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_DISABLED, 0,
                             120, 200, 100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(open && off);
    bool openDuringBox = true, offDuringBox = true;
    ShowBox(L"modal", 0, L"Modal", -1, -1, 15, [&](HWND box) {
        openDuringBox = IsWindowEnabled(open) != FALSE;
        offDuringBox = IsWindowEnabled(off) != FALSE;
        PressKey(box, VK_ESCAPE);
    });
    EXPECT_FALSE(openDuringBox);
    EXPECT_FALSE(offDuringBox);
    EXPECT_TRUE(IsWindowEnabled(open));
    EXPECT_FALSE(IsWindowEnabled(off));
    DestroyWindow(open);
    DestroyWindow(off);
}

namespace {

// A window of the main thread that, on request, tries to show a second box while the first
// one is up, and records what that call returned.
struct NestedCall {
    ComPtr<_orxErr> err;
    HRESULT hr = S_OK;
    long number = 0;
    bool called = false;
};
constexpr UINT kTryNested = WM_APP + 1;

LRESULT CALLBACK NestedProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == kTryNested) {
        auto* nested = reinterpret_cast<NestedCall*>(lp);
        Bstr text(L"nested");
        Variant title = Variant::Missing();
        VbMsgBoxResult result{};
        nested->hr = nested->err->ShowErrorBox(text.get(), VbMsgBoxStyle(0), *title.get(), -1, -1, 1, &result);
        nested->number = LastError(nested->hr).number;
        nested->called = true;
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

}  // namespace

TEST(TimedBox, OneBoxAtATimePerThread) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = NestedProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"ErrorsTestNested";
    RegisterClassW(&wc);
    HWND helper = CreateWindowW(L"ErrorsTestNested", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    ASSERT_TRUE(helper);
    NestedCall nested;
    nested.err = Create<_orxErr>(CLSID_orxErr);

    size_t boxesDuringNestedCall = 0;
    const Shown s = ShowBox(L"Outer", 1, L"Outer", -1, -1, 15, [&](HWND box) {
        SendMessageTimeoutW(helper, kTryNested, 0, reinterpret_cast<LPARAM>(&nested), SMTO_NORMAL, 5000, nullptr);
        boxesDuringNestedCall = VisibleBoxes().size();
        PressKey(box, VK_ESCAPE);
    });
    DestroyWindow(helper);
    UnregisterClassW(L"ErrorsTestNested", wc.hInstance);

    ASSERT_TRUE(nested.called);
    EXPECT_EQ(400, nested.number);
    EXPECT_EQ(1u, boxesDuringNestedCall);
    // The outer box still answers.
    EXPECT_EQ(S_OK, s.hr);
    EXPECT_EQ(2, s.result);
}
