// orxMain: the library's global class of general helpers.
#include "Basekit0308.h"
#include "lib/objectmodel/classtable.h"
#include "lib/main/arrays.h"
#include "lib/main/automation_values.h"
#include "lib/main/collections.h"
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

    // Array and collection helpers (arrays.cpp, collections.cpp). Each IsIn… member asks its
    // In… twin through this object's own interface and returns the IsFound it set.
    HRESULT STDMETHODCALLTYPE ArrayString(SAFEARRAY** args, SAFEARRAY** result) override {
        return Guard([&] { return BuildArrayString(args ? *args : nullptr, result); });
    }
    HRESULT STDMETHODCALLTYPE ArrayLong(SAFEARRAY** args, SAFEARRAY** result) override {
        return Guard([&] { return BuildArrayLong(args ? *args : nullptr, result); });
    }
    HRESULT STDMETHODCALLTYPE Collection(SAFEARRAY** args, _Collection** result) override {
        return Guard([&] { return BuildCollection(args ? *args : nullptr, result); });
    }
    HRESULT STDMETHODCALLTYPE ShowMSAboutBox(IDispatch**) override { return NotBuilt(L"ShowMSAboutBox"); }
    HRESULT STDMETHODCALLTYPE ShowAboutBox(IDispatch*, IDispatch*, BSTR, IPictureDisp*, BSTR) override { return NotBuilt(L"ShowAboutBox"); }
    HRESULT STDMETHODCALLTYPE ShowAboutBox2(IPictureDisp*, IPictureDisp*, IDispatch*, BSTR, IPictureDisp*, BSTR) override { return NotBuilt(L"ShowAboutBox2"); }
    HRESULT STDMETHODCALLTYPE ShowAboutBoxEx(BSTR, IPictureDisp*, IPictureDisp*, LONG, LONG, LONG, BSTR, BSTR, BSTR, BSTR, IPictureDisp*, BSTR) override { return NotBuilt(L"ShowAboutBoxEx"); }
    HRESULT STDMETHODCALLTYPE AddTextBoxInsertHook(IDispatch*, VARIANT_BOOL*) override { return NotBuilt(L"AddTextBoxInsertHook"); }
    HRESULT STDMETHODCALLTYPE RemoveTextBoxInsertHook(IDispatch*, VARIANT_BOOL*) override { return NotBuilt(L"RemoveTextBoxInsertHook"); }
    HRESULT STDMETHODCALLTYPE ClearTextBoxInsertHooks() override { return NotBuilt(L"ClearTextBoxInsertHooks"); }
    HRESULT STDMETHODCALLTYPE ShowModalForm(IDispatch**, IDispatch**) override { return NotBuilt(L"ShowModalForm"); }
    HRESULT STDMETHODCALLTYPE InArrayLong(SAFEARRAY** arrayX, LONG findWhat, VARIANT startAt, VARIANT endAt,
                                          VARIANT_BOOL* isFound, LONG* result) override {
        return Guard([&] { return FindInArrayLong(arrayX, findWhat, startAt, endAt, isFound, result); });
    }
    HRESULT STDMETHODCALLTYPE IsInArrayLong(SAFEARRAY** arrayX, LONG findWhat, VARIANT startAt, VARIANT endAt,
                                            VARIANT_BOOL* result) override {
        return AskTwin(result, [&](VARIANT_BOOL* found, LONG* position) {
            return Self()->InArrayLong(arrayX, findWhat, startAt, endAt, found, position);
        });
    }
    HRESULT STDMETHODCALLTYPE InArrayString(SAFEARRAY** arrayX, BSTR findWhat, VARIANT startAt, VARIANT endAt,
                                            VARIANT_BOOL* isFound, LONG* result) override {
        return Guard([&] {
            return FindInArrayString(arrayX, findWhat, startAt, endAt, TextMatch::Exact, isFound, result);
        });
    }
    HRESULT STDMETHODCALLTYPE IsInArrayString(SAFEARRAY** arrayX, BSTR findWhat, VARIANT startAt, VARIANT endAt,
                                              VARIANT_BOOL* result) override {
        return AskTwin(result, [&](VARIANT_BOOL* found, LONG* position) {
            return Self()->InArrayString(arrayX, findWhat, startAt, endAt, found, position);
        });
    }
    HRESULT STDMETHODCALLTYPE InArrayStringText(SAFEARRAY** arrayX, BSTR findWhat, VARIANT startAt, VARIANT endAt,
                                                VARIANT_BOOL* isFound, LONG* result) override {
        return Guard([&] {
            return FindInArrayString(arrayX, findWhat, startAt, endAt, TextMatch::IgnoreCase, isFound, result);
        });
    }
    HRESULT STDMETHODCALLTYPE IsInArrayStringText(SAFEARRAY** arrayX, BSTR findWhat, VARIANT startAt, VARIANT endAt,
                                                  VARIANT_BOOL* result) override {
        return AskTwin(result, [&](VARIANT_BOOL* found, LONG* position) {
            return Self()->InArrayStringText(arrayX, findWhat, startAt, endAt, found, position);
        });
    }
    HRESULT STDMETHODCALLTYPE InCollection(_Collection** collection, VARIANT findWhat, VARIANT startAt, VARIANT endAt,
                                           VARIANT_BOOL* isFound, LONG* result) override {
        return Guard([&] {
            return FindInCollection(collection, findWhat, startAt, endAt, ItemMatch::Value, isFound, result);
        });
    }
    HRESULT STDMETHODCALLTYPE IsInCollection(_Collection** collection, VARIANT findWhat, VARIANT startAt,
                                             VARIANT endAt, VARIANT_BOOL* result) override {
        return AskTwin(result, [&](VARIANT_BOOL* found, LONG* position) {
            return Self()->InCollection(collection, findWhat, startAt, endAt, found, position);
        });
    }
    HRESULT STDMETHODCALLTYPE InCollectionString(_Collection** collection, VARIANT findWhat, VARIANT startAt,
                                                 VARIANT endAt, VARIANT_BOOL* isFound, LONG* result) override {
        return Guard([&] {
            return FindInCollection(collection, findWhat, startAt, endAt, ItemMatch::ExactText, isFound, result);
        });
    }
    HRESULT STDMETHODCALLTYPE IsInCollectionString(_Collection** collection, VARIANT findWhat, VARIANT startAt,
                                                   VARIANT endAt, VARIANT_BOOL* result) override {
        return AskTwin(result, [&](VARIANT_BOOL* found, LONG* position) {
            return Self()->InCollectionString(collection, findWhat, startAt, endAt, found, position);
        });
    }
    HRESULT STDMETHODCALLTYPE InCollectionStringText(_Collection** collection, VARIANT findWhat, VARIANT startAt,
                                                     VARIANT endAt, VARIANT_BOOL* isFound, LONG* result) override {
        return Guard([&] {
            return FindInCollection(collection, findWhat, startAt, endAt, ItemMatch::TextIgnoreCase, isFound, result);
        });
    }
    HRESULT STDMETHODCALLTYPE IsInCollectionStringText(_Collection** collection, VARIANT findWhat, VARIANT startAt,
                                                       VARIANT endAt, VARIANT_BOOL* result) override {
        return AskTwin(result, [&](VARIANT_BOOL* found, LONG* position) {
            return Self()->InCollectionStringText(collection, findWhat, startAt, endAt, found, position);
        });
    }
    HRESULT STDMETHODCALLTYPE GetSelectedOptionButtonIndex(IDispatch**, LONG*) override { return NotBuilt(L"GetSelectedOptionButtonIndex"); }
    HRESULT STDMETHODCALLTYPE SetSelectedOptionButtonIndex(IDispatch**, LONG) override { return NotBuilt(L"SetSelectedOptionButtonIndex"); }
    HRESULT STDMETHODCALLTYPE EnableOptionButtonGroup(IDispatch**) override { return NotBuilt(L"EnableOptionButtonGroup"); }
    HRESULT STDMETHODCALLTYPE DisableOptionButtonGroup(IDispatch**) override { return NotBuilt(L"DisableOptionButtonGroup"); }
    HRESULT STDMETHODCALLTYPE PressButton(IDispatch**, VARIANT_BOOL*) override { return NotBuilt(L"PressButton"); }
    HRESULT STDMETHODCALLTYPE FixFonts(IDispatch**) override { return NotBuilt(L"FixFonts"); }
    HRESULT STDMETHODCALLTYPE FixCBCursors(IDispatch**) override { return NotBuilt(L"FixCBCursors"); }
    HRESULT STDMETHODCALLTYPE JoinCollection(_Collection** source, BSTR delimiter, VARIANT_BOOL raiseErrors,
                                             BSTR* result) override {
        return Guard([&] { return JoinCollectionText(source, delimiter, raiseErrors != VARIANT_FALSE, result); });
    }
    HRESULT STDMETHODCALLTYPE SplitCollection(BSTR expression, VARIANT delimiter, LONG limit, VbCompareMethod compare,
                                              VARIANT_BOOL raiseErrors, _Collection** result) override {
        return Guard([&] {
            return SplitToCollection(expression, delimiter, limit, compare, raiseErrors != VARIANT_FALSE, result);
        });
    }

private:
    _orxMain* Self() { return this; }

    // Runs an In… member through this object's interface and hands back only its IsFound.
    template <class Twin>
    static HRESULT AskTwin(VARIANT_BOOL* result, Twin&& twin) {
        if (!result) return E_POINTER;
        *result = VARIANT_FALSE;
        VARIANT_BOOL found = VARIANT_FALSE;
        LONG position = 0;
        if (HRESULT hr = twin(&found, &position); FAILED(hr)) return hr;
        *result = found;
        return S_OK;
    }

    support::ComPtr<_CommandLineParser> parser_;
};

}  // namespace

HRESULT CreateOrxMain(REFIID iid, void** out) { return CorxMain::New(iid, out); }

}  // namespace bk
