#include "support/components/textfile.h"

#include <windows.h>

#include <new>
#include <string>

#include "support/as/errortext.h"
#include "support/es/fileops.h"
#include "support/es/paths.h"
#include "support/win/com.h"
#include "support/win/owner.h"

namespace support {
namespace TextFileIO {
namespace {

// Larger files are not texts this program shows or saves.
constexpr LONGLONG kMaxTextBytes = 256LL * 1024 * 1024;

Status ErrorOf(DWORD code) {
    if (code == ERROR_SUCCESS) code = ERROR_GEN_FAILURE;  // a failure must never read as success
    return Status::Failure(CodeFromSystemError(code), asGetAPIErrorDescription(static_cast<long>(code)));
}

// Reads the whole file; returns the system error code (0 on success).
DWORD ReadAllBytes(const std::wstring& fileName, std::string& bytes) {
    UniqueHandle file(CreateFileW(fileName.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return GetLastError();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return GetLastError();
    if (size.QuadPart > kMaxTextBytes) return ERROR_FILE_TOO_LARGE;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!ReadFile(file.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
            return GetLastError();
        if (got == 0) break;  // the file shrank while we read it
        done += got;
    }
    bytes.resize(done);
    return ERROR_SUCCESS;
}

std::wstring FromCodePage(UINT codePage, std::string_view bytes) {
    if (bytes.empty()) return {};
    const int length = static_cast<int>(bytes.size());
    const int need = MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (need <= 0) return {};
    std::wstring text(static_cast<size_t>(need), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), need);
    return text;
}

std::wstring FromUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring text(bytes.size() / 2, L'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        const auto b0 = static_cast<unsigned char>(bytes[2 * i]);
        const auto b1 = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = static_cast<wchar_t>(bigEndian ? (b0 << 8) | b1 : (b1 << 8) | b0);
    }
    return text;
}

std::wstring Decode(std::string_view bytes, long mode) {
    const TextEncodingChoice choice = ChooseTextEncoding(bytes, mode);
    bytes.remove_prefix(choice.bomLength);
    switch (choice.encoding) {
    case TextEncoding::Utf8: return FromCodePage(CP_UTF8, bytes);
    case TextEncoding::Utf16LE: return FromUtf16(bytes, false);
    case TextEncoding::Utf16BE: return FromUtf16(bytes, true);
    case TextEncoding::OemCodePage: return FromCodePage(GetOEMCP(), bytes);
    case TextEncoding::AnsiCodePage: break;
    }
    return FromCodePage(GetACP(), bytes);
}

std::string ToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int need = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (need <= 0) return {};
    std::string bytes(static_cast<size_t>(need), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), need, nullptr, nullptr);
    return bytes;
}

// A file that is deleted when it goes, unless kept.
class TemporaryFile {
public:
    explicit TemporaryFile(std::wstring name) : name_(std::move(name)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() { if (!name_.empty()) DeleteFileW(name_.c_str()); }
    const std::wstring& name() const { return name_; }
    void keep() { name_.clear(); }

private:
    std::wstring name_;
};

DWORD WriteAll(HANDLE file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = bytes.size() > 0x10000000u ? 0x10000000u : static_cast<DWORD>(bytes.size());
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) return GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        bytes.remove_prefix(written);
    }
    return ERROR_SUCCESS;
}

}  // namespace

TextReadResult ReadTextFile(std::wstring_view fileName, bool reportErrors, long mode) {
    TextReadResult result;
    DWORD code = ERROR_SUCCESS;
    try {
        std::string bytes;
        code = fileName.empty() ? ERROR_FILE_NOT_FOUND : ReadAllBytes(std::wstring(fileName), bytes);
        if (code == ERROR_SUCCESS) result.text = Decode(bytes, mode);
    } catch (const std::bad_alloc&) {
        // A text too large for the memory left (a 32-bit process, a file near the size limit)
        // is a read failure like any other, not an end of the caller's work.
        code = ERROR_NOT_ENOUGH_MEMORY;  // result.text is assigned only after a whole decode
    }
    if (code != ERROR_SUCCESS && reportErrors) result.error = ErrorOf(code);
    return result;
}

Status WriteTextFile(std::wstring_view fileName, std::wstring_view text) {
    const std::wstring target = esGetFullFileName(fileName);
    if (target.empty()) return ErrorOf(fileName.empty() ? ERROR_INVALID_NAME : GetLastError());
    const DWORD targetAttributes = GetFileAttributesW(target.c_str());
    if (targetAttributes != INVALID_FILE_ATTRIBUTES && (targetAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return ErrorOf(ERROR_ACCESS_DENIED);

    // The new content goes to a file of its own beside the target first.
    const std::wstring folder = esGetFilePath(target);
    std::wstring stagingName;
    UniqueHandle staging;
    for (int attempt = 0; attempt < 10 && !staging; ++attempt) {
        stagingName = esGetTempFileName2(folder, L"tmp");
        if (stagingName.empty()) return ErrorOf(GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES
                                                    ? ERROR_PATH_NOT_FOUND : ERROR_FILE_EXISTS);
        staging.reset(CreateFileW(stagingName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!staging && GetLastError() != ERROR_FILE_EXISTS) return ErrorOf(GetLastError());
    }
    if (!staging) return ErrorOf(ERROR_FILE_EXISTS);
    TemporaryFile stagingFile(stagingName);

    std::string bytes;
    try {
        bytes = kUtf8Bom;
        bytes += ToUtf8(text);
    } catch (const std::bad_alloc&) {
        return ErrorOf(ERROR_NOT_ENOUGH_MEMORY);  // the staging file goes, the target is untouched
    }
    if (const DWORD code = WriteAll(staging.get(), bytes); code != ERROR_SUCCESS) return ErrorOf(code);
    if (!FlushFileBuffers(staging.get())) return ErrorOf(GetLastError());
    staging.reset();

    if (!MoveFileExW(stagingName.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ErrorOf(GetLastError());
    stagingFile.keep();
    return {};
}

}  // namespace TextFileIO
}  // namespace support
