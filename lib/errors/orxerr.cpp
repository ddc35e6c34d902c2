// orxErr: the library's standard error messages (run-time errors, Win32 API, WinMM and module
// codes), their display in the standard message box, and the message box with a time-out.
// The network trios turn a request object's state, read by name, into a message in the
// user's language (English, or Russian). The class keeps no state; every member works on its
// arguments only.
#include <new>
#include <optional>
#include <string>

#include "Basekit0308.h"
#include "lib/errors/errormessages.h"
#include "lib/errors/errorrecord.h"
#include "lib/errors/network_messages.h"
#include "lib/errors/standardbox.h"
#include "lib/errors/timedbox.h"
#include "lib/errors/timedbox_logic.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/latebinding.h"
#include "lib/objectmodel/comobject.h"
#include "lib/objectmodel/runtime_errors.h"
#include "lib/objectmodel/variants.h"
#include "support/es/application.h"
#include "support/as/errortext.h"

namespace bk {
namespace {

using errors::CodeKind;
using support::BstrView;

constexpr long kMbHelp = 0x4000;

// A caller's request object, its properties read by name; a failed read keeps the object's
// error (a missing property, a value that is no number or text).
class RequestObject final : public errors::RequestProperties {
public:
    explicit RequestObject(IDispatch* object) : object_(object) {}

    bool Number(std::wstring_view name, long& value) override {
        support::Variant number;
        if (!Read(name, VT_I4, number)) return false;
        value = V_I4(number.get());
        return true;
    }
    bool Text(std::wstring_view name, std::wstring& value) override {
        support::Variant text;
        if (!Read(name, VT_BSTR, text)) return false;
        value = BstrView(V_BSTR(text.get()));
        return true;
    }
    bool SystemErrorText(long code, std::wstring& text) override {
        text = support::asGetAPIErrorDescription(code);
        return true;
    }

    const support::ErrorRecord& failure() const { return failure_; }

private:
    bool Read(std::wstring_view name, VARTYPE type, support::Variant& out) {
        support::Variant value;
        if (FAILED(object_.Get(name, *value.get()))) {
            failure_ = object_.error();
            return false;
        }
        if (HRESULT hr = ConvertValue(*value.get(), type, *out.put()); FAILED(hr)) {
            const long number = ErrorNumberOf(hr);
            failure_ = support::ErrorRecord{number, std::wstring(RuntimeErrorText(number)), {}, {}, 0};
            return false;
        }
        return true;
    }

    LateBound object_;
    support::ErrorRecord failure_;
};

class CorxErr : public DispatchObject<CorxErr, _orxErr> {
public:
    static constexpr wchar_t kName[] = L"orxErr";

    HRESULT STDMETHODCALLTYPE ErrorDisplay(ErrObject** errObject, VbMsgBoxStyle style, BSTR title,
                                           BSTR* descriptionText, VARIANT_BOOL* silent,
                                           VbMsgBoxResult* result) override {
        return Guard([&] {
            errors::ErrorRecord record;
            if (HRESULT hr = Read(errObject, record); FAILED(hr)) return hr;
            long shownStyle = style;
            if (!record.helpFile.empty()) shownStyle |= kMbHelp;
            return Display(errors::BuildErrorMessage(record), shownStyle, title, descriptionText, silent,
                           record.helpFile, record.helpContext, result);
        });
    }
    HRESULT STDMETHODCALLTYPE GetErrorMessage(ErrObject** errObject, BSTR* out) override {
        return Guard([&] {
            errors::ErrorRecord record;
            if (HRESULT hr = Read(errObject, record); FAILED(hr)) return hr;
            return Return(errors::BuildErrorMessage(record), out);
        });
    }
    HRESULT STDMETHODCALLTYPE GetShortErrorMessage(ErrObject** errObject, BSTR* out) override {
        return Guard([&] {
            errors::ErrorRecord record;
            if (HRESULT hr = Read(errObject, record); FAILED(hr)) return hr;
            return Return(errors::BuildShortErrorMessage(record), out);
        });
    }

    HRESULT STDMETHODCALLTYPE ErrorDisplayAPI(LONG number, VbMsgBoxStyle style, BSTR title, BSTR* descriptionText,
                                              VARIANT_BOOL* silent, VbMsgBoxResult* result) override {
        return Guard([&] {
            return Display(ApiMessage(number), style, title, descriptionText, silent, {}, 0, result);
        });
    }
    HRESULT STDMETHODCALLTYPE GetErrorMessageAPI(LONG number, BSTR* out) override {
        return Guard([&] { return Return(ApiMessage(number), out); });
    }
    HRESULT STDMETHODCALLTYPE GetShortErrorMessageAPI(LONG number, BSTR* out) override {
        return Guard([&] {
            return Return(errors::BuildShortCodeMessage(CodeKind::Api, number, ApiDescription(number)), out);
        });
    }

    HRESULT STDMETHODCALLTYPE ErrorDisplayWinMM(LONG number, VbMsgBoxStyle style, BSTR title, BSTR* descriptionText,
                                                VARIANT_BOOL* silent, VbMsgBoxResult* result) override {
        return Guard([&] {
            return Display(WinMMMessage(number), style, title, descriptionText, silent, {}, 0, result);
        });
    }
    HRESULT STDMETHODCALLTYPE GetErrorMessageWinMM(LONG number, BSTR* out) override {
        return Guard([&] { return Return(WinMMMessage(number), out); });
    }
    HRESULT STDMETHODCALLTYPE GetShortErrorMessageWinMM(LONG number, BSTR* out) override {
        return Guard([&] {
            return Return(errors::BuildShortCodeMessage(CodeKind::WinMM, number, WinMMDescription(number)), out);
        });
    }

    HRESULT STDMETHODCALLTYPE ErrorDisplayModule(LONG number, BSTR moduleName, VbMsgBoxStyle style, BSTR title,
                                                 BSTR* descriptionText, VARIANT_BOOL* silent,
                                                 VbMsgBoxResult* result) override {
        return Guard([&] {
            return Display(ModuleMessage(number, BstrView(moduleName)), style, title, descriptionText, silent, {}, 0,
                           result);
        });
    }
    HRESULT STDMETHODCALLTYPE GetErrorMessageModule(LONG number, BSTR moduleName, BSTR* out) override {
        return Guard([&] { return Return(ModuleMessage(number, BstrView(moduleName)), out); });
    }
    HRESULT STDMETHODCALLTYPE GetShortErrorMessageModule(LONG number, BSTR moduleName, BSTR* out) override {
        return Guard([&] {
            const std::wstring_view name = BstrView(moduleName);
            return Return(errors::BuildShortModuleMessage(name, number, ModuleDescription(number, name)), out);
        });
    }

    HRESULT STDMETHODCALLTYPE ErrorDisplayHTTPRequest(IDispatch* request, VbMsgBoxStyle style, BSTR title,
                                                      BSTR* descriptionText, VARIANT_BOOL* silent,
                                                      VbMsgBoxResult* result) override {
        return Guard([&] {
            return DisplayNetwork(request, errors::BuildHttpRequestMessage, style, title, descriptionText, silent, result);
        });
    }
    HRESULT STDMETHODCALLTYPE GetErrorMessageHTTPRequest(IDispatch* request, BSTR* out) override {
        return Guard([&] { return NetworkMessage(request, errors::BuildHttpRequestMessage, out); });
    }
    HRESULT STDMETHODCALLTYPE ErrorDisplayFTPClient(IDispatch* client, VbMsgBoxStyle style, BSTR title,
                                                    BSTR* descriptionText, VARIANT_BOOL* silent,
                                                    VbMsgBoxResult* result) override {
        return Guard([&] {
            return DisplayNetwork(client, errors::BuildFtpClientMessage, style, title, descriptionText, silent, result);
        });
    }
    HRESULT STDMETHODCALLTYPE GetErrorMessageFTPClient(IDispatch* client, BSTR* out) override {
        return Guard([&] { return NetworkMessage(client, errors::BuildFtpClientMessage, out); });
    }
    HRESULT STDMETHODCALLTYPE ErrorDisplayHTTPRequestHT(IDispatch* request, VbMsgBoxStyle style, BSTR title,
                                                        BSTR* descriptionText, VARIANT_BOOL* silent,
                                                        VbMsgBoxResult* result) override {
        return Guard([&] {
            return DisplayNetwork(request, errors::BuildWGetRequestMessage, style, title, descriptionText, silent, result);
        });
    }
    HRESULT STDMETHODCALLTYPE GetErrorMessageHTTPRequestHT(IDispatch* request, BSTR* out) override {
        return Guard([&] { return NetworkMessage(request, errors::BuildWGetRequestMessage, out); });
    }

    HRESULT STDMETHODCALLTYPE ShowErrorBox(BSTR text, VbMsgBoxStyle style, VARIANT title, LONG defaultButtonIndex,
                                           LONG cancelButtonIndex, LONG timeoutValue,
                                           VbMsgBoxResult* result) override {
        return Guard([&]() -> HRESULT {
            if (!result) return E_POINTER;
            if (!errors::timedbox::IsValidButtonIndexArgument(defaultButtonIndex) ||
                !errors::timedbox::IsValidButtonIndexArgument(cancelButtonIndex))
                return Raise(kErrInvalidCall);
            errors::TimedBoxRequest request;
            request.text = BstrView(text);
            request.style = style;
            if (HRESULT hr = OptionalText(title, request.title); FAILED(hr)) return hr;
            request.defaultButtonIndex = defaultButtonIndex;
            request.cancelButtonIndex = cancelButtonIndex;
            request.timeoutSeconds = timeoutValue;
            long pressed = 0;
            const HRESULT hr = errors::ShowTimedMessageBox(request, pressed);
            if (hr == errors::kTimedBoxAlreadyShown) return Raise(kErrFormAlreadyShown);
            if (FAILED(hr)) return RaiseHResult(Source(), hr, support::asGetAPIErrorDescription(hr));
            *result = static_cast<VbMsgBoxResult>(pressed);
            return S_OK;
        });
    }

private:
    static HRESULT Return(const std::wstring& text, BSTR* out) {
        if (!out) return E_POINTER;
        const HRESULT hr = support::AllocBstr(text, out);
        return FAILED(hr) ? Raise(kErrOutOfMemory) : hr;
    }

    // The error object's record; a failed read fails the member with the object's error.
    static HRESULT Read(ErrObject** errObject, errors::ErrorRecord& record) {
        if (!errObject || !*errObject) return Raise(kErrObjectRequired);
        support::ErrorRecord failure;
        if (SUCCEEDED(errors::ReadErrorRecord(*errObject, record, failure))) return S_OK;
        return RaiseRecord(failure, Source());
    }

    // A text argument that may be omitted: only an omitted argument means none; a given value,
    // an Empty variable included, is converted to text by the automation rules.
    static HRESULT OptionalText(const VARIANT& argument, std::optional<std::wstring>& out) {
        if (IsMissing(argument)) {
            out.reset();
            return S_OK;
        }
        support::Variant text;
        if (HRESULT hr = ConvertValue(argument, VT_BSTR, *text.get()); FAILED(hr)) return Raise(ErrorNumberOf(hr));
        out = std::wstring(BstrView(V_BSTR(text.get())));
        return S_OK;
    }

    // Display operations: the caller's lead-in and the message in the standard message box,
    // under the application's title when the caller gives none; nothing shown when silent.
    static HRESULT Display(const std::wstring& message, long style, BSTR title, BSTR* descriptionText,
                           VARIANT_BOOL* silent, const std::wstring& helpFile, long helpContext,
                           VbMsgBoxResult* result) {
        if (!result) return E_POINTER;
        const std::wstring text =
            errors::ComposeDisplayText(descriptionText ? BstrView(*descriptionText) : std::wstring_view(), message);
        if (silent && *silent != VARIANT_FALSE) {
            *result = vbOK;
            return S_OK;
        }
        const std::wstring caption =
            BstrView(title).empty() ? support::esGetThunderMainTitle() : std::wstring(BstrView(title));
        const int pressed = errors::ShowStandardMessageBox(text, static_cast<UINT>(style), caption, helpFile,
                                                           static_cast<unsigned long>(helpContext));
        if (pressed == 0) {
            const HRESULT hr = HRESULT_FROM_WIN32(GetLastError());
            return RaiseHResult(Source(), FAILED(hr) ? hr : E_FAIL, L"The message box could not be shown");
        }
        *result = static_cast<VbMsgBoxResult>(pressed);
        return S_OK;
    }

    using NetworkBuilder = std::optional<std::wstring> (*)(errors::RequestProperties&, errors::MessageLanguage);

    // The message of a request object; a failed read of its properties fails with the
    // object's error.
    static HRESULT BuildNetworkMessage(IDispatch* object, NetworkBuilder build, std::wstring& message) {
        RequestObject request(object);
        const std::optional<std::wstring> text =
            build(request, errors::MessageLanguageOf(GetUserDefaultLangID()));
        if (!text) return RaiseRecord(request.failure(), Source());
        message = *text;
        return S_OK;
    }
    // An empty message when no object is given.
    static HRESULT NetworkMessage(IDispatch* object, NetworkBuilder build, BSTR* out) {
        if (!out) return E_POINTER;
        *out = nullptr;
        std::wstring message;
        if (object) {
            if (HRESULT hr = BuildNetworkMessage(object, build, message); FAILED(hr)) return hr;
        }
        return Return(message, out);
    }
    // Nothing shown and result 0 when no object is given.
    static HRESULT DisplayNetwork(IDispatch* object, NetworkBuilder build, VbMsgBoxStyle style, BSTR title,
                                  BSTR* descriptionText, VARIANT_BOOL* silent, VbMsgBoxResult* result) {
        if (!result) return E_POINTER;
        if (!object) {
            *result = static_cast<VbMsgBoxResult>(0);
            return S_OK;
        }
        std::wstring message;
        if (HRESULT hr = BuildNetworkMessage(object, build, message); FAILED(hr)) return hr;
        return Display(message, style, title, descriptionText, silent, {}, 0, result);
    }

    static std::wstring ApiDescription(long number) {
        return number == 0 ? std::wstring() : support::asGetAPIErrorDescription(number);
    }
    static std::wstring WinMMDescription(long number) {
        return number == 0 ? std::wstring() : support::asGetWinMMErrorDescription(number);
    }
    // The module is looked up only when a message will show its description.
    static std::wstring ModuleDescription(long number, std::wstring_view moduleName) {
        if (number == 0 || errors::IsBlankModuleName(moduleName)) return {};
        return support::GetModuleErrorDescriptionByName(std::wstring(moduleName), number);
    }

    static std::wstring ApiMessage(long number) {
        return errors::BuildCodeMessage(CodeKind::Api, number, ApiDescription(number));
    }
    static std::wstring WinMMMessage(long number) {
        return errors::BuildCodeMessage(CodeKind::WinMM, number, WinMMDescription(number));
    }
    static std::wstring ModuleMessage(long number, std::wstring_view moduleName) {
        return errors::BuildModuleMessage(moduleName, number, ModuleDescription(number, moduleName));
    }
};

}  // namespace

HRESULT CreateOrxErr(REFIID iid, void** out) { return CorxErr::New(iid, out); }

}  // namespace bk
