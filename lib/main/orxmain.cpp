// orxMain: the library's global class of general helpers.
#include "Basekit0308.h"
#include "lib/objectmodel/classtable.h"
#include "lib/main/commandlineparser.h"
#include "lib/objectmodel/comobject.h"

namespace bk {
namespace {

class CorxMain : public DispatchObject<CorxMain, _orxMain> {
public:
    static constexpr wchar_t kName[] = L"orxMain";

    // One parser per orxMain object, created on first use: a SetNewCommandLine made through
    // one call is seen by every later one.
    HRESULT STDMETHODCALLTYPE CommandLine(_CommandLineParser** parser) override {
        if (!parser) return E_POINTER;
        *parser = nullptr;
        if (!parser_) {
            if (HRESULT hr = CreateCommandLineParser(parser_.put()); FAILED(hr)) return hr;
        }
        parser_->AddRef();
        *parser = parser_.get();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ArrayString(SAFEARRAY**, SAFEARRAY**) override { return NotBuilt(L"ArrayString"); }
    HRESULT STDMETHODCALLTYPE ArrayLong(SAFEARRAY**, SAFEARRAY**) override { return NotBuilt(L"ArrayLong"); }
    HRESULT STDMETHODCALLTYPE Collection(SAFEARRAY**, _Collection**) override { return NotBuilt(L"Collection"); }
    HRESULT STDMETHODCALLTYPE ShowMSAboutBox(IDispatch**) override { return NotBuilt(L"ShowMSAboutBox"); }
    HRESULT STDMETHODCALLTYPE ShowAboutBox(IDispatch*, IDispatch*, BSTR, IPictureDisp*, BSTR) override { return NotBuilt(L"ShowAboutBox"); }
    HRESULT STDMETHODCALLTYPE ShowAboutBox2(IPictureDisp*, IPictureDisp*, IDispatch*, BSTR, IPictureDisp*, BSTR) override { return NotBuilt(L"ShowAboutBox2"); }
    HRESULT STDMETHODCALLTYPE ShowAboutBoxEx(BSTR, IPictureDisp*, IPictureDisp*, LONG, LONG, LONG, BSTR, BSTR, BSTR, BSTR, IPictureDisp*, BSTR) override { return NotBuilt(L"ShowAboutBoxEx"); }
    HRESULT STDMETHODCALLTYPE AddTextBoxInsertHook(IDispatch*, VARIANT_BOOL*) override { return NotBuilt(L"AddTextBoxInsertHook"); }
    HRESULT STDMETHODCALLTYPE RemoveTextBoxInsertHook(IDispatch*, VARIANT_BOOL*) override { return NotBuilt(L"RemoveTextBoxInsertHook"); }
    HRESULT STDMETHODCALLTYPE ClearTextBoxInsertHooks() override { return NotBuilt(L"ClearTextBoxInsertHooks"); }
    HRESULT STDMETHODCALLTYPE ShowModalForm(IDispatch**, IDispatch**) override { return NotBuilt(L"ShowModalForm"); }
    HRESULT STDMETHODCALLTYPE InArrayLong(SAFEARRAY**, LONG, VARIANT, VARIANT, VARIANT_BOOL*, LONG*) override { return NotBuilt(L"InArrayLong"); }
    HRESULT STDMETHODCALLTYPE IsInArrayLong(SAFEARRAY**, LONG, VARIANT, VARIANT, VARIANT_BOOL*) override { return NotBuilt(L"IsInArrayLong"); }
    HRESULT STDMETHODCALLTYPE InArrayString(SAFEARRAY**, BSTR, VARIANT, VARIANT, VARIANT_BOOL*, LONG*) override { return NotBuilt(L"InArrayString"); }
    HRESULT STDMETHODCALLTYPE IsInArrayString(SAFEARRAY**, BSTR, VARIANT, VARIANT, VARIANT_BOOL*) override { return NotBuilt(L"IsInArrayString"); }
    HRESULT STDMETHODCALLTYPE InArrayStringText(SAFEARRAY**, BSTR, VARIANT, VARIANT, VARIANT_BOOL*, LONG*) override { return NotBuilt(L"InArrayStringText"); }
    HRESULT STDMETHODCALLTYPE IsInArrayStringText(SAFEARRAY**, BSTR, VARIANT, VARIANT, VARIANT_BOOL*) override { return NotBuilt(L"IsInArrayStringText"); }
    HRESULT STDMETHODCALLTYPE InCollection(_Collection**, VARIANT, VARIANT, VARIANT, VARIANT_BOOL*, LONG*) override { return NotBuilt(L"InCollection"); }
    HRESULT STDMETHODCALLTYPE IsInCollection(_Collection**, VARIANT, VARIANT, VARIANT, VARIANT_BOOL*) override { return NotBuilt(L"IsInCollection"); }
    HRESULT STDMETHODCALLTYPE InCollectionString(_Collection**, VARIANT, VARIANT, VARIANT, VARIANT_BOOL*, LONG*) override { return NotBuilt(L"InCollectionString"); }
    HRESULT STDMETHODCALLTYPE IsInCollectionString(_Collection**, VARIANT, VARIANT, VARIANT, VARIANT_BOOL*) override { return NotBuilt(L"IsInCollectionString"); }
    HRESULT STDMETHODCALLTYPE InCollectionStringText(_Collection**, VARIANT, VARIANT, VARIANT, VARIANT_BOOL*, LONG*) override { return NotBuilt(L"InCollectionStringText"); }
    HRESULT STDMETHODCALLTYPE IsInCollectionStringText(_Collection**, VARIANT, VARIANT, VARIANT, VARIANT_BOOL*) override { return NotBuilt(L"IsInCollectionStringText"); }
    HRESULT STDMETHODCALLTYPE GetSelectedOptionButtonIndex(IDispatch**, LONG*) override { return NotBuilt(L"GetSelectedOptionButtonIndex"); }
    HRESULT STDMETHODCALLTYPE SetSelectedOptionButtonIndex(IDispatch**, LONG) override { return NotBuilt(L"SetSelectedOptionButtonIndex"); }
    HRESULT STDMETHODCALLTYPE EnableOptionButtonGroup(IDispatch**) override { return NotBuilt(L"EnableOptionButtonGroup"); }
    HRESULT STDMETHODCALLTYPE DisableOptionButtonGroup(IDispatch**) override { return NotBuilt(L"DisableOptionButtonGroup"); }
    HRESULT STDMETHODCALLTYPE PressButton(IDispatch**, VARIANT_BOOL*) override { return NotBuilt(L"PressButton"); }
    HRESULT STDMETHODCALLTYPE FixFonts(IDispatch**) override { return NotBuilt(L"FixFonts"); }
    HRESULT STDMETHODCALLTYPE FixCBCursors(IDispatch**) override { return NotBuilt(L"FixCBCursors"); }
    HRESULT STDMETHODCALLTYPE JoinCollection(_Collection**, BSTR, VARIANT_BOOL, BSTR*) override { return NotBuilt(L"JoinCollection"); }
    HRESULT STDMETHODCALLTYPE SplitCollection(BSTR, VARIANT, LONG, VbCompareMethod, VARIANT_BOOL, _Collection**) override { return NotBuilt(L"SplitCollection"); }

private:
    support::ComPtr<_CommandLineParser> parser_;
};

}  // namespace

HRESULT CreateOrxMain(REFIID iid, void** out) { return CorxMain::CreateInstance(iid, out); }

}  // namespace bk
