// The icon control's mouse rules without a window: the events each message gives, and the
// Button and Shift values.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "lib/about/icon_mouse.h"

using namespace bk::about;
using Kind = MouseTracker::Kind;

namespace {

std::string Names(const IconEvents& e) {
    static const char* const kNames[] = {"Click", "DblClick", "MouseDown", "MouseMove", "MouseUp"};
    std::string s;
    for (size_t i = 0; i < e.count; ++i) {
        if (i > 0) s += ' ';
        s += kNames[static_cast<int>(e.events[i])];
    }
    return s;
}

// The events of a sequence of messages, one group per message.
std::string Events(MouseTracker& m, std::initializer_list<std::tuple<Kind, short, bool>> messages) {
    std::string s;
    for (const auto& [kind, button, inside] : messages) {
        s += '[';
        s += Names(m.Translate(kind, button, inside));
        s += ']';
    }
    return s;
}

}  // namespace

TEST(IconMouse, ClickAndDoubleClickComeInTheOrderOfTheirMessages) {
    MouseTracker m;
    EXPECT_EQ("[MouseDown][MouseUp Click]",
              Events(m, {{Kind::Press, kLeftButton, true}, {Kind::Release, kLeftButton, true}}));
    EXPECT_EQ(0, m.pressed());
    // Press, release, double-click press, release.
    EXPECT_EQ("[MouseDown][MouseUp Click][DblClick][MouseUp]",
              Events(m, {{Kind::Press, kLeftButton, true},
                      {Kind::Release, kLeftButton, true},
                      {Kind::DoublePress, kLeftButton, true},
                      {Kind::Release, kLeftButton, true}}));
    // The next plain click clicks again.
    EXPECT_EQ("[MouseDown][MouseUp Click]",
              Events(m, {{Kind::Press, kLeftButton, true}, {Kind::Release, kLeftButton, true}}));
}

TEST(IconMouse, OnlyALeftPressAndReleaseOverTheControlClicks) {
    MouseTracker m;
    EXPECT_EQ("[MouseDown][MouseUp]", Events(m, {{Kind::Press, kLeftButton, true}, {Kind::Release, kLeftButton, false}}))
        << "released elsewhere";
    EXPECT_EQ("[MouseUp]", Events(m, {{Kind::Release, kLeftButton, true}})) << "pressed elsewhere";
    EXPECT_EQ("[MouseDown][MouseUp]", Events(m, {{Kind::Press, kRightButton, true}, {Kind::Release, kRightButton, true}}));
    EXPECT_EQ("[MouseDown][MouseUp]",
              Events(m, {{Kind::DoublePress, kRightButton, true}, {Kind::Release, kRightButton, true}}))
        << "a right double-click is a press";
    // A capture lost in the middle of a click forgets the press.
    m.Translate(Kind::Press, kLeftButton, true);
    m.Reset();
    EXPECT_EQ("[MouseUp]", Events(m, {{Kind::Release, kLeftButton, true}}));
}

TEST(IconMouse, PressedButtonsAreTrackedUntilEachIsReleased) {
    MouseTracker m;
    m.Translate(Kind::Press, kRightButton, true);
    m.Translate(Kind::Press, kLeftButton, true);
    EXPECT_EQ(kLeftButton | kRightButton, m.pressed());
    EXPECT_EQ("[MouseMove]", Events(m, {{Kind::Move, 0, true}}));
    EXPECT_EQ("[MouseUp]", Events(m, {{Kind::Release, kRightButton, true}}));
    EXPECT_EQ(kLeftButton, m.pressed());
    EXPECT_EQ("[MouseUp Click]", Events(m, {{Kind::Release, kLeftButton, true}}));
    EXPECT_EQ(0, m.pressed());
}

TEST(IconMouse, ButtonAndShiftValuesFromTheKeyState) {
    EXPECT_EQ(0, ButtonsHeld(0));
    EXPECT_EQ(kRightButton, ButtonsHeld(keystate::kRight));
    EXPECT_EQ(kLeftButton | kMiddleButton, ButtonsHeld(keystate::kLeft | keystate::kMiddle | keystate::kShift));
    EXPECT_EQ(0, ShiftState(keystate::kLeft | keystate::kRight, false));
    EXPECT_EQ(kShiftKey | kCtrlKey, ShiftState(keystate::kShift | keystate::kControl, false));
    EXPECT_EQ(kAltKey, ShiftState(0, true));
}
