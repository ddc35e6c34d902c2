// The update check's rules: the version file's address, the content's parsing, the verdicts
// and the texts the page shows.
#include <gtest/gtest.h>

#include <charconv>
#include <string>

#include "lib/about/update_check_logic.h"

using namespace bk::about;

namespace {

// A stand-in for the platform conversion: blanks around, decimal digits with an optional
// sign. (The real one, VarI4FromStr, is checked through the dialog against a server.)
bool Convert(std::wstring_view text, std::int32_t& value) {
    while (!text.empty() && text.front() == L' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == L' ') text.remove_suffix(1);
    if (text.empty()) return false;
    std::string narrow;
    for (wchar_t c : text) {
        if (c > 0x7F) return false;
        narrow += static_cast<char>(c);
    }
    const auto r = std::from_chars(narrow.data(), narrow.data() + narrow.size(), value);
    return r.ec == std::errc() && r.ptr == narrow.data() + narrow.size();
}

VersionFetch Content(std::wstring text) {
    VersionFetch f;
    f.text = std::move(text);
    return f;
}

const std::wstring kWrong = L"Сведения о версии программы на сайте получены, но они содержат ошибку.";

TEST(UpdateCheckAddress, VersionFileAndTranslationKey) {
    EXPECT_EQ(L"http://www.orvex.example/programs/win32/versions/Version.Metaview.DAT",
              VersionFileUrl(kDefaultUpdateHost, L"Metaview"));
    EXPECT_EQ(L"http://127.0.0.1:8123/programs/win32/versions/Version.Dummy.DAT",
              VersionFileUrl(L"127.0.0.1:8123", kDummyInternalName));
    EXPECT_EQ(L"\\StringFileInfo\\041904B0\\InternalName", InternalNameKey(0x0419, 1200));
    EXPECT_EQ(L"\\StringFileInfo\\040904E4\\InternalName", InternalNameKey(0x0409, 0x04E4));
    EXPECT_EQ(L"Нажмите кнопку для проверки версии программы на сайте.\r\n\r\nРесурс: Version.Metaview.DAT",
              PreparedUpdateInfo(kUpdateInfoCaption, L"Metaview"));
}

TEST(UpdateCheckParse, ExactlyThreeNumberedParts) {
    VersionNumbers v;
    EXPECT_EQ(ParseOutcome::Parsed, ParseVersionText(L"3.08.0001", Convert, v));
    EXPECT_EQ(3, v.major);
    EXPECT_EQ(8, v.minor);
    EXPECT_EQ(1, v.revision);
    const VersionNumbers untouched{7, 7, 7};
    for (const wchar_t* text : {L"3.08", L"3.08.0001.5", L"", L"3", L"...", L"1.2.3.4.5.6.7"}) {
        v = untouched;
        EXPECT_EQ(ParseOutcome::WrongParts, ParseVersionText(text, Convert, v)) << text;
        EXPECT_EQ(7, v.major) << "nothing is kept of a malformed content";
    }
    for (const wchar_t* text : {L"3.x.1", L"3..1", L"3.08.", L"a.b.c", L"3.99999999999.1"}) {
        v = untouched;
        EXPECT_EQ(ParseOutcome::WrongNumbers, ParseVersionText(text, Convert, v)) << text;
        EXPECT_EQ(7, v.major);
    }
    // The parts are handed to the conversion as they are, blanks included.
    EXPECT_EQ(ParseOutcome::Parsed, ParseVersionText(L" 3 . 08 . 1 ", Convert, v));
}

TEST(UpdateCheckVerdict, MajorThenMinorThenRevision) {
    EXPECT_EQ(Verdict::UpToDate, CompareVersions({3, 8, 1}, {3, 8, 1}));
    EXPECT_EQ(Verdict::UpdateAvailable, CompareVersions({3, 8, 5}, {3, 9, 0})) << "minor before revision";
    EXPECT_EQ(Verdict::LocalNewer, CompareVersions({4, 0, 0}, {3, 99, 9999}));
    EXPECT_EQ(Verdict::UpdateAvailable, CompareVersions({1, 0, 0}, {1, 0, 1}));
    EXPECT_EQ(Verdict::LocalNewer, CompareVersions({0, 0, 0}, {-1, 5, 5})) << "signed numbers";
}

TEST(UpdateCheckView, VerdictsSwitchToTheResultLayout) {
    UpdatePageView view = UpdateCheckView(Content(L"3.08.0001"), {3, 8, 1}, Convert);
    EXPECT_TRUE(view.resultLayout);
    EXPECT_EQ(L"У Вас свежая версия - обновление не требуется ^_^", view.result);
    EXPECT_EQ(L"3.08.0001", view.localVersion);
    EXPECT_EQ(L"3.08.0001", view.siteVersion);

    view = UpdateCheckView(Content(L"3.9.0"), {3, 8, 5}, Convert);
    EXPECT_EQ(L"На сайте свежая версия - можно обновляться ^_^", view.result);
    EXPECT_EQ(L"3.09.0000", view.siteVersion);
    EXPECT_EQ(L"3.08.0005", view.localVersion);

    view = UpdateCheckView(Content(L"3.99.9999"), {4, 0, 0}, Convert);
    EXPECT_EQ(L"Привет, Kova-чан ^_~", view.result);
}

TEST(UpdateCheckView, FailuresStayInTheRequestLayout) {
    UpdatePageView view = UpdateCheckView(Content(L"3.08"), {1, 0, 0}, Convert);
    EXPECT_FALSE(view.resultLayout);
    EXPECT_EQ(kWrong, view.info);
    EXPECT_TRUE(view.result.empty() && view.siteVersion.empty());

    view = UpdateCheckView(Content(L"3.x.1"), {1, 0, 0}, Convert);
    EXPECT_FALSE(view.resultLayout);
    EXPECT_EQ(kWrong + L" Номера указаны неверно.", view.info);

    VersionFetch tooLong;
    tooLong.stage = VersionFetch::Stage::TooLong;
    view = UpdateCheckView(tooLong, {1, 0, 0}, Convert);
    EXPECT_FALSE(view.resultLayout);
    EXPECT_EQ(kWrong, view.info);

    VersionFetch download;
    download.stage = VersionFetch::Stage::DownloadFailed;
    download.number = static_cast<long>(0x800C0005);
    download.description = L"The server or proxy was not found.";
    view = UpdateCheckView(download, {1, 0, 0}, Convert);
    EXPECT_FALSE(view.resultLayout);
    EXPECT_EQ(L"Не удалось получить сведения о версии программы на сайте. Ошибка 0x800C0005: "
              L"The server or proxy was not found.",
              view.info);

    VersionFetch read;
    read.stage = VersionFetch::Stage::ReadFailed;
    read.number = 53;
    read.description = L"File not found";
    view = UpdateCheckView(read, {1, 0, 0}, Convert);
    EXPECT_EQ(L"Не удалось прочитать полученные сведения о версии программы на сайте. Ошибка 53: File not found",
              view.info);
}

}  // namespace
