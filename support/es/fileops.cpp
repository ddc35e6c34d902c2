#include "support/es/fileops.h"

#include <windows.h>

#include <cwchar>

#include "support/es/paths.h"

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

std::wstring esGetFullFileName(std::wstring_view name) {
    if (name.empty()) return {};
    const std::wstring source(name);
    std::wstring full(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD n = GetFullPathNameW(source.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0) return {};
        if (n < full.size()) { full.resize(n); return full; }
        full.resize(n);  // n counts the terminating zero when the buffer was too small
    }
    return {};
}

std::wstring esGetAppFolder() { return esGetFilePath(esGetModuleFileName(nullptr, true)); }

std::wstring esGetFileAppPath(std::wstring_view name) { return esBuildFileName(esGetAppFolder(), name); }

std::wstring esGetTempFileName2(std::wstring_view folder, std::wstring_view extension) {
    std::wstring base(folder);
    if (base.empty()) {
        wchar_t temp[MAX_PATH + 1] = {};
        const DWORD n = GetTempPathW(static_cast<DWORD>(std::size(temp)), temp);
        if (n == 0 || n > MAX_PATH) return {};
        base.assign(temp, n);
    }
    const DWORD folderAttributes = GetFileAttributesW(base.c_str());
    if (folderAttributes == INVALID_FILE_ATTRIBUTES || !(folderAttributes & FILE_ATTRIBUTE_DIRECTORY)) return {};

    // "mv" + process id + a counter: unique among the processes running now; the counter starts
    // from the tick count so that names are not reused soon after a restart either.
    static volatile LONG counter = static_cast<LONG>(GetTickCount());
    const unsigned long pid = GetCurrentProcessId();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const auto serial = static_cast<unsigned long>(InterlockedIncrement(&counter)) & 0xFFFFu;
        wchar_t stem[32] = {};
        std::swprintf(stem, std::size(stem), L"mv%lX%04lX", pid, serial);
        std::wstring name = esBuildFileName(base, stem);
        if (!extension.empty()) name += L"." + std::wstring(extension);
        if (GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
            return name;
    }
    return {};
}

std::wstring esGetLongFileName(std::wstring_view path, long /*flags*/) {
    if (path.empty()) return {};
    const std::wstring source(path);
    std::wstring full(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD n = GetLongPathNameW(source.c_str(), full.data(), static_cast<DWORD>(full.size()));
        if (n == 0) return source;
        if (n < full.size()) { full.resize(n); return full; }
        full.resize(n);  // n counts the terminating zero when the buffer was too small
    }
    return source;
}

}  // namespace support
