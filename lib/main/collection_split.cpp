#include "lib/main/collection_split.h"

#include <cstdint>

namespace bk {
namespace {

// The first place at or after `from` where `equals` finds the delimiter, or npos.
size_t FindWith(TextEquals equals, std::wstring_view expression, std::wstring_view delimiter, size_t from) {
    for (size_t at = from; at + delimiter.size() <= expression.size(); ++at)
        if (equals(expression.substr(at, delimiter.size()), delimiter)) return at;
    return std::wstring_view::npos;
}

}  // namespace

std::vector<TextPiece> SplitPieces(std::wstring_view expression, std::wstring_view delimiter, long limit,
                                   TextEquals equals) {
    std::vector<TextPiece> pieces;
    if (expression.empty() || limit == 0) return pieces;
    if (delimiter.empty()) {
        pieces.push_back({0, expression.size()});
        return pieces;
    }
    const size_t most = limit > 0 ? static_cast<size_t>(limit) : SIZE_MAX;
    size_t start = 0;
    while (pieces.size() + 1 < most) {
        const size_t at = equals ? FindWith(equals, expression, delimiter, start) : expression.find(delimiter, start);
        if (at == std::wstring_view::npos) break;
        pieces.push_back({start, at - start});
        start = at + delimiter.size();
    }
    pieces.push_back({start, expression.size() - start});
    return pieces;
}

std::vector<std::wstring> SplitText(std::wstring_view expression, std::wstring_view delimiter, long limit,
                                    TextEquals equals) {
    std::vector<std::wstring> texts;
    for (const TextPiece& piece : SplitPieces(expression, delimiter, limit, equals))
        texts.emplace_back(expression.substr(piece.offset, piece.length));
    return texts;
}

}  // namespace bk
