// Capture files and the temporary-file collector.
#include <gtest/gtest.h>

#include "app/exiftool/temp_files.h"
#include "support/win/com.h"
#include "support/win/owner.h"
#include "tests/harness/scratch.h"

namespace metaview {
namespace {

TEST(csStdFile, CreatesAnInheritableEmptyFileTruncatingAnOldOne) {
    mvtest::ScratchFolder folder;
    const std::wstring name = folder / L"capture.txt";
    mvtest::WriteBytes(name, "old content");
    csStdFile file;
    ASSERT_TRUE(file.CreateNewFile(name));
    EXPECT_EQ(file.Name(), name);
    ASSERT_NE(file.hFile(), nullptr);
    DWORD flags = 0;
    ASSERT_TRUE(GetHandleInformation(file.hFile(), &flags));
    EXPECT_TRUE(flags & HANDLE_FLAG_INHERIT);
    EXPECT_EQ(mvtest::ReadBytes(name), "");
    file.CloseFile();
    EXPECT_EQ(file.hFile(), nullptr);
    EXPECT_EQ(file.Name(), name) << "the name outlives the handle";
}

TEST(csStdFile, SecondCreationClosesTheFirstFile) {
    mvtest::ScratchFolder folder;
    csStdFile file;
    ASSERT_TRUE(file.CreateNewFile(folder / L"first.txt"));
    ASSERT_FALSE(DeleteFileW((folder / L"first.txt").c_str())) << "an open capture file cannot be deleted";
    ASSERT_TRUE(file.CreateNewFile(folder / L"second.txt"));
    EXPECT_TRUE(DeleteFileW((folder / L"first.txt").c_str()));
    EXPECT_EQ(file.Name(), folder / L"second.txt");
}

TEST(csStdFile, FailedCreationLeavesNoHandleAndNoName) {
    mvtest::ScratchFolder folder;
    csStdFile file;
    ASSERT_TRUE(file.CreateNewFile(folder / L"ok.txt"));
    EXPECT_FALSE(file.CreateNewFile(folder / L"missing folder\\x.txt"));
    EXPECT_EQ(file.hFile(), nullptr);
    EXPECT_EQ(file.Name(), L"");
    EXPECT_FALSE(file.CreateNewFile(L""));
    EXPECT_TRUE(DeleteFileW((folder / L"ok.txt").c_str())) << "the earlier file was closed";
}

TEST(csFileGarbageCollector, HoldsEachNameOnceIgnoringCase) {
    csFileGarbageCollector collector;
    collector.AddFiles({});
    EXPECT_EQ(collector.Count(), 0u);
    EXPECT_EQ(collector.LastFileName(), L"");
    collector.AddFiles({L"C:\\Temp\\A.txt", L"c:\\temp\\a.TXT", L"", L"C:\\Temp\\Б.txt"});
    collector.AddFiles({L"C:\\TEMP\\б.txt"});
    EXPECT_EQ(collector.Count(), 2u);
    EXPECT_EQ(collector.LastFileName(), L"C:\\Temp\\Б.txt");
}

TEST(csFileGarbageCollector, KeepsOnlyTheNamesItCouldNotDeleteAndDeletesWhenItGoes) {
    mvtest::ScratchFolder folder;
    const std::wstring a = folder / L"a.txt", held = folder / L"held.txt", c = folder / L"c.txt";
    for (const auto& name : {a, held, c}) mvtest::WriteBytes(name, "x");
    {
        csFileGarbageCollector collector;
        collector.AddFiles({a, held, c});
        support::UniqueHandle lock(CreateFileW(held.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                               nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(lock);
        collector.FlushIt();
        EXPECT_FALSE(mvtest::Exists(a));
        EXPECT_FALSE(mvtest::Exists(c));
        EXPECT_TRUE(mvtest::Exists(held));
        EXPECT_EQ(collector.Count(), 1u);
        EXPECT_EQ(collector.LastFileName(), held);
        lock.reset();
    }
    EXPECT_FALSE(mvtest::Exists(held)) << "the collector's destruction flushes it";
}

TEST(TemporaryFiles, WorkInAFolderOutsideTheAnsiCodePage) {
    mvtest::ScratchFolder folder(L"Временная 測試 φάκελος");
    ASSERT_TRUE(mvtest::Exists(folder.path()));
    const std::wstring name = folder / L"результат.StdOut.TXT";
    {
        csStdFile file;
        ASSERT_TRUE(file.CreateNewFile(name));
        DWORD written = 0;
        ASSERT_TRUE(WriteFile(file.hFile(), "abc", 3, &written, nullptr));
        file.CloseFile();
        EXPECT_EQ(mvtest::ReadBytes(name), "abc");
        csFileGarbageCollector collector;
        collector.AddFiles({file.Name()});
    }
    EXPECT_FALSE(mvtest::Exists(name));
    EXPECT_TRUE(mvtest::Entries(folder.path()).empty());
}

}  // namespace
}  // namespace metaview
