#include "lib/main/collection_split.h"

namespace bk {

std::vector<std::wstring> SplitText(std::wstring_view expression, std::wstring_view delimiter, long limit,
                                    const TextEquals& equals) {
    std::vector<std::wstring> pieces;
    if (expression.empty() || limit == 0) return pieces;
    if (delimiter.empty()) {
        pieces.emplace_back(expression);
        return pieces;
    }
    size_t start = 0, pos = 0;
    while (pos + delimiter.size() <= expression.size()) {
        if (limit > 0 && pieces.size() + 1 >= static_cast<size_t>(limit)) break;
        if (equals(expression.substr(pos, delimiter.size()), delimiter)) {
            pieces.emplace_back(expression.substr(start, pos - start));
            pos += delimiter.size();
            start = pos;
        } else {
            ++pos;
        }
    }
    pieces.emplace_back(expression.substr(start));
    return pieces;
}

}  // namespace bk
