#include "app/settings/settings.h"

#include "support/as/text.h"

namespace metaview {

Settings g_settings;

namespace {

constexpr const wchar_t* kLanguageCodes[] = {
    L"cs", L"de", L"en", L"en-ca", L"en-gb", L"es", L"fi", L"fr", L"it", L"ja",
    L"ko", L"nl", L"pl", L"ru", L"sk", L"sv", L"tr", L"zh-cn", L"zh-tw"};

constexpr const wchar_t* kCharsetNames[] = {
    L"UTF-8", L"Latin1", L"Latin2", L"Cyrillic", L"Greek", L"Turkish", L"Hebrew", L"Arabic",
    L"Baltic", L"Vietnam", L"Thai", L"DOSLatinUS", L"DOSLatin1", L"DOSCyrillic", L"MacRoman",
    L"MacLatin2", L"MacCyrillic", L"MacGreek", L"MacTurkish", L"MacRomanian", L"MacIceland",
    L"MacCroatian"};

std::wstring UsableOr(std::wstring_view stored, std::wstring_view builtIn) {
    return std::wstring(CheckEntry(stored) == EntryProblem::None ? stored : builtIn);
}

std::wstring MessageFor(std::wstring_view field, EntryProblem problem) {
    std::wstring text(field);
    switch (problem) {
    case EntryProblem::Empty: text += L" can't be empty."; break;
    case EntryProblem::DoubleQuote: text += L" can't contain double quotes."; break;
    case EntryProblem::TrailingBackslash: text += L" can't end with a backslash."; break;
    case EntryProblem::None: return {};
    }
    return text;
}

}  // namespace

EntryProblem CheckEntry(std::wstring_view text) {
    if (text.empty()) return EntryProblem::Empty;
    if (text.find(L'"') != std::wstring_view::npos) return EntryProblem::DoubleQuote;
    if (text.back() == L'\\') return EntryProblem::TrailingBackslash;
    return EntryProblem::None;
}

std::wstring LanguageFromStore(std::wstring_view stored) { return UsableOr(stored, kDefaultTextLanguage); }
std::wstring CharsetFromStore(std::wstring_view stored) { return UsableOr(stored, kDefaultFileNameCharset); }

std::uint32_t ColorFromStore(long stored, std::uint32_t builtIn) {
    return stored == kUnsetColor ? builtIn : static_cast<std::uint32_t>(stored);
}

std::wstring TrimEntry(std::wstring_view text) { return support::TrimSet(text, L" \t"); }

EntryCheck CheckEntries(std::wstring_view language, std::wstring_view charset) {
    if (const auto p = CheckEntry(language); p != EntryProblem::None)
        return {EntryField::TextLanguage, MessageFor(L"Text language", p)};
    if (const auto p = CheckEntry(charset); p != EntryProblem::None)
        return {EntryField::FileNameCharset, MessageFor(L"File name charset", p)};
    return {};
}

std::span<const wchar_t* const> LanguageCodes() { return kLanguageCodes; }
std::span<const wchar_t* const> CharsetNames() { return kCharsetNames; }

}  // namespace metaview
