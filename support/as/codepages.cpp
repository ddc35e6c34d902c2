#include "support/as/codepages.h"

#include <climits>

namespace support {
namespace {

std::string ToCodePage(UINT codePage, std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int length = static_cast<int>(text.size());
    const int need = WideCharToMultiByte(codePage, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (need <= 0) return {};
    std::string bytes(static_cast<size_t>(need), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), length, bytes.data(), need, nullptr, nullptr);
    return bytes;
}

}  // namespace

std::string AnsiFromText(std::wstring_view text) { return ToCodePage(CP_ACP, text); }
std::string asAnsiToOem(std::wstring_view text) { return ToCodePage(CP_OEMCP, text); }

std::wstring TextFromAnsi(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) return {};
    const int length = static_cast<int>(bytes.size());
    const int need = MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, nullptr, 0);
    if (need <= 0) return {};
    std::wstring text(static_cast<size_t>(need), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), length, text.data(), need);
    return text;
}

}  // namespace support
