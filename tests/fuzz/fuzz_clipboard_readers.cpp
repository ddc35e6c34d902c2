// The readers of clipboard data that other programs place, on any bytes: the HTML clipboard
// data (HtmlDataOfBlock, HtmlHeaderNumber, SelectHtmlPart), shell file lists (ReadFileList)
// and zero-terminated texts (TextBytesOfBlock). Whatever they return lies inside the block;
// what the builders write reads back as it was given.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lib/clipboard/file_list.h"
#include "lib/clipboard/html_format.h"
#include "lib/clipboard/text_block.h"
#include "support/as/unicode.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using namespace bk::clipboard;

bool Inside(std::string_view piece, std::string_view whole) {
    if (piece.empty()) return true;
    return piece.data() >= whole.data() && piece.data() + piece.size() <= whole.data() + whole.size();
}

std::string WithoutZeros(std::string_view text) {
    std::string out;
    for (char c : text)
        if (c != '\0') out += c;
    return out;
}

void CheckHtmlReaders(std::string_view block) {
    const std::string_view data = HtmlDataOfBlock(block);
    FUZZ_CHECK(data.data() == block.data());
    FUZZ_CHECK(data.find('\0') == std::string_view::npos);
    FUZZ_CHECK(data.size() == block.size() || block[data.size()] == '\0');
    for (long value = 0; value <= 6; ++value) {
        const auto part = static_cast<HtmlPart>(value);
        const auto piece = SelectHtmlPart(data, part);
        if (!piece) continue;
        FUZZ_CHECK(Inside(*piece, data));
        if (part == HtmlPart::Raw) FUZZ_CHECK(piece->size() == data.size());
        // A range part starts where its header number says (or is all the data for the HTML).
        if (value >= 1 && value <= 5 && !piece->empty() && !(part == HtmlPart::Html && piece->size() == data.size())) {
            static const char* starts[] = {
                "", "StartHTML:", "StartHTML:", "EndFragment:", "StartFragment:", "StartSelection:"};
            const auto start = HtmlHeaderNumber(data, starts[value]);
            FUZZ_CHECK(start && *start >= 1);
            FUZZ_CHECK(static_cast<long long>(piece->data() - data.data()) == *start);
        }
    }
}

// A document built of three parts gives each part back, and its header's SourceURL is none.
void CheckHtmlRoundTrip(std::string_view input) {
    const auto fields = fuzz::Fields<char>(input, '\x01', 3);
    const std::string fragment = WithoutZeros(fields[0]), start = WithoutZeros(fields[1]),
                      end = WithoutZeros(fields[2]);
    const HtmlDocument doc = BuildHtmlDocument(fragment, start, end);
    FUZZ_CHECK(HtmlHeaderNumber(doc.data, "StartHTML:") == 105);
    FUZZ_CHECK(HtmlHeaderNumber(doc.data, "EndHTML:") == static_cast<long long>(doc.data.size()));
    FUZZ_CHECK(SelectHtmlPart(doc.data, HtmlPart::Fragment) == std::string_view(fragment));
    FUZZ_CHECK(SelectHtmlPart(doc.data, HtmlPart::ContextStart) == std::string_view(doc.startContext));
    FUZZ_CHECK(SelectHtmlPart(doc.data, HtmlPart::ContextEnd) == std::string_view(doc.endContext));
    FUZZ_CHECK(doc.startContext == start + std::string(kStartFragmentMark));
    FUZZ_CHECK(doc.endContext == std::string(kEndFragmentMark) + end);
    FUZZ_CHECK(SelectHtmlPart(doc.data, HtmlPart::SourceUrl) == std::string_view());
}

void CheckFileListReader(std::string_view block) {
    const FileList list = ReadFileList(block);
    if (block.size() < kFileListHeaderSize) {
        FUZZ_CHECK(list.status == FileListStatus::TooSmall);
        return;
    }
    const std::uint32_t offset = static_cast<std::uint8_t>(block[0]) | static_cast<std::uint8_t>(block[1]) << 8 |
                                 static_cast<std::uint8_t>(block[2]) << 16 |
                                 static_cast<std::uint32_t>(static_cast<std::uint8_t>(block[3])) << 24;
    FUZZ_CHECK((list.status == FileListStatus::OffsetPastEnd) == (offset > block.size()));
    const std::size_t unit = list.wide ? 2 : 1;
    for (std::string_view name : list.names) {
        FUZZ_CHECK(Inside(name, block));
        FUZZ_CHECK(!name.empty() && name.size() % unit == 0);
        FUZZ_CHECK(static_cast<std::size_t>(name.data() - block.data()) >= offset);
        FUZZ_CHECK((name.data() - block.data() - offset) % unit == 0);
        bool blank = true;
        for (std::size_t i = 0; i < name.size(); i += unit) {
            const bool zero = name[i] == '\0' && (unit == 1 || name[i + 1] == '\0');
            FUZZ_CHECK(!zero);
            blank = blank && name[i] == ' ' && (unit == 1 || name[i + 1] == '\0');
        }
        FUZZ_CHECK(!blank);
    }
}

// Lists built of the input's lines read back as those lines, empty and blank ones left out.
void CheckFileListRoundTrip(std::string_view input) {
    std::vector<std::string> ansi;
    std::vector<std::wstring> wide;
    std::vector<std::string> wanted, wantedWide;
    for (std::string_view line : fuzz::Fields<char>(input, '\n', 16)) {
        const std::string name = WithoutZeros(line);
        std::wstring wideName;
        for (wchar_t c : fuzz::WideFromBytes(name))
            if (c != L'\0') wideName += c;
        ansi.push_back(name);
        wide.push_back(wideName);
        if (name.find_first_not_of(' ') != std::string::npos) wanted.push_back(name);
        if (wideName.find_first_not_of(L' ') != std::wstring::npos)
            wantedWide.push_back(support::Utf16LeBytes(wideName));
    }
    const std::string ansiBlock = BuildAnsiFileList(ansi);
    const FileList ansiList = ReadFileList(ansiBlock);
    FUZZ_CHECK(ansiList.status == FileListStatus::Ok && !ansiList.wide);
    FUZZ_CHECK(std::vector<std::string>(ansiList.names.begin(), ansiList.names.end()) == wanted);
    const std::string wideBlock = BuildWideFileList(wide);
    const FileList wideList = ReadFileList(wideBlock);
    FUZZ_CHECK(wideList.status == FileListStatus::Ok && wideList.wide);
    FUZZ_CHECK(std::vector<std::string>(wideList.names.begin(), wideList.names.end()) == wantedWide);
}

void CheckTextBlocks(std::string_view block) {
    for (std::size_t unit : {1u, 2u}) {
        const std::string_view text = TextBytesOfBlock(block, unit);
        FUZZ_CHECK(text.data() == block.data() && text.size() % unit == 0);
        for (std::size_t i = 0; i < text.size(); i += unit)
            FUZZ_CHECK(!(text[i] == '\0' && (unit == 1 || text[i + 1] == '\0')));
        const bool toTheEnd = block.size() - text.size() < unit;
        FUZZ_CHECK(toTheEnd || (block[text.size()] == '\0' && (unit == 1 || block[text.size() + 1] == '\0')));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A copy of the input's own size, so that any read past it is a read past the memory.
    const std::string block(fuzz::Bytes(data, size));
    CheckHtmlReaders(block);
    CheckHtmlRoundTrip(block);
    CheckFileListReader(block);
    CheckFileListRoundTrip(block);
    CheckTextBlocks(block);
    return 0;
}
