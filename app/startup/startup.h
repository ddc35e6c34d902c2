// modMain: Metaview's start-up. Main prepares the process and reads the command line through
// the library's parser; with exactly one argument it opens the main window for that file,
// otherwise it shows the usage message and the program ends.
#pragma once

#include <memory>
#include <string>

#include "app/mainwindow/mainwindow.h"
#include "app/startup/libraryclasses.h"
#include "support/components/appidentity.h"

namespace metaview {

// Program-wide state, alive for the whole run. The main window goes before the library's
// objects, and those before the library itself.
struct Program {
    LibraryClasses library;
    support::AppIdentity identity;         // from the executable's version resource
    std::wstring commandLineFileName;      // the one argument, exactly as the parser returns it
    std::wstring instanceExe;              // what files dropped on the window start; empty: this program
    std::unique_ptr<MainWindow> mainWindow;
};

// The entry routine. Failures throw StartupError. On return, `program.mainWindow` is set when
// the program goes on in the main window's message loop.
void Main(Program& program, int showCommand);
void ProcessCommandLine(Program& program, int showCommand);
void ShowUsage(const Program& program);

// Whether texts for the user are English: unless the user's default UI language is Russian.
bool UserWantsEnglish();

}  // namespace metaview
