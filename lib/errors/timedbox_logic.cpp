#include "lib/errors/timedbox_logic.h"

#include <algorithm>
#include <cmath>

namespace bk::errors::timedbox {
namespace {

// Design geometry in twips.
constexpr long kMessageLeft = 1080;
constexpr long kMessageTop = 180;
constexpr long kMessageDesignWidth = 4935;
constexpr long kIconLeft = 300;
constexpr long kIconTop = 360;
constexpr long kButtonWidth = 1455;
constexpr long kButtonHeight = 435;
constexpr std::array<long, 3> kButtonSlots = {1440, 3000, 4560};
constexpr long kClientWidth = 6195;

const std::array<ButtonSet, 6> kSets = {{
    {1, {{{L"Ok", 800, kOk}, {}, {}}}, 0, 0},
    {2, {{{L"&Ok", 800, kOk}, {L"&Cancel", 801, kCancel}, {}}}, 0, 1},
    {3, {{{L"&Abort", 802, kAbort}, {L"&Retry", 803, kRetry}, {L"&Ignore", 804, kIgnore}}}, 1, 0},
    {3, {{{L"&Yes", 805, kYes}, {L"&No", 806, kNo}, {L"&Cancel", 801, kCancel}}}, 0, 2},
    {2, {{{L"&Yes", 805, kYes}, {L"&No", 806, kNo}, {}}}, 0, 1},
    {2, {{{L"&Retry", 803, kRetry}, {L"&Cancel", 801, kCancel}, {}}}, 0, 1},
}};

int ToPixels(double twips, double twipsPerPixel) {
    return static_cast<int>(std::lround(twips / twipsPerPixel));
}

}  // namespace

const ButtonSet& ButtonSetOf(long style) {
    const long code = style & 0xF;
    return code < static_cast<long>(kSets.size()) ? kSets[static_cast<size_t>(code)] : kSets[0];
}

unsigned IconIdOf(long style) {
    switch (style & 0xF0) {
    case 16: return 32513;  // stop
    case 32: return 32514;  // question
    case 48: return 32515;  // exclamation
    case 64: return 32516;  // information
    default: return 0;
    }
}

unsigned BeepOf(long style) {
    const long icon = style & 0xF0;
    return IconIdOf(style) != 0 ? static_cast<unsigned>(icon) : 0xFFFFFFFFu;
}

bool IsValidButtonIndexArgument(long index) { return index >= -1; }

int ResolveButtonIndex(long requested, int buttonCount, int setChoice) {
    if (requested == -1 || requested > buttonCount - 1 || requested < -1) return setChoice;
    return static_cast<int>(requested);
}

std::wstring CaptionOf(const std::optional<std::wstring>& title, std::wstring_view applicationTitle) {
    if (!title) return std::wstring(applicationTitle);
    return title->empty() ? std::wstring(L" ") : *title;
}

long NormalizeTimeout(long seconds) { return seconds >= 1 ? seconds : 1; }

std::wstring CountdownCaption(std::wstring_view caption, long remaining) {
    std::wstring text(caption);
    text += L" (";
    text += std::to_wstring(remaining);
    text += L')';
    return text;
}

Countdown::Step Countdown::Tick() {
    Step step;
    ++counter_;
    if (counter_ > timeout_ + 1) {
        step.close = true;
        return step;
    }
    step.remaining = timeout_ + 1 - counter_;
    step.lastStep = step.remaining == 0;
    return step;
}

Layout ComputeLayout(int textWidth, int textHeight, bool hasIcon, int buttonCount, TwipsPerPixel scale) {
    buttonCount = std::clamp(buttonCount, 1, 3);
    const long messageWidth = std::lround(textWidth * scale.x);
    const long messageHeight = std::lround(textHeight * scale.y);

    long messageLeft = kMessageLeft;
    long clientWidth = kClientWidth;
    std::array<long, 3> buttonLefts{};
    // Used buttons take the rightmost slots.
    for (int i = 0; i < buttonCount; ++i)
        buttonLefts[static_cast<size_t>(i)] = kButtonSlots[static_cast<size_t>(3 - buttonCount + i)];
    for (int i = buttonCount; i < 3; ++i) buttonLefts[static_cast<size_t>(i)] = kButtonSlots[static_cast<size_t>(i)];

    if (!hasIcon) {
        // The icon's space: the message keeps a left margin of one and a half top margins.
        const long shift = std::lround(kMessageLeft - 1.5 * kMessageTop);
        messageLeft -= shift;
        clientWidth -= shift;
        for (long& left : buttonLefts) left -= shift;
    }

    const long buttonTop = 3 * kMessageTop + messageHeight;
    const long clientHeight = buttonTop + kButtonHeight + kMessageTop;
    // A wider message widens the box by the same amount, so that its right margin stays;
    // a narrower one leaves the box as it is.
    const long extra = messageWidth - kMessageDesignWidth;
    if (extra > 0) {
        clientWidth += extra;
        for (long& left : buttonLefts) left += extra;
    }

    Layout layout;
    layout.text = {ToPixels(messageLeft, scale.x), ToPixels(kMessageTop, scale.y),
                   ToPixels(messageLeft + messageWidth, scale.x), ToPixels(kMessageTop + messageHeight, scale.y)};
    layout.iconLeft = ToPixels(kIconLeft, scale.x);
    layout.iconTop = ToPixels(kIconTop, scale.y);
    for (size_t i = 0; i < 3; ++i) {
        layout.buttons[i] = {ToPixels(buttonLefts[i], scale.x), ToPixels(buttonTop, scale.y),
                             ToPixels(buttonLefts[i] + kButtonWidth, scale.x),
                             ToPixels(buttonTop + kButtonHeight, scale.y)};
    }
    layout.clientWidth = ToPixels(clientWidth, scale.x);
    layout.clientHeight = ToPixels(clientHeight, scale.y);
    return layout;
}

MeasureBounds MessageBounds(int screenWidth, int screenHeight) {
    return {std::max(1, screenWidth - 300), std::max(1, screenHeight - 200)};
}

}  // namespace bk::errors::timedbox
