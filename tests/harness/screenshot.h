// Pictures of windows for the record: a window as it is on the screen, written as a PNG file.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace bktest {

// Writes the window's screen area (frame included) as a 24-bit PNG. False when it cannot be
// captured or written.
bool SaveWindowPng(HWND window, const std::wstring& file);

// The PNG file bytes of an image given as rows of RGB bytes (width * 3 bytes each, top row
// first). Uncompressed (stored) deflate blocks: the files are for looking at, not for keeping small.
std::vector<std::uint8_t> EncodePng(int width, int height, const std::vector<std::uint8_t>& rgbRows);

// The folder named by BK_SCREENSHOT_DIR, or empty when screenshots are not wanted.
std::wstring ScreenshotFolder();

}  // namespace bktest
