// The update check against a local HTTP server: the version files of the site, a missing file
// and no server at all, each read off the page's labels, with its layout and focus.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "lib/about/update_check.h"
#include "support/es/registry.h"
#include "tests/harness/http_server.h"
#include "tests/harness/library.h"
#include "tests/harness/screenshot.h"
#include "tests/harness/shell_records.h"
#include "tests/lib/about/about_driver.h"

using namespace bktest;
using namespace abouttest;

namespace {

constexpr int kMain = 0, kUpdate = 5;
constexpr char kVersionPath[] = "/programs/win32/versions/Version.Dummy.DAT";  // no version resource here
const std::wstring kWrong = L"Сведения о версии программы на сайте получены, но они содержат ошибку.";

// Points the library's update check at `host` for the scope.
class UpdateHostSetting {
public:
    explicit UpdateHostSetting(const std::wstring& host) {
        support::esWriteStringToRegistry(HKEY_CURRENT_USER, bk::about::kLibrarySettingsKey,
                                         bk::about::kUpdateHostValue, host);
    }
    ~UpdateHostSetting() {
        support::esDeleteValueFromRegistry(HKEY_CURRENT_USER, bk::about::kLibrarySettingsKey,
                                           bk::about::kUpdateHostValue);
    }
};

struct PageAfterCheck {
    bool found = false;
    bool focusOnButtonBefore = false;
    bool resultLayout = false;  // button and explanation hidden, result and versions shown
    bool buttonShown = false;
    std::wstring info, result, local, site, url;
    bool focusOnOk = false;
};

// Opens the About box of version major.minor.revision, shows the update page, presses the
// button and reads the page once it has changed.
PageAfterCheck CheckAgainst(const std::wstring& host, LONG major, LONG minor, LONG revision,
                            const wchar_t* screenshot = nullptr,
                            const std::function<void(AboutWindow&)>& after = {}) {
    UpdateHostSetting setting(host);
    PageAfterCheck page;
    auto main = Create<_orxMain>(CLSID_orxMain);
    if (!main) return page;
    WithAbout(
        [&] {
            const Bstr title(L"Update test"), author(L"A"), email(L"a@b.example"), devote(L"D"), none(L""),
                tip(L"Lumen");
            return main->ShowAboutBoxEx(title.get(), nullptr, nullptr, major, minor, revision, author.get(),
                                        email.get(), devote.get(), none.get(), nullptr, tip.get());
        },
        [&](AboutWindow& about) {
            page.found = about.KeyToPage(VK_PRIOR, kUpdate);  // the last page
            HWND button = about.Item(kUpdate, ctl::kUpdateCheck);
            page.focusOnButtonBefore = WaitUntil([&] { return about.Focus() == button; }, 3000);
            const std::wstring before = about.Text(kUpdate, ctl::kUpdateInfo);
            about.Click(kUpdate, ctl::kUpdateCheck);
            WaitUntil([&] {
                return OwnVisible(about.Item(kUpdate, ctl::kUpdateVersionBase + 3)) ||
                       about.Text(kUpdate, ctl::kUpdateInfo) != before;
            }, 20000);
            page.buttonShown = OwnVisible(button);
            page.resultLayout = !OwnVisible(button) && !OwnVisible(about.Item(kUpdate, ctl::kUpdateInfo)) &&
                                OwnVisible(about.Item(kUpdate, ctl::kUpdateResult)) &&
                                OwnVisible(about.Item(kUpdate, ctl::kUpdateURL)) &&
                                OwnVisible(about.Item(kUpdate, ctl::kUpdateVersionBase + 3));
            page.info = about.Text(kUpdate, ctl::kUpdateInfo);
            page.result = about.Text(kUpdate, ctl::kUpdateResult);
            page.local = about.Text(kUpdate, ctl::kUpdateVersionBase + 2);
            page.site = about.Text(kUpdate, ctl::kUpdateVersionBase + 3);
            page.url = about.Text(kUpdate, ctl::kUpdateURL);
            page.focusOnOk = about.Focus() == about.Item(ctl::kOk);
            if (screenshot && !ScreenshotFolder().empty()) {
                RedrawWindow(about.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
                Sleep(300);
                SaveWindowPng(about.hwnd(), ScreenshotFolder() + L"\\" + screenshot + L".png");
            }
            if (after) after(about);
            // Shown again, the page keeps its layout; the focus goes to Ok when the button is gone.
            about.KeyToPage(VK_NEXT, kMain);
            about.KeyToPage(VK_PRIOR, kUpdate);
            if (!page.buttonShown) page.focusOnOk = page.focusOnOk && WaitUntil([&] { return about.Focus() == about.Item(ctl::kOk); }, 3000);
        });
    return page;
}

PageAfterCheck CheckContent(const std::string& content, LONG major, LONG minor, LONG revision,
                            const wchar_t* screenshot = nullptr) {
    LocalHttpServer server;
    EXPECT_TRUE(server.running());
    server.Serve(kVersionPath, content);
    PageAfterCheck page = CheckAgainst(server.host(), major, minor, revision, screenshot);
    EXPECT_NE(std::string::npos, server.RequestLog().find(kVersionPath)) << server.RequestLog();
    return page;
}

TEST(UpdateCheck, EqualVersionsNeedNoUpdate) {
    const PageAfterCheck page = CheckContent("3.08.0001", 3, 8, 1);
    ASSERT_TRUE(page.found);
    EXPECT_TRUE(page.focusOnButtonBefore) << "the update page gives the focus to its button";
    EXPECT_TRUE(page.resultLayout);
    EXPECT_EQ(L"У Вас свежая версия - обновление не требуется ^_^", page.result);
    EXPECT_EQ(L"3.08.0001", page.local);
    EXPECT_EQ(L"3.08.0001", page.site);
    EXPECT_EQ(std::wstring(bk::about::kMakerSiteAddress), page.url);
    EXPECT_TRUE(page.focusOnOk) << "with the button gone the focus is on Ok";
}

TEST(UpdateCheck, NewerOnTheSiteAndNewerHere) {
    PageAfterCheck page = CheckContent("3.9.0", 3, 8, 5, L"about-update-result");
    EXPECT_TRUE(page.resultLayout);
    EXPECT_EQ(L"На сайте свежая версия - можно обновляться ^_^", page.result) << "minor before revision";
    EXPECT_EQ(L"3.09.0000", page.site);
    EXPECT_EQ(L"3.08.0005", page.local);

    page = CheckContent("3.99.9999", 4, 0, 0);
    EXPECT_TRUE(page.resultLayout);
    EXPECT_EQ(L"Привет, Kova-чан ^_~", page.result);
}

TEST(UpdateCheck, TheSiteLinkOpensThroughTheShell) {
    ShellRecording recording;
    ProtocolAssociation https(L"https");
    LocalHttpServer server;
    server.Serve(kVersionPath, "1.0.0");
    std::wstring lines;
    const PageAfterCheck page = CheckAgainst(server.host(), 1, 0, 0, nullptr, [&](AboutWindow& about) {
        about.Click(kUpdate, ctl::kUpdateURL, STN_CLICKED);
        lines = recording.Lines(10000);
    });
    EXPECT_TRUE(page.resultLayout);
    EXPECT_NE(std::wstring::npos, lines.find(std::wstring(bk::about::kMakerSiteAddress)))
        << std::string(lines.begin(), lines.end());
}

TEST(UpdateCheck, MalformedContentKeepsTheRequestLayout) {
    for (const char* content : {"3.08", "3.08.0001.5"}) {
        const PageAfterCheck page = CheckContent(content, 3, 8, 1);
        EXPECT_FALSE(page.resultLayout) << content;
        EXPECT_TRUE(page.buttonShown) << "the check can be made again";
        EXPECT_EQ(kWrong, page.info) << content;
        EXPECT_EQ(L"0.00.0000", page.site) << "versions are not shown";
    }
    const PageAfterCheck letters = CheckContent("3.x.1", 3, 8, 1);
    EXPECT_FALSE(letters.resultLayout);
    EXPECT_EQ(kWrong + L" Номера указаны неверно.", letters.info);

    // Longer than 64 KB: not read at all, whatever it holds.
    const PageAfterCheck huge = CheckContent("3.08.0001" + std::string(70 * 1024, ' '), 3, 8, 1);
    EXPECT_FALSE(huge.resultLayout);
    EXPECT_EQ(kWrong, huge.info);
}

TEST(UpdateCheck, TrailingLineBreakIsLeftToTheNumberConversion) {
    // The last part holds the line break; the platform's conversion decides.
    std::int32_t value = 0;
    const bool converts = bk::about::ConvertVersionPart(L"0001\r\n", value);
    const PageAfterCheck page = CheckContent("3.08.0001\r\n", 3, 8, 1);
    if (converts) {
        EXPECT_TRUE(page.resultLayout);
        EXPECT_EQ(L"У Вас свежая версия - обновление не требуется ^_^", page.result);
    } else {
        EXPECT_FALSE(page.resultLayout);
        EXPECT_EQ(kWrong + L" Номера указаны неверно.", page.info);
    }
    RecordProperty("line_break_converts", converts ? "yes" : "no");
}

TEST(UpdateCheck, MissingFileAndNoServerShowTheError) {
    {
        LocalHttpServer server;  // serves nothing: 404
        const PageAfterCheck page = CheckAgainst(server.host(), 1, 0, 0);
        EXPECT_FALSE(page.resultLayout);
        EXPECT_TRUE(page.buttonShown);
        EXPECT_EQ(0u, page.info.find(L"Не удалось получить сведения о версии программы на сайте. Ошибка 0x"))
            << std::string(page.info.begin(), page.info.end());
        EXPECT_NE(std::wstring::npos, page.info.find(L"(HTTP 404)")) << "with the error's description";
    }
    const PageAfterCheck page = CheckAgainst(L"127.0.0.1:" + std::to_wstring(LocalHttpServer::UnusedPort()), 1, 0, 0);
    EXPECT_FALSE(page.resultLayout);
    EXPECT_EQ(0u, page.info.find(L"Не удалось получить сведения о версии программы на сайте. Ошибка 0x"));
}

TEST(UpdateCheck, ProgramWithoutVersionResourceIsDummy) {
    EXPECT_EQ(L"Dummy", bk::about::GetAppInternalName());
    EXPECT_EQ(L"Basekit0308", bk::about::InternalNameOf(BinFile(L"Basekit0308.dll")));
    EXPECT_EQ(L"Dummy", bk::about::InternalNameOf(BinFile(L"no-such-file.dll")));
}

}  // namespace
