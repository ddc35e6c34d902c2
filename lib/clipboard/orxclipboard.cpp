// orxClipboard: registered and creatable; its members report that they are not built yet.
#include "Basekit0308.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"

namespace bk {
namespace {

class CorxClipboard : public DispatchObject<CorxClipboard, _orxClipboard> {
public:
    static constexpr wchar_t kName[] = L"orxClipboard";

    HRESULT STDMETHODCALLTYPE Clear(VARIANT_BOOL*) override { return NotBuilt(L"Clear"); }
    HRESULT STDMETHODCALLTYPE get_CF_HTML(LONG*) override { return NotBuilt(L"CF_HTML"); }
    HRESULT STDMETHODCALLTYPE SetHTML(BSTR, BSTR*, BSTR*, VARIANT_BOOL*) override { return NotBuilt(L"SetHTML"); }
    HRESULT STDMETHODCALLTYPE GetHTML(GetHTMLReturnValue, BSTR*) override { return NotBuilt(L"GetHTML"); }
    HRESULT STDMETHODCALLTYPE SetText(BSTR, VARIANT_BOOL*) override { return NotBuilt(L"SetText"); }
    HRESULT STDMETHODCALLTYPE GetText(VARIANT_BOOL, BSTR*) override { return NotBuilt(L"GetText"); }
    HRESULT STDMETHODCALLTYPE IsFormatAvailable(LONG, VARIANT_BOOL*) override { return NotBuilt(L"IsFormatAvailable"); }
    HRESULT STDMETHODCALLTYPE SetRAWData(LONG, SAFEARRAY**, VARIANT_BOOL*) override { return NotBuilt(L"SetRAWData"); }
    HRESULT STDMETHODCALLTYPE GetRAWData(LONG, SAFEARRAY**, LONG*, VARIANT_BOOL*) override { return NotBuilt(L"GetRAWData"); }
    HRESULT STDMETHODCALLTYPE GetFormatName(LONG, BSTR*) override { return NotBuilt(L"GetFormatName"); }
    HRESULT STDMETHODCALLTYPE GetFormatsCount(LONG*) override { return NotBuilt(L"GetFormatsCount"); }
    HRESULT STDMETHODCALLTYPE GetFormats(_Collection**) override { return NotBuilt(L"GetFormats"); }
    HRESULT STDMETHODCALLTYPE SetShellFiles(_Collection**, VARIANT_BOOL, VARIANT_BOOL*) override { return NotBuilt(L"SetShellFiles"); }
    HRESULT STDMETHODCALLTYPE GetShellFiles(_Collection**) override { return NotBuilt(L"GetShellFiles"); }
};

}  // namespace

HRESULT CreateOrxClipboard(REFIID iid, void** out) { return CorxClipboard::New(iid, out); }

}  // namespace bk
