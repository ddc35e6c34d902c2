// orxErr used by a script client whose error objects are the script's own: class instances
// that answer names only through IDispatchEx, and the script runtime's Err object.
#include <gtest/gtest.h>

#include "tests/harness/library.h"
#include "tests/harness/registered.h"

using namespace bktest;

namespace {

TEST(ScriptClient, ReadsTheScriptsOwnErrorObjects) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());
    std::string output;
    const int failures = RunScriptClient(L"orxerr_client.vbs", output);
    EXPECT_EQ(0, failures) << output;
    EXPECT_NE(std::string::npos, output.find("failures=0")) << output;
}

}  // namespace
