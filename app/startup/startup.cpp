#include "app/startup/startup.h"

#include <commctrl.h>

#include "app/startup/startuperror.h"
#include "app/startup/startuptexts.h"
#include "app/version/versionresource.h"
#include "support/as/icons.h"
#include "support/es/application.h"
#include "support/es/msgbox.h"
#include "support/es/paths.h"
#include "support/es/fileops.h"

namespace metaview {
namespace {

constexpr wchar_t kIconName[] = L"A_MAIN";
constexpr LANGID kRussian = MAKELANGID(LANG_RUSSIAN, SUBLANG_RUSSIAN_RUSSIA);  // 1049

// The program's icons on the hidden application window. Making that window is the program's
// first window under Wine and costs a few hundredths of a second, so with a file to show it
// is done once ExifTool has started.
void SetApplicationIcons() { support::asSetWindowResIconAll(support::esGetThunderMainHandle(), kIconName); }

}  // namespace

bool UserWantsEnglish() { return GetUserDefaultUILanguage() != kRussian; }

void Main(Program& program, int showCommand) {
    const std::wstring exe = support::esGetModuleFileName(nullptr, true);
    auto identity = ReadAppIdentity(exe);
    if (!identity) ThrowIfFailed(HRESULT_FROM_WIN32(ERROR_RESOURCE_TYPE_NOT_FOUND), L"Can't read the version resource of " + exe + L".");
    program.identity = std::move(*identity);

    support::esRegisterAppPath();  // the result does not matter

    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_WIN95_CLASSES};
    InitCommonControlsEx(&controls);

    ProcessCommandLine(program, showCommand);
}

// There is no development environment to supply a command line: the parser always reads the
// process's own.
void ProcessCommandLine(Program& program, int showCommand) {
    support::ComPtr<_orxMain> orxMain;
    ThrowIfFailed(program.library.OrxMain(orxMain), L"Can't create the library object orxMain.");

    support::ComPtr<_CommandLineParser> parser;
    ThrowIfFailed(orxMain->CommandLine(parser.put()), L"Can't read the command line.");
    LONG count = 0;
    ThrowIfFailed(parser->get_Count(&count), L"Can't read the command line.");
    if (count != 1) {
        SetApplicationIcons();
        ShowUsage(program);
        return;
    }

    parser.reset();
    ThrowIfFailed(orxMain->CommandLine(parser.put()), L"Can't read the command line.");
    support::Bstr fileName;
    ThrowIfFailed(parser->get_Item(0, fileName.put()), L"Can't read the command line.");
    program.commandLineFileName = fileName.str();

    program.mainWindow = MainWindow::Create(program);  // starts ExifTool first
    SetApplicationIcons();
    if (!program.mainWindow)
        ThrowIfFailed(HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_CANNOT_MAKE),
                      L"Can't create the main window.");
    program.mainWindow->Show(showCommand);
}

void ShowUsage(const Program& program) {
    const std::wstring exeName = support::FileBaseName(support::esGetModuleFileName(nullptr, true));
    support::esMsgBoxEx(UsageMessage(program.identity, UserWantsEnglish(), exeName), MB_ICONINFORMATION, L"",
                        kIconName);
}

}  // namespace metaview
