// A control's kind from the name its type information gives.
#include <gtest/gtest.h>

#include "lib/forms/control_kinds.h"

using bk::ControlKind;
using bk::KindOfTypeName;

TEST(ControlKinds, ClassAndInterfaceNamesOfEachKind) {
    EXPECT_EQ(ControlKind::TextBox, KindOfTypeName(L"TextBox"));
    EXPECT_EQ(ControlKind::TextBox, KindOfTypeName(L"ITextBox"));
    EXPECT_EQ(ControlKind::TextBox, KindOfTypeName(L"_TextBox"));
    EXPECT_EQ(ControlKind::TextBox, KindOfTypeName(L"textbox"));
    EXPECT_EQ(ControlKind::CommandButton, KindOfTypeName(L"ICommandButton"));
    EXPECT_EQ(ControlKind::OptionButton, KindOfTypeName(L"OptionButton"));
    EXPECT_EQ(ControlKind::ComboBox, KindOfTypeName(L"_ComboBox"));
}

TEST(ControlKinds, OtherNamesAreNoKind) {
    for (const wchar_t* name : {L"", L"I", L"_", L"Label", L"TextBoxes", L"MyTextBox", L"Itextbox2", L"JScriptTypeInfo",
                                L"ListBox", L"__TextBox"}) {
        EXPECT_EQ(ControlKind::Unknown, KindOfTypeName(name)) << testing::PrintToString(std::wstring(name));
    }
    // "Itextbox": a lower-case letter after the I is part of the name, not an interface prefix.
    EXPECT_EQ(ControlKind::Unknown, KindOfTypeName(L"Itextbox"));
}

TEST(ControlKinds, EachSignatureBelongsToOneKind) {
    for (const auto& s : bk::KindSignatures()) {
        EXPECT_NE(ControlKind::Unknown, s.kind);
        EXPECT_NE(s.first, s.second);
        for (const auto& other : bk::KindSignatures()) {
            if (&other != &s) {
                EXPECT_NE(s.kind, other.kind);
            }
        }
    }
}
