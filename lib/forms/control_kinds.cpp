#include "lib/forms/control_kinds.h"

#include <array>

namespace bk {
namespace {

bool SameLetters(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        wchar_t x = a[i], y = b[i];
        if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x - L'A' + L'a');
        if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y - L'A' + L'a');
        if (x != y) return false;
    }
    return true;
}

struct KindName {
    ControlKind kind;
    std::wstring_view name;
};
constexpr std::array<KindName, 4> kKindNames{{
    {ControlKind::TextBox, L"TextBox"},
    {ControlKind::CommandButton, L"CommandButton"},
    {ControlKind::OptionButton, L"OptionButton"},
    {ControlKind::ComboBox, L"ComboBox"},
}};

// A command button alone has Default and Cancel; a text box alone has a password character
// besides Locked; a combo box alone has both a list count and selected text.
constexpr std::array<KindSignature, 3> kSignatures{{
    {ControlKind::CommandButton, L"Default", L"Cancel"},
    {ControlKind::TextBox, L"Locked", L"PasswordChar"},
    {ControlKind::ComboBox, L"ListCount", L"SelText"},
}};

}  // namespace

ControlKind KindOfTypeName(std::wstring_view name) {
    std::wstring_view bare = name;
    if (!bare.empty() && bare.front() == L'_') {
        bare.remove_prefix(1);
    } else if (bare.size() > 1 && (bare[0] == L'I' || bare[0] == L'i') && bare[1] >= L'A' && bare[1] <= L'Z') {
        bare.remove_prefix(1);
    }
    for (const KindName& k : kKindNames) {
        if (SameLetters(name, k.name) || SameLetters(bare, k.name)) return k.kind;
    }
    return ControlKind::Unknown;
}

std::span<const KindSignature> KindSignatures() { return kSignatures; }

}  // namespace bk
