// Folders and files the ExifTool tests make for themselves, and a private temporary folder.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace mvtest {

// A new, empty folder under the temporary folder the process started with (or under `parent`);
// deleted with everything in it when it goes.
class ScratchFolder {
public:
    explicit ScratchFolder(std::wstring_view name = L"", std::wstring_view parent = L"");
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    const std::wstring& path() const { return path_; }
    std::wstring operator/(std::wstring_view name) const { return path_ + L"\\" + std::wstring(name); }

private:
    std::wstring path_;
};

// Points TMP and TEMP (and so GetTempPathW) at a folder for its lifetime.
class PrivateTemp {
public:
    explicit PrivateTemp(const std::wstring& folder);
    PrivateTemp(const PrivateTemp&) = delete;
    PrivateTemp& operator=(const PrivateTemp&) = delete;
    ~PrivateTemp();

private:
    std::wstring oldTmp_, oldTemp_;
    bool hadTmp_ = false, hadTemp_ = false;
};

// Names of the files and folders in a folder (without "." and "..").
std::vector<std::wstring> Entries(const std::wstring& folder);
void WriteBytes(const std::wstring& file, std::string_view bytes);
std::string ReadBytes(const std::wstring& file);
bool Exists(const std::wstring& path);
std::string Utf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view bytes);
// "Z:\..." for a path of the Linux host.
std::wstring HostPath(const char* linuxPath);
// The folder of the running test program.
std::wstring ProgramFolder();

}  // namespace mvtest
