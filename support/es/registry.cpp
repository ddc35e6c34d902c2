#include "support/es/registry.h"

#include <cstdint>
#include <span>
#include <vector>

#include "support/components/setting_value.h"
#include "support/win/owner.h"

namespace support {

std::wstring esReadStringFromRegistry(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                                      std::wstring_view defaultText, bool* found) {
    if (found) *found = false;
    RegKey key;
    if (RegOpenKeyExW(root, std::wstring(keyPath).c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return std::wstring(defaultText);
    const std::wstring name(valueName);
    std::vector<std::uint8_t> data;
    DWORD type = REG_NONE;
    // The value may grow between asking its size and reading it: ask again then.
    for (int attempt = 0; attempt < 4; ++attempt) {
        DWORD size = 0;
        if (RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            return std::wstring(defaultText);
        data.resize(size);
        const LSTATUS rc =
            RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(), &size);
        if (rc == ERROR_SUCCESS) {
            data.resize(size);
            if (type != REG_SZ && type != REG_EXPAND_SZ) return std::wstring(defaultText);
            if (found) *found = true;
            return SettingTextFromBytes(data);
        }
        if (rc != ERROR_MORE_DATA) break;
    }
    return std::wstring(defaultText);
}

bool esWriteStringToRegistry(HKEY root, std::wstring_view keyPath, std::wstring_view valueName,
                             std::wstring_view text) {
    RegKey key;
    if (RegCreateKeyExW(root, std::wstring(keyPath).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, key.put(), nullptr) != ERROR_SUCCESS)
        return false;
    const std::wstring data(text);  // with its terminating null, which a string value holds
    if (data.size() >= MAXDWORD / sizeof(wchar_t)) return false;
    const auto bytes = static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), std::wstring(valueName).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()), bytes) == ERROR_SUCCESS;
}

bool esDeleteValueFromRegistry(HKEY root, std::wstring_view keyPath, std::wstring_view valueName) {
    RegKey key;
    if (RegOpenKeyExW(root, std::wstring(keyPath).c_str(), 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS)
        return false;
    return RegDeleteValueW(key.get(), std::wstring(valueName).c_str()) == ERROR_SUCCESS;
}

}  // namespace support
