// The window is a #32770 dialog from an in-memory template holding the list box and the label;
// sizes are set in pixels when it initialises. The dialog manager's own loop turns Esc into
// IDCANCEL and Enter into IDOK (the list box does not want either key), and both close it.
#include "lib/listdialog/list_window.h"

#include <algorithm>
#include <optional>

#include "lib/listdialog/listdialog_logic.h"
#include "lib/objectmodel/module.h"
#include "support/es/screen.h"
#include "support/win/dialog_template.h"
#include "support/win/owner.h"
#include "support/win/screen_dpi.h"
#include "support/win/thread_windows.h"
#include "support/win/window.h"

namespace bk::listdialog {
namespace {

constexpr DWORD kWindowStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_TOOLWINDOW;
constexpr DWORD kListStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                             LBS_USETABSTOPS;
constexpr DWORD kLabelStyle = WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX;

Margins ScreenMargins() {
    return Margins{support::TwipsToPixelsX(kMarginTwips), support::TwipsToPixelsY(kMarginTwips),
                   support::TwipsToPixelsX(kBordersTwips), support::TwipsToPixelsY(kBordersTwips)};
}

// One line of `font` with a little room above and below.
int LabelHeightFor(HWND window, HFONT font) {
    int height = 16;
    if (const support::WindowDC dc = support::GetWindowDC(window)) {
        const support::SelectedObject selected = support::Select(dc.get().dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICW metrics{};
        if (GetTextMetricsW(dc.get().dc, &metrics)) height = metrics.tmHeight + metrics.tmExternalLeading;
    }
    return height + 4;
}

class ListWindow : public support::DialogBase {
public:
    explicit ListWindow(const ListWindowRequest& request) : request_(request) {}

    bool Run() {
        support::DialogTemplate form(kWindowStyle, kWindowExStyle, L"List");
        form.Control(support::DialogTemplate::kListBox, kListId, L"", kListStyle, WS_EX_CLIENTEDGE, 0, 0, 0, 0)
            .Control(support::DialogTemplate::kStatic, kLabelId, L"", kLabelStyle, 0, 0, 0, 0, 0);
        return RunModal(nullptr, form.Build(), ModuleInstance()) != -1;
    }

private:
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
        case WM_INITDIALOG:
            SetUp();
            return TRUE;  // the focus goes to the list
        case WM_SIZE:
            if (wParam != SIZE_MINIMIZED) Resized();
            return TRUE;
        case WM_GETMINMAXINFO:
            if (minimumHeight_ > 0) reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize.y = minimumHeight_;
            return TRUE;
        case WM_COMMAND:
            switch (LOWORD(wParam)) {
            case IDOK:      // Enter
            case IDCANCEL:  // Esc, the close box
                Close();
                return TRUE;
            case kListId:
                if (HIWORD(wParam) == LBN_SELCHANGE) ShowTag();
                return TRUE;
            default:
                return FALSE;
            }
        default:
            return FALSE;
        }
    }

    void SetUp() {
        HWND window = hwnd();
        list_ = GetDlgItem(window, kListId);
        label_ = GetDlgItem(window, kLabelId);
        margins_ = ScreenMargins();

        // The frame: no window icon; the client area at the form's size; centred.
        SendMessageW(window, WM_SETICON, ICON_SMALL, 0);
        SendMessageW(window, WM_SETICON, ICON_BIG, 0);
        RECT frame{0, 0, support::TwipsToPixelsX(kClientWidthTwips), support::TwipsToPixelsY(kClientHeightTwips)};
        AdjustWindowRectEx(&frame, kWindowStyle, FALSE, kWindowExStyle);

        Fill();
        SetWindowTextW(window, ListCaption(request_.caption, request_.showCount, Count()).c_str());
        if (request_.font) {
            SendMessageW(list_, WM_SETFONT, reinterpret_cast<WPARAM>(request_.font), FALSE);
            SendMessageW(label_, WM_SETFONT, reinterpret_cast<WPARAM>(request_.font), FALSE);
        }
        labelHeight_ = LabelHeightFor(window, request_.font);

        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        Resized();
        support::esCenterFormEx(window, 0);
        modal_.emplace(window);
    }

    // Every entry in one batch: room made first, the list not drawn until it is full.
    void Fill() {
        if (!request_.entries || request_.entries->empty()) return;
        const auto& entries = *request_.entries;
        size_t characters = 0;
        for (const std::wstring& e : entries) characters += e.size() + 1;
        SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
        SendMessageW(list_, LB_INITSTORAGE, entries.size(), characters * sizeof(wchar_t));
        for (const std::wstring& e : entries) SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(e.c_str()));
        SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list_, nullptr, TRUE);
    }

    long Count() const {
        const LRESULT count = SendMessageW(list_, LB_GETCOUNT, 0, 0);
        return count == LB_ERR ? 0 : static_cast<long>(count);
    }

    // Keeps the window at least at its least height, then places the list and the label.
    void Resized() {
        HWND window = hwnd();
        RECT outer{}, client{};
        if (!GetWindowRect(window, &outer) || !GetClientRect(window, &client)) return;
        const int height = outer.bottom - outer.top;
        minimumHeight_ = MinimumWindowHeight(labelHeight_, height - client.bottom, margins_);
        if (height < minimumHeight_) {
            // Snaps back; the WM_SIZE this sends places the controls.
            SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, minimumHeight_,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            return;
        }
        const ListLayout layout = LayoutList(client.right, client.bottom, labelHeight_, margins_);
        MoveWindow(list_, layout.list.left, layout.list.top, layout.list.width, layout.list.height, TRUE);
        MoveWindow(label_, layout.label.left, layout.label.top, layout.label.width, layout.label.height, TRUE);
    }

    void ShowTag() {
        const LRESULT index = SendMessageW(list_, LB_GETCURSEL, 0, 0);
        if (index == LB_ERR) return;
        const LRESULT length = SendMessageW(list_, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length == LB_ERR) return;
        std::wstring entry(static_cast<size_t>(length) + 1, L'\0');
        const LRESULT got =
            SendMessageW(list_, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(entry.data()));
        entry.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
        SetWindowTextW(label_, std::wstring(TextAfterFirstTab(entry)).c_str());
    }

    void Close() {
        modal_.reset();  // before the window goes, so that activation returns to the caller's window
        EndDialog(hwnd(), IDOK);
    }

    const ListWindowRequest& request_;
    HWND list_ = nullptr;
    HWND label_ = nullptr;
    Margins margins_;
    int labelHeight_ = 16;
    int minimumHeight_ = 0;
    std::optional<support::ThreadWindowsDisabled> modal_;
};

}  // namespace

bool ShowListWindow(const ListWindowRequest& request) {
    ListWindow window(request);
    return window.Run();
}

}  // namespace bk::listdialog
