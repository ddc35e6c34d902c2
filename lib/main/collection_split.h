// The automation runtime's split rules, used by SplitCollection. Platform-free: the
// case-insensitive comparison is passed in.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace bk {

// Compares two texts of equal length for equality.
using TextEquals = bool (*)(std::wstring_view, std::wstring_view);

// Where a piece lies in the expression it was split from.
struct TextPiece {
    size_t offset = 0;
    size_t length = 0;
};

// The first place at or after `from` where `delimiter` (not empty) occurs in `expression`, or
// npos: without `equals` where the same code units are (searched for as such), with it where
// `equals` says so, asked at every place in turn.
size_t FindDelimiter(std::wstring_view expression, std::wstring_view delimiter, size_t from, TextEquals equals);

// Pieces of `expression` between non-overlapping occurrences of `delimiter`, found from the
// left. An empty expression gives no pieces; an empty delimiter gives the whole expression.
// `limit` -1 means no limit; a positive limit n gives at most n pieces, the last holding the
// unsplit rest. A limit of 0 gives no pieces; other negative limits count as no limit.
// VisitPieces calls `visit(offset, length)` for each piece in order and stops when it returns
// false; the others collect the pieces' places or texts.
template <class Visit>
void VisitPieces(std::wstring_view expression, std::wstring_view delimiter, long limit, TextEquals equals,
                 Visit&& visit) {
    if (expression.empty() || limit == 0) return;
    if (delimiter.empty()) {
        visit(size_t{0}, expression.size());
        return;
    }
    const size_t most = limit > 0 ? static_cast<size_t>(limit) : static_cast<size_t>(-1);
    size_t start = 0;
    for (size_t pieces = 1; pieces < most; ++pieces) {
        const size_t at = FindDelimiter(expression, delimiter, start, equals);
        if (at == std::wstring_view::npos) break;
        if (!visit(start, at - start)) return;
        start = at + delimiter.size();
    }
    visit(start, expression.size() - start);
}

std::vector<TextPiece> SplitPieces(std::wstring_view expression, std::wstring_view delimiter, long limit,
                                   TextEquals equals = nullptr);
std::vector<std::wstring> SplitText(std::wstring_view expression, std::wstring_view delimiter, long limit,
                                    TextEquals equals = nullptr);

}  // namespace bk
