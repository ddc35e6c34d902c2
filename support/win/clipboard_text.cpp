#include "support/win/clipboard_text.h"

#include <cstring>

#include "support/win/owner.h"

namespace support {
namespace {

Status LastFailure() { return Status::Failure(CodeFromSystemError(GetLastError())); }

}  // namespace

Status PutClipboardText(HWND owner, std::wstring_view text) {
    if (text.size() >= (static_cast<SIZE_T>(-1) / sizeof(wchar_t)) - 1)
        return Status::Failure(CodeFromSystemError(ERROR_NOT_ENOUGH_MEMORY));
    GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t)));
    if (!block) return LastFailure();
    {
        void* bytes = GlobalLock(block.get());
        if (!bytes) return LastFailure();
        if (!text.empty()) std::memcpy(bytes, text.data(), text.size() * sizeof(wchar_t));
        static_cast<wchar_t*>(bytes)[text.size()] = L'\0';
        GlobalUnlock(block.get());
    }
    // Another program may hold the clipboard for a moment: a few tries before giving up.
    ClipboardOpen clipboard;
    for (int attempt = 0; attempt < 5 && !clipboard; ++attempt) {
        if (attempt > 0) Sleep(20);
        clipboard = OpenClipboardFor(owner);
    }
    if (!clipboard) return LastFailure();
    if (!EmptyClipboard()) return LastFailure();
    if (!SetClipboardData(CF_UNICODETEXT, block.get())) return LastFailure();
    block.detach();  // the system owns the block now
    return {};
}

}  // namespace support
