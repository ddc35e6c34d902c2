// orxAlone: registered and creatable; its members report that they are not built yet.
#include "Basekit0308.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"

namespace bk {
namespace {

class CorxAlone : public DispatchObject<CorxAlone, _orxAlone> {
public:
    static constexpr wchar_t kName[] = L"orxAlone";

    HRESULT STDMETHODCALLTYPE IsAlone(BSTR, VARIANT_BOOL*) override { return NotBuilt(L"IsAlone"); }
    HRESULT STDMETHODCALLTYPE IsAloneOnDesktop(BSTR, VARIANT_BOOL*) override { return NotBuilt(L"IsAloneOnDesktop"); }
    HRESULT STDMETHODCALLTYPE IsAloneAtUser(BSTR, VARIANT_BOOL*) override { return NotBuilt(L"IsAloneAtUser"); }
    HRESULT STDMETHODCALLTYPE get_AppGUID(BSTR*) override { return NotBuilt(L"AppGUID"); }
    HRESULT STDMETHODCALLTYPE get_WM_ACTIVATE_PREV_INSTANCE(LONG*) override { return NotBuilt(L"WM_ACTIVATE_PREV_INSTANCE"); }
    HRESULT STDMETHODCALLTYPE MarkPrevInstanceWindow(LONG, ActivationMethodConst, VARIANT_BOOL*) override { return NotBuilt(L"MarkPrevInstanceWindow"); }
    HRESULT STDMETHODCALLTYPE UnMarkPrevInstanceWindow(LONG, VARIANT_BOOL*) override { return NotBuilt(L"UnMarkPrevInstanceWindow"); }
    HRESULT STDMETHODCALLTYPE MarkPrevInstanceWindowEx(LONG, ActivationMethodConst, BSTR, VARIANT_BOOL*) override { return NotBuilt(L"MarkPrevInstanceWindowEx"); }
    HRESULT STDMETHODCALLTYPE UnMarkPrevInstanceWindowEx(LONG, BSTR, VARIANT_BOOL*) override { return NotBuilt(L"UnMarkPrevInstanceWindowEx"); }
    HRESULT STDMETHODCALLTYPE ActivatePrevInstanceWindow(VARIANT_BOOL*) override { return NotBuilt(L"ActivatePrevInstanceWindow"); }
    HRESULT STDMETHODCALLTYPE ActivatePrevInstanceWindowEx(BSTR, VARIANT_BOOL*) override { return NotBuilt(L"ActivatePrevInstanceWindowEx"); }
};

}  // namespace

HRESULT CreateOrxAlone(REFIID iid, void** out) { return CorxAlone::New(iid, out); }

}  // namespace bk
