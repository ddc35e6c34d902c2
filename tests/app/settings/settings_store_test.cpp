// Loading and saving the program's settings.
#include <gtest/gtest.h>

#include "app/settings/settings.h"
#include "app/settings/settings_store.h"
#include "support/components/customcolors.h"
#include "tests/harness/test_store.h"

using namespace metaview;
using support::CustomColors;

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
