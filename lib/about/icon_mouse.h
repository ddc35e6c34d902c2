// The icon control's mouse events, worked out from the mouse messages its window receives:
// which of Click, DblClick, MouseDown, MouseMove and MouseUp go to the host, in which order,
// and the Button and Shift values they carry. Platform-free; icon_control.cpp feeds it.
#pragma once

#include <array>
#include <cstddef>

namespace bk::about {

// Button values: one button for MouseDown and MouseUp, the buttons held for MouseMove.
constexpr short kLeftButton = 1;
constexpr short kRightButton = 2;
constexpr short kMiddleButton = 4;
// Shift values.
constexpr short kShiftKey = 1;
constexpr short kCtrlKey = 2;
constexpr short kAltKey = 4;

// The key-state bits a mouse message carries (the platform's MK_ values).
namespace keystate {
constexpr unsigned kLeft = 0x0001;
constexpr unsigned kRight = 0x0002;
constexpr unsigned kShift = 0x0004;
constexpr unsigned kControl = 0x0008;
constexpr unsigned kMiddle = 0x0010;
}  // namespace keystate

// The buttons held, as MouseMove reports them.
short ButtonsHeld(unsigned keyState);
// Shift, Ctrl and Alt as the Shift argument reports them (Alt is not in the message's bits).
short ShiftState(unsigned keyState, bool altDown);

enum class IconEvent { Click, DblClick, MouseDown, MouseMove, MouseUp };

// Up to two events, in the order they are raised.
struct IconEvents {
    std::array<IconEvent, 2> events{};
    size_t count = 0;
    void push(IconEvent e) { events[count++] = e; }
};

// Follows one control's button presses. A double-click arrives as press, release, second
// press (the double-click message), release; it gives MouseDown, MouseUp, Click, DblClick,
// MouseUp: the second press raises DblClick in place of MouseDown and its release no Click.
// Click is the left button released over the control after it was pressed there.
class MouseTracker {
public:
    enum class Kind { Press, DoublePress, Release, Move };

    // The events for one message; `button` is the one pressed or released (kLeftButton ...),
    // `inside` whether a release happened over the control.
    IconEvents Translate(Kind kind, short button, bool inside);

    // Buttons pressed over the control and not released yet: while any is, the control
    // keeps the mouse captured.
    short pressed() const { return pressed_; }
    // The capture ended without a release (another window took it): nothing is pressed.
    void Reset() {
        pressed_ = 0;
        afterDoubleClick_ = false;
    }

private:
    short pressed_ = 0;
    bool afterDoubleClick_ = false;
};

}  // namespace bk::about
