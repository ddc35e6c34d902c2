#include "support/components/appsettings.h"

#include <cstring>
#include <optional>
#include <vector>

#include "support/components/setting_value.h"
#include "support/win/owner.h"

namespace support {
namespace {

constexpr wchar_t kDefaultCompany[] = L"Orvex";

std::wstring NullTerminated(std::wstring_view s) { return std::wstring(s); }

// The raw data and type of a value; nullopt when the key or value is missing.
struct RawValue {
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
};

std::optional<RawValue> QueryRaw(const std::wstring& keyPath, std::wstring_view name) {
    RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return std::nullopt;
    const std::wstring valueName = NullTerminated(name);
    RawValue raw;
    DWORD size = 0;
    for (int attempt = 0; attempt < 4; ++attempt) {
        LSTATUS rc = RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &raw.type, nullptr, &size);
        if (rc != ERROR_SUCCESS) return std::nullopt;
        raw.data.resize(size);
        rc = RegQueryValueExW(key.get(), valueName.c_str(), nullptr, &raw.type,
                              raw.data.empty() ? nullptr : raw.data.data(), &size);
        if (rc == ERROR_SUCCESS) {
            raw.data.resize(size);
            return raw;
        }
        if (rc != ERROR_MORE_DATA) return std::nullopt;  // else the value grew meanwhile: again
    }
    return std::nullopt;
}

}  // namespace

AppSettings::AppSettings(const AppIdentity& app) {
    if (app.exeName.empty()) return;
    appKey_ = L"Software\\";
    appKey_ += app.companyName.empty() ? std::wstring(kDefaultCompany) : app.companyName;
    appKey_ += L'\\';
    appKey_ += app.exeName;
}

std::wstring AppSettings::SectionKeyPath(std::wstring_view section) const {
    if (appKey_.empty() || section.empty()) return appKey_;
    std::wstring path = appKey_;
    path += L'\\';
    path += section;
    return path;
}

SettingValue AppSettings::ReadValue(std::wstring_view section, std::wstring_view key, ValueKind kind,
                                    const SettingValue& defaultValue) const {
    if (appKey_.empty()) return defaultValue;
    const auto raw = QueryRaw(SectionKeyPath(section), key);
    if (!raw) return defaultValue;

    std::optional<long> number;
    std::optional<std::wstring> text;
    if (raw->type == REG_DWORD && raw->data.size() == sizeof(DWORD)) {
        DWORD d = 0;
        memcpy(&d, raw->data.data(), sizeof d);
        number = static_cast<long>(static_cast<LONG>(d));
    } else if (raw->type == REG_SZ || raw->type == REG_EXPAND_SZ) {
        text = SettingTextFromBytes(raw->data);
    } else {
        return defaultValue;
    }

    if (kind == ValueKind::Text) {
        if (text) return *text;
        return std::to_wstring(*number);
    }
    if (number) return *number;
    if (auto parsed = ParseSettingNumber(*text)) return *parsed;
    return defaultValue;
}

LSTATUS AppSettings::WriteRaw(std::wstring_view section, std::wstring_view key, DWORD type, const void* data,
                              DWORD size) {
    if (appKey_.empty()) return ERROR_INVALID_NAME;
    RegKey handle;
    const std::wstring path = SectionKeyPath(section);
    LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                 nullptr, handle.put(), nullptr);
    if (rc != ERROR_SUCCESS) return rc;
    const std::wstring name = NullTerminated(key);
    return RegSetValueExW(handle.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
}

LSTATUS AppSettings::WriteValue(std::wstring_view section, std::wstring_view key, ValueKind kind,
                                const SettingValue& value) {
    if (kind == ValueKind::Text) {
        const std::wstring text = std::holds_alternative<std::wstring>(value)
                                      ? std::get<std::wstring>(value)
                                      : std::to_wstring(std::get<long>(value));
        return WriteRaw(section, key, REG_SZ, text.c_str(), static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    }
    std::optional<long> number;
    if (std::holds_alternative<long>(value))
        number = std::get<long>(value);
    else
        number = ParseSettingNumber(std::get<std::wstring>(value));
    if (!number) return ERROR_INVALID_PARAMETER;
    const DWORD d = static_cast<DWORD>(*number);
    return WriteRaw(section, key, REG_DWORD, &d, sizeof d);
}

std::wstring AppSettings::ReadText(std::wstring_view section, std::wstring_view key,
                                   std::wstring_view defaultText) const {
    SettingValue v = ReadValue(section, key, ValueKind::Text, std::wstring(defaultText));
    return std::get<std::wstring>(std::move(v));
}

long AppSettings::ReadNumber(std::wstring_view section, std::wstring_view key, long defaultNumber) const {
    return std::get<long>(ReadValue(section, key, ValueKind::Number, defaultNumber));
}

LSTATUS AppSettings::WriteText(std::wstring_view section, std::wstring_view key, std::wstring_view text) {
    return WriteValue(section, key, ValueKind::Text, std::wstring(text));
}

LSTATUS AppSettings::WriteNumber(std::wstring_view section, std::wstring_view key, long number) {
    return WriteValue(section, key, ValueKind::Number, number);
}

LSTATUS AppSettings::SaveWindowPlacement(std::wstring_view section, std::wstring_view key, HWND window) {
    WINDOWPLACEMENT wp{};
    wp.length = sizeof wp;
    if (!IsWindow(window) || !GetWindowPlacement(window, &wp)) return ERROR_INVALID_WINDOW_HANDLE;
    if (wp.showCmd == SW_SHOWMINIMIZED || wp.showCmd == SW_MINIMIZE || wp.showCmd == SW_SHOWMINNOACTIVE)
        wp.showCmd = (wp.flags & WPF_RESTORETOMAXIMIZED) ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    else if (wp.showCmd != SW_SHOWMAXIMIZED)
        wp.showCmd = SW_SHOWNORMAL;
    wp.flags = 0;
    return WriteRaw(section, key, REG_BINARY, &wp, sizeof wp);
}

bool AppSettings::RestoreWindowPlacement(std::wstring_view section, std::wstring_view key, HWND window,
                                         int* showCommand) const {
    if (appKey_.empty() || !IsWindow(window)) return false;
    const auto raw = QueryRaw(SectionKeyPath(section), key);
    if (!raw || raw->type != REG_BINARY || raw->data.size() != sizeof(WINDOWPLACEMENT)) return false;
    WINDOWPLACEMENT wp{};
    memcpy(&wp, raw->data.data(), sizeof wp);
    if (wp.length != sizeof wp) return false;
    const RECT& r = wp.rcNormalPosition;
    if (r.right <= r.left || r.bottom <= r.top) return false;
    if (!MonitorFromRect(&r, MONITOR_DEFAULTTONULL)) return false;

    const int state = wp.showCmd == SW_SHOWMAXIMIZED ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
    if (showCommand) *showCommand = state;
    wp.flags = 0;
    wp.ptMinPosition = POINT{-1, -1};
    wp.ptMaxPosition = POINT{-1, -1};
    wp.showCmd = IsWindowVisible(window) ? state : SW_HIDE;
    return SetWindowPlacement(window, &wp) != FALSE;
}

}  // namespace support
