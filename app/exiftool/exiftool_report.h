// ExifTool's command line and the texts the ExifTool run shows. Platform-free.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings/settings.h"

namespace metaview {

// The exit code a stopped ExifTool reports.
inline constexpr unsigned kStoppedExitCode = 1;

// The messages of the run, exactly as shown.
namespace exiftool_text {
inline constexpr std::wstring_view kRunning = L"Running ExifTool...";
inline constexpr std::wstring_view kParsing = L"Parsing result data...";
inline constexpr std::wstring_view kCantRun = L"Cat't run ExifTool.";
inline constexpr std::wstring_view kFailed = L"ExifTool has failed. ";
inline constexpr std::wstring_view kExitCode = L"Exit code: ";
inline constexpr std::wstring_view kCommandLineWas = L"The command line was:";
inline constexpr std::wstring_view kStdOut = L"@stdout:";
inline constexpr std::wstring_view kStdErr = L"@stderr:";
inline constexpr std::wstring_view kOutputText = L"Output text:";
inline constexpr std::wstring_view kCantRead = L"Cat't read ExifTool result data!";
}  // namespace exiftool_text

// The two ExifTool options that come from the settings.
struct ExifToolSettings {
    std::wstring TextLanguage{kDefaultTextLanguage};        // -lang
    std::wstring FileNameCharset{kDefaultFileNameCharset};  // -charset FileName=
};

// A setting that could break out of its double quotes on the command line (a double quote,
// or a backslash before the closing quote) is replaced by its built-in value.
ExifToolSettings UsableSettings(const ExifToolSettings& settings);

// "<exiftool>" -a -u -g1 -W+! "<result file>" -charset FileName="<charset>" -lang "<language>" -- "<file>"
// The settings are used as they come (pass them through UsableSettings first). A path value
// that ends in backslashes gets them doubled, so the closing quote still closes it.
std::wstring BuildExifToolCommandLine(std::wstring_view exifToolPath, std::wstring_view resultFile,
                                      const ExifToolSettings& settings, std::wstring_view fileName);

// The Windows code page of one of ExifTool's character set names (any of its aliases, in any
// case: "Cyrillic", "cp1251", "Russian", "UTF8", ...); nothing for a name ExifTool does not know.
std::optional<unsigned> CodePageOfCharset(std::wstring_view charset);

// How the file names reach ExifTool. ExifTool reads its command line through the system's ANSI
// code page and then takes file names in the configured file-name charset, so a name that does
// not survive both would reach it changed (letters outside the code page become "?", which
// ExifTool takes for a wildcard). Such names go to it in UTF-8 through an argument file instead,
// with "-charset FileName=utf8".
struct ExifToolCall {
    std::wstring commandLine;
    std::wstring argumentFile;            // empty: every name is on the command line
    std::vector<std::wstring> arguments;  // the lines of the argument file
};

// The call for `fileName`: the command line of BuildExifToolCommandLine when `argumentFile` is
// empty; otherwise the result file and the file name (after "--") go into the argument file.
ExifToolCall BuildExifToolCall(std::wstring_view exifToolPath, std::wstring_view resultFile,
                               const ExifToolSettings& settings, std::wstring_view fileName,
                               std::wstring_view argumentFile);

// What the reports show as the command line: the command line, and the argument file's lines
// when there is one.
std::wstring CommandLineText(const ExifToolCall& call);

// The report when ExifTool could not be started.
std::wstring CantRunReport(std::wstring_view fileName, std::wstring_view systemMessage,
                           std::wstring_view commandLine);

// The report when ExifTool ended with a non-zero exit code. The three texts are added as
// sections only when they are not empty; they are used as given (already decoded and trimmed).
std::wstring FailedReport(std::wstring_view fileName, std::wstring_view exitCodeText, std::wstring_view commandLine,
                          std::wstring_view outputText, std::wstring_view errorText, std::wstring_view resultText);

// The report when the result file of a successful run cannot be read.
std::wstring CantReadReport(std::wstring_view resultFile, std::wstring_view errorMessage);

}  // namespace metaview

namespace metaview {

// The folder ExifTool runs in: the folder part of the file's full name, with a bare drive
// ("C:") completed to its root ("C:\"), since "C:" alone means the drive's current folder.
std::wstring WorkingFolderOf(std::wstring_view fullFileName);

// A folder a process can be started in: the folder itself when it is shorter than the longest
// path the system takes for a current folder (MAX_PATH, 260, with the terminating null), else
// its short form when it has one that short, else `fallback`.
std::wstring UsableWorkingFolder(std::wstring_view folder, std::wstring_view shortForm, std::wstring_view fallback);

}  // namespace metaview
