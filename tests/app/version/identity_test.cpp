// Metaview's identity from its version resource.
#include <gtest/gtest.h>

#include "app/version/versionresource.h"
#include "support/win/versioninfo.h"
#include "tests/harness/library.h"

namespace metaview {
namespace {

using bktest::BinFile;

TEST(VersionResource, MetaviewStatesItsIdentity) {
    const auto app = ReadAppIdentity(BinFile(L"Metaview.exe"));
    ASSERT_TRUE(app.has_value());
    EXPECT_EQ(app->title, L"Orvex - Metaview");
    EXPECT_EQ(app->major, 1);
    EXPECT_EQ(app->minor, 1);
    EXPECT_EQ(app->revision, 17);
    // The Cyrillic text must survive the resource compiler.
    EXPECT_EQ(app->legalCopyright, L"А. Ковалев 2008-2026. Посвящается Lumen");
    EXPECT_EQ(app->exeName, L"Metaview");
    EXPECT_EQ(app->companyName, L"Orvex");
    EXPECT_EQ(app->path, bktest::BinFolder());

    const support::VersionInfo info(BinFile(L"Metaview.exe"));
    EXPECT_EQ(info.Language(), 0x0419);
    EXPECT_EQ(info.CodePage(), 1200);
    EXPECT_EQ(info.String(L"InternalName"), L"Metaview");
    EXPECT_EQ(info.String(L"ProductName"), L"Orvex - Metaview");
    EXPECT_EQ(info.String(L"NoSuchValue"), L"");
}

TEST(VersionResource, AFileWithoutOneGivesNothing) {
    EXPECT_FALSE(ReadAppIdentity(BinFile(L"no-such-file.exe")).has_value());
}

}  // namespace
}  // namespace metaview
