#include "dispatch.h"

#include <memory>
#include <optional>
#include <vector>

#include "lib/objectmodel/errors.h"
#include "support/raii.h"

namespace bk {
namespace {

using support::ComPtr;

// The function description of a member, released when it goes.
class FuncDesc {
public:
    FuncDesc(ITypeInfo* ti, FUNCDESC* fd) : ti_(ti), fd_(fd) {}
    FuncDesc(const FuncDesc&) = delete;
    FuncDesc& operator=(const FuncDesc&) = delete;
    ~FuncDesc() { if (fd_) ti_->ReleaseFuncDesc(fd_); }
    const FUNCDESC* operator->() const { return fd_; }
    const FUNCDESC* get() const { return fd_; }

private:
    ITypeInfo* ti_;
    FUNCDESC* fd_;
};

std::unique_ptr<FuncDesc> FindFunc(ITypeInfo* ti, DISPID id, WORD flags) {
    ComPtr<ITypeInfo2> ti2;
    if (FAILED(ti->QueryInterface(IID_ITypeInfo2, ti2.put_void()))) return nullptr;
    const INVOKEKIND kinds[] = {INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF};
    const WORD masks[] = {DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT, DISPATCH_PROPERTYPUTREF};
    for (int i = 0; i < 4; ++i) {
        if (!(flags & masks[i])) continue;
        UINT index = 0;
        if (FAILED(ti2->GetFuncIndexOfMemId(id, kinds[i], &index))) continue;
        FUNCDESC* fd = nullptr;
        if (SUCCEEDED(ti->GetFuncDesc(index, &fd))) return std::make_unique<FuncDesc>(ti, fd);
    }
    return nullptr;
}

bool IsMissing(const VARIANTARG& v) {
    return V_VT(&v) == VT_ERROR && V_ERROR(&v) == DISP_E_PARAMNOTFOUND;
}

// Number of parameters a caller supplies (the retval parameter excluded).
UINT CallerParams(const FUNCDESC* fd) {
    UINT n = fd->cParams;
    if (n > 0 && (fd->lprgelemdescParam[n - 1].paramdesc.wParamFlags & PARAMFLAG_FRETVAL)) --n;
    return n;
}

// The base type of a by-reference parameter whose omission this module supplies, or VT_EMPTY.
VARTYPE SuppliedBaseType(ITypeInfo* ti, const ELEMDESC& e) {
    if (!(e.paramdesc.wParamFlags & PARAMFLAG_FOPT) || e.tdesc.vt != VT_PTR) return VT_EMPTY;
    const TYPEDESC* base = e.tdesc.lptdesc;
    switch (base->vt) {
    case VT_BSTR: case VT_BOOL: case VT_I2: case VT_I4: case VT_R8: case VT_VARIANT:
        return base->vt;
    case VT_USERDEFINED: {
        ComPtr<ITypeInfo> ref;
        if (FAILED(ti->GetRefTypeInfo(base->hreftype, ref.put()))) return VT_EMPTY;
        TYPEATTR* attr = nullptr;
        if (FAILED(ref->GetTypeAttr(&attr))) return VT_EMPTY;
        VARTYPE vt = attr->typekind == TKIND_ENUM ? VT_I4 : VT_EMPTY;
        ref->ReleaseTypeAttr(attr);
        return vt;
    }
    default:
        return VT_EMPTY;
    }
}

// Calls a [vararg] member: the positional arguments become its parameter array.
HRESULT InvokeVararg(void* instance, const FUNCDESC* fd, DISPPARAMS* params,
                     VARIANT* result, EXCEPINFO* excepInfo) {
    const UINT fixed = CallerParams(fd) - 1;  // parameters before the parameter array
    if (fixed != 0 || params->cNamedArgs != 0) return DISP_E_BADPARAMCOUNT;
    const bool hasRetval = fd->cParams > 0 &&
        (fd->lprgelemdescParam[fd->cParams - 1].paramdesc.wParamFlags & PARAMFLAG_FRETVAL);

    SAFEARRAYBOUND bound{params->cArgs, 0};
    support::SafeArray args(SafeArrayCreate(VT_VARIANT, 1, &bound));
    if (!args.get()) return E_OUTOFMEMORY;
    for (UINT i = 0; i < params->cArgs; ++i) {
        const VARIANTARG& src = params->rgvarg[params->cArgs - 1 - i];
        const VARIANT* value = V_VT(&src) == (VT_VARIANT | VT_BYREF) ? V_VARIANTREF(&src) : &src;
        LONG index = static_cast<LONG>(i);
        VARIANT copy;
        VariantInit(&copy);
        HRESULT hr = VariantCopyInd(&copy, const_cast<VARIANT*>(value));
        if (SUCCEEDED(hr)) hr = SafeArrayPutElement(args.get(), &index, &copy);
        VariantClear(&copy);
        if (FAILED(hr)) return hr;
    }

    // The out value is at most a pointer (array, object) wide.
    union { SAFEARRAY* array; IUnknown* object; } out{};
    SAFEARRAY* arrayArg = args.get();
    VARIANTARG callArgs[2];
    VARIANTARG* callPtrs[2] = {&callArgs[0], &callArgs[1]};
    VARTYPE callTypes[2] = {VT_BYREF, VT_BYREF};
    VariantInit(&callArgs[0]);
    VariantInit(&callArgs[1]);
    V_VT(&callArgs[0]) = VT_BYREF;
    V_BYREF(&callArgs[0]) = &arrayArg;
    V_VT(&callArgs[1]) = VT_BYREF;
    V_BYREF(&callArgs[1]) = &out;
    VARIANT ret;
    VariantInit(&ret);
    HRESULT hr = DispCallFunc(instance, fd->oVft, CC_STDCALL, VT_ERROR, hasRetval ? 2 : 1,
                              callTypes, callPtrs, &ret);
    if (arrayArg != args.get()) { args.detach(); args = support::SafeArray(arrayArg); }
    if (FAILED(hr)) return hr;
    hr = V_ERROR(&ret);
    if (FAILED(hr)) return ExceptionFromErrorInfo(hr, excepInfo);
    if (!hasRetval) return S_OK;

    // Wrap the out value in the result variant by the declared type of the retval.
    const TYPEDESC* t = fd->lprgelemdescParam[fd->cParams - 1].tdesc.lptdesc;
    support::Variant wrapped;
    VARIANT* w = wrapped.get();
    if (t->vt == VT_SAFEARRAY) {
        V_VT(w) = VT_ARRAY | t->lptdesc->vt;
        V_ARRAY(w) = out.array;
    } else {
        // A pointer to an interface: the retval is an object.
        V_VT(w) = VT_DISPATCH;
        IDispatch* d = nullptr;
        if (out.object) {
            out.object->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&d));
            out.object->Release();
        }
        V_DISPATCH(w) = d;
    }
    if (result) *result = wrapped.detach();
    return S_OK;
}

}  // namespace

HRESULT InvokeThroughTypeInfo(ITypeInfo* ti, void* instance, DISPID id, WORD flags,
                              DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                              UINT* argErr) {
    if (!params) return E_INVALIDARG;
    auto fd = FindFunc(ti, id, flags);
    if (!fd) return ti->Invoke(instance, id, flags, params, result, excepInfo, argErr);

    if ((*fd)->cParamsOpt == -1) return InvokeVararg(instance, fd->get(), params, result, excepInfo);

    // Supply omitted optional by-reference arguments.
    const UINT n = CallerParams(fd->get());
    if (params->cNamedArgs != 0 || params->cArgs > n)
        return ti->Invoke(instance, id, flags, params, result, excepInfo, argErr);
    std::vector<VARTYPE> supply(n, VT_EMPTY);
    bool any = false;
    for (UINT i = 0; i < n; ++i) {
        const bool present = i < params->cArgs && !IsMissing(params->rgvarg[params->cArgs - 1 - i]);
        if (!present) supply[i] = SuppliedBaseType(ti, (*fd)->lprgelemdescParam[i]);
        any = any || supply[i] != VT_EMPTY;
    }
    if (!any) return ti->Invoke(instance, id, flags, params, result, excepInfo, argErr);

    std::vector<support::Variant> temps(n);
    std::vector<VARIANTARG> args(n);
    for (UINT i = 0; i < n; ++i) {
        VARIANTARG& slot = args[n - 1 - i];
        if (supply[i] == VT_EMPTY) {
            if (i < params->cArgs) {
                slot = params->rgvarg[params->cArgs - 1 - i];
            } else {
                VariantInit(&slot);
                V_VT(&slot) = VT_ERROR;
                V_ERROR(&slot) = DISP_E_PARAMNOTFOUND;
            }
            continue;
        }
        const PARAMDESC& pd = (*fd)->lprgelemdescParam[i].paramdesc;
        VARIANT* temp = temps[i].get();
        if (supply[i] != VT_VARIANT) {
            bool haveDefault = false;
            if ((pd.wParamFlags & PARAMFLAG_FHASDEFAULT) && pd.pparamdescex)
                haveDefault = SUCCEEDED(VariantChangeType(temp, &pd.pparamdescex->varDefaultValue, 0, supply[i]));
            if (!haveDefault) {
                VariantClear(temp);
                V_VT(temp) = supply[i];  // the empty value of its type: 0, false or an absent string
            }
        } else {
            V_VT(temp) = VT_ERROR;
            V_ERROR(temp) = DISP_E_PARAMNOTFOUND;
        }
        VariantInit(&slot);
        if (supply[i] == VT_VARIANT) {
            V_VT(&slot) = VT_VARIANT | VT_BYREF;
            V_VARIANTREF(&slot) = temp;
        } else {
            V_VT(&slot) = static_cast<VARTYPE>(supply[i] | VT_BYREF);
            V_BYREF(&slot) = &temp->lVal;  // all value fields share one address
        }
    }
    DISPPARAMS completed{args.data(), nullptr, n, 0};
    return ti->Invoke(instance, id, flags, &completed, result, excepInfo, argErr);
}

}  // namespace bk
