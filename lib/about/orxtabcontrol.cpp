// orxTabControl: registered and creatable, with its TabShown event source (clients advise their
// sinks); its members report that they are not built yet.
#include "Basekit0308.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/connectionpoints.h"

namespace bk {
namespace {

class CorxTabControl
    : public EventSourceObject<CorxTabControl, _orxTabControl, &DIID___orxTabControl, &CLSID_orxTabControl> {
public:
    static constexpr wchar_t kName[] = L"orxTabControl";

    HRESULT STDMETHODCALLTYPE get_CurrentTab(LONG*) override { return NotBuilt(L"CurrentTab"); }
    HRESULT STDMETHODCALLTYPE get_TabsCount(LONG*) override { return NotBuilt(L"TabsCount"); }
    HRESULT STDMETHODCALLTYPE get_TabItem(LONG, IDispatch**) override { return NotBuilt(L"TabItem"); }
    HRESULT STDMETHODCALLTYPE FillTabs(IDispatch*, VARIANT_BOOL) override { return NotBuilt(L"FillTabs"); }
    HRESULT STDMETHODCALLTYPE AddTab(IDispatch*, VARIANT_BOOL) override { return NotBuilt(L"AddTab"); }
    HRESULT STDMETHODCALLTYPE ClearTabs() override { return NotBuilt(L"ClearTabs"); }
    HRESULT STDMETHODCALLTYPE PopTab(LONG, VARIANT_BOOL, VARIANT_BOOL) override { return NotBuilt(L"PopTab"); }
    HRESULT STDMETHODCALLTYPE PopPrevTab(VARIANT_BOOL, VARIANT_BOOL) override { return NotBuilt(L"PopPrevTab"); }
    HRESULT STDMETHODCALLTYPE PopNextTab(VARIANT_BOOL, VARIANT_BOOL) override { return NotBuilt(L"PopNextTab"); }
    HRESULT STDMETHODCALLTYPE ArrangeTabs(VARIANT_BOOL) override { return NotBuilt(L"ArrangeTabs"); }
};

}  // namespace

HRESULT CreateOrxTabControl(REFIID iid, void** out) { return CorxTabControl::New(iid, out); }

}  // namespace bk
