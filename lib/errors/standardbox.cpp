#include "lib/errors/standardbox.h"

#include <shellapi.h>

#include "lib/objectmodel/module.h"
#include "support/es/paths.h"

namespace bk::errors {
namespace {

// The help file of the box shown on this thread; the callback has no other way to learn it.
thread_local const std::wstring* currentHelpFile = nullptr;

class HelpFileScope {
public:
    explicit HelpFileScope(const std::wstring* file) : previous_(currentHelpFile) { currentHelpFile = file; }
    ~HelpFileScope() { currentHelpFile = previous_; }
    HelpFileScope(const HelpFileScope&) = delete;
    HelpFileScope& operator=(const HelpFileScope&) = delete;

private:
    const std::wstring* previous_;
};

std::wstring LowerExtension(const std::wstring& file) {
    const std::wstring name = support::esGetFileName(file);
    const auto dot = name.find_last_of(L'.');
    if (dot == std::wstring::npos) return {};
    std::wstring ext = name.substr(dot);
    for (wchar_t& c : ext)
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
    return ext;
}

void CALLBACK OnHelp(LPHELPINFO info) {
    try {
        if (currentHelpFile && !currentHelpFile->empty())
            OpenHelpFile(*currentHelpFile, info ? static_cast<unsigned long>(info->dwContextId) : 0);
    } catch (...) {
        // Opening help is a courtesy: the box stays, whatever happened.
    }
}

}  // namespace

void OpenHelpFile(const std::wstring& helpFile, unsigned long context) {
    const std::wstring ext = LowerExtension(helpFile);
    if (ext == L".hlp") {
        WinHelpW(GetActiveWindow(), helpFile.c_str(), context != 0 ? HELP_CONTEXT : HELP_CONTENTS, context);
        return;
    }
    if (ext == L".chm" && context != 0) {
        const std::wstring arguments = L"-mapid " + std::to_wstring(context) + L" \"" + helpFile + L"\"";
        ShellExecuteW(nullptr, L"open", L"hh.exe", arguments.c_str(), nullptr, SW_SHOWNORMAL);
        return;
    }
    ShellExecuteW(nullptr, L"open", helpFile.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

int ShowStandardMessageBox(const std::wstring& text, UINT style, const std::wstring& title,
                           const std::wstring& helpFile, unsigned long helpContext) {
    MSGBOXPARAMSW params{};
    params.cbSize = sizeof(params);
    params.hwndOwner = GetActiveWindow();
    params.hInstance = ModuleInstance();
    params.lpszText = text.c_str();
    params.lpszCaption = title.c_str();
    params.dwStyle = style;
    if (!helpFile.empty()) {
        params.dwContextHelpId = helpContext;
        params.lpfnMsgBoxCallback = OnHelp;
    }
    HelpFileScope scope(helpFile.empty() ? nullptr : &helpFile);
    return MessageBoxIndirectW(&params);
}

}  // namespace bk::errors
