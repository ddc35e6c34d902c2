// orxAutorunSupport used by a script client: the library is registered, Wine's cscript runs a
// script that creates it by programmatic id, and the script's checks are read from its output.
#include <gtest/gtest.h>

#include "tests/harness/library.h"
#include "tests/harness/registered.h"

using namespace bktest;

TEST(ScriptClient, UsesOrxAutorunSupportByProgrammaticId) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());
    std::string output;
    const int failures = RunScriptClient(L"autorun_client.vbs", output);
    EXPECT_TRUE(ScriptClientPassed(failures, output));
}
