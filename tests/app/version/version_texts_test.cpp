// Version and title texts of Metaview.
#include <gtest/gtest.h>

#include "app/version/appwindowtitle.h"
#include "app/version/formatversion.h"
#include "tests/app/sample_identity.h"

namespace metaview {
namespace {

using mvtest::kEnglishCopyright;
using mvtest::kRussianCopyright;

support::AppIdentity Identity(int major, int minor, int revision) { return mvtest::SampleIdentity(major, minor, revision); }

TEST(FormatVersion, PadsMinorAndRevisionForTheInformationBlock) {
    EXPECT_EQ(FormatAppVersion(Identity(1, 1, 17)), L"1.01.0017");
    EXPECT_EQ(FormatAppVersion(Identity(2, 10, 5)), L"2.10.0005");
    EXPECT_EQ(FormatAppVersion(Identity(12, 0, 12345)), L"12.00.12345");  // wider numbers are not cut
}

TEST(FormatVersion, MenuCaptionUsesPlainNumbers) {
    EXPECT_EQ(FormatVersionMenuCaption(Identity(1, 1, 17)), L"v.1.1.17 x86");
    EXPECT_EQ(FormatVersionMenuCaption(Identity(2, 10, 5)), L"v.2.10.5 x86");
}

TEST(FormatVersion, InformationTextJoinsTitleVersionAndCopyright) {
    EXPECT_EQ(GetAppInfoText(Identity(1, 1, 17), false, true), L"Orvex - Metaview 1.01.0017\r\n" + kEnglishCopyright);
    EXPECT_EQ(GetAppInfoText(Identity(1, 1, 17), true, false),
              L"Orvex - Metaview, ver. 1.01.0017\r\n" + kRussianCopyright);
}

TEST(LocalizeCopyright, BothOwnFormsBecomeEnglishIgnoringCase) {
    EXPECT_EQ(LocalizeCopyright(kRussianCopyright, true), kEnglishCopyright);
    EXPECT_EQ(LocalizeCopyright(L"А. Ковалев 2008. Посвящается Lumen", true), L"A. Kovalev 2008. Dedicated to Lumen");
    EXPECT_EQ(LocalizeCopyright(L"а. КОВАЛЕВ 1999-2001. посвящается LUMEN", true),
              L"A. Kovalev 1999-2001. Dedicated to Lumen");
}

TEST(LocalizeCopyright, NativeTextStaysWhenEnglishIsNotAsked) {
    EXPECT_EQ(LocalizeCopyright(kRussianCopyright, false), kRussianCopyright);
}

TEST(LocalizeCopyright, AnyOtherFormStaysUnchanged) {
    for (const std::wstring& text : {
             std::wstring(L"Б. Ковалев 2008-2026. Посвящается Lumen"),   // another holder
             std::wstring(L"А. Ковалев 2008-2026. Dedicated to Lumen"),  // another wording
             std::wstring(L"А. Ковалев 208. Посвящается Lumen"),         // three-digit year
             std::wstring(L"А. Ковалев 2008-26. Посвящается Lumen"),     // short second year
             std::wstring(L"А. Ковалев 2008–2026. Посвящается Lumen"),   // en dash in the range
             std::wstring(L"А. Ковалев 2O08. Посвящается Lumen"),        // letter O for a digit
             std::wstring(L"А. Ковалев 2008-2026, Посвящается Lumen"),   // comma for the full stop
             std::wstring(L"А. Ковалев 2008-2026. Посвящается Lumen."),  // trailing text
             std::wstring(L"А. Ковалев . Посвящается Lumen"),            // no year
             std::wstring(L"A. Kovalev 2008-2026. Dedicated to Lumen"),  // already English
             std::wstring(L""),
         })
        EXPECT_EQ(LocalizeCopyright(text, true), text);
}

TEST(AppWindowTitle, ProductPrefixGoesOnlyFromTheApplicationTitle) {
    EXPECT_EQ(GetAppTitle(L"Orvex - Metaview", L"", L""), L"Metaview");
    EXPECT_EQ(GetAppTitle(L"Metaview", L"", L""), L"Metaview");
    EXPECT_EQ(GetAppTitle(L"orvex - Metaview", L"", L""), L"orvex - Metaview");  // case-sensitive
    EXPECT_EQ(GetAppTitle(L"Orvex - Metaview", L"Orvex - Own title", L""), L"Orvex - Own title");
    EXPECT_EQ(GetAppTitle(L"Orvex - Metaview", L"", L"Settings"), L"Metaview :: Settings");
}

TEST(AppWindowTitle, CaptionOfTheMainWindow) {
    EXPECT_EQ(MakeWindowTitle(L"Orvex - Metaview", L"", L"", L"C:\\Pics\\IMG_0001.JPG", L"Untitled", true, true),
              L"IMG_0001.JPG \u2013 Metaview");
    EXPECT_EQ(MakeWindowTitle(L"Orvex - Metaview", L"", L"", L"", L"Untitled", true, true), L"Untitled \u2013 Metaview");
    EXPECT_EQ(MakeWindowTitle(L"Orvex - Metaview", L"", L"", L"IMG_0001.JPG", L"Untitled", true, true),
              L"IMG_0001.JPG \u2013 Metaview");
}

TEST(AppWindowTitle, HyphenAndWholePathOnRequest) {
    EXPECT_EQ(MakeWindowTitle(L"Orvex - Metaview", L"", L"", L"C:\\Pics\\IMG_0001.JPG", L"Untitled", false, true),
              L"IMG_0001.JPG - Metaview");
    EXPECT_EQ(MakeWindowTitle(L"Orvex - Metaview", L"", L"", L"C:\\Pics\\IMG_0001.JPG", L"Untitled", true, false),
              L"C:\\Pics\\IMG_0001.JPG \u2013 Metaview");
}

}  // namespace
}  // namespace metaview
