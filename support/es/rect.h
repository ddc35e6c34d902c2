// Rectangles of the support library. Platform-free: the edges are 32-bit signed pixel
// coordinates, laid out like the system's RECT.
#pragma once

#include <cstdint>

namespace support {

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend bool operator==(const Rect&, const Rect&) = default;
};

// The rectangle with its edges in order: left <= right, top <= bottom.
Rect esNormalizeRect(const Rect& rect);

}  // namespace support
