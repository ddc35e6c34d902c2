#include "tests/harness/shell_records.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/es/registry.h"
#include "tests/harness/library.h"

namespace bktest {

ShellRecording::ShellRecording() {
    wchar_t folder[MAX_PATH] = {}, name[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, folder);
    GetTempFileNameW(folder, L"rec", 0, name);
    file_ = name;
    DeleteFileW(file_.c_str());
    SetEnvironmentVariableW(L"BK_RECORD_FILE", file_.c_str());
}

ShellRecording::~ShellRecording() {
    SetEnvironmentVariableW(L"BK_RECORD_FILE", nullptr);
    DeleteFileW(file_.c_str());
}

std::wstring ShellRecording::Recorder() { return BinFile(L"record_args.exe"); }

std::wstring ShellRecording::Lines(DWORD timeoutMs) const {
    const DWORD start = GetTickCount();
    for (;;) {
        std::ifstream in(std::filesystem::path(file_), std::ios::binary);
        std::stringstream bytes;
        bytes << in.rdbuf();
        const std::string text = bytes.str();
        if (!text.empty() || GetTickCount() - start >= timeoutMs) {
            const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
            std::wstring wide(static_cast<size_t>(n), L'\0');
            MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
            return wide;
        }
        Sleep(50);
    }
}

RegistryValueScope::RegistryValueScope(HKEY root, std::wstring key, std::wstring name, const wchar_t* text)
    : root_(root), key_(std::move(key)), name_(std::move(name)) {
    old_ = support::esReadStringFromRegistry(root_, key_, name_, L"", &had_);
    if (text)
        support::esWriteStringToRegistry(root_, key_, name_, text);
    else
        support::esDeleteValueFromRegistry(root_, key_, name_);
}

RegistryValueScope::~RegistryValueScope() {
    if (had_)
        support::esWriteStringToRegistry(root_, key_, name_, old_);
    else
        support::esDeleteValueFromRegistry(root_, key_, name_);
}

namespace {
std::wstring RecorderCommand() { return L"\"" + ShellRecording::Recorder() + L"\" \"%1\""; }
}  // namespace

ProtocolAssociation::ProtocolAssociation(const std::wstring& protocol)
    : marker_(HKEY_CLASSES_ROOT, protocol, L"URL Protocol", L""),
      command_(HKEY_CLASSES_ROOT, protocol + L"\\shell\\open\\command", L"", RecorderCommand().c_str()) {}

FileTypeAssociation::FileTypeAssociation(const std::wstring& extension)
    : type_(HKEY_CLASSES_ROOT, extension, L"", L"bktest.recorded"),
      command_(HKEY_CLASSES_ROOT, L"bktest.recorded\\shell\\open\\command", L"", RecorderCommand().c_str()) {}

}  // namespace bktest
