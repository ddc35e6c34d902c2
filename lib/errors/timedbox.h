// The library's message box with a time-out: looks and answers like the standard message box,
// and presses its default button by itself after a number of seconds, counting them down in
// that button's caption.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace bk::errors {

struct TimedBoxRequest {
    std::wstring text;
    long style = 16;
    std::optional<std::wstring> title;  // none: the application's title
    long defaultButtonIndex = -1;       // -1 or beyond the set: the set's default button
    long cancelButtonIndex = -1;        // -1 or beyond the set: the set's cancel button
    long timeoutSeconds = 15;           // below 1 counts as 1
};

// Returned when the thread already shows a box: one box at a time per thread.
constexpr HRESULT kTimedBoxAlreadyShown = HRESULT_FROM_WIN32(ERROR_BUSY);

// Shows the box modally (no owner) and stores the result of the pressed button (1 OK ... 7 No)
// in `result`. Button indexes below -1 must have been refused by the caller.
HRESULT ShowTimedMessageBox(const TimedBoxRequest& request, long& result);

}  // namespace bk::errors
