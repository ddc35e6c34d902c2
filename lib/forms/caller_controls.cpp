#include "lib/forms/caller_controls.h"

#include <ocidl.h>
#include <olectl.h>

#include <string>
#include <utility>
#include <vector>

#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/latebinding.h"
#include "lib/objectmodel/runtime_errors.h"
#include "lib/objectmodel/unknown.h"
#include "support/win/owner.h"

namespace bk {
namespace {

std::wstring NameOfType(ITypeInfo* info) {
    support::Bstr name;
    if (!info || FAILED(info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr))) return {};
    return std::wstring(support::BstrView(name.get()));
}

// The name of the control's class (IProvideClassInfo).
std::wstring ClassNameOf(IDispatch* control) {
    support::ComPtr<IProvideClassInfo> classInfo;
    if (FAILED(control->QueryInterface(IID_IProvideClassInfo, classInfo.put_void())) || !classInfo) return {};
    support::ComPtr<ITypeInfo> info;
    if (FAILED(classInfo->GetClassInfo(info.put())) || !info) return {};
    return NameOfType(info.get());
}

// The name of the control's dispatch interface (GetTypeInfo).
std::wstring InterfaceNameOf(IDispatch* control) {
    UINT count = 0;
    if (FAILED(control->GetTypeInfoCount(&count)) || count == 0) return {};
    support::ComPtr<ITypeInfo> info;
    if (FAILED(control->GetTypeInfo(0, LOCALE_USER_DEFAULT, info.put()))) return {};
    return NameOfType(info.get());
}

// The type information and interface id of the control's default source interface.
HRESULT DefaultSourceOf(IDispatch* control, support::ComPtr<ITypeInfo>& source, IID& iid) {
    support::ComPtr<IProvideClassInfo> classInfo;
    if (FAILED(control->QueryInterface(IID_IProvideClassInfo, classInfo.put_void())) || !classInfo) return E_NOINTERFACE;
    support::ComPtr<ITypeInfo> coclass;
    if (FAILED(classInfo->GetClassInfo(coclass.put())) || !coclass) return E_NOINTERFACE;
    WORD implemented = 0;
    {
        const support::TypeAttr attributes = support::GetTypeAttr(coclass.get());
        if (!attributes.valid()) return E_NOINTERFACE;
        implemented = attributes.get().desc->cImplTypes;
    }
    for (UINT i = 0; i < implemented; ++i) {
        INT flags = 0;
        if (FAILED(coclass->GetImplTypeFlags(i, &flags))) continue;
        if ((flags & IMPLTYPEFLAG_FSOURCE) == 0 || (flags & IMPLTYPEFLAG_FDEFAULT) == 0) continue;
        HREFTYPE ref = 0;
        support::ComPtr<ITypeInfo> info;
        if (FAILED(coclass->GetRefTypeOfImplType(i, &ref)) || FAILED(coclass->GetRefTypeInfo(ref, info.put())) || !info) {
            continue;
        }
        {
            const support::TypeAttr sourceAttributes = support::GetTypeAttr(info.get());
            if (!sourceAttributes.valid()) continue;
            iid = sourceAttributes.get().desc->guid;
        }
        source = std::move(info);
        return S_OK;
    }
    return E_NOINTERFACE;
}

// The sink advised to a control: speaks the control's source interface and passes the events
// it was asked for on to its handler.
class EventSink final : public UnknownObject<EventSink, IDispatch> {
public:
    EventSink(const IID& source, std::vector<DISPID> ids, std::weak_ptr<ControlEventHandler> handler)
        : source_(source), ids_(std::move(ids)), handler_(std::move(handler)) {}

    void* QueryExtra(REFIID iid) { return iid == source_ ? static_cast<IDispatch*>(this) : nullptr; }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
        if (out) *out = nullptr;
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                                     UINT*) override {
        if (result) VariantInit(result);
        if (!params || (params->cArgs > 0 && !params->rgvarg) ||
            (params->cNamedArgs > 0 && !params->rgdispidNamedArgs) || params->cNamedArgs > params->cArgs) {
            return E_INVALIDARG;
        }
        for (size_t i = 0; i < ids_.size(); ++i) {
            if (ids_[i] != id || id == DISPID_UNKNOWN) continue;
            if (const std::shared_ptr<ControlEventHandler> handler = handler_.lock()) handler->OnControlEvent(i, *params);
            return S_OK;
        }
        return S_OK;  // an event nobody asked for is received and dropped
    }

private:
    IID source_;
    std::vector<DISPID> ids_;
    std::weak_ptr<ControlEventHandler> handler_;
};

bool IsIntegerType(VARTYPE type) { return type == VT_I2 || type == VT_I4 || type == VT_UI1 || type == VT_INT; }

}  // namespace

ControlKind KindOf(IDispatch* control) {
    if (!control) return ControlKind::Unknown;
    // A class name is the control's word on what it is.
    if (const std::wstring className = ClassNameOf(control); !className.empty()) return KindOfTypeName(className);
    if (const ControlKind kind = KindOfTypeName(InterfaceNameOf(control)); kind != ControlKind::Unknown) return kind;
    // No class: a script's object (its engine's interface name says nothing of it).
    LateBound object(control);
    for (const KindSignature& signature : KindSignatures()) {
        DISPID first = DISPID_UNKNOWN, second = DISPID_UNKNOWN;
        if (SUCCEEDED(object.IdOf(signature.first, first)) && SUCCEEDED(object.IdOf(signature.second, second))) {
            return signature.kind;
        }
    }
    return ControlKind::Unknown;
}

bool SameObject(IUnknown* a, IUnknown* b) {
    if (!a || !b) return false;
    support::ComPtr<IUnknown> x, y;
    if (FAILED(a->QueryInterface(IID_IUnknown, x.put_void())) || FAILED(b->QueryInterface(IID_IUnknown, y.put_void()))) {
        return false;
    }
    return x.get() == y.get();
}

HRESULT ControlEvents::Connect(IDispatch* control, std::span<const std::wstring_view> events,
                               std::weak_ptr<ControlEventHandler> handler) {
    Disconnect();
    if (!control) return RuntimeErrorHResult(kErrObjectNotSet);
    const HRESULT noEvents = RuntimeErrorHResult(kErrEventsNotSupported);
    support::ComPtr<ITypeInfo> source;
    IID iid{};
    if (FAILED(DefaultSourceOf(control, source, iid))) return noEvents;
    std::vector<DISPID> ids;
    ids.reserve(events.size());
    for (std::wstring_view name : events) {
        std::wstring text(name);
        LPOLESTR names[] = {text.data()};
        DISPID id = DISPID_UNKNOWN;
        if (FAILED(source->GetIDsOfNames(names, 1, &id))) id = DISPID_UNKNOWN;
        ids.push_back(id);
    }
    support::ComPtr<IConnectionPointContainer> container;
    if (FAILED(control->QueryInterface(IID_IConnectionPointContainer, container.put_void())) || !container) {
        return noEvents;
    }
    support::ComPtr<IConnectionPoint> point;
    if (FAILED(container->FindConnectionPoint(iid, point.put())) || !point) return noEvents;
    support::ComPtr<IDispatch> sink;
    if (HRESULT hr = EventSink::New(IID_IDispatch, sink.put_void(), iid, std::move(ids), std::move(handler)); FAILED(hr)) {
        return hr;
    }
    DWORD cookie = 0;
    if (FAILED(point->Advise(sink.get(), &cookie))) return noEvents;
    point_ = std::move(point);
    cookie_ = cookie;
    return S_OK;
}

void ControlEvents::Disconnect() noexcept {
    if (!point_) return;
    support::ComPtr<IConnectionPoint> point = std::move(point_);
    point->Unadvise(cookie_);
    cookie_ = 0;
}

HRESULT ForEachItem(IDispatch* collection, const std::function<HRESULT(const VARIANT&)>& each) {
    if (!collection) return RuntimeErrorHResult(kErrObjectNotSet);
    LateBound items(collection);
    support::Variant enumerator;
    if (FAILED(items.Invoke(DISPID_NEWENUM, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, enumerator.put()))) {
        return RuntimeErrorHResult(kErrNoSuchMember);
    }
    const VARIANT& e = *enumerator.get();
    IUnknown* unknown = V_VT(&e) == VT_UNKNOWN || V_VT(&e) == VT_DISPATCH ? V_UNKNOWN(&e) : nullptr;
    support::ComPtr<IEnumVARIANT> walk;
    if (!unknown || FAILED(unknown->QueryInterface(IID_IEnumVARIANT, walk.put_void())) || !walk) {
        return RuntimeErrorHResult(kErrNoSuchMember);
    }
    for (;;) {
        support::Variant item;
        ULONG fetched = 0;
        const HRESULT hr = walk->Next(1, item.put(), &fetched);
        if (FAILED(hr)) return hr;
        if (hr != S_OK || fetched != 1) return S_OK;
        if (HRESULT failed = each(*item.get()); FAILED(failed)) return failed;
    }
}

bool ReadIntegerArgument(const VARIANT& argument, long& value) {
    const VARTYPE type = V_VT(&argument);
    if ((type & VT_BYREF) == 0 || !V_BYREF(&argument)) return false;
    switch (type & ~VT_BYREF) {
    case VT_I2: value = *V_I2REF(&argument); return true;
    case VT_I4: value = *V_I4REF(&argument); return true;
    case VT_INT: value = *V_INTREF(&argument); return true;
    case VT_UI1: value = *V_UI1REF(&argument); return true;
    case VT_VARIANT: {
        const VARIANT& inner = *V_VARIANTREF(&argument);
        switch (V_VT(&inner)) {
        case VT_I2: value = V_I2(&inner); return true;
        case VT_I4: value = V_I4(&inner); return true;
        case VT_INT: value = V_INT(&inner); return true;
        case VT_UI1: value = V_UI1(&inner); return true;
        default: return false;
        }
    }
    default: return false;
    }
}

bool WriteIntegerArgument(VARIANT& argument, long value) {
    const VARTYPE type = V_VT(&argument);
    if ((type & VT_BYREF) == 0 || !V_BYREF(&argument)) return false;
    switch (type & ~VT_BYREF) {
    case VT_I2: *V_I2REF(&argument) = static_cast<SHORT>(value); return true;
    case VT_I4: *V_I4REF(&argument) = value; return true;
    case VT_INT: *V_INTREF(&argument) = static_cast<INT>(value); return true;
    case VT_UI1: *V_UI1REF(&argument) = static_cast<BYTE>(value); return true;
    case VT_VARIANT: {
        VARIANT& inner = *V_VARIANTREF(&argument);
        if (!IsIntegerType(V_VT(&inner))) return false;
        switch (V_VT(&inner)) {
        case VT_I2: V_I2(&inner) = static_cast<SHORT>(value); return true;
        case VT_I4: V_I4(&inner) = value; return true;
        case VT_INT: V_INT(&inner) = static_cast<INT>(value); return true;
        default: V_UI1(&inner) = static_cast<BYTE>(value); return true;
        }
    }
    default: return false;
    }
}

}  // namespace bk
