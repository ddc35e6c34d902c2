#include "support/application.h"

#include <vector>

#include "support/paths.h"
#include "support/raii.h"
#include "support/system.h"
#include "support/versioninfo.h"

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
        classAtom_ = RegisterClassExW(&wc);
        if (!classAtom_) {
            if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return;
            if ((window_ = FindOwnerOfThisProcess())) return;
        }
        window_ = CreateWindowExW(0, kOwnerClass, ApplicationTitle().c_str(), WS_POPUP | WS_CLIPSIBLINGS, 0, 0,
                                  0, 0, nullptr, nullptr, instance, nullptr);
        created_ = window_ != nullptr;
    }
    ~OwnerWindow() {
        if (created_ && IsWindow(window_)) DestroyWindow(window_);
        if (classAtom_) UnregisterClassW(kOwnerClass, GetModuleHandleW(nullptr));
    }
    OwnerWindow(const OwnerWindow&) = delete;
    OwnerWindow& operator=(const OwnerWindow&) = delete;
    HWND get() const { return window_; }

private:
    ATOM classAtom_ = 0;
    HWND window_ = nullptr;
    bool created_ = false;
};

// Icons loaded from resources, one per module, name and size, kept for the rest of the run: a
// window does not own the icons it shows, so they must outlive every window that uses them.
// (Shared loading would hand back the first size loaded for every later size.)
class IconCache {
public:
    IconCache() = default;
    IconCache(const IconCache&) = delete;
    IconCache& operator=(const IconCache&) = delete;
    ~IconCache() {
        for (const Entry& e : entries_) DestroyIcon(e.icon);
    }
    HICON Get(HMODULE module, std::wstring_view name, int cx, int cy) {
        for (const Entry& e : entries_)
            if (e.module == module && e.name == name && e.cx == cx && e.cy == cy) return e.icon;
        std::wstring resource(name);
        HICON icon = static_cast<HICON>(LoadImageW(module, resource.c_str(), IMAGE_ICON, cx, cy, 0));
        if (icon) entries_.push_back(Entry{module, std::move(resource), cx, cy, icon});
        return icon;
    }

private:
    struct Entry {
        HMODULE module;
        std::wstring name;
        int cx, cy;
        HICON icon;
    };
    std::vector<Entry> entries_;
};

IconCache& ProgramIcons() {
    static IconCache cache;
    return cache;
}

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

std::wstring esGetThunderMainTitle() {
    HWND owner = esGetThunderMainHandle();
    if (!owner) return ApplicationTitle();
    std::wstring title(static_cast<size_t>(GetWindowTextLengthW(owner)) + 1, L'\0');
    title.resize(static_cast<size_t>(GetWindowTextW(owner, title.data(), static_cast<int>(title.size()))));
    return title;
}

bool asSetWindowResIconAll(HWND window, std::wstring_view name, HMODULE module) {
    if (!window) return false;
    if (!module) module = GetModuleHandleW(nullptr);
    HICON big = ProgramIcons().Get(module, name, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    HICON small = ProgramIcons().Get(module, name, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    return big && small;
}

}  // namespace support
