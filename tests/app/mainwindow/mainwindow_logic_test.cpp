// The main window's platform-free decisions: fonts, Ctrl+A, keys, what Save writes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/mainwindow/mainwindow_logic.h"
#include "app/mainwindow/textbox_logic.h"

namespace {

using namespace metaview;

constexpr KeyModifiers kNone{};
constexpr KeyModifiers kCtrl{false, true, false};

TEST(TextBoxFonts, PreferenceListsInOrder) {
    const auto main = MonospacedFontList(false);
    ASSERT_EQ(main.size(), 5u);
    EXPECT_EQ(main[0].name, L"PT Mono");
    EXPECT_EQ(main[0].points, 10);
    EXPECT_EQ(main[1].name, L"Consolas");
    EXPECT_EQ(main[1].points, 11);
    EXPECT_EQ(main[4].name, L"Courier");
    const auto consolas = MonospacedFontList(true);
    ASSERT_EQ(consolas.size(), 4u);
    EXPECT_EQ(consolas[0].name, L"Consolas");
}

TEST(TextBoxFonts, FirstAcceptedFontWinsAndLaterOnesAreNotTried) {
    const auto list = MonospacedFontList(false);
    std::vector<std::wstring> tried;
    const auto chosen = ApplyFirstAvailableFont(list, [&](const FontChoice& f) {
        tried.push_back(f.name);
        return f.name == L"Andale Mono" || f.name == L"Courier";
    });
    ASSERT_TRUE(chosen);
    EXPECT_EQ(*chosen, 2u);
    EXPECT_EQ(tried, (std::vector<std::wstring>{L"PT Mono", L"Consolas", L"Andale Mono"}));
    EXPECT_FALSE(ApplyFirstAvailableFont(list, [](const FontChoice&) { return false; }));
    EXPECT_FALSE(ApplyFirstAvailableFont({}, [](const FontChoice&) { return true; }));
}

TEST(TextBoxFonts, SubstitutedFaceCountsAsMissing) {
    EXPECT_TRUE(IsSameFace(L"Courier New", L"COURIER NEW"));
    EXPECT_FALSE(IsSameFace(L"Courier New", L"Courier"));
    EXPECT_FALSE(IsSameFace(L"Consolas", L"DejaVu Sans"));
    EXPECT_FALSE(IsSameFace(L"", L""));
}

TEST(SelectAll, CtrlAloneSelectsAllAndDropsItsControlCharacterOnly) {
    SelectAllKeys keys;
    EXPECT_TRUE(keys.OnKeyDown('A', kCtrl));
    EXPECT_TRUE(keys.OnChar(0x01));
    // The next plain A is not swallowed, typed as a character or as a key.
    EXPECT_FALSE(keys.OnKeyDown('A', kNone));
    EXPECT_FALSE(keys.OnChar(L'a'));
    // Ctrl+A whose character never comes: the next key's character still gets through.
    EXPECT_TRUE(keys.OnKeyDown('A', kCtrl));
    EXPECT_FALSE(keys.OnKeyDown('B', kNone));
    EXPECT_FALSE(keys.OnChar(L'b'));
    EXPECT_TRUE(keys.OnKeyDown('A', kCtrl));
    EXPECT_FALSE(keys.OnChar(L'x'));
    EXPECT_FALSE(keys.OnChar(0x01)) << "only the character right after the key";
}

TEST(SelectAll, OtherModifierCombinationsAreLeftToTheBox) {
    SelectAllKeys keys;
    EXPECT_FALSE(keys.OnKeyDown('A', {true, true, false}));   // Ctrl+Shift+A
    EXPECT_FALSE(keys.OnChar(0x01));
    EXPECT_FALSE(keys.OnKeyDown('A', {false, true, true}));   // Ctrl+Alt+A
    EXPECT_FALSE(keys.OnKeyDown('A', kNone));
    EXPECT_FALSE(keys.OnKeyDown('Q', kCtrl));
}

TEST(MainWindowKeys, EscapeClosesF1IsHelpOthersNothing) {
    EXPECT_EQ(MainWindowKeyAction(kKeyEscape, kNone), KeyAction::Close);
    EXPECT_EQ(MainWindowKeyAction(kKeyEscape, kCtrl), KeyAction::None);
    EXPECT_EQ(MainWindowKeyAction(kKeyF1, kNone), KeyAction::HelpContents);
    EXPECT_EQ(MainWindowKeyAction(kKeyF1, {true, false, false}), KeyAction::AboutBox);
    EXPECT_EQ(MainWindowKeyAction(kKeyF1, kCtrl), KeyAction::None);
    EXPECT_EQ(MainWindowKeyAction(kKeyF1, {true, false, true}), KeyAction::None);
    EXPECT_EQ(MainWindowKeyAction('A', kNone), KeyAction::None);
}

TEST(SaveOutput, RunOutputWinsOverTheBox) {
    EXPECT_EQ(TextToSave(L"stdout text", L"report"), L"stdout text");
    EXPECT_EQ(TextToSave(L"", L"result"), L"result");
    EXPECT_EQ(SaveFailureText(L"C:\\a.txt"), L"C:\\a.txt\r\n\r\nCan't save ExifTool output text.");
}

TEST(TimingMark, SecondsSinceUnixEpochWithMicroseconds) {
    EXPECT_EQ(TimingMarkLine("shown", 116444736000000000ULL + 17967036468795123ULL), "shown 1796703646.879512\n");
    EXPECT_EQ(TimingMarkLine("x", 116444736000000000ULL + 10000000ULL + 50), "x 1.000005\n");  // leading zeros kept
    EXPECT_EQ(TimingMarkLine("early", 5), "early 0.000000\n");  // before 1970: no wrap-around
}

}  // namespace
