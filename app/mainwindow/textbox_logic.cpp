#include "app/mainwindow/textbox_logic.h"

#include <cwctype>

namespace metaview {

std::vector<FontChoice> MonospacedFontList(bool consolasFirst) {
    std::vector<FontChoice> list;
    if (!consolasFirst) list.push_back({L"PT Mono", 10});
    list.push_back({L"Consolas", 11});
    list.push_back({L"Andale Mono", 10});
    list.push_back({L"Courier New", 10});
    list.push_back({L"Courier", 10});
    return list;
}

std::optional<size_t> ApplyFirstAvailableFont(std::span<const FontChoice> list,
                                              const std::function<bool(const FontChoice&)>& trySetFont) {
    for (size_t i = 0; i < list.size(); ++i)
        if (trySetFont(list[i])) return i;
    return std::nullopt;
}

bool IsSameFace(std::wstring_view requested, std::wstring_view given) {
    if (requested.empty() || requested.size() != given.size()) return false;
    for (size_t i = 0; i < requested.size(); ++i)
        if (std::towupper(requested[i]) != std::towupper(given[i])) return false;
    return true;
}

bool SelectAllKeys::OnKeyDown(unsigned key, KeyModifiers modifiers) {
    // Any other key-down ends the wait for Ctrl+A's character: a character that follows it
    // belongs to that key.
    eatCtrlA_ = false;
    if (key != kKeyA || !modifiers.ctrl || modifiers.shift || modifiers.alt) return false;
    eatCtrlA_ = true;
    return true;
}

bool SelectAllKeys::OnChar(wchar_t character) {
    const bool eat = eatCtrlA_ && character == 0x01;
    eatCtrlA_ = false;
    return eat;
}

}  // namespace metaview
