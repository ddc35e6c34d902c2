// The program's mouse pointer over all of its windows: 11 (the hourglass) while the thread is
// busy, 0 (each window's own cursor) otherwise. One setting for the process; windows that
// want to honour it while they handle messages answer WM_SETCURSOR with AnswerSetCursor.
#pragma once

#include <windows.h>

namespace support {

inline constexpr int kDefaultPointer = 0;
inline constexpr int kWaitPointer = 11;

// The pointer now set for the program's windows.
int ScreenMousePointer();
// Sets it; the cursor changes at once, not only at the next mouse move.
void SetScreenMousePointer(int pointer);

// For a window's WM_SETCURSOR: sets the wait cursor and returns true while the pointer is 11.
bool AnswerSetCursor();

// The wait pointer for a scope: the pointer it found is set again when it goes, whichever
// way the scope is left.
class ScopedWaitCursor {
public:
    ScopedWaitCursor() : previous_(ScreenMousePointer()) { SetScreenMousePointer(kWaitPointer); }
    ~ScopedWaitCursor() { SetScreenMousePointer(previous_); }
    ScopedWaitCursor(const ScopedWaitCursor&) = delete;
    ScopedWaitCursor& operator=(const ScopedWaitCursor&) = delete;

private:
    int previous_;
};

}  // namespace support
