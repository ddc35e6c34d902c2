// TextFileIO: our own version of the outside text-file component. Reads a whole text file as
// one string, decoding it by its byte-order mark or by the caller's read mode, and writes a
// text as UTF-8 with a byte-order mark without risking the file it replaces.
#pragma once

#include <string>
#include <string_view>

#include "support/base/status.h"
#include "support/components/textcodec.h"

namespace support {

struct TextReadResult {
    std::wstring text;
    Status error;  // set only when the caller asked for failures to be reported (a system error code)
};

namespace TextFileIO {

// The whole content of `fileName` as text. `mode` is a TextReadMode (see textcodec.h): the
// encoding used when the file carries no byte-order mark. A file that cannot be read gives
// empty text; with `reportErrors` the failure is also returned in `error`.
TextReadResult ReadTextFile(std::wstring_view fileName, bool reportErrors, long mode);

// Writes `text` (line breaks as given) to `fileName` as UTF-8 with a byte-order mark. The text
// goes to a new file in the same folder first, which then replaces the target, so a failed
// save leaves an existing file as it was and no partial file behind. Returns the outcome (a
// failure carries the system error as its code).
Status WriteTextFile(std::wstring_view fileName, std::wstring_view text);

}  // namespace TextFileIO
}  // namespace support
