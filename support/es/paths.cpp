#include "support/es/paths.h"

namespace support {
namespace {

size_t NameStart(std::wstring_view path) {
    const auto sep = path.find_last_of(L"\\/:");
    return sep == std::wstring_view::npos ? 0 : sep + 1;
}

}  // namespace

std::wstring esGetFileName(std::wstring_view path) { return std::wstring(path.substr(NameStart(path))); }

std::wstring esGetFilePath(std::wstring_view path) {
    const auto sep = path.find_last_of(L"\\/");
    return sep == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, sep));
}

std::wstring esBuildFileName(std::wstring_view folder, std::wstring_view name) {
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.remove_suffix(1);
    while (!name.empty() && (name.front() == L'\\' || name.front() == L'/')) name.remove_prefix(1);
    if (folder.empty()) return std::wstring(name);
    return std::wstring(folder) + L"\\" + std::wstring(name);
}

std::wstring esReplaceFileExtension(std::wstring_view path, std::wstring_view extension) {
    const size_t start = NameStart(path);
    const auto dot = path.find_last_of(L'.');
    std::wstring stem(dot != std::wstring_view::npos && dot >= start ? path.substr(0, dot) : path);
    if (!extension.empty() && extension.front() != L'.') stem += L'.';
    return stem + std::wstring(extension);
}

std::wstring FileBaseName(std::wstring_view path) {
    std::wstring name = esGetFileName(path);
    const auto dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos) name.resize(dot);
    return name;
}

}  // namespace support
