// The dialog is a #32770 window built from an in-memory template, without controls; its three
// buttons are created at set-up and placed by the layout rules. The message and the icon are
// painted in WM_PAINT, so they survive any repaint. The box runs its own message loop with
// IsDialogMessage, which turns Enter into the default button's command and Esc into IDCANCEL.
#include "lib/errors/timedbox.h"

#include <algorithm>
#include <array>
#include <vector>

#include "lib/errors/timedbox_logic.h"
#include "lib/objectmodel/module.h"
#include "support/es/application.h"
#include "support/es/screen.h"
#include "support/win/dialog_template.h"
#include "support/win/owner.h"
#include "support/win/screen_dpi.h"
#include "support/win/thread_windows.h"
#include "support/win/window.h"

namespace bk::errors {
namespace {

using namespace timedbox;

constexpr int kFirstButtonId = 1000;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kTextFormat = DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS | DT_WORDBREAK;
constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN | DS_MODALFRAME | DS_SETFOREGROUND;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME;
constexpr BYTE kCyrillicCharset = 204;  // the message font's character set, whatever the system's is

// The caption of a message-box button as the system words it (user32's string table), or
// the fallback when the system has none (Wine, for one, keeps no such strings there).
std::wstring SystemButtonCaption(unsigned id, std::wstring_view fallback) {
    if (HMODULE user32 = GetModuleHandleW(L"user32")) {
        wchar_t buffer[1024] = {};
        const int length = LoadStringW(user32, id, buffer, static_cast<int>(std::size(buffer)));
        if (length > 0) return std::wstring(buffer, static_cast<size_t>(length));
    }
    return std::wstring(fallback);
}

// The message font: the system's message-box font with the Cyrillic character set; the
// design font (Tahoma 9 pt) when the system's metrics can't be read.
HFONT CreateMessageFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        LOGFONTW font = metrics.lfMessageFont;
        font.lfCharSet = kCyrillicCharset;
        if (HFONT h = CreateFontIndirectW(&font)) return h;
    }
    return CreateFontW(support::FontHeightForPoints(9), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                       L"Tahoma");
}

class TimedBox : public support::DialogBase {
public:
    explicit TimedBox(const TimedBoxRequest& request)
        : request_(request), set_(ButtonSetOf(request.style)), countdown_(request.timeoutSeconds) {}
    // The dialog goes before the font it uses.
    ~TimedBox() override {
        if (HWND dialog = hwnd()) DestroyWindow(dialog);
    }

    HRESULT Run(long& result);

private:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void SetUp();
    void SetUpButtons();
    void Arrange(int textWidth, int textHeight);
    void Paint();
    void Tick();
    void Close(int buttonIndex);

    const TimedBoxRequest& request_;
    const ButtonSet& set_;
    Countdown countdown_;
    support::GdiObject<HFONT> font_;
    std::array<HWND, 3> buttons_{};
    HICON icon_ = nullptr;  // a shared system icon: the system owns it
    Layout layout_;
    int timeoutIndex_ = 0;
    int cancelIndex_ = 0;
    std::wstring timeoutCaption_;
    int rc_ = 0;  // index of the button that closed the box; 0 when it was closed otherwise
    bool done_ = false;
};

// The box this thread shows, if any.
thread_local TimedBox* activeBox = nullptr;

INT_PTR TimedBox::HandleMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return FALSE;  // the focus is set when the box is shown
    case WM_PAINT:
        Paint();
        return TRUE;
    case WM_TIMER:
        if (wParam == kTimerId) Tick();
        return TRUE;
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= kFirstButtonId && id < kFirstButtonId + set_.count) {
            if (HIWORD(wParam) == BN_CLICKED) Close(id - kFirstButtonId);
        } else if (id == IDCANCEL) {
            Close(cancelIndex_);  // Esc
        } else if (id == IDOK) {
            Close(timeoutIndex_);  // Enter when no button has the focus
        }
        return TRUE;
    }
    case WM_CLOSE:
        // The frame's close box (or Alt+F4): no button was pressed, so the first one answers.
        Close(0);
        return TRUE;
    default:
        return FALSE;
    }
}

void TimedBox::Close(int buttonIndex) {
    if (done_) return;
    rc_ = buttonIndex;
    done_ = true;
    KillTimer(hwnd(), kTimerId);
    ShowWindow(hwnd(), SW_HIDE);
}

void TimedBox::Tick() {
    if (done_) return;
    const Countdown::Step step = countdown_.Tick();
    if (step.close) {
        Close(timeoutIndex_);
        return;
    }
    SetWindowTextW(buttons_[static_cast<size_t>(timeoutIndex_)],
                   CountdownCaption(timeoutCaption_, step.remaining).c_str());
    if (step.lastStep) {
        // 0 is shown: close a quarter of a second later.
        KillTimer(hwnd(), kTimerId);
        SetTimer(hwnd(), kTimerId, 250, nullptr);
    }
}

void TimedBox::Paint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd(), &ps);
    if (!dc) return;
    if (icon_) DrawIcon(dc, layout_.iconLeft, layout_.iconTop, icon_);
    {
        const support::SelectedObject selected = support::Select(dc, font_.get());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        RECT r{layout_.text.left, layout_.text.top, layout_.text.right, layout_.text.bottom};
        DrawTextW(dc, request_.text.c_str(), static_cast<int>(request_.text.size()), &r, kTextFormat);
    }
    EndPaint(hwnd(), &ps);
}

void TimedBox::SetUpButtons() {
    HINSTANCE instance = ModuleInstance();
    for (int i = 0; i < 3; ++i) {
        const bool used = i < set_.count;
        const std::wstring caption =
            used ? SystemButtonCaption(set_.buttons[static_cast<size_t>(i)].stringId,
                                       set_.buttons[static_cast<size_t>(i)].fallbackCaption)
                 : std::wstring();
        const DWORD style = WS_CHILD | WS_TABSTOP | BS_PUSHBUTTON | (used ? WS_VISIBLE : 0);
        HWND button = CreateWindowExW(0, L"BUTTON", caption.c_str(), style, 0, 0, 0, 0, hwnd(),
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFirstButtonId + i)), instance,
                                      nullptr);
        buttons_[static_cast<size_t>(i)] = button;
        if (button && font_) SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    }
    timeoutIndex_ = ResolveButtonIndex(request_.defaultButtonIndex, set_.count, set_.defaultIndex);
    cancelIndex_ = ResolveButtonIndex(request_.cancelButtonIndex, set_.count, set_.cancelIndex);
    timeoutCaption_ = SystemButtonCaption(set_.buttons[static_cast<size_t>(timeoutIndex_)].stringId,
                                          set_.buttons[static_cast<size_t>(timeoutIndex_)].fallbackCaption);
    SendMessageW(hwnd(), DM_SETDEFID, static_cast<WPARAM>(kFirstButtonId + timeoutIndex_), 0);
}

void TimedBox::Arrange(int textWidth, int textHeight) {
    const TwipsPerPixel scale{support::esScreenTwipsPerPixelX(), support::esScreenTwipsPerPixelY()};
    layout_ = ComputeLayout(textWidth, textHeight, icon_ != nullptr, set_.count, scale);
    for (size_t i = 0; i < 3; ++i) {
        const PixelRect& b = layout_.buttons[i];
        if (buttons_[i]) MoveWindow(buttons_[i], b.left, b.top, b.width(), b.height(), FALSE);
    }
    RECT frame{0, 0, layout_.clientWidth, layout_.clientHeight};
    AdjustWindowRectEx(&frame, kDialogStyle, FALSE, kDialogExStyle);
    SetWindowPos(hwnd(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    support::esCenterFormEx(hwnd(), 0);
}

void TimedBox::SetUp() {
    HWND dialog = hwnd();
    support::esCenterFormEx(dialog, 0);

    // Font of the message and the buttons.
    font_.reset(CreateMessageFont());
    if (font_) SendMessageW(dialog, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

    // Measure the message within the screen less a margin; it never grows taller than that.
    const MeasureBounds bounds = MessageBounds(support::esScreenWidthPx(), support::esScreenHeightPx());
    RECT measured{0, 0, bounds.width, bounds.height};
    if (const support::WindowDC dc = support::GetWindowDC(dialog)) {
        const support::SelectedObject selected = support::Select(dc.get().dc, font_.get());
        DrawTextW(dc.get().dc, request_.text.c_str(), static_cast<int>(request_.text.size()), &measured,
                  kTextFormat | DT_CALCRECT);
    }
    measured.right = std::min<LONG>(measured.right, bounds.width);
    measured.bottom = std::min<LONG>(measured.bottom, bounds.height);

    SetWindowTextW(dialog, CaptionOf(request_.title, support::esGetThunderMainTitle()).c_str());
    SetUpButtons();

    // Icon and sound.
    if (const unsigned iconId = IconIdOf(request_.style)) {
        icon_ = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCEW(iconId), IMAGE_ICON, 0, 0,
                                              LR_SHARED | LR_DEFAULTSIZE));
    }
    MessageBeep(BeepOf(request_.style));

    Arrange(measured.right - measured.left, measured.bottom - measured.top);

    // The first tick shows the full count at once.
    SetTimer(dialog, kTimerId, 1000, nullptr);
    Tick();
}

HRESULT TimedBox::Run(long& result) {
    // A dialog without controls: the buttons are made at set-up and placed by the layout rules.
    const support::DialogTemplate box(kDialogStyle, kDialogExStyle, L"***");
    HWND dialog = CreateModeless(nullptr, box.Build(), ModuleInstance());
    if (!dialog) {
        const DWORD error = GetLastError();
        return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }
    SetUp();

    support::ThreadWindowsDisabled modal(dialog);
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    if (HWND button = buttons_[static_cast<size_t>(timeoutIndex_)])
        SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE);

    MSG msg{};
    while (!done_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            // The program is ending: leave the quit for the outer loop; no button answered.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1) break;
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    KillTimer(dialog, kTimerId);
    result = set_.buttons[static_cast<size_t>(rc_)].result;
    modal.Restore();  // before the box goes, so that activation returns to the caller's window
    DestroyWindow(dialog);
    return S_OK;
}

}  // namespace

HRESULT ShowTimedMessageBox(const TimedBoxRequest& request, long& result) {
    if (activeBox) return kTimedBoxAlreadyShown;
    TimedBox box(request);
    activeBox = &box;
    struct Reset {
        ~Reset() { activeBox = nullptr; }
    } reset;
    return box.Run(result);
}

}  // namespace bk::errors
