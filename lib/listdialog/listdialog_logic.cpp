#include "lib/listdialog/listdialog_logic.h"

#include <algorithm>

namespace bk::listdialog {

std::wstring ListCaption(std::wstring_view caption, bool showCount, long count) {
    std::wstring text(caption);
    if (showCount) text += L" [" + std::to_wstring(count) + L"]";
    return text;
}

std::wstring_view TextAfterFirstTab(std::wstring_view entry) {
    const size_t tab = entry.find(L'\t');
    return tab == std::wstring_view::npos ? entry : entry.substr(tab + 1);
}

ListLayout LayoutList(int clientWidth, int clientHeight, int labelHeight, const Margins& margins) {
    ListLayout layout;
    const int width = std::max(0, clientWidth - margins.across);
    layout.list = {margins.left, margins.top, width, std::max(0, clientHeight - labelHeight - margins.down)};
    layout.label = {margins.left, layout.list.height + margins.top, width, std::max(0, labelHeight)};
    return layout;
}

int MinimumWindowHeight(int labelHeight, int nonClientHeight, const Margins& margins) {
    return 2 * labelHeight + nonClientHeight + margins.down;
}

}  // namespace bk::listdialog
