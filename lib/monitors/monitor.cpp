#include "lib/monitors/monitor.h"

#include "lib/objectmodel/comobject.h"

namespace bk {
namespace {

class CMonitor : public DispatchObject<CMonitor, _Monitor> {
public:
    static constexpr wchar_t kName[] = L"Monitor";

    explicit CMonitor(const MonitorRecord& record) : record_(StoredMonitorRecord(record)) {}

    HRESULT STDMETHODCALLTYPE get_Primary(VARIANT_BOOL* value) override {
        if (!value) return E_POINTER;
        *value = (record_.flags & kPrimaryMonitorFlag) ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_Flags(LONG* value) override { return Put(value, static_cast<LONG>(record_.flags)); }
    HRESULT STDMETHODCALLTYPE get_DeviceName(BSTR* value) override {
        if (!value) return E_POINTER;
        *value = nullptr;
        return Guard([&] { return support::AllocBstr(MonitorDeviceName(record_), value); });
    }

    HRESULT STDMETHODCALLTYPE get_MonitorLeft(LONG* value) override { return Put(value, record_.monitor.left); }
    HRESULT STDMETHODCALLTYPE get_MonitorTop(LONG* value) override { return Put(value, record_.monitor.top); }
    HRESULT STDMETHODCALLTYPE get_MonitorRight(LONG* value) override { return Put(value, record_.monitor.right); }
    HRESULT STDMETHODCALLTYPE get_MonitorBottom(LONG* value) override { return Put(value, record_.monitor.bottom); }
    HRESULT STDMETHODCALLTYPE get_MonitorWidth(LONG* value) override {
        return PutExtent(value, record_.monitor.left, record_.monitor.right);
    }
    HRESULT STDMETHODCALLTYPE get_MonitorHeight(LONG* value) override {
        return PutExtent(value, record_.monitor.top, record_.monitor.bottom);
    }

    HRESULT STDMETHODCALLTYPE get_WorkAreaLeft(LONG* value) override { return Put(value, record_.workArea.left); }
    HRESULT STDMETHODCALLTYPE get_WorkAreaTop(LONG* value) override { return Put(value, record_.workArea.top); }
    HRESULT STDMETHODCALLTYPE get_WorkAreaRight(LONG* value) override { return Put(value, record_.workArea.right); }
    HRESULT STDMETHODCALLTYPE get_WorkAreaBottom(LONG* value) override { return Put(value, record_.workArea.bottom); }
    HRESULT STDMETHODCALLTYPE get_WorkAreaWidth(LONG* value) override {
        return PutExtent(value, record_.workArea.left, record_.workArea.right);
    }
    HRESULT STDMETHODCALLTYPE get_WorkAreaHeight(LONG* value) override {
        return PutExtent(value, record_.workArea.top, record_.workArea.bottom);
    }

private:
    static HRESULT Put(LONG* out, LONG value) {
        if (!out) return E_POINTER;
        *out = value;
        return S_OK;
    }
    // A width or height; one too large for 32 bits is an overflow error.
    static HRESULT PutExtent(LONG* out, std::int32_t low, std::int32_t high) {
        if (!out) return E_POINTER;
        *out = 0;
        const auto extent = Extent(low, high);
        if (!extent) return Raise(kErrOverflow);
        *out = *extent;
        return S_OK;
    }

    MonitorRecord record_;
};

}  // namespace

HRESULT CreateMonitor(const MonitorRecord& record, _Monitor** out) {
    return CMonitor::New(__uuidof(_Monitor), reinterpret_cast<void**>(out), record);
}

}  // namespace bk
