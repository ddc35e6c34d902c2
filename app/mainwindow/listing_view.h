// The listing view: a read-only, word-wrapping text box of its own window class for listings
// too big for the system's text box (see IsLargeListing). It keeps the text as given, lays it
// out by the widths of the font's characters and draws only the lines in sight, so showing and
// re-wrapping megabytes takes milliseconds. It answers the text box messages the program and
// its tests use (WM_SETTEXT, WM_GETTEXT, EM_GETSEL, EM_SETSEL, EM_SCROLLCARET, EM_GETLINECOUNT,
// EM_GETFIRSTVISIBLELINE, EM_LINEFROMCHAR, EM_LINEINDEX, EM_LINELENGTH, EM_LINESCROLL,
// WM_COPY, WM_SETFONT), takes its colours from the parent's WM_CTLCOLORSTATIC as a read-only
// text box does, and offers the caret keys, mouse selection, the wheel, Ctrl+A, Ctrl+C,
// Ctrl+Insert and a Copy / Select All context menu.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/mainwindow/listing_layout.h"
#include "support/win/window.h"

namespace metaview {

class ListingView : public support::WindowBase {
public:
    static constexpr wchar_t kClassName[] = L"MetaviewListing";

    // Creates the view as child `id` of `parent` over `bounds`; null when it cannot be created.
    static std::unique_ptr<ListingView> Create(HWND parent, int id, const RECT& bounds);

    // Replaces the whole text: caret at the start, scrolled to the top.
    void SetText(std::wstring text);
    const std::wstring& text() const { return text_; }

private:
    ListingView();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    void SetFont(HFONT font);
    void Relayout();
    int TextWidth() const;
    int VisibleLines() const;
    void UpdateScrollBar();
    void ScrollTo(std::ptrdiff_t line);
    void EnsureCaretVisible();
    void PlaceCaret();
    std::size_t CaretLine() const;
    void MoveCaret(std::size_t offset, bool extend);
    void SetSelection(std::size_t anchor, std::size_t caret);
    std::size_t HitTest(POINT point) const;
    void Copy() const;
    void OnPaint();
    void OnKeyDown(unsigned key);
    void OnVScroll(int request);
    void OnMouseWheel(int delta);
    void OnContextMenu(LPARAM at);

    std::wstring text_;
    std::unique_ptr<CharWidths> widths_;
    ListingLayout layout_;
    HFONT font_ = nullptr;  // the caller's: never deleted here
    int lineHeight_ = 16;
    int layoutWidth_ = -1;      // the width the layout was made for
    std::size_t top_ = 0;       // the first line in sight
    std::size_t anchor_ = 0;    // the selection runs from the anchor to the caret
    std::size_t caret_ = 0;
    int wantedX_ = -1;          // where Up and Down keep the caret across; -1: where it is
    int wheelRest_ = 0;         // the part of a wheel turn not yet scrolled
    bool focused_ = false;
    bool dragging_ = false;
};

}  // namespace metaview
