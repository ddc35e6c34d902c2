// Text in the system's single- and double-byte code pages: the ANSI code page of the
// program's system locale and the OEM code page of its consoles.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace support {

// The text in the ANSI code page (characters it lacks become its default character).
std::string AnsiFromText(std::wstring_view text);
// The text in the OEM code page.
std::string asAnsiToOem(std::wstring_view text);
// The text of bytes in the ANSI code page.
std::wstring TextFromAnsi(std::string_view bytes);

}  // namespace support
