// The rules of the message box with a time-out: button sets, default and cancel buttons,
// caption, count-down and the layout in twips.
#include <gtest/gtest.h>

#include "lib/errors/timedbox_logic.h"

namespace tb = bk::errors::timedbox;
using namespace bk::errors::timedbox;

TEST(TimedBoxRules, ButtonSetsResultsAndTheirOwnDefaultAndCancel) {
    struct Expected {
        long style;
        std::vector<long> results;
        int defaultIndex, cancelIndex;
    };
    const Expected all[] = {{0, {1}, 0, 0},          {1, {1, 2}, 0, 1}, {2, {3, 4, 5}, 1, 0},
                            {3, {6, 7, 2}, 0, 2},    {4, {6, 7}, 0, 1}, {5, {4, 2}, 0, 1}};
    for (const Expected& e : all) {
        const tb::ButtonSet& set = tb::ButtonSetOf(e.style | 0x40 | 0x100);  // icon and default bits ignored
        ASSERT_EQ(static_cast<int>(e.results.size()), set.count) << e.style;
        for (int i = 0; i < set.count; ++i) EXPECT_EQ(e.results[static_cast<size_t>(i)], set.buttons[static_cast<size_t>(i)].result);
        EXPECT_EQ(e.defaultIndex, set.defaultIndex) << e.style;
        EXPECT_EQ(e.cancelIndex, set.cancelIndex) << e.style;
    }
    EXPECT_EQ(L"Ok", tb::ButtonSetOf(0).buttons[0].fallbackCaption);
    EXPECT_EQ(L"&Cancel", tb::ButtonSetOf(3).buttons[2].fallbackCaption);
    EXPECT_EQ(801u, tb::ButtonSetOf(3).buttons[2].stringId);
    // Codes outside the platform's sets answer with OK.
    EXPECT_EQ(1, tb::ButtonSetOf(9).count);
}

TEST(TimedBoxRules, RequestedIndexAppliesOnlyWithinTheSet) {
    EXPECT_EQ(1, tb::ResolveButtonIndex(-1, 3, 1));
    EXPECT_EQ(2, tb::ResolveButtonIndex(2, 3, 1));
    EXPECT_EQ(0, tb::ResolveButtonIndex(0, 2, 1));
    EXPECT_EQ(0, tb::ResolveButtonIndex(5, 2, 0));
    EXPECT_EQ(1, tb::ResolveButtonIndex(2, 2, 1));
    EXPECT_TRUE(tb::IsValidButtonIndexArgument(-1));
    EXPECT_FALSE(tb::IsValidButtonIndexArgument(-2));
}

TEST(TimedBoxRules, CaptionFromTitle) {
    EXPECT_EQ(L"App", tb::CaptionOf(std::nullopt, L"App"));
    EXPECT_EQ(L" ", tb::CaptionOf(std::wstring(), L"App"));
    EXPECT_EQ(L"Mine", tb::CaptionOf(std::wstring(L"Mine"), L"App"));
}

TEST(TimedBoxRules, CountdownShowsEveryNumberThenClosesAfterZero) {
    tb::Countdown three(3);
    std::vector<long> shown;
    std::vector<bool> last;
    for (;;) {
        const tb::Countdown::Step step = three.Tick();
        if (step.close) break;
        shown.push_back(step.remaining);
        last.push_back(step.lastStep);
        ASSERT_LT(shown.size(), 10u);
    }
    EXPECT_EQ((std::vector<long>{3, 2, 1, 0}), shown);
    EXPECT_EQ((std::vector<bool>{false, false, false, true}), last);

    for (long t : {0L, -5L}) {
        tb::Countdown c(t);
        EXPECT_EQ(1, c.Tick().remaining);
        EXPECT_TRUE(c.Tick().lastStep);
        EXPECT_TRUE(c.Tick().close);
    }
    EXPECT_EQ(L"&Retry (4)", tb::CountdownCaption(L"&Retry", 4));
}

TEST(TimedBoxLayout, DesignGeometryWithIconAtFifteenTwipsPerPixel) {
    // 329 × 13 px is 4935 × 195 twips: the design's width.
    const tb::Layout l = tb::ComputeLayout(329, 13, true, 3, {15, 15});
    EXPECT_EQ(72, l.text.left);     // 1080 tw
    EXPECT_EQ(12, l.text.top);      // 180 tw
    EXPECT_EQ(72 + 329, l.text.right);
    EXPECT_EQ(12 + 13, l.text.bottom);
    EXPECT_EQ(20, l.iconLeft);
    EXPECT_EQ(24, l.iconTop);
    EXPECT_EQ(413, l.clientWidth);  // 6195 tw
    // Buttons: 3 × 180 + 195 = 735 tw from the top, 1455 × 435 tw, at 1440/3000/4560 tw.
    EXPECT_EQ(49, l.buttons[0].top);
    EXPECT_EQ(29, l.buttons[0].height());
    EXPECT_EQ(96, l.buttons[0].left);
    EXPECT_EQ(200, l.buttons[1].left);
    EXPECT_EQ(304, l.buttons[2].left);
    EXPECT_EQ(97, l.buttons[2].width());
    EXPECT_EQ(49 + 29 + 12, l.clientHeight);  // (735 + 435 + 180) tw
}

TEST(TimedBoxLayout, FewerButtonsTakeTheRightmostSlots) {
    const tb::Layout one = tb::ComputeLayout(100, 13, true, 1, {15, 15});
    EXPECT_EQ(304, one.buttons[0].left);
    const tb::Layout two = tb::ComputeLayout(100, 13, true, 2, {15, 15});
    EXPECT_EQ(200, two.buttons[0].left);
    EXPECT_EQ(304, two.buttons[1].left);
}

TEST(TimedBoxLayout, WithoutIconEverythingMovesLeftAndTheBoxNarrows) {
    const tb::Layout icon = tb::ComputeLayout(100, 13, true, 2, {15, 15});
    const tb::Layout none = tb::ComputeLayout(100, 13, false, 2, {15, 15});
    EXPECT_EQ(54, icon.text.left - none.text.left);  // 810 tw
    EXPECT_EQ(54, icon.buttons[1].left - none.buttons[1].left);
    EXPECT_EQ(54, icon.clientWidth - none.clientWidth);
    EXPECT_EQ(icon.clientHeight, none.clientHeight);
}

TEST(TimedBoxLayout, WideMessagesWidenTheBoxAndKeepTheirRightMargin) {
    for (bool hasIcon : {true, false}) {
        for (int width : {100, 329, 345, 360, 383, 500, 1100}) {
            const tb::Layout l = tb::ComputeLayout(width, 40, hasIcon, 3, {15, 15});
            SCOPED_TRACE(testing::Message() << "icon " << hasIcon << " width " << width);
            // Never narrower than the design (less the icon's space), never a clipped message.
            EXPECT_GE(l.clientWidth, hasIcon ? 413 : 359);
            EXPECT_GE(l.clientWidth - l.text.right, 12);
            EXPECT_LE(l.buttons[2].right, l.clientWidth);
            EXPECT_EQ(12, l.clientWidth - l.buttons[2].right);
        }
    }
}

TEST(TimedBoxLayout, ScalesWithThePixelsPerInch) {
    // 120 pixels per inch: 12 twips per pixel.
    const tb::Layout l = tb::ComputeLayout(100, 16, true, 1, {12, 12});
    EXPECT_EQ(90, l.text.left);        // 1080 / 12
    EXPECT_EQ(25, l.iconLeft);         // 300 / 12
    EXPECT_EQ(45 + 16, l.buttons[0].top);  // 540 / 12 + text
    EXPECT_EQ(516, l.clientWidth);     // 6195 / 12 rounded
}

TEST(TimedBoxLayout, MeasuringBoundsLeaveAScreenMargin) {
    const tb::MeasureBounds b = tb::MessageBounds(1280, 1024);
    EXPECT_EQ(980, b.width);
    EXPECT_EQ(824, b.height);
}
