// Helper program of the command-line tests: prints what orxMain.CommandLine made of this
// process's own command line, one line each, as UTF-8:
//     Count=<n>
//     Item(<i>)=<text>     for i from -1 to Count - 1
#include <windows.h>

#include <string>

#include "tests/harness/library.h"

namespace {

void Print(const std::wstring& line) {
    std::wstring text = line + L"\n";
    const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), n, nullptr, nullptr);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

int Run() {
    auto main = bktest::Create<_orxMain>(CLSID_orxMain);
    if (!main) return 2;
    bktest::ComPtr<_CommandLineParser> parser;
    if (FAILED(main->CommandLine(parser.put()))) return 3;
    LONG count = 0;
    if (FAILED(parser->get_Count(&count))) return 4;
    Print(L"Count=" + std::to_wstring(count));
    for (LONG i = -1; i < count; ++i) {
        bktest::Bstr item;
        if (FAILED(parser->get_Item(i, item.put()))) return 5;
        Print(L"Item(" + std::to_wstring(i) + L")=" + item.str());
    }
    return 0;
}

}  // namespace

int wmain() {
    support::ComApartment apartment;
    return Run();
}
