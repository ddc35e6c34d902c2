// What the fuzz targets share: the check that ends a run, and the texts made of a fuzzer's bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace fuzz {

// Ends the run with the failed condition; libFuzzer keeps the input as a crash artifact.
[[noreturn]] inline void Fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: check failed: %s\n", file, line, condition);
    std::abort();
}

#define FUZZ_CHECK(condition) ((condition) ? void(0) : ::fuzz::Fail(#condition, __FILE__, __LINE__))

// The fuzzer's bytes as they come.
inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// One character appended to a wide text: as one unit where wchar_t holds code points, as a
// surrogate pair past U+FFFF where it holds UTF-16 units.
inline void AppendCodePoint(std::wstring& text, std::uint32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp > 0xFFFF) {
            cp -= 0x10000;
            text += static_cast<wchar_t>(0xD800 + (cp >> 10));
            text += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
            return;
        }
    }
    text += static_cast<wchar_t>(cp);
}

// Bytes as wide text, read as UTF-8 where they can be, so that seed files are plain text: a
// complete, shortest-form sequence up to U+10FFFF gives its character (surrogate code points
// too, so that the fuzzer can make lone surrogates); any other byte gives the character of
// its own value (U+0080 to U+00FF for the bytes that are not ASCII).
inline std::wstring WideFromBytes(std::string_view bytes) {
    static constexpr std::uint32_t kShortest[] = {0, 0, 0x80, 0x800, 0x10000};
    std::wstring text;
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        // The sequence's length from the lead byte's high bits, and the lead's own value bits.
        std::size_t length = 1;
        if (lead >= 0xC0 && lead < 0xE0) length = 2;
        else if (lead >= 0xE0 && lead < 0xF0) length = 3;
        else if (lead >= 0xF0 && lead < 0xF8) length = 4;
        std::uint32_t cp = length == 1 ? lead : lead & (0x7Fu >> length);
        bool whole = length > 1 && bytes.size() - i >= length;
        for (std::size_t k = 1; whole && k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + k]);
            if ((next & 0xC0) != 0x80) whole = false;
            cp = (cp << 6) | (next & 0x3Fu);
        }
        if (whole && cp >= kShortest[length] && cp <= 0x10FFFF) {
            AppendCodePoint(text, cp);
            i += length;
        } else {
            text += static_cast<wchar_t>(lead);
            ++i;
        }
    }
    return text;
}

// The first `count` fields of a text separated by `separator`; the last one takes the rest
// of the text, separators included, and missing ones are empty.
template <class Char>
std::vector<std::basic_string_view<Char>> Fields(std::basic_string_view<Char> text, Char separator, std::size_t count) {
    std::vector<std::basic_string_view<Char>> fields;
    while (fields.size() + 1 < count) {
        const std::size_t at = text.find(separator);
        if (at == std::basic_string_view<Char>::npos) break;
        fields.push_back(text.substr(0, at));
        text.remove_prefix(at + 1);
    }
    fields.push_back(text);
    fields.resize(count);
    return fields;
}

}  // namespace fuzz
