// The preferred base address of an executable image (a program or library in the Portable
// Executable format), read from its headers. Platform-free: the bytes come through a reader,
// so the same checks serve an image in memory (possibly of another process) and test data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace support {

// Copies `size` bytes from `offset` (counted from the start of the image) to `dest`; false
// when they cannot be read.
using ImageReader = std::function<bool(std::uint64_t offset, void* dest, std::size_t size)>;

// The image base its optional header asks for, or nothing when the headers do not have the
// expected shape: the "MZ" mark, a header offset that is positive and below 256 MB (and inside
// `imageSize` when that is known, i.e. not 0), the "PE\0\0" signature, a 32-bit or 64-bit
// optional header whose declared size covers the field, and every byte readable.
std::optional<std::uint64_t> PreferredBaseFromHeaders(const ImageReader& read, std::uint64_t imageSize = 0);

}  // namespace support
