// Metaview's process entry: one single-threaded apartment, the start-up, then the main
// window's message loop when start-up opened it.
#include <windows.h>

#include <exception>

#include "app/startup/startup.h"
#include "app/startup/startuperror.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    support::ComApartment apartment;
    if (FAILED(apartment.result())) {
        metaview::ShowStartupError(metaview::StartupError(apartment.result(), L"Can't initialise COM."));
        return 1;
    }
    try {
        metaview::Program program;
        metaview::Main(program, showCommand);
        if (!program.mainWindow) return 0;
        return metaview::RunMessageLoop(*program.mainWindow);
    } catch (const metaview::StartupError& error) {
        metaview::ShowStartupError(error);
    } catch (const std::exception&) {
        metaview::ShowStartupError(metaview::StartupError(E_UNEXPECTED, L"Unexpected failure at start-up."));
    }
    return 1;
}
