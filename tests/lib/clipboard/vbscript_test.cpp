// orxClipboard used by a script client through the registered library.
#include <gtest/gtest.h>

#include "tests/harness/library.h"
#include "tests/harness/registered.h"

using namespace bktest;

namespace {

TEST(ScriptClient, UsesEveryMemberOfOrxClipboard) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());
    std::string output;
    const int failures = RunScriptClient(L"clipboard_client.vbs", output);
    EXPECT_TRUE(ScriptClientPassed(failures, output));
}

}  // namespace
