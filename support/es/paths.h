// Path helpers of the support library. Platform-free: paths are texts with "\" or "/"
// as folder separators.
#pragma once

#include <string>
#include <string_view>

namespace support {

// The file-name part: the text after the last folder separator (or drive colon).
std::wstring esGetFileName(std::wstring_view path);
// The folder part: the text before the last folder separator (without it).
std::wstring esGetFilePath(std::wstring_view path);
// Folder and name joined with exactly one "\" between them.
std::wstring esBuildFileName(std::wstring_view folder, std::wstring_view name);
// The path with the extension of its file-name part (from its last dot) replaced by `extension`
// (given with or without its dot); a name without a dot gets the extension appended.
std::wstring esReplaceFileExtension(std::wstring_view path, std::wstring_view extension);
// The file-name part without its extension.
std::wstring FileBaseName(std::wstring_view path);

}  // namespace support
