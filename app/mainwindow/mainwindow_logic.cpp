#include "app/mainwindow/mainwindow_logic.h"

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

std::wstring SaveFailureText(std::wstring_view fileName) {
    return std::wstring(fileName) + L"\r\n\r\nCan't save ExifTool output text.";
}

}  // namespace metaview
