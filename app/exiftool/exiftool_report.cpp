#include "app/exiftool/exiftool_report.h"

namespace metaview {
namespace {

constexpr std::wstring_view kGap = L"\r\n\r\n";

// A double quote, or a backslash before the closing quote, would end the quoted value early.
bool BreaksQuotes(std::wstring_view value) {
    const EntryProblem problem = CheckEntry(value);
    return problem == EntryProblem::DoubleQuote || problem == EntryProblem::TrailingBackslash;
}

// `value` in double quotes. Backslashes right before the closing quote would escape it for
// the program's argument parser, so they are doubled; all other text goes in unchanged.
void AppendQuoted(std::wstring& line, std::wstring_view value) {
    line += L'"';
    line += value;
    for (auto it = value.rbegin(); it != value.rend() && *it == L'\\'; ++it) line += L'\\';
    line += L'"';
}

void AppendSection(std::wstring& text, std::wstring_view header, std::wstring_view body) {
    if (body.empty()) return;
    text += kGap;
    text += header;
    text += kGap;
    text += body;
}

}  // namespace

ExifToolSettings UsableSettings(const ExifToolSettings& settings) {
    const ExifToolSettings builtIn;
    ExifToolSettings usable = settings;
    if (BreaksQuotes(usable.TextLanguage)) usable.TextLanguage = builtIn.TextLanguage;
    if (BreaksQuotes(usable.FileNameCharset)) usable.FileNameCharset = builtIn.FileNameCharset;
    return usable;
}

std::wstring BuildExifToolCommandLine(std::wstring_view exifToolPath, std::wstring_view resultFile,
                                      const ExifToolSettings& settings, std::wstring_view fileName) {
    std::wstring line;
    AppendQuoted(line, exifToolPath);
    line += L" -a -u -g1 ";
    line += L"-W+! ";
    AppendQuoted(line, resultFile);
    line += L" -charset FileName=";
    AppendQuoted(line, settings.FileNameCharset);
    line += L" -lang ";
    AppendQuoted(line, settings.TextLanguage);
    line += L" -- ";
    AppendQuoted(line, fileName);
    return line;
}

std::wstring CantRunReport(std::wstring_view fileName, std::wstring_view systemMessage,
                           std::wstring_view commandLine) {
    std::wstring text(fileName);
    text += kGap;
    text += exiftool_text::kCantRun;
    text += kGap;
    text += systemMessage;
    text += kGap;
    text += exiftool_text::kCommandLineWas;
    text += kGap;
    text += commandLine;
    return text;
}

std::wstring FailedReport(std::wstring_view fileName, std::wstring_view exitCodeText, std::wstring_view commandLine,
                          std::wstring_view outputText, std::wstring_view errorText, std::wstring_view resultText) {
    std::wstring text(fileName);
    text += kGap;
    text += exiftool_text::kFailed;
    text += exiftool_text::kExitCode;
    text += exitCodeText;
    text += kGap;
    text += exiftool_text::kCommandLineWas;
    text += kGap;
    text += commandLine;
    AppendSection(text, exiftool_text::kStdOut, outputText);
    AppendSection(text, exiftool_text::kStdErr, errorText);
    AppendSection(text, exiftool_text::kOutputText, resultText);
    return text;
}

std::wstring CantReadReport(std::wstring_view resultFile, std::wstring_view errorMessage) {
    std::wstring text(resultFile);
    text += kGap;
    text += exiftool_text::kCantRead;
    text += kGap;
    text += errorMessage;
    return text;
}

}  // namespace metaview

namespace metaview {

std::wstring WorkingFolderOf(std::wstring_view fullFileName) {
    const auto sep = fullFileName.find_last_of(L"\\/");
    if (sep == std::wstring_view::npos) return {};
    std::wstring folder(fullFileName.substr(0, sep));
    if (folder.size() == 2 && folder[1] == L':') folder += L'\\';
    return folder;
}

}  // namespace metaview
