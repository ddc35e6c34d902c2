#include "lib/about/update_check_logic.h"

#include <cstdio>
#include <iterator>
#include <vector>

#include "support/as/errornumber.h"
#include "support/as/figure_texts.h"

namespace bk::about {
namespace {

// The author's nickname in the greeting for a build newer than the published one.
constexpr std::wstring_view kAuthorNickname = L"Kova";

constexpr std::wstring_view kDownloadFailed = L"Не удалось получить сведения о версии программы ";
constexpr std::wstring_view kReadFailed = L"Не удалось прочитать полученные сведения о версии программы ";
constexpr std::wstring_view kOnSiteError = L"на сайте. Ошибка ";
constexpr std::wstring_view kWrongContent = L"Сведения о версии программы на сайте получены, но они содержат ошибку.";
constexpr std::wstring_view kWrongNumbers = L" Номера указаны неверно.";
constexpr std::wstring_view kUpToDate = L"У Вас свежая версия - обновление не требуется ^_^";
constexpr std::wstring_view kUpdateAvailable = L"На сайте свежая версия - можно обновляться ^_^";

std::wstring ErrorText(std::wstring_view lead, long number, std::wstring_view description) {
    return std::wstring(lead) + std::wstring(kOnSiteError) + support::asGetErrorNumber(number) + L": " +
           std::wstring(description);
}

int Compare(std::int32_t a, std::int32_t b) { return a < b ? -1 : a > b ? 1 : 0; }

}  // namespace

std::wstring VersionFileUrl(std::wstring_view host, std::wstring_view internalName) {
    return L"http://" + std::wstring(host) + L"/programs/win32/versions/Version." + std::wstring(internalName) +
           L".DAT";
}

std::wstring InternalNameKey(std::uint16_t language, std::uint16_t codePage) {
    wchar_t digits[16];
    std::swprintf(digits, std::size(digits), L"%04X%04X", static_cast<unsigned>(language),
                  static_cast<unsigned>(codePage));
    return L"\\StringFileInfo\\" + std::wstring(digits) + L"\\InternalName";
}

std::wstring PreparedUpdateInfo(std::wstring_view caption, std::wstring_view internalName) {
    return std::wstring(caption) + L"\r\n\r\nРесурс: Version." + std::wstring(internalName) + L".DAT";
}

ParseOutcome ParseVersionText(std::wstring_view text, NumberConversion convert, VersionNumbers& site) {
    std::vector<std::wstring_view> parts;
    size_t start = 0;
    for (;;) {
        const size_t dot = text.find(L'.', start);
        parts.push_back(text.substr(start, dot == std::wstring_view::npos ? std::wstring_view::npos : dot - start));
        if (dot == std::wstring_view::npos) break;
        start = dot + 1;
        if (parts.size() > 3) return ParseOutcome::WrongParts;  // no need to split a long text further
    }
    if (parts.size() != 3) return ParseOutcome::WrongParts;
    std::int32_t numbers[3] = {};
    for (size_t i = 0; i < 3; ++i)
        if (!convert || !convert(parts[i], numbers[i])) return ParseOutcome::WrongNumbers;
    site = VersionNumbers{numbers[0], numbers[1], numbers[2]};
    return ParseOutcome::Parsed;
}

Verdict CompareVersions(const VersionNumbers& local, const VersionNumbers& site) {
    int c = Compare(local.major, site.major);
    if (c == 0) c = Compare(local.minor, site.minor);
    if (c == 0) c = Compare(local.revision, site.revision);
    return c == 0 ? Verdict::UpToDate : c < 0 ? Verdict::UpdateAvailable : Verdict::LocalNewer;
}

UpdatePageView UpdateCheckView(const VersionFetch& fetch, const VersionNumbers& local, NumberConversion convert) {
    UpdatePageView view;
    switch (fetch.stage) {
    case VersionFetch::Stage::DownloadFailed:
        view.info = ErrorText(kDownloadFailed, fetch.number, fetch.description);
        return view;
    case VersionFetch::Stage::ReadFailed:
        view.info = ErrorText(kReadFailed, fetch.number, fetch.description);
        return view;
    case VersionFetch::Stage::TooLong:
        view.info = std::wstring(kWrongContent);
        return view;
    case VersionFetch::Stage::Read:
        break;
    }
    VersionNumbers site;
    switch (ParseVersionText(fetch.text, convert, site)) {
    case ParseOutcome::WrongParts:
        view.info = std::wstring(kWrongContent);
        return view;
    case ParseOutcome::WrongNumbers:
        view.info = std::wstring(kWrongContent) + std::wstring(kWrongNumbers);
        return view;
    case ParseOutcome::Parsed:
        break;
    }
    view.resultLayout = true;
    view.localVersion = support::asFormatVersion(local.major, local.minor, local.revision);
    view.siteVersion = support::asFormatVersion(site.major, site.minor, site.revision);
    switch (CompareVersions(local, site)) {
    case Verdict::UpToDate:
        view.result = std::wstring(kUpToDate);
        break;
    case Verdict::UpdateAvailable:
        view.result = std::wstring(kUpdateAvailable);
        break;
    case Verdict::LocalNewer:
        view.result = L"Привет, " + std::wstring(kAuthorNickname) + L"-чан ^_~";
        break;
    }
    return view;
}

}  // namespace bk::about
