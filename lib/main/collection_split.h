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

// Pieces of `expression` between non-overlapping occurrences of `delimiter`, found from the
// left. An empty expression gives no pieces; an empty delimiter gives the whole expression.
// `limit` -1 means no limit; a positive limit n gives at most n pieces, the last holding the
// unsplit rest. A limit of 0 gives no pieces; other negative limits count as no limit.
// Without `equals` an occurrence is the same code units, searched for as such; with it,
// `equals` decides at every place in turn.
std::vector<TextPiece> SplitPieces(std::wstring_view expression, std::wstring_view delimiter, long limit,
                                   TextEquals equals = nullptr);

// The same pieces as texts of their own.
std::vector<std::wstring> SplitText(std::wstring_view expression, std::wstring_view delimiter, long limit,
                                    TextEquals equals = nullptr);

}  // namespace bk
