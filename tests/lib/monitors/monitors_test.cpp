// orxMultiMonitor and Monitor on the test display (one screen, as Xvfb gives it): the
// monitor list, the look-ups by window, point and rectangle with each flag, and the errors.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>
#include <tuple>

#include "tests/harness/library.h"
#include "tests/harness/scratch.h"
#include "support/win/owner.h"

using namespace bktest;

namespace {

ComPtr<_orxMultiMonitor> NewMonitors() {
    auto m = Create<_orxMultiMonitor>(CLSID_orxMultiMonitor);
    EXPECT_TRUE(m);
    return m;
}

// What the system itself says of the primary monitor.
MONITORINFOEXW PrimaryInfo() {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
    return info;
}

LONG Get(_Monitor* m, HRESULT (STDMETHODCALLTYPE _Monitor::*property)(LONG*)) {
    LONG v = -12345;
    EXPECT_EQ(S_OK, (m->*property)(&v));
    return v;
}

// Every property of `m` against the primary monitor as the system reports it.
void ExpectPrimary(_Monitor* m) {
    ASSERT_TRUE(m);
    const MONITORINFOEXW info = PrimaryInfo();
    VARIANT_BOOL primary = 0;
    ASSERT_EQ(S_OK, m->get_Primary(&primary));
    EXPECT_EQ(VARIANT_TRUE, primary);
    EXPECT_EQ(static_cast<LONG>(info.dwFlags), Get(m, &_Monitor::get_Flags));
    Bstr name;
    ASSERT_EQ(S_OK, m->get_DeviceName(name.put()));
    EXPECT_EQ(std::wstring(info.szDevice), name.str());
    EXPECT_EQ(0, name.str().rfind(L"\\\\.\\DISPLAY", 0)) << name.str();

    EXPECT_EQ(0, Get(m, &_Monitor::get_MonitorLeft));
    EXPECT_EQ(0, Get(m, &_Monitor::get_MonitorTop));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), Get(m, &_Monitor::get_MonitorWidth));
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), Get(m, &_Monitor::get_MonitorHeight));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), Get(m, &_Monitor::get_MonitorRight));
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), Get(m, &_Monitor::get_MonitorBottom));

    RECT work{};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work.left, Get(m, &_Monitor::get_WorkAreaLeft));
    EXPECT_EQ(work.top, Get(m, &_Monitor::get_WorkAreaTop));
    EXPECT_EQ(work.right, Get(m, &_Monitor::get_WorkAreaRight));
    EXPECT_EQ(work.bottom, Get(m, &_Monitor::get_WorkAreaBottom));
    EXPECT_EQ(work.right - work.left, Get(m, &_Monitor::get_WorkAreaWidth));
    EXPECT_EQ(work.bottom - work.top, Get(m, &_Monitor::get_WorkAreaHeight));
}

}  // namespace

TEST(Monitors, TheTestScreenIsOnePrimaryMonitorOfItsSize) {
    // The test display is Xvfb's 1280 x 1024 screen.
    ASSERT_EQ(1280, GetSystemMetrics(SM_CXSCREEN));
    ASSERT_EQ(1024, GetSystemMetrics(SM_CYSCREEN));
    auto monitors = NewMonitors();
    ComPtr<_Collection> all;
    ASSERT_EQ(S_OK, monitors->GetAllMonitors(all.put()));
    ASSERT_TRUE(all);
    LONG count = 0;
    ASSERT_EQ(S_OK, all->Count(&count));
    ASSERT_EQ(1, count);
    Variant index = Variant::FromLong(1), item;
    ASSERT_EQ(S_OK, all->Item(index.get(), item.put()));
    ASSERT_EQ(VT_DISPATCH, item.vt());
    ComPtr<_Monitor> monitor;
    ASSERT_EQ(S_OK, V_DISPATCH(item.get())->QueryInterface(__uuidof(_Monitor), monitor.put_void()));
    ExpectPrimary(monitor.get());
    EXPECT_EQ(1280, Get(monitor.get(), &_Monitor::get_MonitorWidth));
    EXPECT_EQ(1024, Get(monitor.get(), &_Monitor::get_MonitorHeight));

    // Each call lists the monitors afresh, in a collection of its own.
    ComPtr<_Collection> again;
    ASSERT_EQ(S_OK, monitors->GetAllMonitors(again.put()));
    EXPECT_NE(all.get(), again.get());
    ASSERT_EQ(S_OK, again->Count(&count));
    EXPECT_EQ(1, count);
}

TEST(Monitors, APointFarOutsideFindsNothingThePrimaryOrTheNearestByFlag) {
    auto monitors = NewMonitors();
    for (const LONG x : {100000, -100000}) {
        SCOPED_TRACE(x);
        ComPtr<_Monitor> m;
        ASSERT_EQ(S_OK, monitors->MonitorFromPoint(x, x, mffDefaultToNull, m.put()));
        EXPECT_FALSE(m);
        ASSERT_EQ(S_OK, monitors->MonitorFromPoint(x, x, mffDefaultToPrimary, m.put()));
        ExpectPrimary(m.get());
        ASSERT_EQ(S_OK, monitors->MonitorFromPoint(x, x, mffDefaultToNearest, m.put()));
        ExpectPrimary(m.get());
    }
    // A point on the screen needs no default.
    ComPtr<_Monitor> m;
    ASSERT_EQ(S_OK, monitors->MonitorFromPoint(640, 512, mffDefaultToNull, m.put()));
    ExpectPrimary(m.get());
}

TEST(Monitors, RectanglesByEdgesAndBySize) {
    auto monitors = NewMonitors();
    ComPtr<_Monitor> m;
    ASSERT_EQ(S_OK, monitors->MonitorFromRect(10, 10, 200, 100, mffDefaultToNull, m.put()));
    ExpectPrimary(m.get());
    ASSERT_EQ(S_OK, monitors->MonitorFromRect(50000, 50000, 50100, 50100, mffDefaultToNull, m.put()));
    EXPECT_FALSE(m);
    ASSERT_EQ(S_OK, monitors->MonitorFromRect(50000, 50000, 50100, 50100, mffDefaultToNearest, m.put()));
    ExpectPrimary(m.get());

    ASSERT_EQ(S_OK, monitors->MonitorFromNewRect(0, 0, 10, 10, mffDefaultToNull, m.put()));
    ExpectPrimary(m.get());
    // The size is added to the origin: far away, found only with a default.
    ASSERT_EQ(S_OK, monitors->MonitorFromNewRect(50000, 50000, 10, 10, mffDefaultToNull, m.put()));
    EXPECT_FALSE(m);
    ASSERT_EQ(S_OK, monitors->MonitorFromNewRect(50000, 50000, 10, 10, mffDefaultToPrimary, m.put()));
    ExpectPrimary(m.get());
}

TEST(Monitors, ARectangleWhoseEdgeOverflowsIsAnOverflowError) {
    auto monitors = NewMonitors();
    for (const auto& [left, top, width, height] :
         {std::tuple{INT_MAX, 0, 1, 1}, std::tuple{0, INT_MAX - 5, 10, 10}, std::tuple{INT_MIN, 0, -1, 5}}) {
        ComPtr<_Monitor> m;
        const HRESULT hr = monitors->MonitorFromNewRect(left, top, width, height, mffDefaultToPrimary, m.put());
        const CallError e = LastError(hr);
        EXPECT_EQ(6, e.number);
        EXPECT_EQ(L"Overflow", e.description);
        EXPECT_EQ(L"Basekit0308.orxMultiMonitor", e.source);
        EXPECT_FALSE(m);
    }
    // The largest rectangle that fits is fine.
    ComPtr<_Monitor> m;
    ASSERT_EQ(S_OK, monitors->MonitorFromNewRect(INT_MAX - 1, 0, 1, 1, mffDefaultToPrimary, m.put()));
    ExpectPrimary(m.get());
}

TEST(Monitors, WindowsFindTheirMonitor) {
    auto monitors = NewMonitors();
    HWND window = CreateWindowExW(0, L"STATIC", L"bk monitors test", WS_POPUP, 100, 100, 200, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_TRUE(window);
    support::Window owner(window);
    const LONG handle = static_cast<LONG>(reinterpret_cast<LONG_PTR>(window));
    ComPtr<_Monitor> m;
    ASSERT_EQ(S_OK, monitors->MonitorFromWindow(handle, mffDefaultToNull, m.put()));
    ExpectPrimary(m.get());
    // Moved off every screen, the window is on no monitor.
    ASSERT_TRUE(SetWindowPos(window, nullptr, 60000, 60000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ASSERT_EQ(S_OK, monitors->MonitorFromWindow(handle, mffDefaultToNull, m.put()));
    EXPECT_FALSE(m);
    ASSERT_EQ(S_OK, monitors->MonitorFromWindow(handle, mffDefaultToNearest, m.put()));
    ExpectPrimary(m.get());
}

TEST(Monitors, ClientsCannotCreateAMonitor) {
    ComPtr<_Monitor> made;
    EXPECT_EQ(CLASS_E_CLASSNOTAVAILABLE, CreateFromLibrary(CLSID_Monitor, __uuidof(_Monitor), made.put_void()));
    EXPECT_FALSE(made);
}

namespace {

// Runs the helper program as Windows `version` (Wine's per-program setting; empty: as the
// prefix is set) and returns what it printed.
std::string RunChildAs(const wchar_t* version) {
    constexpr wchar_t kKey[] = L"Software\\Wine\\AppDefaults\\monitors_child.exe";
    if (*version) {
        support::RegKey key;
        EXPECT_EQ(ERROR_SUCCESS,
                  RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.put(), nullptr));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(key.get(), L"Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                                                static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t))));
    }
    std::string output;
    const int code = RunCaptured(L"\"" + BinFile(L"monitors_child.exe") + L"\"", output);
    RegDeleteKeyW(HKEY_CURRENT_USER, kKey);
    EXPECT_EQ(0, code) << output;
    output.erase(std::remove(output.begin(), output.end(), '\r'), output.end());
    return output;
}

}  // namespace

TEST(Monitors, OnWindowsWithoutMonitorFunctionsEveryRequestIsAnsweredWithTheDesktop) {
    RECT desktop{}, work{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0));
    char expected[160];
    snprintf(expected, sizeof expected, "DISPLAY|1|%ld,%ld,%ld,%ld|%ld,%ld,%ld,%ld", desktop.left, desktop.top,
             desktop.right, desktop.bottom, work.left, work.top, work.right, work.bottom);
    const std::string d = expected;
    for (const wchar_t* version : {L"win95", L"nt40", L"nt351"}) {
        SCOPED_TRACE(testing::Message() << "as " << mvtest::Utf8(version));
        EXPECT_EQ("all 1\nitem " + d + "\nwindow " + d + "\npoint " + d + "\nrect " + d + "\nnewrect " + d + "\n",
                  RunChildAs(version));
    }
    // The same program on a current version asks the system, which finds nothing there.
    const std::string current = RunChildAs(L"");
    EXPECT_EQ(0u, current.find("all 1\nitem \\\\.\\DISPLAY")) << current;
    EXPECT_NE(std::string::npos, current.find("window none\npoint none\nrect none\nnewrect none\n")) << current;
}
