// orxErr: registered and creatable; its members report that they are not built yet.
#include "Basekit0308.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"

namespace bk {
namespace {

class CorxErr : public DispatchObject<CorxErr, _orxErr> {
public:
    static constexpr wchar_t kName[] = L"orxErr";

    HRESULT STDMETHODCALLTYPE ErrorDisplay(ErrObject**, VbMsgBoxStyle, BSTR, BSTR*, VARIANT_BOOL*, VbMsgBoxResult*) override { return NotBuilt(L"ErrorDisplay"); }
    HRESULT STDMETHODCALLTYPE GetErrorMessage(ErrObject**, BSTR*) override { return NotBuilt(L"GetErrorMessage"); }
    HRESULT STDMETHODCALLTYPE GetShortErrorMessage(ErrObject**, BSTR*) override { return NotBuilt(L"GetShortErrorMessage"); }
    HRESULT STDMETHODCALLTYPE ErrorDisplayAPI(LONG, VbMsgBoxStyle, BSTR, BSTR*, VARIANT_BOOL*, VbMsgBoxResult*) override { return NotBuilt(L"ErrorDisplayAPI"); }
    HRESULT STDMETHODCALLTYPE GetErrorMessageAPI(LONG, BSTR*) override { return NotBuilt(L"GetErrorMessageAPI"); }
    HRESULT STDMETHODCALLTYPE GetShortErrorMessageAPI(LONG, BSTR*) override { return NotBuilt(L"GetShortErrorMessageAPI"); }
    HRESULT STDMETHODCALLTYPE ErrorDisplayWinMM(LONG, VbMsgBoxStyle, BSTR, BSTR*, VARIANT_BOOL*, VbMsgBoxResult*) override { return NotBuilt(L"ErrorDisplayWinMM"); }
    HRESULT STDMETHODCALLTYPE GetErrorMessageWinMM(LONG, BSTR*) override { return NotBuilt(L"GetErrorMessageWinMM"); }
    HRESULT STDMETHODCALLTYPE GetShortErrorMessageWinMM(LONG, BSTR*) override { return NotBuilt(L"GetShortErrorMessageWinMM"); }
    HRESULT STDMETHODCALLTYPE ErrorDisplayModule(LONG, BSTR, VbMsgBoxStyle, BSTR, BSTR*, VARIANT_BOOL*, VbMsgBoxResult*) override { return NotBuilt(L"ErrorDisplayModule"); }
    HRESULT STDMETHODCALLTYPE GetErrorMessageModule(LONG, BSTR, BSTR*) override { return NotBuilt(L"GetErrorMessageModule"); }
    HRESULT STDMETHODCALLTYPE GetShortErrorMessageModule(LONG, BSTR, BSTR*) override { return NotBuilt(L"GetShortErrorMessageModule"); }
    HRESULT STDMETHODCALLTYPE ErrorDisplayHTTPRequest(IDispatch*, VbMsgBoxStyle, BSTR, BSTR*, VARIANT_BOOL*, VbMsgBoxResult*) override { return NotBuilt(L"ErrorDisplayHTTPRequest"); }
    HRESULT STDMETHODCALLTYPE GetErrorMessageHTTPRequest(IDispatch*, BSTR*) override { return NotBuilt(L"GetErrorMessageHTTPRequest"); }
    HRESULT STDMETHODCALLTYPE ErrorDisplayFTPClient(IDispatch*, VbMsgBoxStyle, BSTR, BSTR*, VARIANT_BOOL*, VbMsgBoxResult*) override { return NotBuilt(L"ErrorDisplayFTPClient"); }
    HRESULT STDMETHODCALLTYPE GetErrorMessageFTPClient(IDispatch*, BSTR*) override { return NotBuilt(L"GetErrorMessageFTPClient"); }
    HRESULT STDMETHODCALLTYPE ErrorDisplayHTTPRequestHT(IDispatch*, VbMsgBoxStyle, BSTR, BSTR*, VARIANT_BOOL*, VbMsgBoxResult*) override { return NotBuilt(L"ErrorDisplayHTTPRequestHT"); }
    HRESULT STDMETHODCALLTYPE GetErrorMessageHTTPRequestHT(IDispatch*, BSTR*) override { return NotBuilt(L"GetErrorMessageHTTPRequestHT"); }
    HRESULT STDMETHODCALLTYPE ShowErrorBox(BSTR, VbMsgBoxStyle, VARIANT, LONG, LONG, LONG, VbMsgBoxResult*) override { return NotBuilt(L"ShowErrorBox"); }
};

}  // namespace

HRESULT CreateOrxErr(REFIID iid, void** out) { return CorxErr::CreateInstance(iid, out); }

}  // namespace bk
