// The readers of clipboard data other programs placed: texts with and without their zero, and
// a few thousand random blocks from a
// fixed seed: they end, and whatever they return lies inside the block (inside the data before
// its first zero for the HTML format). Random blocks are built around real layouts, with
// numbers and offsets of any value, so most of them get past the headers.
#include <gtest/gtest.h>

#include <chrono>
#include <random>

#include "lib/clipboard/file_list.h"
#include "lib/clipboard/html_format.h"
#include "lib/clipboard/text_block.h"

using namespace bk::clipboard;

namespace {

bool Inside(std::string_view piece, std::string_view whole) {
    if (piece.empty()) return true;
    return piece.data() >= whole.data() && piece.data() + piece.size() <= whole.data() + whole.size();
}

std::string Number(std::mt19937& random) {
    switch (random() % 6) {
    case 0: return std::to_string(random() % 400);  // short
    case 1: return std::to_string(-static_cast<long>(random() % 100));
    case 2: return "9999999999";
    case 3: return "abcdefghij";
    default: {
        std::string ten = std::to_string(random() % 300);
        ten.insert(0, 10 - ten.size(), '0');
        return ten;
    }
    }
}

std::string RandomHtmlBlock(std::mt19937& random) {
    static const char* keys[] = {"Version:",     "StartHTML:",      "EndHTML:",      "StartFragment:",
                                 "EndFragment:", "StartSelection:", "EndSelection:", "SourceURL:"};
    std::string block;
    const int lines = static_cast<int>(random() % 9);
    for (int i = 0; i < lines; ++i) {
        block += keys[random() % 8];
        block += Number(random);
        if (random() % 4) block += "\r\n";
    }
    const size_t tail = random() % 200;
    for (size_t i = 0; i < tail; ++i)
        block += static_cast<char>(random() % 5 == 0 ? random() % 256 : 'a' + random() % 26);
    // Flip a few bytes anywhere, zeros included.
    for (int flips = static_cast<int>(random() % 4); flips > 0 && !block.empty(); --flips)
        block[random() % block.size()] = static_cast<char>(random() % 256);
    return block;
}

std::string RandomFileListBlock(std::mt19937& random) {
    std::string block;
    const std::uint32_t offset = random() % 3 == 0 ? random() : 16 + random() % 40;
    const std::uint32_t wide = random() % 3;
    for (std::uint32_t field : {offset, 0u, 0u, 0u, wide})
        for (int shift = 0; shift < 32; shift += 8) block += static_cast<char>((field >> shift) & 0xFF);
    const size_t tail = random() % 120;
    for (size_t i = 0; i < tail; ++i) block += static_cast<char>(random() % 3 == 0 ? 0 : random() % 256);
    block.resize(random() % 8 == 0 ? random() % (block.size() + 1) : block.size());  // sometimes cut short
    return block;
}

}  // namespace

TEST(ClipboardReaders, RandomBlocksNeverReadOutsideTheBlock) {
    std::mt19937 random(20240611);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    int htmlParts = 0, fileNames = 0;
    for (int round = 0; round < 4000 && std::chrono::steady_clock::now() < deadline; ++round) {
        // Each block in memory of its own size, so that a read past it is a read past the memory.
        const std::string html = RandomHtmlBlock(random);
        const std::string_view data = HtmlDataOfBlock(html);
        ASSERT_TRUE(Inside(data, html));
        ASSERT_EQ(std::string_view::npos, data.find('\0'));
        for (long part = 0; part <= 6; ++part) {
            const auto piece = SelectHtmlPart(data, static_cast<HtmlPart>(part));
            if (!piece) continue;
            ASSERT_TRUE(Inside(*piece, data)) << "part " << part << " of block " << round;
            htmlParts += !piece->empty();
        }

        const std::string files = RandomFileListBlock(random);
        const FileList list = ReadFileList(files);
        for (std::string_view name : list.names) {
            ASSERT_TRUE(Inside(name, files)) << "block " << round;
            ASSERT_FALSE(name.empty());
            ASSERT_EQ(0u, list.wide ? name.size() % 2 : 0u);
            ++fileNames;
        }
        for (std::size_t unit : {1u, 2u}) {
            const std::string_view text = TextBytesOfBlock(files, unit);
            ASSERT_TRUE(Inside(text, files));
            ASSERT_EQ(0u, text.size() % unit);
        }
        if (list.status == FileListStatus::OffsetPastEnd) {
            ASSERT_TRUE(list.names.empty());
        }
    }
    // The blocks got past the headers often enough to mean something.
    EXPECT_GT(htmlParts, 1000);
    EXPECT_GT(fileNames, 1000);
}

TEST(ClipboardReaders, TextEndsAtItsZeroOrAtTheBlocksEnd) {
    EXPECT_EQ("ab", TextBytesOfBlock(std::string_view("ab\0cd", 5), 1));
    EXPECT_EQ("abc", TextBytesOfBlock("abc", 1));  // no zero: the whole block
    EXPECT_EQ("", TextBytesOfBlock(std::string_view("\0", 1), 1));
    // UTF-16: a zero character is two zero bytes on a character boundary.
    EXPECT_EQ(std::string_view("a\0\0b", 4), TextBytesOfBlock(std::string_view("a\0\0b\0\0", 6), 2));
    EXPECT_EQ(std::string_view("x\0y\0", 4), TextBytesOfBlock(std::string_view("x\0y\0z", 5), 2));  // odd end
    EXPECT_EQ("", TextBytesOfBlock("z", 2));
}
