// orxMain's form and control helpers and orxTextBoxDefButtonWatcher, called late-bound as a
// script calls them, on fake client controls (tests/harness/fake_controls.h).
#include <gtest/gtest.h>

#include <olectl.h>

#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "tests/harness/fake_controls.h"
#include "tests/harness/library.h"

using namespace bktest;

namespace {

using Fake = ComPtr<FakeObject>;

Variant Obj(IDispatch* d) { return Variant::FromDispatch(d); }
Variant Obj(const Fake& f) { return Variant::FromDispatch(f.get()); }

struct Main {
    ComPtr<_orxMain> object = Create<_orxMain>(CLSID_orxMain);
    Dispatch late{object};

    // The run-time error number the last failed call raised.
    long Raised(HRESULT hr) const { return bk::ErrorRecordOfCall(hr, &late.exception).number; }

    // Calls `name` and returns its result; the HRESULT goes to `hr`.
    Variant Call(const wchar_t* name, std::initializer_list<VARIANT*> args, HRESULT* hr = nullptr) {
        Variant result;
        const HRESULT got = late.Method(name, args, result.get());
        if (hr) *hr = got;
        else EXPECT_EQ(S_OK, got) << name;
        return result;
    }
};

Fake OptionButton(bool selected, std::vector<std::wstring>* shared = nullptr, std::wstring tag = {}) {
    Fake b = FakeObject::Make(L"OptionButton");
    b->Property(L"Value", selected).Property(L"Enabled", !selected);
    if (shared) {
        FakeObject* raw = b.get();
        b->AfterPut(L"Enabled", [shared, tag, raw] { shared->push_back(tag + L"=" + (raw->GetBool(L"Enabled") ? L"on" : L"off")); });
    }
    return b;
}

Fake CommandButton(bool enabled, int* clicks) {
    Fake b = FakeObject::Make(L"CommandButton");
    FakeObject* raw = b.get();
    b->Property(L"Value", false).Property(L"Enabled", enabled).Property(L"Default", false).Property(L"Cancel", false);
    // Setting Value to True clicks the button: its click handler runs, and Value is False again.
    b->AfterPut(L"Value", [raw, clicks] {
        if (raw->GetBool(L"Value")) {
            ++*clicks;
            raw->Property(L"Value", false);
        }
    });
    return b;
}

Fake TextBox(bool locked) {
    Fake t = FakeObject::Make(L"TextBox");
    t->Property(L"Text", std::wstring_view(L"text")).Property(L"Locked", locked).Property(L"Enabled", true);
    return t;
}

// Raises KeyDown(KeyCode, Shift) with both passed by reference as 16-bit integers; returns
// what the handlers left in them.
std::pair<SHORT, SHORT> KeyDown(const Fake& box, SHORT key, SHORT shift) {
    VARIANT args[2];
    V_VT(&args[0]) = VT_I2 | VT_BYREF;
    V_I2REF(&args[0]) = &key;
    V_VT(&args[1]) = VT_I2 | VT_BYREF;
    V_I2REF(&args[1]) = &shift;
    box->Raise(L"KeyDown", args);
    return {key, shift};
}

TEST(OptionButtons, SelectedIndexWalksTheIndexesAndSkipsGaps) {
    Main m;
    Fake group = MakeControlArray({{0, OptionButton(false)}, {1, OptionButton(false)}, {3, OptionButton(true)}});
    Variant g = Obj(group);
    EXPECT_EQ(3, V_I4(m.Call(L"GetSelectedOptionButtonIndex", {g.get()}).get()));
    // As script engines pass their variables: a reference to a variant holding the object.
    VARIANT byRef;
    V_VT(&byRef) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&byRef) = g.get();
    EXPECT_EQ(3, V_I4(m.Call(L"GetSelectedOptionButtonIndex", {&byRef}).get()));

    Fake none = MakeControlArray({{1, OptionButton(false)}, {2, OptionButton(false)}});
    Variant n = Obj(none);
    EXPECT_EQ(-1, V_I4(m.Call(L"GetSelectedOptionButtonIndex", {n.get()}).get()));

    // An object without bounds, and Nothing, are groups without a selection.
    Fake shapeless = FakeObject::Make();
    Variant s = Obj(shapeless), nothing = Obj(static_cast<IDispatch*>(nullptr));
    EXPECT_EQ(-1, V_I4(m.Call(L"GetSelectedOptionButtonIndex", {s.get()}).get()));
    EXPECT_EQ(-1, V_I4(m.Call(L"GetSelectedOptionButtonIndex", {nothing.get()}).get()));
}

TEST(OptionButtons, SelectingAMissingIndexSelectsTheLowest) {
    Main m;
    std::map<long, Fake> buttons{{2, OptionButton(false)}, {3, OptionButton(false)}, {5, OptionButton(false)}};
    Fake group = MakeControlArray(buttons);
    Variant g = Obj(group), three = Variant::FromLong(3), four = Variant::FromLong(4);
    m.Call(L"SetSelectedOptionButtonIndex", {g.get(), three.get()});
    EXPECT_TRUE(buttons[3]->GetBool(L"Value"));
    EXPECT_FALSE(buttons[2]->GetBool(L"Value"));
    m.Call(L"SetSelectedOptionButtonIndex", {g.get(), four.get()});  // a gap
    EXPECT_TRUE(buttons[2]->GetBool(L"Value"));
    EXPECT_EQ(std::vector<std::wstring>{L"Value=True"}, buttons[2]->log);
    EXPECT_TRUE(buttons[5]->log.empty());
}

TEST(OptionButtons, TheSelectedButtonIsEnabledFirstAndDisabledLast) {
    Main m;
    std::vector<std::wstring> order;
    Fake group = MakeControlArray({{0, OptionButton(false, &order, L"a")},
                                   {1, OptionButton(true, &order, L"b")},
                                   {3, OptionButton(false, &order, L"c")}});
    Variant g = Obj(group);
    m.Call(L"EnableOptionButtonGroup", {g.get()});
    EXPECT_EQ((std::vector<std::wstring>{L"b=on", L"a=on", L"c=on"}), order);
    order.clear();
    m.Call(L"DisableOptionButtonGroup", {g.get()});
    EXPECT_EQ((std::vector<std::wstring>{L"a=off", L"c=off", L"b=off"}), order);
}

TEST(PressButton, ClicksOnlyAnEnabledCommandButton) {
    Main m;
    int clicks = 0;
    Fake enabled = CommandButton(true, &clicks);
    Variant e = Obj(enabled);
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(m.Call(L"PressButton", {e.get()}).get()));
    EXPECT_EQ(1, clicks);

    Fake disabled = CommandButton(false, &clicks);
    Variant d = Obj(disabled);
    EXPECT_EQ(VARIANT_FALSE, V_BOOL(m.Call(L"PressButton", {d.get()}).get()));
    EXPECT_EQ(1, clicks) << "a disabled button's click handler must not run";

    Fake box = TextBox(false);
    box->Property(L"Value", false);
    Variant b = Obj(box), nothing = Obj(static_cast<IDispatch*>(nullptr));
    EXPECT_EQ(VARIANT_FALSE, V_BOOL(m.Call(L"PressButton", {b.get()}).get()));
    EXPECT_TRUE(box->log.empty());
    EXPECT_EQ(VARIANT_FALSE, V_BOOL(m.Call(L"PressButton", {nothing.get()}).get()));
}

TEST(PressButton, ObjectsWithoutTypeInformationAreToldByTheirMembers) {
    Main m;
    // A script's button: no class name, but Default and Cancel as only a command button has.
    int clicks = 0;
    Fake scripted = FakeObject::Make();
    FakeObject* raw = scripted.get();
    scripted->Property(L"Value", false).Property(L"Enabled", true).Property(L"Default", false).Property(L"Cancel", false);
    scripted->AfterPut(L"Value", [&clicks, raw] { clicks += raw->GetBool(L"Value") ? 1 : 0; });
    Variant s = Obj(scripted);
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(m.Call(L"PressButton", {s.get()}).get()));
    EXPECT_EQ(1, clicks);

    // A check box (Value and Enabled, no Default/Cancel) is no button; neither is an object
    // whose class name says it is a label even though it has the members of a button.
    Fake checkBox = FakeObject::Make();
    checkBox->Property(L"Value", false).Property(L"Enabled", true);
    Fake label = FakeObject::Make(L"Label");
    label->Property(L"Value", false).Property(L"Enabled", true).Property(L"Default", false).Property(L"Cancel", false);
    Variant c = Obj(checkBox), l = Obj(label);
    EXPECT_EQ(VARIANT_FALSE, V_BOOL(m.Call(L"PressButton", {c.get()}).get()));
    EXPECT_EQ(VARIANT_FALSE, V_BOOL(m.Call(L"PressButton", {l.get()}).get()));
    EXPECT_TRUE(checkBox->log.empty());
    EXPECT_TRUE(label->log.empty());
}

TEST(PressButton, AClickThatFailsIsNotReportedAsPressed) {
    Main m;
    Fake button = FakeObject::Make(L"CommandButton");
    button->Property(L"Enabled", true);
    button->Member(L"Value", [](WORD, std::span<VARIANT* const>, VARIANT*) { return E_FAIL; });
    Variant b = Obj(button);
    EXPECT_EQ(VARIANT_FALSE, V_BOOL(m.Call(L"PressButton", {b.get()}).get()));
}

TEST(FixFonts, EveryFontIsSetInOrderAndControlsWithoutOneAreSkipped) {
    Main m;
    Fake font = MakeFont();
    Fake label = FakeObject::Make(L"Label");
    label->Property(L"Font", static_cast<IDispatch*>(font.get()));
    Fake timer = FakeObject::Make();  // no Font at all
    timer->Property(L"Interval", 100L);

    // A real font object, as the system makes them.
    FONTDESC desc{};
    desc.cbSizeofstruct = sizeof(FONTDESC);
    desc.lpstrName = const_cast<LPOLESTR>(L"Arial");
    desc.cySize.int64 = 80000;
    desc.sWeight = FW_BOLD;
    desc.sCharset = ANSI_CHARSET;
    desc.fUnderline = TRUE;
    desc.fStrikethrough = TRUE;
    ComPtr<IFontDisp> stdFont;
    ASSERT_EQ(S_OK, OleCreateFontIndirect(&desc, IID_IFontDisp, stdFont.put_void()));
    Fake button = FakeObject::Make(L"CommandButton");
    button->Property(L"Font", static_cast<IDispatch*>(stdFont.get()));

    Fake form = FakeObject::Make(L"Form");
    form->Property(L"Controls", static_cast<IDispatch*>(MakeObjectList({timer, label, button}).get()));
    Variant f = Obj(form);
    m.Call(L"FixFonts", {f.get()});

    EXPECT_EQ((std::vector<std::wstring>{L"Name=Times New Roman", L"Size=10.5", L"Italic=True", L"Bold=False",
                                         L"Underline=False", L"Strikethrough=False", L"Charset=204"}),
              font->log);
    EXPECT_TRUE(timer->log.empty());

    ComPtr<IFont> real;
    ASSERT_EQ(S_OK, stdFont->QueryInterface(IID_IFont, real.put_void()));
    support::Bstr name;
    CY size{};
    BOOL italic = FALSE, bold = TRUE, underline = TRUE, strike = TRUE;
    SHORT charset = 0;
    real->get_Name(name.put());
    real->get_Size(&size);
    real->get_Italic(&italic);
    real->get_Bold(&bold);
    real->get_Underline(&underline);
    real->get_Strikethrough(&strike);
    real->get_Charset(&charset);
    // (Wine's font object reports the face it found for the name, so the name is checked on
    // the logging font above.)
    EXPECT_EQ(105000, size.int64);
    EXPECT_TRUE(italic);
    EXPECT_FALSE(bold);
    EXPECT_FALSE(underline);
    EXPECT_FALSE(strike);
    EXPECT_EQ(204, charset);
}

TEST(FixCBCursors, DropDownListsGetTheHandAndTheFirstFailureEndsTheWalk) {
    Main m;
    auto combo = [](long style) {
        Fake c = FakeObject::Make(L"ComboBox");
        c->Property(L"Style", style).Property(L"MousePointer", 0L).Property(L"MouseIcon", static_cast<IDispatch*>(nullptr));
        return c;
    };
    Fake list = combo(2), dropDown = combo(0);
    Fake box = TextBox(false);
    box->Property(L"Style", 2L).Property(L"MousePointer", 0L);
    Fake form = FakeObject::Make(L"Form");
    form->Property(L"Controls", static_cast<IDispatch*>(MakeObjectList({dropDown, box, list}).get()));
    Variant f = Obj(form);
    m.Call(L"FixCBCursors", {f.get()});

    EXPECT_EQ(99, list->GetLong(L"MousePointer"));
    Variant icon = list->Get(L"MouseIcon");
    ASSERT_EQ(VT_DISPATCH, icon.vt());
    ComPtr<IPicture> picture;
    ASSERT_EQ(S_OK, V_DISPATCH(icon.get())->QueryInterface(IID_IPicture, picture.put_void()));
    SHORT type = 0;
    picture->get_Type(&type);
    EXPECT_EQ(PICTYPE_ICON, type);
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    EXPECT_NE(0u, handle);
    EXPECT_TRUE(dropDown->log.empty());
    EXPECT_TRUE(box->log.empty()) << "only combo boxes";

    // A combo box that refuses the icon ends the member; the later ones stay as they were.
    Fake refusing = FakeObject::Make(L"ComboBox");
    refusing->Property(L"Style", 2L);
    refusing->Member(L"MouseIcon", [](WORD, std::span<VARIANT* const>, VARIANT*) { return E_FAIL; });
    Fake later = combo(2);
    Fake second = FakeObject::Make(L"Form");
    second->Property(L"Controls", static_cast<IDispatch*>(MakeObjectList({refusing, later}).get()));
    Variant s = Obj(second);
    HRESULT hr = E_FAIL;
    m.Call(L"FixCBCursors", {s.get()}, &hr);
    EXPECT_EQ(S_OK, hr) << "no error reaches the caller";
    EXPECT_TRUE(later->log.empty());
}

TEST(ShowModalForm, TheParentWaitsOffScreenAndComesBack) {
    Main m;
    Fake parent = FakeObject::Make(L"Form");
    parent->Property(L"Left", 1200L).Property(L"Width", 4800L);
    Fake child = FakeObject::Make(L"Form");
    long leftDuringShow = 0;
    long style = -1;
    child->Member(L"Show", [&](WORD, std::span<VARIANT* const> args, VARIANT*) {
        leftDuringShow = parent->GetLong(L"Left");
        Variant n;
        if (args.size() == 1 && SUCCEEDED(VariantChangeType(n.put(), args[0], 0, VT_I4))) style = V_I4(n.get());
        return S_OK;
    });
    Variant p = Obj(parent), c = Obj(child);
    m.Call(L"ShowModalForm", {p.get(), c.get()});
    EXPECT_EQ(-5800, leftDuringShow);
    EXPECT_EQ(1, style) << "shown modally";
    EXPECT_EQ(1200, parent->GetLong(L"Left"));

    // A parent whose position cannot be read is not moved back to an empty position, and
    // the child is shown all the same.
    Fake odd = FakeObject::Make();
    odd->Property(L"Width", 100L);
    leftDuringShow = 0;
    Variant o = Obj(odd);
    m.Call(L"ShowModalForm", {o.get(), c.get()});
    EXPECT_TRUE(odd->log.empty());
    EXPECT_EQ(2u, std::count(child->log.begin(), child->log.end(), L"Show()"));
}

TEST(TextBoxInsertHooks, AddAndRemoveByIdentity) {
    Main m;
    Fake box = TextBox(true);
    Variant b = Obj(box);
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(m.Call(L"AddTextBoxInsertHook", {b.get()}).get()));
    EXPECT_EQ(VARIANT_FALSE, V_BOOL(m.Call(L"AddTextBoxInsertHook", {b.get()}).get()));
    EXPECT_EQ(1u, box->Sinks());
    EXPECT_EQ(VARIANT_TRUE, V_BOOL(m.Call(L"RemoveTextBoxInsertHook", {b.get()}).get()));
    EXPECT_EQ(VARIANT_FALSE, V_BOOL(m.Call(L"RemoveTextBoxInsertHook", {b.get()}).get()));
    EXPECT_EQ(0u, box->Sinks());

    // Not a text box: error 5 from both.
    int clicks = 0;
    Fake button = CommandButton(true, &clicks);
    Variant n = Obj(button), nothing = Obj(static_cast<IDispatch*>(nullptr));
    for (const wchar_t* member : {L"AddTextBoxInsertHook", L"RemoveTextBoxInsertHook"}) {
        for (VARIANT* arg : {n.get(), nothing.get()}) {
            HRESULT hr = S_OK;
            m.Call(member, {arg}, &hr);
            EXPECT_EQ(5, m.Raised(hr)) << member;
        }
    }
    // A text box that publishes no events cannot be guarded: error 459.
    Fake silent = FakeObject::Make();
    silent->Property(L"Locked", true).Property(L"PasswordChar", std::wstring_view(L""));
    Variant s = Obj(silent);
    HRESULT hr = S_OK;
    m.Call(L"AddTextBoxInsertHook", {s.get()}, &hr);
    EXPECT_EQ(459, m.Raised(hr));
}

TEST(TextBoxInsertHooks, ShiftInsertIsDroppedOnlyOnALockedTextBox) {
    Main m;
    Fake locked = TextBox(true), editable = TextBox(false);
    Variant l = Obj(locked), e = Obj(editable);
    m.Call(L"AddTextBoxInsertHook", {l.get()});
    m.Call(L"AddTextBoxInsertHook", {e.get()});

    EXPECT_EQ(std::make_pair(SHORT(0), SHORT(0)), KeyDown(locked, 45, 1));
    EXPECT_EQ(std::make_pair(SHORT(45), SHORT(3)), KeyDown(locked, 45, 3)) << "Ctrl+Shift+Insert passes";
    EXPECT_EQ(std::make_pair(SHORT(45), SHORT(0)), KeyDown(locked, 45, 0)) << "Insert alone passes";
    EXPECT_EQ(std::make_pair(SHORT(65), SHORT(1)), KeyDown(locked, 65, 1));
    EXPECT_EQ(std::make_pair(SHORT(45), SHORT(1)), KeyDown(editable, 45, 1));

    // Arguments passed as references to variants are written through them too.
    Variant key = Variant::FromLong(45), shift = Variant::FromLong(1);
    VARIANT args[2];
    V_VT(&args[0]) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&args[0]) = key.get();
    V_VT(&args[1]) = VT_VARIANT | VT_BYREF;
    V_VARIANTREF(&args[1]) = shift.get();
    locked->Raise(L"KeyDown", args);
    EXPECT_EQ(0, V_I4(key.get()));
    EXPECT_EQ(0, V_I4(shift.get()));
    // Malformed events (arguments by value, null references, too few) change nothing and
    // do no harm.
    VARIANT byValue[2];
    V_VT(&byValue[0]) = VT_I2;
    V_I2(&byValue[0]) = 45;
    V_VT(&byValue[1]) = VT_I2 | VT_BYREF;
    V_I2REF(&byValue[1]) = nullptr;
    locked->Raise(L"KeyDown", byValue);
    locked->Raise(L"KeyDown", std::span<const VARIANT>(byValue, 1));

    // Once the text box is unlocked, Shift+Insert pastes again.
    locked->Property(L"Locked", false);
    EXPECT_EQ(std::make_pair(SHORT(45), SHORT(1)), KeyDown(locked, 45, 1));
}

TEST(TextBoxInsertHooks, HooksLetGoOfTheirTextBoxes) {
    Fake a = TextBox(true), b = TextBox(true);
    {
        Main m;
        Variant va = Obj(a), vb = Obj(b);
        m.Call(L"AddTextBoxInsertHook", {va.get()});
        m.Call(L"AddTextBoxInsertHook", {vb.get()});
        m.Call(L"ClearTextBoxInsertHooks", {});
        EXPECT_EQ(0u, a->Sinks());
        EXPECT_EQ(std::make_pair(SHORT(45), SHORT(1)), KeyDown(a, 45, 1));
        m.Call(L"AddTextBoxInsertHook", {va.get()});
        EXPECT_EQ(1u, a->Sinks());
    }  // orxMain goes
    EXPECT_EQ(0u, a->Sinks());
    EXPECT_EQ(1, a->refs());
    EXPECT_EQ(1, b->refs());
}

TEST(DefaultButtonWatcher, FocusSwitchesTheDefaultButton) {
    int clicks = 0;
    Fake global = CommandButton(true, &clicks), local = CommandButton(true, &clicks);
    global->Property(L"Default", true);
    Fake box = TextBox(false);
    {
        auto watcher = Create<_orxTextBoxDefButtonWatcher>(CLSID_orxTextBoxDefButtonWatcher);
        ASSERT_TRUE(watcher);
        Dispatch late(watcher);
        Variant g = Obj(global), l = Obj(local), t = Obj(box);
        ASSERT_EQ(S_OK, late.Method(L"Init", {g.get(), l.get(), t.get()}));
        EXPECT_EQ(1u, box->Sinks());

        box->Raise(L"GotFocus");
        EXPECT_TRUE(local->GetBool(L"Default"));
        EXPECT_EQ(std::vector<std::wstring>{L"Default=True"}, local->log);
        global->log.clear();
        local->log.clear();
        std::vector<std::wstring> order;
        global->AfterPut(L"Default", [&] { order.push_back(L"global"); });
        local->AfterPut(L"Default", [&] { order.push_back(L"local"); });
        box->Raise(L"LostFocus");
        EXPECT_FALSE(local->GetBool(L"Default"));
        EXPECT_TRUE(global->GetBool(L"Default"));
        EXPECT_EQ((std::vector<std::wstring>{L"local", L"global"}), order);
        box->Raise(L"Change");  // events it does not watch pass by
    }
    EXPECT_EQ(0u, box->Sinks()) << "the watcher lets go of its text box when it goes";
    EXPECT_EQ(1, box->refs());
    EXPECT_EQ(1, global->refs());
}

TEST(DefaultButtonWatcher, InitAcceptsNothingAndRefusesOtherControls) {
    auto watcher = Create<_orxTextBoxDefButtonWatcher>(CLSID_orxTextBoxDefButtonWatcher);
    Dispatch late(watcher);
    int clicks = 0;
    Fake local = CommandButton(true, &clicks);
    Fake box = TextBox(false);
    Variant nothing = Obj(static_cast<IDispatch*>(nullptr)), l = Obj(local), t = Obj(box);
    ASSERT_EQ(S_OK, late.Method(L"Init", {nothing.get(), l.get(), t.get()}));
    box->Raise(L"LostFocus");  // no global button: only the local one is cleared
    EXPECT_EQ(std::vector<std::wstring>{L"Default=False"}, local->log);

    // A text box where a button belongs, a button where the text box belongs: error 13.
    HRESULT hr = late.Method(L"Init", {t.get(), l.get(), t.get()});
    EXPECT_EQ(13, bk::ErrorRecordOfCall(hr, &late.exception).number);
    hr = late.Method(L"Init", {nothing.get(), l.get(), l.get()});
    EXPECT_EQ(13, bk::ErrorRecordOfCall(hr, &late.exception).number);
    // A re-Init watches the new text box only.
    Fake other = TextBox(false);
    Variant o = Obj(other);
    ASSERT_EQ(S_OK, late.Method(L"Init", {nothing.get(), l.get(), o.get()}));
    EXPECT_EQ(0u, box->Sinks());
    EXPECT_EQ(1u, other->Sinks());
}

}  // namespace
