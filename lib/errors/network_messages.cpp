#include "lib/errors/network_messages.h"

#include <span>

#include "support/as/errornumber.h"
#include "support/as/text.h"

namespace bk::errors {
namespace {

constexpr std::wstring_view kCrLf = L"\r\n";

struct ResultText {
    long code;
    std::wstring_view english;
    std::wstring_view russian;
};

constexpr ResultText kHttpRequest[] = {
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

constexpr ResultText kFtpClient[] = {
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

constexpr long kWGetCantRun = 4;
constexpr long kWGetRunFailed = 6;

constexpr ResultText kWGetRequest[] = {
    {0, L"Operation completed successfully.", L"Операция завершена успешно."},
    {1, L"URL is not specified.", L"URL не задан."},
    {2, L"Error writing cookie file.", L"Ошибка записи файла куков."},
    {3, L"Error writing optional data file.", L"Ошибка записи файла опциональных данных."},
    {kWGetCantRun, L"Can't run WGet.", L"Не удалось запустить WGet."},
    {5, L"Error reading WGet log file.", L"Ошибка чтения файла лога WGet."},
    // Followed by the exit-code suffix.
    {kWGetRunFailed, L"WGet execution results in error", L"Выполнение WGet завершилось ошибкой"},
    {7, L"Error reading request results file.", L"Ошибка чтения файла результатов запроса."},
    {8, L"Error reading cookie file.", L"Ошибка чтения файла куков."},
    {98, L"Operation canceled.", L"Операция была отменена."},
    {99, L"Unknown error.", L"Неизвестная ошибка."},
};

constexpr ResultText kWGetExitCodes[] = {
    {1, L"Generic error code", L"Общий код ошибки"},
    {2, L"Parse error (command-line options, \".wgetrc\", \".netrc\" etc)",
     L"Ошибка парсинга (командная строка, \".wgetrc\", \".netrc\" etc)"},
    {3, L"File I/O error", L"Ошибка ввода-вывода"},
    {4, L"Network failure", L"Сетевая ошибка"},
    {5, L"SSL verification failure", L"Ошибка верификации SSL"},
    {6, L"Username/password authentication failure", L"Ошибка аутентификации по логину/паролю"},
    {7, L"Protocol errors", L"Ошибка протоколов"},
    {8, L"Server issued an error response", L"Сервер вернул ответ с ошибкой"},
};

std::optional<std::wstring_view> Lookup(std::span<const ResultText> table, long code, MessageLanguage language) {
    for (const ResultText& row : table)
        if (row.code == code) return language == MessageLanguage::Russian ? row.russian : row.english;
    return std::nullopt;
}

// Steps 1 and 2 of every message: the result code's text and a line break when the table has
// it, then an empty line.
std::wstring Opening(std::optional<std::wstring_view> resultText) {
    std::wstring text;
    if (resultText) {
        text += *resultText;
        text += kCrLf;
    }
    text += kCrLf;
    return text;
}

// "WinInet error: <number>" and, when there is one, the error's text on the next line.
bool AppendInternetError(RequestProperties& request, std::wstring& text) {
    long code = 0;
    if (!request.Number(L"ErrorCode", code)) return false;
    if (code == 0) return true;
    text += L"WinInet error: ";
    text += support::asGetErrorNumber(code);
    std::wstring description;
    if (!request.Text(L"ErrorText", description)) return false;
    if (!description.empty()) {
        text += kCrLf;
        text += L"Description:   ";
        text += description;
    }
    return true;
}

}  // namespace

MessageLanguage MessageLanguageOf(unsigned languageId) {
    return languageId == 1049 ? MessageLanguage::Russian : MessageLanguage::English;
}

std::optional<std::wstring_view> HttpRequestResultText(long lastRC, MessageLanguage language) {
    return Lookup(kHttpRequest, lastRC, language);
}
std::optional<std::wstring_view> FtpClientResultText(long lastRC, MessageLanguage language) {
    return Lookup(kFtpClient, lastRC, language);
}
std::optional<std::wstring_view> WGetRequestResultText(long lastRC, MessageLanguage language) {
    return Lookup(kWGetRequest, lastRC, language);
}
std::wstring_view WGetExitCodeText(long code, MessageLanguage language) {
    if (const auto known = Lookup(kWGetExitCodes, code, language)) return *known;
    return language == MessageLanguage::Russian ? L"Неизвестная ошибка" : L"Unknown error";
}

std::optional<std::wstring> BuildHttpRequestMessage(RequestProperties& request, MessageLanguage language) {
    long lastRC = 0, responseCode = 0;
    if (!request.Number(L"LastRC", lastRC)) return std::nullopt;
    std::wstring text = Opening(HttpRequestResultText(lastRC, language));
    if (!request.Number(L"ResponseCode", responseCode)) return std::nullopt;
    if (responseCode != 0) {
        text += L"HTTP response: ";
        text += std::to_wstring(responseCode);
        std::wstring responseText;
        if (!request.Text(L"ResponseText", responseText)) return std::nullopt;
        if (!responseText.empty()) {
            text += L", ";
            text += responseText;
            text += L".";
        }
        text += kCrLf;
    }
    if (!AppendInternetError(request, text)) return std::nullopt;
    return support::asTrimCRLF(text);
}

std::optional<std::wstring> BuildFtpClientMessage(RequestProperties& request, MessageLanguage language) {
    long lastRC = 0;
    if (!request.Number(L"LastRC", lastRC)) return std::nullopt;
    std::wstring text = Opening(FtpClientResultText(lastRC, language));
    if (!AppendInternetError(request, text)) return std::nullopt;
    return support::asTrimCRLF(text);
}

std::optional<std::wstring> BuildWGetRequestMessage(RequestProperties& request, MessageLanguage language) {
    long lastRC = 0;
    if (!request.Number(L"LastRC", lastRC)) return std::nullopt;
    std::wstring text;
    if (const auto resultText = WGetRequestResultText(lastRC, language)) {
        text += *resultText;
        if (lastRC == kWGetRunFailed) {
            long exitCode = 0;
            if (!request.Number(L"WGetReturnCode", exitCode)) return std::nullopt;
            if (exitCode == 0) {
                text += L".";
            } else {
                text += L" #";
                text += std::to_wstring(exitCode);
                text += L": ";
                text += WGetExitCodeText(exitCode, language);
                text += L".";
            }
        }
        text += kCrLf;
    }
    text += kCrLf;
    if (lastRC == kWGetCantRun) {
        long systemCode = 0;
        if (!request.Number(L"Win32ErrorCode", systemCode)) return std::nullopt;
        if (systemCode != 0) {
            std::wstring description;
            if (!request.SystemErrorText(systemCode, description)) return std::nullopt;
            text += L"Win32 error: ";
            text += support::asGetErrorNumber(systemCode);
            text += kCrLf;
            text += L"Description: ";
            text += description;
            text += kCrLf;
            text += kCrLf;
            text += kCrLf;
        }
    }
    if (lastRC == kWGetRunFailed) {
        std::wstring log;
        if (!request.Text(L"OutputLog", log)) return std::nullopt;
        text += L"WGet's messages:";
        text += kCrLf;
        text += kCrLf;
        text += log;
    }
    return support::asTrimCRLF(text);
}

}  // namespace bk::errors
