#include "lib/instance/instance_names.h"

namespace bk::instance {
namespace {

constexpr std::uint32_t kErrorAccessDenied = 5;
constexpr std::uint32_t kErrorAlreadyExists = 183;

// FNV-1a over the UTF-16 code units, both bytes of each.
std::uint64_t Hash64(std::wstring_view text) {
    std::uint64_t h = 0xcbf29ce484222325ull;
    for (wchar_t c : text) {
        const auto unit = static_cast<std::uint16_t>(c);
        for (int shift : {0, 8}) {
            h ^= static_cast<std::uint8_t>(unit >> shift);
            h *= 0x100000001b3ull;
        }
    }
    return h;
}

void AppendHex(std::wstring& out, std::uint64_t value, int digits) {
    static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    for (int i = digits - 1; i >= 0; --i) out += kDigits[(value >> (4 * i)) & 0xF];
}

}  // namespace

std::wstring ObjectNamePart(std::wstring_view text) {
    std::wstring out;
    out.reserve(text.size());
    for (wchar_t c : text) {
        if (c == L'\\' || c == L'%' || c == L'\0') {
            out += L'%';
            AppendHex(out, static_cast<std::uint16_t>(c), 2);
        } else {
            out += c;
        }
    }
    return out;
}

std::wstring ObjectNameWithPart(std::wstring_view prefix, std::wstring_view part) {
    std::wstring name(prefix);
    std::wstring escaped = ObjectNamePart(part);
    if (name.size() + escaped.size() <= kMaxObjectNameLength) return name + escaped;
    name += L"%H";
    AppendHex(name, Hash64(part), 16);
    return name;
}

std::wstring PlainMutexName(std::wstring_view guid) { return std::wstring(guid); }

std::wstring DesktopMutexName(std::wstring_view guid, std::wstring_view desktop) {
    return ObjectNameWithPart(std::wstring(guid) + L"_Desktop_", desktop);
}

std::wstring UserMutexName(std::wstring_view guid, std::wstring_view user) {
    return ObjectNameWithPart(std::wstring(guid) + L"_User_", user);
}

std::optional<std::wstring> UserMutexName(std::wstring_view guid, const UserNameSource& source) {
    std::wstring user;
    if (!source || !source(user)) return std::nullopt;
    return UserMutexName(guid, user);
}

std::wstring WindowMarkName(std::wstring_view guid) { return L"PrevInstance_" + std::wstring(guid) + L"_Marker"; }

MutexOutcome ClassifyMutexCreation(bool gotHandle, std::uint32_t lastError) {
    if (lastError == kErrorAlreadyExists || lastError == kErrorAccessDenied) return MutexOutcome::NotAlone;
    return gotHandle ? MutexOutcome::Alone : MutexOutcome::Failed;
}

ActivationPlan PlanActivation(long mark, bool visible, bool minimized, bool haveMessage) {
    ActivationPlan plan;
    switch (mark) {
    case kAmNormal:
        // A hidden window stays hidden: it is not this method's to show.
        if (!visible) break;
        plan.restore = minimized;
        plan.foreground = true;
        plan.result = true;
        break;
    case kAmViaMessage:
        plan.sendMessage = haveMessage;
        break;
    case kAmNormalWithMinimizeToTrayHook:
        // Minimized to the notification area: hidden and minimized.
        plan.restore = !visible && minimized;
        plan.foreground = true;
        plan.result = true;
        break;
    default:
        break;
    }
    return plan;
}

}  // namespace bk::instance
