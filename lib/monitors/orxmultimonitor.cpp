// orxMultiMonitor: registered and creatable; its members report that they are not built yet.
#include "Basekit0308.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"

namespace bk {
namespace {

class CorxMultiMonitor : public DispatchObject<CorxMultiMonitor, _orxMultiMonitor> {
public:
    static constexpr wchar_t kName[] = L"orxMultiMonitor";

    HRESULT STDMETHODCALLTYPE GetAllMonitors(_Collection**) override { return NotBuilt(L"GetAllMonitors"); }
    HRESULT STDMETHODCALLTYPE MonitorFromWindow(LONG, MonitorFromFlags, _Monitor**) override { return NotBuilt(L"MonitorFromWindow"); }
    HRESULT STDMETHODCALLTYPE MonitorFromPoint(LONG, LONG, MonitorFromFlags, _Monitor**) override { return NotBuilt(L"MonitorFromPoint"); }
    HRESULT STDMETHODCALLTYPE MonitorFromRect(LONG, LONG, LONG, LONG, MonitorFromFlags, _Monitor**) override { return NotBuilt(L"MonitorFromRect"); }
    HRESULT STDMETHODCALLTYPE MonitorFromNewRect(LONG, LONG, LONG, LONG, MonitorFromFlags, _Monitor**) override { return NotBuilt(L"MonitorFromNewRect"); }
};

}  // namespace

HRESULT CreateOrxMultiMonitor(REFIID iid, void** out) { return CorxMultiMonitor::New(iid, out); }

}  // namespace bk
