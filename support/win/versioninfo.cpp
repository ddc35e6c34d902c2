#include "support/win/versioninfo.h"

#include <cwchar>

namespace support {

VersionInfo::VersionInfo(const std::wstring& file) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return;
    data_.resize(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data_.data())) return;
    void* block = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data_.data(), L"\\VarFileInfo\\Translation", &block, &length) && length >= 4) {
        const WORD* pair = static_cast<const WORD*>(block);
        language_ = pair[0];
        codePage_ = pair[1];
    }
    if (VerQueryValueW(data_.data(), L"\\", &block, &length) && length >= sizeof(VS_FIXEDFILEINFO))
        fixed_ = static_cast<const VS_FIXEDFILEINFO*>(block);
}

std::wstring VersionInfo::String(std::wstring_view name) const {
    if (!ok()) return {};
    wchar_t path[128];
    std::swprintf(path, std::size(path), L"\\StringFileInfo\\%04x%04x\\%.*ls", language_, codePage_,
                  static_cast<int>(name.size()), name.data());
    void* value = nullptr;
    UINT length = 0;
    // VerQueryValueW takes a non-const block; it does not change it.
    if (!VerQueryValueW(const_cast<BYTE*>(data_.data()), path, &value, &length) || !value) return {};
    std::wstring text(static_cast<const wchar_t*>(value), length);
    while (!text.empty() && text.back() == L'\0') text.pop_back();  // length may count the terminator
    return text;
}

}  // namespace support
