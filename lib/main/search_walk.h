// The walk shared by orxMain's In… search members, apart from how an element is fetched and
// compared. Platform-free: the status type of the caller is passed through unchanged.
#pragma once

#include <optional>

namespace bk {

// Outcome of a search: the position of the first match, or the not-found value.
struct SearchResult {
    long position = 0;
    bool found = false;
};

// The first and last positions of a search: the given ones, or the defaults when absent.
struct SearchRange {
    long first = 0;
    long last = -1;
};

inline SearchRange ResolveRange(std::optional<long> startAt, std::optional<long> endAt, long defaultFirst,
                                long defaultLast) {
    return SearchRange{startAt.value_or(defaultFirst), endAt.value_or(defaultLast)};
}

// Walks the positions of `range` in ascending order and stops at the first one that
// `test(position, matched)` reports as a match. A range whose last position is below its
// first is empty: nothing is tested. `test` returns `ok` to go on; any other status ends the
// walk and is returned, the result staying at the not-found value.
template <class Status, class Test>
Status FindFirst(const SearchRange& range, long notFound, Status ok, Test&& test, SearchResult& result) {
    result = SearchResult{notFound, false};
    if (range.last < range.first) return ok;
    for (long position = range.first;; ++position) {
        bool matched = false;
        Status status = test(position, matched);
        if (!(status == ok)) return status;
        if (matched) {
            result = SearchResult{position, true};
            return ok;
        }
        if (position == range.last) return ok;  // also keeps the counter from overflowing
    }
}

}  // namespace bk
