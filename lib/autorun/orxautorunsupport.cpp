// orxAutorunSupport: registered and creatable; its members report that they are not built yet.
#include "Basekit0308.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"

namespace bk {
namespace {

class CorxAutorunSupport : public DispatchObject<CorxAutorunSupport, _orxAutorunSupport> {
public:
    static constexpr wchar_t kName[] = L"orxAutorunSupport";

    HRESULT STDMETHODCALLTYPE get_ForCurrentUserOnly(VARIANT_BOOL*) override { return NotBuilt(L"ForCurrentUserOnly"); }
    HRESULT STDMETHODCALLTYPE put_ForCurrentUserOnly(VARIANT_BOOL) override { return NotBuilt(L"ForCurrentUserOnly"); }
    HRESULT STDMETHODCALLTYPE IsInAutorun(BSTR, VARIANT_BOOL*) override { return NotBuilt(L"IsInAutorun"); }
    HRESULT STDMETHODCALLTYPE GetAutorunString(BSTR, BSTR*) override { return NotBuilt(L"GetAutorunString"); }
    HRESULT STDMETHODCALLTYPE AddToAutorun(BSTR, BSTR, VARIANT_BOOL*) override { return NotBuilt(L"AddToAutorun"); }
    HRESULT STDMETHODCALLTYPE DeleteFromAutorun(BSTR, VARIANT_BOOL*) override { return NotBuilt(L"DeleteFromAutorun"); }
};

}  // namespace

HRESULT CreateOrxAutorunSupport(REFIID iid, void** out) { return CorxAutorunSupport::New(iid, out); }

}  // namespace bk
