// Shell actions checked for real: the tests associate a URL protocol, a file type or the
// system information program with record_args.exe (beside the test programs), which writes
// the command line it was started with into a file the test then reads.
#pragma once

#include <windows.h>

#include <string>

namespace bktest {

// The recording for the scope: BK_RECORD_FILE names a fresh file, which the started
// recorders inherit through the environment.
class ShellRecording {
public:
    ShellRecording();
    ~ShellRecording();
    ShellRecording(const ShellRecording&) = delete;
    ShellRecording& operator=(const ShellRecording&) = delete;

    // The recorder's full path.
    static std::wstring Recorder();
    // The command lines recorded so far (one per line), waiting up to `timeoutMs` for the
    // first one.
    std::wstring Lines(DWORD timeoutMs = 0) const;

private:
    std::wstring file_;
};

// A registry value set for the scope; the value it replaced (or its absence) comes back.
class RegistryValueScope {
public:
    // `text` null: the value is removed for the scope.
    RegistryValueScope(HKEY root, std::wstring key, std::wstring name, const wchar_t* text);
    ~RegistryValueScope();
    RegistryValueScope(const RegistryValueScope&) = delete;
    RegistryValueScope& operator=(const RegistryValueScope&) = delete;

private:
    HKEY root_;
    std::wstring key_, name_;
    bool had_ = false;
    std::wstring old_;
};

// `protocol` ("mailto") opened by the recorder for the scope.
class ProtocolAssociation {
public:
    explicit ProtocolAssociation(const std::wstring& protocol);

private:
    RegistryValueScope marker_, command_;
};

// Files with `extension` (".html") opened by the recorder for the scope.
class FileTypeAssociation {
public:
    explicit FileTypeAssociation(const std::wstring& extension);

private:
    RegistryValueScope type_, command_;
};

}  // namespace bktest
