// The preferred base address read from an image's headers, with headers of every wrong shape.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "support/as/image_headers.h"

namespace support {
namespace {

// Image headers laid out byte by byte (little-endian), as a linker writes them.
class Image {
public:
    static constexpr std::uint32_t kNt = 0x80;

    Image(bool pe32Plus, std::uint64_t imageBase) : bytes_(0x200, 0) {
        Put16(0, 0x5A4D);  // "MZ"
        Put32(0x3C, kNt);
        Put32(kNt, 0x00004550);  // "PE\0\0"
        Put16(kNt + 4, pe32Plus ? 0x8664 : 0x14C);
        Put16(kNt + 20, pe32Plus ? 0xF0 : 0xE0);  // size of the optional header
        Put16(kNt + 24, pe32Plus ? 0x20B : 0x10B);
        if (pe32Plus) {
            Put32(kNt + 24 + 24, static_cast<std::uint32_t>(imageBase));
            Put32(kNt + 24 + 28, static_cast<std::uint32_t>(imageBase >> 32));
        } else {
            Put32(kNt + 24 + 28, static_cast<std::uint32_t>(imageBase));
        }
    }

    void Put16(std::size_t at, std::uint16_t v) { Put(at, v, 2); }
    void Put32(std::size_t at, std::uint32_t v) { Put(at, v, 4); }

    // A reader over the bytes that refuses anything beyond `readable` (the end of the
    // headers by default) and remembers the furthest byte it was asked for.
    ImageReader Reader(std::size_t readable = 0) {
        if (readable == 0) readable = bytes_.size();
        return [this, readable](std::uint64_t offset, void* dest, std::size_t size) {
            if (offset + size > furthest_) furthest_ = offset + size;
            if (offset > readable || readable - offset < size) return false;
            std::memcpy(dest, bytes_.data() + offset, size);
            return true;
        };
    }
    std::uint64_t furthest() const { return furthest_; }

private:
    void Put(std::size_t at, std::uint32_t v, int n) {
        for (int i = 0; i < n; ++i) bytes_[at + static_cast<std::size_t>(i)] = static_cast<unsigned char>(v >> (8 * i));
    }
    std::vector<unsigned char> bytes_;
    std::uint64_t furthest_ = 0;
};

TEST(ImageHeaders, ThirtyTwoAndSixtyFourBitImagesGiveTheirImageBase) {
    Image pe32(false, 0x00400000);
    EXPECT_EQ(PreferredBaseFromHeaders(pe32.Reader()), 0x00400000u);
    Image pe32Plus(true, 0x0000000140000000ull);
    EXPECT_EQ(PreferredBaseFromHeaders(pe32Plus.Reader()), 0x0000000140000000ull);
    // Header offsets other than the linker's usual one.
    Image moved(false, 0x10000000);
    moved.Put32(0x3C, 0x100);
    moved.Put32(0x100, 0x00004550);
    moved.Put16(0x100 + 20, 0xE0);
    moved.Put16(0x100 + 24, 0x10B);
    moved.Put32(0x100 + 24 + 28, 0x10000000);
    EXPECT_EQ(PreferredBaseFromHeaders(moved.Reader()), 0x10000000u);
}

TEST(ImageHeaders, HeadersOfAnotherShapeGiveNothing) {
    {
        Image image(true, 0x140000000ull);
        image.Put16(0, 0x4D5A);  // "ZM"
        EXPECT_FALSE(PreferredBaseFromHeaders(image.Reader()));
    }
    {
        Image image(true, 0x140000000ull);
        image.Put32(Image::kNt, 0x00004550 + 1);
        EXPECT_FALSE(PreferredBaseFromHeaders(image.Reader()));
    }
    {
        Image image(true, 0x140000000ull);
        image.Put16(Image::kNt + 24, 0x107);  // a ROM image's optional header
        EXPECT_FALSE(PreferredBaseFromHeaders(image.Reader()));
    }
    {
        // An optional header declared too short to hold the field.
        Image image(true, 0x140000000ull);
        image.Put16(Image::kNt + 20, 24 + 7);
        EXPECT_FALSE(PreferredBaseFromHeaders(image.Reader()));
        Image small(false, 0x400000);
        small.Put16(Image::kNt + 20, 28 + 3);
        EXPECT_FALSE(PreferredBaseFromHeaders(small.Reader()));
    }
}

TEST(ImageHeaders, AHeaderOffsetOutOfBoundsIsNotFollowed) {
    for (const std::uint32_t offset : {0u, 0x80000000u, 0xFFFFFFFFu, 0x10000000u}) {
        Image image(true, 0x140000000ull);
        image.Put32(0x3C, offset);
        EXPECT_FALSE(PreferredBaseFromHeaders(image.Reader())) << offset;
        EXPECT_LE(image.furthest(), 0x40u) << "nothing read past the DOS header for offset " << offset;
    }
    // Inside 256 MB but beyond the image's size, when that is known.
    Image image(true, 0x140000000ull);
    image.Put32(0x3C, 0x1000);
    EXPECT_FALSE(PreferredBaseFromHeaders(image.Reader(), 0x800));
    EXPECT_LE(image.furthest(), 0x40u);
    // The whole header must lie inside the size: the field itself past the end fails.
    Image cut(true, 0x140000000ull);
    EXPECT_FALSE(PreferredBaseFromHeaders(cut.Reader(), Image::kNt + 24 + 24 + 4));
    EXPECT_EQ(PreferredBaseFromHeaders(cut.Reader(), Image::kNt + 24 + 24 + 8), 0x140000000ull);
}

TEST(ImageHeaders, UnreadableBytesAndNoReaderGiveNothing) {
    Image image(true, 0x140000000ull);
    EXPECT_FALSE(PreferredBaseFromHeaders(image.Reader(0x3E)));  // the offset field cut
    EXPECT_FALSE(PreferredBaseFromHeaders(image.Reader(Image::kNt + 2)));
    EXPECT_FALSE(PreferredBaseFromHeaders(image.Reader(Image::kNt + 24 + 24 + 7)));
    EXPECT_FALSE(PreferredBaseFromHeaders(ImageReader()));
}

}  // namespace
}  // namespace support
