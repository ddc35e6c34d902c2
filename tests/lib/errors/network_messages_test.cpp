// The messages of network request objects: every result code of the three tables in both
// languages, how the parts are put together, and which properties are read when.
#include <gtest/gtest.h>

#include <map>
#include <variant>
#include <vector>

#include "lib/errors/network_messages.h"

using namespace bk::errors;

namespace {

constexpr auto En = MessageLanguage::English;
constexpr auto Ru = MessageLanguage::Russian;

// A request object of properties given by name; reads are logged, a missing one fails.
class Fake final : public RequestProperties {
public:
    Fake& Set(std::wstring name, long value) {
        values[std::move(name)] = value;
        return *this;
    }
    Fake& Set(std::wstring name, std::wstring value) {
        values[std::move(name)] = std::move(value);
        return *this;
    }

    bool Number(std::wstring_view name, long& value) override {
        reads.emplace_back(name);
        const auto it = values.find(std::wstring(name));
        if (it == values.end() || !std::holds_alternative<long>(it->second)) return false;
        value = std::get<long>(it->second);
        return true;
    }
    bool Text(std::wstring_view name, std::wstring& value) override {
        reads.emplace_back(name);
        const auto it = values.find(std::wstring(name));
        if (it == values.end() || !std::holds_alternative<std::wstring>(it->second)) return false;
        value = std::get<std::wstring>(it->second);
        return true;
    }
    bool SystemErrorText(long code, std::wstring& text) override {
        text = code == 2 ? L"The system cannot find the file specified." : L"";
        return true;
    }

    std::map<std::wstring, std::variant<long, std::wstring>> values;
    std::vector<std::wstring> reads;
};

Fake Http(long lastRC, long responseCode = 0, std::wstring responseText = L"", long errorCode = 0,
          std::wstring errorText = L"") {
    Fake f;
    f.Set(L"LastRC", lastRC).Set(L"ResponseCode", responseCode).Set(L"ResponseText", std::move(responseText));
    f.Set(L"ErrorCode", errorCode).Set(L"ErrorText", std::move(errorText));
    return f;
}

Fake WGet(long lastRC, long exitCode = 0, std::wstring log = L"", long win32 = 0) {
    Fake f;
    f.Set(L"LastRC", lastRC).Set(L"WGetReturnCode", exitCode).Set(L"OutputLog", std::move(log));
    f.Set(L"Win32ErrorCode", win32);
    return f;
}

struct Row {
    long code;
    const wchar_t* english;
    const wchar_t* russian;
};

const Row kHttp[] = {
    {0, L"Operation completed successfully.", L"Операция завершена успешно."},
    {1, L"InternetOpen() failed.", L"Ошибка функции InternetOpen()."},
    {2, L"InternetConnect() failed.", L"Ошибка функции InternetConnect()."},
    {3, L"InternetOpenRequest() failed.", L"Ошибка функции InternetOpenRequest()."},
    {4, L"InternetSendRequest() failed.", L"Ошибка функции InternetSendRequest()."},
    {5, L"InternetSendRequestEx() failed.", L"Ошибка функции InternetSendRequestEx()."},
    {6, L"InternetWriteFile() failed.", L"Ошибка функции InternetWriteFile()."},
    {7, L"InternetEndRequest() failed.", L"Ошибка функции InternetEndRequest()."},
    {8, L"InternetReadFile() failed.", L"Ошибка функции InternetReadFile()."},
    {9, L"Operation canceled.", L"Операция была отменена."},
    {10, L"InternetSetOption() failed. Can't set proxy server user name.",
     L"Ошибка функции InternetSetOption(). Не удалось установить имя пользователя прокси-сервера."},
    {11, L"InternetSetOption() failed. Can't set proxy server password.",
     L"Ошибка функции InternetSetOption(). Не удалось установить пароль прокси-сервера."},
    {12, L"InternetSetOption() failed. Can't set server user name.",
     L"Ошибка функции InternetSetOption(). Не удалось установить имя пользователя сервера."},
    {13, L"InternetSetOption() failed. Can't set server password.",
     L"Ошибка функции InternetSetOption(). Не удалось установить пароль сервера."},
    {14, L"Invalid compressed data were received from server.", L"Сервер вернул неверные сжатые данные."},
};

const Row kFtp[] = {
    {0, L"Operation completed successfully.", L"Операция завершена успешно."},
    {1, L"InternetOpen() failed.", L"Ошибка функции InternetOpen()."},
    {2, L"InternetConnect() failed.", L"Ошибка функции InternetConnect()."},
    {3, L"Connection was already established.", L"Соединение уже установлено."},
    {4, L"Connection was not established yet.", L"Соединение ещё не установлено."},
    {5, L"FtpGetCurrentDirectory() failed.", L"Ошибка функции FtpGetCurrentDirectory()."},
    {6, L"FtpSetCurrentDirectory() failed.", L"Ошибка функции FtpSetCurrentDirectory()."},
    {7, L"FtpCreateDirectory() failed.", L"Ошибка функции FtpCreateDirectory()."},
    {8, L"FtpRemoveDirectory() failed.", L"Ошибка функции FtpRemoveDirectory()."},
    {9, L"FtpFindFirstFile() failed.", L"Ошибка функции FtpFindFirstFile()."},
    {10, L"InternetFindNextFile() failed.", L"Ошибка функции InternetFindNextFile()."},
    {11, L"FtpGetFile() failed.", L"Ошибка функции FtpGetFile()."},
    {12, L"FtpPutFile() failed.", L"Ошибка функции FtpPutFile()."},
    {13, L"FtpRenameFile() failed.", L"Ошибка функции FtpRenameFile()."},
    {14, L"FtpDeleteFile() failed.", L"Ошибка функции FtpDeleteFile()."},
};

// WGet's 6 is followed by the exit-code suffix, tested on its own.
const Row kWGet[] = {
    {0, L"Operation completed successfully.", L"Операция завершена успешно."},
    {1, L"URL is not specified.", L"URL не задан."},
    {2, L"Error writing cookie file.", L"Ошибка записи файла куков."},
    {3, L"Error writing optional data file.", L"Ошибка записи файла опциональных данных."},
    {4, L"Can't run WGet.", L"Не удалось запустить WGet."},
    {5, L"Error reading WGet log file.", L"Ошибка чтения файла лога WGet."},
    {7, L"Error reading request results file.", L"Ошибка чтения файла результатов запроса."},
    {8, L"Error reading cookie file.", L"Ошибка чтения файла куков."},
    {98, L"Operation canceled.", L"Операция была отменена."},
    {99, L"Unknown error.", L"Неизвестная ошибка."},
};

const Row kExitCodes[] = {
    {1, L"Generic error code", L"Общий код ошибки"},
    {2, L"Parse error (command-line options, \".wgetrc\", \".netrc\" etc)",
     L"Ошибка парсинга (командная строка, \".wgetrc\", \".netrc\" etc)"},
    {3, L"File I/O error", L"Ошибка ввода-вывода"},
    {4, L"Network failure", L"Сетевая ошибка"},
    {5, L"SSL verification failure", L"Ошибка верификации SSL"},
    {6, L"Username/password authentication failure", L"Ошибка аутентификации по логину/паролю"},
    {7, L"Protocol errors", L"Ошибка протоколов"},
    {8, L"Server issued an error response", L"Сервер вернул ответ с ошибкой"},
    {9, L"Unknown error", L"Неизвестная ошибка"},
    {-1, L"Unknown error", L"Неизвестная ошибка"},
};

}  // namespace

TEST(NetworkTables, EveryResultCodeAloneInBothLanguages) {
    for (MessageLanguage language : {En, Ru}) {
        auto expected = [&](const Row& row) { return std::wstring(language == En ? row.english : row.russian); };
        for (const Row& row : kHttp) {
            Fake f = Http(row.code);
            EXPECT_EQ(expected(row), BuildHttpRequestMessage(f, language)) << row.code;
        }
        for (const Row& row : kFtp) {
            Fake f = Http(row.code);
            EXPECT_EQ(expected(row), BuildFtpClientMessage(f, language)) << row.code;
        }
        for (const Row& row : kWGet) {
            Fake f = WGet(row.code);
            EXPECT_EQ(expected(row), BuildWGetRequestMessage(f, language)) << row.code;
        }
        for (const Row& row : kExitCodes) EXPECT_EQ(expected(row), WGetExitCodeText(row.code, language)) << row.code;
    }
    // Codes the tables lack give no first line.
    for (long code : {-1L, 15L, 100L}) {
        EXPECT_FALSE(HttpRequestResultText(code, En)) << code;
        EXPECT_FALSE(FtpClientResultText(code, Ru)) << code;
    }
    for (long code : {9L, 10L, 97L, 100L}) EXPECT_FALSE(WGetRequestResultText(code, En)) << code;
    EXPECT_EQ(Ru, MessageLanguageOf(1049));
    EXPECT_EQ(En, MessageLanguageOf(1033));
    EXPECT_EQ(En, MessageLanguageOf(1058));  // Ukrainian is not Russian
}

TEST(HttpRequestMessage, ResponseAndInternetErrorParts) {
    Fake notFound = Http(4, 404, L"Not Found");
    EXPECT_EQ(L"InternetSendRequest() failed.\r\n\r\nHTTP response: 404, Not Found.",
              BuildHttpRequestMessage(notFound, En));
    // The labels stay English in Russian messages.
    Fake russian = Http(4, 404, L"Not Found");
    EXPECT_EQ(L"Ошибка функции InternetSendRequest().\r\n\r\nHTTP response: 404, Not Found.",
              BuildHttpRequestMessage(russian, Ru));
    // A code the table lacks: the message starts with the parts that follow.
    Fake unknown = Http(15, 500, L"", 12002, L"The operation timed out");
    EXPECT_EQ(L"HTTP response: 500\r\nWinInet error: 12002\r\nDescription:   The operation timed out",
              BuildHttpRequestMessage(unknown, En));
    Fake errorOnly = Http(8, 0, L"ignored", 12029, L"");
    EXPECT_EQ(L"InternetReadFile() failed.\r\n\r\nWinInet error: 12029", BuildHttpRequestMessage(errorOnly, En));
    // Line breaks of the object's texts at the message's end go with the others.
    Fake trailing = Http(1, 0, L"", 12007, L"Name not resolved\r\n");
    EXPECT_EQ(L"InternetOpen() failed.\r\n\r\nWinInet error: 12007\r\nDescription:   Name not resolved",
              BuildHttpRequestMessage(trailing, En));
    Fake nothing = Http(77);
    EXPECT_EQ(L"", BuildHttpRequestMessage(nothing, En));
}

TEST(FtpClientMessage, NoResponsePart) {
    Fake f = Http(6, 550, L"never shown", 12003, L"Extended error");
    EXPECT_EQ(L"FtpSetCurrentDirectory() failed.\r\n\r\nWinInet error: 12003\r\nDescription:   Extended error",
              BuildFtpClientMessage(f, En));
    EXPECT_EQ((std::vector<std::wstring>{L"LastRC", L"ErrorCode", L"ErrorText"}), f.reads);
}

TEST(WGetRequestMessage, ExitCodeSuffixAndLog) {
    Fake exitZero = WGet(6, 0, L"--2024-01-01--  http://x/\r\nERROR 404");
    EXPECT_EQ(L"WGet execution results in error.\r\n\r\nWGet's messages:\r\n\r\n--2024-01-01--  http://x/\r\nERROR 404",
              BuildWGetRequestMessage(exitZero, En));
    Fake server = WGet(6, 8, L"log");
    EXPECT_EQ(
        L"WGet execution results in error #8: Server issued an error response.\r\n\r\nWGet's messages:\r\n\r\nlog",
        BuildWGetRequestMessage(server, En));
    Fake russian = WGet(6, 4, L"журнал");
    EXPECT_EQ(L"Выполнение WGet завершилось ошибкой #4: Сетевая ошибка.\r\n\r\nWGet's messages:\r\n\r\nжурнал",
              BuildWGetRequestMessage(russian, Ru));
    Fake unknownExit = WGet(6, 42, L"");
    EXPECT_EQ(L"WGet execution results in error #42: Unknown error.\r\n\r\nWGet's messages:",
              BuildWGetRequestMessage(unknownExit, En));
}

TEST(WGetRequestMessage, SystemErrorOfAFailedStart) {
    Fake cantRun = WGet(4, 0, L"", 2);
    EXPECT_EQ(L"Can't run WGet.\r\n\r\nWin32 error: 2\r\nDescription: The system cannot find the file specified.",
              BuildWGetRequestMessage(cantRun, En));
    Fake noText = WGet(4, 0, L"", 0x20000001);  // the system has no text for it
    EXPECT_EQ(L"Can't run WGet.\r\n\r\nWin32 error: 0x20000001\r\nDescription: ", BuildWGetRequestMessage(noText, En));
    Fake noCode = WGet(4);
    EXPECT_EQ(L"Can't run WGet.", BuildWGetRequestMessage(noCode, En));
    // The system error belongs to a failed start only.
    Fake other = WGet(5, 0, L"", 2);
    EXPECT_EQ(L"Error reading WGet log file.", BuildWGetRequestMessage(other, En));
}

TEST(NetworkMessages, PropertiesAreReadOnlyWhenShownAndAMissingOneFails) {
    Fake http = Http(4, 0, L"", 0);
    ASSERT_TRUE(BuildHttpRequestMessage(http, En));
    EXPECT_EQ((std::vector<std::wstring>{L"LastRC", L"ResponseCode", L"ErrorCode"}), http.reads);
    Fake full = Http(4, 200, L"OK", 1, L"x");
    ASSERT_TRUE(BuildHttpRequestMessage(full, En));
    EXPECT_EQ((std::vector<std::wstring>{L"LastRC", L"ResponseCode", L"ResponseText", L"ErrorCode", L"ErrorText"}),
              full.reads);

    // An object with LastRC alone serves while nothing else is needed...
    Fake minimal;
    minimal.Set(L"LastRC", 1L);
    EXPECT_EQ(L"URL is not specified.", BuildWGetRequestMessage(minimal, En));
    // ...and fails at the first property a message needs and the object lacks.
    Fake noLog;
    noLog.Set(L"LastRC", 6L).Set(L"WGetReturnCode", 1L);
    EXPECT_FALSE(BuildWGetRequestMessage(noLog, En));
    EXPECT_EQ(L"OutputLog", noLog.reads.back());
    Fake noResponse;
    noResponse.Set(L"LastRC", 0L);
    EXPECT_FALSE(BuildHttpRequestMessage(noResponse, En));
    EXPECT_EQ(L"ResponseCode", noResponse.reads.back());
    Fake noErrorText = Http(0, 0, L"", 5);
    noErrorText.values.erase(L"ErrorText");
    EXPECT_FALSE(BuildFtpClientMessage(noErrorText, En));
    Fake nothing;
    EXPECT_FALSE(BuildFtpClientMessage(nothing, Ru));
}
