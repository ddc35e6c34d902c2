// Version texts of the program (modFormatVersion): the version number for the information
// block, the version item of the menu bar and the title-version-copyright block of the usage
// message. Platform-free.
#pragma once

#include <string>
#include <string_view>

#include "support/components/appidentity.h"

namespace metaview {

// major.minor(two digits).revision(four digits), e.g. "1.01.0017".
std::wstring FormatAppVersion(const support::AppIdentity& app);
// "v." + major.minor.revision in plain numbers + " x86", e.g. "v.1.1.17 x86".
std::wstring FormatVersionMenuCaption(const support::AppIdentity& app);
// ", ver. " with `withVer`, otherwise a single blank.
std::wstring GetVersionSeparator(bool withVer);
// Title, separator, version, CR LF, and the copyright line (English when asked for and known).
std::wstring GetAppInfoText(const support::AppIdentity& app, bool withVer, bool english);
// The copyright line in English when `english` is set and the line has one of the two forms of
// this program's own copyright (holder, year or year range, dedication); otherwise unchanged.
std::wstring LocalizeCopyright(std::wstring_view legalText, bool english);

}  // namespace metaview
