// The settings dialog: text language, file name charset and the output box colours.
#pragma once

#include <windows.h>

#include "support/components/appidentity.h"

namespace metaview {

// Shows the dialog modally over `owner` (may be null), loaded from g_settings. On "Ok" with
// usable entries it commits the four values to g_settings, saves them and returns true, after
// which the caller re-applies the colours. "Cancel", Esc and the close box return false and
// leave g_settings as it was. Confirming a colour in the colour dialog stores the colour
// dialog's custom colours at once, whatever happens to the settings dialog afterwards.
bool ShowSettingsDialog(HWND owner, const support::AppIdentity& app);

// Control ids of the dialog (the buttons are IDOK and IDCANCEL). A colour button keeps its
// pending colour (a COLORREF) in its GWLP_USERDATA.
namespace settings_dialog {
inline constexpr int kTextLanguageLabel = 1000;
inline constexpr int kTextLanguage = 1001;
inline constexpr int kFileNameCharsetLabel = 1002;
inline constexpr int kFileNameCharset = 1003;
inline constexpr int kColorsLabel = 1004;
inline constexpr int kForeColor = 1005;
inline constexpr int kBackColor = 1006;
}  // namespace settings_dialog

}  // namespace metaview
