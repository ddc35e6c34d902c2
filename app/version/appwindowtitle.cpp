#include "app/version/appwindowtitle.h"

#include "support/es/paths.h"

namespace metaview {
namespace {

constexpr std::wstring_view kProductPrefix = L"Orvex - ";

std::wstring ReplaceAll(std::wstring_view text, std::wstring_view what, std::wstring_view with) {
    std::wstring out;
    size_t from = 0;
    for (size_t at; (at = text.find(what, from)) != std::wstring_view::npos; from = at + what.size())
        out.append(text.substr(from, at - from)).append(with);
    out.append(text.substr(from));
    return out;
}

}  // namespace

std::wstring GetAppTitle(std::wstring_view appTitle, std::wstring_view title, std::wstring_view suffix) {
    std::wstring result = title.empty() ? ReplaceAll(appTitle, kProductPrefix, L"") : std::wstring(title);
    if (!suffix.empty()) result.append(L" :: ").append(suffix);
    return result;
}

std::wstring MakeWindowTitle(std::wstring_view appTitle, std::wstring_view title, std::wstring_view suffix,
                             std::wstring_view documentName, std::wstring_view noDocumentText, bool enDash,
                             bool nameOnly) {
    std::wstring document;
    if (documentName.empty())
        document = noDocumentText;
    else
        document = nameOnly ? support::esGetFileName(documentName) : std::wstring(documentName);
    return document + L" " + (enDash ? L"\u2013" : L"-") + L" " + GetAppTitle(appTitle, title, suffix);
}

}  // namespace metaview
