// The About dialog (frmAbout) and the routine that shows it (RealShowAboutBox): a fixed
// dialog with the application's icon on a teal band, six stacked pages paged by an
// orxTabControl (main, description, modules, process times, system, update check), Ok and
// System Info. Shown modally: its own message loop, the thread's other windows disabled,
// and the page keys (Page Up, Page Down, Esc) seen before any control gets them.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <string>

#include "support/win/com.h"

namespace bk::about {

// What the entry points of orxMain hand over.
struct AboutContent {
    std::wstring title;
    support::ComPtr<IPictureDisp> icon;       // null: the library's own icon
    support::ComPtr<IPictureDisp> smallIcon;  // null: no window icon
    LONG major = 1, minor = 0, revision = 0;
    std::wstring author;
    std::wstring email;  // empty: no e-mail line
    std::wstring devote;
    std::wstring description;  // empty: no description page
    support::ComPtr<IPictureDisp> picture;  // null: the library's own dedication picture
    std::wstring pictureToolTip;
};

// Shows the dialog for `content` and returns when it has been closed. Fails (with the
// thread's error information set for the caller) only when the pages cannot be prepared.
HRESULT RealShowAboutBox(const AboutContent& content);

// Starts the system information program, located through the registry; shows a warning
// when it cannot be found or started.
void ShowSystemInfo(HWND owner);

// The dialog's caption and control ids, as tests find them.
inline constexpr wchar_t kAboutCaption[] = L"О программе";
namespace control {
enum : int {
    kOk = IDOK,
    kSysInfo = 1001,
    kIcon = 1002,
    kPageBase = 1010,  // the six pages: kPageBase + page index
    kTitle = 1100,
    kVersionCaption, kVersion, kAuthorCaption, kAuthor, kEMailCaption, kEMail, kDevote, kLumen,
    kDescription = 1200,
    kModules = 1300,
    kTimeCaptionBase = 1400,  // + 0..4
    kTimeValueBase = 1410,    // + 0..4
    kSystemName = 1500,
    kMemCaptionBase = 1501,  // + 0..2
    kMemValueBase = 1510,    // + 0..2
    kUpdateCheck = 1600,
    kUpdateInfo, kUpdateURL, kUpdateResult,
    kUpdateVersionBase = 1610,  // + 0..3
};
}  // namespace control

}  // namespace bk::about
