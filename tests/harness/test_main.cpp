// Entry of every test program: one single-threaded apartment for the whole run.
#include <windows.h>

#include <gtest/gtest.h>

#include "support/win/com.h"
#include "support/win/owner.h"

int wmain(int argc, wchar_t** argv) {
    support::ComApartment apartment;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
