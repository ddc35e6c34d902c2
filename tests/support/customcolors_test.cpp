// The colour dialog's custom colours as text.
#include <gtest/gtest.h>

#include "support/components/customcolors.h"

using support::CustomColors;

TEST(CustomColorsText, RoundTripAndFormat) {
    CustomColors c;
    EXPECT_EQ(L"FFFFFF,FFFFFF,FFFFFF,FFFFFF,FFFFFF,FFFFFF,FFFFFF,FFFFFF,"
              L"FFFFFF,FFFFFF,FFFFFF,FFFFFF,FFFFFF,FFFFFF,FFFFFF,FFFFFF",
              c.SaveToText());
    for (size_t i = 0; i < CustomColors::kCount; ++i) c.colors()[i] = static_cast<std::uint32_t>(i * 0x0A0B0C);
    c.colors()[0] = 0x0000FF;  // red: written red first
    const std::wstring text = c.SaveToText();
    EXPECT_EQ(L"FF0000,", text.substr(0, 7));

    CustomColors back;
    ASSERT_TRUE(back.LoadFromText(text));
    EXPECT_EQ(c.colors(), back.colors());

    CustomColors lower;
    std::wstring relaxed = L" ff0000 ,";
    for (int i = 1; i < 16; ++i) relaxed += L"00ff00,";
    relaxed.pop_back();
    ASSERT_TRUE(lower.LoadFromText(relaxed));
    EXPECT_EQ(0x0000FFu, lower.colors()[0]);
    EXPECT_EQ(0x00FF00u, lower.colors()[15]);
}

TEST(CustomColorsText, UnreadableTextChangesNothing) {
    CustomColors c;
    c.colors()[3] = 0x123456;
    const auto before = c.colors();
    std::wstring fifteen;
    for (int i = 0; i < 15; ++i) fifteen += L"000000,";
    fifteen.pop_back();
    for (const std::wstring& bad : {std::wstring(), fifteen, fifteen + L",000000,000000", fifteen + L",",
                                    fifteen + L",00000G", fifteen + L",00000", fifteen + L",0000000",
                                    std::wstring(L"garbage")}) {
        EXPECT_FALSE(c.LoadFromText(bad)) << bad;
        EXPECT_EQ(before, c.colors());
    }
}
