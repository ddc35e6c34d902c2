#include "lib/autorun/autorun_logic.h"

#include "support/as/text.h"

namespace bk {

bool IsAutorunValueName(std::wstring_view appGuid) {
    return !appGuid.empty() && appGuid.find(L'\0') == std::wstring_view::npos;
}

std::wstring AutorunCommandLine(std::wstring_view given, std::wstring_view programPath) {
    if (!given.empty()) return std::wstring(given);
    if (programPath.find(L' ') == std::wstring_view::npos) return std::wstring(programPath);
    std::wstring quoted;
    quoted.reserve(programPath.size() + 2);
    quoted += L'"';
    quoted += programPath;
    quoted += L'"';
    return quoted;
}

bool IsAutorunEntry(std::wstring_view stored) { return !support::asTrimEx(stored).empty(); }

}  // namespace bk
