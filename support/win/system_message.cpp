#include "support/win/system_message.h"

#include "support/as/text.h"
#include "support/win/owner.h"

namespace support {

std::wstring FormatSystemMessage(DWORD code, HMODULE module) {
    const DWORD source = module ? FORMAT_MESSAGE_FROM_HMODULE : FORMAT_MESSAGE_FROM_SYSTEM;
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(source | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                        module, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const LocalMemory owner(buffer);
    if (length == 0 || !buffer) return {};
    // Texts from the system end with CR LF; some carry a blank before it.
    return TrimSet(std::wstring_view(buffer, length), L" \t\r\n");
}

}  // namespace support
