// orxMain used by a script client: the library is registered, Wine's cscript runs a script
// that creates orxMain by programmatic id, and the script's checks are read from its output.
#include <gtest/gtest.h>

#include "tests/lib/main/main_test_util.h"

using namespace bktest;

namespace {

HRESULT CallExport(const char* name) {
    using Entry = HRESULT(STDAPICALLTYPE*)();
    HMODULE module = Library();
    if (!module) return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    auto entry = reinterpret_cast<Entry>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return entry ? entry() : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

// Registers the library for the scope of a test.
class Registration {
public:
    Registration() : hr_(CallExport("DllRegisterServer")) {}
    Registration(const Registration&) = delete;
    Registration& operator=(const Registration&) = delete;
    ~Registration() {
        if (SUCCEEDED(hr_)) CallExport("DllUnregisterServer");
    }
    HRESULT result() const { return hr_; }

private:
    HRESULT hr_;
};

TEST(ScriptClient, UsesOrxMainByProgrammaticId) {
    Registration registration;
    ASSERT_EQ(S_OK, registration.result());
    CLSID clsid{};
    ASSERT_EQ(S_OK, CLSIDFromProgID(L"Basekit0308.orxMain", &clsid));
    EXPECT_TRUE(IsEqualCLSID(CLSID_orxMain, clsid));

    std::string output;
    const int failures =
        RunCaptured(L"cscript.exe //nologo \"" + BinFile(L"orxmain_client.vbs") + L"\"", output, 120000);
    EXPECT_EQ(0, failures) << output;
    EXPECT_NE(std::string::npos, output.find("failures=0")) << output;
    EXPECT_EQ(std::string::npos, output.find("FAIL")) << output;
}

}  // namespace
