// String values in the registry, as the support library reads and writes them.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace support {

// The text of string value `valueName` under `root`\`keyPath` (REG_SZ, or REG_EXPAND_SZ
// unexpanded), up to its first null character. `defaultText` when the key or the value is
// missing, the value is not a string, or it cannot be read; `found` (if given) tells which.
std::wstring esReadStringFromRegistry(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                                      std::wstring_view defaultText, bool* found = nullptr);

// Writes `text` as string value `valueName` (REG_SZ), creating the key when needed.
// False when the key cannot be created or opened for writing (for example when the caller
// lacks the rights) or the value cannot be written.
bool esWriteStringToRegistry(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                             std::wstring_view text);

// Deletes value `valueName`. False when the key or the value does not exist or the caller may
// not delete it.
bool esDeleteValueFromRegistry(HKEY root, std::wstring_view keyPath, std::wstring_view valueName);

}  // namespace support
