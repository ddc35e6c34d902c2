// FileDialog: our own version of the outside save-file dialog component, over the system's
// GetSaveFileNameW.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace support {

// "Text files|*.TXT|All files|*.*" as the system wants it: description and pattern pairs, each
// ended by a null character, the list ended by one more. A trailing "|" is allowed.
std::wstring FilterForSystem(std::wstring_view filter);

class FileDialog {
public:
    // Pairs of description and pattern separated by "|"; the first pair is preselected.
    void SetFilter(std::wstring_view filter) { filter_ = filter; }
    // Further OFN_ flags on top of the dialog's own (0: none).
    void SetFlags(DWORD flags) { flags_ = flags; }
    void SetOwnerWindow(HWND owner) { owner_ = owner; }
    // Appended (given without its dot) to a name typed without an extension; empty: nothing.
    void SetDefaultExtension(std::wstring_view extension) { defaultExtension_ = extension; }
    // The folder shown first; empty: the system's choice.
    void SetInitialDirectory(std::wstring_view folder) { initialDirectory_ = folder; }

    // Runs the save dialog modally. True when the user chose a file (FileName() holds it);
    // false when the user cancelled or the dialog failed (LastError() tells which: 0 for cancel).
    bool ShowSave();
    const std::wstring& FileName() const { return fileName_; }
    DWORD LastError() const { return lastError_; }

private:
    std::wstring filter_;
    DWORD flags_ = 0;
    HWND owner_ = nullptr;
    std::wstring initialDirectory_;
    std::wstring defaultExtension_;
    std::wstring fileName_;
    DWORD lastError_ = 0;
};

}  // namespace support
