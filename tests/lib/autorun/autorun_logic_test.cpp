// The command line autorun stores and how a stored one reads back.
#include <gtest/gtest.h>

#include <string>

#include "lib/autorun/autorun_logic.h"

using bk::AutorunCommandLine;
using bk::IsAutorunEntry;
using bk::IsAutorunValueName;

TEST(AutorunCommandLine, TheCallersOwnIsStoredExactlyAsGiven) {
    // Not quoted, not trimmed: the caller may already have quoted it or added arguments.
    EXPECT_EQ(L"C:\\Program Files\\App\\app.exe /min", AutorunCommandLine(L"C:\\Program Files\\App\\app.exe /min", L"C:\\x.exe"));
    EXPECT_EQ(L"\"C:\\My Apps\\a.exe\" -q", AutorunCommandLine(L"\"C:\\My Apps\\a.exe\" -q", L"C:\\x.exe"));
    EXPECT_EQ(L"   ", AutorunCommandLine(L"   ", L"C:\\x.exe"));
}

TEST(AutorunCommandLine, TheProgramsPathIsQuotedOnlyWhenItHoldsABlank) {
    EXPECT_EQ(L"C:\\Tools\\app.exe", AutorunCommandLine(L"", L"C:\\Tools\\app.exe"));
    EXPECT_EQ(L"\"C:\\Program Files\\App\\app.exe\"", AutorunCommandLine(L"", L"C:\\Program Files\\App\\app.exe"));
    EXPECT_EQ(L"\"C:\\Apps\\my app.exe\"", AutorunCommandLine(L"", L"C:\\Apps\\my app.exe"));
}

TEST(AutorunEntry, OnlyBlanksRegisterNothing) {
    EXPECT_FALSE(IsAutorunEntry(L""));
    EXPECT_FALSE(IsAutorunEntry(L" "));
    EXPECT_FALSE(IsAutorunEntry(L"      "));
    EXPECT_TRUE(IsAutorunEntry(L"  a.exe  "));
    EXPECT_TRUE(IsAutorunEntry(L"\"\""));
}

TEST(AutorunValueName, EmptyNamesAndNamesWithANullAreRefused) {
    EXPECT_FALSE(IsAutorunValueName(L""));
    EXPECT_FALSE(IsAutorunValueName(std::wstring(L"{A}\0{B}", 7)));
    EXPECT_TRUE(IsAutorunValueName(L"{5F1B9D2A-0000-4000-8000-000000000001}"));
    EXPECT_TRUE(IsAutorunValueName(L" "));
}
