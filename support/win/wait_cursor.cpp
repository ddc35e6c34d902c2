#include "support/win/wait_cursor.h"

namespace support {
namespace {

int g_pointer = kDefaultPointer;  // the user-interface thread's setting

}  // namespace

int ScreenMousePointer() { return g_pointer; }

void SetScreenMousePointer(int pointer) {
    g_pointer = pointer;
    if (pointer == kWaitPointer) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return;
    }
    // Back to the windows' own cursors: the window under the mouse chooses again, as it
    // does on a mouse move.
    POINT at{};
    if (GetCursorPos(&at)) {
        if (HWND under = WindowFromPoint(at); under && GetWindowThreadProcessId(under, nullptr) == GetCurrentThreadId()) {
            const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
            if (SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE)))
                return;
        }
    }
    SetCursor(LoadCursorW(nullptr, IDC_ARROW));
}

bool AnswerSetCursor() {
    if (g_pointer != kWaitPointer) return false;
    SetCursor(LoadCursorW(nullptr, IDC_WAIT));
    return true;
}

}  // namespace support
