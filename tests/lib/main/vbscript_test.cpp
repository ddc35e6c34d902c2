// orxMain used by a script client: the library is registered, Wine's cscript runs a script
// that creates orxMain by programmatic id, and the script's checks are read from its output.
#include <gtest/gtest.h>

#include "tests/harness/library.h"
#include "tests/harness/registered.h"

using namespace bktest;

namespace {

TEST(ScriptClient, UsesOrxMainByProgrammaticId) {
    Registered registered;
    ASSERT_EQ(S_OK, registered.result());
    CLSID clsid{};
    ASSERT_EQ(S_OK, CLSIDFromProgID(L"Basekit0308.orxMain", &clsid));
    EXPECT_TRUE(IsEqualCLSID(CLSID_orxMain, clsid));

    std::string output;
    const int failures = RunScriptClient(L"orxmain_client.vbs", output);
    EXPECT_TRUE(ScriptClientPassed(failures, output));
}

}  // namespace
