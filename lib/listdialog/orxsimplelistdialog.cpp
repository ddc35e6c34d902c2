// orxSimpleListDialog: registered and creatable; its members report that they are not built yet.
#include "Basekit0308.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"

namespace bk {
namespace {

class CorxSimpleListDialog : public DispatchObject<CorxSimpleListDialog, _orxSimpleListDialog> {
public:
    static constexpr wchar_t kName[] = L"orxSimpleListDialog";

    HRESULT STDMETHODCALLTYPE get_Elements(_Collection**) override { return NotBuilt(L"Elements"); }
    HRESULT STDMETHODCALLTYPE putref_Elements(_Collection**) override { return NotBuilt(L"Elements"); }
    HRESULT STDMETHODCALLTYPE put_Elements(_Collection**) override { return NotBuilt(L"Elements"); }
    HRESULT STDMETHODCALLTYPE putref_Font(IFontDisp*) override { return NotBuilt(L"Font"); }
    HRESULT STDMETHODCALLTYPE put_Font(IFontDisp*) override { return NotBuilt(L"Font"); }
    HRESULT STDMETHODCALLTYPE get_Font(IFontDisp**) override { return NotBuilt(L"Font"); }
    HRESULT STDMETHODCALLTYPE put_ShowCountInCaption(VARIANT_BOOL) override { return NotBuilt(L"ShowCountInCaption"); }
    HRESULT STDMETHODCALLTYPE get_ShowCountInCaption(VARIANT_BOOL*) override { return NotBuilt(L"ShowCountInCaption"); }
    HRESULT STDMETHODCALLTYPE put_Caption(BSTR) override { return NotBuilt(L"Caption"); }
    HRESULT STDMETHODCALLTYPE get_Caption(BSTR*) override { return NotBuilt(L"Caption"); }
    HRESULT STDMETHODCALLTYPE Show() override { return NotBuilt(L"Show"); }
};

}  // namespace

HRESULT CreateOrxSimpleListDialog(REFIID iid, void** out) { return CorxSimpleListDialog::New(iid, out); }

}  // namespace bk
