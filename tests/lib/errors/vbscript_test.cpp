// orxErr used by script clients whose error and request objects are the script's own: class
// instances that answer names only through IDispatchEx, and the script runtime's Err object.
#include <gtest/gtest.h>

#include <cstdlib>

#include "tests/harness/library.h"
#include "tests/harness/registered.h"

using namespace bktest;

namespace {

TEST(ScriptClient, ReadsTheScriptsOwnErrorObjects) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());
    std::string output;
    const int failures = RunScriptClient(L"orxerr_client.vbs", output);
    EXPECT_TRUE(ScriptClientPassed(failures, output));
}

// The network messages with request objects of the script's own classes, in the language of
// the user's default (the driver tells the script which one to expect).
TEST(ScriptClient, NetworkMessagesOfTheScriptsRequestObjects) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());
    std::string output;
    if (const char* expected = std::getenv("BK_EXPECT_LANGID")) {
        ASSERT_EQ(std::atoi(expected), GetUserDefaultLangID());
    }
    const bool russian = GetUserDefaultLangID() == 1049;
    const int failures = RunScriptClient(L"orxerr_network_client.vbs", output, russian ? L"russian" : L"english");
    EXPECT_TRUE(ScriptClientPassed(failures, output));
}

}  // namespace
