// The descriptions the system keeps for error codes: Win32 API errors, WinMM (multimedia)
// errors and the message tables of modules. Each returns the text without line breaks or
// blanks at its ends, or an empty text when the source has none for that code.
#pragma once

#include <windows.h>

#include <string>

namespace support {

// The system's message for a Win32 error code (FormatMessageW from the system table).
std::wstring asGetAPIErrorDescription(long code);

// The multimedia library's text for a WinMM error code: MCI errors (256 and up) from
// mciGetErrorStringW, MIDI errors (64-79) from midiOutGetErrorTextW, the general and wave
// errors from waveOutGetErrorTextW.
std::wstring asGetWinMMErrorDescription(long code);

// The message-table entry `code` of a loaded module (FormatMessageW from the module; a
// module loaded as a data file serves as well).
std::wstring asGetModuleErrorDescription(HMODULE module, long code);

// The message-table entry `code` of the module named `moduleName`: the module is loaded as a
// data file for the look-up and released again. A module that can't be loaded has no text.
std::wstring GetModuleErrorDescriptionByName(const std::wstring& moduleName, long code);

}  // namespace support
