// Zero-terminated text in a clipboard block that any program may have placed. Platform-free.
#pragma once

#include <cstddef>
#include <string_view>

namespace bk::clipboard {

// The bytes of the text of `unit`-byte characters (1 for ANSI, 2 for UTF-16) at the start of
// `block`: up to its first zero character, or up to the block's end when it has none (an odd
// last byte of UTF-16 is no character).
std::string_view TextBytesOfBlock(std::string_view block, std::size_t unit);

}  // namespace bk::clipboard
