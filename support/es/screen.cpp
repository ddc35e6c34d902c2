#include "support/es/screen.h"

#include "support/win/screen_dpi.h"

namespace support {

int esScreenWidthPx() { return GetSystemMetrics(SM_CXSCREEN); }
int esScreenHeightPx() { return GetSystemMetrics(SM_CYSCREEN); }

double esScreenTwipsPerPixelX() { return 1440.0 / ScreenPixelsPerInch().x; }
double esScreenTwipsPerPixelY() { return 1440.0 / ScreenPixelsPerInch().y; }

bool esCenterFormEx(HWND window, long /*flags*/) {
    RECT r{};
    if (!window || !GetWindowRect(window, &r)) return false;
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    const int left = (esScreenWidthPx() - width) / 2;
    const int top = (esScreenHeightPx() - height) / 2;
    return SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) != FALSE;
}

}  // namespace support
