// Per-user settings of an application, kept in the registry under
//   HKEY_CURRENT_USER\Software\<company>\<exeName>\<section>
// where <company> is the identity's company name ("Orvex" when it has none) and an empty section
// is the application key itself. Text is stored as REG_SZ, numbers as REG_DWORD, window
// placements as REG_BINARY (a WINDOWPLACEMENT).
#pragma once

#include <windows.h>

#include <string>
#include <string_view>
#include <variant>

#include "support/components/appidentity.h"

namespace support {

// A stored value: text or a 32-bit number.
using SettingValue = std::variant<std::wstring, long>;

enum class ValueKind { Text = 0, Number = 1 };

class AppSettings {
public:
    explicit AppSettings(const AppIdentity& app);

    // Registry path of the application key below HKEY_CURRENT_USER; empty when the identity
    // has no executable name (then nothing is read or written).
    const std::wstring& ApplicationKeyPath() const { return appKey_; }
    // Registry path of a section's key (the application key for an empty section).
    std::wstring SectionKeyPath(std::wstring_view section) const;

    // The stored value as `kind`, or `defaultValue` when nothing usable is stored. A stored
    // number read as text comes back in decimal; stored text read as a number must be a whole
    // decimal number, otherwise the default comes back.
    SettingValue ReadValue(std::wstring_view section, std::wstring_view key, ValueKind kind,
                           const SettingValue& defaultValue) const;
    // Stores `value` as `kind`. Returns ERROR_SUCCESS or the registry's error code
    // (ERROR_INVALID_PARAMETER for text that is not a number when a number is asked for).
    LSTATUS WriteValue(std::wstring_view section, std::wstring_view key, ValueKind kind,
                       const SettingValue& value);

    std::wstring ReadText(std::wstring_view section, std::wstring_view key, std::wstring_view defaultText = {}) const;
    long ReadNumber(std::wstring_view section, std::wstring_view key, long defaultNumber) const;
    LSTATUS WriteText(std::wstring_view section, std::wstring_view key, std::wstring_view text);
    LSTATUS WriteNumber(std::wstring_view section, std::wstring_view key, long number);

    // Stores the window's normal position and whether it is maximised. A minimised window is
    // stored in the state it would be restored to.
    LSTATUS SaveWindowPlacement(std::wstring_view section, std::wstring_view key, HWND window);
    // Applies a stored placement; true when one was found and applied. A stored value of the
    // wrong size, with an empty rectangle, or lying wholly outside every monitor is refused.
    // A visible window takes the stored state (normal or maximised, never minimised); a hidden
    // window only gets its position and stays hidden, and `showCommand` (when given) receives
    // SW_SHOWNORMAL or SW_SHOWMAXIMIZED for the caller's first ShowWindow.
    bool RestoreWindowPlacement(std::wstring_view section, std::wstring_view key, HWND window,
                                int* showCommand = nullptr) const;

private:
    LSTATUS WriteRaw(std::wstring_view section, std::wstring_view key, DWORD type, const void* data, DWORD size);

    std::wstring appKey_;
};

}  // namespace support
