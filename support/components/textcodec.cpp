#include "support/components/textcodec.h"

namespace support {

bool IsWellFormedUtf8(std::string_view bytes, bool* multiByte) {
    bool sawMulti = false;
    size_t i = 0;
    const size_t n = bytes.size();
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) { ++i; continue; }
        size_t length = 0;
        unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (b >= 0xC2 && b <= 0xDF) length = 2;
        else if (b >= 0xE0 && b <= 0xEF) {
            length = 3;
            if (b == 0xE0) low = 0xA0;        // no overlong forms
            else if (b == 0xED) high = 0x9F;  // no surrogates
        } else if (b >= 0xF0 && b <= 0xF4) {
            length = 4;
            if (b == 0xF0) low = 0x90;
            else if (b == 0xF4) high = 0x8F;  // nothing past U+10FFFF
        } else {
            return false;
        }
        if (n - i < length) return false;
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < low || second > high) return false;
        for (size_t k = 2; k < length; ++k) {
            const auto c = static_cast<unsigned char>(bytes[i + k]);
            if (c < 0x80 || c > 0xBF) return false;
        }
        sawMulti = true;
        i += length;
    }
    if (multiByte) *multiByte = sawMulti;
    return true;
}

TextEncodingChoice ChooseTextEncoding(std::string_view bytes, long mode) {
    if (bytes.starts_with(kUtf8Bom)) return {TextEncoding::Utf8, kUtf8Bom.size()};
    if (bytes.starts_with(std::string_view("\xFF\xFE", 2))) return {TextEncoding::Utf16LE, 2};
    if (bytes.starts_with(std::string_view("\xFE\xFF", 2))) return {TextEncoding::Utf16BE, 2};
    switch (mode) {
    case kReadUtf8:
        return {TextEncoding::Utf8, 0};
    case kReadConsole: {
        bool multiByte = false;
        if (IsWellFormedUtf8(bytes, &multiByte) && multiByte) return {TextEncoding::Utf8, 0};
        return {TextEncoding::OemCodePage, 0};
    }
    default:
        return {TextEncoding::AnsiCodePage, 0};
    }
}

}  // namespace support
