// The version resource of a module file, read with GetFileVersionInfoW/VerQueryValueW.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace support {

class VersionInfo {
public:
    // Reads the version resource of `file`; `ok()` tells whether there was one.
    explicit VersionInfo(const std::wstring& file);

    bool ok() const { return fixed_ != nullptr; }
    // The four parts of FILEVERSION (0 when there is no resource).
    WORD Major() const { return fixed_ ? HIWORD(fixed_->dwFileVersionMS) : 0; }
    WORD Minor() const { return fixed_ ? LOWORD(fixed_->dwFileVersionMS) : 0; }
    WORD Revision() const { return fixed_ ? HIWORD(fixed_->dwFileVersionLS) : 0; }
    WORD Build() const { return fixed_ ? LOWORD(fixed_->dwFileVersionLS) : 0; }
    // Language and code page of the first translation the resource lists.
    WORD Language() const { return language_; }
    WORD CodePage() const { return codePage_; }
    // A string value ("ProductName", "LegalCopyright", ...) of the first translation; empty
    // when the resource has no such value.
    std::wstring String(std::wstring_view name) const;

private:
    std::vector<BYTE> data_;
    const VS_FIXEDFILEINFO* fixed_ = nullptr;
    WORD language_ = 0;
    WORD codePage_ = 0;
};

}  // namespace support
