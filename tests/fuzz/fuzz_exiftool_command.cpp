// ExifTool's command line (metaview::BuildExifToolCommandLine, and BuildExifToolCall with an
// argument file) with any file name, folders and stored settings, split back the way the
// Microsoft C runtime builds argv: ExifTool must get exactly the file name as its last argument,
// the settings as they are and nothing more. Also the run's reports and working folder with
// any texts.
//
// Input: lines (LF-separated) holding the file name, the stored language, the stored charset,
// Metaview's folder, the result file and a message for the reports.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/exiftool/exiftool_report.h"
#include "app/settings/settings.h"
#include "support/es/paths.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// How the Microsoft C runtime splits a command line into argv. The program name comes first:
// double quotes group it and are dropped, and nothing else is special. Then arguments are
// separated by blanks and tabs outside double quotes; 2n backslashes before a double quote give
// n backslashes and the quote opens or closes a quoted part, 2n+1 give n backslashes and a
// literal quote, other backslashes are literal; inside a quoted part two double quotes give one
// literal quote and the part goes on. The runtime reads the line as a zero-terminated string.
std::vector<std::wstring> SplitLikeTheCRuntime(std::wstring_view line) {
    line = line.substr(0, line.find(L'\0'));
    auto blank = [](wchar_t c) { return c == L' ' || c == L'\t'; };
    std::vector<std::wstring> argv;
    std::size_t i = 0;
    const std::size_t n = line.size();

    std::wstring program;
    bool quoted = false;
    for (; i < n && (quoted || !blank(line[i])); ++i) {
        if (line[i] == L'"') quoted = !quoted;
        else program += line[i];
    }
    argv.push_back(program);

    for (;;) {
        while (i < n && blank(line[i])) ++i;
        if (i == n) break;
        std::wstring arg;
        quoted = false;
        while (i < n && (quoted || !blank(line[i]))) {
            if (line[i] == L'\\') {
                std::size_t count = 0;
                for (; i < n && line[i] == L'\\'; ++i) ++count;
                if (i < n && line[i] == L'"') {
                    arg.append(count / 2, L'\\');
                    if (count % 2 == 1) {
                        arg += L'"';
                        ++i;
                    }
                } else {
                    arg.append(count, L'\\');
                }
            } else if (line[i] == L'"') {
                if (quoted && i + 1 < n && line[i + 1] == L'"') {
                    arg += L'"';
                    i += 2;
                } else {
                    quoted = !quoted;
                    ++i;
                }
            } else {
                arg += line[i++];
            }
        }
        argv.push_back(std::move(arg));
    }
    return argv;
}

// A path as Windows can have it: without double quotes and null characters, which no file or
// folder name holds.
std::wstring AsPath(std::wstring_view text) {
    std::wstring path;
    for (wchar_t c : text)
        if (c != L'"' && c != L'\0') path += c;
    return path;
}

// A stored text as the settings store gives it: up to the first null character.
std::wstring AsStoredText(std::wstring_view text) { return std::wstring(text.substr(0, text.find(L'\0'))); }

void CheckCommandLine(const std::wstring& exifTool, const std::wstring& resultFile,
                      const metaview::ExifToolSettings& settings, const std::wstring& fileName) {
    using namespace metaview;
    const ExifToolSettings usable = UsableSettings(settings);
    // A value is kept, or replaced by its built-in one when it could leave its quotes.
    const ExifToolSettings builtIn;
    for (auto member : {&ExifToolSettings::TextLanguage, &ExifToolSettings::FileNameCharset}) {
        const EntryProblem problem = CheckEntry(usable.*member);
        FUZZ_CHECK(problem != EntryProblem::DoubleQuote && problem != EntryProblem::TrailingBackslash);
        FUZZ_CHECK(usable.*member == settings.*member || usable.*member == builtIn.*member);
    }

    const std::wstring line = BuildExifToolCommandLine(exifTool, resultFile, usable, fileName);
    const std::vector<std::wstring> argv = SplitLikeTheCRuntime(line);
    const std::vector<std::wstring> expected{exifTool,    L"-a",
                                             L"-u",       L"-g1",
                                             L"-W+!",     resultFile,
                                             L"-charset", L"FileName=" + usable.FileNameCharset,
                                             L"-lang",    usable.TextLanguage,
                                             L"--",       fileName};
    FUZZ_CHECK(argv == expected);

    // The same names through an argument file: the command line names the file and the settings,
    // the file holds the result file and the file name after "--", one per line as they are.
    const std::wstring argumentFile = resultFile + L".args";
    const ExifToolCall call = BuildExifToolCall(exifTool, resultFile, usable, fileName, argumentFile);
    const std::vector<std::wstring> viaFile{exifTool, L"-a",    L"-u",    L"-g1", L"-charset", L"FileName=utf8",
                                            L"-lang", usable.TextLanguage, L"-@", argumentFile};
    FUZZ_CHECK(SplitLikeTheCRuntime(call.commandLine) == viaFile);
    FUZZ_CHECK((call.arguments == std::vector<std::wstring>{L"-W+!", resultFile, L"--", fileName}));
    FUZZ_CHECK(CommandLineText(call).starts_with(call.commandLine + L"\r\n" + argumentFile + L":"));
    FUZZ_CHECK(CommandLineText(BuildExifToolCall(exifTool, resultFile, usable, fileName, {})) == line);
}

void CheckReports(const std::wstring& fileName, const std::wstring& message, const std::wstring& line) {
    using namespace metaview;
    const std::wstring cantRun = CantRunReport(fileName, message, line);
    FUZZ_CHECK(cantRun.starts_with(fileName) && cantRun.ends_with(line));
    for (int sections = 0; sections < 8; ++sections) {
        const std::wstring out = sections & 1 ? message : L"";
        const std::wstring err = sections & 2 ? line : L"";
        const std::wstring res = sections & 4 ? fileName : L"";
        const std::wstring failed = FailedReport(fileName, L"1", line, out, err, res);
        FUZZ_CHECK(failed.starts_with(fileName));
        // Ends with the last text that was given, the command line when there is none.
        const std::wstring& last = !res.empty() ? res : !err.empty() ? err : !out.empty() ? out : line;
        FUZZ_CHECK(failed.ends_with(last));
    }
    const std::wstring cantRead = CantReadReport(fileName, message);
    FUZZ_CHECK(cantRead.starts_with(fileName) && cantRead.ends_with(message));

    // The working folder is the part before the last separator, a bare drive completed to its root.
    const std::wstring folder = WorkingFolderOf(fileName);
    const std::size_t sep = fileName.find_last_of(L"\\/");
    if (sep == std::wstring::npos) {
        FUZZ_CHECK(folder.empty());
    } else if (sep == 2 && fileName[1] == L':') {
        FUZZ_CHECK(folder == fileName.substr(0, 2) + L"\\");
    } else {
        FUZZ_CHECK(folder == fileName.substr(0, sep));
    }

    // A working folder a process can start in: never longer than the system takes.
    const std::wstring usable = UsableWorkingFolder(folder, message, line);
    FUZZ_CHECK(usable == folder || usable == message || usable == line);
    if (usable != line) FUZZ_CHECK(usable.size() < 260);
    if (folder.size() < 260) FUZZ_CHECK(usable == folder);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto fields = fuzz::Fields(fuzz::Bytes(data, size), '\n', 6);
    const std::wstring fileName = AsPath(fuzz::WideFromBytes(fields[0]));
    const std::wstring language = AsStoredText(fuzz::WideFromBytes(fields[1]));
    const std::wstring charset = AsStoredText(fuzz::WideFromBytes(fields[2]));
    // ExifTool beside Metaview, as the run names it.
    const std::wstring exifTool = support::esBuildFileName(AsPath(fuzz::WideFromBytes(fields[3])), L"exiftool.exe");
    const std::wstring resultFile = AsPath(fuzz::WideFromBytes(fields[4]));
    const std::wstring message = fuzz::WideFromBytes(fields[5]);

    // The settings as given (the run takes them from memory), and as loaded from the store.
    CheckCommandLine(exifTool, resultFile, {language, charset}, fileName);
    CheckCommandLine(exifTool, resultFile, {metaview::LanguageFromStore(language), metaview::CharsetFromStore(charset)},
                     fileName);

    const std::wstring line = metaview::BuildExifToolCommandLine(
        exifTool, resultFile, metaview::UsableSettings({language, charset}), fileName);
    CheckReports(fileName, message, line);
    return 0;
}
