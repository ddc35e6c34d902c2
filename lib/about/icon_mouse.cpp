#include "lib/about/icon_mouse.h"

namespace bk::about {

short ButtonsHeld(unsigned keyState) {
    short buttons = 0;
    if (keyState & keystate::kLeft) buttons |= kLeftButton;
    if (keyState & keystate::kRight) buttons |= kRightButton;
    if (keyState & keystate::kMiddle) buttons |= kMiddleButton;
    return buttons;
}

short ShiftState(unsigned keyState, bool altDown) {
    short shift = 0;
    if (keyState & keystate::kShift) shift |= kShiftKey;
    if (keyState & keystate::kControl) shift |= kCtrlKey;
    if (altDown) shift |= kAltKey;
    return shift;
}

IconEvents MouseTracker::Translate(Kind kind, short button, bool inside) {
    IconEvents out;
    switch (kind) {
    case Kind::Press:
        pressed_ |= button;
        out.push(IconEvent::MouseDown);
        break;
    case Kind::DoublePress:
        pressed_ |= button;
        if (button == kLeftButton) {
            afterDoubleClick_ = true;
            out.push(IconEvent::DblClick);
        } else {
            out.push(IconEvent::MouseDown);  // only the left button double-clicks
        }
        break;
    case Kind::Release: {
        const bool wasPressed = (pressed_ & button) != 0;
        pressed_ &= static_cast<short>(~button);
        out.push(IconEvent::MouseUp);
        if (button == kLeftButton) {
            if (wasPressed && inside && !afterDoubleClick_) out.push(IconEvent::Click);
            afterDoubleClick_ = false;
        }
        break;
    }
    case Kind::Move:
        out.push(IconEvent::MouseMove);
        break;
    }
    return out;
}

}  // namespace bk::about
