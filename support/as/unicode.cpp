#include "support/as/unicode.h"

#include <cstdint>

namespace support {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Appends one code point (or a unit of a lone surrogate) as wchar_t text.
void AppendWide(std::wstring& out, char32_t c) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (c >> 10));
            out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(c);
}

// The code points of wchar_t text: UTF-16 pairs joined where wchar_t has 16 bits; a lone
// surrogate or a value that is no character is given as `lone` (U+FFFD or the unit itself).
template <class Visit>
void ForEachCodePoint(std::wstring_view text, bool replaceLone, Visit&& visit) {
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t c = static_cast<char32_t>(text[i]);
        if constexpr (sizeof(wchar_t) == 2) {
            if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
                const char32_t low = static_cast<char16_t>(text[i + 1]);
                if (low >= 0xDC00 && low <= 0xDFFF) {
                    visit(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00));
                    ++i;
                    continue;
                }
            }
        }
        if (replaceLone && (IsSurrogate(c) || c > 0x10FFFF)) c = kReplacement;
        visit(c);
    }
}

}  // namespace

std::string asUNICODEToUTF8(std::wstring_view text) {
    std::string out;
    out.reserve(text.size());
    ForEachCodePoint(text, true, [&](char32_t c) { AppendUtf8(out, c); });
    return out;
}

std::wstring asUTF8ToUNICODE(std::string_view bytes) {
    std::wstring out;
    out.reserve(bytes.size());
    const size_t n = bytes.size();
    size_t i = 0;
    while (i < n) {
        const auto lead = static_cast<std::uint8_t>(bytes[i]);
        if (lead < 0x80) {
            out += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        // Length and the range of the second byte (which excludes overlong forms,
        // surrogates and values past U+10FFFF).
        size_t length = 0;
        std::uint8_t low = 0x80, high = 0xBF;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            if (lead == 0xE0) low = 0xA0;
            if (lead == 0xED) high = 0x9F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            if (lead == 0xF0) low = 0x90;
            if (lead == 0xF4) high = 0x8F;
        }
        if (length == 0) {
            out += static_cast<wchar_t>(kReplacement);
            ++i;
            continue;
        }
        char32_t c = lead & (0xFF >> (length + 1));
        size_t taken = 1;
        for (; taken < length && i + taken < n; ++taken) {
            const auto next = static_cast<std::uint8_t>(bytes[i + taken]);
            const std::uint8_t min = taken == 1 ? low : 0x80, max = taken == 1 ? high : 0xBF;
            if (next < min || next > max) break;
            c = (c << 6) | (next & 0x3F);
        }
        AppendWide(out, taken == length ? c : kReplacement);
        i += taken;
    }
    return out;
}

std::string Utf16LeBytes(std::wstring_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    auto unit = [&](char32_t u) {
        out += static_cast<char>(u & 0xFF);
        out += static_cast<char>((u >> 8) & 0xFF);
    };
    ForEachCodePoint(text, false, [&](char32_t c) {
        if (c >= 0x10000 && c <= 0x10FFFF) {
            c -= 0x10000;
            unit(0xD800 + (c >> 10));
            unit(0xDC00 + (c & 0x3FF));
        } else {
            unit(c > 0xFFFF ? kReplacement : c);
        }
    });
    return out;
}

std::wstring TextFromUtf16Le(std::string_view bytes) {
    std::wstring out;
    const size_t units = bytes.size() / 2;
    out.reserve(units);
    auto unitAt = [&](size_t k) {
        return static_cast<char32_t>(static_cast<std::uint8_t>(bytes[2 * k]) |
                                     (static_cast<std::uint8_t>(bytes[2 * k + 1]) << 8));
    };
    for (size_t k = 0; k < units; ++k) {
        const char32_t u = unitAt(k);
        if constexpr (sizeof(wchar_t) != 2) {
            if (u >= 0xD800 && u <= 0xDBFF && k + 1 < units) {
                const char32_t next = unitAt(k + 1);
                if (next >= 0xDC00 && next <= 0xDFFF) {
                    out += static_cast<wchar_t>(0x10000 + ((u - 0xD800) << 10) + (next - 0xDC00));
                    ++k;
                    continue;
                }
            }
        }
        out += static_cast<wchar_t>(u);
    }
    return out;
}

}  // namespace support
