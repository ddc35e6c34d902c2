// The output text box's own rules (modTextBoxFonts, csTBSelectAllHook): which monospaced font
// it gets, and which keys make Ctrl+A select the whole text. Platform-free: the window code
// passes the keys in and does what these decide.
#pragma once

#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace metaview {

struct FontChoice {
    std::wstring name;
    double points = 0;
};

// Monospaced fonts in order of preference. The main window's list (`consolasFirst` false):
// PT Mono 10, Consolas 11, Andale Mono 10, Courier New 10, Courier 10; with `consolasFirst`
// the list starts at Consolas and has no PT Mono.
std::vector<FontChoice> MonospacedFontList(bool consolasFirst);

// Offers the fonts of `list` in order to `trySetFont` until one is accepted; the index of
// that font, or nothing when none was (the text box then keeps its font).
std::optional<size_t> ApplyFirstAvailableFont(std::span<const FontChoice> list,
                                              const std::function<bool(const FontChoice&)>& trySetFont);

// Whether the face the system gave is the one asked for (case does not matter). A font that
// is not installed comes back under another face name.
bool IsSameFace(std::wstring_view requested, std::wstring_view given);

// The state of the keyboard's modifier keys at a key event.
struct KeyModifiers {
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// Ctrl+A for a multi-line text box: the key-down selects all and is kept from the box, and
// the control character (0x01) it produces is dropped. Only Ctrl alone counts: Ctrl+Shift+A
// and Ctrl+Alt+A are left to the box.
class SelectAllKeys {
public:
    static constexpr unsigned kKeyA = 0x41;

    // True: select the whole text and do not pass the key on.
    bool OnKeyDown(unsigned key, KeyModifiers modifiers);
    // True: drop this character.
    bool OnChar(wchar_t character);

private:
    bool eatCtrlA_ = false;
};

}  // namespace metaview
