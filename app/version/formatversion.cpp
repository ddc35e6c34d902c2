#include "app/version/formatversion.h"

#include <cstdio>

namespace metaview {
namespace {

// The copyright holder and dedication as the version resource writes them (Russian), and the
// English forms that replace them.
constexpr std::wstring_view kNativeHolder = L"А. Ковалев ";  // with its blank: 11 characters
constexpr std::wstring_view kNativeDedication = L"Посвящается Lumen";
constexpr std::wstring_view kEnglishHolder = L"A. Kovalev";
constexpr std::wstring_view kEnglishDedication = L". Dedicated to Lumen";

// Letter case folded for the letters the copyright forms use: Latin, Latin-1 and Cyrillic.
wchar_t FoldCase(wchar_t c) {
    if (c >= L'A' && c <= L'Z') return static_cast<wchar_t>(c + 0x20);
    if (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7) return static_cast<wchar_t>(c + 0x20);
    if (c >= 0x0410 && c <= 0x042F) return static_cast<wchar_t>(c + 0x20);  // А..Я
    if (c >= 0x0400 && c <= 0x040F) return static_cast<wchar_t>(c + 0x50);  // Ѐ..Џ
    return c;
}

bool EqualsIgnoreCase(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i])) return false;
    return true;
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

bool IsYear(std::wstring_view text) {
    if (text.size() != 4) return false;
    for (wchar_t c : text)
        if (!IsDigit(c)) return false;
    return true;
}

// "NNNN" or "NNNN-NNNN".
bool IsYearText(std::wstring_view text) {
    if (text.size() == 4) return IsYear(text);
    return text.size() == 9 && text[4] == L'-' && IsYear(text.substr(0, 4)) && IsYear(text.substr(5));
}

std::wstring Number(int n, int digits) {
    wchar_t buf[32];
    std::swprintf(buf, std::size(buf), L"%0*d", digits, n);
    return buf;
}

}  // namespace

std::wstring FormatAppVersion(const support::AppIdentity& app) {
    return Number(app.major, 1) + L"." + Number(app.minor, 2) + L"." + Number(app.revision, 4);
}

std::wstring FormatVersionMenuCaption(const support::AppIdentity& app) {
    return L"v." + Number(app.major, 1) + L"." + Number(app.minor, 1) + L"." + Number(app.revision, 1) + L" x86";
}

std::wstring GetVersionSeparator(bool withVer) { return withVer ? L", ver. " : L" "; }

std::wstring GetAppInfoText(const support::AppIdentity& app, bool withVer, bool english) {
    return app.title + GetVersionSeparator(withVer) + FormatAppVersion(app) + L"\r\n" +
           LocalizeCopyright(app.legalCopyright, english);
}

std::wstring LocalizeCopyright(std::wstring_view legalText, bool english) {
    if (!english) return std::wstring(legalText);
    // Holder, blank, year text, full stop, blank, dedication.
    const std::wstring_view tail = std::wstring_view(L". ");
    const size_t fixed = kNativeHolder.size() + tail.size() + kNativeDedication.size();
    if (legalText.size() <= fixed) return std::wstring(legalText);
    const std::wstring_view holder = legalText.substr(0, kNativeHolder.size());
    const std::wstring_view year = legalText.substr(holder.size(), legalText.size() - fixed);
    const std::wstring_view rest = legalText.substr(holder.size() + year.size());
    if (!EqualsIgnoreCase(holder, kNativeHolder) || !IsYearText(year) ||
        !EqualsIgnoreCase(rest.substr(0, tail.size()), tail) ||
        !EqualsIgnoreCase(rest.substr(tail.size()), kNativeDedication))
        return std::wstring(legalText);
    return std::wstring(kEnglishHolder) + L" " + std::wstring(year) + std::wstring(kEnglishDedication);
}

}  // namespace metaview
