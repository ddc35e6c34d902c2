// The support calls of the module list: the tool-help snapshot, the preferred base read from an
// image's headers in memory, the debug privilege and long file names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "support/as/modules.h"
#include "support/es/fileops.h"
#include "tests/harness/scratch.h"

namespace support {
namespace {

std::wstring Lower(std::wstring text) {
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

// The image base the program's file asks for, read from the file on disk.
std::uint64_t ProgramFileImageBase() {
    const std::string bytes = mvtest::ReadBytes(esGetModuleFileName(nullptr, false));
    IMAGE_DOS_HEADER dos{};
    std::memcpy(&dos, bytes.data(), sizeof(dos));
    IMAGE_NT_HEADERS nt{};
    std::memcpy(&nt, bytes.data() + dos.e_lfanew, sizeof(nt));
    return nt.OptionalHeader.ImageBase;
}

// Address space reserved, the first `committed` bytes of it usable.
struct Region {
    explicit Region(std::size_t committed, std::size_t reserved = 0x20000) {
        base = static_cast<unsigned char*>(VirtualAlloc(nullptr, reserved, MEM_RESERVE, PAGE_NOACCESS));
        if (base && committed) VirtualAlloc(base, committed, MEM_COMMIT, PAGE_READWRITE);
    }
    ~Region() { VirtualFree(base, 0, MEM_RELEASE); }
    std::uintptr_t address() const { return reinterpret_cast<std::uintptr_t>(base); }
    unsigned char* base = nullptr;
};

TEST(PreferredBase, OfTheProgramAsItsFileSays) {
    const auto base = reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr));
    EXPECT_EQ(asGetModulePreferredBaseAddr(0, base), ProgramFileImageBase());
    EXPECT_EQ(asGetModulePreferredBaseAddr(GetCurrentProcessId(), base), ProgramFileImageBase());
}

TEST(PreferredBase, MemoryThatIsNoImageGivesNothingAndNoFault) {
    EXPECT_FALSE(asGetModulePreferredBaseAddr(0, 0));
    // Reserved address space without memory behind it.
    const Region reserved(0);
    ASSERT_NE(reserved.base, nullptr);
    EXPECT_FALSE(asGetModulePreferredBaseAddr(0, reserved.address()));
    // Memory of zeros.
    const Region zeros(0x1000);
    EXPECT_FALSE(asGetModulePreferredBaseAddr(0, zeros.address()));
    // "MZ" with a header offset whose signature runs past the last readable page.
    const Region cut(0x1000);
    cut.base[0] = 'M';
    cut.base[1] = 'Z';
    const std::uint32_t nt = 0xFFE;
    std::memcpy(cut.base + 0x3C, &nt, sizeof(nt));
    cut.base[0xFFE] = 'P';
    cut.base[0xFFF] = 'E';
    EXPECT_FALSE(asGetModulePreferredBaseAddr(0, cut.address()));
    // A process that does not exist.
    EXPECT_FALSE(
        asGetModulePreferredBaseAddr(0xFFFFFFF0u, reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr))));
}

TEST(ToolHelp, RecordSizesAreSetAndTheSnapshotEnds) {
    const UniqueHandle snapshot = asCreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId());
    ASSERT_TRUE(snapshot);
    MODULEENTRY32W entry{};
    entry.dwSize = 1;  // the calls set the record's size themselves
    ASSERT_TRUE(asModule32First(snapshot.get(), entry));
    EXPECT_EQ(entry.dwSize, sizeof(entry));
    EXPECT_EQ(entry.hModule, GetModuleHandleW(nullptr));
    int count = 1;
    while (count < 10000 && asModule32Next(snapshot.get(), entry)) ++count;
    EXPECT_LT(count, 10000);
    EXPECT_FALSE(asModule32Next(snapshot.get(), entry)) << "the end stays the end";

    EXPECT_FALSE(asCreateToolhelp32Snapshot(TH32CS_SNAPMODULE, 0xFFFFFFF0u))
        << "no snapshot of a process that is not there";
}

bool DebugPrivilegeEnabled() {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    LUID debug{};
    LookupPrivilegeValueW(nullptr, SE_DEBUG_NAME, &debug);
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenPrivileges, nullptr, 0, &size);
    std::string buffer(size, '\0');
    if (!GetTokenInformation(token.get(), TokenPrivileges, buffer.data(), size, &size)) return false;
    const auto* privileges = reinterpret_cast<const TOKEN_PRIVILEGES*>(buffer.data());
    for (DWORD i = 0; i < privileges->PrivilegeCount; ++i) {
        const LUID_AND_ATTRIBUTES& p = privileges->Privileges[i];
        if (p.Luid.LowPart == debug.LowPart && p.Luid.HighPart == debug.HighPart)
            return (p.Attributes & SE_PRIVILEGE_ENABLED) != 0;
    }
    return false;
}

TEST(DebugPrivilege, TheScopeLeavesTheTokenAsItFoundIt) {
    ASSERT_TRUE(asEnableDebugPrivilege(false)) << "the test's token holds the privilege";
    ASSERT_FALSE(DebugPrivilegeEnabled());
    {
        const DebugPrivilegeScope scope;
        EXPECT_TRUE(scope.enabled());
        EXPECT_TRUE(DebugPrivilegeEnabled());
    }
    EXPECT_FALSE(DebugPrivilegeEnabled()) << "disabled again, as it was";

    bool before = false;
    ASSERT_TRUE(asEnableDebugPrivilege(true, &before));
    EXPECT_FALSE(before);
    ASSERT_TRUE(asEnableDebugPrivilege(true, &before));
    EXPECT_TRUE(before) << "an unchanged state is reported too";
    {
        const DebugPrivilegeScope scope;
        EXPECT_TRUE(DebugPrivilegeEnabled());
    }
    EXPECT_TRUE(DebugPrivilegeEnabled()) << "enabled before the scope, enabled after it";
    asEnableDebugPrivilege(false);
}

TEST(LongFileName, ShortNamesBecomeLongAndUnknownPathsStay) {
    const mvtest::ScratchFolder folder(L"long names folder");
    const std::wstring file = folder / L"a rather long file name.text";
    mvtest::WriteBytes(file, "x");
    std::wstring shortName(MAX_PATH, L'\0');
    shortName.resize(GetShortPathNameW(file.c_str(), shortName.data(), MAX_PATH));
    ASSERT_FALSE(shortName.empty());
    EXPECT_EQ(Lower(esGetLongFileName(shortName)), Lower(file)) << shortName;

    const std::wstring missing = folder / L"NOTHERE~1.TXT";
    EXPECT_EQ(esGetLongFileName(missing), missing);
    EXPECT_EQ(esGetLongFileName(L""), L"");
}

}  // namespace
}  // namespace support
