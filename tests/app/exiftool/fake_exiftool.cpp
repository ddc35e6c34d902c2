// A stand-in for exiftool.exe in the tests of the ExifTool run, and a child process for the
// launcher tests.
//
// As a child ("--child" first): "--child sleep MS", "--child echo OUT ERR CODE" (writes OUT to
// standard output, ERR to standard error, exits with CODE).
//
// As exiftool.exe: behaviour from "fake-exiftool.txt" beside the program, UTF-8 lines
// key=value ("\n" in a value stands for CR LF):
//   exit=N          exit code (default 0)
//   stdout=TEXT     written to standard output in the OEM code page
//   stdout-utf8=TEXT written to standard output as UTF-8
//   stderr=TEXT     written to standard error in the OEM code page
//   result=TEXT     written as UTF-8 into the file named after -W+! (default: a short tag list)
//   noresult=1      write no result file
//   hang=1          start a child ("--child sleep 600000") and never end
// Arguments read from an argument file ("-@ FILE", one UTF-8 argument per line) count as given
// in its place. Every run appends its command line and current folder to "fake-exiftool.log"
// beside the program (UTF-8: "cmd=", "cwd=", one "arg=" per argument taken from an argument
// file, and with hang=1 "pid=" and "child=" with the process ids).
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "support/win/owner.h"
#include "tests/harness/scratch.h"

namespace {

std::string Bytes(const std::wstring& text, UINT codePage) {
    if (text.empty()) return {};
    const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

void Write(HANDLE h, const std::string& bytes) {
    DWORD written = 0;
    if (h && h != INVALID_HANDLE_VALUE && !bytes.empty())
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::map<std::string, std::wstring> ReadConfig() {
    std::map<std::string, std::wstring> config;
    const std::string text = mvtest::ReadBytes(mvtest::ProgramFolder() + L"\\fake-exiftool.txt");
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t eq = line.find('=');
        if (eq != std::string::npos) {
            std::wstring value = mvtest::FromUtf8(line.substr(eq + 1));
            for (size_t p; (p = value.find(L"\\n")) != std::wstring::npos;) value.replace(p, 2, L"\r\n");
            config[line.substr(0, eq)] = value;
        }
        start = end + 1;
    }
    return config;
}

void Log(const std::string& lines) {
    const support::UniqueHandle h(CreateFileW((mvtest::ProgramFolder() + L"\\fake-exiftool.log").c_str(),
                                              FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr));
    if (h) Write(h.get(), lines);
}

// The arguments with every "-@ FILE" replaced by the lines of FILE (UTF-8, one per line).
std::vector<std::wstring> ExpandedArguments(int argc, wchar_t** argv, std::string& fromFiles) {
    std::vector<std::wstring> args;
    for (int i = 1; i < argc; ++i) {
        if (std::wstring(argv[i]) != L"-@" || i + 1 >= argc) {
            args.push_back(argv[i]);
            continue;
        }
        const std::string text = mvtest::ReadBytes(argv[++i]);
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find('\n', start);
            if (end == std::string::npos) end = text.size();
            std::string line = text.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            fromFiles += "arg=" + line + "\n";
            args.push_back(mvtest::FromUtf8(line));
            start = end + 1;
        }
    }
    return args;
}

int Child(int argc, wchar_t** argv) {
    const std::wstring what = argc > 2 ? argv[2] : L"";
    if (what == L"sleep" && argc > 3) {
        Sleep(static_cast<DWORD>(_wtoi(argv[3])));
        return 0;
    }
    if (what == L"echo" && argc > 5) {
        Write(GetStdHandle(STD_OUTPUT_HANDLE), Bytes(argv[3], CP_UTF8));
        Write(GetStdHandle(STD_ERROR_HANDLE), Bytes(argv[4], CP_UTF8));
        return _wtoi(argv[5]);
    }
    return 99;
}

int ExifTool(int argc, wchar_t** argv) {
    wchar_t cwd[MAX_PATH * 2] = {};
    GetCurrentDirectoryW(MAX_PATH * 2, cwd);
    std::string fromFiles;
    const std::vector<std::wstring> args = ExpandedArguments(argc, argv, fromFiles);
    Log("cmd=" + Bytes(GetCommandLineW(), CP_UTF8) + "\ncwd=" + Bytes(cwd, CP_UTF8) + "\n" + fromFiles);
    auto config = ReadConfig();
    std::wstring resultFile;
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == L"-W+!") resultFile = args[i + 1];

    if (!config["hang"].empty()) {
        // A run that never ends, with a child of its own that must end with it.
        std::wstring child = L"\"" + mvtest::ProgramFolder() + L"\\exiftool.exe\" --child sleep 600000";
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (CreateProcessW(nullptr, child.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
            const support::UniqueHandle process(pi.hProcess), thread(pi.hThread);
            Log("pid=" + std::to_string(GetCurrentProcessId()) + "\nchild=" + std::to_string(pi.dwProcessId) + "\n");
        }
        Sleep(INFINITE);
    }

    Write(GetStdHandle(STD_OUTPUT_HANDLE), Bytes(config[("stdout")], CP_OEMCP));
    Write(GetStdHandle(STD_OUTPUT_HANDLE), Bytes(config["stdout-utf8"], CP_UTF8));
    Write(GetStdHandle(STD_ERROR_HANDLE), Bytes(config["stderr"], CP_OEMCP));

    if (config["noresult"].empty() && !resultFile.empty()) {
        std::wstring result = config.count("result") ? config["result"]
                                                     : L"\r\n---- ExifTool ----\r\nExifTool Version Number : 0.01\r\n";
        const support::UniqueHandle h(CreateFileW(resultFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        if (h) Write(h.get(), Bytes(result, CP_UTF8));
    }
    return config.count("exit") ? _wtoi(config["exit"].c_str()) : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc > 1 && std::wstring(argv[1]) == L"--child") return Child(argc, argv);
    return ExifTool(argc, argv);
}
