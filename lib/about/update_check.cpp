#include "lib/about/update_check.h"

#include <oleauto.h>
#include <urlmon.h>
#include <wininet.h>

#include <vector>

#include "support/es/fileops.h"
#include "support/es/registry.h"
#include "support/win/com.h"
#include "support/win/owner.h"
#include "support/win/system_message.h"
#include "support/win/wait_cursor.h"

namespace bk::about {
namespace {

// The system's text for a failed HRESULT; the URL moniker library keeps the texts of its own
// codes (INET_E_...) in its message table.
std::wstring FailureDescription(HRESULT hr) {
    std::wstring text = support::FormatSystemMessage(static_cast<DWORD>(hr));
    if (text.empty()) {
        if (HMODULE urlmon = GetModuleHandleW(L"urlmon.dll"))
            text = support::FormatSystemMessage(static_cast<DWORD>(hr), urlmon);
    }
    if (text.empty()) text = L"Automation error";
    return text;
}

VersionFetch Failed(VersionFetch::Stage stage, HRESULT hr) {
    VersionFetch fetch;
    fetch.stage = stage;
    fetch.number = static_cast<long>(hr);
    fetch.description = FailureDescription(hr);
    return fetch;
}

// Watches the download for the server's answer: an HTTP error status (404 for a missing
// version file) is a failed download, whatever body came with it. (Some URL moniker versions
// store such a body in the cache and report success.)
class HttpStatusWatch final : public IBindStatusCallback {
public:
    DWORD status() const { return status_; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (iid != IID_IUnknown && iid != IID_IBindStatusCallback) return E_NOINTERFACE;
        *out = static_cast<IBindStatusCallback*>(this);
        return S_OK;  // lives on the caller's stack for the call: no counting
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding* binding) override {
        binding_ = support::ComPtr<IBinding>::Share(binding);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG, ULONG, ULONG code, LPCWSTR) override {
        if (code == BINDSTATUS_ENDDOWNLOADDATA || code == BINDSTATUS_BEGINDOWNLOADDATA) ReadStatus();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override {
        ReadStatus();
        binding_.reset();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD* flags, BINDINFO* info) override {
        if (!flags || !info) return E_INVALIDARG;
        const ULONG size = info->cbSize;
        ZeroMemory(info, size);
        info->cbSize = size;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

private:
    void ReadStatus() {
        if (!binding_ || status_) return;
        support::ComPtr<IWinInetHttpInfo> http;
        if (FAILED(binding_.As(http))) return;
        DWORD code = 0, size = sizeof code, flags = 0;
        if (http->QueryInfo(HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size, &flags, nullptr) == S_OK)
            status_ = code;
    }
    support::ComPtr<IBinding> binding_;
    DWORD status_ = 0;
};

HRESULT LastErrorResult() {
    const DWORD error = GetLastError();
    return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

}  // namespace

std::wstring InternalNameOf(const std::wstring& file) {
    const std::wstring dummy(kDummyInternalName);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return dummy;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return dummy;
    void* translation = nullptr;
    UINT translationLength = 0;
    if (!VerQueryValueW(data.data(), L"\\VarFileInfo\\Translation", &translation, &translationLength)) return dummy;
    std::wstring key(kFallbackInternalNameKey);
    if (translation && translationLength >= 4) {
        const WORD* words = static_cast<const WORD*>(translation);
        key = InternalNameKey(words[0], words[1]);
    }
    void* value = nullptr;
    UINT valueLength = 0;  // in characters, for the wide call
    if (!VerQueryValueW(data.data(), key.c_str(), &value, &valueLength) || !value) return dummy;
    // The value ends at its first null, and never past the length reported.
    const wchar_t* text = static_cast<const wchar_t*>(value);
    size_t length = 0;
    while (length < valueLength && text[length] != L'\0') ++length;
    return std::wstring(text, length);
}

std::wstring GetAppInternalName() { return InternalNameOf(support::esGetModuleFileName(nullptr, true)); }

std::wstring UpdateHost() {
    bool found = false;
    std::wstring host =
        support::esReadStringFromRegistry(HKEY_CURRENT_USER, kLibrarySettingsKey, kUpdateHostValue, L"", &found);
    if (!found || host.empty()) return std::wstring(kDefaultUpdateHost);
    return host;
}

VersionFetch FetchVersionFile(const std::wstring& url) {
    wchar_t cached[1025] = {};
    HRESULT hr;
    HttpStatusWatch watch;
    {
        const support::ScopedWaitCursor wait;
        hr = URLDownloadToCacheFileW(nullptr, url.c_str(), cached, 1024, 0, &watch);
    }
    if (FAILED(hr)) return Failed(VersionFetch::Stage::DownloadFailed, hr);
    if (watch.status() >= 400) {
        const HRESULT missing = watch.status() == 404 || watch.status() == 410 ? INET_E_RESOURCE_NOT_FOUND
                                                                                : INET_E_DOWNLOAD_FAILURE;
        VersionFetch fetch = Failed(VersionFetch::Stage::DownloadFailed, missing);
        fetch.description += L" (HTTP " + std::to_wstring(watch.status()) + L")";
        return fetch;
    }

    support::UniqueHandle file(CreateFileW(cached, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid()) return Failed(VersionFetch::Stage::ReadFailed, LastErrorResult());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size)) return Failed(VersionFetch::Stage::ReadFailed, LastErrorResult());
    VersionFetch fetch;
    if (static_cast<unsigned long long>(size.QuadPart) > kMaxVersionFileBytes) {
        fetch.stage = VersionFetch::Stage::TooLong;
        return fetch;
    }
    std::string bytes(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        return Failed(VersionFetch::Stage::ReadFailed, LastErrorResult());
    bytes.resize(read);
    if (!bytes.empty()) {
        const int length = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
        fetch.text.resize(static_cast<size_t>(length));
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), fetch.text.data(), length);
    }
    return fetch;
}

bool ConvertVersionPart(std::wstring_view text, std::int32_t& value) {
    // The conversion reads up to a null character: a part holding one is not a number.
    if (text.find(L'\0') != std::wstring_view::npos) return false;
    const support::Bstr copy(text);
    LONG number = 0;
    // A fixed number format: the file is the same for every user.
    const LCID english = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
    if (FAILED(VarI4FromStr(copy.get() ? copy.get() : const_cast<OLECHAR*>(L""), english, 0, &number))) return false;
    value = number;
    return true;
}

}  // namespace bk::about
