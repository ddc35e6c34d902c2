// Single-instance detection without the system: the names shared between running programs
// (mutexes, the window mark), what a mutex creation means, and how a marked window is
// activated. Platform-free.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace bk::instance {

// The name every program using the library registers its activation message under.
inline constexpr std::wstring_view kActivationMessageName = L"{C91232E8-B223-4501-BCF0-4F645EAACD6E}";

// The longest kernel object name the system takes (MAX_PATH less the terminating null).
inline constexpr std::size_t kMaxObjectNameLength = 259;

// Activation methods, as stored in a window mark.
inline constexpr long kAmNormal = 69;
inline constexpr long kAmViaMessage = 70;
inline constexpr long kAmNormalWithMinimizeToTrayHook = 71;
constexpr bool IsActivationMethod(long value) { return value >= kAmNormal && value <= kAmNormalWithMinimizeToTrayHook; }

// `text` as one part of a kernel object name. A backslash would be read as a folder of the
// object namespace and a null would end the name, so both are written as %5C and %00, and %
// itself as %25; every other character stays. Distinct texts stay distinct.
std::wstring ObjectNamePart(std::wstring_view text);

// `prefix` followed by `part` (see ObjectNamePart). When the whole would be longer than the
// system takes, the part is replaced by "%H" and sixteen hex digits of a 64-bit hash of the
// original part: still the same for the same text, and it cannot be mistaken for an escaped
// text (an escape is % and two hex digits).
std::wstring ObjectNameWithPart(std::wstring_view prefix, std::wstring_view part);

// The names built from the application GUID. The GUID is the caller's and is used as given
// (a "Global\" or "Local\" prefix keeps its meaning); the desktop and user names are parts.
std::wstring PlainMutexName(std::wstring_view guid);
std::wstring DesktopMutexName(std::wstring_view guid, std::wstring_view desktop);
std::wstring UserMutexName(std::wstring_view guid, std::wstring_view user);
std::wstring WindowMarkName(std::wstring_view guid);

// Where the user's name comes from: fills the name and says whether it could be read.
using UserNameSource = std::function<bool(std::wstring& name)>;
// The user mutex's name, or nothing when the source has no name.
std::optional<std::wstring> UserMutexName(std::wstring_view guid, const UserNameSource& source);

// What creating (or opening) a named mutex tells about other holders.
enum class MutexOutcome {
    Alone,     // created: nobody else holds the name
    NotAlone,  // it existed already, or a holder of another user keeps us from it
    Failed,    // no mutex and no sign of another holder: the test has no answer
};
// From whether a handle came back and the system error after the call.
MutexOutcome ClassifyMutexCreation(bool gotHandle, std::uint32_t lastError);

// What to do with a marked window, from its mark and its state.
struct ActivationPlan {
    bool restore = false;      // OpenIcon first
    bool foreground = false;   // SetForegroundWindow
    bool sendMessage = false;  // send the activation message; the reply decides the result
    bool result = false;       // the result when no message is sent
};
ActivationPlan PlanActivation(long mark, bool visible, bool minimized, bool haveMessage);

}  // namespace bk::instance
