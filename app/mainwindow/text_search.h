// Find in the shown text: where the next or previous match of a search term lies, with or
// without letter case and whole words only. Platform-free: the window reads the selection,
// asks here and selects what comes back.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace metaview {

struct SearchOptions {
    bool matchCase = false;
    bool wholeWord = false;
    bool down = true;  // towards the end of the text; false: towards its start
};

// A range of the text, [start, end).
struct TextRange {
    std::size_t start = 0;
    std::size_t end = 0;
    friend bool operator==(const TextRange&, const TextRange&) = default;
};

// The match of `what` nearest to the selection [selStart, selEnd) in the direction asked:
// down, the first one starting at or after the selection's end; up, the last one ending at
// or before its start, so that a selected match is never found again. Nothing when there is
// no further match (the search does not wrap around) or `what` is empty. Whole words: a match
// that begins (ends) with a word character must not have one just before (after) it. A selection past the
// end of the text counts as the end of the text.
std::optional<TextRange> FindInText(std::wstring_view text, std::wstring_view what, std::size_t selStart,
                                    std::size_t selEnd, const SearchOptions& options);

// The character in one letter case, for comparing without case: the simple one-to-one case
// pairs of Latin (ASCII, Latin-1, Latin Extended-A), Greek and Cyrillic; anything else
// stands for itself.
wchar_t FoldCase(wchar_t c);

// Whether the character belongs to a word: letters and digits of any script and the
// underscore. Blanks, punctuation, symbols and line breaks separate words.
bool IsWordCharacter(wchar_t c);

// The message shown when the term is not found: Cannot find "term".
std::wstring CannotFindMessage(std::wstring_view what);

// What the Find dialog offers as its term when it opens: the selected text when it is a
// short part of one line, otherwise nothing (the dialog then keeps its last term).
std::wstring SearchTermFromSelection(std::wstring_view text, std::size_t selStart, std::size_t selEnd,
                                     std::size_t maxLength);

}  // namespace metaview
