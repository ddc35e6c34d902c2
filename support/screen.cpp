#include "support/screen.h"

namespace support {
namespace {

double TwipsPerPixel(int index) {
    HDC dc = GetDC(nullptr);
    const int perInch = dc ? GetDeviceCaps(dc, index) : 0;
    if (dc) ReleaseDC(nullptr, dc);
    return 1440.0 / (perInch > 0 ? perInch : 96);
}

}  // namespace

int esScreenWidthPx() { return GetSystemMetrics(SM_CXSCREEN); }
int esScreenHeightPx() { return GetSystemMetrics(SM_CYSCREEN); }

double esScreenTwipsPerPixelX() { return TwipsPerPixel(LOGPIXELSX); }
double esScreenTwipsPerPixelY() { return TwipsPerPixel(LOGPIXELSY); }

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
