#include "app/mainwindow/mainwindow_logic.h"

#include <cstdio>

namespace metaview {

KeyAction MainWindowKeyAction(unsigned key, KeyModifiers modifiers) {
    if (key == kKeyEscape && !modifiers.shift && !modifiers.ctrl && !modifiers.alt) return KeyAction::Close;
    if (key == kKeyF1 && !modifiers.ctrl && !modifiers.alt)
        return modifiers.shift ? KeyAction::AboutBox : KeyAction::HelpContents;
    return KeyAction::None;
}

std::wstring TextToSave(std::wstring_view outputText, std::wstring_view boxText) {
    return std::wstring(outputText.empty() ? boxText : outputText);
}

std::wstring StopExifToolQuestion(std::wstring_view fileName) {
    return std::wstring(fileName) + L"\r\n\r\nExifTool is still running.\r\n\r\nStop ExifTool and close the window?";
}

std::wstring AboutFailureText(std::wstring_view fileName) {
    return std::wstring(fileName) + L"\r\n\r\nCan't show the About box.";
}

std::wstring SaveFailureText(std::wstring_view fileName) {
    return std::wstring(fileName) + L"\r\n\r\nCan't save ExifTool output text.";
}

std::wstring ManyFilesQuestion(std::size_t count) {
    return std::to_wstring(count) + L" files were dropped on the window.\r\n\r\nOpen a Metaview window for each of them?";
}

std::wstring InstanceCommandLine(std::wstring_view exe, std::wstring_view file) {
    return L"\"" + std::wstring(exe) + L"\" \"" + std::wstring(file) + L"\"";
}

std::wstring StartFailureText(std::wstring_view fileName) {
    return std::wstring(fileName) + L"\r\n\r\nCan't start Metaview for this file.";
}

std::string TimingMarkLine(std::string_view name, std::uint64_t systemTime100ns) {
    constexpr std::uint64_t kUnixEpoch = 116444736000000000ULL;  // 1970-01-01 in 100 ns units since 1601
    const std::uint64_t sinceEpoch = systemTime100ns > kUnixEpoch ? systemTime100ns - kUnixEpoch : 0;
    char moment[32];
    std::snprintf(moment, sizeof(moment), "%llu.%06llu", static_cast<unsigned long long>(sinceEpoch / 10000000),
                  static_cast<unsigned long long>(sinceEpoch % 10000000 / 10));
    return std::string(name) + ' ' + moment + '\n';
}

}  // namespace metaview
