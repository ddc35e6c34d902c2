// The fixed English layouts of the library's error messages. Platform-free: the callers look
// the descriptions up and pass them in.
#pragma once

#include <string>
#include <string_view>

#include "support/base/error_record.h"

namespace bk::errors {

using support::ErrorRecord;

// Long message of a run-time error: one labelled line per property that is set (the labels are
// 14 characters wide so that the values line up), an empty line after the description, no line
// break at the ends; "Unknown run-time error." when nothing is set.
std::wstring BuildErrorMessage(const ErrorRecord& error);
// "Error <number>: <description>", one line.
std::wstring BuildShortErrorMessage(const ErrorRecord& error);

// The two kinds of numbered system errors; they differ only in their words.
enum class CodeKind { Api, WinMM };

// Long and short messages of a Win32 API or WinMM error code with its description (empty
// when the system has none).
std::wstring BuildCodeMessage(CodeKind kind, long number, std::wstring_view description);
std::wstring BuildShortCodeMessage(CodeKind kind, long number, std::wstring_view description);

// Whether a module name is blank (empty after removing blanks at its ends).
bool IsBlankModuleName(std::wstring_view moduleName);
// Long and short messages of a module's message-table code. The name goes in unchanged.
std::wstring BuildModuleMessage(std::wstring_view moduleName, long number, std::wstring_view description);
std::wstring BuildShortModuleMessage(std::wstring_view moduleName, long number, std::wstring_view description);

// The text a display operation shows: the caller's lead-in, an empty line, then the message;
// the message alone when there is no lead-in.
std::wstring ComposeDisplayText(std::wstring_view leadIn, std::wstring_view message);

}  // namespace bk::errors
