// The list dialog's caption, label text and layout rules.
#include <gtest/gtest.h>

#include "lib/listdialog/listdialog_logic.h"

using namespace bk::listdialog;

TEST(ListCaption, CountInBracketsOnlyWhenAsked) {
    EXPECT_EQ(L" [3]", ListCaption(L"", true, 3));
    EXPECT_EQ(L"Files", ListCaption(L"Files", false, 3));
    EXPECT_EQ(L"Files [0]", ListCaption(L"Files", true, 0));
    EXPECT_EQ(L"", ListCaption(L"", false, 7));
    EXPECT_EQ(L"x [100000]", ListCaption(L"x", true, 100000));
}

TEST(ListLabel, TextAfterTheFirstTab) {
    EXPECT_EQ(L"C:\\data\\a.txt", TextAfterFirstTab(L"a.txt\tC:\\data\\a.txt"));
    EXPECT_EQ(L"plain", TextAfterFirstTab(L"plain"));
    EXPECT_EQ(L"b\tc", TextAfterFirstTab(L"a\tb\tc"));
    EXPECT_EQ(L"", TextAfterFirstTab(L"trailing\t"));
    EXPECT_EQ(L"lead", TextAfterFirstTab(L"\tlead"));
    EXPECT_EQ(L"", TextAfterFirstTab(L""));
}

TEST(ListLayout, ListFillsTheClientAreaAndTheLabelSitsUnderIt) {
    const Margins m{4, 5, 8, 10};
    const ListLayout l = LayoutList(449, 270, 18, m);
    EXPECT_EQ((Box{4, 5, 441, 242}), l.list);   // height = 270 - 18 - 10
    EXPECT_EQ((Box{4, 247, 441, 18}), l.label);  // top = list height + top margin
    // The label's bottom lies one top margin above the client area's bottom.
    EXPECT_EQ(270 - m.top, l.label.top + l.label.height);
}

TEST(ListLayout, TinyClientAreasGiveNoNegativeSizes) {
    const Margins m{4, 4, 8, 8};
    const ListLayout l = LayoutList(5, 10, 18, m);
    EXPECT_EQ(0, l.list.width);
    EXPECT_EQ(0, l.list.height);
    EXPECT_EQ(0, l.label.width);
    EXPECT_EQ(4, l.label.top);
    EXPECT_EQ(18, l.label.height);
}

TEST(ListLayout, MinimumHeightIsTwoLabelsTheFrameAndTheMargins) {
    const Margins m{4, 4, 8, 8};
    EXPECT_EQ(2 * 18 + 25 + 8, MinimumWindowHeight(18, 25, m));
    // At the least height the list is exactly one label high.
    const int nc = 25;
    const int clientHeight = MinimumWindowHeight(18, nc, m) - nc;
    EXPECT_EQ(18, LayoutList(300, clientHeight, 18, m).list.height);
}
