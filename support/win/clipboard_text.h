// The clipboard: opening it without waiting long, placing data blocks, reading them, and
// plain text put there in one call.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string_view>

#include "support/base/status.h"
#include "support/win/owner.h"

namespace support {

// Opens the clipboard for `owner` (no owner when null). Another program may hold it for a
// moment: a few tries over about 100 ms, then valid() is false; a busy clipboard never
// keeps the caller waiting longer.
ClipboardOpen OpenClipboardBriefly(HWND owner);

// Places `bytes` followed by `zeros` zero bytes under `format` on the open clipboard, in a new
// global memory block allocated with `flags` (GMEM_...). A block the clipboard takes is the
// system's; one it refuses is freed at once. A failure (no memory, refused) carries the
// system's error.
Status PlaceClipboardData(UINT format, std::string_view bytes, UINT flags, std::size_t zeros = 0);

// Whether the clipboard's data of `format` is a global memory block: not for the formats
// whose handle is a bitmap, palette, metafile or other GDI object, or that carry no data.
bool IsMemoryClipboardFormat(UINT format);

// The data block of a memory format on the open clipboard, locked while the object lives.
// bytes() is the whole block as the system sizes it (which may be more than was placed).
class ClipboardData {
public:
    explicit ClipboardData(UINT format);
    ~ClipboardData();
    ClipboardData(const ClipboardData&) = delete;
    ClipboardData& operator=(const ClipboardData&) = delete;

    // Whether the clipboard had a block of that format and it could be read.
    bool valid() const { return valid_; }
    std::string_view bytes() const { return {data_, size_}; }

private:
    HGLOBAL block_ = nullptr;
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    bool valid_ = false;
};

// Empties the clipboard and puts `text` on it as CF_UNICODETEXT, with `owner` as the
// clipboard's owner. Embedded nulls stay in the block; readers stop at the first one. A
// failure (the clipboard held open by another program, no memory) leaves a failing status with
// the system's error.
Status PutClipboardText(HWND owner, std::wstring_view text);

}  // namespace support
