// The update check's work with the system: the running program's internal name, the host
// the version files come from, and fetching one version file through the URL cache.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "lib/about/update_check_logic.h"

namespace bk::about {

// The InternalName of the version resource of `file`, or "Dummy" when the file has no
// version resource or no such value.
std::wstring InternalNameOf(const std::wstring& file);
// The InternalName of the running program's executable (not of this library).
std::wstring GetAppInternalName();

// Where the library's own settings are: HKEY_CURRENT_USER\Software\Orvex\Basekit0308.
inline constexpr wchar_t kLibrarySettingsKey[] = L"Software\\Orvex\\Basekit0308";
// Its string value "UpdateHost" names the host (and port) of the version files in place of
// the maker's host: a mirror of the organisation's, or a test server.
inline constexpr wchar_t kUpdateHostValue[] = L"UpdateHost";
// That value when it is set and not empty, else kDefaultUpdateHost.
std::wstring UpdateHost();

// Downloads `url` into the URL cache (URLDownloadToCacheFileW) with the wait cursor shown
// for the download, then reads the cached file: at most kMaxVersionFileBytes bytes, as ANSI
// text. Errors carry the failing HRESULT and its description.
VersionFetch FetchVersionFile(const std::wstring& url);

// The platform's conversion of a text to a 32-bit number (VarI4FromStr, English number
// format): surrounding blanks are accepted, leading zeros ignored.
bool ConvertVersionPart(std::wstring_view text, std::int32_t& value);

}  // namespace bk::about
