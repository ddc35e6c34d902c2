#include "tests/app/exiftool/run_support.h"

#include "support/win/com.h"
#include "support/win/owner.h"

namespace mvtest {

HRESULT FakeErrors::QueryInterface(REFIID iid, void** out) {
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == __uuidof(_orxErr)) {
        *out = static_cast<_orxErr*>(this);
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

HRESULT FakeErrors::GetErrorMessage(ErrObject** error, BSTR* message) {
    if (!error || !*error) return E_POINTER;
    LONG number = 0;
    support::Bstr description;
    (*error)->get_Number(&number);
    (*error)->get_Description(description.put());
    return support::AllocBstr(L"ERR " + std::to_wstring(number) + L": " + description.str(), message);
}

HRESULT FakeErrors::GetErrorMessageAPI(LONG code, BSTR* message) {
    return support::AllocBstr(L"API " + std::to_wstring(code), message);
}

void ExifToolRunTest::SetUp() {
    root_.emplace();
    temp_ = *root_ / L"temp";
    app_ = *root_ / L"app";
    files_ = *root_ / L"files";
    for (const auto& folder : {temp_, app_, files_}) CreateDirectoryW(folder.c_str(), nullptr);
    privateTemp_.emplace(temp_);
}

void ExifToolRunTest::TearDown() {
    privateTemp_.reset();
    root_.reset();
}

void ExifToolRunTest::UseTempFolder(const std::wstring& folder) {
    privateTemp_.reset();
    temp_ = folder;
    CreateDirectoryW(temp_.c_str(), nullptr);
    privateTemp_.emplace(temp_);
}

RunRecord ExifToolRunTest::Run(const std::wstring& fileName, const metaview::ExifToolSettings& settings,
                               _orxErr* errors, std::wstring appFolder,
                               std::function<void(const std::wstring&)> onShow) {
    RunRecord record;
    record.outputText = L"previous";
    metaview::ExifToolHost host;
    host.ApplicationFolder = appFolder.empty() ? app_ : appFolder;
    host.Job = job_;
    host.SetBusyCursor = [&record](bool busy) { record.events.push_back(busy ? L"busy:1" : L"busy:0"); };
    metaview::RunExifTool(
        fileName, record.outputText,
        [&](const std::wstring& text) {
            record.events.push_back(text);
            record.shown.push_back(text);
            if (onShow) onShow(text);
        },
        settings, errors, host);
    return record;
}

std::wstring ExifToolRunTest::ExpectedCommandLine(const std::wstring& appFolder, const std::wstring& resultFile,
                                                  const std::wstring& fullName, const std::wstring& charset,
                                                  const std::wstring& language) const {
    return L"\"" + appFolder + L"\\exiftool.exe\" -a -u -g1 -W+! \"" + resultFile + L"\" -charset FileName=\"" +
           charset + L"\" -lang \"" + language + L"\" -- \"" + fullName + L"\"";
}

std::wstring ExifToolRunTest::ResultFileOf(const std::wstring& commandLine) {
    const std::wstring key = L"-W+! \"";
    const size_t start = commandLine.find(key);
    if (start == std::wstring::npos) return {};
    const size_t end = commandLine.find(L'"', start + key.size());
    return commandLine.substr(start + key.size(), end - start - key.size());
}

}  // namespace mvtest
