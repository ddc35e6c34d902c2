// A settings key of its own for each test program, emptied before and after every test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/components/appidentity.h"
#include "support/components/appsettings.h"

namespace mvtest {

inline support::AppIdentity TestIdentity(const wchar_t* exeName) {
    support::AppIdentity app;
    app.title = L"Metaview Test";
    app.exeName = exeName;
    app.companyName = L"OrvexTest";
    return app;
}

class StoreTest : public testing::Test {
protected:
    explicit StoreTest(const wchar_t* exeName) : app(TestIdentity(exeName)), store(app) {}
    void SetUp() override { Clean(); }
    void TearDown() override {
        Clean();
        RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\OrvexTest");  // only when no other run uses it
    }
    void Clean() { RegDeleteTreeW(HKEY_CURRENT_USER, store.ApplicationKeyPath().c_str()); }

    support::AppIdentity app;
    support::AppSettings store;
};

}  // namespace mvtest
