// Window captions of the form "document – application" (modAppWindowTitle). Platform-free.
#pragma once

#include <string>
#include <string_view>

namespace metaview {

// `title`, or when it is empty the application title without its product prefix "Orvex - ";
// then " :: " + `suffix` when a suffix is given.
std::wstring GetAppTitle(std::wstring_view appTitle, std::wstring_view title, std::wstring_view suffix);

// Document part + " " + separator + " " + GetAppTitle(...). The separator is an en dash (U+2013)
// with `enDash`, a hyphen otherwise. The document part is the file-name part of `documentName`
// with `nameOnly`, the whole of it without, and `noDocumentText` when `documentName` is empty.
std::wstring MakeWindowTitle(std::wstring_view appTitle, std::wstring_view title, std::wstring_view suffix,
                             std::wstring_view documentName, std::wstring_view noDocumentText, bool enDash,
                             bool nameOnly);

}  // namespace metaview
