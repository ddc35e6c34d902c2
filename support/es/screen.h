// The screen's size and its twips-per-pixel factors, and centring a window on it.
// A twip is 1/1440 inch; the factors come from the screen's pixels per inch.
#pragma once

#include <windows.h>

namespace support {

// Size of the primary screen in pixels.
int esScreenWidthPx();
int esScreenHeightPx();

// Twips per pixel: 1440 / LOGPIXELSX (LOGPIXELSY) of the screen; 15 at 96 pixels per inch.
double esScreenTwipsPerPixelX();
double esScreenTwipsPerPixelY();

// Centres a top-level window on the primary screen (flags: 0, no others are defined).
// Returns whether the window was moved.
bool esCenterFormEx(HWND window, long flags);

}  // namespace support
