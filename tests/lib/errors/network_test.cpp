// orxErr's network messages through the real COM object, with small automation objects standing
// for the request objects. The language follows the user's default language: run once as set
// up, and once more under a Russian locale.
#include <gtest/gtest.h>

#include <cstdlib>

#include "lib/errors/network_messages.h"
#include "tests/harness/fake_controls.h"
#include "tests/harness/library.h"

using namespace bktest;
using bk::errors::MessageLanguage;

namespace {

bool Russian() { return GetUserDefaultLangID() == 1049; }
MessageLanguage RunLanguage() { return Russian() ? MessageLanguage::Russian : MessageLanguage::English; }
std::wstring InRunLanguage(std::wstring_view english, std::wstring_view russian) {
    return std::wstring(Russian() ? russian : english);
}

ComPtr<FakeObject> HttpRequest(long lastRC, long responseCode = 0, std::wstring_view responseText = L"",
                               long errorCode = 0, std::wstring_view errorText = L"") {
    auto o = FakeObject::Make();
    o->Property(L"LastRC", lastRC).Property(L"ResponseCode", responseCode).Property(L"ResponseText", responseText);
    o->Property(L"ErrorCode", errorCode).Property(L"ErrorText", errorText);
    return o;
}

ComPtr<FakeObject> WGetRequest(long lastRC, long exitCode = 0, std::wstring_view log = L"", long win32 = 0) {
    auto o = FakeObject::Make();
    o->Property(L"LastRC", lastRC).Property(L"WGetReturnCode", exitCode).Property(L"OutputLog", log);
    o->Property(L"Win32ErrorCode", win32);
    return o;
}

enum class Kind { Http, Ftp, WGet };

class NetworkMessages : public testing::Test {
protected:
    void SetUp() override {
        err = Create<_orxErr>(CLSID_orxErr);
        ASSERT_TRUE(err);
    }
    HRESULT Message(Kind kind, IDispatch* object, std::wstring& text) {
        Bstr out;
        HRESULT hr = E_FAIL;
        switch (kind) {
        case Kind::Http: hr = err->GetErrorMessageHTTPRequest(object, out.put()); break;
        case Kind::Ftp: hr = err->GetErrorMessageFTPClient(object, out.put()); break;
        case Kind::WGet: hr = err->GetErrorMessageHTTPRequestHT(object, out.put()); break;
        }
        text = out.str();
        return hr;
    }
    std::wstring Message(Kind kind, IDispatch* object) {
        std::wstring text;
        const HRESULT hr = Message(kind, object, text);
        EXPECT_EQ(S_OK, hr) << LastError(hr).description;
        return text;
    }

    ComPtr<_orxErr> err;
};

}  // namespace

TEST_F(NetworkMessages, EveryResultCodeOfTheThreeTablesInTheUsersLanguage) {
    // The Russian run says which language it must be.
    if (const char* expected = std::getenv("BK_EXPECT_LANGID")) {
        ASSERT_EQ(std::atoi(expected), GetUserDefaultLangID());
    }
    int rows = 0;
    for (long code = -1; code <= 100; ++code) {
        auto http = HttpRequest(code), wget = WGetRequest(code);
        const auto httpText = bk::errors::HttpRequestResultText(code, RunLanguage());
        const auto ftpText = bk::errors::FtpClientResultText(code, RunLanguage());
        auto wgetText = bk::errors::WGetRequestResultText(code, RunLanguage());
        EXPECT_EQ(httpText ? std::wstring(*httpText) : L"", Message(Kind::Http, http.get())) << code;
        EXPECT_EQ(ftpText ? std::wstring(*ftpText) : L"", Message(Kind::Ftp, http.get())) << code;
        const std::wstring wgetExpected = wgetText ? std::wstring(*wgetText) + (code == 6 ? L"." : L"") : L"";
        const std::wstring wgetMessage = Message(Kind::WGet, wget.get());
        EXPECT_EQ(wgetExpected, wgetMessage.substr(0, wgetMessage.find(L'\r'))) << code;
        rows += (httpText ? 1 : 0) + (ftpText ? 1 : 0) + (wgetText ? 1 : 0);
    }
    EXPECT_EQ(15 + 15 + 11, rows);
    // A few texts as they read, in this run's language.
    auto sent = HttpRequest(4);
    EXPECT_EQ(InRunLanguage(L"InternetSendRequest() failed.", L"Ошибка функции InternetSendRequest()."),
              Message(Kind::Http, sent.get()));
    auto ftp = HttpRequest(4);
    EXPECT_EQ(InRunLanguage(L"Connection was not established yet.", L"Соединение ещё не установлено."),
              Message(Kind::Ftp, ftp.get()));
    auto canceled = WGetRequest(98);
    EXPECT_EQ(InRunLanguage(L"Operation canceled.", L"Операция была отменена."), Message(Kind::WGet, canceled.get()));
}

TEST_F(NetworkMessages, ResponseAndErrorPartsKeepEnglishLabels) {
    auto notFound = HttpRequest(4, 404, L"Not Found");
    EXPECT_EQ(InRunLanguage(L"InternetSendRequest() failed.", L"Ошибка функции InternetSendRequest().") +
                  L"\r\n\r\nHTTP response: 404, Not Found.",
              Message(Kind::Http, notFound.get()));
    auto timeout = HttpRequest(15, 0, L"", 12002, L"The operation timed out");
    EXPECT_EQ(L"WinInet error: 12002\r\nDescription:   The operation timed out", Message(Kind::Http, timeout.get()));
    EXPECT_EQ(L"WinInet error: 12002\r\nDescription:   The operation timed out", Message(Kind::Ftp, timeout.get()));
    // Values are taken by the automation rules: a number given as text serves.
    auto texts = FakeObject::Make();
    texts->Property(L"LastRC", std::wstring_view(L"15")).Property(L"ResponseCode", std::wstring_view(L"503"));
    texts->Property(L"ResponseText", std::wstring_view(L"Busy")).Property(L"ErrorCode", 0L);
    EXPECT_EQ(L"HTTP response: 503, Busy.", Message(Kind::Http, texts.get()));
}

TEST_F(NetworkMessages, WGetsLogAndTheSystemsTextOfAFailedStart) {
    const std::wstring log =
        L"--2024-05-01 10:00:00--  http://example.com/x\r\n"
        L"Resolving example.com... failed: Name or service not known.\r\n"
        L"wget: unable to resolve host address 'example.com'\r\n";
    auto failed = WGetRequest(6, 4, log);
    EXPECT_EQ(InRunLanguage(L"WGet execution results in error #4: Network failure.",
                            L"Выполнение WGet завершилось ошибкой #4: Сетевая ошибка.") +
                  L"\r\n\r\nWGet's messages:\r\n\r\n" + log.substr(0, log.size() - 2),
              Message(Kind::WGet, failed.get()));
    auto exitZero = WGetRequest(6, 0, L"done");
    EXPECT_EQ(InRunLanguage(L"WGet execution results in error.", L"Выполнение WGet завершилось ошибкой.") +
                  L"\r\n\r\nWGet's messages:\r\n\r\ndone",
              Message(Kind::WGet, exitZero.get()));

    auto cantRun = WGetRequest(4, 0, L"", ERROR_FILE_NOT_FOUND);
    const std::wstring text = Message(Kind::WGet, cantRun.get());
    const std::wstring head = InRunLanguage(L"Can't run WGet.", L"Не удалось запустить WGet.") +
                              L"\r\n\r\nWin32 error: 2\r\nDescription: ";
    ASSERT_EQ(head, text.substr(0, head.size())) << text;
    EXPECT_GT(text.size(), head.size());  // the system's own words for it
    EXPECT_NE(L'\n', text.back());
}

TEST_F(NetworkMessages, MissingOrUnusablePropertiesFailTheCall) {
    // The failure is the object's: no member of that name (438).
    auto partial = FakeObject::Make();
    partial->Property(L"LastRC", 4L);
    std::wstring text = L"untouched";
    EXPECT_EQ(438, LastError(Message(Kind::Http, partial.get(), text)).number);
    EXPECT_EQ(L"", text);
    // Only what a message shows is needed: LastRC 1 of WGet reads nothing more.
    auto minimal = FakeObject::Make();
    minimal->Property(L"LastRC", 1L);
    EXPECT_EQ(InRunLanguage(L"URL is not specified.", L"URL не задан."), Message(Kind::WGet, minimal.get()));
    auto noLog = FakeObject::Make();
    noLog->Property(L"LastRC", 6L).Property(L"WGetReturnCode", 1L);
    EXPECT_EQ(438, LastError(Message(Kind::WGet, noLog.get(), text)).number);
    // A value that is no number: type mismatch.
    auto word = HttpRequest(0);
    word->Property(L"LastRC", std::wstring_view(L"four"));
    EXPECT_EQ(13, LastError(Message(Kind::Ftp, word.get(), text)).number);
    // A property that raises its own error passes it on.
    auto raising = HttpRequest(0);
    raising->Member(L"ErrorCode", [](WORD, std::span<VARIANT* const>, VARIANT*) { return HRESULT(0x800A0046); });
    EXPECT_EQ(70, LastError(Message(Kind::Ftp, raising.get(), text)).number);
}

TEST_F(NetworkMessages, NoObjectGivesAnEmptyMessageAndNoBox) {
    for (Kind kind : {Kind::Http, Kind::Ftp, Kind::WGet}) EXPECT_EQ(L"", Message(kind, nullptr));
    VbMsgBoxResult result = vbOK;
    EXPECT_EQ(S_OK, err->ErrorDisplayHTTPRequest(nullptr, VbMsgBoxStyle(16), nullptr, nullptr, nullptr, &result));
    EXPECT_EQ(0, result);
    result = vbOK;
    EXPECT_EQ(S_OK, err->ErrorDisplayFTPClient(nullptr, VbMsgBoxStyle(16), nullptr, nullptr, nullptr, &result));
    EXPECT_EQ(0, result);
    result = vbOK;
    EXPECT_EQ(S_OK, err->ErrorDisplayHTTPRequestHT(nullptr, VbMsgBoxStyle(16), nullptr, nullptr, nullptr, &result));
    EXPECT_EQ(0, result);
}

TEST_F(NetworkMessages, SilentDisplayAndLateBoundCalls) {
    auto request = HttpRequest(2);
    VARIANT_BOOL silent = VARIANT_TRUE;
    VbMsgBoxResult result{};
    EXPECT_EQ(S_OK, err->ErrorDisplayHTTPRequest(request.get(), VbMsgBoxStyle(4), nullptr, nullptr, &silent, &result));
    EXPECT_EQ(1, result);
    // A failed read fails the display too, before anything is shown.
    auto broken = FakeObject::Make();
    EXPECT_EQ(438,
              LastError(err->ErrorDisplayFTPClient(broken.get(), VbMsgBoxStyle(0), nullptr, nullptr, &silent, &result))
                  .number);

    Dispatch late(err);
    Variant object = Variant::FromDispatch(request.get()), message;
    ASSERT_EQ(S_OK, late.Method(L"GetErrorMessageHTTPRequest", {object.get()}, message.get()));
    EXPECT_EQ(InRunLanguage(L"InternetConnect() failed.", L"Ошибка функции InternetConnect()."), Text(*message.get()));
    Variant missing = Variant::Missing(), lateSilent = Variant::FromBool(true), shown;
    auto wget = WGetRequest(0);
    Variant wgetObject = Variant::FromDispatch(wget.get());
    ASSERT_EQ(S_OK, late.Method(L"ErrorDisplayHTTPRequestHT",
                                {wgetObject.get(), missing.get(), missing.get(), missing.get(), lateSilent.get()},
                                shown.get()));
    EXPECT_EQ(1, V_I4(shown.get()));
}
