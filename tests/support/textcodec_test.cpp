// How the bytes of a text file are judged: byte-order marks, the read modes, UTF-8 checks.
#include <gtest/gtest.h>

#include "support/components/textcodec.h"

namespace support {
namespace {

TEST(TextEncoding, ByteOrderMarkDecidesInEveryMode) {
    for (long mode : {0L, 1L, 2L}) {
        EXPECT_EQ(ChooseTextEncoding("\xEF\xBB\xBFx", mode).encoding, TextEncoding::Utf8);
        EXPECT_EQ(ChooseTextEncoding("\xEF\xBB\xBFx", mode).bomLength, 3u);
        EXPECT_EQ(ChooseTextEncoding("\xFF\xFEx", mode).encoding, TextEncoding::Utf16LE);
        EXPECT_EQ(ChooseTextEncoding("\xFE\xFFx", mode).encoding, TextEncoding::Utf16BE);
    }
}

TEST(TextEncoding, ModeChoosesWithoutAMark) {
    const std::string utf8Cyrillic = "\xD0\x9E\xD1\x88\xD0\xB8\xD0\xB1\xD0\xBA\xD0\xB0";  // "Ошибка"
    const std::string cp866Cyrillic = "\x8E\xE8\xA8\xA1\xAA\xA0";                       // "Ошибка"
    EXPECT_EQ(ChooseTextEncoding(cp866Cyrillic, kReadUtf8).encoding, TextEncoding::Utf8);
    EXPECT_EQ(ChooseTextEncoding(utf8Cyrillic, kReadConsole).encoding, TextEncoding::Utf8);
    EXPECT_EQ(ChooseTextEncoding(cp866Cyrillic, kReadConsole).encoding, TextEncoding::OemCodePage);
    EXPECT_EQ(ChooseTextEncoding("plain ASCII", kReadConsole).encoding, TextEncoding::OemCodePage);
    EXPECT_EQ(ChooseTextEncoding(utf8Cyrillic, kReadAnsi).encoding, TextEncoding::AnsiCodePage);
    EXPECT_EQ(ChooseTextEncoding("", 7).encoding, TextEncoding::AnsiCodePage);
}

TEST(TextEncoding, RejectsMalformedUtf8) {
    bool multi = false;
    EXPECT_TRUE(IsWellFormedUtf8("a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", &multi));
    EXPECT_TRUE(multi);
    EXPECT_FALSE(IsWellFormedUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(IsWellFormedUtf8("\xE0\x80\xAF"));      // overlong
    EXPECT_FALSE(IsWellFormedUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsWellFormedUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
    EXPECT_FALSE(IsWellFormedUtf8("\xE2\x82"));          // cut short
    EXPECT_FALSE(IsWellFormedUtf8("\x80"));
}

}  // namespace
}  // namespace support
