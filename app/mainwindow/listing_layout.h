// The layout of the listing view: which part of the text each line on the screen shows, where
// a character sits across its line, and which character a point falls on. Lines end at "\n"
// (with or without "\r" before it); a line wider than the view is broken after the last blank
// that still fits, else before the first character that does not, as a word-wrapping text box
// breaks it. Every offset is an offset into the text as given: breaking a line puts nothing
// into the text. Platform-free.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

namespace metaview {

// Whether a text is shown in the listing view rather than in the system's text box: a text at
// least this long, or with a line at least this long. The system's box wraps a line in time
// that grows with the square of its length under Wine, and spends tens of microseconds on each
// line it holds; the listing view lays out only by the widths of characters and draws only
// the lines in sight.
inline constexpr std::size_t kLargeListingChars = 256 * 1024;
inline constexpr std::size_t kLongLineChars = 1000;
bool IsLargeListing(std::wstring_view text);

// The advance widths of the characters of one font, in pixels. They are asked for a block of
// 256 characters at a time, when a character of the block is first needed. The low half of a
// surrogate pair takes no width of its own: the pair is one glyph, measured by its high half.
class CharWidths {
public:
    static constexpr std::size_t kBlock = 256;
    // Fills `widths` with the widths of the characters `first` to `first + 255`.
    using Measure = std::function<void(wchar_t first, int* widths)>;

    explicit CharWidths(Measure measure) : measure_(std::move(measure)) {}

    int operator()(wchar_t c) {
        // Text comes in UTF-16 units; a wider wchar_t (a build for another system) beyond them
        // counts as the replacement character.
        std::uint32_t unit = static_cast<std::uint32_t>(c);
        if constexpr (sizeof(wchar_t) > 2) unit = unit <= 0xFFFF ? unit : 0xFFFDu;
        const auto& block = blocks_[unit / kBlock];
        return block ? (*block)[unit % kBlock] : Fill(unit);
    }

private:
    int Fill(std::uint32_t unit);
    Measure measure_;
    std::array<std::unique_ptr<std::array<int, kBlock>>, 0x10000 / kBlock> blocks_;
};

class ListingLayout {
public:
    // Lays `text` out in lines of at most `maxWidth` pixels (a line keeps at least one
    // character, and a surrogate pair is never split). A text ending in a line break has an
    // empty last line, where the caret can go.
    void Build(std::wstring_view text, int maxWidth, CharWidths& widths);

    // Always at least one line (an empty text has one empty line).
    std::size_t lineCount() const { return starts_.size(); }
    // The first offset of line `line` and the offset where its characters end (before its line
    // break, or where the next line starts when the line was broken for the width).
    std::size_t LineStart(std::size_t line) const { return starts_[line]; }
    std::size_t LineEnd(std::size_t line) const { return ends_[line]; }
    // The line an offset is on. An offset where a broken line goes on belongs to the line it
    // starts; one inside a line break, to the line the break ends.
    std::size_t LineOf(std::size_t offset) const;

    // How far across its line the character at `offset` starts (`offset` is on `line`).
    int XOf(std::wstring_view text, std::size_t line, std::size_t offset, CharWidths& widths) const;
    // The offset on `line` nearest to `x` pixels across: before a character when `x` is in its
    // left half, after it when in its right half; never inside a surrogate pair.
    std::size_t OffsetAt(std::wstring_view text, std::size_t line, int x, CharWidths& widths) const;

private:
    std::vector<std::size_t> starts_{0};
    std::vector<std::size_t> ends_{0};
};

// Caret steps in a text, over whole characters: a surrogate pair and a "\r\n" are one step.
std::size_t NextCharOffset(std::wstring_view text, std::size_t offset);
std::size_t PreviousCharOffset(std::wstring_view text, std::size_t offset);
// The word around `offset` (a run of characters other than blanks and line breaks), for a
// double click; an empty range at `offset` when it is on a blank or a line break.
std::pair<std::size_t, std::size_t> WordAt(std::wstring_view text, std::size_t offset);

}  // namespace metaview
