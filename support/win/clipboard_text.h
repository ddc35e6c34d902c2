// Plain text on the clipboard: the one place that puts a Unicode text there.
#pragma once

#include <windows.h>

#include <string_view>

#include "support/base/status.h"

namespace support {

// Empties the clipboard and puts `text` on it as CF_UNICODETEXT, with `owner` as the
// clipboard's owner. Embedded nulls stay in the block; readers stop at the first one. A
// failure (the clipboard held open by another program, no memory) leaves a failing status with
// the system's error.
Status PutClipboardText(HWND owner, std::wstring_view text);

}  // namespace support
