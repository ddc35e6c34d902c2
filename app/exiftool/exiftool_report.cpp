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

namespace metaview {
namespace {

struct CharsetAlias {
    std::wstring_view name;
    unsigned codePage;
};

// ExifTool's character set names and aliases with the code pages they stand for.
constexpr CharsetAlias kCharsets[] = {
    {L"utf8", 65001},        {L"cp65001", 65001},    {L"utf-8", 65001},     {L"latin", 1252},
    {L"cp1252", 1252},       {L"latin1", 1252},      {L"latin2", 1250},     {L"cp1250", 1250},
    {L"cyrillic", 1251},     {L"cp1251", 1251},      {L"russian", 1251},    {L"greek", 1253},
    {L"cp1253", 1253},       {L"turkish", 1254},     {L"cp1254", 1254},     {L"hebrew", 1255},
    {L"cp1255", 1255},       {L"arabic", 1256},      {L"cp1256", 1256},     {L"baltic", 1257},
    {L"cp1257", 1257},       {L"vietnam", 1258},     {L"cp1258", 1258},     {L"thai", 874},
    {L"cp874", 874},         {L"doslatinus", 437},   {L"cp437", 437},       {L"doslatin1", 850},
    {L"cp850", 850},         {L"doscyrillic", 866},  {L"cp866", 866},       {L"macroman", 10000},
    {L"cp10000", 10000},     {L"mac", 10000},        {L"roman", 10000},     {L"maclatin2", 10029},
    {L"cp10029", 10029},     {L"maccyrillic", 10007}, {L"cp10007", 10007},  {L"macgreek", 10006},
    {L"cp10006", 10006},     {L"macturkish", 10081}, {L"cp10081", 10081},   {L"macromanian", 10010},
    {L"cp10010", 10010},     {L"maciceland", 10079}, {L"cp10079", 10079},   {L"maccroatian", 10082},
    {L"cp10082", 10082},
};

bool EqualsIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
        if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
        if (x != y) return false;
    }
    return true;
}

// The longest current folder the system takes, without its terminating null.
constexpr size_t kLongestWorkingFolder = 259;

}  // namespace

std::optional<unsigned> CodePageOfCharset(std::wstring_view charset) {
    for (const CharsetAlias& alias : kCharsets)
        if (EqualsIgnoringAsciiCase(alias.name, charset)) return alias.codePage;
    return std::nullopt;
}

ExifToolCall BuildExifToolCall(std::wstring_view exifToolPath, std::wstring_view resultFile,
                               const ExifToolSettings& settings, std::wstring_view fileName,
                               std::wstring_view argumentFile) {
    ExifToolCall call;
    if (argumentFile.empty()) {
        call.commandLine = BuildExifToolCommandLine(exifToolPath, resultFile, settings, fileName);
        return call;
    }
    std::wstring& line = call.commandLine;
    AppendQuoted(line, exifToolPath);
    line += L" -a -u -g1 -charset FileName=\"utf8\" -lang ";
    AppendQuoted(line, settings.TextLanguage);
    line += L" -@ ";
    AppendQuoted(line, argumentFile);
    call.argumentFile = argumentFile;
    // One argument per line, taken as it stands: no quotes.
    call.arguments = {L"-W+!", std::wstring(resultFile), L"--", std::wstring(fileName)};
    return call;
}

std::wstring CommandLineText(const ExifToolCall& call) {
    std::wstring text = call.commandLine;
    if (call.argumentFile.empty()) return text;
    text += L"\r\n";
    text += call.argumentFile;
    text += L":";
    for (const std::wstring& argument : call.arguments) {
        text += L"\r\n";
        text += argument;
    }
    return text;
}

std::wstring UsableWorkingFolder(std::wstring_view folder, std::wstring_view shortForm, std::wstring_view fallback) {
    if (folder.size() <= kLongestWorkingFolder) return std::wstring(folder);
    if (!shortForm.empty() && shortForm.size() <= kLongestWorkingFolder) return std::wstring(shortForm);
    return std::wstring(fallback);
}

}  // namespace metaview
