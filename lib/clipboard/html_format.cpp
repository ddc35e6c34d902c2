#include "lib/clipboard/html_format.h"

#include <algorithm>
#include <cstdio>

namespace bk::clipboard {
namespace {

// The header with a placeholder of each number's width; lengths measured with it stay valid
// when the numbers replace the placeholders.
constexpr std::string_view kHeaderTemplate =
    "Version:1.0\r\n"
    "StartHTML:aaaaaaaaaa\r\n"
    "EndHTML:bbbbbbbbbb\r\n"
    "StartFragment:cccccccccc\r\n"
    "EndFragment:dddddddddd\r\n";
static_assert(kHeaderTemplate.size() == kHtmlHeaderSize);

constexpr std::string_view kNumberBlanks = " \t\r\n";

void PutNumber(std::string& data, std::string_view placeholder, std::size_t value) {
    char digits[24];
    std::snprintf(digits, sizeof digits, "%010llu", static_cast<unsigned long long>(value));
    data.replace(data.find(placeholder), placeholder.size(), digits);
}

struct Range {
    std::string_view startKey, endKey;
};

Range RangeOf(HtmlPart part) {
    switch (part) {
    case HtmlPart::ContextStart: return {"StartHTML:", "StartFragment:"};
    case HtmlPart::ContextEnd: return {"EndFragment:", "EndHTML:"};
    case HtmlPart::Fragment: return {"StartFragment:", "EndFragment:"};
    case HtmlPart::Selection: return {"StartSelection:", "EndSelection:"};
    default: return {"StartHTML:", "EndHTML:"};
    }
}

std::optional<std::string_view> SourceUrlOf(std::string_view data) {
    constexpr std::string_view key = "SourceURL:";
    const std::size_t at = data.find(key);
    if (at == std::string_view::npos) return std::string_view();
    const std::optional<long long> startHtml = HtmlHeaderNumber(data, "StartHTML:");
    if (!startHtml) return std::nullopt;
    // A key at or after the start of the HTML belongs to the HTML, not to the header.
    if (*startHtml > 0 && static_cast<unsigned long long>(*startHtml) <= at) return std::string_view();
    const std::size_t value = at + key.size();
    const std::size_t end = data.find("\r\n", value);
    if (end == std::string_view::npos) return std::string_view();
    return data.substr(value, end - value);
}

}  // namespace

HtmlDocument BuildHtmlDocument(std::string_view fragment, std::string_view startContext, std::string_view endContext) {
    HtmlDocument doc;
    doc.startContext.reserve(startContext.size() + kStartFragmentMark.size());
    doc.startContext.append(startContext).append(kStartFragmentMark);
    doc.endContext.reserve(kEndFragmentMark.size() + endContext.size());
    doc.endContext.append(kEndFragmentMark).append(endContext);

    doc.data.reserve(kHeaderTemplate.size() + doc.startContext.size() + fragment.size() + doc.endContext.size());
    doc.data.append(kHeaderTemplate).append(doc.startContext).append(fragment).append(doc.endContext);
    const std::size_t startFragment = kHeaderTemplate.size() + doc.startContext.size();
    PutNumber(doc.data, "aaaaaaaaaa", kHeaderTemplate.size());
    PutNumber(doc.data, "bbbbbbbbbb", doc.data.size());
    PutNumber(doc.data, "cccccccccc", startFragment);
    PutNumber(doc.data, "dddddddddd", startFragment + fragment.size());
    return doc;
}

bool IsHtmlPart(long value) { return value >= 0 && value <= 6; }

std::string_view HtmlDataOfBlock(std::string_view block) {
    const std::size_t zero = block.find('\0');
    return zero == std::string_view::npos ? block : block.substr(0, zero);
}

std::optional<long long> HtmlHeaderNumber(std::string_view data, std::string_view key) {
    const std::size_t at = data.find(key);
    if (at == std::string_view::npos) return 0;
    std::string_view text = data.substr(at + key.size(), 10);
    const std::size_t first = text.find_first_not_of(kNumberBlanks);
    if (first == std::string_view::npos) return std::nullopt;
    text = text.substr(first, text.find_last_not_of(kNumberBlanks) - first + 1);
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;
    long long value = 0;  // ten digits at most: no overflow
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return negative ? -value : value;
}

std::optional<std::string_view> SelectHtmlPart(std::string_view data, HtmlPart part) {
    if (part == HtmlPart::Raw) return data;
    if (part == HtmlPart::SourceUrl) return SourceUrlOf(data);
    const Range range = RangeOf(part);
    const std::optional<long long> start = HtmlHeaderNumber(data, range.startKey);
    if (!start) return std::nullopt;
    const std::optional<long long> end = HtmlHeaderNumber(data, range.endKey);
    if (!end) return std::nullopt;
    if (*start < 1 || *end < 1) return part == HtmlPart::Html ? data : std::string_view();
    // The numbers are the header's word only: the part is what of it lies inside the data.
    const auto size = static_cast<unsigned long long>(data.size());
    const auto from = std::min(static_cast<unsigned long long>(*start), size);
    const auto to = std::min(static_cast<unsigned long long>(*end), size);
    if (to <= from) return std::string_view();
    return data.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

}  // namespace bk::clipboard
