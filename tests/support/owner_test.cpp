// The toolkit's owners and window bases: what they give back, and the one exception boundary
// of every message handler.
#include <gtest/gtest.h>

#include <stdexcept>

#include "support/win/dialog_template.h"
#include "support/win/owner.h"
#include "support/win/window.h"

namespace support {
namespace {

TEST(Owner, GivesBackOnEveryPathAndMovesOwnership) {
    HANDLE raw = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    {
        UniqueHandle event(raw);
        UniqueHandle moved(std::move(event));
        EXPECT_FALSE(event.valid());
        EXPECT_EQ(moved.get(), raw);
    }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags)) << "closed when its owner went";

    UniqueHandle none(INVALID_HANDLE_VALUE);
    EXPECT_FALSE(none.valid()) << "INVALID_HANDLE_VALUE is none, not a handle to close";

    UniqueHandle kept(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    HANDLE detached = kept.detach();
    EXPECT_FALSE(kept.valid());
    EXPECT_TRUE(GetHandleInformation(detached, &flags)) << "a detached handle stays open";
    UniqueHandle(detached).reset();
}

TEST(Owner, SelectionIsUndoneBeforeTheDeviceContextGoes) {
    const GdiObject<HFONT> font(CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma"));
    const WindowDC dc = GetWindowDC(nullptr);
    ASSERT_TRUE(dc);
    const HGDIOBJ before = GetCurrentObject(dc.get().dc, OBJ_FONT);
    {
        const SelectedObject selected = Select(dc.get().dc, font.get());
        EXPECT_EQ(GetCurrentObject(dc.get().dc, OBJ_FONT), font.get());
    }
    EXPECT_EQ(GetCurrentObject(dc.get().dc, OBJ_FONT), before);
    EXPECT_FALSE(Select(dc.get().dc, nullptr).valid()) << "nothing to select is nothing to undo";
}

class Throwing : public WindowBase {
public:
    bool Create() {
        WNDCLASSEXW wc{};
        wc.lpszClassName = L"OwnerTestThrowing";
        return RegisterWindowClass(wc) &&
               CreateOwnWindow(0, L"OwnerTestThrowing", L"t", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr);
    }
    int seen = 0;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_USER) {
            ++seen;
            throw std::runtime_error("handler failed");
        }
        return DefaultHandling(message, wParam, lParam);
    }
};

TEST(WindowBase, AnExceptionEndsTheMessageNotTheProgram) {
    Throwing window;
    ASSERT_TRUE(window.Create());
    HWND hwnd = window.hwnd();
    EXPECT_EQ(SendMessageW(hwnd, WM_USER, 0, 0), 0);
    EXPECT_EQ(window.seen, 1);
    EXPECT_TRUE(IsWindow(hwnd)) << "the window lives on";
    DestroyWindow(hwnd);
    EXPECT_EQ(window.hwnd(), nullptr) << "the object lets go of a destroyed window";
}

class Counting : public Subclass {
public:
    int chars = 0;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_CHAR) ++chars;
        return DefaultHandling(message, wParam, lParam);
    }
};

TEST(Subclass, SeesTheControlsMessagesAndLetsGoWhenEitherGoes) {
    Window edit(CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr));
    ASSERT_TRUE(edit);
    {
        Counting first, second;  // two hooks on one control
        ASSERT_TRUE(first.Attach(edit.get()));
        ASSERT_TRUE(second.Attach(edit.get()));
        SendMessageW(edit.get(), WM_CHAR, L'a', 0);
        EXPECT_EQ(first.chars, 1);
        EXPECT_EQ(second.chars, 1);
    }
    SendMessageW(edit.get(), WM_CHAR, L'b', 0);  // no hook left to call
    Counting late;
    ASSERT_TRUE(late.Attach(edit.get()));
    edit.reset();
    EXPECT_FALSE(late.attached()) << "detached when the control was destroyed";
}

class FailingDialog : public DialogBase {
public:
    INT_PTR Run() {
        return RunModal(nullptr, DialogTemplate(WS_POPUP | WS_CAPTION, 0, L"d", 0, 0, 50, 20).Build(),
                        GetModuleHandleW(nullptr));
    }

private:
    INT_PTR HandleMessage(UINT message, WPARAM, LPARAM) override {
        if (message == WM_INITDIALOG) throw std::runtime_error("cannot set up");
        return FALSE;
    }
};

TEST(DialogBase, AModalDialogThatCannotInitialiseEnds) {
    FailingDialog dialog;
    EXPECT_EQ(dialog.Run(), IDABORT);
    EXPECT_EQ(dialog.hwnd(), nullptr);
}

}  // namespace
}  // namespace support
