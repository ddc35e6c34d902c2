// Shared pieces of the tests that run RunExifTool: a stand-in for the library's orxErr with
// recognisable texts, and a fixture with a private temporary folder and an application folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Basekit0308.h"
#include "app/exiftool/exiftool_run.h"
#include "tests/harness/scratch.h"

#include <gtest/gtest.h>

namespace mvtest {

// GetErrorMessageAPI gives "API <code>", GetErrorMessage "ERR <Number>: <Description>" (read
// through the error object's interface); everything else is not built. Lives on the stack.
class FakeErrors final : public _orxErr {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ErrorDisplay(ErrObject**, VbMsgBoxStyle, BSTR, BSTR*, VARIANT_BOOL*, VbMsgBoxResult*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetErrorMessage(ErrObject** error, BSTR* message) override;
    HRESULT STDMETHODCALLTYPE GetShortErrorMessage(ErrObject**, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ErrorDisplayAPI(LONG, VbMsgBoxStyle, BSTR, BSTR*, VARIANT_BOOL*, VbMsgBoxResult*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetErrorMessageAPI(LONG code, BSTR* message) override;
    HRESULT STDMETHODCALLTYPE GetShortErrorMessageAPI(LONG, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ErrorDisplayWinMM(LONG, VbMsgBoxStyle, BSTR, BSTR*, VARIANT_BOOL*, VbMsgBoxResult*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetErrorMessageWinMM(LONG, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetShortErrorMessageWinMM(LONG, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ErrorDisplayModule(LONG, BSTR, VbMsgBoxStyle, BSTR, BSTR*, VARIANT_BOOL*, VbMsgBoxResult*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetErrorMessageModule(LONG, BSTR, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetShortErrorMessageModule(LONG, BSTR, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ErrorDisplayHTTPRequest(IDispatch*, VbMsgBoxStyle, BSTR, BSTR*, VARIANT_BOOL*, VbMsgBoxResult*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetErrorMessageHTTPRequest(IDispatch*, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ErrorDisplayFTPClient(IDispatch*, VbMsgBoxStyle, BSTR, BSTR*, VARIANT_BOOL*, VbMsgBoxResult*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetErrorMessageFTPClient(IDispatch*, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ErrorDisplayHTTPRequestHT(IDispatch*, VbMsgBoxStyle, BSTR, BSTR*, VARIANT_BOOL*, VbMsgBoxResult*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetErrorMessageHTTPRequestHT(IDispatch*, BSTR*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE ShowErrorBox(BSTR, VbMsgBoxStyle, VARIANT, LONG, LONG, LONG, VbMsgBoxResult*) override { return E_NOTIMPL; }
};

inline constexpr wchar_t kGap[] = L"\r\n\r\n";

// What one run showed and left.
struct RunRecord {
    std::vector<std::wstring> events;  // "busy:1", "busy:0" and every text shown, in order
    std::vector<std::wstring> shown;   // the texts shown
    std::wstring outputText;
};

class ExifToolRunTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Runs with the application folder `appFolder` (default: the test's own).
    RunRecord Run(const std::wstring& fileName, const metaview::ExifToolSettings& settings = {},
                  _orxErr* errors = nullptr, std::wstring appFolder = L"",
                  std::function<void(const std::wstring&)> onShow = nullptr);
    // The exact command line for the given result file and full file name.
    std::wstring ExpectedCommandLine(const std::wstring& appFolder, const std::wstring& resultFile,
                                     const std::wstring& fullName, const std::wstring& charset = L"Cyrillic",
                                     const std::wstring& language = L"en") const;
    // The result file named in a command line.
    static std::wstring ResultFileOf(const std::wstring& commandLine);
    // Files left in the private temporary folder.
    std::vector<std::wstring> TempLeftovers() const { return Entries(temp_); }
    void UseTempFolder(const std::wstring& folder);

    std::optional<ScratchFolder> root_;
    std::wstring temp_, app_, files_;
    HANDLE job_ = nullptr;  // the job the runs' ExifTool goes into (null: none)
    std::optional<PrivateTemp> privateTemp_;
    FakeErrors errors_;
};

}  // namespace mvtest
