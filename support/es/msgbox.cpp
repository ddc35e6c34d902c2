#include "support/es/msgbox.h"

#include <string>

#include "support/es/application.h"

namespace support {

int esMsgBoxEx(std::wstring_view text, UINT style, std::wstring_view title, std::wstring_view iconName,
               HWND owner) {
    const std::wstring message(text);
    const std::wstring caption = title.empty() ? esGetThunderMainTitle() : std::wstring(title);
    const std::wstring icon(iconName);
    HINSTANCE instance = GetModuleHandleW(nullptr);

    MSGBOXPARAMSW params{};
    params.cbSize = sizeof(params);
    params.hwndOwner = owner ? owner : GetActiveWindow();
    params.hInstance = instance;
    params.lpszText = message.c_str();
    params.lpszCaption = caption.c_str();
    params.dwStyle = style;
    const bool wantsIcon = (style & MB_ICONMASK) != 0;
    if (wantsIcon && !icon.empty() && FindResourceW(instance, icon.c_str(), RT_GROUP_ICON)) {
        params.dwStyle = (style & ~MB_ICONMASK) | MB_USERICON;
        params.lpszIcon = icon.c_str();
    }
    return MessageBoxIndirectW(&params);
}

}  // namespace support
