// Self-registration: the type library, the interfaces of its classes (marshalled through
// the type library), and each creatable or global class with its programmatic id.
#pragma once

#include <windows.h>

#include <optional>

namespace bk {

// Where the keys go: the machine's classes (HKEY_CLASSES_ROOT as the process sees it, which is
// what regsvr32 and DllRegisterServer use), or the current user's classes
// (HKEY_CURRENT_USER\Software\Classes: an install without administrator rights).
enum class RegistrationScope { Machine, User };

HRESULT RegisterServer(RegistrationScope scope = RegistrationScope::Machine);
// Removes everything RegisterServer wrote in that scope.
HRESULT UnregisterServer(RegistrationScope scope = RegistrationScope::Machine);

// The scope that DllInstall's command line names: none or an empty one the machine, "user"
// (in any case) the current user; anything else names none.
std::optional<RegistrationScope> InstallScope(const wchar_t* commandLine);

}  // namespace bk
