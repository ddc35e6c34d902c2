#include "lib/forms/window_object.h"

#include <cmath>
#include <string>

#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/named_members.h"
#include "lib/objectmodel/runtime_errors.h"
#include "lib/objectmodel/unknown.h"
#include "lib/objectmodel/variants.h"
#include "support/es/screen.h"
#include "support/win/com.h"

namespace bk {
namespace {

enum Member : DISPID {
    kHwnd = 1, kVisible, kEnabled, kLeft, kTop, kWidth, kHeight, kCaption, kText, kTag, kZOrder,
};

constexpr NamedId kNames[] = {
    {L"hWnd", kHwnd},     {L"Visible", kVisible}, {L"Enabled", kEnabled}, {L"Left", kLeft},
    {L"Top", kTop},       {L"Width", kWidth},     {L"Height", kHeight},   {L"Caption", kCaption},
    {L"Text", kText},     {L"Tag", kTag},         {L"ZOrder", kZOrder},
};

constexpr wchar_t kSource[] = L"Basekit0308.Window";

// The window's rectangle in its parent's client area (the screen's for a top-level window).
RECT PlaceOf(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    if (HWND parent = GetAncestor(window, GA_PARENT); parent && parent != GetDesktopWindow())
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class WindowObject : public UnknownObject<WindowObject, IDispatch> {
public:
    explicit WindowObject(HWND window) : window_(window) {}

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return NoTypeInfoCount(count); }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override { return NoTypeInfo(info); }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return IdsOfNames(kNames, names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* exception, UINT*) override {
        if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        if (!params || (params->cArgs > 0 && !params->rgvarg)) return E_INVALIDARG;
        HRESULT hr;
        if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
            if (params->cArgs != 1) return DISP_E_BADPARAMCOUNT;
            hr = Put(id, *Deref(&params->rgvarg[0]));
        } else if (id == kZOrder) {
            if (params->cArgs > 1) return DISP_E_BADPARAMCOUNT;
            hr = ZOrder(params->cArgs == 1 ? Deref(&params->rgvarg[0]) : nullptr);
        } else {
            if (params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
            support::Variant value;
            hr = Get(id, value);
            if (SUCCEEDED(hr) && result) *result = value.detach();
        }
        if (hr == DISP_E_MEMBERNOTFOUND || SUCCEEDED(hr)) return hr;
        return ExceptionFromErrorInfo(hr, exception);
    }

private:
    bool Alive() const { return IsWindow(window_) != FALSE; }

    HRESULT Get(DISPID id, support::Variant& value) {
        if (id == kHwnd) {
            value = support::Variant::FromLong(static_cast<LONG>(reinterpret_cast<INT_PTR>(window_)));
            return S_OK;
        }
        if (id == kTag) {
            value = support::Variant::FromString(tag_);
            return S_OK;
        }
        if (!Alive()) return RaiseError(kSource, kErrObjectNotSet);
        const RECT r = PlaceOf(window_);
        switch (id) {
        case kVisible: value = support::Variant::FromBool(IsWindowVisible(window_) != FALSE); return S_OK;
        case kEnabled: value = support::Variant::FromBool(IsWindowEnabled(window_) != FALSE); return S_OK;
        case kLeft: value = support::Variant::FromLong(TwipsX(r.left)); return S_OK;
        case kTop: value = support::Variant::FromLong(TwipsY(r.top)); return S_OK;
        case kWidth: value = support::Variant::FromLong(TwipsX(r.right - r.left)); return S_OK;
        case kHeight: value = support::Variant::FromLong(TwipsY(r.bottom - r.top)); return S_OK;
        case kCaption:
        case kText: {
            std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window_)) + 1, L'\0');
            text.resize(static_cast<size_t>(GetWindowTextW(window_, text.data(), static_cast<int>(text.size()))));
            value = support::Variant::FromString(text);
            return S_OK;
        }
        default: return DISP_E_MEMBERNOTFOUND;
        }
    }

    HRESULT Put(DISPID id, const VARIANT& given) {
        if (id == kTag || id == kCaption || id == kText) {
            support::Variant text;
            if (HRESULT hr = ConvertValue(given, VT_BSTR, *text.get()); FAILED(hr)) return RaiseError(kSource, ErrorNumberOf(hr));
            const std::wstring_view view = support::BstrView(V_BSTR(text.get()));
            if (id == kTag) {
                tag_.assign(view);
                return S_OK;
            }
            if (!Alive()) return RaiseError(kSource, kErrObjectNotSet);
            SetWindowTextW(window_, std::wstring(view).c_str());
            return S_OK;
        }
        if (id == kHwnd) return RaiseError(kSource, kErrInvalidProperty);
        if (id != kVisible && id != kEnabled && id != kLeft && id != kTop && id != kWidth && id != kHeight)
            return DISP_E_MEMBERNOTFOUND;
        if (!Alive()) return RaiseError(kSource, kErrObjectNotSet);
        if (id == kVisible || id == kEnabled) {
            support::Variant flag;
            if (HRESULT hr = ConvertValue(given, VT_BOOL, *flag.get()); FAILED(hr)) return RaiseError(kSource, ErrorNumberOf(hr));
            const bool on = V_BOOL(flag.get()) != VARIANT_FALSE;
            if (id == kVisible)
                ShowWindow(window_, on ? SW_SHOWNA : SW_HIDE);
            else
                EnableWindow(window_, on);
            return S_OK;
        }
        support::Variant number;
        if (HRESULT hr = ConvertValue(given, VT_I4, *number.get()); FAILED(hr)) return RaiseError(kSource, ErrorNumberOf(hr));
        const LONG twips = V_I4(number.get());
        RECT r = PlaceOf(window_);
        int x = r.left, y = r.top, cx = r.right - r.left, cy = r.bottom - r.top;
        switch (id) {
        case kLeft: x = PixelsX(twips); break;
        case kTop: y = PixelsY(twips); break;
        case kWidth: cx = PixelsX(twips); break;
        default: cy = PixelsY(twips); break;
        }
        if (cx < 0 || cy < 0) return RaiseError(kSource, kErrInvalidProperty);
        SetWindowPos(window_, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        return S_OK;
    }

    HRESULT ZOrder(const VARIANT* position) {
        if (!Alive()) return RaiseError(kSource, kErrObjectNotSet);
        LONG where = 0;
        if (position && !IsMissing(*position)) {
            support::Variant number;
            if (HRESULT hr = ConvertValue(*position, VT_I4, *number.get()); FAILED(hr)) return RaiseError(kSource, ErrorNumberOf(hr));
            where = V_I4(number.get());
            if (where != 0 && where != 1) return RaiseError(kSource, kErrInvalidCall);
        }
        SetWindowPos(window_, where == 0 ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        return S_OK;
    }

    static LONG TwipsX(int pixels) { return static_cast<LONG>(std::lround(pixels * support::esScreenTwipsPerPixelX())); }
    static LONG TwipsY(int pixels) { return static_cast<LONG>(std::lround(pixels * support::esScreenTwipsPerPixelY())); }
    static int PixelsX(LONG twips) { return static_cast<int>(std::lround(twips / support::esScreenTwipsPerPixelX())); }
    static int PixelsY(LONG twips) { return static_cast<int>(std::lround(twips / support::esScreenTwipsPerPixelY())); }

    HWND window_;
    std::wstring tag_;
};

}  // namespace

HRESULT CreateWindowObject(HWND window, IDispatch** out) noexcept { return WindowObject::New(IID_IDispatch, reinterpret_cast<void**>(out), window); }

}  // namespace bk
