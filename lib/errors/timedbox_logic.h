// Rules of the message box with a time-out that need no window: button sets and their
// results, default and cancel buttons, caption, count-down and the layout arithmetic in twips.
// Platform-free; the dialog in timedbox.cpp applies them.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace bk::errors::timedbox {

// Message-box results.
enum Result : long { kOk = 1, kCancel = 2, kAbort = 3, kRetry = 4, kIgnore = 5, kYes = 6, kNo = 7 };

struct ButtonSpec {
    std::wstring_view fallbackCaption;  // when the system has no text for `stringId`
    unsigned stringId;                  // user32 string table
    long result;
};

struct ButtonSet {
    int count;
    std::array<ButtonSpec, 3> buttons;
    int defaultIndex;  // pressed by the time-out and by Enter
    int cancelIndex;   // pressed by Esc
};

// The set of bits 0-3 of the style. Codes 6-15 name no set of the platform's message box;
// they get the OK set, so that the box always has a button that answers.
const ButtonSet& ButtonSetOf(long style);

// The system icon (IDI_HAND ... IDI_ASTERISK as a resource number) for bits 4-7 of the style,
// 0 for none; and the sound that goes with it (0xFFFFFFFF: the simple beep).
unsigned IconIdOf(long style);
unsigned BeepOf(long style);

// A DefaultButtonIndex or CancelButtonIndex argument below -1 is invalid.
bool IsValidButtonIndexArgument(long index);
// The button an argument selects: the argument unless it is -1 or beyond the set's last
// button, else the set's own choice.
int ResolveButtonIndex(long requested, int buttonCount, int setChoice);

// The dialog's caption: no title → the application's title; an empty title → one blank
// (a caption that is visibly empty rather than the application's).
std::wstring CaptionOf(const std::optional<std::wstring>& title, std::wstring_view applicationTitle);

// Seconds until the time-out: at least 1.
long NormalizeTimeout(long seconds);

// "<caption> (<n>)".
std::wstring CountdownCaption(std::wstring_view caption, long remaining);

// The count-down of the time-out button. Tick() runs once when the box is set up and then
// on every timer tick.
class Countdown {
public:
    explicit Countdown(long timeoutSeconds) : timeout_(NormalizeTimeout(timeoutSeconds)) {}

    struct Step {
        bool close = false;        // the time-out presses its button now
        long remaining = 0;        // otherwise: the number to show
        bool lastStep = false;     // 0 is shown: the next tick comes after a quarter second
    };
    Step Tick();
    long timeout() const { return timeout_; }

private:
    long timeout_;
    long counter_ = 0;
};

// Placement of the box's parts, in pixels of the client area.
struct PixelRect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

struct Layout {
    PixelRect text;                     // where the message is drawn
    int iconLeft = 0, iconTop = 0;      // where the icon is drawn (when there is one)
    std::array<PixelRect, 3> buttons;   // the first `count` of the set are used
    int clientWidth = 0, clientHeight = 0;
};

// Twips per pixel of the screen (1440 / pixels per inch), horizontally and vertically.
struct TwipsPerPixel {
    double x = 15.0, y = 15.0;
};

// The box for a message measured as textWidth × textHeight pixels. The design places the
// message at (1080, 180) twips, the icon at (300, 360), the buttons 1455 × 435 twips in three
// right-aligned slots; without an icon everything moves left by the icon's space (810 twips)
// and the box gets that much narrower. The buttons sit two message-top margins below the
// message; a message wider than the design's 4935 twips widens the box by the difference.
Layout ComputeLayout(int textWidth, int textHeight, bool hasIcon, int buttonCount, TwipsPerPixel scale);

// The measuring rectangle of the message: the screen less 300 pixels across and 200 down.
struct MeasureBounds {
    int width = 0, height = 0;
};
MeasureBounds MessageBounds(int screenWidth, int screenHeight);

}  // namespace bk::errors::timedbox
