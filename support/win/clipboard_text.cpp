#include "support/win/clipboard_text.h"

#include <cstring>

namespace support {
namespace {

Status LastFailure() { return Status::Failure(CodeFromSystemError(GetLastError())); }

}  // namespace

ClipboardOpen OpenClipboardBriefly(HWND owner) {
    ClipboardOpen clipboard;
    for (int attempt = 0; attempt < 5 && !clipboard; ++attempt) {
        if (attempt > 0) Sleep(20);
        clipboard = OpenClipboardFor(owner);
    }
    return clipboard;
}

Status PlaceClipboardData(UINT format, std::string_view bytes, UINT flags, std::size_t zeros) {
    if (bytes.size() > static_cast<SIZE_T>(-1) - zeros)
        return Status::Failure(CodeFromSystemError(ERROR_NOT_ENOUGH_MEMORY));
    GlobalMemory block(GlobalAlloc(flags, bytes.size() + zeros));
    if (!block) return LastFailure();
    {
        void* at = GlobalLock(block.get());
        if (!at) return LastFailure();
        if (!bytes.empty()) std::memcpy(at, bytes.data(), bytes.size());
        if (zeros) std::memset(static_cast<char*>(at) + bytes.size(), 0, zeros);
        GlobalUnlock(block.get());
    }
    if (!SetClipboardData(format, block.get())) return LastFailure();
    block.detach();  // the system owns the block now
    return {};
}

bool IsMemoryClipboardFormat(UINT format) {
    switch (format) {
    case CF_BITMAP:
    case CF_PALETTE:
    case CF_ENHMETAFILE:
    case CF_DSPBITMAP:
    case CF_DSPENHMETAFILE:
    case CF_OWNERDISPLAY: return false;
    default: return format < CF_GDIOBJFIRST || format > CF_GDIOBJLAST;
    }
}

ClipboardData::ClipboardData(UINT format) {
    if (!IsMemoryClipboardFormat(format)) return;
    block_ = GetClipboardData(format);
    if (!block_) return;
    size_ = GlobalSize(block_);
    if (size_ == 0) {
        valid_ = true;
        return;
    }
    data_ = static_cast<const char*>(GlobalLock(block_));
    if (!data_) {
        size_ = 0;
        return;
    }
    valid_ = true;
}

ClipboardData::~ClipboardData() {
    if (data_) GlobalUnlock(block_);
}

Status PutClipboardText(HWND owner, std::wstring_view text) {
    if (text.size() >= (static_cast<SIZE_T>(-1) / sizeof(wchar_t)) - 1)
        return Status::Failure(CodeFromSystemError(ERROR_NOT_ENOUGH_MEMORY));
    ClipboardOpen clipboard = OpenClipboardBriefly(owner);
    if (!clipboard) return LastFailure();
    if (!EmptyClipboard()) return LastFailure();
    const std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return PlaceClipboardData(CF_UNICODETEXT, bytes, GMEM_MOVEABLE, sizeof(wchar_t));
}

}  // namespace support
