// Choosing how the bytes of a text file become text: byte-order marks, UTF-8 recognition and
// the code page a read mode falls back to. Platform-free; the conversions themselves are done
// by the caller with the system's code pages.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace support {

enum class TextEncoding {
    AnsiCodePage,  // the system's ANSI code page
    OemCodePage,   // the system's OEM (console) code page
    Utf8,
    Utf16LE,
    Utf16BE,
};

// Read modes of TextFileIO.ReadTextFile.
enum TextReadMode : long {
    kReadAnsi = 0,     // plain text in the ANSI code page
    kReadConsole = 1,  // a captured console stream: OEM code page, or UTF-8 when the bytes are UTF-8
    kReadUtf8 = 2,     // UTF-8 (ExifTool's result file)
};

struct TextEncodingChoice {
    TextEncoding encoding = TextEncoding::AnsiCodePage;
    size_t bomLength = 0;  // bytes of the byte-order mark to skip
};

// A byte-order mark decides first (UTF-8, UTF-16 LE or BE). Without one: kReadUtf8 reads
// UTF-8; kReadConsole reads UTF-8 when the bytes are well-formed UTF-8 with at least one
// multi-byte sequence (ExifTool writes UTF-8 to the console), the OEM code page otherwise;
// every other mode reads the ANSI code page.
TextEncodingChoice ChooseTextEncoding(std::string_view bytes, long mode);

// True when the bytes are well-formed UTF-8 (no overlong forms, surrogates or values past
// U+10FFFF). `multiByte` (optional) tells whether any sequence is longer than one byte.
bool IsWellFormedUtf8(std::string_view bytes, bool* multiByte = nullptr);

// The UTF-8 byte-order mark.
inline constexpr std::string_view kUtf8Bom{"\xEF\xBB\xBF", 3};

}  // namespace support
