// The start-up texts: the usage message and the report of an error that ends the start.
#include <gtest/gtest.h>

#include "app/startup/startuptexts.h"
#include "tests/app/sample_identity.h"

namespace metaview {
namespace {

using mvtest::kEnglishCopyright;
using mvtest::kRussianCopyright;

support::AppIdentity Identity(int major, int minor, int revision) { return mvtest::SampleIdentity(major, minor, revision); }

TEST(StartupTexts, UsageMessage) {
    EXPECT_EQ(UsageMessage(Identity(1, 1, 17), true, L"Metaview"),
              L"Orvex - Metaview 1.01.0017\r\n" + kEnglishCopyright + L"\r\n\r\nUsage: Metaview[.EXE] FileName");
    EXPECT_EQ(UsageMessage(Identity(1, 1, 17), false, L"mv"),
              L"Orvex - Metaview 1.01.0017\r\n" + kRussianCopyright + L"\r\n\r\nUsage: mv[.EXE] FileName");
}

TEST(StartupTexts, ErrorNumbers) {
    EXPECT_EQ(StartupErrorMessage(static_cast<std::int32_t>(0x800A01ADu), L"Can't create object"),
              L"Run-time error '429':\r\n\r\nCan't create object");
    EXPECT_EQ(StartupErrorMessage(static_cast<std::int32_t>(0x80040154u), L"Class not registered"),
              L"Run-time error '-2147221164 (80040154)':\r\n\r\nClass not registered");
}

}  // namespace
}  // namespace metaview
