// The capture files of the ExifTool run and the collector that deletes its temporary files.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "support/win/com.h"
#include "support/win/owner.h"

namespace metaview {

// One new, empty file open for writing, with a handle a child process can inherit (to serve
// as its standard output or error).
class csStdFile {
public:
    csStdFile() = default;
    csStdFile(const csStdFile&) = delete;
    csStdFile& operator=(const csStdFile&) = delete;
    ~csStdFile() { CloseFile(); }

    // Closes any file held, then creates `FileName` anew (an existing file is truncated).
    // On failure the handle is null and the name empty. True when a file is open afterwards.
    bool CreateNewFile(std::wstring_view FileName);
    // Closes the held file; the name stays, so the file can still be read and deleted by name.
    void CloseFile();

    HANDLE hFile() const { return handle_.valid() ? handle_.get() : nullptr; }
    const std::wstring& Name() const { return name_; }

private:
    support::UniqueHandle handle_;
    std::wstring name_;
};

// File names to delete later: each held once (letter case ignored), in order of registration.
// Destroying the collector flushes it; what still cannot be deleted then stays on disk.
class csFileGarbageCollector {
public:
    csFileGarbageCollector() = default;
    csFileGarbageCollector(const csFileGarbageCollector&) = delete;
    csFileGarbageCollector& operator=(const csFileGarbageCollector&) = delete;
    ~csFileGarbageCollector() { FlushIt(); }

    // Registers each name in order; names already held and empty names are skipped.
    void AddFiles(std::initializer_list<std::wstring_view> FileNames);
    void AddFiles(const std::vector<std::wstring>& FileNames);
    // The most recently registered name still held, or empty.
    std::wstring LastFileName() const;
    // Deletes the held files; the names of files that could not be deleted stay registered.
    void FlushIt() noexcept;

    size_t Count() const { return files_.size(); }

private:
    void Add(std::wstring_view name);
    std::vector<std::wstring> files_;
};

}  // namespace metaview
