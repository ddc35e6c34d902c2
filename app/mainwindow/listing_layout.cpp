#include "app/mainwindow/listing_layout.h"

#include <algorithm>

namespace metaview {
namespace {

bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }
bool IsPairAt(std::wstring_view text, std::size_t i) {
    return i + 1 < text.size() && IsHighSurrogate(text[i]) && IsLowSurrogate(text[i + 1]);
}
bool IsWordChar(wchar_t c) { return c != L' ' && c != L'\t' && c != L'\r' && c != L'\n'; }

}  // namespace

bool IsLargeListing(std::wstring_view text) {
    if (text.size() >= kLargeListingChars) return true;
    std::size_t lineStart = 0;
    for (;;) {
        const std::size_t end = text.find(L'\n', lineStart);
        std::size_t length = (end == std::wstring_view::npos ? text.size() : end) - lineStart;
        if (end != std::wstring_view::npos && length > 0 && text[end - 1] == L'\r') --length;
        if (length >= kLongLineChars) return true;
        if (end == std::wstring_view::npos) return false;
        lineStart = end + 1;
    }
}

int CharWidths::Fill(std::uint32_t unit) {
    const std::uint32_t index = unit / kBlock;
    auto block = std::make_unique<std::array<int, kBlock>>();
    block->fill(0);
    if (measure_) measure_(static_cast<wchar_t>(index * kBlock), block->data());
    const bool lowSurrogates = index * kBlock >= 0xDC00 && index * kBlock <= 0xDFFF;
    for (int& width : *block) width = lowSurrogates ? 0 : std::max(width, 0);
    blocks_[index] = std::move(block);
    return (*blocks_[index])[unit % kBlock];
}

void ListingLayout::Build(std::wstring_view text, int maxWidth, CharWidths& widths) {
    maxWidth = std::max(maxWidth, 1);
    starts_.clear();
    ends_.clear();
    auto addLine = [this](std::size_t start, std::size_t end) {
        starts_.push_back(start);
        ends_.push_back(end);
    };
    std::size_t lineStart = 0;
    for (;;) {
        const std::size_t newline = text.find(L'\n', lineStart);
        const bool last = newline == std::wstring_view::npos;
        std::size_t contentEnd = last ? text.size() : newline;
        if (!last && contentEnd > lineStart && text[contentEnd - 1] == L'\r') --contentEnd;

        std::size_t piece = lineStart;
        for (;;) {
            int width = 0;
            std::size_t i = piece;
            std::size_t afterBlank = 0;  // just past the last blank that fits; 0: none
            while (i < contentEnd) {
                const int w = widths(text[i]);
                if (width + w > maxWidth && i > piece) break;
                width += w;
                if (text[i] == L' ') afterBlank = i + 1;
                ++i;
            }
            if (i >= contentEnd) {
                addLine(piece, contentEnd);
                break;
            }
            std::size_t cut = i;
            if (text[i] == L' ')
                cut = i + 1;  // a blank that does not fit hangs past the edge, as in a text box
            else if (afterBlank > piece)
                cut = afterBlank;
            if (cut > piece + 1 && IsPairAt(text, cut - 1)) --cut;  // a pair stays whole...
            if (cut == piece + 1 && IsPairAt(text, piece)) cut = piece + 2;  // ...even when alone
            addLine(piece, cut);
            piece = cut;
            if (piece >= contentEnd) break;  // cannot happen for a cut before the end; kept safe
        }
        if (last) break;
        lineStart = newline + 1;
    }
    if (starts_.empty()) addLine(0, 0);
}

std::size_t ListingLayout::LineOf(std::size_t offset) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    return after == starts_.begin() ? 0 : static_cast<std::size_t>(after - starts_.begin()) - 1;
}

int ListingLayout::XOf(std::wstring_view text, std::size_t line, std::size_t offset, CharWidths& widths) const {
    const std::size_t end = std::min({offset, ends_[line], text.size()});
    int x = 0;
    for (std::size_t i = starts_[line]; i < end; ++i) x += widths(text[i]);
    return x;
}

std::size_t ListingLayout::OffsetAt(std::wstring_view text, std::size_t line, int x, CharWidths& widths) const {
    const std::size_t end = std::min(ends_[line], text.size());
    int across = 0;
    for (std::size_t i = starts_[line]; i < end; ++i) {
        if (i > starts_[line] && IsPairAt(text, i - 1)) continue;  // not inside a pair
        const int w = widths(text[i]) + (IsPairAt(text, i) ? widths(text[i + 1]) : 0);
        if (x < across + w / 2 + (w % 2)) return i;
        across += w;
    }
    return end;
}

std::size_t NextCharOffset(std::wstring_view text, std::size_t offset) {
    if (offset >= text.size()) return text.size();
    if (text[offset] == L'\r' && offset + 1 < text.size() && text[offset + 1] == L'\n') return offset + 2;
    return IsPairAt(text, offset) ? offset + 2 : offset + 1;
}

std::size_t PreviousCharOffset(std::wstring_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    if (offset == 0) return 0;
    if (offset >= 2 && text[offset - 1] == L'\n' && text[offset - 2] == L'\r') return offset - 2;
    return offset >= 2 && IsPairAt(text, offset - 2) ? offset - 2 : offset - 1;
}

std::pair<std::size_t, std::size_t> WordAt(std::wstring_view text, std::size_t offset) {
    offset = std::min(offset, text.size());
    std::size_t at = offset;
    if (at == text.size() || !IsWordChar(text[at])) {
        if (at == 0 || !IsWordChar(text[at - 1])) return {offset, offset};
        --at;  // just after a word: that word
    }
    std::size_t start = at, end = at;
    while (start > 0 && IsWordChar(text[start - 1])) --start;
    while (end < text.size() && IsWordChar(text[end])) ++end;
    return {start, end};
}

}  // namespace metaview
