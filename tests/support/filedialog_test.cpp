// The save dialog's filter as the system wants it.
#include <gtest/gtest.h>

#include "support/components/filedialog.h"

namespace {

TEST(SaveDialog, FilterPairsBecomeNullSeparated) {
    const std::wstring f = support::FilterForSystem(L"Text files|*.TXT|All files|*.*");
    EXPECT_EQ(f, std::wstring(L"Text files\0*.TXT\0All files\0*.*\0", 32));  // with the final null of the list
    EXPECT_EQ(support::FilterForSystem(L"A|*.a|"), std::wstring(L"A\0*.a\0", 7));
}

}  // namespace
