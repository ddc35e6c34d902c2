// orxMain: the library's global class of general helpers.
#include <memory>

#include "Basekit0308.h"
#include "lib/objectmodel/classtable.h"
#include "lib/about/about_entry.h"
#include "lib/main/arrays.h"
#include "lib/main/automation_values.h"
#include "lib/main/collections.h"
#include "lib/main/commandlineparser.h"
#include "lib/objectmodel/comobject.h"
#include "lib/forms/caller_controls.h"
#include "lib/forms/form_helpers.h"
#include "lib/forms/textbox_insert_hooks.h"
#include "lib/objectmodel/latebinding.h"

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
    // The About box (lib/about): the caller's control, form and application object are used
    // by name; the dialog is modal and these return when it is closed.
    HRESULT STDMETHODCALLTYPE ShowMSAboutBox(IDispatch** control) override {
        return Guard([&] { return about::ShowMSAboutBox(control ? *control : nullptr); });
    }
    HRESULT STDMETHODCALLTYPE ShowAboutBox(IDispatch* form, IDispatch* appObject, BSTR description,
                                           IPictureDisp* picture, BSTR pictureToolTip) override {
        return Guard([&] { return about::ShowAboutBox(Source(), form, appObject, description, picture, pictureToolTip); });
    }
    HRESULT STDMETHODCALLTYPE ShowAboutBox2(IPictureDisp* icon, IPictureDisp* iconSmall, IDispatch* appObject,
                                            BSTR description, IPictureDisp* picture, BSTR pictureToolTip) override {
        return Guard([&] {
            return about::ShowAboutBox2(Source(), icon, iconSmall, appObject, description, picture, pictureToolTip);
        });
    }
    HRESULT STDMETHODCALLTYPE ShowAboutBoxEx(BSTR title, IPictureDisp* icon, IPictureDisp* smallIcon, LONG major,
                                             LONG minor, LONG revision, BSTR author, BSTR email, BSTR devote,
                                             BSTR description, IPictureDisp* picture, BSTR pictureToolTip) override {
        return Guard([&] {
            return about::ShowAboutBoxEx(Source(), title, icon, smallIcon, major, minor, revision, author, email, devote,
                                         description, picture, pictureToolTip);
        });
    }

    // Form and control helpers (lib/forms). The hooks are made on first use and dropped with
    // the last one.
    HRESULT STDMETHODCALLTYPE AddTextBoxInsertHook(IDispatch* textBox, VARIANT_BOOL* result) override {
        if (!result) return E_POINTER;
        *result = VARIANT_FALSE;
        return Guard([&] {
            if (KindOf(textBox) != ControlKind::TextBox) return Raise(kErrInvalidCall);
            if (!hooks_) hooks_ = std::make_unique<TextBoxInsertHooks>();
            bool added = false;
            const HRESULT hr = hooks_->Add(textBox, added);
            if (hooks_->size() == 0) hooks_.reset();
            if (FAILED(hr)) return RaiseRecord(ErrorRecordOfCall(hr, nullptr), Source());
            *result = added ? VARIANT_TRUE : VARIANT_FALSE;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE RemoveTextBoxInsertHook(IDispatch* textBox, VARIANT_BOOL* result) override {
        if (!result) return E_POINTER;
        *result = VARIANT_FALSE;
        return Guard([&] {
            if (KindOf(textBox) != ControlKind::TextBox) return Raise(kErrInvalidCall);
            if (!hooks_ || !hooks_->Remove(textBox)) return S_OK;
            if (hooks_->size() == 0) hooks_.reset();
            *result = VARIANT_TRUE;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE ClearTextBoxInsertHooks() override {
        hooks_.reset();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ShowModalForm(IDispatch** parentForm, IDispatch** childForm) override {
        return Guard([&] {
            ShowModalWithParentAside(parentForm ? *parentForm : nullptr, childForm ? *childForm : nullptr);
            return S_OK;
        });
    }
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
    HRESULT STDMETHODCALLTYPE GetSelectedOptionButtonIndex(IDispatch** buttons, LONG* result) override {
        if (!result) return E_POINTER;
        *result = -1;
        return Guard([&] {
            *result = SelectedOptionButtonIndex(buttons ? *buttons : nullptr);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE SetSelectedOptionButtonIndex(IDispatch** buttons, LONG index) override {
        return Guard([&] {
            SelectOptionButton(buttons ? *buttons : nullptr, index);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE EnableOptionButtonGroup(IDispatch** buttons) override {
        return Guard([&] {
            EnableOptionButtons(buttons ? *buttons : nullptr, true);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE DisableOptionButtonGroup(IDispatch** buttons) override {
        return Guard([&] {
            EnableOptionButtons(buttons ? *buttons : nullptr, false);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE PressButton(IDispatch** button, VARIANT_BOOL* result) override {
        if (!result) return E_POINTER;
        *result = VARIANT_FALSE;
        return Guard([&] {
            *result = PressCommandButton(button ? *button : nullptr) ? VARIANT_TRUE : VARIANT_FALSE;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE FixFonts(IDispatch** form) override {
        return Guard([&] {
            SetFormFonts(form ? *form : nullptr);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE FixCBCursors(IDispatch** form) override {
        return Guard([&] {
            SetComboBoxHandCursors(form ? *form : nullptr);
            return S_OK;
        });
    }
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

    // Declared after the parser, so that the hooks go first when the object goes.
    support::ComPtr<_CommandLineParser> parser_;
    std::unique_ptr<TextBoxInsertHooks> hooks_;
};

}  // namespace

HRESULT CreateOrxMain(REFIID iid, void** out) { return CorxMain::New(iid, out); }

}  // namespace bk
