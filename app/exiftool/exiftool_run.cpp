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

void Run(const std::wstring& FileName, std::wstring& OutputText, const ShowStatusFn& ShowStatus,
         const ExifToolSettings& settings, _orxErr* errors, const ExifToolHost& host) {
    std::wstring fileName = FileName;
    RunSteps steps;
    auto show = [&ShowStatus](const std::wstring& text) {
        if (ShowStatus) ShowStatus(text);
    };

    show(std::wstring(exiftool_text::kRunning));

    if (std::wstring full = support::esGetFullFileName(fileName); !full.empty()) fileName = std::move(full);
    else steps.Record(L"esGetFullFileName", HRESULT_FROM_WIN32(GetLastError()));

    const std::wstring resultFile = support::esGetTempFileName2(L"", L"TXT");
    if (resultFile.empty()) steps.Record(L"esGetTempFileName2", HRESULT_FROM_WIN32(ERROR_PATH_NOT_FOUND));

    // Declared before the collector, so that the collector goes first at the end of the run.
    csStdFile stdOut;
    csStdFile stdErr;
    // Without a result name the capture names would be relative ones in our current folder:
    // then ExifTool writes to our own standard handles instead.
    if (!resultFile.empty()) {
        if (!stdOut.CreateNewFile(support::esReplaceFileExtension(resultFile, L"StdOut.TXT")))
            steps.Record(L"creating the standard-output file", HRESULT_FROM_WIN32(GetLastError()));
        if (!stdErr.CreateNewFile(support::esReplaceFileExtension(resultFile, L"StdErr.TXT")))
            steps.Record(L"creating the standard-error file", HRESULT_FROM_WIN32(GetLastError()));
    }
    csFileGarbageCollector collector;
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
    const std::wstring commandLine = CommandLineText(call);

    LaunchRequest request;
    request.CommandLine = call.commandLine;
    request.InheritHandles = false;  // the standard handles below turn inheritance on
    request.CreationFlags = NORMAL_PRIORITY_CLASS;
    // A folder too long to be a process's current folder goes by its short form, or ExifTool
    // runs in our own folder: the file name it gets is a full path either way.
    const std::wstring workingFolder = WorkingFolderOf(fileName);
    request.CurrentDirectory = UsableWorkingFolder(workingFolder, ShortFormOf(workingFolder), appFolder);
    request.Job = host.Job;
    request.PreTranslateMessage = host.PreTranslateMessage;
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
    if (status.failed()) steps.Record(L"LaunchProcess", status.Error.code);

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
