// Find in the shown text: direction, where the next match starts, case and whole words.
#include <gtest/gtest.h>

#include <string>

#include "app/mainwindow/mainwindow_logic.h"
#include "app/mainwindow/text_search.h"

namespace {

using metaview::FindInText;
using metaview::SearchOptions;
using metaview::TextRange;

constexpr SearchOptions kDown{};
constexpr SearchOptions kUp{false, false, false};

const std::wstring kListing =
    L"---- File ----\r\nFile Name   : rose.jpg\r\nFile Type   : JPEG\r\n---- EXIF ----\r\nMake        : Canon";

TEST(FindInText, DownFromTheCaretThenPastEachSelectedMatch) {
    const std::size_t first = kListing.find(L"File");
    const std::size_t second = kListing.find(L"File", first + 1);
    const std::size_t third = kListing.find(L"File", second + 1);
    EXPECT_EQ(FindInText(kListing, L"File", 0, 0, kDown), (TextRange{first, first + 4}));
    // The selected match is not found again: the search goes on after it.
    EXPECT_EQ(FindInText(kListing, L"File", first, first + 4, kDown), (TextRange{second, second + 4}));
    EXPECT_EQ(FindInText(kListing, L"File", second, second + 4, kDown), (TextRange{third, third + 4}));
    // No wrap-around at the end.
    EXPECT_FALSE(FindInText(kListing, L"File", third, third + 4, kDown));
    // A caret inside a match starts after it begins.
    EXPECT_EQ(FindInText(kListing, L"File", first + 1, first + 1, kDown), (TextRange{second, second + 4}));
}

TEST(FindInText, UpFindsTheLastMatchEndingBeforeTheSelection) {
    const std::size_t first = kListing.find(L"File");
    const std::size_t second = kListing.find(L"File", first + 1);
    EXPECT_EQ(FindInText(kListing, L"File", second, second + 4, kUp), (TextRange{first, first + 4}));
    EXPECT_FALSE(FindInText(kListing, L"File", first, first + 4, kUp));
    // From the end of the text: the last match.
    const std::size_t last = kListing.rfind(L"File");
    EXPECT_EQ(FindInText(kListing, L"File", kListing.size(), kListing.size(), kUp), (TextRange{last, last + 4}));
    // A match that overlaps the selection's start is not taken.
    EXPECT_EQ(FindInText(L"abcabc", L"abc", 2, 2, kUp), std::nullopt);
    EXPECT_EQ(FindInText(L"abcabc", L"abc", 3, 6, kUp), (TextRange{0, 3}));
}

TEST(FindInText, OverlappingMatchesFollowEachOtherInBothDirections) {
    EXPECT_EQ(FindInText(L"aaaa", L"aa", 0, 2, kDown), (TextRange{2, 4}));
    EXPECT_EQ(FindInText(L"aaaa", L"aa", 1, 1, kDown), (TextRange{1, 3}));
    EXPECT_EQ(FindInText(L"aaaa", L"aa", 2, 4, kUp), (TextRange{0, 2}));
}

TEST(FindInText, LetterCaseMattersOnlyWhenAsked) {
    const std::wstring text = L"Make: canon\r\nModel: Canon EOS";
    const SearchOptions matchCase{true, false, true};
    EXPECT_EQ(FindInText(text, L"CANON", 0, 0, kDown), (TextRange{6, 11}));
    EXPECT_EQ(FindInText(text, L"Canon", 0, 0, matchCase), (TextRange{20, 25}));
    EXPECT_FALSE(FindInText(text, L"CANON", 0, 0, matchCase));
    // Beyond ASCII: Latin-1, Latin Extended-A, Greek and Cyrillic letters pair up.
    EXPECT_TRUE(FindInText(L"Описание: КАМЕРА", L"камера", 0, 0, kDown));
    EXPECT_TRUE(FindInText(L"ЁЛКА", L"ёлка", 0, 0, kDown));
    EXPECT_TRUE(FindInText(L"Ørsted ÆBLE", L"æble", 0, 0, kDown));
    EXPECT_TRUE(FindInText(L"ŁÓDŹ", L"łódź", 0, 0, kDown));
    EXPECT_TRUE(FindInText(L"ΣΟΦΊΑ ΛΌΓΟΣ", L"λόγος", 0, 0, kDown));
    EXPECT_FALSE(FindInText(L"КАМЕРА", L"камера", 0, 0, matchCase));
    // Characters without a one-to-one partner are not folded into ASCII.
    EXPECT_FALSE(FindInText(L"I\u0130", L"\u0131", 0, 0, kDown));
    EXPECT_FALSE(FindInText(L"\u00D7", L"\u00F7", 0, 0, kDown));
}

TEST(FindInText, WholeWordsSkipMatchesInsideLongerWords) {
    const std::wstring text = L"Image Width: 64\r\nImageWidth2: x\r\nWidth: 64_x";
    const SearchOptions whole{false, true, true};
    EXPECT_EQ(FindInText(text, L"width", 0, 0, whole), (TextRange{6, 11}));
    const std::size_t last = text.rfind(L"Width");
    EXPECT_EQ(FindInText(text, L"width", 6, 11, whole), (TextRange{last, last + 5})) << "ImageWidth2 is skipped";
    EXPECT_EQ(FindInText(text, L"64", 0, 0, whole), (TextRange{13, 15}));
    EXPECT_FALSE(FindInText(text, L"64", 13, 15, whole)) << "64_x is one word";
    // Up, a rejected match moves on to earlier ones.
    const SearchOptions wholeUp{false, true, false};
    EXPECT_EQ(FindInText(text, L"width", last, last + 5, wholeUp), (TextRange{6, 11}));
    // Words of other scripts are words too; punctuation and line breaks end them.
    EXPECT_FALSE(FindInText(L"фото", L"фот", 0, 0, whole));
    EXPECT_TRUE(FindInText(L"фот\u2014x", L"фот", 0, 0, whole));
    EXPECT_TRUE(FindInText(L"x\r\nJPEG\r\n", L"JPEG", 0, 0, whole));
    // A side of the term that is a separator itself needs no boundary; a word side does.
    EXPECT_EQ(FindInText(L"a: b c: d", L": ", 0, 0, whole), (TextRange{1, 3}));
    EXPECT_EQ(FindInText(L"a: bc c: d", L": b", 0, 0, whole), std::nullopt);
    EXPECT_EQ(FindInText(L"a: bc c: b", L": b", 0, 0, whole), (TextRange{7, 10}));
}

TEST(FindInText, EmptyTermsTextsAndSelectionsOutsideTheText) {
    EXPECT_FALSE(FindInText(kListing, L"", 0, 0, kDown));
    EXPECT_FALSE(FindInText(L"", L"x", 0, 0, kDown));
    EXPECT_FALSE(FindInText(L"ab", L"abc", 0, 0, kDown));
    EXPECT_FALSE(FindInText(L"abc", L"abc", 99, 99, kDown));
    EXPECT_EQ(FindInText(L"abc", L"abc", 99, 99, kUp), (TextRange{0, 3}));
    // A reversed selection is taken as its start.
    EXPECT_EQ(FindInText(L"abcabc", L"abc", 2, 1, kDown), (TextRange{3, 6}));
    // Surrogate pairs are compared unit by unit, unchanged.
    const std::wstring smiles = L"x\xD83D\xDE00y\xD83D\xDE00";
    EXPECT_EQ(FindInText(smiles, L"\xD83D\xDE00", 2, 3, kDown), (TextRange{4, 6}));
}

TEST(FindTexts, MessageAndTermTakenFromTheSelection) {
    EXPECT_EQ(metaview::CannotFindMessage(L"zebra"), L"Cannot find \"zebra\"");
    EXPECT_EQ(metaview::SearchTermFromSelection(kListing, 16, 20, 255), L"File");
    EXPECT_EQ(metaview::SearchTermFromSelection(kListing, 16, 16, 255), L"");
    EXPECT_EQ(metaview::SearchTermFromSelection(kListing, 10, 20, 255), L"") << "a line break";
    EXPECT_EQ(metaview::SearchTermFromSelection(kListing, 16, 20, 3), L"") << "longer than the field";
    EXPECT_EQ(metaview::SearchTermFromSelection(L"abc", 1, 99, 255), L"bc");
}

TEST(DroppedFiles, OneCommandLinePerFileAndAQuestionBeyondTheBound) {
    EXPECT_EQ(metaview::InstanceCommandLine(L"C:\\Program Files\\Metaview.exe", L"D:\\Pics\\a b.jpg"),
              L"\"C:\\Program Files\\Metaview.exe\" \"D:\\Pics\\a b.jpg\"");
    EXPECT_EQ(metaview::InstanceCommandLine(L"M.exe", L"D:\\"), L"\"M.exe\" \"D:\\\"");
    EXPECT_EQ(metaview::ManyFilesQuestion(12),
              L"12 files were dropped on the window.\r\n\r\nOpen a Metaview window for each of them?");
    EXPECT_GE(metaview::kDropWithoutAsking, 2u);
}

}  // namespace
