// ExifTool's command line and the run's reports.
#include <gtest/gtest.h>

#include "app/exiftool/exiftool_report.h"

namespace metaview {
namespace {

TEST(ExifToolCommandLine, FollowsTheTemplateWithTheFileLast) {
    EXPECT_EQ(BuildExifToolCommandLine(L"C:\\Tools\\exiftool.exe", L"C:\\Temp\\ABC1.TXT", ExifToolSettings{},
                                       L"D:\\Pics\\a b.jpg"),
              L"\"C:\\Tools\\exiftool.exe\" -a -u -g1 -W+! \"C:\\Temp\\ABC1.TXT\" -charset FileName=\"Cyrillic\" "
              L"-lang \"en\" -- \"D:\\Pics\\a b.jpg\"");
    ExifToolSettings ru{L"ru", L"cp1251"};
    EXPECT_EQ(BuildExifToolCommandLine(L"x.exe", L"r.TXT", ru, L"C:\\-dash.jpg"),
              L"\"x.exe\" -a -u -g1 -W+! \"r.TXT\" -charset FileName=\"cp1251\" -lang \"ru\" -- \"C:\\-dash.jpg\"");
}

TEST(ExifToolCommandLine, BackslashesBeforeAClosingQuoteAreDoubled) {
    EXPECT_EQ(BuildExifToolCommandLine(L"x.exe", L"r.TXT", ExifToolSettings{}, L"D:\\"),
              L"\"x.exe\" -a -u -g1 -W+! \"r.TXT\" -charset FileName=\"Cyrillic\" -lang \"en\" -- \"D:\\\\\"");
}

TEST(ExifToolCommandLine, SettingsThatWouldLeaveTheirQuotesFallBackToBuiltInValues) {
    const ExifToolSettings usable = UsableSettings({L"en\" -o \"x", L"UTF8\\"});
    EXPECT_EQ(usable.TextLanguage, L"en");
    EXPECT_EQ(usable.FileNameCharset, L"Cyrillic");
    const ExifToolSettings kept = UsableSettings({L"zh_cn", L"Latin2"});
    EXPECT_EQ(kept.TextLanguage, L"zh_cn");
    EXPECT_EQ(kept.FileNameCharset, L"Latin2");
}

TEST(ExifToolReports, FailureReportHasOnlyTheSectionsWithText) {
    EXPECT_EQ(FailedReport(L"C:\\a.jpg", L"1", L"CMD", L"", L"", L""),
              L"C:\\a.jpg\r\n\r\nExifTool has failed. Exit code: 1\r\n\r\nThe command line was:\r\n\r\nCMD");
    EXPECT_EQ(FailedReport(L"C:\\a.jpg", L"2", L"CMD", L"out", L"err", L"res"),
              L"C:\\a.jpg\r\n\r\nExifTool has failed. Exit code: 2\r\n\r\nThe command line was:\r\n\r\nCMD"
              L"\r\n\r\n@stdout:\r\n\r\nout\r\n\r\n@stderr:\r\n\r\nerr\r\n\r\nOutput text:\r\n\r\nres");
    EXPECT_EQ(FailedReport(L"f", L"3", L"CMD", L"", L"err", L""),
              L"f\r\n\r\nExifTool has failed. Exit code: 3\r\n\r\nThe command line was:\r\n\r\nCMD"
              L"\r\n\r\n@stderr:\r\n\r\nerr");
}

TEST(ExifToolReports, WorkingFolderOfAFile) {
    EXPECT_EQ(WorkingFolderOf(L"C:\\Pics\\a.jpg"), L"C:\\Pics");
    EXPECT_EQ(WorkingFolderOf(L"C:\\a.jpg"), L"C:\\");
    EXPECT_EQ(WorkingFolderOf(L"\\\\server\\share\\a.jpg"), L"\\\\server\\share");
    EXPECT_EQ(WorkingFolderOf(L"a.jpg"), L"");
}

}  // namespace
}  // namespace metaview
