// The ExifTool run against a stand-in exiftool.exe: every branch, the exact reports, what File >
// Save would write, and an empty temporary folder afterwards.
#include <gtest/gtest.h>

#include "support/as/errortext.h"
#include "support/win/com.h"
#include "support/win/owner.h"
#include "tests/app/exiftool/run_support.h"
#include "tests/harness/library.h"

namespace mvtest {
namespace {

class FakeExifToolRun : public ExifToolRunTest {
protected:
    // exiftool.exe in the application folder, behaving as `config` says (see fake_exiftool.cpp).
    void InstallFake(const std::string& config) {
        ASSERT_TRUE(CopyFileW((ProgramFolder() + L"\\fake_exiftool.exe").c_str(), (app_ + L"\\exiftool.exe").c_str(), FALSE));
        WriteBytes(app_ + L"\\fake-exiftool.txt", config);
    }
    // Command lines and current folders the fake saw, in order.
    std::vector<std::wstring> Logged(const wchar_t* key) const {
        std::vector<std::wstring> values;
        const std::wstring log = FromUtf8(ReadBytes(app_ + L"\\fake-exiftool.log"));
        size_t start = 0;
        while (start < log.size()) {
            size_t end = log.find(L'\n', start);
            if (end == std::wstring::npos) end = log.size();
            const std::wstring line = log.substr(start, end - start);
            if (line.starts_with(key)) values.push_back(line.substr(wcslen(key)));
            start = end + 1;
        }
        return values;
    }
    std::wstring Photo() {
        const std::wstring name = files_ + L"\\photo with blanks.jpg";
        WriteBytes(name, "not really a photo");
        return name;
    }
};

// A text with letters beyond ASCII that the OEM code page in force can hold.
std::wstring OemText() {
    for (const wchar_t* candidate : {L"Ошибка чтения", L"Größe été"}) {
        BOOL lost = FALSE;
        WideCharToMultiByte(CP_OEMCP, 0, candidate, -1, nullptr, 0, nullptr, &lost);
        if (!lost) return candidate;
    }
    return L"plain text";
}

TEST_F(FakeExifToolRun, SuccessShowsTheTrimmedResultAndClearsTheSavedText) {
    InstallFake("result=\\n\\n---- ExifTool ----\\nИмя файла : テスト.jpg\\n\\n\n");
    // A relative name is resolved against the current folder.
    const std::wstring photo = Photo();
    wchar_t previous[MAX_PATH * 2] = {};
    GetCurrentDirectoryW(MAX_PATH * 2, previous);
    SetCurrentDirectoryW(files_.c_str());
    const RunRecord run = Run(L"photo with blanks.jpg", {}, &errors_);
    SetCurrentDirectoryW(previous);

    const std::vector<std::wstring> expected = {L"Running ExifTool...", L"busy:1", L"busy:0", L"Parsing result data...",
                                                L"---- ExifTool ----\r\nИмя файла : テスト.jpg"};
    EXPECT_EQ(run.events, expected);
    EXPECT_EQ(run.outputText, L"");

    const auto commands = Logged(L"cmd=");
    ASSERT_EQ(commands.size(), 1u);
    const std::wstring resultFile = ResultFileOf(commands[0]);
    EXPECT_TRUE(resultFile.starts_with(temp_ + L"\\")) << resultFile;
    EXPECT_TRUE(resultFile.ends_with(L".TXT")) << resultFile;
    EXPECT_EQ(commands[0], ExpectedCommandLine(app_, resultFile, photo));
    EXPECT_EQ(Logged(L"cwd="), std::vector<std::wstring>{files_});
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

TEST_F(FakeExifToolRun, SettingsGoIntoTheCommandLineUnlessTheyWouldBreakIt) {
    InstallFake("");
    const std::wstring photo = Photo();
    Run(photo, {L"ru", L"UTF8"}, &errors_);
    Run(photo, {L"ru\" -o \"evil", L"UTF8\\"}, &errors_);
    const auto commands = Logged(L"cmd=");
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0], ExpectedCommandLine(app_, ResultFileOf(commands[0]), photo, L"UTF8", L"ru"));
    EXPECT_EQ(commands[1], ExpectedCommandLine(app_, ResultFileOf(commands[1]), photo, L"Cyrillic", L"en"));
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

TEST_F(FakeExifToolRun, NonZeroExitWithoutAnyTextReportsJustTheCodeAndCommandLine) {
    InstallFake("exit=1\nnoresult=1\n");
    const std::wstring photo = Photo();
    const RunRecord run = Run(photo, {}, &errors_);
    const auto commands = Logged(L"cmd=");
    ASSERT_EQ(commands.size(), 1u);
    ASSERT_EQ(run.shown.size(), 2u);
    EXPECT_EQ(run.shown[1], photo + kGap + L"ExifTool has failed. Exit code: 1" + kGap + L"The command line was:" +
                                kGap + commands[0]);
    EXPECT_EQ(run.outputText, L"") << "the empty standard output is what Save writes";
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

TEST_F(FakeExifToolRun, NonZeroExitReportsDecodedConsoleTextsAndTheResult) {
    const std::wstring oem = OemText();
    InstallFake("exit=2\nstdout=\\n" + Utf8(oem) + "\\nsecond line\\n\\n\nstderr=Error: " + Utf8(oem) +
                "\\n\nresult=\\nWarning : Привет\\n\n");
    const std::wstring photo = Photo();
    const RunRecord run = Run(photo, {}, &errors_);
    const auto commands = Logged(L"cmd=");
    ASSERT_EQ(commands.size(), 1u);
    ASSERT_EQ(run.shown.size(), 2u);
    const std::wstring out = oem + L"\r\nsecond line";
    EXPECT_EQ(run.shown[1], photo + kGap + L"ExifTool has failed. Exit code: 2" + kGap + L"The command line was:" +
                                kGap + commands[0] + kGap + L"@stdout:" + kGap + out + kGap + L"@stderr:" + kGap +
                                L"Error: " + oem + kGap + L"Output text:" + kGap + L"Warning : Привет")
        << "OEM code page " << GetOEMCP();
    EXPECT_EQ(run.outputText, out);
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

TEST_F(FakeExifToolRun, Utf8ConsoleOutputIsDecodedAsUtf8) {
    InstallFake("exit=1\nnoresult=1\nstdout-utf8=Файл: 写真.jpg\\n\n");
    const RunRecord run = Run(Photo(), {}, &errors_);
    EXPECT_EQ(run.outputText, L"Файл: 写真.jpg");
    ASSERT_EQ(run.shown.size(), 2u);
    EXPECT_TRUE(run.shown[1].ends_with(std::wstring(kGap) + L"@stdout:" + kGap + L"Файл: 写真.jpg"));
}

TEST_F(FakeExifToolRun, MissingExifToolReportsTheSystemErrorAndKeepsTheSavedText) {
    const std::wstring photo = Photo();
    const RunRecord run = Run(photo, {}, &errors_);
    ASSERT_EQ(run.shown.size(), 2u);
    const std::wstring report = run.shown[1];
    const std::wstring commandLine = report.substr(report.rfind(kGap) + 4);
    EXPECT_EQ(commandLine, ExpectedCommandLine(app_, ResultFileOf(commandLine), photo));
    EXPECT_EQ(report, photo + kGap + L"Cat't run ExifTool." + kGap + L"API 2" + kGap + L"The command line was:" + kGap +
                          commandLine);
    EXPECT_EQ(run.outputText, L"previous");
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

TEST_F(FakeExifToolRun, MissingResultFileAfterSuccessIsACantReadReport) {
    InstallFake("noresult=1\n");
    const RunRecord run = Run(Photo(), {}, &errors_);
    const auto commands = Logged(L"cmd=");
    ASSERT_EQ(commands.size(), 1u);
    const std::wstring resultFile = ResultFileOf(commands[0]);
    ASSERT_EQ(run.shown.size(), 3u);
    EXPECT_EQ(run.shown[1], L"Parsing result data...");
    EXPECT_EQ(run.shown[2], resultFile + kGap + L"Cat't read ExifTool result data!" + kGap + L"ERR " +
                                std::to_wstring(static_cast<long>(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND))) + L": " +
                                support::asGetAPIErrorDescription(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(run.outputText, L"previous");
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

TEST_F(FakeExifToolRun, LockedResultFileIsACantReadReportAndIsStillDeleted) {
    InstallFake("");
    support::UniqueHandle lock;
    const RunRecord run = Run(Photo(), {}, &errors_, L"", [&](const std::wstring& text) {
        if (text == L"Parsing result data...") {
            for (const auto& name : TempLeftovers())
                if (name.find(L".Std") == std::wstring::npos)
                    lock.reset(CreateFileW((temp_ + L"\\" + name).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        } else {
            lock.reset();
        }
    });
    ASSERT_EQ(run.shown.size(), 3u);
    EXPECT_NE(run.shown[2].find(L"\r\n\r\nCat't read ExifTool result data!\r\n\r\nERR " +
                                std::to_wstring(static_cast<long>(HRESULT_FROM_WIN32(ERROR_SHARING_VIOLATION)))),
              std::wstring::npos)
        << run.shown[2];
    EXPECT_EQ(run.outputText, L"previous");
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

TEST_F(FakeExifToolRun, TemporaryFolderOutsideTheAnsiCodePage) {
    UseTempFolder(*root_ / L"Временные 一時");
    InstallFake("result=Tag : value\n");
    const RunRecord run = Run(Photo(), {}, &errors_);
    ASSERT_EQ(run.shown.size(), 3u);
    EXPECT_EQ(run.shown[2], L"Tag : value");
    const auto commands = Logged(L"cmd=");
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_TRUE(ResultFileOf(commands[0]).starts_with(temp_ + L"\\"));
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

TEST_F(FakeExifToolRun, WorksWithTheLibrarysOwnErrorTexts) {
    auto errors = bktest::Create<_orxErr>(CLSID_orxErr);
    ASSERT_TRUE(errors);
    const std::wstring photo = Photo();
    const RunRecord run = Run(photo, {}, errors.get());
    ASSERT_EQ(run.shown.size(), 2u);
    const std::wstring& report = run.shown[1];
    const std::wstring head = photo + kGap + L"Cat't run ExifTool." + kGap;
    ASSERT_TRUE(report.starts_with(head)) << report;
    const size_t tail = report.find(std::wstring(kGap) + L"The command line was:" + kGap);
    ASSERT_NE(tail, std::wstring::npos);
    EXPECT_GT(tail, head.size()) << "a message for the error stands between";
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

}  // namespace
}  // namespace mvtest
