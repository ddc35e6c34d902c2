// Decisions of the main window that need no window: what its keys do, when it may close, and
// what File > Save writes. Platform-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "app/mainwindow/textbox_logic.h"

namespace metaview {

// Menu command ids. The items are control arrays: the id is the array's base plus the item's
// index (File 1 = save, File 11 = exit, ...).
namespace menu {
inline constexpr unsigned kFileBase = 100;
inline constexpr unsigned kToolsBase = 200;
inline constexpr unsigned kMainBase = 300;
inline constexpr unsigned kHelpBase = 400;
inline constexpr unsigned kEditBase = 500;
inline constexpr unsigned kSave = kFileBase + 1;
inline constexpr unsigned kExit = kFileBase + 11;
inline constexpr unsigned kSettings = kToolsBase + 1;
inline constexpr unsigned kVersion = kMainBase + 98;
inline constexpr unsigned kHelpContents = kHelpBase + 1;
inline constexpr unsigned kAbout = kHelpBase + 11;
inline constexpr unsigned kCopy = kEditBase + 1;
inline constexpr unsigned kSelectAll = kEditBase + 2;
inline constexpr unsigned kFind = kEditBase + 11;
inline constexpr unsigned kFindNext = kEditBase + 12;
inline constexpr unsigned kFindPrevious = kEditBase + 13;
}  // namespace menu

// What a key-down seen by the window (also when typed into the text box) asks for.
enum class KeyAction { None, Close, HelpContents, AboutBox };
inline constexpr unsigned kKeyEscape = 0x1B;
inline constexpr unsigned kKeyF1 = 0x70;
KeyAction MainWindowKeyAction(unsigned key, KeyModifiers modifiers);

// The text File > Save writes: the run's own output text when it left one (the standard
// output of a failed run), otherwise what the box shows.
std::wstring TextToSave(std::wstring_view outputText, std::wstring_view boxText);

// The question when the window is closed while ExifTool still runs: a run that never ends (a
// file that is never read to its end) must not keep the program open for good.
std::wstring StopExifToolQuestion(std::wstring_view fileName);

// The lead-in of the message shown when the About box cannot be shown.
std::wstring AboutFailureText(std::wstring_view fileName);

// The lead-in of the message shown when saving fails.
std::wstring SaveFailureText(std::wstring_view fileName);

// Files dropped on the window each start a Metaview of their own. Up to this many start at
// once; for more the user is asked first, since every one is a process with a window.
inline constexpr std::size_t kDropWithoutAsking = 10;
std::wstring ManyFilesQuestion(std::size_t count);
// The command line that starts the program `exe` for `file`: both quoted (the program's
// command line has no escape character, so a path ending in a backslash stays as it is).
std::wstring InstanceCommandLine(std::wstring_view exe, std::wstring_view file);
// The lead-in of the message shown when Metaview cannot be started for a dropped file.
std::wstring StartFailureText(std::wstring_view fileName);

// The environment variable that names a file for timing marks, and the line appended for one
// mark: its name and the moment as seconds since 1970-01-01 UTC with microseconds, from a
// system time in 100 ns units since 1601-01-01. A benchmark reads the line to time Metaview
// from outside without a second process polling its window.
inline constexpr wchar_t kTimingMarkVariable[] = L"METAVIEW_TIMING_FILE";
std::string TimingMarkLine(std::string_view name, std::uint64_t systemTime100ns);

}  // namespace metaview
