#include "support/components/filedialog.h"

#include <commdlg.h>

#include <vector>

namespace support {

std::wstring FilterForSystem(std::wstring_view filter) {
    std::wstring out(filter);
    if (!out.empty() && out.back() != L'|') out += L'|';
    for (wchar_t& c : out)
        if (c == L'|') c = L'\0';
    out += L'\0';  // with the string's own terminator: the list ends in two null characters
    return out;
}

bool FileDialog::ShowSave() {
    const std::wstring filter = FilterForSystem(filter_);
    // Long enough for any path the system accepts.
    std::vector<wchar_t> buffer(32768, L'\0');
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = owner_;
    ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = initialDirectory_.empty() ? nullptr : initialDirectory_.c_str();
    ofn.lpstrDefExt = defaultExtension_.empty() ? nullptr : defaultExtension_.c_str();
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_OVERWRITEPROMPT | OFN_NOCHANGEDIR | flags_;
    if (!GetSaveFileNameW(&ofn)) {
        lastError_ = CommDlgExtendedError();
        return false;
    }
    lastError_ = 0;
    fileName_ = buffer.data();
    return !fileName_.empty();
}

}  // namespace support
