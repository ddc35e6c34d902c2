// The display operations of orxErr in the standard message box: text, title, style, Help
// button, Silent; early- and late-bound.
#include <gtest/gtest.h>

#include "support/es/application.h"
#include "tests/harness/fake_controls.h"
#include "tests/harness/library.h"
#include "tests/lib/errors/box_driver.h"
#include "tests/lib/errors/fake_error.h"

using namespace bktest;
using namespace errtest;

namespace {

struct BoxSeen {
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons;
};

BoxSeen Read(HWND box) {
    BoxSeen seen;
    seen.caption = TextOf(box);
    seen.text = MessageText(box);
    for (HWND b : Buttons(box)) seen.buttons.push_back(WithoutMnemonic(TextOf(b)));
    return seen;
}

}  // namespace

TEST(ErrorDisplay, LeadInEmptyLineMessageUnderTheApplicationTitle) {
    auto err = Create<_orxErr>(CLSID_orxErr);
    ASSERT_TRUE(err);
    Bstr expectedMessage;
    ASSERT_EQ(S_OK, err->GetErrorMessageAPI(2, expectedMessage.put()));

    Bstr lead(L"Could not save the output.");
    BSTR leadText = lead.get();  // in/out argument: the library may replace it
    VARIANT_BOOL silent = VARIANT_FALSE;
    VbMsgBoxResult result{};
    BoxSeen seen;
    const HRESULT hr = WithBox(
        [&] { return err->ErrorDisplayAPI(2, VbMsgBoxStyle(4 | 48), nullptr, &leadText, &silent, &result); },
        [&](HWND box) {
            seen = Read(box);
            Click(ButtonByText(box, seen.buttons.size() == 2 ? seen.buttons[1] : L"No"));
        });
    ASSERT_EQ(S_OK, hr);
    EXPECT_EQ(7, result);  // No
    EXPECT_EQ(support::esGetThunderMainTitle(), seen.caption);
    EXPECT_EQ(L"Could not save the output.\r\n\r\n" + expectedMessage.str(), seen.text);
    EXPECT_EQ(2u, seen.buttons.size());
}

TEST(ErrorDisplay, HelpFileOfTheErrorAddsAHelpButton) {
    auto err = Create<_orxErr>(CLSID_orxErr);
    FakeError e(53, L"File not found", L"Metaview", L"C:\\nowhere\\metaview.chm", 20);
    ErrObject* obj = AsErrObject(e);
    Bstr title(L"Saving");
    VARIANT_BOOL silent = VARIANT_FALSE;
    VbMsgBoxResult result{};
    BoxSeen seen;
    const HRESULT hr = WithBox(
        [&] { return err->ErrorDisplay(&obj, VbMsgBoxStyle(16), title.get(), nullptr, &silent, &result); },
        [&](HWND box) {
            seen = Read(box);
            PostMessageW(box, WM_COMMAND, IDOK, 0);
        });
    ASSERT_EQ(S_OK, hr);
    EXPECT_EQ(1, result);
    EXPECT_EQ(L"Saving", seen.caption);
    EXPECT_EQ(L"Error number: 53\r\nDescription:  File not found\r\n\r\nSource:       Metaview\r\n"
              L"Help file:    C:\\nowhere\\metaview.chm\r\nHelp context: 20",
              seen.text);
    ASSERT_EQ(2u, seen.buttons.size());
    EXPECT_EQ(L"Help", seen.buttons[1]);
}

TEST(ErrorDisplay, SilentShowsNothing) {
    auto err = Create<_orxErr>(CLSID_orxErr);
    Dispatch late(err);
    bool sawBox = true;
    Variant result;
    const HRESULT hr = WithBox(
        [&] {
            Variant code = Variant::FromLong(5), missing = Variant::Missing(), silent = Variant::FromBool(true);
            const HRESULT r = late.Method(L"ErrorDisplayWinMM", {code.get(), missing.get(), missing.get(), missing.get(), silent.get()},
                                          result.get());
            Sleep(300);  // time for a box that should not be there to show
            return r;
        },
        [](HWND) {}, &sawBox);
    EXPECT_EQ(S_OK, hr);
    EXPECT_EQ(1, V_I4(result.get()));
    EXPECT_FALSE(sawBox);
}

TEST(ErrorDisplay, LateBoundWithEveryOptionalArgumentOmitted) {
    // Style 16 (OK, stop icon), the application's title, no lead-in.
    auto err = Create<_orxErr>(CLSID_orxErr);
    Dispatch late(err);
    Bstr moduleName(L"no_such_module_4711.dll");
    Variant code = Variant::FromLong(7), name = Variant::FromString(L"no_such_module_4711.dll");
    Variant result;
    BoxSeen seen;
    bool hasIcon = false;
    const HRESULT hr = WithBox([&] { return late.Method(L"ErrorDisplayModule", {code.get(), name.get()}, result.get()); },
                               [&](HWND box) {
                                   seen = Read(box);
                                   for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
                                       if ((GetWindowLongPtrW(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON &&
                                           ClassOf(c) == L"Static" && IsWindowVisible(c))
                                           hasIcon = true;
                                   PressKey(box, VK_RETURN);
                               });
    ASSERT_EQ(S_OK, hr) << (late.exception.bstrDescription ? late.exception.bstrDescription : L"");
    EXPECT_EQ(1, V_I4(result.get()));
    EXPECT_EQ(support::esGetThunderMainTitle(), seen.caption);
    EXPECT_EQ(L"no_such_module_4711.dll error: 7", seen.text);
    EXPECT_EQ(1u, seen.buttons.size());
    EXPECT_TRUE(hasIcon);
}

TEST(ErrorDisplay, NetworkMessageAfterTheLeadInUnderTheCallersTitle) {
    auto err = Create<_orxErr>(CLSID_orxErr);
    auto request = FakeObject::Make();
    request->Property(L"LastRC", 4L).Property(L"ResponseCode", 404L).Property(L"ResponseText", std::wstring_view(L"Not Found"));
    request->Property(L"ErrorCode", 0L).Property(L"ErrorText", std::wstring_view(L""));
    Bstr expectedMessage;
    ASSERT_EQ(S_OK, err->GetErrorMessageHTTPRequest(request.get(), expectedMessage.put()));

    Bstr title(L"Update"), lead(L"The download failed.");
    BSTR leadText = lead.get();
    VARIANT_BOOL silent = VARIANT_FALSE;
    VbMsgBoxResult result{};
    BoxSeen seen;
    const HRESULT hr = WithBox(
        [&] {
            return err->ErrorDisplayHTTPRequest(request.get(), VbMsgBoxStyle(5 | 48), title.get(), &leadText, &silent,
                                                &result);
        },
        [&](HWND box) {
            seen = Read(box);
            PostMessageW(box, WM_COMMAND, IDRETRY, 0);
        });
    ASSERT_EQ(S_OK, hr);
    EXPECT_EQ(4, result);  // Retry
    EXPECT_EQ(L"Update", seen.caption);
    EXPECT_EQ(L"The download failed.\r\n\r\n" + expectedMessage.str(), seen.text);
    EXPECT_EQ(2u, seen.buttons.size());
}
