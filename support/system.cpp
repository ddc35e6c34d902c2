#include "support/system.h"

namespace support {

std::wstring esGetModuleFileName(HMODULE module, bool longName) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) { path.resize(n); break; }
        path.resize(path.size() * 2);
    }
    if (longName) {
        const DWORD need = GetLongPathNameW(path.c_str(), nullptr, 0);
        if (need > 0) {
            std::wstring full(need, L'\0');
            const DWORD got = GetLongPathNameW(path.c_str(), full.data(), need);
            if (got > 0 && got < need) { full.resize(got); return full; }
        }
    }
    return path;
}

std::wstring asGetStringFromPointerW(const wchar_t* address) { return address ? std::wstring(address) : std::wstring(); }

}  // namespace support
