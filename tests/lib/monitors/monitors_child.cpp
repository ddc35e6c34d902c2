// Helper program of the monitor tests: asks orxMultiMonitor for the monitors in every way and
// prints one line per answer, so the tests can run it as an older Windows version:
//     all <count>
//     <request> <device name>|<flags>|<monitor rectangle>|<work area>    or    <request> none
// Exit code: 0, or 2 when the library or a call failed.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/harness/library.h"

namespace {

std::wstring Describe(_Monitor* m) {
    if (!m) return L"none";
    bktest::Bstr name;
    LONG flags = 0, v[8] = {};
    m->get_DeviceName(name.put());
    m->get_Flags(&flags);
    m->get_MonitorLeft(&v[0]);
    m->get_MonitorTop(&v[1]);
    m->get_MonitorRight(&v[2]);
    m->get_MonitorBottom(&v[3]);
    m->get_WorkAreaLeft(&v[4]);
    m->get_WorkAreaTop(&v[5]);
    m->get_WorkAreaRight(&v[6]);
    m->get_WorkAreaBottom(&v[7]);
    wchar_t text[256];
    swprintf(text, 256, L"%ls|%ld|%ld,%ld,%ld,%ld|%ld,%ld,%ld,%ld", name.str().c_str(), flags, v[0], v[1], v[2], v[3],
             v[4], v[5], v[6], v[7]);
    return text;
}

void Print(const std::wstring& line) { wprintf(L"%ls\n", line.c_str()); }

}  // namespace

int wmain() {
    support::ComApartment apartment;
    auto monitors = bktest::Create<_orxMultiMonitor>(CLSID_orxMultiMonitor);
    if (!monitors) return 2;
    bktest::ComPtr<_Collection> all;
    LONG count = 0;
    if (FAILED(monitors->GetAllMonitors(all.put())) || FAILED(all->Count(&count))) return 2;
    Print(L"all " + std::to_wstring(count));
    for (LONG i = 1; i <= count; ++i) {
        bktest::Variant index = bktest::Variant::FromLong(i), item;
        bktest::ComPtr<_Monitor> m;
        if (FAILED(all->Item(index.get(), item.put())) || item.vt() != VT_DISPATCH ||
            FAILED(V_DISPATCH(item.get())->QueryInterface(__uuidof(_Monitor), m.put_void())))
            return 2;
        Print(L"item " + Describe(m.get()));
    }
    // Requests no monitor answers: far off the screen, with no default.
    bktest::ComPtr<_Monitor> m;
    if (FAILED(monitors->MonitorFromWindow(0x7654321, mffDefaultToNull, m.put()))) return 2;
    Print(L"window " + Describe(m.get()));
    if (FAILED(monitors->MonitorFromPoint(100000, 100000, mffDefaultToNull, m.put()))) return 2;
    Print(L"point " + Describe(m.get()));
    if (FAILED(monitors->MonitorFromRect(50000, 50000, 50010, 50010, mffDefaultToNull, m.put()))) return 2;
    Print(L"rect " + Describe(m.get()));
    if (FAILED(monitors->MonitorFromNewRect(50000, 50000, 10, 10, mffDefaultToNull, m.put()))) return 2;
    Print(L"newrect " + Describe(m.get()));
    fflush(stdout);
    return 0;
}
