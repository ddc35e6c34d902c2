// The screen's pixels per inch and conversions from twips (1/1440 inch) to pixels.
#pragma once

#include <windows.h>

namespace support {

struct PixelsPerInch {
    int x = 96;
    int y = 96;
};

// LOGPIXELSX and LOGPIXELSY of the screen; 96 for a value the system does not give.
PixelsPerInch ScreenPixelsPerInch();

// Twips as pixels of the screen, horizontally and vertically (rounded to the nearest pixel).
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);

// The height of a font of `points` on the screen, as LOGFONT's lfHeight wants it (negative:
// the character height).
LONG FontHeightForPoints(double points);

}  // namespace support
