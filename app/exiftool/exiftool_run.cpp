#include "app/exiftool/exiftool_run.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "app/exiftool/launch_process.h"
#include "lib/objectmodel/errorobject.h"
#include "app/exiftool/temp_files.h"
#include "support/as/errornumber.h"
#include "support/as/errortext.h"
#include "support/es/fileops.h"
#include "support/es/paths.h"
#include "support/base/status.h"
#include "support/win/com.h"
#include "support/win/owner.h"
#include "support/as/text.h"
#include "support/components/textfile.h"

namespace metaview {
namespace {

using support::Bstr;
using support::ComPtr;

// How long an abandoned run waits for the ended ExifTool to let go of its files.
constexpr DWORD kStopWaitMs = 5000;

// The run goes on past failing steps; each failure is recorded (the last one wins) and traced
// for the debugger. Only the read of the result file looks at it.
class RunSteps {
public:
    void Record(const wchar_t* step, HRESULT code) {
        steps_.Succeeded(FAILED(code) ? code : E_FAIL);
        std::wstring trace = L"Metaview: ExifTool run: ";
        trace += step;
        trace += L" failed, error ";
        trace += support::asGetErrorNumber(static_cast<long>(code));
        trace += L"\n";
        OutputDebugStringW(trace.c_str());
    }
    void Clear() { steps_.Clear(); }
    bool failed() const { return steps_.failed(); }

private:
    support::StepRecorder steps_{support::KeepFailure::Last};
};

// Shows the wait cursor for its lifetime.
class BusyCursor {
public:
    explicit BusyCursor(const BusyCursorFn& set) : set_(set) { Set(true); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
    ~BusyCursor() {
        try {
            Set(false);
        } catch (...) {
            // A cursor that cannot be restored must not end the program.
        }
    }

private:
    void Set(bool busy) {
        if (set_) set_(busy);
        else SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
    }
    const BusyCursorFn& set_;
};

// orxErr.GetErrorMessageAPI, or the system's own text when the library cannot give one.
std::wstring SystemErrorMessage(_orxErr* errors, DWORD code, RunSteps& steps) {
    if (errors) {
        Bstr message;
        const HRESULT hr = errors->GetErrorMessageAPI(static_cast<LONG>(code), message.put());
        if (SUCCEEDED(hr)) return message.str();
        steps.Record(L"orxErr.GetErrorMessageAPI", hr);
    }
    std::wstring text = support::asGetAPIErrorDescription(static_cast<long>(code));
    return text.empty() ? L"Error " + support::asGetErrorNumber(static_cast<long>(code)) : text;
}

// orxErr.GetErrorMessage for a failed read, or the error's own description when the library
// cannot give one.
std::wstring ReadErrorMessage(_orxErr* errors, const support::Status& failure, RunSteps& steps) {
    const long number = static_cast<long>(failure.code);
    if (errors) {
        ErrObject* raw = nullptr;
        HRESULT hr = bk::CreateErrorObject(support::ErrorRecord{number, failure.description, L"TextFileIO", {}, 0}, &raw);
        ComPtr<ErrObject> object = ComPtr<ErrObject>::Attach(raw);
        if (SUCCEEDED(hr)) {
            Bstr message;
            raw = object.detach();  // [in, out]: the callee may replace it
            hr = errors->GetErrorMessage(&raw, message.put());
            object = ComPtr<ErrObject>::Attach(raw);
            if (SUCCEEDED(hr)) return message.str();
        }
        steps.Record(L"orxErr.GetErrorMessage", hr);
    }
    return failure.description.empty() ? L"Error " + support::asGetErrorNumber(number) : failure.description;
}

// Whether `name` reaches ExifTool unchanged on its command line: through the ANSI code page
// without a letter lost, and back from those bytes by the file-name charset ExifTool applies.
bool SurvivesCommandLine(std::wstring_view name, std::wstring_view charset) {
    if (name.empty()) return true;
    const std::optional<unsigned> codePage = CodePageOfCharset(charset);
    if (!codePage) return false;  // a charset we cannot follow: no guessing
    const int length = static_cast<int>(name.size());
    BOOL lost = FALSE;
    const int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.data(), length, nullptr, 0, nullptr, &lost);
    if (bytes <= 0 || lost) return false;
    std::string ansi(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name.data(), length, ansi.data(), bytes, nullptr, &lost);
    if (lost) return false;
    const int chars = MultiByteToWideChar(*codePage, MB_ERR_INVALID_CHARS, ansi.data(), bytes, nullptr, 0);
    if (chars <= 0) return false;
    std::wstring back(static_cast<size_t>(chars), L'\0');
    MultiByteToWideChar(*codePage, MB_ERR_INVALID_CHARS, ansi.data(), bytes, back.data(), chars);
    return back == name;
}

// The short form of a folder, or empty when the system has none.
std::wstring ShortFormOf(const std::wstring& folder) {
    const DWORD need = GetShortPathNameW(folder.c_str(), nullptr, 0);
    if (need == 0) return {};
    std::wstring shortForm(need, L'\0');
    const DWORD got = GetShortPathNameW(folder.c_str(), shortForm.data(), need);
    if (got == 0 || got >= need) return {};
    shortForm.resize(got);
    return shortForm;
}

// A file in one of our temporary folders as ExifTool's command line can carry it: the name
// itself, or with the short form of its folder; empty when neither survives.
std::wstring CommandLineNameOf(const std::wstring& file, std::wstring_view charset) {
    if (SurvivesCommandLine(file, charset)) return file;
    const std::wstring folder = ShortFormOf(support::esGetFilePath(file));
    if (folder.empty()) return {};
    const std::wstring shortName = support::esBuildFileName(folder, support::esGetFileName(file));
    return SurvivesCommandLine(shortName, charset) ? shortName : std::wstring();
}

// Writes ExifTool's argument file: one argument per line, UTF-8.
bool WriteArgumentFile(const std::wstring& file, const std::vector<std::wstring>& arguments) {
    std::string bytes;
    for (const std::wstring& argument : arguments) {
        const int length = static_cast<int>(argument.size());
        const int need = WideCharToMultiByte(CP_UTF8, 0, argument.data(), length, nullptr, 0, nullptr, nullptr);
        std::string line(static_cast<size_t>(need > 0 ? need : 0), '\0');
        if (need > 0) WideCharToMultiByte(CP_UTF8, 0, argument.data(), length, line.data(), need, nullptr, nullptr);
        bytes += line;
        bytes += '\n';
    }
    const support::UniqueHandle handle(
        CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    if (!handle) return false;
    DWORD written = 0;
    return WriteFile(handle.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

// Everything one run holds from the start of ExifTool until its outcome is shown. The capture
// files are declared before the collector, so that the collector goes first at the end of the
// run and deletes them once they are closed.
struct ExifToolRun::State {
    std::wstring fileName;
    RunSteps steps;
    std::wstring resultFile;
    csStdFile stdOut;
    csStdFile stdErr;
    csFileGarbageCollector collector;
    std::wstring commandLine;
    LaunchOutput launched;
    LaunchStatus status;
    BusyCursorFn setBusyCursor;
    std::function<bool(MSG&)> preTranslate;
    HANDLE job = nullptr;
    bool finished = false;

    void Start(const std::wstring& FileName, const ExifToolSettings& settings, const ExifToolHost& host);
    void Finish(std::wstring& OutputText, const ShowStatusFn& ShowStatus, _orxErr* errors);
    void Stop() noexcept;
};

void ExifToolRun::State::Start(const std::wstring& FileName, const ExifToolSettings& settings,
                               const ExifToolHost& host) {
    setBusyCursor = host.SetBusyCursor;
    preTranslate = host.PreTranslateMessage;
    job = host.Job;
    fileName = FileName;
    if (std::wstring full = support::esGetFullFileName(fileName); !full.empty()) fileName = std::move(full);
    else steps.Record(L"esGetFullFileName", HRESULT_FROM_WIN32(GetLastError()));

    resultFile = support::esGetTempFileName2(L"", L"TXT");
    if (resultFile.empty()) steps.Record(L"esGetTempFileName2", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));

    // Without a result name the capture names would be relative ones in our current folder:
    // then ExifTool writes to our own standard handles instead.
    if (!resultFile.empty()) {
        if (!stdOut.CreateNewFile(support::esReplaceFileExtension(resultFile, L"StdOut.TXT")))
            steps.Record(L"creating the standard-output file", HRESULT_FROM_WIN32(GetLastError()));
        if (!stdErr.CreateNewFile(support::esReplaceFileExtension(resultFile, L"StdErr.TXT")))
            steps.Record(L"creating the standard-error file", HRESULT_FROM_WIN32(GetLastError()));
    }
    collector.AddFiles({resultFile, stdOut.Name(), stdErr.Name()});

    const std::wstring appFolder = host.ApplicationFolder.empty() ? support::esGetAppFolder() : host.ApplicationFolder;
    const std::wstring exifTool = support::esBuildFileName(appFolder, L"exiftool.exe");
    const ExifToolSettings usable = UsableSettings(settings);

    // Names that would not reach ExifTool unchanged on its command line go to it through an
    // argument file in UTF-8; a result file in a folder outside the ANSI code page may still
    // go on the command line by its folder's short form.
    ExifToolCall call = BuildExifToolCall(exifTool, resultFile, usable, fileName, {});
    if (!resultFile.empty()) {
        const std::wstring resultName = CommandLineNameOf(resultFile, usable.FileNameCharset);
        const bool nameSurvives = SurvivesCommandLine(fileName, usable.FileNameCharset);
        if (nameSurvives && !resultName.empty()) {
            call = BuildExifToolCall(exifTool, resultName, usable, fileName, {});
        } else {
            const std::wstring argumentFile = support::esReplaceFileExtension(resultFile, L"Args.TXT");
            // ExifTool takes the argument file's own name after "-charset FileName=utf8": a name
            // that is plain ASCII (or whose folder's short form is) reads the same either way.
            const std::wstring argumentName = CommandLineNameOf(argumentFile, L"utf8");
            ExifToolCall viaFile = BuildExifToolCall(exifTool, resultFile, usable, fileName, argumentName);
            collector.AddFiles({argumentFile});
            if (!argumentName.empty() && WriteArgumentFile(argumentFile, viaFile.arguments))
                call = std::move(viaFile);
            else
                steps.Record(L"writing the argument file", HRESULT_FROM_WIN32(GetLastError()));
        }
    }
    commandLine = CommandLineText(call);

    LaunchRequest request;
    request.CommandLine = call.commandLine;
    request.InheritHandles = false;  // the standard handles below turn inheritance on
    request.CreationFlags = NORMAL_PRIORITY_CLASS;
    // A folder too long to be a process's current folder goes by its short form, or ExifTool
    // runs in our own folder: the file name it gets is a full path either way.
    const std::wstring workingFolder = WorkingFolderOf(fileName);
    request.CurrentDirectory = UsableWorkingFolder(workingFolder, ShortFormOf(workingFolder), appFolder);
    request.Job = host.Job;
    // Started without a wait: Finish waits, handling window messages, so that whatever the
    // caller does in between overlaps with ExifTool's run.
    request.WaitMode = 0;
    request.TimeoutMs = -1;
    request.NoFeedback = false;
    request.FailCriticalErrors = false;
    request.ShowWindow = SW_HIDE;
    request.UseStdHandles = true;
    request.StdInput = nullptr;
    request.StdOutput = stdOut.hFile();
    request.StdError = stdErr.hFile();
    request.KeepHandles = true;
    status = LaunchProcess(request, launched);
    if (status.failed()) steps.Record(L"LaunchProcess", status.Error.code);
}

void ExifToolRun::State::Finish(std::wstring& OutputText, const ShowStatusFn& ShowStatus, _orxErr* errors) {
    finished = true;
    auto show = [&ShowStatus](const std::wstring& text) {
        if (ShowStatus) ShowStatus(text);
    };

    show(std::wstring(exiftool_text::kRunning));
    if (status.Started) {
        BusyCursor busy(setBusyCursor);
        WaitPumpingForExit(launched, preTranslate);
    }
    launched.ProcessHandle.reset();
    launched.ThreadHandle.reset();

    stdOut.CloseFile();
    stdErr.CloseFile();

    if (!status.Started) {
        show(CantRunReport(fileName, SystemErrorMessage(errors, launched.LastError, steps), commandLine));
        return;
    }

    using support::TextFileIO::ReadTextFile;
    if (launched.ProcessExitCode != 0) {
        // Console texts are decoded from the OEM code page (or UTF-8) by the read itself.
        const std::wstring outputText = support::asTrimCRLF(ReadTextFile(stdOut.Name(), false, support::kReadConsole).text);
        const std::wstring errorText = support::asTrimCRLF(ReadTextFile(stdErr.Name(), false, support::kReadConsole).text);
        const std::wstring resultText = support::asTrimCRLF(ReadTextFile(resultFile, false, support::kReadUtf8).text);
        show(FailedReport(fileName, support::asGetErrorNumber(static_cast<long>(launched.ProcessExitCode)), commandLine,
                          outputText, errorText, resultText));
        OutputText = outputText;
        return;
    }

    show(std::wstring(exiftool_text::kParsing));
    steps.Clear();
    support::TextReadResult result = ReadTextFile(resultFile, true, support::kReadUtf8);
    if (result.error.failed()) steps.Record(L"reading the result file", result.error.code);
    if (steps.failed()) {
        show(CantReadReport(resultFile, ReadErrorMessage(errors, result.error, steps)));
        return;
    }
    show(support::asTrimCRLF(result.text));
    OutputText.clear();
}

// A run abandoned before its outcome was shown: ExifTool and whatever it started are ended and
// the capture files closed, so that the temporary files are free to be deleted with the state.
void ExifToolRun::State::Stop() noexcept {
    if (launched.ProcessHandle) {
        if (job) TerminateJobObject(job, kStoppedExitCode);
        TerminateProcess(launched.ProcessHandle.get(), kStoppedExitCode);
        WaitForSingleObject(launched.ProcessHandle.get(), kStopWaitMs);
    }
    stdOut.CloseFile();
    stdErr.CloseFile();
}

ExifToolRun::ExifToolRun() = default;

ExifToolRun::~ExifToolRun() {
    if (state_ && !state_->finished) state_->Stop();
}

void ExifToolRun::Start(const std::wstring& FileName, const ExifToolSettings& settings,
                        const ExifToolHost& host) noexcept {
    try {
        state_ = std::make_unique<State>();
        state_->Start(FileName, settings, host);
    } catch (...) {
        OutputDebugStringW(L"Metaview: ExifTool run stopped by an exception\n");
    }
}

void ExifToolRun::Finish(std::wstring& OutputText, const ShowStatusFn& ShowStatus, _orxErr* errors) noexcept {
    // The caller is a timer of the main window: nothing may leave here as an exception. The
    // run's objects delete the temporary files on the way out in any case.
    try {
        if (!state_ || state_->finished) return;
        state_->Finish(OutputText, ShowStatus, errors);
    } catch (...) {
        OutputDebugStringW(L"Metaview: ExifTool run stopped by an exception\n");
    }
    state_.reset();
}

bool ExifToolRun::started() const { return state_ && state_->status.Started && !state_->finished; }

void RunExifTool(const std::wstring& FileName, std::wstring& OutputText, const ShowStatusFn& ShowStatus,
                 const ExifToolSettings& settings, _orxErr* errors, const ExifToolHost& host) noexcept {
    ExifToolRun run;
    run.Start(FileName, settings, host);
    run.Finish(OutputText, ShowStatus, errors);
}

}  // namespace metaview
