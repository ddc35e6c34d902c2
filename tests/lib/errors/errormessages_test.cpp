// The layouts of the library's error messages.
#include <gtest/gtest.h>

#include "lib/errors/errormessages.h"

using namespace bk::errors;

namespace {

ErrorRecord Rec(long number = 0, std::wstring description = {}, std::wstring source = {}, std::wstring helpFile = {},
                long helpContext = 0) {
    return {number, std::move(description), std::move(source), std::move(helpFile), helpContext};
}

}  // namespace

TEST(RuntimeErrorMessage, EmptyRecordIsUnknownInBothForms) {
    EXPECT_EQ(L"Unknown run-time error.", BuildErrorMessage(Rec()));
    EXPECT_EQ(L"Unknown run-time error.", BuildShortErrorMessage(Rec()));
    // A description without a number still makes no short message.
    EXPECT_EQ(L"Unknown run-time error.", BuildShortErrorMessage(Rec(0, L"Something")));
}

TEST(RuntimeErrorMessage, LongFormLinesUpLabelsAndDropsTrailingBreaks) {
    EXPECT_EQ(L"Error number: 5", BuildErrorMessage(Rec(5)));
    EXPECT_EQ(L"Error number: 53\r\nDescription:  File not found\r\n\r\nSource:       App.Module",
              BuildErrorMessage(Rec(53, L"File not found", L"App.Module")));
    EXPECT_EQ(L"Error number: 9\r\nDescription:  Subscript out of range\r\n\r\n"
              L"Source:       S\r\nHelp file:    C:\\h.chm\r\nHelp context: 1000",
              BuildErrorMessage(Rec(9, L"Subscript out of range", L"S", L"C:\\h.chm", 1000)));
    // Without a number, the description leads; nothing after it leaves no blank line behind.
    EXPECT_EQ(L"Description:  Only text", BuildErrorMessage(Rec(0, L"Only text")));
    EXPECT_EQ(L"Help context: 7", BuildErrorMessage(Rec(0, L"", L"", L"", 7)));
}

TEST(RuntimeErrorMessage, MultiLineDescriptionsShowOnOneLine) {
    EXPECT_EQ(L"Error number: 1\r\nDescription:  first second", BuildErrorMessage(Rec(1, L"first\r\nsecond")));
    EXPECT_EQ(L"Error 1: first second", BuildShortErrorMessage(Rec(1, L"first\r\nsecond")));
    // Lone CR or LF are not line breaks of the message layout and stay.
    EXPECT_EQ(L"Error 1: a\nb\rc", BuildShortErrorMessage(Rec(1, L"a\nb\rc")));
}

TEST(RuntimeErrorMessage, ShortFormNamesTheNumber) {
    EXPECT_EQ(L"Error 13: Type mismatch", BuildShortErrorMessage(Rec(13, L"Type mismatch", L"ignored")));
    EXPECT_EQ(L"Error 13: Unknown run-time error.", BuildShortErrorMessage(Rec(13)));
    EXPECT_EQ(L"Error 0x80070002: x", BuildShortErrorMessage(Rec(static_cast<long>(0x80070002UL), L"x")));
}

TEST(CodeMessage, ApiAndWinMMWordsAndUnknownTexts) {
    EXPECT_EQ(L"Unknown Win32 API error.", BuildCodeMessage(CodeKind::Api, 0, L"ignored"));
    EXPECT_EQ(L"Unknown Win32 API error.", BuildShortCodeMessage(CodeKind::Api, 0, L"ignored"));
    EXPECT_EQ(L"Unknown WinMM.DLL error.", BuildCodeMessage(CodeKind::WinMM, 0, L""));
    EXPECT_EQ(L"Unknown WinMM.DLL error.", BuildShortCodeMessage(CodeKind::WinMM, 0, L""));

    EXPECT_EQ(L"Win32 API error: 2\r\nDescription: File not found.",
              BuildCodeMessage(CodeKind::Api, 2, L"File not found."));
    EXPECT_EQ(L"Win32 API error: 2", BuildCodeMessage(CodeKind::Api, 2, L""));
    EXPECT_EQ(L"Win32 API error 2: File not found.", BuildShortCodeMessage(CodeKind::Api, 2, L"File not found."));
    EXPECT_EQ(L"Win32 API error 2: Unknown Win32 API error.", BuildShortCodeMessage(CodeKind::Api, 2, L""));

    EXPECT_EQ(L"WinMM.DLL error: 11\r\nDescription: a b", BuildCodeMessage(CodeKind::WinMM, 11, L"a\r\nb"));
    EXPECT_EQ(L"WinMM.DLL error 11: Unknown WinMM.DLL error.", BuildShortCodeMessage(CodeKind::WinMM, 11, L""));
}

TEST(ModuleMessage, BlankNamesNumberZeroAndMissingDescriptions) {
    EXPECT_EQ(L"Unknown module error.", BuildModuleMessage(L"", 5, L"x"));
    EXPECT_EQ(L"Unknown module error.", BuildModuleMessage(L"   ", 5, L"x"));
    EXPECT_EQ(L"Unknown module error.", BuildShortModuleMessage(L"   ", 0, L""));
    EXPECT_EQ(L"Unknown net.dll error.", BuildModuleMessage(L"net.dll", 0, L""));
    EXPECT_EQ(L"Unknown net.dll error.", BuildShortModuleMessage(L"net.dll", 0, L""));

    EXPECT_EQ(L"net.dll error: 12002\r\nDescription: Timed out.", BuildModuleMessage(L"net.dll", 12002, L"Timed out."));
    EXPECT_EQ(L"net.dll error: 12002", BuildModuleMessage(L"net.dll", 12002, L""));
    EXPECT_EQ(L"net.dll error 12002: Timed out.", BuildShortModuleMessage(L"net.dll", 12002, L"Timed out."));
    EXPECT_EQ(L"net.dll error 12002: Unknown net.dll error.", BuildShortModuleMessage(L"net.dll", 12002, L""));
    // Trimming serves only the blank test: the name is shown as given.
    EXPECT_EQ(L" net.dll  error 1: Unknown  net.dll  error.", BuildShortModuleMessage(L" net.dll ", 1, L""));
}

TEST(DisplayText, LeadInThenEmptyLineThenMessage) {
    EXPECT_EQ(L"Message", ComposeDisplayText(L"", L"Message"));
    EXPECT_EQ(L"Could not save.\r\n\r\nMessage", ComposeDisplayText(L"Could not save.", L"Message"));
}
