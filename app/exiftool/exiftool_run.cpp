#include "app/exiftool/exiftool_run.h"

#include <windows.h>

#include "app/exiftool/error_object.h"
#include "app/exiftool/launch_process.h"
#include "app/exiftool/temp_files.h"
#include "support/errornumber.h"
#include "support/errortext.h"
#include "support/fileops.h"
#include "support/paths.h"
#include "support/raii.h"
#include "support/text.h"
#include "support/textfile.h"

namespace metaview {
namespace {

using support::Bstr;
using support::ComPtr;

// The run goes on past failing steps; each failure is recorded here (the last one wins) and
// traced for the debugger. Only the read of the result file looks at it.
class StepErrors {
public:
    void Record(const wchar_t* step, long number) {
        number_ = number;
        std::wstring trace = L"Metaview: ExifTool run: ";
        trace += step;
        trace += L" failed, error ";
        trace += support::asGetErrorNumber(number);
        trace += L"\n";
        OutputDebugStringW(trace.c_str());
    }
    void Clear() { number_ = 0; }
    long Number() const { return number_; }

private:
    long number_ = 0;
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

long ErrorFromHResult(HRESULT hr) { return static_cast<long>(hr); }

// orxErr.GetErrorMessageAPI, or the system's own text when the library cannot give one.
std::wstring SystemErrorMessage(_orxErr* errors, DWORD code, StepErrors& steps) {
    if (errors) {
        Bstr message;
        const HRESULT hr = errors->GetErrorMessageAPI(static_cast<LONG>(code), message.put());
        if (SUCCEEDED(hr)) return message.str();
        steps.Record(L"orxErr.GetErrorMessageAPI", ErrorFromHResult(hr));
    }
    std::wstring text = support::asGetAPIErrorDescription(static_cast<long>(code));
    return text.empty() ? L"Error " + support::asGetErrorNumber(static_cast<long>(code)) : text;
}

// orxErr.GetErrorMessage for a failed read, or the error's own description when the library
// cannot give one.
std::wstring ReadErrorMessage(_orxErr* errors, const support::FileError& failure, StepErrors& steps) {
    const long number = ErrorFromHResult(HRESULT_FROM_WIN32(failure.code));
    if (errors) {
        ErrObject* raw = nullptr;
        HRESULT hr = CreateErrorObject(ErrorRecord{number, failure.description, L"TextFileIO", {}, 0}, &raw);
        ComPtr<ErrObject> object = ComPtr<ErrObject>::Attach(raw);
        if (SUCCEEDED(hr)) {
            Bstr message;
            raw = object.detach();  // [in, out]: the callee may replace it
            hr = errors->GetErrorMessage(&raw, message.put());
            object = ComPtr<ErrObject>::Attach(raw);
            if (SUCCEEDED(hr)) return message.str();
        }
        steps.Record(L"orxErr.GetErrorMessage", ErrorFromHResult(hr));
    }
    return failure.description.empty() ? L"Error " + support::asGetErrorNumber(number) : failure.description;
}

void Run(const std::wstring& FileName, std::wstring& OutputText, const ShowStatusFn& ShowStatus,
         const ExifToolSettings& settings, _orxErr* errors, const ExifToolHost& host) {
    std::wstring fileName = FileName;
    StepErrors steps;
    auto show = [&ShowStatus](const std::wstring& text) {
        if (ShowStatus) ShowStatus(text);
    };

    show(std::wstring(exiftool_text::kRunning));

    if (std::wstring full = support::esGetFullFileName(fileName); !full.empty()) fileName = std::move(full);
    else steps.Record(L"esGetFullFileName", static_cast<long>(GetLastError()));

    const std::wstring resultFile = support::esGetTempFileName2(L"", L"TXT");
    if (resultFile.empty()) steps.Record(L"esGetTempFileName2", static_cast<long>(ERROR_PATH_NOT_FOUND));

    // Declared before the collector, so that the collector goes first at the end of the run.
    csStdFile stdOut;
    csStdFile stdErr;
    // Without a result name the capture names would be relative ones in our current folder:
    // then ExifTool writes to our own standard handles instead.
    if (!resultFile.empty()) {
        if (!stdOut.CreateNewFile(support::esReplaceFileExtension(resultFile, L"StdOut.TXT")))
            steps.Record(L"creating the standard-output file", static_cast<long>(GetLastError()));
        if (!stdErr.CreateNewFile(support::esReplaceFileExtension(resultFile, L"StdErr.TXT")))
            steps.Record(L"creating the standard-error file", static_cast<long>(GetLastError()));
    }
    csFileGarbageCollector collector;
    collector.AddFiles({resultFile, stdOut.Name(), stdErr.Name()});

    const std::wstring exifTool = host.ApplicationFolder.empty()
                                      ? support::esGetFileAppPath(L"exiftool.exe")
                                      : support::esBuildFileName(host.ApplicationFolder, L"exiftool.exe");
    const std::wstring commandLine =
        BuildExifToolCommandLine(exifTool, resultFile, UsableSettings(settings), fileName);

    LaunchRequest request;
    request.CommandLine = commandLine;
    request.InheritHandles = false;  // the standard handles below turn inheritance on
    request.CreationFlags = NORMAL_PRIORITY_CLASS;
    request.CurrentDirectory = WorkingFolderOf(fileName);
    request.WaitMode = 2;
    request.TimeoutMs = -1;
    request.NoFeedback = false;
    request.FailCriticalErrors = false;
    request.ShowWindow = SW_HIDE;
    request.UseStdHandles = true;
    request.StdInput = nullptr;
    request.StdOutput = stdOut.hFile();
    request.StdError = stdErr.hFile();
    request.KeepHandles = false;
    LaunchOutput launched;
    LaunchStatus status;
    {
        BusyCursor busy(host.SetBusyCursor);
        status = LaunchProcess(request, launched);
    }
    if (status.failed()) steps.Record(L"LaunchProcess", status.ErrorNumber);

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
    if (result.error.failed())
        steps.Record(L"reading the result file", ErrorFromHResult(HRESULT_FROM_WIN32(result.error.code)));
    if (steps.Number() != 0) {
        show(CantReadReport(resultFile, ReadErrorMessage(errors, result.error, steps)));
        return;
    }
    show(support::asTrimCRLF(result.text));
    OutputText.clear();
}

}  // namespace

void RunExifTool(const std::wstring& FileName, std::wstring& OutputText, const ShowStatusFn& ShowStatus,
                 const ExifToolSettings& settings, _orxErr* errors, const ExifToolHost& host) noexcept {
    // The caller is a timer of the main window: nothing may leave here as an exception. The
    // run's objects delete the temporary files on the way out in any case.
    try {
        Run(FileName, OutputText, ShowStatus, settings, errors, host);
    } catch (const std::exception&) {
        OutputDebugStringW(L"Metaview: ExifTool run stopped by an exception\n");
    } catch (...) {
        OutputDebugStringW(L"Metaview: ExifTool run stopped by an exception\n");
    }
}

}  // namespace metaview
