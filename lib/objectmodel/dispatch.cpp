#include "dispatch.h"

#include <algorithm>
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
    FuncDesc(ComPtr<ITypeInfo> ti, FUNCDESC* fd) : ti_(std::move(ti)), fd_(fd) {}
    FuncDesc(const FuncDesc&) = delete;
    FuncDesc& operator=(const FuncDesc&) = delete;
    ~FuncDesc() { if (fd_) ti_->ReleaseFuncDesc(fd_); }
    const FUNCDESC* operator->() const { return fd_; }
    const FUNCDESC* get() const { return fd_; }

private:
    ComPtr<ITypeInfo> ti_;
    FUNCDESC* fd_;
};

// The vtable view of a dual interface. Its dispatch view drops each member's [out, retval]
// parameter, which the calls made here must pass, and numbers its members differently.
ComPtr<ITypeInfo> InterfaceView(ITypeInfo* ti) {
    TYPEATTR* attr = nullptr;
    if (FAILED(ti->GetTypeAttr(&attr))) return ComPtr<ITypeInfo>::Share(ti);
    const bool dualDispatch = attr->typekind == TKIND_DISPATCH && (attr->wTypeFlags & TYPEFLAG_FDUAL);
    ti->ReleaseTypeAttr(attr);
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> view;
    if (dualDispatch && SUCCEEDED(ti->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)) &&
        SUCCEEDED(ti->GetRefTypeInfo(ref, view.put())))
        return view;
    return ComPtr<ITypeInfo>::Share(ti);
}

// The member `id` of a vtable view that the call flags ask for: a method before a
// property get, then put and put-by-reference. Found by scanning the descriptions, since
// the host's index lookup by member id does not agree with the view's own numbering.
std::unique_ptr<FuncDesc> FindFunc(const ComPtr<ITypeInfo>& ti, DISPID id, WORD flags) {
    TYPEATTR* attr = nullptr;
    if (FAILED(ti->GetTypeAttr(&attr))) return nullptr;
    const UINT count = attr->cFuncs;
    ti->ReleaseTypeAttr(attr);
    const INVOKEKIND kinds[] = {INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF};
    const WORD masks[] = {DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT, DISPATCH_PROPERTYPUTREF};
    std::unique_ptr<FuncDesc> best;
    int bestRank = 4;
    for (UINT i = 0; i < count && bestRank > 0; ++i) {
        FUNCDESC* fd = nullptr;
        if (FAILED(ti->GetFuncDesc(i, &fd))) continue;
        auto desc = std::make_unique<FuncDesc>(ti, fd);
        if (fd->memid != id) continue;
        for (int rank = 0; rank < bestRank; ++rank) {
            if (fd->invkind == kinds[rank] && (flags & masks[rank])) {
                best = std::move(desc);
                bestRank = rank;
                break;
            }
        }
    }
    return best;
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

// The variant type a by-reference parameter points to, for arguments that arrive as a
// reference to a variant (VT_VARIANT | VT_BYREF), as script engines pass their variables:
// a scalar, an enumeration (VT_I4), an array (VT_ARRAY | element type) or an interface
// pointer (VT_DISPATCH). VT_EMPTY for other parameters, which the host's Invoke handles.
VARTYPE ReferencedType(ITypeInfo* ti, const ELEMDESC& e) {
    if (e.tdesc.vt != VT_PTR || (e.paramdesc.wParamFlags & PARAMFLAG_FRETVAL)) return VT_EMPTY;
    const TYPEDESC* base = e.tdesc.lptdesc;
    switch (base->vt) {
    case VT_BSTR: case VT_BOOL: case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY: case VT_DATE:
        return base->vt;
    case VT_SAFEARRAY:
        if (!base->lptdesc || base->lptdesc->vt == VT_USERDEFINED) return VT_EMPTY;
        return static_cast<VARTYPE>(VT_ARRAY | base->lptdesc->vt);
    case VT_PTR:
        return base->lptdesc && base->lptdesc->vt == VT_USERDEFINED ? VARTYPE{VT_DISPATCH} : VARTYPE{VT_EMPTY};
    case VT_USERDEFINED: {
        ComPtr<ITypeInfo> ref;
        if (FAILED(ti->GetRefTypeInfo(base->hreftype, ref.put()))) return VT_EMPTY;
        TYPEATTR* attr = nullptr;
        if (FAILED(ref->GetTypeAttr(&attr))) return VT_EMPTY;
        const VARTYPE vt = attr->typekind == TKIND_ENUM ? VT_I4 : VT_EMPTY;
        ref->ReleaseTypeAttr(attr);
        return vt;
    }
    default:
        return VT_EMPTY;
    }
}

bool IsScalar(VARTYPE vt) {
    switch (vt) {
    case VT_BSTR: case VT_BOOL: case VT_I2: case VT_I4: case VT_R4: case VT_R8: case VT_CY: case VT_DATE:
        return true;
    default:
        return false;
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

// Named arguments as positional ones: a named argument's dispatch id is its parameter
// position. Positions that no argument names stay omitted. S_FALSE leaves the call as it is
// (a property put's value); a name outside the parameters fails as the host's Invoke does.
HRESULT NamedToPositional(const DISPPARAMS& params, UINT paramCount, std::vector<VARIANTARG>& out,
                          UINT* argErr) {
    const UINT named = params.cNamedArgs;
    const UINT unnamed = params.cArgs - named;
    UINT count = unnamed;
    for (UINT k = 0; k < named; ++k) {
        const DISPID position = params.rgdispidNamedArgs[k];
        if (position == DISPID_PROPERTYPUT) return S_FALSE;
        if (position < 0 || static_cast<UINT>(position) >= paramCount) {
            if (argErr) *argErr = k;
            return DISP_E_PARAMNOTFOUND;
        }
        count = std::max(count, static_cast<UINT>(position) + 1);
    }
    VARIANTARG missing;
    VariantInit(&missing);
    V_VT(&missing) = VT_ERROR;
    V_ERROR(&missing) = DISP_E_PARAMNOTFOUND;
    out.assign(count, missing);
    std::vector<bool> given(count, false);
    // rgvarg holds the named arguments first, then the positional ones last to first.
    for (UINT p = 0; p < unnamed; ++p) {
        out[count - 1 - p] = params.rgvarg[params.cArgs - 1 - p];
        given[p] = true;
    }
    for (UINT k = 0; k < named; ++k) {
        const UINT position = static_cast<UINT>(params.rgdispidNamedArgs[k]);
        if (given[position]) {
            if (argErr) *argErr = k;
            return DISP_E_PARAMNOTFOUND;
        }
        out[count - 1 - position] = params.rgvarg[k];
        given[position] = true;
    }
    return S_OK;
}

}  // namespace

HRESULT InvokeThroughTypeInfo(ITypeInfo* ti, void* instance, DISPID id, WORD flags,
                              DISPPARAMS* params, VARIANT* result, EXCEPINFO* excepInfo,
                              UINT* argErr) {
    if (!params) return E_INVALIDARG;
    const ComPtr<ITypeInfo> view = InterfaceView(ti);
    auto fd = FindFunc(view, id, flags);
    if (!fd) return ti->Invoke(instance, id, flags, params, result, excepInfo, argErr);

    if ((*fd)->cParamsOpt == -1) return InvokeVararg(instance, fd->get(), params, result, excepInfo);

    // Supply omitted optional by-reference arguments.
    const UINT n = CallerParams(fd->get());
    DISPPARAMS* const original = params;
    std::vector<VARIANTARG> positional;
    DISPPARAMS reordered{};
    if (params->cNamedArgs != 0) {
        HRESULT hr = NamedToPositional(*params, n, positional, argErr);
        if (hr == S_FALSE) return ti->Invoke(instance, id, flags, params, result, excepInfo, argErr);
        if (FAILED(hr)) return hr;
        reordered = DISPPARAMS{positional.data(), nullptr, static_cast<UINT>(positional.size()), 0};
        params = &reordered;
    }
    if (params->cArgs > n)
        return ti->Invoke(instance, id, flags, original, result, excepInfo, argErr);
    std::vector<VARTYPE> supply(n, VT_EMPTY);
    // Arguments passed as a reference to a variant, for by-reference parameters of another
    // type: the parameter points into the caller's variant when it holds that type (so the
    // member's changes reach the caller's variable); a scalar of another type is converted
    // into a temporary that is written back to the caller's variant after the call.
    std::vector<VARIANT*> redirect(n, nullptr), convert(n, nullptr);
    std::vector<VARTYPE> referenced(n, VT_EMPTY);
    bool any = false;
    for (UINT i = 0; i < n; ++i) {
        const bool present = i < params->cArgs && !IsMissing(params->rgvarg[params->cArgs - 1 - i]);
        if (!present) supply[i] = SuppliedBaseType(view.get(), (*fd)->lprgelemdescParam[i]);
        any = any || supply[i] != VT_EMPTY;
        if (!present) continue;
        const VARIANTARG& arg = params->rgvarg[params->cArgs - 1 - i];
        if (V_VT(&arg) != (VT_VARIANT | VT_BYREF) || !V_VARIANTREF(&arg)) continue;
        referenced[i] = ReferencedType(view.get(), (*fd)->lprgelemdescParam[i]);
        if (referenced[i] == VT_EMPTY) continue;
        VARIANT* target = V_VARIANTREF(&arg);
        while (V_VT(target) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(target)) target = V_VARIANTREF(target);
        if (V_VT(target) == referenced[i]) {
            redirect[i] = target;
        } else if (IsScalar(referenced[i]) && !(V_VT(target) & (VT_ARRAY | VT_BYREF))) {
            convert[i] = target;
        } else {
            continue;
        }
        any = true;
    }
    if (!any) return ti->Invoke(instance, id, flags, original, result, excepInfo, argErr);

    std::vector<support::Variant> temps(n);
    std::vector<VARIANTARG> args(n);
    for (UINT i = 0; i < n; ++i) {
        VARIANTARG& slot = args[n - 1 - i];
        if (redirect[i] || convert[i]) {
            VARIANT* value = redirect[i];
            if (convert[i]) {
                value = temps[i].get();
                if (FAILED(VariantChangeType(value, convert[i], 0, referenced[i]))) {
                    if (argErr) *argErr = params->cArgs - 1 - i;
                    return DISP_E_TYPEMISMATCH;
                }
            }
            VariantInit(&slot);
            V_VT(&slot) = static_cast<VARTYPE>(referenced[i] | VT_BYREF);
            V_BYREF(&slot) = &value->lVal;  // all value fields share one address
            continue;
        }
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
    const HRESULT hr = ti->Invoke(instance, id, flags, &completed, result, excepInfo, argErr);
    for (UINT i = 0; i < n; ++i) {
        if (!convert[i]) continue;
        VariantClear(convert[i]);
        *convert[i] = temps[i].detach();  // the variable now holds the parameter's type
    }
    return hr;
}

}  // namespace bk
