#include "support/es/user.h"

#include <windows.h>

#include <vector>

#include "support/win/owner.h"

namespace support {
namespace {

// "DOMAIN\user" of the process token's account.
bool AccountName(std::wstring& name) {
    UniqueHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0) return false;
    std::vector<unsigned char> buffer(size);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.data(), size, &size)) return false;
    PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    DWORD userLength = 0;
    DWORD domainLength = 0;
    SID_NAME_USE use{};
    LookupAccountSidW(nullptr, sid, nullptr, &userLength, nullptr, &domainLength, &use);
    if (userLength == 0) return false;
    std::wstring user(userLength, L'\0');
    std::wstring domain(domainLength ? domainLength : 1, L'\0');
    if (!LookupAccountSidW(nullptr, sid, user.data(), &userLength, domain.data(), &domainLength, &use)) return false;
    user.resize(userLength);
    domain.resize(domainLength);
    if (user.empty()) return false;
    name = domain.empty() ? user : domain + L"\\" + user;
    return true;
}

bool LogonName(std::wstring& name) {
    wchar_t buffer[257] = {};  // UNLEN + 1
    DWORD length = static_cast<DWORD>(std::size(buffer));
    if (!GetUserNameW(buffer, &length) || buffer[0] == L'\0') return false;
    name = buffer;
    return true;
}

}  // namespace

bool esGetFullUserName(bool withDomain, bool plainIfNoDomain, std::wstring& name) {
    name.clear();
    if (withDomain && AccountName(name)) return true;
    if ((!withDomain || plainIfNoDomain) && LogonName(name)) return true;
    name.clear();
    return false;
}

}  // namespace support
