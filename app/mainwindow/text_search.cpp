#include "app/mainwindow/text_search.h"

#include <algorithm>

namespace metaview {
namespace {

bool SameCharacter(wchar_t a, wchar_t b, bool matchCase) {
    return a == b || (!matchCase && FoldCase(a) == FoldCase(b));
}

// Whether the match [start, end) stands alone: where it begins or ends with a word character,
// no word character touches it on that side. A side that is a separator itself (a term such
// as ": ") is a boundary already.
bool IsWholeWord(std::wstring_view text, std::size_t start, std::size_t end) {
    if (start > 0 && IsWordCharacter(text[start]) && IsWordCharacter(text[start - 1])) return false;
    if (end < text.size() && IsWordCharacter(text[end - 1]) && IsWordCharacter(text[end])) return false;
    return true;
}

}  // namespace

wchar_t FoldCase(wchar_t c) {
    if (c < 0x80) return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c + 0x20) : c;
    // Latin-1: À..Þ pair with à..þ, without the multiplication sign.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<wchar_t>(c + 0x20);
    // Latin Extended-A: mostly even/odd pairs (Ā ā ... ķ), then odd/even (Ĺ ĺ ... ň), then
    // even/odd again (Ŋ ŋ ... ŷ), and Ź ź Ż ż Ž ž; Ÿ pairs with ÿ. İ, ı, ĸ and ŉ have no
    // one-to-one partner and stand for themselves.
    if (c >= 0x100 && c <= 0x137 && c != 0x130 && c != 0x131) return static_cast<wchar_t>(c | 1);
    if (c >= 0x139 && c <= 0x148) return (c & 1) ? static_cast<wchar_t>(c + 1) : c;
    if (c >= 0x14A && c <= 0x177) return static_cast<wchar_t>(c | 1);
    if (c == 0x178) return 0xFF;
    if (c >= 0x179 && c <= 0x17E) return (c & 1) ? static_cast<wchar_t>(c + 1) : c;
    // Greek: Α..Ω with α..ω (U+03A2 is unassigned); final sigma compares as sigma.
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<wchar_t>(c + 0x20);
    if (c == 0x3C2) return 0x3C3;
    // Greek capitals with tonos: Ά Έ Ή Ί Ό Ύ Ώ.
    if (c == 0x386) return 0x3AC;
    if (c >= 0x388 && c <= 0x38A) return static_cast<wchar_t>(c + 0x25);
    if (c == 0x38C) return 0x3CC;
    if (c == 0x38E || c == 0x38F) return static_cast<wchar_t>(c + 0x3F);
    // Cyrillic: Ѐ..Џ with ѐ..џ, А..Я with а..я, and the even/odd pairs Ѡ..ҁ and Ҋ..ӿ apart
    // from Ӏ (U+04C0) and the odd/even pairs Ӂ..ӎ.
    if (c >= 0x400 && c <= 0x40F) return static_cast<wchar_t>(c + 0x50);
    if (c >= 0x410 && c <= 0x42F) return static_cast<wchar_t>(c + 0x20);
    if ((c >= 0x460 && c <= 0x481) || (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x4FF))
        return static_cast<wchar_t>(c | 1);
    if (c == 0x4C0) return 0x4CF;
    if (c >= 0x4C1 && c <= 0x4CE) return (c & 1) ? static_cast<wchar_t>(c + 1) : c;
    return c;
}

bool IsWordCharacter(wchar_t c) {
    if (c < 0x80) return (c >= L'0' && c <= L'9') || (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_';
    if (c < 0xC0) return c == 0xAA || c == 0xB5 || c == 0xBA;  // ª µ º; the rest of Latin-1 is punctuation
    if (c == 0xD7 || c == 0xF7) return false;                  // × ÷
    // Blanks, punctuation and symbols of the general blocks; everything else above counts as
    // part of a word (letters and digits of other scripts).
    if (c >= 0x2000 && c <= 0x2BFF) return false;  // punctuation, sub/superscripts, currency, arrows, symbols
    if (c >= 0x3000 && c <= 0x303F) return false;  // CJK punctuation and the ideographic blank
    if (c >= 0xFE30 && c <= 0xFE6F) return false;  // compatibility and small forms
    if (c == 0xFEFF || (c >= 0xFFF0)) return false;
    if (c >= 0xFF01 && c <= 0xFF0F) return false;  // full-width punctuation
    return true;
}

std::optional<TextRange> FindInText(std::wstring_view text, std::wstring_view what, std::size_t selStart,
                                    std::size_t selEnd, const SearchOptions& options) {
    if (what.empty() || what.size() > text.size()) return std::nullopt;
    selStart = std::min(selStart, text.size());
    selEnd = std::min(std::max(selEnd, selStart), text.size());
    const auto same = [&options](wchar_t a, wchar_t b) { return SameCharacter(a, b, options.matchCase); };
    const std::size_t n = what.size();
    if (options.down) {
        for (std::size_t from = selEnd; from + n <= text.size();) {
            const auto it = std::search(text.begin() + static_cast<std::ptrdiff_t>(from), text.end(), what.begin(),
                                        what.end(), same);
            if (it == text.end()) return std::nullopt;
            const auto at = static_cast<std::size_t>(it - text.begin());
            if (!options.wholeWord || IsWholeWord(text, at, at + n)) return TextRange{at, at + n};
            from = at + 1;
        }
        return std::nullopt;
    }
    // Up: the last match inside [0, limit); a match that is no whole word moves the limit so
    // that only matches starting before it remain.
    for (std::size_t limit = selStart; limit >= n;) {
        const auto last = text.begin() + static_cast<std::ptrdiff_t>(limit);
        const auto it = std::find_end(text.begin(), last, what.begin(), what.end(), same);
        if (it == last) return std::nullopt;
        const auto at = static_cast<std::size_t>(it - text.begin());
        if (!options.wholeWord || IsWholeWord(text, at, at + n)) return TextRange{at, at + n};
        limit = at + n - 1;
    }
    return std::nullopt;
}

std::wstring CannotFindMessage(std::wstring_view what) { return L"Cannot find \"" + std::wstring(what) + L"\""; }

std::wstring SearchTermFromSelection(std::wstring_view text, std::size_t selStart, std::size_t selEnd,
                                     std::size_t maxLength) {
    selEnd = std::min(selEnd, text.size());
    if (selStart >= selEnd || selEnd - selStart > maxLength) return {};
    const std::wstring_view selected = text.substr(selStart, selEnd - selStart);
    if (selected.find_first_of(L"\r\n") != std::wstring_view::npos) return {};
    return std::wstring(selected);
}

}  // namespace metaview
