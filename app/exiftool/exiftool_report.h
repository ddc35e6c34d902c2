// ExifTool's command line and the texts the ExifTool run shows. Platform-free.
#pragma once

#include <string>
#include <string_view>

#include "app/settings/settings.h"

namespace metaview {

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

}  // namespace metaview
