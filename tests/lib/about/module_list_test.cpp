// The modules of the test program as CToolHelpInfo and CPSAPIInfo list them: the program first,
// the libraries it loaded with their addresses, sizes and preferred bases, names outside the
// ANSI code page, and (with stand-in process-status functions) thousands of modules, modules
// whose information cannot be read and a failing enumeration.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "lib/about/module_list.h"
#include "support/es/fileops.h"
#include "support/es/hex.h"
#include "support/win/owner.h"
#include "tests/harness/scratch.h"

namespace bk::about {
namespace {

std::wstring Lower(std::wstring text) {
    CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

struct FileHeaders {
    std::uint64_t imageBase = 0;
    std::uint32_t sizeOfImage = 0;
};

// What the module's file on disk asks for.
FileHeaders ReadFileHeaders(const std::wstring& path) {
    const std::string bytes = mvtest::ReadBytes(path);
    IMAGE_DOS_HEADER dos{};
    std::memcpy(&dos, bytes.data(), sizeof(dos));
    IMAGE_NT_HEADERS nt{};
    std::memcpy(&nt, bytes.data() + dos.e_lfanew, sizeof(nt));
    return {nt.OptionalHeader.ImageBase, nt.OptionalHeader.SizeOfImage};
}

MODULEINFO SystemInformation(HMODULE module) {
    MODULEINFO info{};
    EXPECT_TRUE(GetModuleInformation(GetCurrentProcess(), module, &info, sizeof(info)));
    return info;
}

enum class Way { ToolHelp, ProcessStatus };

std::unique_ptr<ModuleList> ListModules(Way way) {
    if (way == Way::ToolHelp) return std::make_unique<CToolHelpInfo>();
    std::unique_ptr<CPSAPIInfo> list;
    const support::Status status = CPSAPIInfo::Create(list);
    EXPECT_TRUE(status.ok()) << status.description;
    return list;
}

// The entries named `name` (compared without regard to case).
std::vector<const CModuleEntry*> Named(const ModuleList& list, const std::wstring& name) {
    std::vector<const CModuleEntry*> found;
    for (const CModuleEntry& entry : list.Entries())
        if (Lower(entry.Name) == Lower(name)) found.push_back(&entry);
    return found;
}

class ModuleLists : public testing::TestWithParam<Way> {
public:
    static void SetUpTestSuite() {
        library = std::make_unique<support::Module>(
            LoadLibraryW(mvtest::ProgramFolder().append(L"\\Basekit0308.dll").c_str()));
        relocated = std::make_unique<support::Module>(
            LoadLibraryW(mvtest::ProgramFolder().append(L"\\modules_relocated.dll").c_str()));
        // Held for the whole run, so that both ways see the same set of modules.
        psapi = std::make_unique<support::Module>(LoadLibraryW(L"psapi.dll"));
    }
    static void TearDownTestSuite() {
        library.reset();
        relocated.reset();
        psapi.reset();
    }

protected:
    static inline std::unique_ptr<support::Module> library, relocated, psapi;
};

TEST_P(ModuleLists, TheProgramComesFirst) {
    const auto list = ListModules(GetParam());
    ASSERT_TRUE(list);
    ASSERT_GT(list->ModulesCount(), 3);
    const CModuleEntry* first = nullptr;
    ASSERT_TRUE(list->ModuleItem(0, first).ok());
    const std::wstring path = support::esGetModuleFileName(nullptr, true);
    EXPECT_EQ(first->BaseAddress, reinterpret_cast<std::uintptr_t>(GetModuleHandleW(nullptr)));
    EXPECT_EQ(Lower(first->FileName), Lower(path));
    EXPECT_EQ(Lower(first->Name), Lower(path.substr(path.find_last_of(L'\\') + 1)));
    const FileHeaders file = ReadFileHeaders(path);
    EXPECT_EQ(first->BaseSize, file.sizeOfImage);
    EXPECT_EQ(first->PrefferedAddress, file.imageBase);
}

TEST_P(ModuleLists, LoadedLibrariesWithTheirAddressesSizesAndPreferredBases) {
    ASSERT_TRUE(library->valid() && relocated->valid());
    const auto list = ListModules(GetParam());
    for (const HMODULE module : {library->get(), relocated->get()}) {
        const std::wstring path = support::esGetModuleFileName(module, true);
        const std::wstring name = path.substr(path.find_last_of(L'\\') + 1);
        SCOPED_TRACE(testing::Message() << "module " << mvtest::Utf8(name));
        const auto found = Named(*list, name);
        ASSERT_EQ(found.size(), 1u);
        const CModuleEntry& entry = *found[0];
        const MODULEINFO info = SystemInformation(module);
        EXPECT_EQ(entry.BaseAddress, reinterpret_cast<std::uintptr_t>(info.lpBaseOfDll));
        EXPECT_EQ(entry.BaseAddress, reinterpret_cast<std::uintptr_t>(module));
        EXPECT_EQ(entry.BaseSize, info.SizeOfImage);
        EXPECT_EQ(Lower(entry.FileName), Lower(path));
        const FileHeaders file = ReadFileHeaders(path);
        EXPECT_EQ(entry.BaseSize, file.sizeOfImage);
        EXPECT_EQ(entry.PrefferedAddress, file.imageBase);
    }
    // The relocated library shows where it wanted to be, the other one a blank column.
    const CModuleEntry& moved = *Named(*list, L"modules_relocated.dll").at(0);
    ASSERT_NE(moved.BaseAddress, moved.PrefferedAddress) << "the loader did not have to move it";
    EXPECT_NE(moved.toString(0).find(L"(" + support::esHexEx8(0x140000000ull) + L")  "), std::wstring::npos)
        << mvtest::Utf8(moved.toString(0));
    const CModuleEntry& kit = *Named(*list, L"Basekit0308.dll").at(0);
    if (kit.BaseAddress == kit.PrefferedAddress) {
        EXPECT_EQ(kit.toString(0).find(L'('), std::wstring::npos) << mvtest::Utf8(kit.toString(0));
    }
}

TEST_P(ModuleLists, EveryEntryIsAModuleOfTheProcess) {
    const auto list = ListModules(GetParam());
    for (const CModuleEntry& entry : list->Entries()) {
        SCOPED_TRACE(mvtest::Utf8(entry.Name));
        HMODULE module = nullptr;
        ASSERT_TRUE(
            GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                               reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(entry.BaseAddress)), &module));
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(module), entry.BaseAddress);
        EXPECT_GT(entry.BaseSize, 0u);
        EXPECT_NE(entry.PrefferedAddress, 0u);
        EXPECT_FALSE(entry.FileName.empty());
        EXPECT_EQ(Lower(entry.FileName.substr(entry.FileName.size() - entry.Name.size())), Lower(entry.Name));
    }
    const CModuleEntry* none = nullptr;
    EXPECT_EQ(support::ErrorNumberOf(list->ModuleItem(list->ModulesCount(), none).code), 9);
}

// Names outside the ANSI code page arrive as they are.
TEST_P(ModuleLists, NamesOutsideTheAnsiCodePage) {
    const mvtest::ScratchFolder folder(L"\u043C\u043E\u0434\u0443\u043B\u0438");
    const std::wstring copy = folder / L"\u041C\u043E\u0434\u0443\u043B\u044C_\u6A21\u5757.dll";
    ASSERT_TRUE(CopyFileW(mvtest::ProgramFolder().append(L"\\modules_relocated.dll").c_str(), copy.c_str(), TRUE));
    {
        const support::Module module(LoadLibraryW(copy.c_str()));
        ASSERT_TRUE(module.valid());
        const auto list = ListModules(GetParam());
        const auto found = Named(*list, L"\u041C\u043E\u0434\u0443\u043B\u044C_\u6A21\u5757.dll");
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(Lower(found[0]->FileName), Lower(support::esGetModuleFileName(module.get(), true)));
        EXPECT_EQ(found[0]->BaseAddress, reinterpret_cast<std::uintptr_t>(module.get()));
    }
}

INSTANTIATE_TEST_SUITE_P(BothWays, ModuleLists, testing::Values(Way::ToolHelp, Way::ProcessStatus),
                         [](const testing::TestParamInfo<Way>& info) {
                             return info.param == Way::ToolHelp ? "ToolHelp" : "ProcessStatus";
                         });

TEST_F(ModuleLists, BothWaysGiveTheSameLinesInTheSameOrder) {
    const auto toolHelp = ListModules(Way::ToolHelp);
    const auto processStatus = ListModules(Way::ProcessStatus);
    ASSERT_EQ(toolHelp->ModulesCount(), processStatus->ModulesCount());
    for (std::int32_t i = 0; i < toolHelp->ModulesCount(); ++i) {
        const CModuleEntry* a = nullptr;
        const CModuleEntry* b = nullptr;
        ASSERT_TRUE(toolHelp->ModuleItem(i, a).ok() && processStatus->ModuleItem(i, b).ok());
        EXPECT_EQ(Lower(a->toString(20)), Lower(b->toString(20))) << i;
    }
}

TEST_F(ModuleLists, TheProcessStatusBufferGrowsToTheCountReported) {
    std::unique_ptr<CPSAPIInfo> small;
    ASSERT_TRUE(CPSAPIInfo::Create(small, 1).ok());
    const auto usual = ListModules(Way::ProcessStatus);
    ASSERT_EQ(small->ModulesCount(), usual->ModulesCount());
    for (std::int32_t i = 0; i < usual->ModulesCount(); ++i)
        EXPECT_EQ(small->Entries()[i].toString(20), usual->Entries()[i].toString(20)) << i;
}

// Stand-in process-status functions over made-up modules: module i is loaded at the start of
// the i-th 4 KB of a reserved stretch of address space (no memory behind it, so no headers
// can be read there), named "m<i>.dll".
struct MadeUpProcess {
    std::size_t modules = 0;
    std::size_t addedPerCall = 0;  // modules that "load" while the list is made
    bool growsByAQuarter = false;  // or a quarter more after each call
    int enumerationsGrowing = 0;   // calls after which modules still get added
    bool enumerationFails = false;
    std::size_t unreadable = SIZE_MAX;  // the module whose information cannot be read
    std::size_t longPathOf = SIZE_MAX;  // the module with a 3000-character path
    std::vector<DWORD> bufferBytes;     // the buffer size of every enumeration call
    unsigned char* space = nullptr;

    static inline MadeUpProcess* current = nullptr;

    HMODULE Handle(std::size_t i) const { return reinterpret_cast<HMODULE>(space + i * 0x1000); }
    std::size_t Index(HMODULE module) const {
        return static_cast<std::size_t>(reinterpret_cast<unsigned char*>(module) - space) / 0x1000;
    }
    std::wstring PathOf(std::size_t i) const {
        std::wstring folder = L"C:\\made-up";
        if (i == longPathOf) folder += L"\\" + std::wstring(3000, L'x');
        return folder + L"\\m" + std::to_wstring(i) + L".dll";
    }

    static BOOL WINAPI Enumerate(HANDLE, HMODULE* handles, DWORD bytes, DWORD* needed) {
        MadeUpProcess& p = *current;
        p.bufferBytes.push_back(bytes);
        if (p.enumerationFails) return FALSE;
        const std::size_t fit = bytes / sizeof(HMODULE);
        for (std::size_t i = 0; i < p.modules && i < fit; ++i) handles[i] = p.Handle(i);
        *needed = static_cast<DWORD>(p.modules * sizeof(HMODULE));
        if (p.enumerationsGrowing > 0) {
            --p.enumerationsGrowing;
            p.modules += p.growsByAQuarter ? p.modules / 4 : p.addedPerCall;
        }
        return TRUE;
    }
    // Copies as much as fits with its terminator, as the system's functions do.
    static DWORD Copy(const std::wstring& text, LPWSTR buffer, DWORD size) {
        if (size == 0) return 0;
        const std::size_t n = text.size() < size - 1 ? text.size() : size - 1;
        std::memcpy(buffer, text.data(), n * sizeof(wchar_t));
        buffer[n] = L'\0';
        return static_cast<DWORD>(n);
    }
    static DWORD WINAPI FileName(HANDLE, HMODULE module, LPWSTR buffer, DWORD size) {
        return Copy(current->PathOf(current->Index(module)), buffer, size);
    }
    static DWORD WINAPI BaseName(HANDLE, HMODULE module, LPWSTR buffer, DWORD size) {
        return Copy(L"m" + std::to_wstring(current->Index(module)) + L".dll", buffer, size);
    }
    static BOOL WINAPI Information(HANDLE, HMODULE module, MODULEINFO* info, DWORD) {
        if (current->Index(module) == current->unreadable) return FALSE;
        info->lpBaseOfDll = module;
        info->SizeOfImage = 0x8000;
        info->EntryPoint = nullptr;
        return TRUE;
    }

    explicit MadeUpProcess(std::size_t count) : modules(count) {
        space = static_cast<unsigned char*>(VirtualAlloc(nullptr, 20000 * 0x1000, MEM_RESERVE, PAGE_NOACCESS));
        current = this;
    }
    ~MadeUpProcess() {
        VirtualFree(space, 0, MEM_RELEASE);
        current = nullptr;
    }
    static ProcessStatusCalls Calls() { return {&Enumerate, &FileName, &BaseName, &Information}; }
};

TEST(MadeUpModules, ThousandsAreAllListedWhileTheCountGrows) {
    MadeUpProcess process(5000);
    ASSERT_NE(process.space, nullptr);
    // 1000 more after each of the first two calls: the grown buffer is too small again.
    process.addedPerCall = 1000;
    process.enumerationsGrowing = 2;
    const CPSAPIInfo list(MadeUpProcess::Calls(), 16);
    ASSERT_EQ(list.ModulesCount(), 7000);
    ASSERT_GE(process.bufferBytes.size(), 4u);
    EXPECT_EQ(process.bufferBytes[0], 16 * sizeof(HMODULE)) << "the first call gets the first buffer";
    EXPECT_GE(process.bufferBytes.back(), 7000 * sizeof(HMODULE));
    for (const std::int32_t i : {0, 2047, 2048, 6999}) {
        const CModuleEntry* entry = nullptr;
        ASSERT_TRUE(list.ModuleItem(i, entry).ok());
        EXPECT_EQ(entry->Name, L"m" + std::to_wstring(i) + L".dll");
        EXPECT_EQ(entry->BaseAddress, reinterpret_cast<std::uintptr_t>(process.Handle(static_cast<std::size_t>(i))));
        EXPECT_EQ(entry->BaseSize, 0x8000u);
        EXPECT_EQ(entry->PrefferedAddress, 0u) << "no headers behind the made-up address";
    }
}

TEST(MadeUpModules, ACountThatNeverSettlesGivesTheModulesOfTheLastCall) {
    // A quarter more each time outruns the room each new buffer has to spare.
    MadeUpProcess process(200);
    process.growsByAQuarter = true;
    process.enumerationsGrowing = 1000;
    const CPSAPIInfo list(MadeUpProcess::Calls(), 16);
    ASSERT_GT(process.bufferBytes.size(), 1u);
    EXPECT_LE(process.bufferBytes.size(), 16u) << "the calls end";
    ASSERT_EQ(static_cast<std::size_t>(list.ModulesCount()), process.bufferBytes.back() / sizeof(HMODULE));
    for (std::int32_t i = 0; i < list.ModulesCount(); ++i)
        ASSERT_EQ(list.Entries()[i].Name, L"m" + std::to_wstring(i) + L".dll") << "every handle is one the call gave";
}

TEST(MadeUpModules, AModuleWithoutInformationIsListedWithZerosAndLongPathsWhole) {
    MadeUpProcess process(3);
    process.unreadable = 1;
    process.longPathOf = 2;
    const CPSAPIInfo list(MadeUpProcess::Calls());
    ASSERT_EQ(list.ModulesCount(), 3);
    const CModuleEntry& unreadable = list.Entries()[1];
    EXPECT_EQ(unreadable.Name, L"m1.dll");
    EXPECT_EQ(unreadable.FileName, L"C:\\made-up\\m1.dll");
    EXPECT_EQ(unreadable.BaseAddress, 0u);
    EXPECT_EQ(unreadable.BaseSize, 0u);
    EXPECT_EQ(unreadable.PrefferedAddress, 0u);
    EXPECT_EQ(list.Entries()[2].FileName, process.PathOf(2)) << "a path longer than the first buffer is not cut";
    EXPECT_GT(list.Entries()[2].FileName.size(), 3000u);
}

TEST(MadeUpModules, AFailingEnumerationGivesAnEmptyList) {
    MadeUpProcess process(3);
    process.enumerationFails = true;
    const CPSAPIInfo list(MadeUpProcess::Calls());
    EXPECT_EQ(list.ModulesCount(), 0);
    const CModuleEntry* entry = nullptr;
    EXPECT_EQ(support::ErrorNumberOf(list.ModuleItem(0, entry).code), 9);
}

}  // namespace
}  // namespace bk::about
