#include "lib/main/collection_split.h"

namespace bk {

size_t FindDelimiter(std::wstring_view expression, std::wstring_view delimiter, size_t from, TextEquals equals) {
    const size_t size = expression.size(), length = delimiter.size();
    if (from > size || size - from < length) return std::wstring_view::npos;
    const size_t last = size - length;  // the last place an occurrence can start
    if (equals) {
        for (size_t at = from; at <= last; ++at)
            if (equals(expression.substr(at, length), delimiter)) return at;
        return std::wstring_view::npos;
    }
    // A plain loop: the pieces are short, and a library search is a call per piece.
    const wchar_t* text = expression.data();
    const wchar_t* wanted = delimiter.data();
    for (size_t at = from; at <= last; ++at) {
        if (text[at] != wanted[0]) continue;
        size_t k = 1;
        while (k < length && text[at + k] == wanted[k]) ++k;
        if (k == length) return at;
    }
    return std::wstring_view::npos;
}

std::vector<TextPiece> SplitPieces(std::wstring_view expression, std::wstring_view delimiter, long limit,
                                   TextEquals equals) {
    std::vector<TextPiece> pieces;
    VisitPieces(expression, delimiter, limit, equals, [&](size_t offset, size_t length) {
        pieces.push_back({offset, length});
        return true;
    });
    return pieces;
}

std::vector<std::wstring> SplitText(std::wstring_view expression, std::wstring_view delimiter, long limit,
                                    TextEquals equals) {
    std::vector<std::wstring> texts;
    VisitPieces(expression, delimiter, limit, equals, [&](size_t offset, size_t length) {
        texts.emplace_back(expression.substr(offset, length));
        return true;
    });
    return texts;
}

}  // namespace bk
