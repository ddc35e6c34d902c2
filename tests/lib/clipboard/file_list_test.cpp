// Shell file lists: the header and names as written, and what a reader makes of lists other
// programs placed (padded, cut short, odd-sized, with offsets of any value).
#include <gtest/gtest.h>

#include <vector>

#include "lib/clipboard/file_list.h"
#include "support/as/unicode.h"

using namespace bk::clipboard;

namespace {

std::string Header(std::uint32_t offset, std::uint32_t wide) {
    std::string h;
    for (std::uint32_t field : {offset, 0u, 0u, 0u, wide})
        for (int shift = 0; shift < 32; shift += 8) h += static_cast<char>((field >> shift) & 0xFF);
    return h;
}

std::string Wide(const std::wstring& text) { return support::Utf16LeBytes(text); }

std::vector<std::wstring> WideNames(const FileList& list) {
    std::vector<std::wstring> names;
    for (auto name : list.names) names.push_back(support::TextFromUtf16Le(name));
    return names;
}

std::vector<std::string> AnsiNames(const FileList& list) { return {list.names.begin(), list.names.end()}; }

}  // namespace

TEST(FileListLayout, WideAndAnsiListsAsTheShellReadsThem) {
    const std::vector<std::wstring> names{L"C:\\a.txt", L"D:\\\u0414\u0430\u043D\u043D\u044B\u0435\\b.jpg"};
    EXPECT_EQ(Header(20, 1) + Wide(names[0]) + std::string(2, '\0') + Wide(names[1]) + std::string(4, '\0'),
              BuildWideFileList(names));
    const std::vector<std::string> ansi{"C:\\a.txt", "C:\\b c.txt"};
    EXPECT_EQ(Header(20, 0) + "C:\\a.txt" + std::string(1, '\0') + "C:\\b c.txt" + std::string(2, '\0'),
              BuildAnsiFileList(ansi));

    const std::string wideBlock = BuildWideFileList(names);  // the names are views into it
    const FileList wide = ReadFileList(wideBlock);
    EXPECT_EQ(FileListStatus::Ok, wide.status);
    EXPECT_TRUE(wide.wide);
    EXPECT_EQ(names, WideNames(wide));
    const std::string ansiBlock = BuildAnsiFileList(ansi);
    const FileList narrow = ReadFileList(ansiBlock);
    EXPECT_FALSE(narrow.wide);
    EXPECT_EQ(ansi, AnsiNames(narrow));
}

TEST(FileListLayout, EmptyNamesAreLeftOutSoNoNameAfterThemIsLost) {
    const std::vector<std::wstring> names{L"", L"a", L"", L"b"};
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"b"}), WideNames(ReadFileList(BuildWideFileList(names))));
    EXPECT_EQ(Header(20, 1) + std::string(2, '\0'), BuildWideFileList(std::vector<std::wstring>{L""}));
}

TEST(FileListReading, PaddingAndBytesAfterTheListAreNoNames) {
    // Zero padding, and a block the system rounded up with leftovers after the list's end.
    const std::string list = Header(20, 1) + Wide(L"a.txt") + std::string(4, '\0');
    EXPECT_EQ(std::vector<std::wstring>{L"a.txt"}, WideNames(ReadFileList(list + std::string(12, '\0'))));
    EXPECT_EQ(std::vector<std::wstring>{L"a.txt"}, WideNames(ReadFileList(list + Wide(L"junk"))));
    // Names of blanks only are skipped; the list goes on after them.
    const std::string blanks = Header(20, 0) + std::string("  \0x\0   \0y\0\0", 12);
    EXPECT_EQ((std::vector<std::string>{"x", "y"}), AnsiNames(ReadFileList(blanks)));
    // Blanks around a name stay part of it.
    EXPECT_EQ(std::vector<std::string>{" p "}, AnsiNames(ReadFileList(Header(20, 0) + std::string(" p \0\0", 5))));
}

TEST(FileListReading, ListsCutShortKeepEveryWholeName) {
    // No terminators at all: the last name ends with the block.
    EXPECT_EQ((std::vector<std::wstring>{L"a", L"bc"}),
              WideNames(ReadFileList(Header(20, 1) + Wide(L"a") + std::string(2, '\0') + Wide(L"bc"))));
    EXPECT_EQ(std::vector<std::string>{"abc"}, AnsiNames(ReadFileList(Header(20, 0) + "abc")));
    // An odd byte count: the last byte is half a character, the name before it stays whole.
    EXPECT_EQ(std::vector<std::wstring>{L"ab"}, WideNames(ReadFileList(Header(20, 1) + Wide(L"ab") + "c")));
    EXPECT_EQ(std::vector<std::wstring>{L"ab"},
              WideNames(ReadFileList(Header(20, 1) + Wide(L"ab") + std::string(3, '\0'))));
    // Units are read from the offset on, even an odd one.
    EXPECT_EQ(std::vector<std::wstring>{L"q"}, WideNames(ReadFileList(Header(21, 1) + "!" + Wide(L"q"))));
}

TEST(FileListReading, HeaderSizesAndOffsets) {
    EXPECT_EQ(FileListStatus::TooSmall, ReadFileList(Header(20, 1).substr(0, 19)).status);
    const FileList bare = ReadFileList(Header(20, 1));  // exactly the header: no names
    EXPECT_EQ(FileListStatus::Ok, bare.status);
    EXPECT_TRUE(bare.names.empty());
    EXPECT_EQ(FileListStatus::Ok, ReadFileList(Header(24, 0) + std::string("ab\0\0", 4)).status);  // offset at the end
    EXPECT_EQ(FileListStatus::OffsetPastEnd, ReadFileList(Header(25, 0) + std::string("ab\0\0", 4)).status);
    EXPECT_EQ(FileListStatus::OffsetPastEnd, ReadFileList(Header(0xFFFFFFFFu, 1) + "ab").status);
    // Names placed after a gap: the offset says where they begin.
    EXPECT_EQ(std::vector<std::string>{"far"}, AnsiNames(ReadFileList(Header(28, 0) + "XXXXXXXX" + "far")));
    // Any non-zero wide flag means UTF-16.
    EXPECT_TRUE(ReadFileList(Header(20, 7)).wide);
}
