#include "app/exiftool/temp_files.h"

namespace metaview {
namespace {

bool SameName(std::wstring_view a, std::wstring_view b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

}  // namespace

bool csStdFile::CreateNewFile(std::wstring_view FileName) {
    CloseFile();
    name_ = FileName;
    // Inheritable, so that the launcher can hand it to a child process as a standard handle.
    SECURITY_ATTRIBUTES security{};
    security.nLength = sizeof(security);
    security.lpSecurityDescriptor = nullptr;
    security.bInheritHandle = TRUE;
    if (!name_.empty())
        handle_.reset(CreateFileW(name_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &security,
                                  CREATE_ALWAYS, 0, nullptr));
    if (!handle_) {
        handle_.reset();
        name_.clear();
        return false;
    }
    return true;
}

void csStdFile::CloseFile() { handle_.reset(); }

void csFileGarbageCollector::Add(std::wstring_view name) {
    if (name.empty()) return;
    for (const std::wstring& held : files_)
        if (SameName(held, name)) return;
    files_.emplace_back(name);
}

void csFileGarbageCollector::AddFiles(std::initializer_list<std::wstring_view> FileNames) {
    for (std::wstring_view name : FileNames) Add(name);
}

void csFileGarbageCollector::AddFiles(const std::vector<std::wstring>& FileNames) {
    for (const std::wstring& name : FileNames) Add(name);
}

std::wstring csFileGarbageCollector::LastFileName() const { return files_.empty() ? std::wstring() : files_.back(); }

void csFileGarbageCollector::FlushIt() noexcept {
    // Erasing never allocates, so this cannot throw.
    for (auto it = files_.begin(); it != files_.end();) {
        if (DeleteFileW(it->c_str())) it = files_.erase(it);
        else ++it;
    }
}

}  // namespace metaview
