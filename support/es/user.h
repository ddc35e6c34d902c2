// The current user's name, as the second support library's esGetFullUserName gives it.
#pragma once

#include <string>

namespace support {

// The name of the user the process runs as. With `withDomain` it is the account's full name
// "DOMAIN\user" (the domain, or the computer for a local account, from the process token);
// when that cannot be read and `plainIfNoDomain` is set, the plain logon name. The form is the
// same for every call of one user. False, and `name` empty, when no name can be read.
bool esGetFullUserName(bool withDomain, bool plainIfNoDomain, std::wstring& name);

}  // namespace support
