// The update check's rules: where a program's version file is, how its content is read, the
// verdict, and every text the "Update check" page shows. Platform-free; update_check.cpp
// downloads and reads the file, the dialog shows what these functions say.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace bk::about {

// The maker's web host, where the version files are (plain HTTP), and the site's address that
// the page shows as a link. An organisation may point the check at a mirror (UpdateHost in
// update_check.h); the link stays the maker's.
inline constexpr std::wstring_view kDefaultUpdateHost = L"www.orvex.example";
inline constexpr std::wstring_view kMakerSiteAddress = L"https://www.orvex.example/";

// The internal name used when the program's version resource gives none.
inline constexpr std::wstring_view kDummyInternalName = L"Dummy";

// A version file longer than this is not a version file: it is not read, and the page says
// that the content is wrong.
inline constexpr std::size_t kMaxVersionFileBytes = 64 * 1024;

// "http://" + host + "/programs/win32/versions/Version." + name + ".DAT". The host may carry
// a port ("127.0.0.1:8080").
std::wstring VersionFileUrl(std::wstring_view host, std::wstring_view internalName);

// The version resource's key of the internal name for the first translation: the language
// and code page as four hexadecimal digits each ("\StringFileInfo\041904B0\InternalName").
std::wstring InternalNameKey(std::uint16_t language, std::uint16_t codePage);
// The key used when the resource lists no translation.
inline constexpr std::wstring_view kFallbackInternalNameKey = L"\\StringFileInfo\\040904E4\\InternalName";

// The page's explanation before a check, and with the version file named below it.
inline constexpr std::wstring_view kUpdateInfoCaption = L"Нажмите кнопку для проверки версии программы на сайте.";
std::wstring PreparedUpdateInfo(std::wstring_view caption, std::wstring_view internalName);

struct VersionNumbers {
    std::int32_t major = 0, minor = 0, revision = 0;
};

// The platform's text-to-number conversion of one part: true and the value when the text is
// a 32-bit number.
using NumberConversion = bool (*)(std::wstring_view text, std::int32_t& value);

enum class ParseOutcome { Parsed, WrongParts, WrongNumbers };
// Splits the text at every "." into exactly three parts and converts each.
ParseOutcome ParseVersionText(std::wstring_view text, NumberConversion convert, VersionNumbers& site);

enum class Verdict { UpToDate, UpdateAvailable, LocalNewer };
// Major first, then minor, then revision.
Verdict CompareVersions(const VersionNumbers& local, const VersionNumbers& site);

// What fetching the version file gave.
struct VersionFetch {
    enum class Stage {
        Read,            // downloaded and read: `text` holds the content
        DownloadFailed,  // the download failed: `number` and `description`
        ReadFailed,      // the cached file could not be read: `number` and `description`
        TooLong,         // the file is longer than kMaxVersionFileBytes
    };
    Stage stage = Stage::Read;
    long number = 0;
    std::wstring description;
    std::wstring text;
};

// What the page shows after a check. In the result layout the button and the explanation
// are hidden and the result, the link and the four version labels shown; otherwise only
// `info` changes.
struct UpdatePageView {
    bool resultLayout = false;
    std::wstring info;          // the explanation (request layout)
    std::wstring result;        // the verdict (result layout)
    std::wstring localVersion;  // asFormatVersion of both (result layout)
    std::wstring siteVersion;
};

// The page after a check of `fetch` against the local version. Error texts carry the error
// number as asGetErrorNumber writes it and the error's description.
UpdatePageView UpdateCheckView(const VersionFetch& fetch, const VersionNumbers& local, NumberConversion convert);

}  // namespace bk::about
