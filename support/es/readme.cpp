#include "support/es/readme.h"

#include <windows.h>
#include <shellapi.h>

#include "support/es/fileops.h"
#include "support/es/paths.h"

namespace support {

std::wstring ReadMeFileName() {
    return esReplaceFileExtension(esGetModuleFileName(nullptr, true), L"html");
}

bool esOpenReadMeFile(long) {
    const std::wstring file = ReadMeFileName();
    if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    const auto result = reinterpret_cast<INT_PTR>(
        ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, esGetFilePath(file).c_str(), SW_SHOWNORMAL));
    return result > 32;
}

}  // namespace support
