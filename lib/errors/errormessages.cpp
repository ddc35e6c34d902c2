#include "lib/errors/errormessages.h"

#include "support/as/errornumber.h"
#include "support/as/text.h"

namespace bk::errors {
namespace {

constexpr std::wstring_view kCrLf = L"\r\n";
constexpr std::wstring_view kUnknownRuntime = L"Unknown run-time error.";

// Multi-line descriptions are shown on one line: every CR LF becomes one blank.
std::wstring OneLine(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, kCrLf.size(), kCrLf) == 0) {
            out += L' ';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

struct CodeWords {
    std::wstring_view longPrefix;
    std::wstring_view shortPrefix;
    std::wstring_view unknown;
};

CodeWords WordsOf(CodeKind kind) {
    if (kind == CodeKind::WinMM)
        return {L"WinMM.DLL error: ", L"WinMM.DLL error ", L"Unknown WinMM.DLL error."};
    return {L"Win32 API error: ", L"Win32 API error ", L"Unknown Win32 API error."};
}

// "<head><number>" CR LF, then "Description: <description>" when there is one.
std::wstring NumberedMessage(std::wstring_view head, long number, std::wstring_view description) {
    std::wstring text(head);
    text += support::asGetErrorNumber(number);
    text += kCrLf;
    if (!description.empty()) {
        text += L"Description: ";
        text += OneLine(description);
    }
    return support::asTrimCRLF(text);
}

std::wstring UnknownModuleText(std::wstring_view moduleName) {
    return L"Unknown " + std::wstring(moduleName) + L" error.";
}

}  // namespace

std::wstring BuildErrorMessage(const ErrorRecord& error) {
    std::wstring text;
    if (error.number != 0) {
        text += L"Error number: ";
        text += support::asGetErrorNumber(error.number);
        text += kCrLf;
    }
    if (!error.description.empty()) {
        text += L"Description:  ";
        text += OneLine(error.description);
        text += kCrLf;
        text += kCrLf;
    }
    if (!error.source.empty()) {
        text += L"Source:       ";
        text += error.source;
        text += kCrLf;
    }
    if (!error.helpFile.empty()) {
        text += L"Help file:    ";
        text += error.helpFile;
        text += kCrLf;
    }
    if (error.helpContext != 0) {
        text += L"Help context: ";
        text += support::asGetErrorNumber(error.helpContext);
        text += kCrLf;
    }
    text = support::asTrimCRLF(text);
    return text.empty() ? std::wstring(kUnknownRuntime) : text;
}

std::wstring BuildShortErrorMessage(const ErrorRecord& error) {
    if (error.number == 0) return std::wstring(kUnknownRuntime);
    std::wstring text = L"Error " + support::asGetErrorNumber(error.number) + L": ";
    text += error.description.empty() ? std::wstring(kUnknownRuntime) : OneLine(error.description);
    return text;
}

std::wstring BuildCodeMessage(CodeKind kind, long number, std::wstring_view description) {
    const CodeWords words = WordsOf(kind);
    if (number == 0) return std::wstring(words.unknown);
    return NumberedMessage(words.longPrefix, number, description);
}

std::wstring BuildShortCodeMessage(CodeKind kind, long number, std::wstring_view description) {
    const CodeWords words = WordsOf(kind);
    if (number == 0) return std::wstring(words.unknown);
    std::wstring text(words.shortPrefix);
    text += support::asGetErrorNumber(number);
    text += L": ";
    text += description.empty() ? std::wstring(words.unknown) : OneLine(description);
    return text;
}

bool IsBlankModuleName(std::wstring_view moduleName) { return support::asTrimEx(moduleName).empty(); }

std::wstring BuildModuleMessage(std::wstring_view moduleName, long number, std::wstring_view description) {
    if (IsBlankModuleName(moduleName)) return L"Unknown module error.";
    if (number == 0) return UnknownModuleText(moduleName);
    return NumberedMessage(std::wstring(moduleName) + L" error: ", number, description);
}

std::wstring BuildShortModuleMessage(std::wstring_view moduleName, long number, std::wstring_view description) {
    if (IsBlankModuleName(moduleName)) return L"Unknown module error.";
    if (number == 0) return UnknownModuleText(moduleName);
    std::wstring text(moduleName);
    text += L" error ";
    text += support::asGetErrorNumber(number);
    text += L": ";
    text += description.empty() ? UnknownModuleText(moduleName) : OneLine(description);
    return text;
}

std::wstring ComposeDisplayText(std::wstring_view leadIn, std::wstring_view message) {
    if (leadIn.empty()) return std::wstring(message);
    std::wstring text(leadIn);
    text += kCrLf;
    text += kCrLf;
    text += message;
    return text;
}

}  // namespace bk::errors
