// The platform's standard message box for the display operations of orxErr, with the Help
// button opening the error's help file.
#pragma once

#include <windows.h>

#include <string>

namespace bk::errors {

// Shows `text` with `style` and `title`, owned by the thread's active window (none when the
// thread has no active window). With a help file, the style should carry MB_HELP: the Help
// button then opens that file at `helpContext` without closing the box (see OpenHelpFile).
// Returns the button pressed, 0 when the box could not be shown.
int ShowStandardMessageBox(const std::wstring& text, UINT style, const std::wstring& title,
                           const std::wstring& helpFile, unsigned long helpContext);

// Opens a help file: a compiled HTML help file (.chm) in the HTML help viewer at the topic
// mapped to `context` (hh.exe -mapid), a classic help file (.hlp) through WinHelp at that
// context, and any other file with its associated program (the context then has no meaning).
void OpenHelpFile(const std::wstring& helpFile, unsigned long context);

}  // namespace bk::errors
