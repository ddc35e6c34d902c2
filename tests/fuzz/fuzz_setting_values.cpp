// Stored setting values as they read back, from any bytes: numbers stored as text
// (support::ParseSettingNumber), the bytes of string values (support::SettingTextFromBytes),
// the custom colours' text (support::CustomColors) and Metaview's stored language and
// charset (metaview::LanguageFromStore, CharsetFromStore), which must always come out usable.
// Every check reads the whole input in its own way.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/settings/settings.h"
#include "support/components/customcolors.h"
#include "support/components/setting_value.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using support::CustomColors;

// --- numbers ---

// An optional sign, then ASCII digits only; the value, leading zeros aside, of at most ten
// digits and within the 32-bit signed range.
std::optional<long> ReferenceNumber(std::wstring_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    for (wchar_t c : text)
        if (c < L'0' || c > L'9') return std::nullopt;
    while (text.size() > 1 && text.front() == L'0') text.remove_prefix(1);
    if (text.size() > 10) return std::nullopt;
    long long value = 0;
    for (wchar_t c : text) value = value * 10 + (c - L'0');
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<long>(value);
}

void CheckNumbers(std::string_view bytes, std::wstring_view text) {
    FUZZ_CHECK(support::ParseSettingNumber(text) == ReferenceNumber(text));
    // Any 32-bit value written as text reads back, with a sign or leading zeros too.
    std::int32_t value = 0;
    for (std::size_t i = 0; i < bytes.size() && i < 4; ++i)
        value = static_cast<std::int32_t>(static_cast<std::uint32_t>(value) << 8 |
                                          static_cast<unsigned char>(bytes[i]));
    const std::wstring written = std::to_wstring(value);
    FUZZ_CHECK(support::ParseSettingNumber(written) == value);
    if (value >= 0) FUZZ_CHECK(support::ParseSettingNumber(L"+000" + written) == value);
}

// --- string values ---

bool IsHighSurrogate(std::uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

// The text written back as UTF-16 LE.
std::vector<std::uint8_t> Utf16LE(std::wstring_view text) {
    std::vector<std::uint8_t> bytes;
    auto unit = [&bytes](std::uint32_t u) {
        bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
        bytes.push_back(static_cast<std::uint8_t>(u >> 8));
    };
    for (wchar_t c : text) {
        const auto cp = static_cast<std::uint32_t>(c);
        if (cp > 0xFFFF) {
            unit(0xD800 + ((cp - 0x10000) >> 10));
            unit(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            unit(cp);
        }
    }
    return bytes;
}

void CheckStringValue(std::span<const std::uint8_t> bytes) {
    const std::wstring text = support::SettingTextFromBytes(bytes);
    // Written back it gives the bytes' whole units up to the first null unit.
    std::size_t end = 0;
    while (end + 1 < bytes.size() && (bytes[end] | bytes[end + 1]) != 0) end += 2;
    FUZZ_CHECK(Utf16LE(text) ==
               std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(end)));
    // Where wchar_t holds code points, a surrogate pair was read as its one character.
    if constexpr (sizeof(wchar_t) == 4) {
        for (std::size_t i = 0; i + 1 < text.size(); ++i)
            FUZZ_CHECK(!(IsHighSurrogate(static_cast<std::uint32_t>(text[i])) &&
                         IsLowSurrogate(static_cast<std::uint32_t>(text[i + 1]))));
    }
}

// --- custom colours ---

// Sixteen entries between commas, each six hexadecimal digits RRGGBB with blanks or tabs
// around it.
std::optional<CustomColors::Colors> ReferenceColors(std::wstring_view text) {
    std::vector<std::wstring_view> entries;
    for (std::size_t start = 0;;) {
        const std::size_t comma = text.find(L',', start);
        entries.push_back(text.substr(start, comma == std::wstring_view::npos ? comma : comma - start));
        if (comma == std::wstring_view::npos) break;
        start = comma + 1;
    }
    if (entries.size() != CustomColors::kCount) return std::nullopt;
    CustomColors::Colors colors{};
    std::size_t count = 0;
    for (std::wstring_view entry : entries) {
        while (!entry.empty() && (entry.front() == L' ' || entry.front() == L'\t')) entry.remove_prefix(1);
        while (!entry.empty() && (entry.back() == L' ' || entry.back() == L'\t')) entry.remove_suffix(1);
        if (entry.size() != 6) return std::nullopt;
        std::uint32_t rgb = 0;
        for (wchar_t c : entry) {
            std::uint32_t digit;
            if (c >= L'0' && c <= L'9') digit = static_cast<std::uint32_t>(c - L'0');
            else if (c >= L'a' && c <= L'f') digit = static_cast<std::uint32_t>(c - L'a' + 10);
            else if (c >= L'A' && c <= L'F') digit = static_cast<std::uint32_t>(c - L'A' + 10);
            else return std::nullopt;
            rgb = rgb * 16 + digit;
        }
        colors[count++] = (rgb >> 16) | (rgb & 0x00FF00) | ((rgb & 0xFF) << 16);  // RRGGBB to 0x00BBGGRR
    }
    return colors;
}

// Sixteen colours from the input's bytes, three per colour, repeated as needed.
CustomColors::Colors ColorsFrom(std::string_view bytes) {
    CustomColors::Colors colors{};
    for (std::size_t i = 0; i < colors.size(); ++i) {
        std::uint32_t c = 0;
        for (std::size_t k = 0; k < 3 && !bytes.empty(); ++k)
            c = c << 8 | static_cast<unsigned char>(bytes[(i * 3 + k) % bytes.size()]);
        colors[i] = c;
    }
    return colors;
}

void CheckCustomColors(std::string_view bytes, std::wstring_view text) {
    const CustomColors::Colors pattern = ColorsFrom(bytes);

    // Reading: exactly the texts of the form are taken; anything else changes nothing.
    CustomColors read;
    read.colors() = pattern;
    const auto expected = ReferenceColors(text);
    FUZZ_CHECK(read.LoadFromText(text) == expected.has_value());
    FUZZ_CHECK(read.colors() == (expected ? *expected : pattern));

    // Writing: the form, red first in upper-case digits, and it reads back to the same colours.
    CustomColors written;
    written.colors() = pattern;
    const std::wstring saved = written.SaveToText();
    std::wstring form;
    for (std::uint32_t c : pattern) {
        wchar_t entry[8];
        std::swprintf(entry, 8, L"%02X%02X%02X", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        if (!form.empty()) form += L',';
        form += entry;
    }
    FUZZ_CHECK(saved == form);
    CustomColors back;
    FUZZ_CHECK(back.LoadFromText(saved));
    FUZZ_CHECK(back.colors() == pattern);
}

// --- Metaview's stored language and charset ---

void CheckStoredTexts(std::wstring_view stored) {
    using namespace metaview;
    const bool usable = CheckEntry(stored) == EntryProblem::None;
    const std::wstring language = LanguageFromStore(stored);
    const std::wstring charset = CharsetFromStore(stored);
    FUZZ_CHECK(CheckEntry(language) == EntryProblem::None);
    FUZZ_CHECK(CheckEntry(charset) == EntryProblem::None);
    FUZZ_CHECK(language == (usable ? stored : kDefaultTextLanguage));
    FUZZ_CHECK(charset == (usable ? stored : kDefaultFileNameCharset));

    // The dialog's path: a trimmed entry has no blank or tab at its ends and is the middle of
    // the typed text; the check accepts it exactly when it is usable.
    const std::wstring trimmed = TrimEntry(stored);
    FUZZ_CHECK(stored.find(trimmed) != std::wstring_view::npos);
    if (!trimmed.empty()) {
        FUZZ_CHECK(trimmed.front() != L' ' && trimmed.front() != L'\t');
        FUZZ_CHECK(trimmed.back() != L' ' && trimmed.back() != L'\t');
    }
    const EntryCheck asLanguage = CheckEntries(trimmed, kDefaultFileNameCharset);
    const EntryCheck asCharset = CheckEntries(kDefaultTextLanguage, trimmed);
    const bool trimmedUsable = CheckEntry(trimmed) == EntryProblem::None;
    FUZZ_CHECK((asLanguage.field == EntryField::None) == trimmedUsable);
    FUZZ_CHECK((asCharset.field == EntryField::None) == trimmedUsable);
    if (!trimmedUsable) {
        FUZZ_CHECK(asLanguage.field == EntryField::TextLanguage && !asLanguage.message.empty());
        FUZZ_CHECK(asCharset.field == EntryField::FileNameCharset && !asCharset.message.empty());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);
    const std::wstring text = fuzz::WideFromBytes(bytes);

    CheckNumbers(bytes, text);
    CheckStringValue(std::span<const std::uint8_t>(data, size));
    CheckCustomColors(bytes, text);
    CheckStoredTexts(text);
    CheckStoredTexts(support::SettingTextFromBytes(std::span<const std::uint8_t>(data, size)));
    return 0;
}
