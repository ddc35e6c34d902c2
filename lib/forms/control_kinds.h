// The kinds of a caller's controls the library acts on, and how a control's kind is told from
// what it publishes: the name of its class or interface when it has type information that
// names one of the kinds; otherwise (script objects, which publish no class name) the members
// it answers. Platform-free: no windows.h.
#pragma once

#include <span>
#include <string_view>

namespace bk {

enum class ControlKind { Unknown, TextBox, CommandButton, OptionButton, ComboBox };

// The kind a class or interface name stands for: "TextBox", its interface "ITextBox" or
// "_TextBox", compared without regard to case. Unknown for any other name.
ControlKind KindOfTypeName(std::wstring_view name);

// The members that mark an object without a telling type name as a control of one kind.
// Each pair is a pair only that kind has among the standard controls.
struct KindSignature {
    ControlKind kind;
    std::wstring_view first;
    std::wstring_view second;
};
std::span<const KindSignature> KindSignatures();

}  // namespace bk
