#include "app/mainwindow/listing_view.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "support/win/clipboard_text.h"
#include "support/win/owner.h"

namespace metaview {
namespace {

constexpr int kMargin = 2;  // pixels left free at the left and right edges, as a text box does
constexpr UINT_PTR kDragTimer = 1;
constexpr UINT kDragIntervalMs = 50;
constexpr UINT kCopyItem = 1;
constexpr UINT kSelectAllItem = 2;

bool KeyIsDown(int key) { return (GetKeyState(key) & 0x8000) != 0; }

}  // namespace

std::unique_ptr<ListingView> ListingView::Create(HWND parent, int id, const RECT& bounds) {
    WNDCLASSEXW wc{};
    wc.style = CS_DBLCLKS;
    wc.hCursor = LoadCursorW(nullptr, IDC_IBEAM);
    wc.hbrBackground = nullptr;  // the view paints all of itself
    wc.lpszClassName = kClassName;
    if (!RegisterWindowClass(wc)) return nullptr;
    std::unique_ptr<ListingView> view(new ListingView());
    if (!view->CreateOwnWindow(WS_EX_CLIENTEDGE, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP,
                               bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr))
        return nullptr;
    view->SetFont(static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
    return view;
}

ListingView::ListingView() = default;

void ListingView::SetText(std::wstring text) {
    text_ = std::move(text);
    anchor_ = caret_ = 0;
    top_ = 0;
    wantedX_ = -1;
    layoutWidth_ = -1;
    Relayout();
}

// The font's line height and character widths; the text is laid out again with them.
void ListingView::SetFont(HFONT font) {
    font_ = font;
    TEXTMETRICW metrics{};
    if (const support::WindowDC dc = support::GetWindowDC(hwnd())) {
        const support::SelectedObject selected = support::Select(dc.get().dc, font_);
        GetTextMetricsW(dc.get().dc, &metrics);
    }
    lineHeight_ = metrics.tmHeight > 0 ? metrics.tmHeight : 16;
    const int fallbackWidth = metrics.tmAveCharWidth > 0 ? metrics.tmAveCharWidth : 8;
    HWND window = hwnd();
    widths_ = std::make_unique<CharWidths>([window, font, fallbackWidth](wchar_t first, int* widths) {
        bool measured = false;
        if (const support::WindowDC dc = support::GetWindowDC(window)) {
            const support::SelectedObject selected = support::Select(dc.get().dc, font);
            measured = GetCharWidth32W(dc.get().dc, first, static_cast<UINT>(first) + CharWidths::kBlock - 1, widths);
        }
        if (!measured) std::fill(widths, widths + CharWidths::kBlock, fallbackWidth);
    });
    layoutWidth_ = -1;
    Relayout();
    if (focused_) {
        DestroyCaret();
        CreateCaret(hwnd(), nullptr, 1, lineHeight_);
        PlaceCaret();
        ShowCaret(hwnd());
    }
}

int ListingView::TextWidth() const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    return client.right - client.left - 2 * kMargin;
}

int ListingView::VisibleLines() const {
    RECT client{};
    GetClientRect(hwnd(), &client);
    return std::max(1, static_cast<int>((client.bottom - client.top) / std::max(lineHeight_, 1)));
}

// The text laid out for the view's width, keeping the line at the top where it was in the text.
// A view with no width yet (created at no size, or in a minimised window) keeps its layout.
void ListingView::Relayout() {
    const int width = TextWidth();
    if (width > 0 && width != layoutWidth_ && widths_) {
        const std::size_t topOffset = top_ < layout_.lineCount() ? layout_.LineStart(top_) : 0;
        layout_.Build(text_, width, *widths_);
        layoutWidth_ = width;
        top_ = layout_.LineOf(topOffset);
    }
    top_ = std::min(top_, layout_.lineCount() - 1);
    UpdateScrollBar();
    ScrollTo(static_cast<std::ptrdiff_t>(top_));
    InvalidateRect(hwnd(), nullptr, FALSE);
    PlaceCaret();
}

void ListingView::UpdateScrollBar() {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL;
    info.nMin = 0;
    info.nMax = static_cast<int>(std::min<std::size_t>(layout_.lineCount() - 1, INT_MAX));
    info.nPage = static_cast<UINT>(VisibleLines());
    info.nPos = static_cast<int>(std::min<std::size_t>(top_, INT_MAX));
    SetScrollInfo(hwnd(), SB_VERT, &info, TRUE);
}

// Scrolls so that `line` is at the top, as far as the text goes: the last page stays full.
void ListingView::ScrollTo(std::ptrdiff_t line) {
    const auto count = static_cast<std::ptrdiff_t>(layout_.lineCount());
    const std::ptrdiff_t last = std::max<std::ptrdiff_t>(0, count - VisibleLines());
    const auto wanted = static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(line, 0, last));
    if (wanted == top_) return;
    top_ = wanted;
    UpdateScrollBar();
    InvalidateRect(hwnd(), nullptr, FALSE);
    PlaceCaret();
}

std::size_t ListingView::CaretLine() const { return layout_.LineOf(caret_); }

void ListingView::EnsureCaretVisible() {
    const std::size_t line = CaretLine();
    const auto visible = static_cast<std::size_t>(VisibleLines());
    if (line < top_)
        ScrollTo(static_cast<std::ptrdiff_t>(line));
    else if (line >= top_ + visible)
        ScrollTo(static_cast<std::ptrdiff_t>(line - visible + 1));
}

void ListingView::PlaceCaret() {
    if (!focused_ || !widths_) return;
    const std::size_t line = CaretLine();
    const int x = kMargin + layout_.XOf(text_, line, caret_, *widths_);
    const auto row = static_cast<std::ptrdiff_t>(line) - static_cast<std::ptrdiff_t>(top_);
    // A caret out of sight is put above the view rather than left where it was.
    const int y = row >= 0 && row <= VisibleLines() ? static_cast<int>(row) * lineHeight_ : -lineHeight_ - 1;
    SetCaretPos(x, y);
}

void ListingView::SetSelection(std::size_t anchor, std::size_t caret) {
    anchor = std::min(anchor, text_.size());
    caret = std::min(caret, text_.size());
    if (anchor == anchor_ && caret == caret_) return;
    anchor_ = anchor;
    caret_ = caret;
    InvalidateRect(hwnd(), nullptr, FALSE);
    PlaceCaret();
}

void ListingView::MoveCaret(std::size_t offset, bool extend) {
    SetSelection(extend ? anchor_ : offset, offset);
    EnsureCaretVisible();
}

std::size_t ListingView::HitTest(POINT point) const {
    if (!widths_) return 0;
    const std::ptrdiff_t row = point.y < 0 ? -1 - (-point.y - 1) / lineHeight_ : point.y / lineHeight_;
    const std::ptrdiff_t line = static_cast<std::ptrdiff_t>(top_) + row;
    if (line < 0) return 0;
    if (static_cast<std::size_t>(line) >= layout_.lineCount()) return text_.size();
    return layout_.OffsetAt(text_, static_cast<std::size_t>(line), point.x - kMargin, *widths_);
}

void ListingView::Copy() const {
    const std::size_t start = std::min(anchor_, caret_), end = std::max(anchor_, caret_);
    if (start >= end) return;  // nothing selected: the clipboard stays as it is
    if (support::PutClipboardText(hwnd(), std::wstring_view(text_).substr(start, end - start)).failed())
        MessageBeep(MB_ICONWARNING);
}

void ListingView::OnPaint() {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(hwnd(), &paint);
    if (!dc) return;
    RECT client{};
    GetClientRect(hwnd(), &client);
    const support::SelectedObject selectedFont = support::Select(dc, font_);
    // The colours a read-only text box asks its parent for.
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(dc, GetSysColor(COLOR_WINDOW));
    auto brush = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(hwnd()), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd())));
    if (!brush) brush = GetSysColorBrush(COLOR_WINDOW);
    const COLORREF textColor = GetTextColor(dc), backColor = GetBkColor(dc);
    FillRect(dc, &paint.rcPaint, brush);
    SetBkMode(dc, OPAQUE);

    const std::size_t selStart = std::min(anchor_, caret_), selEnd = std::max(anchor_, caret_);
    const int firstRow = std::max(0, static_cast<int>(paint.rcPaint.top / lineHeight_));
    const int lastRow = static_cast<int>(paint.rcPaint.bottom / lineHeight_);
    std::vector<INT> advances;
    for (int row = firstRow; row <= lastRow; ++row) {
        const std::size_t line = top_ + static_cast<std::size_t>(row);
        if (line >= layout_.lineCount()) break;
        const std::size_t start = layout_.LineStart(line), end = layout_.LineEnd(line);
        const int y = row * lineHeight_;
        int x = kMargin;
        // Up to three runs: before, inside and after the selection.
        const std::size_t cuts[4] = {start, std::clamp(selStart, start, end), std::clamp(selEnd, start, end), end};
        for (int run = 0; run < 3; ++run) {
            const std::size_t from = cuts[run], to = cuts[run + 1];
            if (from >= to) continue;
            advances.resize(to - from);
            int width = 0;
            for (std::size_t i = from; i < to; ++i) width += advances[i - from] = (*widths_)(text_[i]);
            const bool selected = run == 1;
            SetTextColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColor);
            SetBkColor(dc, selected ? GetSysColor(COLOR_HIGHLIGHT) : backColor);
            const RECT cell{x, y, x + width, y + lineHeight_};
            ExtTextOutW(dc, x, y, ETO_OPAQUE | ETO_CLIPPED, &cell, text_.data() + from, static_cast<UINT>(to - from),
                        advances.data());
            x += width;
        }
    }
    EndPaint(hwnd(), &paint);
}

void ListingView::OnKeyDown(unsigned key) {
    const bool shift = KeyIsDown(VK_SHIFT), ctrl = KeyIsDown(VK_CONTROL);
    const std::size_t line = CaretLine();
    const bool selection = anchor_ != caret_;
    auto keepX = [this, line] {
        if (wantedX_ < 0) wantedX_ = layout_.XOf(text_, line, caret_, *widths_);
    };
    auto toLine = [this](std::ptrdiff_t target) {
        const auto last = static_cast<std::ptrdiff_t>(layout_.lineCount()) - 1;
        const auto clamped = static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(target, 0, last));
        return layout_.OffsetAt(text_, clamped, wantedX_, *widths_);
    };
    const auto here = static_cast<std::ptrdiff_t>(line);
    const int page = VisibleLines();
    switch (key) {
    case VK_LEFT:
        wantedX_ = -1;
        MoveCaret(selection && !shift ? std::min(anchor_, caret_) : PreviousCharOffset(text_, caret_), shift);
        return;
    case VK_RIGHT:
        wantedX_ = -1;
        MoveCaret(selection && !shift ? std::max(anchor_, caret_) : NextCharOffset(text_, caret_), shift);
        return;
    case VK_UP:
        keepX();
        MoveCaret(line == 0 ? caret_ : toLine(here - 1), shift);
        return;
    case VK_DOWN:
        keepX();
        MoveCaret(line + 1 >= layout_.lineCount() ? caret_ : toLine(here + 1), shift);
        return;
    case VK_PRIOR:
        keepX();
        ScrollTo(static_cast<std::ptrdiff_t>(top_) - page);
        MoveCaret(toLine(here - page), shift);
        return;
    case VK_NEXT:
        keepX();
        ScrollTo(static_cast<std::ptrdiff_t>(top_) + page);
        MoveCaret(toLine(here + page), shift);
        return;
    case VK_HOME:
        wantedX_ = -1;
        MoveCaret(ctrl ? 0 : layout_.LineStart(line), shift);
        return;
    case VK_END:
        wantedX_ = -1;
        if (ctrl) {
            MoveCaret(text_.size(), shift);
        } else {
            // The end of a line broken for the width is the start of the next one: the caret
            // stops before the blank it was broken after, or before its last character.
            std::size_t end = layout_.LineEnd(line);
            if (line + 1 < layout_.lineCount() && layout_.LineStart(line + 1) == end && end > layout_.LineStart(line))
                end = PreviousCharOffset(text_, end);
            MoveCaret(end, shift);
        }
        return;
    case VK_INSERT:
        if (ctrl && !shift) Copy();
        return;
    case 'A':
        if (ctrl && !shift && !KeyIsDown(VK_MENU)) SetSelection(0, text_.size());
        return;
    default:
        return;
    }
}

void ListingView::OnVScroll(int request) {
    const auto top = static_cast<std::ptrdiff_t>(top_);
    const int page = VisibleLines();
    switch (request) {
    case SB_LINEUP: ScrollTo(top - 1); break;
    case SB_LINEDOWN: ScrollTo(top + 1); break;
    case SB_PAGEUP: ScrollTo(top - page); break;
    case SB_PAGEDOWN: ScrollTo(top + page); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(static_cast<std::ptrdiff_t>(layout_.lineCount())); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
        // The 32-bit position: a listing can have more lines than the message's 16 bits hold.
        SCROLLINFO info{};
        info.cbSize = sizeof(info);
        info.fMask = SIF_TRACKPOS;
        if (GetScrollInfo(hwnd(), SB_VERT, &info)) ScrollTo(info.nTrackPos);
        break;
    }
    default:
        break;
    }
}

void ListingView::OnMouseWheel(int delta) {
    UINT lines = 3;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    if (lines == 0) return;
    wheelRest_ += delta;
    const int notches = wheelRest_ / WHEEL_DELTA;
    wheelRest_ %= WHEEL_DELTA;
    if (notches == 0) return;
    const int step = lines == WHEEL_PAGESCROLL ? VisibleLines() : static_cast<int>(lines);
    ScrollTo(static_cast<std::ptrdiff_t>(top_) - static_cast<std::ptrdiff_t>(notches) * step);
}

// What a read-only text box's context menu offers.
void ListingView::OnContextMenu(LPARAM at) {
    POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
    if (point.x == -1 && point.y == -1) {  // from the keyboard: at the caret
        GetCaretPos(&point);
        ClientToScreen(hwnd(), &point);
    }
    support::Menu menu(CreatePopupMenu());
    if (!menu) return;
    AppendMenuW(menu.get(), MF_STRING | (anchor_ == caret_ ? MF_GRAYED : 0), kCopyItem, L"&Copy");
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu.get(), MF_STRING | (text_.empty() ? MF_GRAYED : 0), kSelectAllItem, L"Select &All");
    SetFocus(hwnd());
    const auto chosen = static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                                         point.x, point.y, 0, hwnd(), nullptr));
    if (chosen == kCopyItem) Copy();
    if (chosen == kSelectAllItem) SetSelection(0, text_.size());
}

LRESULT ListingView::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;  // painted with the text
    case WM_SIZE:
        Relayout();
        return 0;
    case WM_SETFONT:
        SetFont(reinterpret_cast<HFONT>(wParam));
        if (LOWORD(lParam)) InvalidateRect(hwnd(), nullptr, TRUE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_SETTEXT:
        SetText(lParam ? reinterpret_cast<const wchar_t*>(lParam) : L"");
        return TRUE;
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(text_.size());
    case WM_GETTEXT: {
        if (wParam == 0 || !lParam) return 0;
        const std::size_t count = std::min<std::size_t>(text_.size(), wParam - 1);
        auto* out = reinterpret_cast<wchar_t*>(lParam);
        text_.copy(out, count);
        out[count] = L'\0';
        return static_cast<LRESULT>(count);
    }
    case WM_GETDLGCODE:
        return DLGC_WANTCHARS | DLGC_WANTARROWS | DLGC_HASSETSEL;
    case WM_SETFOCUS:
        focused_ = true;
        CreateCaret(hwnd(), nullptr, 1, lineHeight_);
        PlaceCaret();
        ShowCaret(hwnd());
        return 0;
    case WM_KILLFOCUS:
        focused_ = false;
        DestroyCaret();
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(static_cast<unsigned>(wParam));
        return 0;
    case WM_CHAR:
        if (wParam == 0x03) Copy();  // Ctrl+C
        return 0;
    case WM_COPY:
        Copy();
        return 0;
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(GET_WHEEL_DELTA_WPARAM(wParam));
        return 0;
    case WM_LBUTTONDOWN: {
        SetFocus(hwnd());
        wantedX_ = -1;
        const std::size_t at = HitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        SetSelection((wParam & MK_SHIFT) ? anchor_ : at, at);
        SetCapture(hwnd());
        dragging_ = true;
        SetTimer(hwnd(), kDragTimer, kDragIntervalMs, nullptr);
        return 0;
    }
    case WM_LBUTTONDBLCLK: {
        const auto [start, end] = WordAt(text_, HitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
        SetSelection(start, end);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (dragging_) SetSelection(anchor_, HitTest(POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}));
        return 0;
    case WM_TIMER:
        // While a selection is dragged past the top or bottom edge, the view scrolls along.
        if (wParam == kDragTimer && dragging_) {
            POINT point{};
            GetCursorPos(&point);
            ScreenToClient(hwnd(), &point);
            RECT client{};
            GetClientRect(hwnd(), &client);
            if (point.y < 0) ScrollTo(static_cast<std::ptrdiff_t>(top_) - 1);
            if (point.y >= client.bottom) ScrollTo(static_cast<std::ptrdiff_t>(top_) + 1);
            SetSelection(anchor_, HitTest(point));
        }
        return 0;
    case WM_LBUTTONUP:
        if (dragging_) ReleaseCapture();
        return 0;
    case WM_CAPTURECHANGED:
        dragging_ = false;
        KillTimer(hwnd(), kDragTimer);
        return 0;
    case WM_CONTEXTMENU:
        OnContextMenu(lParam);
        return 0;
    case EM_GETSEL: {
        const auto start = static_cast<DWORD>(std::min(anchor_, caret_));
        const auto end = static_cast<DWORD>(std::max(anchor_, caret_));
        if (wParam) *reinterpret_cast<DWORD*>(wParam) = start;
        if (lParam) *reinterpret_cast<DWORD*>(lParam) = end;
        return MAKELRESULT(std::min<DWORD>(start, 0xFFFF), std::min<DWORD>(end, 0xFFFF));
    }
    case EM_SETSEL: {
        // As a text box takes it: a start of -1 removes the selection, an end of -1 (or any
        // negative end) means the end of the text; the caret goes to the end given.
        const auto start = static_cast<INT_PTR>(wParam), end = static_cast<INT_PTR>(lParam);
        if (start == -1) {
            SetSelection(caret_, caret_);
            return 0;
        }
        const std::size_t from = start < 0 ? 0 : static_cast<std::size_t>(start);
        const std::size_t to = end < 0 ? text_.size() : static_cast<std::size_t>(end);
        SetSelection(from, to);
        return 0;
    }
    case EM_SCROLLCARET:
        EnsureCaretVisible();
        return TRUE;
    case EM_GETLINECOUNT:
        return static_cast<LRESULT>(layout_.lineCount());
    case EM_GETFIRSTVISIBLELINE:
        return static_cast<LRESULT>(top_);
    case EM_LINEFROMCHAR:
        return static_cast<LRESULT>(static_cast<INT_PTR>(wParam) < 0 ? CaretLine() : layout_.LineOf(wParam));
    case EM_LINEINDEX: {
        const std::size_t line = static_cast<INT_PTR>(wParam) < 0 ? CaretLine() : static_cast<std::size_t>(wParam);
        return line < layout_.lineCount() ? static_cast<LRESULT>(layout_.LineStart(line)) : -1;
    }
    case EM_LINELENGTH: {
        const std::size_t line = static_cast<INT_PTR>(wParam) < 0 ? CaretLine() : layout_.LineOf(wParam);
        return static_cast<LRESULT>(layout_.LineEnd(line) - layout_.LineStart(line));
    }
    case EM_LINESCROLL:
        ScrollTo(static_cast<std::ptrdiff_t>(top_) + static_cast<std::ptrdiff_t>(lParam));
        return TRUE;
    case EM_SETLIMITTEXT:
    case EM_SETREADONLY:
        return TRUE;  // the view is read-only and holds any length already
    case EM_GETMODIFY:
    case EM_CANUNDO:
        return FALSE;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace metaview
