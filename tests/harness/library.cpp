#include "tests/harness/library.h"

#include <vector>

namespace bktest {

std::wstring BinFolder() {
    wchar_t path[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, path, static_cast<DWORD>(std::size(path)));
    std::wstring p(path);
    return p.substr(0, p.find_last_of(L"\\/"));
}

std::wstring BinFile(const wchar_t* name) { return BinFolder() + L"\\" + name; }

HMODULE Library() {
    static HMODULE module = LoadLibraryW(BinFile(L"Basekit0308.dll").c_str());
    return module;
}

HRESULT CreateFromLibrary(const CLSID& clsid, REFIID iid, void** out) {
    *out = nullptr;
    HMODULE module = Library();
    if (!module) return HRESULT_FROM_WIN32(GetLastError());
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    auto get = reinterpret_cast<GetClassObject>(reinterpret_cast<void*>(GetProcAddress(module, "DllGetClassObject")));
    if (!get) return E_NOINTERFACE;
    ComPtr<IClassFactory> factory;
    HRESULT hr = get(clsid, IID_IClassFactory, factory.put_void());
    if (FAILED(hr)) return hr;
    return factory->CreateInstance(nullptr, iid, out);
}

CallError LastError(HRESULT hr) {
    CallError e;
    e.hr = hr;
    e.number = HRESULT_FACILITY(hr) == FACILITY_CONTROL ? HRESULT_CODE(hr) : static_cast<long>(hr);
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) == S_OK && info) {
        Bstr d, s;
        info->GetDescription(d.put());
        info->GetSource(s.put());
        e.description = d.str();
        e.source = s.str();
    }
    return e;
}

HRESULT Dispatch::Call(const wchar_t* name, WORD flags, std::initializer_list<VARIANT*> args, VARIANT* result) {
    raised.reset();
    if (!late.valid()) return E_POINTER;
    DISPID id = 0;
    LPOLESTR n = const_cast<LPOLESTR>(name);
    // The name is looked up as the object answers it, so that a test sees DISP_E_UNKNOWNNAME.
    if (HRESULT hr = late.object()->GetIDsOfNames(IID_NULL, &n, 1, LOCALE_USER_DEFAULT, &id); FAILED(hr)) return hr;
    std::vector<VARIANT> inOrder;
    for (VARIANT* a : args) inOrder.push_back(*a);  // shallow: the callers keep ownership
    return late.InvokeRaw(id, flags, inOrder, result, raised.put());
}

std::wstring Text(const VARIANT& v) {
    return V_VT(&v) == VT_BSTR ? std::wstring(support::BstrView(V_BSTR(&v))) : std::wstring();
}

int RunCaptured(const std::wstring& commandLine, std::string& output, DWORD timeoutMs) {
    output.clear();
    SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
    HANDLE readRaw = nullptr, writeRaw = nullptr;
    if (!CreatePipe(&readRaw, &writeRaw, &inherit, 0)) return -1;
    support::UniqueHandle readEnd(readRaw), writeEnd(writeRaw);
    SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

    STARTUPINFOW si{};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd.get();
    si.hStdError = writeEnd.get();
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    std::wstring line = commandLine;  // CreateProcessW may write into it
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return -1;
    support::UniqueHandle process(pi.hProcess), thread(pi.hThread);
    writeEnd.reset();  // the child holds the only write end now: reading ends when it exits

    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readEnd.get(), buffer, sizeof(buffer), &got, nullptr) && got > 0) output.append(buffer, got);
    if (WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(process.get(), 1);
        return -1;
    }
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return static_cast<int>(code);
}

int RunScriptClient(const wchar_t* script, std::string& output, const std::wstring& arguments) {
    std::wstring line = L"cscript.exe //nologo \"" + BinFile(script) + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    return RunCaptured(line, output, 120000);
}

::testing::AssertionResult ScriptClientPassed(int failures, const std::string& output) {
    if (failures != 0) return ::testing::AssertionFailure() << failures << " failed checks\n" << output;
    if (output.find("failures=0") == std::string::npos) return ::testing::AssertionFailure() << "no summary\n" << output;
    if (output.find("FAIL") != std::string::npos) return ::testing::AssertionFailure() << "a FAIL line\n" << output;
    return ::testing::AssertionSuccess();
}

}  // namespace bktest
