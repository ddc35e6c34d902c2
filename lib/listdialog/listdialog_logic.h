// The list dialog's rules without windows: its caption, the label's text for an entry, and
// where the list and the label go when the window is resized. Platform-free; lengths are
// pixels unless said otherwise.
#pragma once

#include <string>
#include <string_view>

namespace bk::listdialog {

// The window's caption: `caption`, then " [count]" when the count is shown.
std::wstring ListCaption(std::wstring_view caption, bool showCount, long count);

// What the label shows for a clicked entry: the text after its first tab, or the whole entry
// when it has none.
std::wstring_view TextAfterFirstTab(std::wstring_view entry);

// The form's lengths in twips, converted by the caller with the screen's pixels per inch.
inline constexpr int kClientWidthTwips = 6735;
inline constexpr int kClientHeightTwips = 4050;
inline constexpr int kMarginTwips = 60;   // list and label from the left and top edges
inline constexpr int kBordersTwips = 120;  // both margins together

struct Margins {
    int left = 4;    // kMarginTwips across
    int top = 4;     // kMarginTwips down
    int across = 8;  // kBordersTwips across
    int down = 8;    // kBordersTwips down
};

struct Box {
    int left = 0, top = 0, width = 0, height = 0;
    bool operator==(const Box&) const = default;
};

struct ListLayout {
    Box list;
    Box label;
    bool operator==(const ListLayout&) const = default;
};

// The list fills the client area less the margins and the label's height; the label, at its
// own height, sits under it. Nothing gets a negative size.
ListLayout LayoutList(int clientWidth, int clientHeight, int labelHeight, const Margins& margins);

// The least window height: two label heights, the frame (window height less client height)
// and both margins.
int MinimumWindowHeight(int labelHeight, int nonClientHeight, const Margins& margins);

}  // namespace bk::listdialog
