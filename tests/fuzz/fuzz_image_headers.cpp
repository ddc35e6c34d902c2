// support::PreferredBaseFromHeaders on any bytes: reads stay inside what the reader holds, the
// result does not depend on whether the image size is given (the reader ends at the same
// place), and a value comes back only when the bytes have the documented shape, and then it is
// the field at its place.
#include <cstdint>
#include <cstring>
#include <optional>

#include "support/as/image_headers.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

std::uint64_t Little(const std::uint8_t* data, std::size_t at, std::size_t bytes) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i) value |= static_cast<std::uint64_t>(data[at + i]) << (8 * i);
    return value;
}

// The image base by the format's description, looked up field by field with bounds checks.
std::optional<std::uint64_t> Reference(const std::uint8_t* data, std::size_t size) {
    if (size < 0x40 || Little(data, 0, 2) != 0x5A4D) return std::nullopt;
    const std::uint64_t nt = Little(data, 0x3C, 4);
    if (nt == 0 || nt >= 0x10000000 || nt + 26 > size) return std::nullopt;
    if (Little(data, nt, 4) != 0x00004550) return std::nullopt;
    const std::uint64_t optionalSize = Little(data, nt + 20, 2);
    const std::uint64_t magic = Little(data, nt + 24, 2);
    const std::uint64_t field = magic == 0x10B ? nt + 24 + 28 : nt + 24 + 24;
    const std::size_t width = magic == 0x10B ? 4 : 8;
    if (magic != 0x10B && magic != 0x20B) return std::nullopt;
    if (optionalSize < field + width - (nt + 24) || field + width > size) return std::nullopt;
    return Little(data, field, width);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint64_t furthest = 0;
    const support::ImageReader read = [&](std::uint64_t offset, void* dest, std::size_t bytes) {
        if (offset + bytes > furthest) furthest = offset + bytes;
        if (offset > size || size - offset < bytes) return false;
        std::memcpy(dest, data + offset, bytes);
        return true;
    };
    const auto unbounded = support::PreferredBaseFromHeaders(read);
    FUZZ_CHECK(unbounded == Reference(data, size));

    furthest = 0;
    const auto bounded = support::PreferredBaseFromHeaders(read, size);
    FUZZ_CHECK(bounded == unbounded);
    FUZZ_CHECK(size == 0 || furthest <= size);  // with the size given, nothing past it is asked for
    return 0;
}
