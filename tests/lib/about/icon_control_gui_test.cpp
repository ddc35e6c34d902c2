// The icon control in a window on the screen: what it draws and keeps across repaints, its
// background colour, its cursor, and the mouse events its host hears from real mouse input.
#include <gtest/gtest.h>

#include <olectl.h>

#include <string>
#include <vector>

#include "lib/about/icon_control.h"
#include "support/win/com.h"
#include "support/win/owner.h"
#include "support/win/window.h"

using bk::about::IconControl;
using bk::about::IconControlHost;
using bk::about::IconMouseArgs;
using support::ComPtr;

namespace {

constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);
constexpr COLORREF kTeal = RGB(0, 128, 128);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr int kIconPixels = 32;
constexpr int kControlPixels = 48;

void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    } while (GetTickCount() - start < milliseconds);
}

// A 32 x 32 icon, opaque in `color` in one quarter (0 top left, 3 bottom right), transparent
// elsewhere.
HICON MakeIcon(COLORREF color, int quarter) {
    const int half = kIconPixels / 2;
    const RECT opaque{(quarter % 2) * half, (quarter / 2) * half, (quarter % 2) * half + half, (quarter / 2) * half + half};
    support::WindowDC screen = support::GetWindowDC(nullptr);
    support::GdiObject<HBITMAP> colors(CreateCompatibleBitmap(screen.get().dc, kIconPixels, kIconPixels));
    support::GdiObject<HBITMAP> mask(CreateBitmap(kIconPixels, kIconPixels, 1, 1, nullptr));
    support::MemoryDC dc(CreateCompatibleDC(screen.get().dc));
    {
        support::SelectedObject s = support::Select(dc.get(), colors.get());
        const RECT all{0, 0, kIconPixels, kIconPixels};
        support::GdiObject<HBRUSH> black(CreateSolidBrush(kBlack)), fill(CreateSolidBrush(color));
        FillRect(dc.get(), &all, black.get());
        FillRect(dc.get(), &opaque, fill.get());
    }
    {
        // Mask: 1 keeps the background (transparent), 0 shows the colour.
        support::SelectedObject s = support::Select(dc.get(), mask.get());
        PatBlt(dc.get(), 0, 0, kIconPixels, kIconPixels, WHITENESS);
        PatBlt(dc.get(), opaque.left, opaque.top, half, half, BLACKNESS);
    }
    ICONINFO info{TRUE, 0, 0, mask.get(), colors.get()};
    return CreateIconIndirect(&info);
}

// OLE pictures that own their handles.
ComPtr<IPictureDisp> PictureOf(PICTDESC desc) {
    ComPtr<IPictureDisp> picture;
    EXPECT_EQ(S_OK, OleCreatePictureIndirect(&desc, IID_IPictureDisp, TRUE, picture.put_void()));
    return picture;
}
ComPtr<IPictureDisp> IconPicture(COLORREF color, int quarter = 0) {
    PICTDESC d{sizeof(PICTDESC), PICTYPE_ICON, {}};
    d.icon.hicon = MakeIcon(color, quarter);
    return PictureOf(d);
}
ComPtr<IPictureDisp> BitmapPicture(COLORREF color) {
    support::WindowDC screen = support::GetWindowDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.get().dc, kIconPixels, kIconPixels);
    support::MemoryDC dc(CreateCompatibleDC(screen.get().dc));
    {
        support::SelectedObject s = support::Select(dc.get(), bitmap);
        support::GdiObject<HBRUSH> fill(CreateSolidBrush(color));
        const RECT all{0, 0, kIconPixels, kIconPixels};
        FillRect(dc.get(), &all, fill.get());
    }
    PICTDESC d{sizeof(PICTDESC), PICTYPE_BITMAP, {}};
    d.bmp.hbitmap = bitmap;
    return PictureOf(d);
}
ComPtr<IPictureDisp> EmptyPicture() {
    PICTDESC d{sizeof(PICTDESC), PICTYPE_NONE, {}};
    return PictureOf(d);
}

HICON HandleOf(IPictureDisp* picture) {
    ComPtr<IPicture> p;
    OLE_HANDLE h = 0;
    if (SUCCEEDED(picture->QueryInterface(IID_IPicture, p.put_void()))) p->get_Handle(&h);
    return static_cast<HICON>(LongToHandle(static_cast<LONG>(h)));
}

// A top-level window hosting one icon control at (10, 10), 48 x 48 pixels, and writing down
// what the control tells it.
class Host : public support::WindowBase, public IconControlHost {
public:
    Host() {
        WNDCLASSEXW wc{};
        wc.lpszClassName = L"IconControlTestHost";
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        RegisterWindowClass(wc);
        CreateOwnWindow(0, wc.lpszClassName, L"Icon control", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 240, 200,
                        nullptr, nullptr, nullptr);
        const RECT place{10, 10, 10 + kControlPixels, 10 + kControlPixels};
        icon.Create(hwnd(), 101, place, this);
        UpdateWindow(hwnd());
        Pump(100);
    }

    COLORREF Pixel(int x, int y) {
        support::WindowDC dc = support::GetWindowDC(icon.hwnd());
        return GetPixel(dc.get().dc, x, y);
    }
    // Paints over the control's surface behind its back, then lets it repaint.
    void ScribbleAndRepaint() {
        {
            support::WindowDC dc = support::GetWindowDC(icon.hwnd());
            PatBlt(dc.get().dc, 0, 0, kControlPixels, kControlPixels, BLACKNESS);
        }
        InvalidateRect(icon.hwnd(), nullptr, TRUE);
        UpdateWindow(icon.hwnd());
    }

    void IconClick(IconControl&) override { heard.push_back("Click"); }
    void IconDblClick(IconControl&) override { heard.push_back("DblClick"); }
    void IconMouseDown(IconControl&, IconMouseArgs& a) override { heard.push_back("MouseDown " + Args(a)); }
    void IconMouseMove(IconControl&, IconMouseArgs& a) override {
        lastMove = a;
        if (a.button || a.shift) heard.push_back("MouseMove " + Args(a));
    }
    void IconMouseUp(IconControl&, IconMouseArgs& a) override { heard.push_back("MouseUp " + Args(a)); }

    IconControl icon;  // goes before the host window
    std::vector<std::string> heard;
    IconMouseArgs lastMove;

private:
    static std::string Args(const IconMouseArgs& a) { return std::to_string(a.button) + " " + std::to_string(a.shift); }
};

std::vector<std::string> WithoutMoves(std::vector<std::string> heard) {
    std::erase_if(heard, [](const std::string& e) { return e.starts_with("MouseMove"); });
    return heard;
}

// Real mouse input at a point of the control (client pixels).
void MouseAt(HWND control, int x, int y, DWORD flags) {
    POINT p{x, y};
    ClientToScreen(control, &p);
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(in));
    Pump(30);
}

}  // namespace

TEST(IconControlGui, DrawsItsIconAtTheTopLeftOnItsBackgroundColour) {
    Host host;
    ASSERT_TRUE(host.icon.hwnd());
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(IconControl::kDefaultBackColor, host.icon.BackColor());
    EXPECT_EQ(face, host.Pixel(4, 4)) << "no picture: the plain background";

    auto red = IconPicture(kRed);
    host.icon.SetPicture(red.get());
    EXPECT_EQ(red.get(), host.icon.Picture().get());
    EXPECT_EQ(kRed, host.Pixel(4, 4));
    EXPECT_EQ(kRed, host.Pixel(15, 15));
    EXPECT_EQ(face, host.Pixel(24, 24)) << "the icon's transparent part";
    EXPECT_EQ(face, host.Pixel(40, 40)) << "beyond the icon";

    // A new icon replaces the old one whole.
    auto green = IconPicture(kGreen, 3);
    host.icon.SetPicture(green.get());
    EXPECT_EQ(face, host.Pixel(4, 4));
    EXPECT_EQ(kGreen, host.Pixel(24, 24));

    host.icon.SetPicture(nullptr);
    EXPECT_FALSE(host.icon.Picture());
    EXPECT_EQ(face, host.Pixel(24, 24)) << "removing the picture clears the surface";
}

TEST(IconControlGui, KeepsItsDrawingAcrossRepaintsAndResizes) {
    Host host;
    auto red = IconPicture(kRed);
    host.icon.SetPicture(red.get());
    host.ScribbleAndRepaint();
    EXPECT_EQ(kRed, host.Pixel(4, 4));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), host.Pixel(40, 40));

    // Hidden and shown again, then grown: the drawing is still there.
    ShowWindow(host.icon.hwnd(), SW_HIDE);
    ShowWindow(host.icon.hwnd(), SW_SHOW);
    SetWindowPos(host.icon.hwnd(), nullptr, 0, 0, 64, 64, SWP_NOMOVE | SWP_NOZORDER);
    UpdateWindow(host.icon.hwnd());
    Pump(50);
    EXPECT_EQ(kRed, host.Pixel(4, 4));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), host.Pixel(60, 60));
}

TEST(IconControlGui, APictureThatIsNoIconKeepsThePreviousDrawing) {
    Host host;
    auto red = IconPicture(kRed);
    host.icon.SetPicture(red.get());
    auto bitmap = BitmapPicture(kGreen);
    host.icon.SetPicture(bitmap.get());
    EXPECT_EQ(bitmap.get(), host.icon.Picture().get()) << "still the control's picture";
    EXPECT_EQ(kRed, host.Pixel(4, 4));
    auto empty = EmptyPicture();
    host.icon.SetPicture(empty.get());
    host.ScribbleAndRepaint();
    EXPECT_EQ(kRed, host.Pixel(4, 4));
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), host.Pixel(24, 24));
}

TEST(IconControlGui, ChangingBackColorRedrawsTheIconOverTheNewBackground) {
    Host host;
    auto red = IconPicture(kRed);
    host.icon.SetPicture(red.get());
    ASSERT_TRUE(host.icon.SetBackColor(kTeal));
    EXPECT_EQ(kTeal, host.icon.BackColor());
    EXPECT_EQ(kRed, host.Pixel(4, 4));
    EXPECT_EQ(kTeal, host.Pixel(24, 24));
    EXPECT_EQ(kTeal, host.Pixel(40, 40));

    // A system colour by its number, with the high bit set.
    ASSERT_TRUE(host.icon.SetBackColor(0x80000000 | COLOR_WINDOW));
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), host.Pixel(40, 40));
    EXPECT_EQ(kRed, host.Pixel(4, 4));

    // A value that names no colour changes nothing.
    EXPECT_FALSE(host.icon.SetBackColor(0x03000000));
    EXPECT_EQ(0x80000000 | COLOR_WINDOW, host.icon.BackColor());

    // Without a picture the new colour fills the whole surface.
    host.icon.SetPicture(nullptr);
    ASSERT_TRUE(host.icon.SetBackColor(kTeal));
    EXPECT_EQ(kTeal, host.Pixel(4, 4));
}

TEST(IconControlGui, PropertiesSetBeforeTheWindowIsMadeApplyWhenItIs) {
    Host host;
    IconControl early;
    auto red = IconPicture(kRed);
    early.SetBackColor(kTeal);
    early.SetPicture(red.get());
    ASSERT_TRUE(early.Create(host.hwnd(), 102, RECT{70, 10, 70 + kControlPixels, 10 + kControlPixels}));
    UpdateWindow(early.hwnd());
    support::WindowDC dc = support::GetWindowDC(early.hwnd());
    EXPECT_EQ(kRed, GetPixel(dc.get().dc, 4, 4));
    EXPECT_EQ(kTeal, GetPixel(dc.get().dc, 40, 40));
}

TEST(IconControlGui, MousePointerChoosesTheCursorOverTheControl) {
    Host host;
    auto cursor = IconPicture(kRed);
    const HWND w = host.icon.hwnd();
    const LPARAM overClient = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);

    EXPECT_EQ(0, host.icon.MousePointer());
    SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), overClient);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), GetCursor()) << "the default: the class's arrow";

    host.icon.SetMouseIcon(cursor.get());
    ASSERT_TRUE(host.icon.SetMousePointer(IconControl::kCustomPointer));
    EXPECT_TRUE(SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), overClient));
    EXPECT_EQ(HandleOf(cursor.get()), GetCursor());

    ASSERT_TRUE(host.icon.SetMousePointer(11));
    SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), overClient);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_WAIT), GetCursor());

    EXPECT_FALSE(host.icon.SetMousePointer(16));
    EXPECT_FALSE(host.icon.SetMousePointer(-1));
    EXPECT_EQ(11, host.icon.MousePointer());

    // Custom without a usable MouseIcon falls back to the default.
    host.icon.SetMouseIcon(nullptr);
    ASSERT_TRUE(host.icon.SetMousePointer(IconControl::kCustomPointer));
    SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w), overClient);
    EXPECT_EQ(LoadCursorW(nullptr, IDC_ARROW), GetCursor());
}

TEST(IconControlGui, MouseInputReachesTheHost) {
    Host host;
    const HWND w = host.icon.hwnd();
    SetForegroundWindow(host.hwnd());
    MouseAt(w, 20, 20, 0);
    host.heard.clear();

    // A drag with the right button: moves carry Button 2. (The system may add moves of its
    // own around a press, at the same place.)
    MouseAt(w, 20, 20, MOUSEEVENTF_RIGHTDOWN);
    MouseAt(w, 24, 22, 0);
    MouseAt(w, 24, 22, MOUSEEVENTF_RIGHTUP);
    ASSERT_GE(host.heard.size(), 3u);
    EXPECT_EQ("MouseDown 2 0", host.heard.front());
    EXPECT_EQ("MouseUp 2 0", host.heard.back());
    for (size_t i = 1; i + 1 < host.heard.size(); ++i) EXPECT_EQ("MouseMove 2 0", host.heard[i]);
    EXPECT_EQ(24.0f, host.lastMove.x);
    EXPECT_EQ(22.0f, host.lastMove.y);

    // A left click, then a double-click.
    host.heard.clear();
    MouseAt(w, 20, 20, MOUSEEVENTF_LEFTDOWN);
    MouseAt(w, 20, 20, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ((std::vector<std::string>{"MouseDown 1 0", "MouseUp 1 0", "Click"}), WithoutMoves(host.heard));
    Sleep(GetDoubleClickTime() + 100);  // the next press starts a new click
    host.heard.clear();
    MouseAt(w, 20, 20, MOUSEEVENTF_LEFTDOWN);
    MouseAt(w, 20, 20, MOUSEEVENTF_LEFTUP);
    MouseAt(w, 20, 20, MOUSEEVENTF_LEFTDOWN);
    MouseAt(w, 20, 20, MOUSEEVENTF_LEFTUP);
    EXPECT_EQ((std::vector<std::string>{"MouseDown 1 0", "MouseUp 1 0", "Click", "DblClick", "MouseUp 1 0"}),
              WithoutMoves(host.heard));
}

TEST(IconControlGui, MouseEventsCarryPositionAndShiftKeys) {
    Host host;
    const HWND w = host.icon.hwnd();
    struct Seen : IconControlHost {
        IconMouseArgs last;
        void IconMouseMove(IconControl&, IconMouseArgs& a) override { last = a; }
    } seen;
    host.icon.SetHost(&seen);
    SendMessageW(w, WM_MOUSEMOVE, MK_RBUTTON | MK_SHIFT | MK_CONTROL, MAKELPARAM(7, 9));
    EXPECT_EQ(2, seen.last.button);
    EXPECT_EQ(3, seen.last.shift);
    EXPECT_EQ(7.0f, seen.last.x);
    EXPECT_EQ(9.0f, seen.last.y);
}

TEST(IconControlGui, TheWindowClassGoesWithTheLastControl) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    {
        Host host;
        EXPECT_TRUE(GetClassInfoExW(GetModuleHandleW(nullptr), IconControl::kClassName, &wc));
        IconControl second;
        ASSERT_TRUE(second.Create(host.hwnd(), 102, RECT{70, 10, 100, 40}));
    }
    EXPECT_FALSE(GetClassInfoExW(GetModuleHandleW(nullptr), IconControl::kClassName, &wc))
        << "a library must not leave its class behind when it is unloaded";
}
