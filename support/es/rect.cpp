#include "support/es/rect.h"

#include <utility>

namespace support {

Rect esNormalizeRect(const Rect& rect) {
    Rect r = rect;
    if (r.left > r.right) std::swap(r.left, r.right);
    if (r.top > r.bottom) std::swap(r.top, r.bottom);
    return r;
}

}  // namespace support
