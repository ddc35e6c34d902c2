// The ExifTool run: ExifTool on one file, hidden, with its standard output and error captured
// in temporary files, its tag report read back from a temporary result file, and the result
// or a report of what went wrong handed to the main window.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "Basekit0308.h"
#include "app/exiftool/exiftool_report.h"

namespace metaview {

// Replaces the whole text shown in the main window's text box.
using ShowStatusFn = std::function<void(const std::wstring&)>;
// true: show the wait cursor over the application; false: the normal cursor again.
using BusyCursorFn = std::function<void(bool busy)>;

struct ExifToolHost {
    BusyCursorFn SetBusyCursor;      // empty: the arrow/hourglass of the system, set with SetCursor
    std::wstring ApplicationFolder;  // where exiftool.exe is; empty: the running program's folder
    HANDLE Job = nullptr;            // a job object ExifTool runs in (its owner can end it); null: none
    // Offered each window message while the run waits, before it is dispatched (the window's
    // accelerators and modeless dialogs); true when it was handled there. Empty: none.
    std::function<bool(MSG&)> PreTranslateMessage;
};

// One ExifTool run in two steps, so that ExifTool can start while the window that shows its
// outcome is still being made. Start prepares the temporary files and starts ExifTool without
// waiting; Finish shows "Running ExifTool...", waits for the end (processing window messages,
// with the wait cursor), reads the outcome and shows it, as RunExifTool does. A run started and
// never finished ends ExifTool (and its job, when there is one) when the object goes; no
// temporary file remains either way. Neither call throws.
class ExifToolRun {
public:
    ExifToolRun();
    ExifToolRun(const ExifToolRun&) = delete;
    ExifToolRun& operator=(const ExifToolRun&) = delete;
    ~ExifToolRun();

    void Start(const std::wstring& FileName, const ExifToolSettings& settings, const ExifToolHost& host) noexcept;
    // Does nothing without a Start, or a second time.
    void Finish(std::wstring& OutputText, const ShowStatusFn& ShowStatus, _orxErr* errors) noexcept;
    // ExifTool was started and its outcome not yet shown.
    bool started() const;

private:
    struct State;
    std::unique_ptr<State> state_;
};

// Runs ExifTool on `FileName` and shows the outcome through `ShowStatus` ("Running
// ExifTool...", then the result text or a report). On return `OutputText` holds what File >
// Save writes instead of the text box when it is not empty: the standard output of a failed
// run, or empty text after a successful one; it is left as it was when ExifTool could not be
// started or its result could not be read. `errors` (may be null) gives the library's
// standard messages for the reports. No temporary file remains afterwards. Must not be
// re-entered: the wait processes window messages (the caller disables what could start it).
void RunExifTool(const std::wstring& FileName, std::wstring& OutputText, const ShowStatusFn& ShowStatus,
                 const ExifToolSettings& settings, _orxErr* errors, const ExifToolHost& host = {}) noexcept;

}  // namespace metaview
