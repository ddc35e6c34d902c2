// orxErr's messages through the real COM object, early- and late-bound.
#include <gtest/gtest.h>

#include "tests/harness/library.h"
#include "tests/lib/errors/fake_error.h"

using namespace bktest;

namespace {

ComPtr<_orxErr> NewErr() {
    auto err = Create<_orxErr>(CLSID_orxErr);
    EXPECT_TRUE(err);
    return err;
}

// Calls a text member and returns its text; fails the test on a failing status.
template <class Call>
std::wstring TextOf(Call&& call) {
    Bstr out;
    const HRESULT hr = call(out.put());
    EXPECT_EQ(S_OK, hr) << LastError(hr).description;
    return out.str();
}

bool HasLineBreakAtEnds(const std::wstring& s) {
    return !s.empty() && (s.front() == L'\r' || s.front() == L'\n' || s.back() == L'\r' || s.back() == L'\n');
}

}  // namespace

TEST(OrxErrRuntime, MessagesFromAnyObjectWithTheFiveProperties) {
    auto err = NewErr();
    FakeError e(53, L"File not found\r\nat last", L"Metaview.Save", L"C:\\help.chm", 12);
    ErrObject* obj = AsErrObject(e);
    EXPECT_EQ(L"Error number: 53\r\nDescription:  File not found at last\r\n\r\n"
              L"Source:       Metaview.Save\r\nHelp file:    C:\\help.chm\r\nHelp context: 12",
              TextOf([&](BSTR* o) { return err->GetErrorMessage(&obj, o); }));
    EXPECT_EQ(L"Error 53: File not found at last", TextOf([&](BSTR* o) { return err->GetShortErrorMessage(&obj, o); }));

    FakeError empty(0, L"");
    ErrObject* emptyObj = AsErrObject(empty);
    EXPECT_EQ(L"Unknown run-time error.", TextOf([&](BSTR* o) { return err->GetErrorMessage(&emptyObj, o); }));
    EXPECT_EQ(L"Unknown run-time error.", TextOf([&](BSTR* o) { return err->GetShortErrorMessage(&emptyObj, o); }));
    EXPECT_EQ(1, e.refs());
}

TEST(OrxErrRuntime, ReadsEachPropertyOnceInOrder) {
    auto err = NewErr();
    FakeError e(5, L"x");
    ErrObject* obj = AsErrObject(e);
    TextOf([&](BSTR* o) { return err->GetErrorMessage(&obj, o); });
    EXPECT_EQ((std::vector<std::wstring>{L"Number", L"Description", L"Source", L"HelpFile", L"HelpContext"}), e.reads());
}

TEST(OrxErrRuntime, PropertyValuesAreConvertedByTheAutomationRules) {
    auto err = NewErr();
    FakeError e(0, L"");
    e.SetValue(L"Number", support::Variant::FromString(L"70"));
    e.SetValue(L"Description", support::Variant::FromDouble(1.5));
    e.SetValue(L"Source", support::Variant());  // empty
    ErrObject* obj = AsErrObject(e);
    const std::wstring text = TextOf([&](BSTR* o) { return err->GetShortErrorMessage(&obj, o); });
    // The decimal separator follows the locale.
    EXPECT_TRUE(text == L"Error 70: 1.5" || text == L"Error 70: 1,5") << text;
}

TEST(OrxErrRuntime, FailedReadsFailTheMemberWithNoText) {
    auto err = NewErr();
    {
        FakeError e(5, L"x");
        e.FailOn(L"Source", static_cast<HRESULT>(0x800A0046), L"Permission denied");
        ErrObject* obj = AsErrObject(e);
        Bstr out;
        const HRESULT hr = err->GetErrorMessage(&obj, out.put());
        const CallError ce = LastError(hr);
        EXPECT_EQ(70, ce.number);
        EXPECT_EQ(L"Permission denied", ce.description);
        EXPECT_EQ(nullptr, out.get());
        // Reading stopped at the failure.
        EXPECT_EQ((std::vector<std::wstring>{L"Number", L"Description", L"Source"}), e.reads());
    }
    {
        FakeError e(5, L"x");
        e.Remove(L"HelpContext");  // an object without the property
        ErrObject* obj = AsErrObject(e);
        Bstr out;
        EXPECT_EQ(438, LastError(err->GetShortErrorMessage(&obj, out.put())).number);
    }
    {
        FakeError e(5, L"x");
        e.SetValue(L"Number", support::Variant::FromString(L"not a number"));
        ErrObject* obj = AsErrObject(e);
        Bstr out;
        EXPECT_EQ(13, LastError(err->GetErrorMessage(&obj, out.put())).number);
    }
    {
        ErrObject* none = nullptr;
        Bstr out;
        EXPECT_EQ(424, LastError(err->GetErrorMessage(&none, out.put())).number);
        LONG result = 0;
        VARIANT_BOOL silent = VARIANT_TRUE;
        EXPECT_EQ(424, LastError(err->ErrorDisplay(&none, VbMsgBoxStyle(16), nullptr, nullptr, &silent,
                                                  reinterpret_cast<VbMsgBoxResult*>(&result))).number);
    }
}

TEST(OrxErrApi, SystemTextsOnOneLineAndTheUnknownCases) {
    auto err = NewErr();
    EXPECT_EQ(L"Unknown Win32 API error.", TextOf([&](BSTR* o) { return err->GetErrorMessageAPI(0, o); }));
    EXPECT_EQ(L"Unknown Win32 API error.", TextOf([&](BSTR* o) { return err->GetShortErrorMessageAPI(0, o); }));

    // ERROR_FILE_NOT_FOUND has a system text; its exact words are the system's.
    const std::wstring longText = TextOf([&](BSTR* o) { return err->GetErrorMessageAPI(2, o); });
    const std::wstring head = L"Win32 API error: 2\r\nDescription: ";
    ASSERT_EQ(head, longText.substr(0, head.size()));
    const std::wstring description = longText.substr(head.size());
    EXPECT_FALSE(description.empty());
    EXPECT_EQ(std::wstring::npos, description.find(L'\n'));
    EXPECT_NE(L' ', description.back());
    EXPECT_EQ(L"Win32 API error 2: " + description, TextOf([&](BSTR* o) { return err->GetShortErrorMessageAPI(2, o); }));

    // A code the system has no text for (customer bit set).
    EXPECT_EQ(L"Win32 API error: 0x20000001",
              TextOf([&](BSTR* o) { return err->GetErrorMessageAPI(0x20000001, o); }));
    EXPECT_EQ(L"Win32 API error 0x20000001: Unknown Win32 API error.",
              TextOf([&](BSTR* o) { return err->GetShortErrorMessageAPI(0x20000001, o); }));
}

TEST(OrxErrWinMM, MultimediaTextsAndTheUnknownCases) {
    auto err = NewErr();
    EXPECT_EQ(L"Unknown WinMM.DLL error.", TextOf([&](BSTR* o) { return err->GetErrorMessageWinMM(0, o); }));
    EXPECT_EQ(L"Unknown WinMM.DLL error.", TextOf([&](BSTR* o) { return err->GetShortErrorMessageWinMM(0, o); }));
    // MMSYSERR_BADDEVICEID (general range), WAVERR_STILLPLAYING (wave), MCIERR_INVALID_DEVICE_ID (MCI).
    for (LONG code : {2L, 33L, 257L}) {
        const std::wstring text = TextOf([&](BSTR* o) { return err->GetErrorMessageWinMM(code, o); });
        const std::wstring head = L"WinMM.DLL error: " + std::to_wstring(code) + L"\r\nDescription: ";
        EXPECT_EQ(head, text.substr(0, head.size())) << text;
        EXPECT_GT(text.size(), head.size());
        EXPECT_FALSE(HasLineBreakAtEnds(text));
    }
    // 200 lies between the ranges the multimedia library describes.
    EXPECT_EQ(L"WinMM.DLL error: 200", TextOf([&](BSTR* o) { return err->GetErrorMessageWinMM(200, o); }));
    EXPECT_EQ(L"WinMM.DLL error 200: Unknown WinMM.DLL error.",
              TextOf([&](BSTR* o) { return err->GetShortErrorMessageWinMM(200, o); }));
}

TEST(OrxErrModule, MessageTablesOfNamedModules) {
    auto err = NewErr();
    Bstr wininet(L"wininet.dll");
    // ERROR_INTERNET_TIMEOUT from WinInet's message table.
    const std::wstring text = TextOf([&](BSTR* o) { return err->GetErrorMessageModule(12002, wininet.get(), o); });
    const std::wstring head = L"wininet.dll error: 12002\r\nDescription: ";
    ASSERT_EQ(head, text.substr(0, head.size())) << text;
    const std::wstring description = text.substr(head.size());
    EXPECT_FALSE(description.empty());
    EXPECT_EQ(L"wininet.dll error 12002: " + description,
              TextOf([&](BSTR* o) { return err->GetShortErrorMessageModule(12002, wininet.get(), o); }));
    // The module was released again: only the data-file mapping was made, and it is gone.
    EXPECT_EQ(nullptr, GetModuleHandleW(L"wininet.dll"));
}

TEST(OrxErrModule, BlankNamesNumberZeroAndModulesThatCantBeLoaded) {
    auto err = NewErr();
    Bstr blanks(L"   ");
    EXPECT_EQ(L"Unknown module error.", TextOf([&](BSTR* o) { return err->GetErrorMessageModule(5, blanks.get(), o); }));
    EXPECT_EQ(L"Unknown module error.", TextOf([&](BSTR* o) { return err->GetShortErrorMessageModule(5, blanks.get(), o); }));
    EXPECT_EQ(L"Unknown module error.", TextOf([&](BSTR* o) { return err->GetErrorMessageModule(5, nullptr, o); }));

    Bstr missing(L"no_such_module_4711.dll");
    EXPECT_EQ(L"Unknown no_such_module_4711.dll error.",
              TextOf([&](BSTR* o) { return err->GetErrorMessageModule(0, missing.get(), o); }));
    EXPECT_EQ(L"no_such_module_4711.dll error: 5",
              TextOf([&](BSTR* o) { return err->GetErrorMessageModule(5, missing.get(), o); }));
    EXPECT_EQ(L"no_such_module_4711.dll error 5: Unknown no_such_module_4711.dll error.",
              TextOf([&](BSTR* o) { return err->GetShortErrorMessageModule(5, missing.get(), o); }));

    // A name longer than any path names no module: the message is made without a look-up
    // (the system's loader would spend seconds on a name this long).
    const std::wstring huge(1000000, L'x');
    Bstr hugeName(huge);
    EXPECT_EQ(huge + L" error: 5", TextOf([&](BSTR* o) { return err->GetErrorMessageModule(5, hugeName.get(), o); }));
}

TEST(OrxErrDisplay, SilentReturnsOkWithoutShowing) {
    // Were a box shown, the call would wait for a user: the calls returning at all is the check
    // that nothing was shown (the GUI tests watch for windows as well).
    auto err = NewErr();
    VARIANT_BOOL silent = VARIANT_TRUE;
    Bstr lead(L"Could not save.");
    BSTR leadText = lead.get();  // in/out argument: the library may replace it
    VbMsgBoxResult result{};
    EXPECT_EQ(S_OK, err->ErrorDisplayAPI(2, VbMsgBoxStyle(4), nullptr, &leadText, &silent, &result));
    EXPECT_EQ(1, result);
    FakeError e(5, L"x", L"", L"C:\\h.chm", 3);
    ErrObject* obj = AsErrObject(e);
    result = {};
    EXPECT_EQ(S_OK, err->ErrorDisplay(&obj, VbMsgBoxStyle(3), nullptr, nullptr, &silent, &result));
    EXPECT_EQ(1, result);
    result = {};
    Bstr name(L"wininet.dll");
    EXPECT_EQ(S_OK, err->ErrorDisplayModule(12002, name.get(), VbMsgBoxStyle(0), nullptr, nullptr, &silent, &result));
    EXPECT_EQ(1, result);
    result = {};
    EXPECT_EQ(S_OK, err->ErrorDisplayWinMM(2, VbMsgBoxStyle(0), nullptr, nullptr, &silent, &result));
    EXPECT_EQ(1, result);
}

TEST(OrxErrLateBound, TextsAndSilentDisplayWithOmittedArguments) {
    auto err = NewErr();
    Dispatch late(err);

    Variant number = Variant::FromLong(0);
    Variant text;
    ASSERT_EQ(S_OK, late.Method(L"GetShortErrorMessageAPI", {number.get()}, text.get()));
    EXPECT_EQ(L"Unknown Win32 API error.", Text(*text.get()));

    // The error object passed by reference, as script and classic clients pass it.
    FakeError e(9, L"Subscript out of range");
    IDispatch* asDispatch = &e;
    Variant byRef;
    V_VT(byRef.get()) = VT_DISPATCH | VT_BYREF;
    V_DISPATCHREF(byRef.get()) = &asDispatch;
    Variant message;
    ASSERT_EQ(S_OK, late.Method(L"GetErrorMessage", {byRef.get()}, message.get())) << late.exception.bstrDescription;
    EXPECT_EQ(L"Error number: 9\r\nDescription:  Subscript out of range", Text(*message.get()));

    // Style, Title and DescriptionText omitted; Silent given.
    Variant code = Variant::FromLong(2);
    Variant missing = Variant::Missing();
    Variant silent = Variant::FromBool(true);
    Variant result;
    ASSERT_EQ(S_OK, late.Method(L"ErrorDisplayAPI", {code.get(), missing.get(), missing.get(), missing.get(), silent.get()},
                                result.get()));
    EXPECT_EQ(1, V_I4(result.get()));
    ASSERT_EQ(S_OK, late.Method(L"ErrorDisplay", {byRef.get(), missing.get(), missing.get(), missing.get(), silent.get()},
                                result.get()));
    EXPECT_EQ(1, V_I4(result.get()));
    EXPECT_EQ(1, e.refs());
}

TEST(OrxErrTimedBox, ButtonIndexesBelowMinusOneAreRefused) {
    auto err = NewErr();
    Bstr text(L"x");
    Variant title = Variant::Missing();
    VbMsgBoxResult result{};
    EXPECT_EQ(5, LastError(err->ShowErrorBox(text.get(), VbMsgBoxStyle(0), *title.get(), -2, -1, 1, &result)).number);
    EXPECT_EQ(5, LastError(err->ShowErrorBox(text.get(), VbMsgBoxStyle(0), *title.get(), -1, -7, 1, &result)).number);
}
