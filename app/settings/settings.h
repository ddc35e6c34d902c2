// Metaview's program-wide settings, their built-in values and the rules that keep a stored or
// typed value usable. Platform-free.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace metaview {

// The current settings: read by the ExifTool run (language, charset) and the main window
// (colours); loaded at main-window load, changed only by the settings dialog.
struct Settings {
    std::wstring TextLanguage;     // ExifTool's -lang
    std::wstring FileNameCharset;  // ExifTool's -charset filename=
    std::uint32_t OutBoxBackColor = 0;  // COLORREF; high bit = system colour n
    std::uint32_t OutBoxForeColor = 0;
};
extern Settings g_settings;

// Where the values are stored (sections and keys of the settings store).
namespace keys {
inline constexpr std::wstring_view kExifToolSection = L"ExifTool Params";
inline constexpr std::wstring_view kTextLanguage = L"Text Language";
inline constexpr std::wstring_view kFileNameCharset = L"File Name Charset";
inline constexpr std::wstring_view kOutBoxSection = L"Out Box";
inline constexpr std::wstring_view kBackColor = L"Back Color";
inline constexpr std::wstring_view kForeColor = L"Fore Color";
inline constexpr std::wstring_view kColorsSection = L"Colors";
inline constexpr std::wstring_view kCustomColors = L"Custom Colors";
inline constexpr std::wstring_view kOfnPathsSection = L"OFN Paths";
inline constexpr std::wstring_view kLastTxtDirectory = L"Last open TXT directory";
inline constexpr std::wstring_view kPlacementSection = L"";
inline constexpr std::wstring_view kWindowPlacement = L"Window placement";
}  // namespace keys

inline constexpr std::wstring_view kDefaultTextLanguage = L"en";
inline constexpr std::wstring_view kDefaultFileNameCharset = L"Cyrillic";
inline constexpr std::uint32_t kDefaultBackColor = 0x4000;  // dark green
inline constexpr std::uint32_t kDefaultForeColor = 0xFF00;  // bright green
// What the store gives back for a colour never stored.
inline constexpr long kUnsetColor = -1;

// Why a language or charset text cannot be used. Both go into ExifTool's command line inside
// double quotes, so a double quote, or a backslash just before the closing quote, would end the
// quoted argument early and let the rest of the text become further ExifTool options.
enum class EntryProblem { None, Empty, DoubleQuote, TrailingBackslash };
EntryProblem CheckEntry(std::wstring_view text);

// Stored values as loaded: an unusable text gives the built-in value, -1 the built-in colour.
std::wstring LanguageFromStore(std::wstring_view stored);
std::wstring CharsetFromStore(std::wstring_view stored);
std::uint32_t ColorFromStore(long stored, std::uint32_t builtIn);

// A typed entry without blanks and tabs at both ends.
std::wstring TrimEntry(std::wstring_view text);

// The settings dialog's check of its two entries (already trimmed); the language is checked
// first.
enum class EntryField { None, TextLanguage, FileNameCharset };
struct EntryCheck {
    EntryField field = EntryField::None;  // None: both usable
    std::wstring message;                 // what to tell the user
};
EntryCheck CheckEntries(std::wstring_view language, std::wstring_view charset);

// The suggestions in the dialog's two lists, in display order.
std::span<const wchar_t* const> LanguageCodes();
std::span<const wchar_t* const> CharsetNames();

}  // namespace metaview
