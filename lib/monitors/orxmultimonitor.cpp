// orxMultiMonitor: the display monitors, and the monitor of a window, a point or a rectangle,
// each answered with a Monitor. The system's monitor functions are bound when first needed,
// so the library loads on hosts without them; there, and on the hosts known to lack them,
// every request is answered with one monitor covering the desktop.
#include <windows.h>

#include <algorithm>
#include <iterator>
#include <optional>

#include "Basekit0308.h"
#include "lib/automation/collection.h"
#include "lib/monitors/monitor.h"
#include "lib/monitors/monitor_record.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"
#include "support/es/host.h"

namespace bk {
namespace {

using support::ComPtr;

struct MonitorFunctions {
    decltype(&::EnumDisplayMonitors) enumDisplayMonitors = nullptr;
    decltype(&::MonitorFromWindow) fromWindow = nullptr;
    decltype(&::MonitorFromPoint) fromPoint = nullptr;
    decltype(&::MonitorFromRect) fromRect = nullptr;
    decltype(&::GetMonitorInfoW) getInfo = nullptr;
};

template <class F>
bool Bind(HMODULE module, const char* name, F& function) {
    function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    return function != nullptr;
}

// The host's monitor functions, or null on a host that lacks any of them. Asked once per
// process: the answer is the same for every thread.
const MonitorFunctions* HostMonitorFunctions() {
    static const std::optional<MonitorFunctions> functions = []() -> std::optional<MonitorFunctions> {
        if (support::esIsHostWin95() || support::esIsHostWinNT40() || support::esIsHostWinNT351())
            return std::nullopt;
        const HMODULE user = GetModuleHandleW(L"user32.dll");
        MonitorFunctions f;
        if (!user || !Bind(user, "EnumDisplayMonitors", f.enumDisplayMonitors) ||
            !Bind(user, "MonitorFromWindow", f.fromWindow) || !Bind(user, "MonitorFromPoint", f.fromPoint) ||
            !Bind(user, "MonitorFromRect", f.fromRect) || !Bind(user, "GetMonitorInfoW", f.getInfo))
            return std::nullopt;
        return f;
    }();
    return functions ? &*functions : nullptr;
}

support::Rect FromRECT(const RECT& r) {
    return {static_cast<std::int32_t>(r.left), static_cast<std::int32_t>(r.top), static_cast<std::int32_t>(r.right),
            static_cast<std::int32_t>(r.bottom)};
}

// The system's record of a monitor; false when the system has none for it.
bool ReadMonitor(const MonitorFunctions& api, HMONITOR handle, MonitorRecord& record) {
    MONITORINFOEXW info{};
    info.cbSize = sizeof info;
    if (!api.getInfo(handle, &info)) return false;
    static_assert(std::size(MONITORINFOEXW{}.szDevice) == kMonitorDeviceNameLength);
    record.monitor = FromRECT(info.rcMonitor);
    record.workArea = FromRECT(info.rcWork);
    record.flags = info.dwFlags;
    std::copy(std::begin(info.szDevice), std::end(info.szDevice), record.deviceName.begin());
    return true;
}

// The one monitor of a host without the monitor functions.
MonitorRecord DesktopRecord() {
    RECT desktop{};
    GetWindowRect(GetDesktopWindow(), &desktop);
    RECT work = desktop;
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) work = desktop;
    return SingleDisplayRecord(FromRECT(desktop), FromRECT(work));
}

// What one enumeration collects: its state lives in the call, so enumerations on several
// threads, or one started from inside another, keep apart.
struct Enumeration {
    const MonitorFunctions* api;
    _Collection* monitors;
    HRESULT failure = S_OK;  // the first monitor that could not be added
};

BOOL CALLBACK AddMonitor(HMONITOR handle, HDC, LPRECT, LPARAM data) {
    auto& e = *reinterpret_cast<Enumeration*>(data);
    MonitorRecord record;
    if (!ReadMonitor(*e.api, handle, record)) return TRUE;
    ComPtr<_Monitor> monitor;
    HRESULT hr = CreateMonitor(record, monitor.put());
    if (SUCCEEDED(hr)) {
        VARIANT item;
        V_VT(&item) = VT_DISPATCH;
        V_DISPATCH(&item) = monitor.get();  // Add keeps its own reference
        hr = CollectionAppend(e.monitors, item);
    }
    if (FAILED(hr) && SUCCEEDED(e.failure)) e.failure = hr;
    return TRUE;  // the others are still wanted
}

class CorxMultiMonitor : public DispatchObject<CorxMultiMonitor, _orxMultiMonitor> {
public:
    static constexpr wchar_t kName[] = L"orxMultiMonitor";

    HRESULT STDMETHODCALLTYPE GetAllMonitors(_Collection** result) override {
        if (!result) return E_POINTER;
        *result = nullptr;
        return Guard([&] {
            ComPtr<_Collection> monitors;
            if (HRESULT hr = CreateCollection(monitors.put()); FAILED(hr)) return hr;
            if (const MonitorFunctions* api = HostMonitorFunctions()) {
                Enumeration e{api, monitors.get()};
                api->enumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&e));
                if (FAILED(e.failure)) return e.failure;
            } else {
                ComPtr<_Monitor> monitor;
                if (HRESULT hr = CreateMonitor(DesktopRecord(), monitor.put()); FAILED(hr)) return hr;
                VARIANT item;
                V_VT(&item) = VT_DISPATCH;
                V_DISPATCH(&item) = monitor.get();
                if (HRESULT hr = CollectionAppend(monitors.get(), item); FAILED(hr)) return hr;
            }
            *result = monitors.detach();
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE MonitorFromWindow(LONG hWnd, MonitorFromFlags flags, _Monitor** result) override {
        // A window handle travels as 32 bits; it is sign-extended back, as the system does.
        const HWND window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(hWnd));
        return Answer(result, [&](const MonitorFunctions& api) {
            return api.fromWindow(window, static_cast<DWORD>(flags));
        });
    }

    HRESULT STDMETHODCALLTYPE MonitorFromPoint(LONG x, LONG y, MonitorFromFlags flags, _Monitor** result) override {
        return Answer(result, [&](const MonitorFunctions& api) {
            return api.fromPoint(POINT{x, y}, static_cast<DWORD>(flags));
        });
    }

    HRESULT STDMETHODCALLTYPE MonitorFromRect(LONG left, LONG top, LONG right, LONG bottom, MonitorFromFlags flags,
                                              _Monitor** result) override {
        const RECT rect{left, top, right, bottom};
        return Answer(result, [&](const MonitorFunctions& api) { return api.fromRect(&rect, static_cast<DWORD>(flags)); });
    }

    HRESULT STDMETHODCALLTYPE MonitorFromNewRect(LONG left, LONG top, LONG width, LONG height, MonitorFromFlags flags,
                                                 _Monitor** result) override {
        if (!result) return E_POINTER;
        *result = nullptr;
        const auto rect = RectFromSize(left, top, width, height);
        if (!rect) return Raise(kErrOverflow);
        return MonitorFromRect(rect->left, rect->top, rect->right, rect->bottom, flags, result);
    }

private:
    // A Monitor for the handle `find` gets from the system; none when it gets no handle or
    // the system has no record of that monitor. The desktop's monitor on a host without the
    // monitor functions, whatever was asked.
    template <class Find>
    static HRESULT Answer(_Monitor** result, Find&& find) {
        if (!result) return E_POINTER;
        *result = nullptr;
        return Guard([&] {
            const MonitorFunctions* api = HostMonitorFunctions();
            if (!api) return CreateMonitor(DesktopRecord(), result);
            const HMONITOR handle = find(*api);
            MonitorRecord record;
            if (!handle || !ReadMonitor(*api, handle, record)) return S_OK;
            return CreateMonitor(record, result);
        });
    }
};

}  // namespace

HRESULT CreateOrxMultiMonitor(REFIID iid, void** out) { return CorxMultiMonitor::New(iid, out); }

}  // namespace bk
