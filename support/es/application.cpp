#include "support/es/application.h"

#include "support/es/fileops.h"
#include "support/es/paths.h"
#include "support/win/owner.h"
#include "support/win/versioninfo.h"

namespace support {
namespace {

constexpr wchar_t kOwnerClass[] = L"OrvexApplicationOwner";

bool SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes) ==
           ERROR_SUCCESS;
}

std::wstring ApplicationTitle() {
    const std::wstring exe = esGetModuleFileName(nullptr, true);
    std::wstring title = VersionInfo(exe).String(L"FileDescription");
    return title.empty() ? FileBaseName(exe) : title;
}

// Another module of the process (the library beside the executable) may already have made the
// owner window; it is then shared, not created twice.
HWND FindOwnerOfThisProcess() {
    for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, kOwnerClass, nullptr));) {
        DWORD pid = 0;
        GetWindowThreadProcessId(w, &pid);
        if (pid == GetCurrentProcessId()) return w;
    }
    return nullptr;
}

// The owner window and its class, destroyed and unregistered when the program ends (only
// what this module made).
class OwnerWindow {
public:
    OwnerWindow() {
        HINSTANCE instance = GetModuleHandleW(nullptr);
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = instance;
        wc.lpszClassName = kOwnerClass;
        classRegistered_ = RegisterClassExW(&wc) != 0;
        if (!classRegistered_) {
            if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;
            if ((shared_ = FindOwnerOfThisProcess())) return;
        }
        created_.reset(CreateWindowExW(0, kOwnerClass, ApplicationTitle().c_str(), WS_POPUP | WS_CLIPSIBLINGS, 0,
                                       0, 0, 0, nullptr, nullptr, instance, nullptr));
    }
    ~OwnerWindow() {
        created_.reset();
        if (classRegistered_) UnregisterClassW(kOwnerClass, GetModuleHandleW(nullptr));
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND get() const { return created_ ? created_.get() : shared_; }

private:
    bool classRegistered_ = false;
    Window created_;         // made here
    HWND shared_ = nullptr;  // made by another module of the process
};

}  // namespace

bool esRegisterAppPath() {
    const std::wstring exe = esGetModuleFileName(nullptr, true);
    if (exe.empty()) return false;
    const std::wstring keyName =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + esGetFileName(exe);
    RegKey key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS)
        return false;
    const bool defaultSet = SetString(key.get(), nullptr, exe);
    const bool pathSet = SetString(key.get(), L"Path", esGetFilePath(exe));
    return defaultSet && pathSet;
}

HWND esGetThunderMainHandle() {
    static OwnerWindow owner;
    return owner.get();
}

bool esIsHostWinNT() {
    // The high bit of the version word is set on the 9x family only.
    return (GetVersion() & 0x80000000u) == 0;
}

std::wstring esGetThunderMainTitle() {
    HWND owner = esGetThunderMainHandle();
    if (!owner) return ApplicationTitle();
    std::wstring title(static_cast<size_t>(GetWindowTextLengthW(owner)) + 1, L'\0');
    title.resize(static_cast<size_t>(GetWindowTextW(owner, title.data(), static_cast<int>(title.size()))));
    return title;
}


}  // namespace support
