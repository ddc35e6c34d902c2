#include "support/win/screen_dpi.h"

#include <cmath>

#include "support/win/owner.h"

namespace support {

PixelsPerInch ScreenPixelsPerInch() {
    PixelsPerInch dpi;
    const WindowDC screen = GetWindowDC(nullptr);
    if (!screen) return dpi;
    const int x = GetDeviceCaps(screen.get().dc, LOGPIXELSX);
    const int y = GetDeviceCaps(screen.get().dc, LOGPIXELSY);
    if (x > 0) dpi.x = x;
    if (y > 0) dpi.y = y;
    return dpi;
}

int TwipsToPixelsX(int twips) { return MulDiv(twips, ScreenPixelsPerInch().x, 1440); }
int TwipsToPixelsY(int twips) { return MulDiv(twips, ScreenPixelsPerInch().y, 1440); }

LONG FontHeightForPoints(double points) {
    return -static_cast<LONG>(std::lround(points * ScreenPixelsPerInch().y / 72.0));
}

}  // namespace support
