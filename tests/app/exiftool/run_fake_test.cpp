// The ExifTool run against a stand-in exiftool.exe: every branch, the exact reports, what File >
// Save would write, and an empty temporary folder afterwards.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

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

// The short form of an existing folder, or empty.
std::wstring ShortForm(const std::wstring& folder) {
    wchar_t buffer[MAX_PATH * 4] = {};
    const DWORD n = GetShortPathNameW((L"\\\\?\\" + folder).c_str(), buffer, MAX_PATH * 4);
    if (n == 0 || n >= MAX_PATH * 4) return {};
    std::wstring shortForm(buffer, n);
    if (shortForm.starts_with(L"\\\\?\\")) shortForm.erase(0, 4);
    return shortForm;
}

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
    // The result file goes on the command line by its folder's short form, which the ANSI
    // code page can carry.
    const auto commands = Logged(L"cmd=");
    ASSERT_EQ(commands.size(), 1u);
    const std::wstring result = ResultFileOf(commands[0]);
    EXPECT_TRUE(result.starts_with(ShortForm(temp_) + L"\\")) << result;
    EXPECT_TRUE(std::all_of(result.begin(), result.end(), [](wchar_t c) { return c < 0x80; })) << result;
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

// Names the system's ANSI code page and the configured file-name charset carry unchanged
// stay on the command line; any other goes to ExifTool through an argument file in UTF-8.
TEST_F(FakeExifToolRun, FileNamesThatWouldArriveChangedGoThroughAnArgumentFile) {
    InstallFake("exit=1\nstdout=seen\n");
    const bool russian = GetACP() == 1251, western = GetACP() == 1252;
    struct Case {
        const wchar_t* name;
        const wchar_t* charset;
        bool survives;
    };
    const Case cases[] = {
        {L"plain name.jpg", L"Cyrillic", true},
        {L"Фото отпуска.jpg", L"Cyrillic", russian},
        {L"Фото отпуска.jpg", L"cp1251", russian},
        {L"café résumé.jpg", L"Cyrillic", false},  // é goes out as one code page and back as another
        {L"café résumé.jpg", L"Latin", western},
        {L"写真テスト.jpg", L"Cyrillic", false},
        {L"\U0001F600 smile.jpg", L"Cyrillic", false},
        {L"plain name.jpg", L"NoSuchCharset", false},  // a charset ExifTool may not know: no guessing
    };
    size_t runs = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << runs);
        const std::wstring photo = files_ + L"\\" + c.name;
        WriteBytes(photo, "photo");
        metaview::ExifToolSettings settings;
        settings.FileNameCharset = c.charset;
        const RunRecord run = Run(photo, settings, &errors_);
        ASSERT_EQ(run.shown.size(), 2u);
        const std::wstring command = Logged(L"cmd=").at(runs++);
        if (c.survives) {
            EXPECT_EQ(command, ExpectedCommandLine(app_, ResultFileOf(command), photo, c.charset));
            EXPECT_NE(run.shown[1].find(command), std::wstring::npos) << "the report shows what ran";
            continue;
        }
        EXPECT_NE(command.find(L" -charset FileName=\"utf8\" -lang \"en\" -@ \""), std::wstring::npos) << command;
        EXPECT_EQ(command.find(c.name), std::wstring::npos) << "the name is not on the command line";
        const std::vector<std::wstring> args = Logged(L"arg=");
        ASSERT_GE(args.size(), 4u);
        const std::vector<std::wstring> last(args.end() - 4, args.end());
        EXPECT_EQ(last[0], L"-W+!");
        EXPECT_TRUE(last[1].starts_with(temp_ + L"\\")) << last[1];
        EXPECT_EQ(last[2], L"--");
        EXPECT_EQ(last[3], photo);
        // The report shows the command line and what the argument file held.
        EXPECT_NE(run.shown[1].find(command + L"\r\n"), std::wstring::npos) << run.shown[1];
        EXPECT_NE(run.shown[1].find(L"\r\n--\r\n" + photo), std::wstring::npos) << run.shown[1];
    }
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{}) << "the argument file goes with the run";
}

TEST_F(FakeExifToolRun, AFolderTooLongToRunInUsesItsShortFormOrOurFolder) {
    std::wstring folder = files_;
    while (folder.size() < 300) {
        folder += L"\\a rather long folder name for the working folder";
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    }
    const std::wstring photo = folder + L"\\photo.jpg";
    WriteBytes(L"\\\\?\\" + photo, "photo");
    InstallFake("result=Tag : value\n");
    const RunRecord run = Run(photo, {}, &errors_);
    ASSERT_EQ(run.shown.size(), 3u);
    EXPECT_EQ(run.shown[2], L"Tag : value");
    const auto folders = Logged(L"cwd=");
    ASSERT_EQ(folders.size(), 1u);
    const std::wstring shortForm = ShortForm(folder);
    const std::wstring expected = !shortForm.empty() && shortForm.size() < MAX_PATH ? shortForm : app_;
    EXPECT_EQ(_wcsicmp(folders[0].c_str(), expected.c_str()), 0) << folders[0];
    EXPECT_EQ(Logged(L"cmd=").at(0), ExpectedCommandLine(app_, ResultFileOf(Logged(L"cmd=").at(0)), photo));
}

// Stopping a run ends ExifTool with everything it started; the run reports it as ended with
// the stop's exit code.
TEST_F(FakeExifToolRun, AStoppedRunEndsExifToolAndItsChildren) {
    const support::UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    ASSERT_TRUE(job);
    job_ = job.get();
    InstallFake("hang=1\n");
    // Once ExifTool has started its child, the job is ended from another thread, as the main
    // window does from its close question.
    std::thread stopper;
    const RunRecord run = Run(Photo(), {}, &errors_, L"", [&](const std::wstring& text) {
        if (text != L"Running ExifTool...") return;
        stopper = std::thread([this, &job] {
            for (int i = 0; i < 200 && Logged(L"child=").empty(); ++i) Sleep(50);
            TerminateJobObject(job.get(), 1);
        });
    });
    if (stopper.joinable()) stopper.join();
    ASSERT_EQ(run.shown.size(), 2u);
    EXPECT_TRUE(run.shown[1].find(L"ExifTool has failed. Exit code: 1") != std::wstring::npos) << run.shown[1];
    for (const wchar_t* key : {L"pid=", L"child="}) {
        const auto ids = Logged(key);
        ASSERT_EQ(ids.size(), 1u) << key;
        const support::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(_wtoi(ids[0].c_str()))));
        EXPECT_TRUE(!process || WaitForSingleObject(process.get(), 5000) == WAIT_OBJECT_0) << key << " still runs";
    }
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
}

// The main window starts ExifTool before it is made and finishes the run from its timer: the
// run goes on while the caller does other things, and a run that is never finished (the window
// could not be made) ends ExifTool with its children and leaves no file behind.
TEST_F(FakeExifToolRun, StartNowFinishLaterOrNever) {
    const support::UniqueHandle job(CreateJobObjectW(nullptr, nullptr));
    ASSERT_TRUE(job);
    metaview::ExifToolHost host;
    host.ApplicationFolder = app_;
    host.Job = job.get();
    std::vector<std::wstring> shown;
    const auto show = [&shown](const std::wstring& text) { shown.push_back(text); };

    InstallFake("result=---- ExifTool ----\\n\n");
    {
        metaview::ExifToolRun run;
        std::wstring outputText = L"previous";
        run.Finish(outputText, show, &errors_);  // nothing started: nothing happens
        EXPECT_TRUE(shown.empty());
        run.Start(Photo(), {}, host);
        EXPECT_TRUE(run.started());
        for (int i = 0; i < 200 && Logged(L"cmd=").empty(); ++i) Sleep(50);  // it runs before Finish
        EXPECT_EQ(Logged(L"cmd=").size(), 1u);
        run.Finish(outputText, show, &errors_);
        EXPECT_FALSE(run.started());
        EXPECT_EQ(shown, (std::vector<std::wstring>{L"Running ExifTool...", L"Parsing result data...",
                                                    L"---- ExifTool ----"}));
        EXPECT_EQ(outputText, L"");
        run.Finish(outputText, show, &errors_);  // once only
        EXPECT_EQ(shown.size(), 3u);
    }
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});

    InstallFake("hang=1\n");
    DeleteFileW((app_ + L"\fake-exiftool.log").c_str());
    {
        metaview::ExifToolRun run;
        run.Start(Photo(), {}, host);
        for (int i = 0; i < 200 && Logged(L"child=").empty(); ++i) Sleep(50);
        ASSERT_EQ(Logged(L"child=").size(), 1u);
    }
    for (const wchar_t* key : {L"pid=", L"child="}) {
        const auto ids = Logged(key);
        ASSERT_EQ(ids.size(), 1u) << key;
        const support::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(_wtoi(ids[0].c_str()))));
        EXPECT_TRUE(!process || WaitForSingleObject(process.get(), 5000) == WAIT_OBJECT_0) << key << " still runs";
    }
    EXPECT_EQ(TempLeftovers(), std::vector<std::wstring>{});
    EXPECT_EQ(shown.size(), 3u);  // an abandoned run shows nothing
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
