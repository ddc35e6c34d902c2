// The messages of network request objects: an HTTP request and an FTP client built on the
// system's Internet functions, and an HTTP request that runs WGet. The objects' own result
// codes have texts in English and in Russian; the labels are English in both. Platform-free:
// the properties are read through a RequestProperties the caller provides.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace bk::errors {

enum class MessageLanguage { English, Russian };

// Russian for the user's default language 1049, English for any other.
MessageLanguage MessageLanguageOf(unsigned languageId);

// The request object's properties, read by name when a message needs them. A read that fails
// returns false; the message is then not made (the caller has the failure).
class RequestProperties {
public:
    virtual ~RequestProperties() = default;
    virtual bool Number(std::wstring_view name, long& value) = 0;
    virtual bool Text(std::wstring_view name, std::wstring& value) = 0;
    // The system's text for a Win32 error code (empty when it has none); false on failure.
    virtual bool SystemErrorText(long code, std::wstring& text) = 0;
};

// The text of an object's result code (`LastRC`) in its table; nothing for a code the table
// does not have.
std::optional<std::wstring_view> HttpRequestResultText(long lastRC, MessageLanguage language);
std::optional<std::wstring_view> FtpClientResultText(long lastRC, MessageLanguage language);
std::optional<std::wstring_view> WGetRequestResultText(long lastRC, MessageLanguage language);
// The text of WGet's exit code ("Unknown error" for codes it does not document).
std::wstring_view WGetExitCodeText(long code, MessageLanguage language);

// The messages; nothing when a property read failed. Each reads only what it shows, in the
// order it shows it: LastRC first, then the response (ResponseCode, ResponseText when there is
// a code), then the Internet error (ErrorCode, ErrorText when there is a code); for WGet,
// Win32ErrorCode only after a failed start (LastRC 4), WGetReturnCode and OutputLog only after
// a failed run (LastRC 6).
std::optional<std::wstring> BuildHttpRequestMessage(RequestProperties& request, MessageLanguage language);
std::optional<std::wstring> BuildFtpClientMessage(RequestProperties& request, MessageLanguage language);
std::optional<std::wstring> BuildWGetRequestMessage(RequestProperties& request, MessageLanguage language);

}  // namespace bk::errors
