#include "lib/about/icon_control.h"

#include <windowsx.h>

#include <algorithm>
#include <iterator>

namespace bk::about {
namespace {

static_assert(keystate::kLeft == MK_LBUTTON && keystate::kRight == MK_RBUTTON && keystate::kShift == MK_SHIFT &&
              keystate::kControl == MK_CONTROL && keystate::kMiddle == MK_MBUTTON);

// The module this code is linked into (the library, or a program that hosts the control
// itself): the window class belongs to it.
HINSTANCE CodeModule() {
    static const int anchor = 0;
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&anchor), &module);
    return module;
}

// Controls of this module holding the window class. A library must unregister its classes
// itself before it is unloaded; the last control to go does it.
SRWLOCK g_classLock = SRWLOCK_INIT;
int g_classUsers = 0;

// The system cursors of MousePointer 1-15, in the classic numbering.
const LPCWSTR kSystemCursors[] = {
    nullptr,          // 0 default
    IDC_ARROW,        // 1 arrow
    IDC_CROSS,        // 2 cross
    IDC_IBEAM,        // 3 I-beam
    IDC_ICON,         // 4 icon
    IDC_SIZEALL,      // 5 size (four arrows)
    IDC_SIZENESW,     // 6 size NE-SW
    IDC_SIZENS,       // 7 size N-S
    IDC_SIZENWSE,     // 8 size NW-SE
    IDC_SIZEWE,       // 9 size W-E
    IDC_UPARROW,      // 10 up arrow
    IDC_WAIT,         // 11 hourglass
    IDC_NO,           // 12 no drop
    IDC_APPSTARTING,  // 13 arrow and hourglass
    IDC_HELP,         // 14 arrow and question mark
    IDC_SIZEALL,      // 15 size all
};

// The icon (or cursor) handle a picture holds; null when it holds none.
HICON IconOf(IPictureDisp* picture) {
    if (!picture) return nullptr;
    support::ComPtr<IPicture> pic;
    if (FAILED(picture->QueryInterface(IID_IPicture, pic.put_void()))) return nullptr;
    OLE_HANDLE handle = 0;
    if (FAILED(pic->get_Handle(&handle)) || !handle) return nullptr;
    // Handles are 32 bits wide in both builds and sign-extended in 64-bit code.
    HICON icon = static_cast<HICON>(LongToHandle(static_cast<LONG>(handle)));
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return nullptr;  // a bitmap, or no handle at all
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    return icon;
}

}  // namespace

bool IconControl::AcquireClass() {
    AcquireSRWLockExclusive(&g_classLock);
    bool ok = true;
    if (g_classUsers == 0) {
        WNDCLASSEXW wc{};
        wc.style = CS_DBLCLKS;
        wc.hInstance = CodeModule();
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kClassName;
        ok = RegisterWindowClass(wc);
    }
    if (ok) ++g_classUsers;
    ReleaseSRWLockExclusive(&g_classLock);
    return ok;
}

void IconControl::ReleaseClass() {
    AcquireSRWLockExclusive(&g_classLock);
    if (--g_classUsers == 0) UnregisterClassW(kClassName, CodeModule());
    ReleaseSRWLockExclusive(&g_classLock);
}

IconControl::~IconControl() {
    // The window goes while this object can still answer its last messages.
    if (HWND window = hwnd()) DestroyWindow(window);
    if (registered_) ReleaseClass();
}

HWND IconControl::Create(HWND parent, int id, const RECT& place, IconControlHost* host) {
    if (hwnd()) return nullptr;  // one window per control
    if (!registered_) {
        if (!AcquireClass()) return nullptr;
        registered_ = true;
    }
    host_ = host;
    return CreateOwnWindow(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, place.left, place.top,
                           place.right - place.left, place.bottom - place.top, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), CodeModule());
}

void IconControl::SetPicture(IPictureDisp* picture) {
    picture_ = support::ComPtr<IPictureDisp>::Share(picture);
    if (!picture_) {
        ClearImage();
        Refresh();
    } else if (DrawPictureIcon()) {
        Refresh();
    }
}

bool IconControl::SetBackColor(OLE_COLOR color) {
    COLORREF resolved = 0;
    if (FAILED(OleTranslateColor(color, nullptr, &resolved))) return false;
    backColor_ = color;
    ClearImage();
    DrawPictureIcon();
    Refresh();
    return true;
}

bool IconControl::SetMousePointer(short pointer) {
    const bool valid = pointer == kCustomPointer || (pointer >= 0 && pointer < static_cast<short>(std::size(kSystemCursors)));
    if (!valid) return false;
    mousePointer_ = pointer;
    return true;
}

bool IconControl::MakeImage(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    support::WindowDC screen = support::GetWindowDC(nullptr);
    if (!screen) return false;
    support::MemoryDC dc(CreateCompatibleDC(screen.get().dc));
    support::GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(screen.get().dc, width, height));
    if (!dc || !bitmap) return false;
    support::SelectedObject selected = support::Select(dc.get(), bitmap.get());
    if (!selected) return false;

    // The new image starts as the background with the old drawing in its corner.
    COLORREF back = 0;
    OleTranslateColor(backColor_, nullptr, &back);
    const RECT all{0, 0, width, height};
    SetBkColor(dc.get(), back);
    ExtTextOutW(dc.get(), 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
    if (imageDc_) {
        BitBlt(dc.get(), 0, 0, std::min<int>(width, imageSize_.cx), std::min<int>(height, imageSize_.cy),
               imageDc_.get(), 0, 0, SRCCOPY);
    }
    imageSelected_ = std::move(selected);  // the old bitmap leaves the old DC first
    image_ = std::move(bitmap);
    imageDc_ = std::move(dc);
    imageSize_ = {width, height};
    return true;
}

void IconControl::ClearImage() {
    if (!imageDc_) return;
    COLORREF back = 0;
    OleTranslateColor(backColor_, nullptr, &back);
    const RECT all{0, 0, imageSize_.cx, imageSize_.cy};
    SetBkColor(imageDc_.get(), back);
    ExtTextOutW(imageDc_.get(), 0, 0, ETO_OPAQUE, &all, nullptr, 0, nullptr);
}

bool IconControl::DrawPictureIcon() {
    HICON icon = IconOf(picture_.get());
    if (!icon) return false;
    // A new icon replaces the old one whole: its transparent parts show the background.
    ClearImage();
    if (imageDc_) DrawIcon(imageDc_.get(), 0, 0, icon);
    return true;
}

void IconControl::Refresh() {
    if (!hwnd()) return;
    InvalidateRect(hwnd(), nullptr, FALSE);
    UpdateWindow(hwnd());
}

void IconControl::Paint() {
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(hwnd(), &ps);
    if (dc && imageDc_) {
        const RECT& r = ps.rcPaint;
        BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, imageDc_.get(), r.left, r.top, SRCCOPY);
    }
    EndPaint(hwnd(), &ps);
}

bool IconControl::SetPointerCursor() {
    if (mousePointer_ == kDefaultPointer) return false;
    if (mousePointer_ == kCustomPointer) {
        HICON cursor = IconOf(mouseIcon_.get());
        if (!cursor) return false;  // no usable MouseIcon: the default cursor
        SetCursor(cursor);
        return true;
    }
    SetCursor(LoadCursorW(nullptr, kSystemCursors[mousePointer_]));
    return true;
}

void IconControl::Mouse(MouseTracker::Kind kind, short button, WPARAM wParam, LPARAM lParam) {
    const unsigned keys = static_cast<unsigned>(wParam);
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT client{};
    GetClientRect(hwnd(), &client);
    const IconEvents events = mouse_.Translate(kind, button, PtInRect(&client, at) != FALSE);

    // Buttons pressed here keep the mouse with the control until the last is released.
    if (mouse_.pressed() && GetCapture() != hwnd()) SetCapture(hwnd());
    if (!mouse_.pressed() && GetCapture() == hwnd()) ReleaseCapture();

    IconMouseArgs args;
    args.button = kind == MouseTracker::Kind::Move ? ButtonsHeld(keys) : button;
    args.shift = ShiftState(keys, GetKeyState(VK_MENU) < 0);
    args.x = static_cast<float>(at.x);
    args.y = static_cast<float>(at.y);
    for (size_t i = 0; i < events.count; ++i) {
        if (!host_ || !hwnd()) return;  // a host may close the control from an event
        switch (events.events[i]) {
        case IconEvent::Click: host_->IconClick(*this); break;
        case IconEvent::DblClick: host_->IconDblClick(*this); break;
        case IconEvent::MouseDown: host_->IconMouseDown(*this, args); break;
        case IconEvent::MouseMove: host_->IconMouseMove(*this, args); break;
        case IconEvent::MouseUp: host_->IconMouseUp(*this, args); break;
        }
    }
}

LRESULT IconControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    using Kind = MouseTracker::Kind;
    switch (message) {
    case WM_CREATE: {
        RECT client{};
        GetClientRect(hwnd(), &client);
        if (!MakeImage(client.right, client.bottom)) return -1;
        DrawPictureIcon();
        return 0;
    }
    case WM_SIZE: {
        const int width = LOWORD(lParam), height = HIWORD(lParam);
        if ((width != imageSize_.cx || height != imageSize_.cy) && MakeImage(width, height))
            InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;  // the image covers the whole control
    case WM_PAINT:
        Paint();
        return 0;
    case WM_PRINTCLIENT:
        if (imageDc_)
            BitBlt(reinterpret_cast<HDC>(wParam), 0, 0, imageSize_.cx, imageSize_.cy, imageDc_.get(), 0, 0, SRCCOPY);
        return 0;
    case WM_SETCURSOR:
        if (reinterpret_cast<HWND>(wParam) == hwnd() && LOWORD(lParam) == HTCLIENT && SetPointerCursor()) return TRUE;
        break;
    case WM_LBUTTONDOWN: Mouse(Kind::Press, kLeftButton, wParam, lParam); return 0;
    case WM_RBUTTONDOWN: Mouse(Kind::Press, kRightButton, wParam, lParam); return 0;
    case WM_MBUTTONDOWN: Mouse(Kind::Press, kMiddleButton, wParam, lParam); return 0;
    case WM_LBUTTONDBLCLK: Mouse(Kind::DoublePress, kLeftButton, wParam, lParam); return 0;
    case WM_RBUTTONDBLCLK: Mouse(Kind::DoublePress, kRightButton, wParam, lParam); return 0;
    case WM_MBUTTONDBLCLK: Mouse(Kind::DoublePress, kMiddleButton, wParam, lParam); return 0;
    case WM_LBUTTONUP: Mouse(Kind::Release, kLeftButton, wParam, lParam); return 0;
    case WM_RBUTTONUP: Mouse(Kind::Release, kRightButton, wParam, lParam); return 0;
    case WM_MBUTTONUP: Mouse(Kind::Release, kMiddleButton, wParam, lParam); return 0;
    case WM_MOUSEMOVE: Mouse(Kind::Move, 0, wParam, lParam); return 0;
    case WM_CAPTURECHANGED:
        if (reinterpret_cast<HWND>(lParam) != hwnd()) mouse_.Reset();
        return 0;
    default:
        break;
    }
    return DefaultHandling(message, wParam, lParam);
}

}  // namespace bk::about
