// The system colour dialog with a colour, an owner window and sixteen custom colours that the
// caller can keep as text between runs (see support/customcolors.h).
#pragma once

#include <windows.h>

#include "support/components/customcolors.h"

namespace support {

class ColorDialog {
public:
    // The colour shown first and, after a confirmed Show(), the colour chosen. A colour with
    // the high bit set names system colour n and is shown as that colour's current value.
    COLORREF Color() const { return color_; }
    void SetColor(COLORREF color) { color_ = color; }

    HWND OwnerWindow() const { return owner_; }
    void SetOwnerWindow(HWND owner) { owner_ = owner; }

    // Opens the dialog with the custom-colour part shown (default true).
    bool FullOpen() const { return fullOpen_; }
    void SetFullOpen(bool fullOpen) { fullOpen_ = fullOpen; }

    CustomColors& Custom() { return custom_; }
    const CustomColors& Custom() const { return custom_; }

    // Runs the dialog modally. True when the user confirmed a colour: then Color() and the
    // custom colours hold the user's choices; otherwise both are left as they were.
    bool Show();

private:
    COLORREF color_ = 0;
    HWND owner_ = nullptr;
    bool fullOpen_ = true;
    CustomColors custom_;
};

// The RGB value of a colour; a value with the high bit set names system colour n.
COLORREF ResolveColor(COLORREF color);

}  // namespace support
