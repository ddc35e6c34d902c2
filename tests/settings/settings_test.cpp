// The settings rules, the custom-colour text, the settings store and loading/saving the
// program's settings.
#include <gtest/gtest.h>

#include "app/settings/settings.h"
#include "app/settings/settings_store.h"
#include "support/customcolors.h"
#include "tests/settings/test_store.h"

using namespace metaview;
using support::CustomColors;
using support::SettingValue;
using support::ValueKind;

TEST(SettingsRules, TrimRemovesBlanksAndTabsAtBothEndsOnly) {
    EXPECT_EQ(L"de", TrimEntry(L"  de  "));
    EXPECT_EQ(L"de", TrimEntry(L"\t de\t "));
    EXPECT_EQ(L"zh cn", TrimEntry(L" zh cn "));
    EXPECT_EQ(L"", TrimEntry(L" \t \t"));
}

TEST(SettingsRules, EntriesCheckedLanguageFirst) {
    EXPECT_EQ(EntryField::None, CheckEntries(L"de", L"Latin1").field);
    EXPECT_EQ(L"", CheckEntries(L"de", L"Latin1").message);

    auto both = CheckEntries(L"", L"");
    EXPECT_EQ(EntryField::TextLanguage, both.field);
    EXPECT_EQ(L"Text language can't be empty.", both.message);

    auto charset = CheckEntries(L"de", L"");
    EXPECT_EQ(EntryField::FileNameCharset, charset.field);
    EXPECT_EQ(L"File name charset can't be empty.", charset.message);

    // A quote would close ExifTool's quoted argument and let the rest through as options.
    auto quote = CheckEntries(L"en\" -o x", L"Latin1");
    EXPECT_EQ(EntryField::TextLanguage, quote.field);
    EXPECT_EQ(L"Text language can't contain double quotes.", quote.message);
    auto charsetQuote = CheckEntries(L"en", L"\"");
    EXPECT_EQ(EntryField::FileNameCharset, charsetQuote.field);
    EXPECT_EQ(L"File name charset can't contain double quotes.", charsetQuote.message);

    // So would a backslash just before the closing quote; elsewhere it is harmless.
    EXPECT_EQ(L"File name charset can't end with a backslash.", CheckEntries(L"en", L"Latin1\\").message);
    EXPECT_EQ(EntryField::None, CheckEntries(L"a\\b", L"x y").field);
}

TEST(SettingsRules, StoredValuesReplacedWhenUnusable) {
    EXPECT_EQ(L"en", LanguageFromStore(L""));
    EXPECT_EQ(L"en", LanguageFromStore(L"de\" -execute"));
    EXPECT_EQ(L"xx-yy", LanguageFromStore(L"xx-yy"));
    EXPECT_EQ(L"Cyrillic", CharsetFromStore(L""));
    EXPECT_EQ(L"Cyrillic", CharsetFromStore(L"Latin1\\"));
    EXPECT_EQ(L"Latin1", CharsetFromStore(L"Latin1"));

    EXPECT_EQ(0x4000u, ColorFromStore(-1, 0x4000));
    EXPECT_EQ(0u, ColorFromStore(0, 0x4000));  // black is a colour, not "unset"
    EXPECT_EQ(0x80000005u, ColorFromStore(static_cast<long>(0x80000005u), 0x4000));  // system colour
}

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

class AppSettingsTest : public mvtest::StoreTest {
protected:
    AppSettingsTest() : StoreTest(L"MetaviewTest-Store") {}
};

TEST_F(AppSettingsTest, KeyDerivedFromIdentity) {
    EXPECT_EQ(L"Software\\OrvexTest\\MetaviewTest-Store", store.ApplicationKeyPath());
    EXPECT_EQ(L"Software\\OrvexTest\\MetaviewTest-Store\\Out Box", store.SectionKeyPath(L"Out Box"));
    EXPECT_EQ(store.ApplicationKeyPath(), store.SectionKeyPath(L""));

    support::AppIdentity noCompany = app;
    noCompany.companyName.clear();
    EXPECT_EQ(L"Software\\Orvex\\MetaviewTest-Store", support::AppSettings(noCompany).ApplicationKeyPath());

    // Without an executable name there is nowhere to store: nothing is written.
    support::AppIdentity nameless = app;
    nameless.exeName.clear();
    support::AppSettings none(nameless);
    EXPECT_NE(ERROR_SUCCESS, none.WriteText(L"S", L"K", L"v"));
    EXPECT_EQ(L"d", none.ReadText(L"S", L"K", L"d"));
}

TEST_F(AppSettingsTest, ValuesComeBackAsWrittenWithTheirRegistryTypes) {
    EXPECT_EQ(L"dflt", store.ReadText(L"Sec", L"Text", L"dflt"));
    EXPECT_EQ(-1, store.ReadNumber(L"Sec", L"Number", -1));

    ASSERT_EQ(ERROR_SUCCESS, store.WriteText(L"Sec", L"Text", L"Grüße, \"quoted\""));
    ASSERT_EQ(ERROR_SUCCESS, store.WriteText(L"Sec", L"Empty", L""));
    ASSERT_EQ(ERROR_SUCCESS, store.WriteNumber(L"Sec", L"Number", -2147483647 - 1));
    ASSERT_EQ(ERROR_SUCCESS, store.WriteText(L"", L"AtTop", L"top"));
    EXPECT_EQ(L"Grüße, \"quoted\"", store.ReadText(L"Sec", L"Text", L"dflt"));
    EXPECT_EQ(L"", store.ReadText(L"Sec", L"Empty", L"dflt"));  // stored empty is not "nothing stored"
    EXPECT_EQ(-2147483647L - 1, store.ReadNumber(L"Sec", L"Number", -1));
    EXPECT_EQ(L"top", store.ReadText(L"", L"AtTop"));

    DWORD type = 0, number = 0, size = sizeof number;
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, store.SectionKeyPath(L"Sec").c_str(), L"Number",
                                          RRF_RT_ANY, &type, &number, &size));
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), type);
    EXPECT_EQ(0x80000000u, number);
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, store.SectionKeyPath(L"Sec").c_str(), L"Text",
                                          RRF_RT_ANY, &type, nullptr, nullptr));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
}

TEST_F(AppSettingsTest, ValuesReadAsTheOtherKind) {
    store.WriteNumber(L"Sec", L"N", 42);
    store.WriteText(L"Sec", L"T", L"-17");
    store.WriteText(L"Sec", L"Word", L"12abc");
    EXPECT_EQ(SettingValue(std::wstring(L"42")), store.ReadValue(L"Sec", L"N", ValueKind::Text, std::wstring()));
    EXPECT_EQ(SettingValue(-17L), store.ReadValue(L"Sec", L"T", ValueKind::Number, -1L));
    EXPECT_EQ(SettingValue(-1L), store.ReadValue(L"Sec", L"Word", ValueKind::Number, -1L));

    EXPECT_EQ(ERROR_SUCCESS, store.WriteValue(L"Sec", L"N2", ValueKind::Number, std::wstring(L"7")));
    EXPECT_EQ(7, store.ReadNumber(L"Sec", L"N2", 0));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, store.WriteValue(L"Sec", L"N3", ValueKind::Number, std::wstring(L"x")));
    EXPECT_EQ(5, store.ReadNumber(L"Sec", L"N3", 5));
}

class ProgramSettingsTest : public mvtest::StoreTest {
protected:
    ProgramSettingsTest() : StoreTest(L"MetaviewTest-Settings") {}
    void SetUp() override {
        StoreTest::SetUp();
        g_settings = Settings{};
    }
};

TEST_F(ProgramSettingsTest, FirstRunGivesBuiltInValues) {
    LoadSettings(app);
    EXPECT_EQ(L"en", g_settings.TextLanguage);
    EXPECT_EQ(L"Cyrillic", g_settings.FileNameCharset);
    EXPECT_EQ(0x4000u, g_settings.OutBoxBackColor);
    EXPECT_EQ(0xFF00u, g_settings.OutBoxForeColor);
}

TEST_F(ProgramSettingsTest, AllFourSavedAndLoaded) {
    g_settings = {L"de", L"Latin2", 0x123456, 0};
    ASSERT_TRUE(SaveSettings(app));
    g_settings = Settings{};
    LoadSettings(app);
    EXPECT_EQ(L"de", g_settings.TextLanguage);
    EXPECT_EQ(L"Latin2", g_settings.FileNameCharset);
    EXPECT_EQ(0x123456u, g_settings.OutBoxBackColor);
    EXPECT_EQ(0u, g_settings.OutBoxForeColor);  // black stays black
    EXPECT_EQ(L"Latin2", store.ReadText(L"ExifTool Params", L"File Name Charset"));
    EXPECT_EQ(0x123456, store.ReadNumber(L"Out Box", L"Back Color", -1));
}

TEST_F(ProgramSettingsTest, UnusableStoredValuesGiveBuiltInValues) {
    store.WriteText(L"ExifTool Params", L"Text Language", L"");
    store.WriteText(L"ExifTool Params", L"File Name Charset", L"UTF8\" -if \"1");
    store.WriteNumber(L"Out Box", L"Back Color", -1);
    store.WriteNumber(L"Out Box", L"Fore Color", 0);
    LoadSettings(app);
    EXPECT_EQ(L"en", g_settings.TextLanguage);
    EXPECT_EQ(L"Cyrillic", g_settings.FileNameCharset);
    EXPECT_EQ(0x4000u, g_settings.OutBoxBackColor);
    EXPECT_EQ(0u, g_settings.OutBoxForeColor);
}

TEST_F(ProgramSettingsTest, OtherStoredTextsRoundTrip) {
    CustomColors colors;
    colors.colors()[0] = 0x010203;
    ASSERT_EQ(ERROR_SUCCESS, store.WriteText(keys::kColorsSection, keys::kCustomColors, colors.SaveToText()));
    ASSERT_EQ(ERROR_SUCCESS, store.WriteText(keys::kOfnPathsSection, keys::kLastTxtDirectory, L"C:\\Pics\\Out"));

    CustomColors back;
    EXPECT_TRUE(back.LoadFromText(store.ReadText(L"Colors", L"Custom Colors")));
    EXPECT_EQ(colors.colors(), back.colors());
    EXPECT_EQ(L"C:\\Pics\\Out", store.ReadText(L"OFN Paths", L"Last open TXT directory"));
}
