#include "lib/clipboard/file_list.h"

#include <cstdint>

#include "support/as/unicode.h"

namespace bk::clipboard {
namespace {

void PutField(std::string& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out += static_cast<char>((value >> shift) & 0xFF);
}

std::uint32_t FieldAt(std::string_view block, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<std::uint8_t>(block[offset + i]);
    return value;
}

std::string Header(bool wide) {
    std::string header;
    header.reserve(kFileListHeaderSize);
    PutField(header, kFileListHeaderSize);  // the names follow the header
    PutField(header, 0);                    // drop point x
    PutField(header, 0);                    // drop point y
    PutField(header, 0);                    // not in the non-client area
    PutField(header, wide ? 1 : 0);
    return header;
}

// A name of nothing but blanks (U+0020 / 0x20).
bool IsBlank(std::string_view name, std::size_t unit) {
    for (std::size_t i = 0; i < name.size(); i += unit) {
        if (name[i] != ' ') return false;
        if (unit == 2 && name[i + 1] != '\0') return false;
    }
    return true;
}

}  // namespace

std::string BuildWideFileList(std::span<const std::wstring> names) {
    std::string data = Header(true);
    for (const std::wstring& name : names) {
        if (name.empty()) continue;
        data += support::Utf16LeBytes(name);
        data.append(2, '\0');
    }
    data.append(2, '\0');
    return data;
}

std::string BuildAnsiFileList(std::span<const std::string> names) {
    std::string data = Header(false);
    for (const std::string& name : names) {
        if (name.empty()) continue;
        data += name;
        data += '\0';
    }
    data += '\0';
    return data;
}

FileList ReadFileList(std::string_view block) {
    FileList list;
    if (block.size() < kFileListHeaderSize) return list;
    const std::uint32_t offset = FieldAt(block, 0);
    list.wide = FieldAt(block, 16) != 0;
    if (offset > block.size()) {
        list.status = FileListStatus::OffsetPastEnd;
        return list;
    }
    list.status = FileListStatus::Ok;
    const std::size_t unit = list.wide ? 2 : 1;
    std::string_view names = block.substr(offset);
    names = names.substr(0, names.size() / unit * unit);  // an odd last byte is no character
    std::size_t at = 0;
    while (at < names.size()) {
        std::size_t end = at;
        while (end < names.size() && (names[end] != '\0' || (unit == 2 && names[end + 1] != '\0'))) end += unit;
        if (end == at) break;  // the empty name: the list's end
        const std::string_view name = names.substr(at, end - at);
        if (!IsBlank(name, unit)) list.names.push_back(name);
        at = end + unit;
    }
    return list;
}

}  // namespace bk::clipboard
