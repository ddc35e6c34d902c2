#include "support/components/colordialog.h"

#include <commdlg.h>

namespace support {

COLORREF ResolveColor(COLORREF color) {
    if (color & 0x80000000u) return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0x00FFFFFFu;
}

bool ColorDialog::Show() {
    // The dialog edits a copy: custom colours changed and then cancelled are not taken over.
    CustomColors::Colors working = custom_.colors();
    COLORREF table[CustomColors::kCount];
    for (size_t i = 0; i < CustomColors::kCount; ++i) table[i] = working[i];

    CHOOSECOLORW cc{};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = owner_;
    cc.rgbResult = ResolveColor(color_);
    cc.lpCustColors = table;
    cc.Flags = CC_RGBINIT | CC_ANYCOLOR | (fullOpen_ ? CC_FULLOPEN : 0);
    if (!ChooseColorW(&cc)) return false;

    color_ = cc.rgbResult;
    for (size_t i = 0; i < CustomColors::kCount; ++i) working[i] = table[i] & 0x00FFFFFFu;
    custom_.colors() = working;
    return true;
}

}  // namespace support
