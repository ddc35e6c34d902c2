// The ExifTool run with the real ExifTool on sample files made for the test: tags of a JPEG
// in English and Russian, a PNG whose name starts with a dash, and a file that does not exist.
#include <gtest/gtest.h>

#include "app/exiftool/launch_process.h"
#include "tests/app/exiftool/run_support.h"

namespace mvtest {
namespace {

std::wstring ExifToolFolder() { return HostPath(BK_EXIFTOOL_DIR); }

class RealExifToolRun : public ExifToolRunTest {
protected:
    static void SetUpTestSuite() {
        if (!Exists(ExifToolFolder() + L"\\exiftool.exe")) return;
        samples_ = new ScratchFolder();
        // A JPEG with camera and GPS tags, written by ExifTool itself.
        const std::wstring photo = *samples_ / L"photo with blanks.jpg";
        CopyFileW((HostPath(BK_SAMPLES_DIR) + L"\\sample.jpg").c_str(), photo.c_str(), FALSE);
        CopyFileW((HostPath(BK_SAMPLES_DIR) + L"\\sample.png").c_str(), (*samples_ / L"-dash.png").c_str(), FALSE);
        metaview::LaunchRequest request;
        request.CommandLine = L"\"" + ExifToolFolder() + L"\\exiftool.exe\" -q -overwrite_original -GPSLatitude=55.75 "
                              L"-GPSLatitudeRef=N -GPSLongitude=37.61 -GPSLongitudeRef=E -Make=TestMaker "
                              L"\"-Model=Test Model\" \"" + photo + L"\"";
        request.WaitMode = 1;
        request.ShowWindow = SW_HIDE;
        metaview::LaunchOutput output;
        tagged_ = request.CommandLine.size() && metaview::LaunchProcess(request, output).Started &&
                  output.ProcessExitCode == 0;
    }
    static void TearDownTestSuite() {
        delete samples_;
        samples_ = nullptr;
    }
    void SetUp() override {
        if (!samples_) GTEST_SKIP() << "ExifTool is not installed (scripts/setup.sh)";
        ExifToolRunTest::SetUp();
    }
    RunRecord RunReal(const std::wstring& file, const metaview::ExifToolSettings& settings = {}) {
        return Run(file, settings, &errors_, ExifToolFolder());
    }
    static std::wstring Sample(const wchar_t* name) { return *samples_ / name; }

    static ScratchFolder* samples_;
    static bool tagged_;
};
ScratchFolder* RealExifToolRun::samples_ = nullptr;
bool RealExifToolRun::tagged_ = false;

bool HasLineBreakAtAnEnd(const std::wstring& text) {
    return !text.empty() && (text.front() == L'\r' || text.front() == L'\n' || text.back() == L'\r' || text.back() == L'\n');
}

TEST_F(RealExifToolRun, TagsOfAJpegInEnglishAndInRussian) {
    ASSERT_TRUE(tagged_) << "ExifTool could not write the sample's tags";
    const RunRecord en = RunReal(Sample(L"photo with blanks.jpg"));
    ASSERT_EQ(en.shown.size(), 3u);
    const std::wstring& result = en.shown[2];
    EXPECT_NE(result.find(L"---- GPS ----"), std::wstring::npos) << result;
    EXPECT_NE(result.find(L"GPS Latitude"), std::wstring::npos);
    EXPECT_NE(result.find(L"TestMaker"), std::wstring::npos);
    EXPECT_NE(result.find(L"photo with blanks.jpg"), std::wstring::npos);
    EXPECT_FALSE(HasLineBreakAtAnEnd(result));
    EXPECT_EQ(en.outputText, L"");
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});

    const RunRecord ru = RunReal(Sample(L"photo with blanks.jpg"), {L"ru", L"Cyrillic"});
    ASSERT_EQ(ru.shown.size(), 3u);
    EXPECT_NE(ru.shown[2].find(L"Производитель"), std::wstring::npos) << ru.shown[2];
    EXPECT_NE(ru.shown[2].find(L"TestMaker"), std::wstring::npos);
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

TEST_F(RealExifToolRun, FileNameStartingWithADashIsStillAFile) {
    const RunRecord run = RunReal(Sample(L"-dash.png"));
    ASSERT_EQ(run.shown.size(), 3u) << run.shown.back();
    EXPECT_NE(run.shown[2].find(L"-dash.png"), std::wstring::npos) << run.shown[2];
    EXPECT_NE(run.shown[2].find(L"PNG"), std::wstring::npos);
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

// Names ExifTool would get changed through the ANSI code page (letters outside it become "?",
// a wildcard to ExifTool, which then showed other files of the folder): each run shows the
// named file and no other, whatever the code page and the file-name charset.
TEST_F(RealExifToolRun, NamesOutsideTheAnsiCodePageShowTheirOwnFile) {
    const wchar_t* names[] = {L"Фото отпуска.jpg", L"café résumé.jpg", L"写真テスト.jpg", L"\U0001F600 smile.jpg",
                              L"日本.jpg"};
    // Decoys a wildcard would match.
    for (const wchar_t* decoy : {L"AAAA.jpg", L"BB.jpg", L"CCCCC CCCCCCC.jpg"})
        CopyFileW(Sample(L"photo with blanks.jpg").c_str(), Sample(decoy).c_str(), FALSE);
    for (const wchar_t* charset : {L"Cyrillic", L"Latin"}) {
        for (const wchar_t* name : names) {
            SCOPED_TRACE(testing::Message() << "charset " << testing::PrintToString(std::wstring(charset)) << ", name "
                                            << testing::PrintToString(std::wstring(name)));
            const std::wstring file = Sample(name);
            ASSERT_TRUE(CopyFileW(Sample(L"photo with blanks.jpg").c_str(), file.c_str(), FALSE));
            const RunRecord run = RunReal(file, {L"en", charset});
            ASSERT_EQ(run.shown.size(), 3u) << run.shown.back();
            const std::wstring& result = run.shown[2];
            EXPECT_NE(result.find(L"File Name                       : " + std::wstring(name)), std::wstring::npos) << result;
            EXPECT_EQ(result.find(L"AAAA.jpg"), std::wstring::npos) << "another file's tags";
            EXPECT_EQ(result.find(L"======== "), std::wstring::npos) << "more than one file";
            EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
        }
    }
}

TEST_F(RealExifToolRun, ATemporaryFolderOutsideTheAnsiCodePage) {
    UseTempFolder(*root_ / L"Временные 一時");
    const RunRecord run = RunReal(Sample(L"photo with blanks.jpg"));
    ASSERT_EQ(run.shown.size(), 3u) << run.shown.back();
    EXPECT_NE(run.shown[2].find(L"photo with blanks.jpg"), std::wstring::npos) << run.shown[2];
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

TEST_F(RealExifToolRun, AFileInAFolderTooLongForAWorkingFolder) {
    std::wstring folder = root_->path();
    while (folder.size() < 300) {
        folder += L"\\folder with a long enough name";
        CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr);
    }
    const std::wstring file = folder + L"\\photo.jpg";
    ASSERT_TRUE(CopyFileW(Sample(L"photo with blanks.jpg").c_str(), (L"\\\\?\\" + file).c_str(), FALSE));
    // The run ends with an outcome: the tags, or ExifTool's own report of a name too long for it.
    const RunRecord run = RunReal(file);
    ASSERT_GE(run.shown.size(), 2u);
    EXPECT_TRUE(run.shown.back().find(L"photo.jpg") != std::wstring::npos) << run.shown.back();
    EXPECT_EQ(run.shown.back().find(L"Cat't run ExifTool."), std::wstring::npos) << run.shown.back();
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

TEST_F(RealExifToolRun, MissingFileIsAFailureReport) {
    const std::wstring missing = Sample(L"no such photo.jpg");
    const RunRecord run = RunReal(missing);
    ASSERT_EQ(run.shown.size(), 2u);
    const std::wstring& report = run.shown[1];
    const std::wstring head = missing + kGap + L"ExifTool has failed. Exit code: 1" + kGap + L"The command line was:" + kGap;
    ASSERT_TRUE(report.starts_with(head)) << report;
    const std::wstring rest = report.substr(head.size());
    const std::wstring commandLine = rest.substr(0, rest.find(kGap));
    EXPECT_EQ(commandLine, ExpectedCommandLine(ExifToolFolder(), ResultFileOf(commandLine), missing));
    EXPECT_NE(report.find(std::wstring(kGap) + L"@stderr:" + kGap), std::wstring::npos) << report;
    if (run.outputText.empty()) EXPECT_EQ(report.find(L"@stdout:"), std::wstring::npos);
    else EXPECT_NE(report.find(L"@stdout:" + std::wstring(kGap) + run.outputText), std::wstring::npos);
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

}  // namespace
}  // namespace mvtest
