// bk::SplitText with any expression, delimiter and limit, comparing at every place or searching.
//
// Input: the first byte is the limit (a signed byte: -1 no limit, 0, a positive count, other
// negative values); the second, the delimiter's length in characters (0 to 3); the rest is
// text, whose first characters are the delimiter and the others the expression.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "lib/main/collection_split.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

bool Exact(std::wstring_view a, std::wstring_view b) { return a == b; }

// Letter case folded for ASCII only: enough to make a comparison that is not exact.
bool AsciiCaseless(std::wstring_view a, std::wstring_view b) {
    auto fold = [](wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a[i]) != fold(b[i])) return false;
    return true;
}

std::wstring Join(const std::vector<std::wstring>& pieces, std::wstring_view delimiter) {
    std::wstring text;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (i) text += delimiter;
        text += pieces[i];
    }
    return text;
}

// The pieces lie in the expression one after the other, each followed (but the last) by an
// occurrence of the delimiter under `equals`; none but a last piece cut off by the limit holds
// an occurrence of its own, since the search takes the leftmost one.
void CheckLayout(const std::vector<std::wstring>& pieces, std::wstring_view expression, std::wstring_view delimiter,
                 bool cutByLimit, const bk::TextEquals& equals) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const std::wstring& piece = pieces[i];
        FUZZ_CHECK(expression.substr(at, piece.size()) == piece);
        const bool last = i + 1 == pieces.size();
        if (!(last && cutByLimit)) {
            for (std::size_t k = 0; k + delimiter.size() <= piece.size(); ++k)
                FUZZ_CHECK(!equals(std::wstring_view(piece).substr(k, delimiter.size()), delimiter));
        }
        at += piece.size();
        if (!last) {
            FUZZ_CHECK(equals(expression.substr(at, delimiter.size()), delimiter));
            at += delimiter.size();
        }
    }
    FUZZ_CHECK(at == expression.size());
}

void CheckSplit(std::wstring_view expression, std::wstring_view delimiter, long limit, const bk::TextEquals& equals,
                bool exact) {
    const auto pieces = bk::SplitText(expression, delimiter, limit, equals);
    if (limit == 0 || expression.empty()) {
        FUZZ_CHECK(pieces.empty());
        return;
    }
    FUZZ_CHECK(!pieces.empty());
    if (delimiter.empty()) {
        FUZZ_CHECK(pieces.size() == 1 && pieces[0] == expression);
        return;
    }
    if (limit > 0) FUZZ_CHECK(pieces.size() <= static_cast<std::size_t>(limit));
    const bool cutByLimit = limit > 0 && pieces.size() == static_cast<std::size_t>(limit);
    CheckLayout(pieces, expression, delimiter, cutByLimit, equals);
    if (exact) FUZZ_CHECK(Join(pieces, delimiter) == expression);

    // A limit only stops the splitting early: the pieces before the last are those of the
    // unlimited split, and a limit the split does not reach changes nothing.
    const auto all = bk::SplitText(expression, delimiter, -1, equals);
    if (limit > 0) {
        FUZZ_CHECK(pieces.size() <= all.size());
        for (std::size_t i = 0; i + 1 < pieces.size(); ++i) FUZZ_CHECK(pieces[i] == all[i]);
        if (all.size() <= static_cast<std::size_t>(limit)) FUZZ_CHECK(pieces == all);
    } else {
        FUZZ_CHECK(pieces == all);  // every negative limit means none
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const long limit = static_cast<std::int8_t>(data[0]);
    const std::wstring text = fuzz::WideFromBytes(fuzz::Bytes(data + 2, size - 2));
    const std::size_t delimiterLength = std::min<std::size_t>(data[1] % 4, text.size());
    const std::wstring_view delimiter = std::wstring_view(text).substr(0, delimiterLength);
    const std::wstring_view expression = std::wstring_view(text).substr(delimiterLength);

    CheckSplit(expression, delimiter, limit, Exact, true);
    CheckSplit(expression, delimiter, limit, AsciiCaseless, false);
    // Searching for the delimiter's code units finds the places that comparing at each does.
    FUZZ_CHECK(bk::SplitText(expression, delimiter, limit) == bk::SplitText(expression, delimiter, limit, Exact));
    return 0;
}
