// The rules for typed and stored settings: trimming, the entry checks, replacement of unusable
// stored values.
#include <gtest/gtest.h>

#include "app/settings/settings.h"

using namespace metaview;

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
