#include "support/as/image_headers.h"

#include <array>

namespace support {
namespace {

// Offsets and marks of the image format (all fields little-endian).
constexpr std::uint16_t kDosMark = 0x5A4D;  // "MZ"
constexpr std::uint64_t kDosHeaderOffsetField = 0x3C;
constexpr std::uint32_t kNtSignature = 0x00004550;  // "PE\0\0"
constexpr std::uint64_t kMaxNtHeaderOffset = 256u * 1024 * 1024;
constexpr std::uint64_t kOptionalSizeField = 4 + 16;  // after the signature, in the file header
constexpr std::uint64_t kOptionalHeader = 4 + 20;     // signature and file header
constexpr std::uint16_t kMagic32 = 0x10B;
constexpr std::uint16_t kMagic64 = 0x20B;
constexpr std::uint64_t kImageBase32 = 28;  // offsets inside the optional header
constexpr std::uint64_t kImageBase64 = 24;

// Reads an unsigned little-endian field of `Bytes` bytes.
template <std::size_t Bytes>
std::optional<std::uint64_t> ReadField(const ImageReader& read, std::uint64_t offset, std::uint64_t imageSize) {
    if (imageSize != 0 && (offset > imageSize || imageSize - offset < Bytes)) return std::nullopt;
    std::array<unsigned char, Bytes> bytes{};
    if (!read(offset, bytes.data(), Bytes)) return std::nullopt;
    std::uint64_t value = 0;
    for (std::size_t i = Bytes; i-- > 0;) value = (value << 8) | bytes[i];
    return value;
}

}  // namespace

std::optional<std::uint64_t> PreferredBaseFromHeaders(const ImageReader& read, std::uint64_t imageSize) {
    if (!read) return std::nullopt;
    const auto mark = ReadField<2>(read, 0, imageSize);
    if (!mark || *mark != kDosMark) return std::nullopt;
    const auto offsetField = ReadField<4>(read, kDosHeaderOffsetField, imageSize);
    if (!offsetField) return std::nullopt;
    // The field is a signed 32-bit value: the high bit set is a negative offset.
    const std::uint64_t nt = *offsetField;
    if (nt == 0 || nt >= kMaxNtHeaderOffset) return std::nullopt;

    const auto signature = ReadField<4>(read, nt, imageSize);
    if (!signature || *signature != kNtSignature) return std::nullopt;
    const auto optionalSize = ReadField<2>(read, nt + kOptionalSizeField, imageSize);
    const auto magic = ReadField<2>(read, nt + kOptionalHeader, imageSize);
    if (!optionalSize || !magic) return std::nullopt;
    const std::uint64_t optional = nt + kOptionalHeader;
    if (*magic == kMagic32) {
        if (*optionalSize < kImageBase32 + 4) return std::nullopt;
        return ReadField<4>(read, optional + kImageBase32, imageSize);
    }
    if (*magic == kMagic64) {
        if (*optionalSize < kImageBase64 + 8) return std::nullopt;
        return ReadField<8>(read, optional + kImageBase64, imageSize);
    }
    return std::nullopt;
}

}  // namespace support
