#include "lib/main/cmdline_split.h"

namespace bk {

std::wstring_view TrimBlanks(std::wstring_view text) {
    const auto first = text.find_first_not_of(L' ');
    if (first == std::wstring_view::npos) return {};
    const auto last = text.find_last_not_of(L' ');
    return text.substr(first, last - first + 1);
}

void SplitCommandLine(std::wstring_view text, std::vector<std::wstring>& out) {
    std::wstring_view s = TrimBlanks(text);
    bool quoted = !s.empty() && s.front() == L'"';
    while (!s.empty()) {
        size_t cut;
        if (quoted) {
            quoted = false;
            s.remove_prefix(1);
            const size_t close = s.find(L'"');
            if (close == std::wstring_view::npos) {
                out.emplace_back(s);
                return;
            }
            out.emplace_back(s.substr(0, close));
            cut = close + 1;
        } else {
            const size_t blank = s.find(L' ');
            if (blank == std::wstring_view::npos) {
                out.emplace_back(s);
                return;
            }
            out.emplace_back(s.substr(0, blank));
            cut = blank;
        }
        s = TrimBlanks(s.substr(cut));
        if (!s.empty() && s.front() == L'"') quoted = true;
    }
}

}  // namespace bk
