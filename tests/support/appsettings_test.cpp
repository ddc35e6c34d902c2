// The settings store: keys from the application's identity, values by kind, placements.
#include <gtest/gtest.h>

#include "support/components/appsettings.h"
#include "tests/harness/test_store.h"

using support::SettingValue;
using support::ValueKind;

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
