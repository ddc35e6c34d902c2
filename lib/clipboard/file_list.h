// The shell's file-drop clipboard data (format 15): building a list and reading one that any
// program placed. Platform-free.
//
// The layout: a 20-byte header of five 32-bit little-endian fields (offset of the name list,
// drop point x and y, non-client flag, wide flag), then the names, each ended by a zero
// character (two zero bytes when wide), and one more zero character after the last.
//
// Reading takes untrusted bytes: it stops at the block's end whether or not the list is
// terminated, and a wide list with an odd byte count keeps every whole character.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace bk::clipboard {

inline constexpr std::size_t kFileListHeaderSize = 20;

// A list of UTF-16 names (wide flag 1) and one of names already in the ANSI code page (wide
// flag 0). Empty names are left out: the first empty name ends a list for every reader, so
// the names after it would be lost.
std::string BuildWideFileList(std::span<const std::wstring> names);
std::string BuildAnsiFileList(std::span<const std::string> names);

enum class FileListStatus {
    Ok,
    TooSmall,       // shorter than the header
    OffsetPastEnd,  // the header's name-list offset lies beyond the block's end
};

struct FileList {
    FileListStatus status = FileListStatus::TooSmall;
    bool wide = false;
    // Each name's bytes (UTF-16 little-endian when wide, else ANSI), pieces of the block itself.
    std::vector<std::string_view> names;
};

// The names of a block, in order: from the name-list offset up to the empty name that ends
// the list, or up to the block's end; names that are blank (nothing but spaces) are skipped.
// Bytes after the list's end (a block the system rounded up, padding) are not names.
FileList ReadFileList(std::string_view block);

}  // namespace bk::clipboard
