// The icon control (ucIconControl): a child window of the library's own class that shows one
// icon at its top left corner on a plain background and passes its mouse events on to its
// host. The About dialog hosts one beside its pages; any window of the library can.
//
//   class Dialog : public IconControlHost { IconControl icon_; ... };
//   icon_.Create(dialog, kIconId, {20, 20, 52, 52}, this);
//   icon_.SetBackColor(RGB(0, 128, 128));
//   icon_.SetPicture(largeIcon);      // an OLE picture (IPictureDisp) holding an HICON
//   void Dialog::IconClick(IconControl&) override { ... }
//
// What the control shows lives in a memory bitmap of its own (its persistent image) that
// every WM_PAINT copies to the screen, so a drawing stays until the control draws again:
// - Picture an icon: the image is cleared to BackColor and the icon drawn at (0, 0)
//   (DrawIcon: the system's icon size); a picture whose handle is not an icon (a bitmap, an
//   empty picture) is kept as the Picture but draws nothing, and the image stays as it was;
//   no picture: the image is cleared to BackColor.
// - BackColor: clears the image to the new colour and draws the icon again.
// The control neither sizes itself nor its icon: the host gives it the icon's size.
//
// Mouse events reach the host through IconControlHost, with X and Y in pixels from the
// control's top left corner. MousePointer 0 leaves the cursor to the parent and the class
// (the arrow), 1-15 are the system's cursors of the classic numbering, 99 is MouseIcon.
// Properties set before Create take effect when the window is made.
#pragma once

#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include "lib/about/icon_mouse.h"
#include "support/win/com.h"
#include "support/win/owner.h"
#include "support/win/window.h"

namespace bk::about {

class IconControl;

// A mouse event's arguments, by reference: the host may change them.
struct IconMouseArgs {
    short button = 0;  // MouseDown/MouseUp: the button (1 left, 2 right, 4 middle); MouseMove: those held
    short shift = 0;   // 1 Shift, 2 Ctrl, 4 Alt
    float x = 0;       // pixels from the control's left edge
    float y = 0;       // pixels from the control's top edge
};

// What the host of an icon control hears. Calls come from the control's window procedure; a
// host may destroy the control's window from them, but not the IconControl object.
class IconControlHost {
public:
    virtual void IconClick(IconControl&) {}
    virtual void IconDblClick(IconControl&) {}
    virtual void IconMouseDown(IconControl&, IconMouseArgs&) {}
    virtual void IconMouseMove(IconControl&, IconMouseArgs&) {}
    virtual void IconMouseUp(IconControl&, IconMouseArgs&) {}

protected:
    ~IconControlHost() = default;
};

class IconControl final : public support::WindowBase {
public:
    static constexpr wchar_t kClassName[] = L"Basekit0308.ucIconControl";
    static constexpr OLE_COLOR kDefaultBackColor = 0x8000000F;  // the system's button face
    static constexpr short kDefaultPointer = 0;
    static constexpr short kCustomPointer = 99;

    IconControl() = default;
    ~IconControl() override;

    // Makes the control's window, visible, at `place` (pixels in the parent's client area).
    // Null when the window cannot be made.
    HWND Create(HWND parent, int id, const RECT& place, IconControlHost* host = nullptr);
    void SetHost(IconControlHost* host) { host_ = host; }

    // The picture shown; null for none. Setting it keeps a reference (the icon handle stays
    // valid while the control holds it) and redraws.
    support::ComPtr<IPictureDisp> Picture() const { return picture_; }
    void SetPicture(IPictureDisp* picture);

    // A colour, or 0x80000000 + n for system colour n. False for a value that names no
    // colour: nothing changes then.
    OLE_COLOR BackColor() const { return backColor_; }
    bool SetBackColor(OLE_COLOR color);

    // The cursor picture for MousePointer 99 (an icon or cursor); null for none.
    support::ComPtr<IPictureDisp> MouseIcon() const { return mouseIcon_; }
    void SetMouseIcon(IPictureDisp* picture) { mouseIcon_ = support::ComPtr<IPictureDisp>::Share(picture); }

    // 0, 1-15 or 99; false for any other value, which changes nothing.
    short MousePointer() const { return mousePointer_; }
    bool SetMousePointer(short pointer);

private:
    // The window class, registered while some control of this module holds it.
    static bool AcquireClass();
    static void ReleaseClass();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool MakeImage(int width, int height);
    void ClearImage();
    // Draws the picture over the image when its handle is an icon; false when it is not.
    bool DrawPictureIcon();
    void Refresh();
    void Paint();
    bool SetPointerCursor();
    void Mouse(MouseTracker::Kind kind, short button, WPARAM wParam, LPARAM lParam);

    IconControlHost* host_ = nullptr;
    support::ComPtr<IPictureDisp> picture_;
    support::ComPtr<IPictureDisp> mouseIcon_;
    OLE_COLOR backColor_ = kDefaultBackColor;
    short mousePointer_ = kDefaultPointer;
    MouseTracker mouse_;

    // The persistent image: a bitmap selected into a memory DC (selection undone first).
    support::MemoryDC imageDc_;
    support::GdiObject<HBITMAP> image_;
    support::SelectedObject imageSelected_;
    SIZE imageSize_{};
    bool registered_ = false;  // holds a count of the window class's users
};

}  // namespace bk::about
