// A module's line in the About box's module list and the list's members, on either build's
// address width.
#include <gtest/gtest.h>

#include <string>

#include "lib/about/module_entry.h"

namespace bk::about {
namespace {

std::wstring Blanks(std::size_t n) { return std::wstring(n, L' '); }

CModuleEntry Program() { return {L"C:\\Apps\\app.exe", L"app.exe", 0x00400000, 122880, 0x00400000}; }
CModuleEntry Relocated() { return {L"C:\\Apps\\helper.dll", L"helper.dll", 0x00A10000, 4096, 0x10000000}; }

// The expected lines are written column by column.
// clang-format off
TEST(ModuleLine, ThirtyTwoBitColumns) {
    EXPECT_EQ(Program().toString(12, AddressWidth::Bits32),
              L"app.exe     " L"  " L"0x00400000" L"  " + Blanks(14) + L"122,880      " L"  " L"C:\\Apps\\app.exe");
    EXPECT_EQ(Relocated().toString(12, AddressWidth::Bits32),
              L"helper.dll  " L"  " L"0x00A10000" L"  " L"(0x10000000)  " L"4,096        " L"  " L"C:\\Apps\\helper.dll");
}

TEST(ModuleLine, SixtyFourBitColumns) {
    const CModuleEntry program{L"C:\\Apps\\app.exe", L"app.exe", 0x140000000ull, 122880, 0x140000000ull};
    const CModuleEntry relocated{L"C:\\Apps\\helper.dll", L"helper.dll", 0x7FFA12340000ull, 4096, 0x180000000ull};
    EXPECT_EQ(program.toString(12, AddressWidth::Bits64),
              L"app.exe     " L"  " L"0x0000000140000000" L"  " + Blanks(22) + L"122,880      " L"  " L"C:\\Apps\\app.exe");
    EXPECT_EQ(relocated.toString(12, AddressWidth::Bits64),
              L"helper.dll  " L"  " L"0x00007FFA12340000" L"  " L"(0x0000000180000000)  " L"4,096        " L"  "
              L"C:\\Apps\\helper.dll");
}

// clang-format on

// Lines of one list (one name width) keep every column in place, whichever of them are
// relocated, on both widths; the preferred-address column is as wide as its blank form.
TEST(ModuleLine, RelocatedAndLoadedAtTheirBaseLineUp) {
    for (const AddressWidth width : {AddressWidth::Bits32, AddressWidth::Bits64}) {
        SCOPED_TRACE(width == AddressWidth::Bits32 ? "32-bit" : "64-bit");
        const std::wstring a = Program().toString(12, width);
        const std::wstring b = Relocated().toString(12, width);
        EXPECT_EQ(a.find(L"0x"), b.find(L"0x"));
        EXPECT_EQ(a.find(L"122,880"), b.find(L"4,096"));
        EXPECT_EQ(a.find(L"C:\\"), b.find(L"C:\\"));
        EXPECT_EQ(a.find(L"C:\\"), 12 + 2 + AddressTextLength(width) + 2 + AddressTextLength(width) + 4 + 13 + 2);
    }
}

TEST(ModuleLine, ALongerNameShiftsOnlyItsOwnLine) {
    CModuleEntry longName = Relocated();
    longName.Name = L"a-very-long-module-name.dll";  // 27 characters
    const std::wstring shifted = longName.toString(12, AddressWidth::Bits32);
    const std::wstring normal = Relocated().toString(12, AddressWidth::Bits32);
    EXPECT_EQ(shifted.substr(0, 27 + 2), L"a-very-long-module-name.dll  ") << "the name is not cut";
    EXPECT_EQ(shifted.substr(27), normal.substr(12)) << "everything after the name moves by the excess";
    // A name exactly as wide as the column, and no column at all.
    longName.Name = L"exactly12chr";
    EXPECT_EQ(longName.toString(12, AddressWidth::Bits32).substr(12), normal.substr(12));
    EXPECT_EQ(Program().toString(0, AddressWidth::Bits32).substr(0, 9), L"app.exe  ");
    EXPECT_EQ(Program().toString(-5, AddressWidth::Bits32), Program().toString(0, AddressWidth::Bits32));
}

TEST(ModuleLine, WideValuesAreNotCut) {
    // A size of more than 13 characters pushes the file name right.
    CModuleEntry big = Program();
    big.BaseSize = 5000000000000ull;
    const std::wstring line = big.toString(7, AddressWidth::Bits32);
    EXPECT_NE(line.find(L"5,000,000,000,000  C:\\Apps\\app.exe"), std::wstring::npos) << line;
    // An address beyond 32 bits in a 32-bit line keeps all its digits.
    CModuleEntry high = Relocated();
    high.PrefferedAddress = 0x123456789ull;
    EXPECT_NE(high.toString(10, AddressWidth::Bits32).find(L"(0x0000000123456789)  "), std::wstring::npos);
}

TEST(ModuleListMembers, ItemsFromZeroAndSubscriptErrorsOutside) {
    const ModuleList list({Program(), Relocated()});
    EXPECT_EQ(list.ModulesCount(), 2);
    const CModuleEntry* entry = nullptr;
    ASSERT_TRUE(list.ModuleItem(0, entry).ok());
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->Name, L"app.exe");
    ASSERT_TRUE(list.ModuleItem(1, entry).ok());
    EXPECT_EQ(entry->Name, L"helper.dll");

    for (const std::int32_t index : {-1, 2, 0x7FFFFFFF, static_cast<std::int32_t>(0x80000000u)}) {
        const support::Status status = list.ModuleItem(index, entry);
        EXPECT_TRUE(status.failed()) << index;
        EXPECT_EQ(support::ErrorNumberOf(status.code), 9) << index;
        EXPECT_EQ(status.description, L"Subscript out of range");
        EXPECT_EQ(entry, nullptr) << "no stale entry after a failure";
    }
    const ModuleList empty;
    EXPECT_EQ(empty.ModulesCount(), 0);
    EXPECT_TRUE(empty.ModuleItem(0, entry).failed());
}

}  // namespace
}  // namespace bk::about
