// orxTabControl used by a script client: the library is registered, Wine's cscript runs a
// script whose pages are VBScript class instances, and the script's checks are read from its
// output.
#include <gtest/gtest.h>

#include "tests/harness/library.h"
#include "tests/harness/registered.h"

using namespace bktest;

namespace {

TEST(ScriptClient, PagesTheScriptsOwnObjects) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());
    std::string output;
    const int failures = RunScriptClient(L"tabcontrol_client.vbs", output);
    EXPECT_TRUE(ScriptClientPassed(failures, output));
}

}  // namespace
