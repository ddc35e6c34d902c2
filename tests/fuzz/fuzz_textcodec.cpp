// support::ChooseTextEncoding and support::IsWellFormedUtf8 on any bytes, against a reference
// check of UTF-8 written here another way: decode each sequence by its bit patterns, then
// judge the value.
#include <climits>
#include <cstdint>
#include <string_view>

#include "support/components/textcodec.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

// Well-formed UTF-8 (RFC 3629): every sequence complete, in its shortest form, not a
// surrogate and not past U+10FFFF. `multiByte` tells whether any sequence is longer than one
// byte.
bool ReferenceWellFormed(std::string_view bytes, bool& multiByte) {
    multiByte = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        int length;
        std::uint32_t value;
        if ((lead & 0x80) == 0x00) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            value = lead & 0x1Fu;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            value = lead & 0x0Fu;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            value = lead & 0x07u;
        } else {
            return false;  // a continuation byte without a lead, or a lead of five bytes or more
        }
        if (bytes.size() - i < static_cast<std::size_t>(length)) return false;
        for (int k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[i + static_cast<std::size_t>(k)]);
            if ((next & 0xC0) != 0x80) return false;
            value = (value << 6) | (next & 0x3Fu);
        }
        const std::uint32_t shortest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
        if (value < shortest) return false;
        if (value >= 0xD800 && value <= 0xDFFF) return false;
        if (value > 0x10FFFF) return false;
        multiByte = true;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

void CheckChoice(std::string_view bytes, long mode, bool wellFormed, bool multiByte) {
    using support::TextEncoding;
    const support::TextEncodingChoice choice = support::ChooseTextEncoding(bytes, mode);
    FUZZ_CHECK(choice.bomLength <= bytes.size());
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        FUZZ_CHECK(choice.encoding == TextEncoding::Utf8 && choice.bomLength == 3);
    } else if (bytes.starts_with("\xFF\xFE")) {
        FUZZ_CHECK(choice.encoding == TextEncoding::Utf16LE && choice.bomLength == 2);
    } else if (bytes.starts_with("\xFE\xFF")) {
        FUZZ_CHECK(choice.encoding == TextEncoding::Utf16BE && choice.bomLength == 2);
    } else {
        FUZZ_CHECK(choice.bomLength == 0);
        TextEncoding expected = TextEncoding::AnsiCodePage;
        if (mode == support::kReadUtf8) expected = TextEncoding::Utf8;
        if (mode == support::kReadConsole)
            expected = wellFormed && multiByte ? TextEncoding::Utf8 : TextEncoding::OemCodePage;
        FUZZ_CHECK(choice.encoding == expected);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = fuzz::Bytes(data, size);

    bool referenceMulti = false;
    const bool wellFormed = ReferenceWellFormed(bytes, referenceMulti);
    bool multi = false;
    FUZZ_CHECK(support::IsWellFormedUtf8(bytes, &multi) == wellFormed);
    FUZZ_CHECK(support::IsWellFormedUtf8(bytes) == wellFormed);
    if (wellFormed) FUZZ_CHECK(multi == referenceMulti);

    for (long mode : {long{support::kReadAnsi}, long{support::kReadConsole}, long{support::kReadUtf8}, -1L, 3L,
                      static_cast<long>(LONG_MAX)})
        CheckChoice(bytes, mode, wellFormed, referenceMulti);
    return 0;
}
