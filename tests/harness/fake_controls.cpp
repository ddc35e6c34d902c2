#include "tests/harness/fake_controls.h"

#include <cwctype>
#include <utility>

#include "lib/objectmodel/errors.h"
#include "tests/harness/library.h"

namespace bktest {
namespace {

using support::ComPtr;
using support::Variant;

bool SameName(std::wstring_view a, std::wstring_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::towlower(a[i]) != std::towlower(b[i])) return false;
    return true;
}

// The kit's type library, loaded once from the file beside the test program.
ITypeLib* Library() {
    static ITypeLib* library = [] {
        ITypeLib* lib = nullptr;
        LoadTypeLibEx(BinFile(L"fake_controls.tlb").c_str(), REGKIND_NONE, &lib);
        return lib;
    }();
    return library;
}

ComPtr<ITypeInfo> CoclassNamed(std::wstring_view name) {
    ITypeLib* lib = Library();
    if (!lib) return {};
    for (UINT i = 0, n = lib->GetTypeInfoCount(); i < n; ++i) {
        TYPEKIND kind;
        if (FAILED(lib->GetTypeInfoType(i, &kind)) || kind != TKIND_COCLASS) continue;
        support::Bstr typeName;
        if (FAILED(lib->GetDocumentation(static_cast<INT>(i), typeName.put(), nullptr, nullptr, nullptr))) continue;
        if (!SameName(support::BstrView(typeName.get()), name)) continue;
        ComPtr<ITypeInfo> info;
        lib->GetTypeInfo(i, info.put());
        return info;
    }
    return {};
}

// The implemented interface of a coclass with `flags` among its flags (default, source).
ComPtr<ITypeInfo> ImplementedWith(ITypeInfo* coclass, INT wanted, IID* iid) {
    const support::TypeAttr attr = support::GetTypeAttr(coclass);
    if (!attr) return {};
    for (UINT i = 0; i < attr.get().desc->cImplTypes; ++i) {
        INT flags = 0;
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> info;
        if (FAILED(coclass->GetImplTypeFlags(i, &flags)) || (flags & wanted) != wanted) continue;
        if (wanted == IMPLTYPEFLAG_FDEFAULT && (flags & IMPLTYPEFLAG_FSOURCE)) continue;
        if (FAILED(coclass->GetRefTypeOfImplType(i, &ref)) || FAILED(coclass->GetRefTypeInfo(ref, info.put()))) continue;
        if (iid) {
            const support::TypeAttr a = support::GetTypeAttr(info.get());
            if (a) *iid = a.get().desc->guid;
        }
        return info;
    }
    return {};
}

class ListEnum final : public IEnumVARIANT {
public:
    ListEnum(std::vector<ComPtr<FakeObject>> items, size_t next) : items_(std::move(items)), next_(next) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (iid == IID_IUnknown || iid == IID_IEnumVARIANT) {
            *out = static_cast<IEnumVARIANT*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
        ULONG n = 0;
        for (; n < count && next_ < items_.size(); ++n, ++next_) {
            VariantInit(&out[n]);
            V_VT(&out[n]) = VT_DISPATCH;
            V_DISPATCH(&out[n]) = items_[next_].get();
            items_[next_]->AddRef();
        }
        if (fetched) *fetched = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        next_ += count;
        return next_ <= items_.size() ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override {
        *out = new ListEnum(items_, next_);
        return S_OK;
    }

private:
    LONG refs_ = 1;
    std::vector<ComPtr<FakeObject>> items_;
    size_t next_;
};

}  // namespace

std::wstring LogText(const VARIANT& value) {
    const VARIANT* v = &value;
    if (V_VT(v) == (VT_VARIANT | VT_BYREF)) v = V_VARIANTREF(v);
    if (V_VT(v) == VT_DISPATCH || V_VT(v) == VT_UNKNOWN) return L"<object>";
    if (V_VT(v) == VT_BOOL) return V_BOOL(v) ? L"True" : L"False";
    Variant text;
    if (FAILED(VariantChangeTypeEx(text.put(), const_cast<VARIANT*>(v), MAKELCID(0x409, SORT_DEFAULT), 0, VT_BSTR))) {
        return L"<?>";
    }
    return std::wstring(support::BstrView(V_BSTR(text.get())));
}

ComPtr<FakeObject> FakeObject::Make(std::wstring_view className) {
    ComPtr<FakeObject> object = ComPtr<FakeObject>::Attach(new FakeObject());
    if (!className.empty()) {
        object->coclass_ = CoclassNamed(className);
        if (object->coclass_) {
            object->defaultInterface_ = ImplementedWith(object->coclass_.get(), IMPLTYPEFLAG_FDEFAULT, nullptr);
            object->source_ = ImplementedWith(object->coclass_.get(), IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE,
                                              &object->sourceIid_);
            if (object->source_) object->point_ = new bk::ConnectionPoint(*static_cast<IConnectionPointContainer*>(object.get()), object->sourceIid_);
        }
    }
    return object;
}

FakeObject::~FakeObject() { delete point_; }

ULONG FakeObject::Release() {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

FakeObject::Entry* FakeObject::Find(std::wstring_view name) {
    for (Entry& e : entries_)
        if (SameName(e.name, name)) return &e;
    return nullptr;
}
const FakeObject::Entry* FakeObject::Find(std::wstring_view name) const {
    for (const Entry& e : entries_)
        if (SameName(e.name, name)) return &e;
    return nullptr;
}

FakeObject::Entry& FakeObject::Add(std::wstring_view name, DISPID id) {
    if (Entry* e = Find(name)) return *e;
    entries_.push_back(Entry{std::wstring(name), id == DISPID_UNKNOWN ? nextId_++ : id, {}, {}, {}, 0, {}, {}});
    return entries_.back();
}

FakeObject& FakeObject::Property(std::wstring_view name, const VARIANT& value) {
    VariantCopy(Add(name, DISPID_UNKNOWN).value.put(), const_cast<VARIANT*>(&value));
    return *this;
}
FakeObject& FakeObject::Property(std::wstring_view name, bool value) { return Property(name, *Variant::FromBool(value).get()); }
FakeObject& FakeObject::Property(std::wstring_view name, long value) { return Property(name, *Variant::FromLong(value).get()); }
FakeObject& FakeObject::Property(std::wstring_view name, std::wstring_view value) {
    return Property(name, *Variant::FromString(value).get());
}
FakeObject& FakeObject::Property(std::wstring_view name, IDispatch* value) {
    return Property(name, *Variant::FromDispatch(value).get());
}

FakeObject& FakeObject::Member(std::wstring_view name, Handler handler, DISPID id) {
    Add(name, id).handler = std::move(handler);
    return *this;
}

FakeObject& FakeObject::AfterPut(std::wstring_view name, std::function<void()> action) {
    Add(name, DISPID_UNKNOWN).afterPut = std::move(action);
    return *this;
}

FakeObject& FakeObject::Raises(std::wstring_view name, long number, std::wstring_view description,
                               std::wstring_view source) {
    Entry& e = Add(name, DISPID_UNKNOWN);
    e.raises = number;
    e.raisedDescription = description;
    e.raisedSource = source;
    return *this;
}

Variant FakeObject::Get(std::wstring_view name) const {
    const Entry* e = Find(name);
    return e ? e->value : Variant();
}
bool FakeObject::GetBool(std::wstring_view name) const {
    Variant v = Get(name);
    return V_VT(v.get()) == VT_BOOL && V_BOOL(v.get()) != VARIANT_FALSE;
}
long FakeObject::GetLong(std::wstring_view name) const {
    Variant v = Get(name), n;
    if (FAILED(VariantChangeType(n.put(), v.get(), 0, VT_I4))) return -999999;
    return V_I4(n.get());
}

void FakeObject::Raise(std::wstring_view name, std::span<const VARIANT> args) {
    if (!point_ || !source_) return;
    std::wstring text(name);
    LPOLESTR names[] = {text.data()};
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(source_->GetIDsOfNames(names, 1, &id))) return;
    point_->Fire(id, args);
}

HRESULT FakeObject::QueryInterface(REFIID iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid == IID_IUnknown || iid == IID_IDispatch) {
        *out = static_cast<IDispatch*>(this);
    } else if (coclass_ && (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2)) {
        *out = static_cast<IProvideClassInfo2*>(this);
    } else if (point_ && iid == IID_IConnectionPointContainer) {
        *out = static_cast<IConnectionPointContainer*>(this);
    } else {
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

HRESULT FakeObject::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = defaultInterface_ ? 1 : 0;
    return S_OK;
}

HRESULT FakeObject::GetTypeInfo(UINT index, LCID, ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (!defaultInterface_) return E_NOTIMPL;  // as script objects answer
    if (index != 0) return DISP_E_BADINDEX;
    *out = defaultInterface_.get();
    (*out)->AddRef();
    return S_OK;
}

HRESULT FakeObject::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (!names || !ids || count == 0) return E_INVALIDARG;
    HRESULT hr = S_OK;
    for (UINT i = 0; i < count; ++i) {
        const Entry* e = i == 0 && names[0] ? Find(names[0]) : nullptr;
        ids[i] = e ? e->id : DISPID_UNKNOWN;
        if (!e) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT FakeObject::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO* exception, UINT*) {
    if (!params || (params->cArgs > 0 && !params->rgvarg)) return E_INVALIDARG;
    Entry* entry = nullptr;
    for (Entry& e : entries_)
        if (e.id == id) entry = &e;
    if (!entry) return DISP_E_MEMBERNOTFOUND;
    std::vector<VARIANT*> args;
    for (UINT i = params->cArgs; i > 0; --i) args.push_back(&params->rgvarg[i - 1]);
    if (entry->raises) {
        log.push_back(entry->name + L"()");
        if (!exception) return bk::RuntimeErrorHResult(entry->raises);
        *exception = EXCEPINFO{};
        exception->scode = bk::RuntimeErrorHResult(entry->raises);
        exception->bstrDescription = SysAllocString(entry->raisedDescription.c_str());
        exception->bstrSource = SysAllocString(entry->raisedSource.c_str());
        return DISP_E_EXCEPTION;
    }
    if (entry->handler) {
        Variant own;
        const HRESULT hr = entry->handler(flags, args, result ? result : own.put());
        log.push_back(entry->name + L"()");
        return hr;
    }
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
        if (HRESULT hr = VariantCopyInd(entry->value.put(), args[0]); FAILED(hr)) return hr;
        log.push_back(entry->name + L"=" + LogText(*entry->value.get()));
        if (entry->afterPut) entry->afterPut();
        return S_OK;
    }
    if (!args.empty()) return DISP_E_BADPARAMCOUNT;
    if (result) return VariantCopy(result, entry->value.get());
    return S_OK;
}

HRESULT FakeObject::GetClassInfo(ITypeInfo** out) {
    if (!out) return E_POINTER;
    *out = coclass_.get();
    if (*out) (*out)->AddRef();
    return *out ? S_OK : E_FAIL;
}

HRESULT FakeObject::GetGUID(DWORD kind, GUID* out) {
    if (!out) return E_POINTER;
    *out = GUID_NULL;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
    if (!source_) return E_UNEXPECTED;
    *out = sourceIid_;
    return S_OK;
}

HRESULT FakeObject::EnumConnectionPoints(IEnumConnectionPoints** out) {
    return bk::EnumOneConnectionPoint(*point_, out);
}

HRESULT FakeObject::FindConnectionPoint(REFIID iid, IConnectionPoint** out) {
    return bk::FindOneConnectionPoint(*point_, iid, out);
}

ComPtr<FakeObject> MakeControlArray(const std::map<long, ComPtr<FakeObject>>& items) {
    ComPtr<FakeObject> array = FakeObject::Make();
    if (!items.empty()) {
        array->Property(L"LBound", items.begin()->first).Property(L"UBound", items.rbegin()->first);
    }
    array->Property(L"Count", static_cast<long>(items.size()));
    array->Member(
        L"Item",
        [items](WORD, std::span<VARIANT* const> args, VARIANT* result) -> HRESULT {
            if (args.size() != 1) return DISP_E_BADPARAMCOUNT;
            Variant index;
            if (FAILED(VariantChangeType(index.put(), args[0], 0, VT_I4))) return DISP_E_TYPEMISMATCH;
            auto it = items.find(V_I4(index.get()));
            if (it == items.end()) return bk::RuntimeErrorHResult(340);  // control array element doesn't exist
            V_VT(result) = VT_DISPATCH;
            V_DISPATCH(result) = it->second.get();
            it->second->AddRef();
            return S_OK;
        },
        DISPID_VALUE);
    return array;
}

ComPtr<FakeObject> MakeObjectList(const std::vector<ComPtr<FakeObject>>& items) {
    ComPtr<FakeObject> list = FakeObject::Make();
    list->Property(L"Count", static_cast<long>(items.size()));
    list->Member(
        L"_NewEnum",
        [items](WORD, std::span<VARIANT* const>, VARIANT* result) -> HRESULT {
            V_VT(result) = VT_UNKNOWN;
            V_UNKNOWN(result) = new ListEnum(items, 0);
            return S_OK;
        },
        DISPID_NEWENUM);
    list->Member(
        L"Item",
        [items](WORD, std::span<VARIANT* const> args, VARIANT* result) -> HRESULT {
            Variant index;
            if (args.size() != 1 || FAILED(VariantChangeType(index.put(), args[0], 0, VT_I4))) return DISP_E_TYPEMISMATCH;
            const long i = V_I4(index.get());
            if (i < 0 || static_cast<size_t>(i) >= items.size()) return DISP_E_BADINDEX;
            V_VT(result) = VT_DISPATCH;
            V_DISPATCH(result) = items[static_cast<size_t>(i)].get();
            items[static_cast<size_t>(i)]->AddRef();
            return S_OK;
        },
        DISPID_VALUE);
    return list;
}

ComPtr<FakeObject> MakeFont() {
    ComPtr<FakeObject> font = FakeObject::Make();
    font->Property(L"Name", std::wstring_view(L"MS Sans Serif"));
    Variant size;
    VARIANT* raw = size.put();
    V_VT(raw) = VT_CY;
    V_CY(raw).int64 = 80000;
    font->Property(L"Size", *raw);
    font->Property(L"Bold", true).Property(L"Italic", false).Property(L"Underline", true);
    font->Property(L"Strikethrough", true).Property(L"Charset", 0L);
    return font;
}

}  // namespace bktest
