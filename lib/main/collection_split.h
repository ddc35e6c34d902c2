// The automation runtime's split rules, used by SplitCollection. Platform-free: the
// case-insensitive comparison is passed in.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace bk {

// Compares two texts of equal length for equality.
using TextEquals = std::function<bool(std::wstring_view, std::wstring_view)>;

// Pieces of `expression` between non-overlapping occurrences of `delimiter`, found from the
// left. An empty expression gives no pieces; an empty delimiter gives the whole expression.
// `limit` -1 means no limit; a positive limit n gives at most n pieces, the last holding the
// unsplit rest. A limit of 0 gives no pieces; other negative limits count as no limit.
std::vector<std::wstring> SplitText(std::wstring_view expression, std::wstring_view delimiter, long limit,
                                    const TextEquals& equals);

}  // namespace bk
