#include "lib/objectmodel/dispatch.h"

#include <algorithm>

#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/variants.h"

namespace bk {
namespace {

using support::ComPtr;

// The vtable view of a dual interface. Its dispatch view drops each member's [out, retval]
// parameter, which the calls made here must pass, and numbers its members differently.
ComPtr<ITypeInfo> InterfaceView(ITypeInfo* ti) {
    const support::TypeAttr attr = support::GetTypeAttr(ti);
    const bool dualDispatch =
        attr && attr.get().desc->typekind == TKIND_DISPATCH && (attr.get().desc->wTypeFlags & TYPEFLAG_FDUAL);
    HREFTYPE ref = 0;
    ComPtr<ITypeInfo> view;
    if (dualDispatch && SUCCEEDED(ti->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)) &&
        SUCCEEDED(ti->GetRefTypeInfo(ref, view.put())))
        return view;
    return ComPtr<ITypeInfo>::Share(ti);
}

// The variant type of an enumeration referenced by a parameter (VT_I4), or VT_EMPTY.
VARTYPE EnumType(ITypeInfo* ti, HREFTYPE ref) {
    ComPtr<ITypeInfo> referenced;
    if (FAILED(ti->GetRefTypeInfo(ref, referenced.put()))) return VT_EMPTY;
    const support::TypeAttr attr = support::GetTypeAttr(referenced.get());
    return attr && attr.get().desc->typekind == TKIND_ENUM ? VARTYPE{VT_I4} : VARTYPE{VT_EMPTY};
}

// The base type of a by-reference parameter whose omission this module supplies, or VT_EMPTY.
VARTYPE SuppliedBaseType(ITypeInfo* ti, const ELEMDESC& e) {
    if (!(e.paramdesc.wParamFlags & PARAMFLAG_FOPT) || e.tdesc.vt != VT_PTR) return VT_EMPTY;
    const TYPEDESC* base = e.tdesc.lptdesc;
    switch (base->vt) {
    case VT_BSTR: case VT_BOOL: case VT_I2: case VT_I4: case VT_R8: case VT_VARIANT:
        return base->vt;
    case VT_USERDEFINED:
        return EnumType(ti, base->hreftype);
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
    case VT_USERDEFINED:
        return EnumType(ti, base->hreftype);
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

int RankOf(INVOKEKIND kind) {
    switch (kind) {
    case INVOKE_FUNC: return 0;
    case INVOKE_PROPERTYGET: return 1;
    case INVOKE_PROPERTYPUT: return 2;
    case INVOKE_PROPERTYPUTREF: return 3;
    }
    return -1;
}

constexpr WORD kRankFlags[4] = {DISPATCH_METHOD, DISPATCH_PROPERTYGET, DISPATCH_PROPERTYPUT, DISPATCH_PROPERTYPUTREF};

MemberPlan PlanOf(ITypeInfo* view, const FUNCDESC* fd) {
    MemberPlan plan;
    plan.desc = fd;
    plan.callerParams = static_cast<UINT>(fd->cParams);
    plan.hasRetval = fd->cParams > 0 &&
                     (fd->lprgelemdescParam[fd->cParams - 1].paramdesc.wParamFlags & PARAMFLAG_FRETVAL);
    if (plan.hasRetval) --plan.callerParams;
    plan.vararg = fd->cParamsOpt == -1;
    plan.params.resize(plan.callerParams);
    for (UINT i = 0; i < plan.callerParams; ++i) {
        const ELEMDESC& e = fd->lprgelemdescParam[i];
        ParamPlan& p = plan.params[i];
        p.supplied = SuppliedBaseType(view, e);
        p.referenced = ReferencedType(view, e);
        if ((e.paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT) && e.paramdesc.pparamdescex)
            p.defaultValue = &e.paramdesc.pparamdescex->varDefaultValue;
        plan.mayAdapt = plan.mayAdapt || p.supplied != VT_EMPTY || p.referenced != VT_EMPTY;
    }
    return plan;
}

// Calls a [vararg] member: the positional arguments become its parameter array.
HRESULT InvokeVararg(void* instance, const MemberPlan& plan, const DISPPARAMS* params, VARIANT* result,
                     EXCEPINFO* excepInfo) {
    const FUNCDESC* fd = plan.desc;
    const UINT fixed = plan.callerParams - 1;  // parameters before the parameter array
    if (fixed != 0 || params->cNamedArgs != 0) return DISP_E_BADPARAMCOUNT;

    SAFEARRAYBOUND bound{params->cArgs, 0};
    support::SafeArray args(SafeArrayCreate(VT_VARIANT, 1, &bound));
    if (!args.get()) return E_OUTOFMEMORY;
    for (UINT i = 0; i < params->cArgs; ++i) {
        const VARIANTARG& src = params->rgvarg[params->cArgs - 1 - i];
        const VARIANT* value = V_VT(&src) == (VT_VARIANT | VT_BYREF) ? V_VARIANTREF(&src) : &src;
        if (!value) return DISP_E_TYPEMISMATCH;
        LONG index = static_cast<LONG>(i);
        support::Variant copy;
        HRESULT hr = VariantCopyInd(copy.get(), const_cast<VARIANT*>(value));
        if (SUCCEEDED(hr)) hr = SafeArrayPutElement(args.get(), &index, copy.get());
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
    support::Variant ret;
    HRESULT hr = DispCallFunc(instance, fd->oVft, CC_STDCALL, VT_ERROR, plan.hasRetval ? 2 : 1, callTypes, callPtrs,
                              ret.get());
    if (arrayArg != args.get()) {  // the member replaced the array: ours is the new one
        args.detach();
        args = support::SafeArray(arrayArg);
    }
    if (FAILED(hr)) return hr;
    hr = V_ERROR(ret.get());
    if (FAILED(hr)) return ExceptionFromErrorInfo(hr, excepInfo);
    if (!plan.hasRetval) return S_OK;

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
HRESULT NamedToPositional(const DISPPARAMS& params, UINT paramCount, std::vector<VARIANTARG>& out, UINT* argErr) {
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

// Whether an argument refers to nothing: a by-reference argument whose pointer is null, also
// at the end of a chain of references to variants. Such an argument is never read.
bool IsDanglingReference(const VARIANTARG& arg) {
    const VARIANT* v = &arg;
    for (int depth = 0; depth < 16 && V_VT(v) == (VT_VARIANT | VT_BYREF); ++depth) {
        if (!V_VARIANTREF(v)) return true;
        v = V_VARIANTREF(v);
    }
    if (V_VT(v) == (VT_VARIANT | VT_BYREF)) return true;  // a chain too long to be a caller's variable
    return (V_VT(v) & VT_BYREF) && !V_BYREF(v);
}

// Checks the shape of a caller's DISPPARAMS before anything of it is read, as the system's own
// dispatch answers: another interface than IID_NULL, missing arrays or more named arguments
// than arguments are refused; a reference to nothing is a type mismatch of that argument.
HRESULT CheckShape(REFIID riid, const DISPPARAMS* params, UINT* argErr) {
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!params) return E_INVALIDARG;
    if (params->cArgs > 0 && !params->rgvarg) return E_INVALIDARG;
    if (params->cNamedArgs > 0 && !params->rgdispidNamedArgs) return E_INVALIDARG;
    if (params->cNamedArgs > params->cArgs) return E_INVALIDARG;
    for (UINT i = 0; i < params->cArgs; ++i) {
        if (!IsDanglingReference(params->rgvarg[i])) continue;
        if (argErr) *argErr = i;
        return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

// Whether a caller must pass parameter `i` of a member (it is neither optional nor the
// return value nor the locale).
bool IsRequired(const MemberPlan& plan, UINT i) {
    const USHORT flags = plan.desc->lprgelemdescParam[i].paramdesc.wParamFlags;
    return !(flags & (PARAMFLAG_FOPT | PARAMFLAG_FRETVAL | PARAMFLAG_FLCID));
}

}  // namespace

HRESULT DispatchTable::Create(ITypeInfo* dispatchInfo, std::unique_ptr<DispatchTable>& out) {
    if (!dispatchInfo) return E_POINTER;
    std::unique_ptr<DispatchTable> table(new (std::nothrow) DispatchTable());
    if (!table) return E_OUTOFMEMORY;
    table->dispatch_ = ComPtr<ITypeInfo>::Share(dispatchInfo);
    table->vtable_ = InterfaceView(dispatchInfo);
    const support::TypeAttr attr = support::GetTypeAttr(table->vtable_.get());
    if (!attr) return E_UNEXPECTED;
    const UINT count = attr.get().desc->cFuncs;
    table->descs_.reserve(count);
    table->plans_.reserve(count);
    // Members are found by scanning the descriptions once, since the host's index lookup by
    // member id does not agree with the view's own numbering.
    for (UINT i = 0; i < count; ++i) {
        support::FuncDesc desc = support::GetFuncDesc(table->vtable_.get(), i);
        if (!desc) continue;
        const FUNCDESC* fd = desc.get().desc;
        const int rank = RankOf(fd->invkind);
        if (rank < 0) continue;
        auto& slots = table->byId_.try_emplace(fd->memid, std::array<int, 4>{-1, -1, -1, -1}).first->second;
        if (slots[static_cast<size_t>(rank)] >= 0) continue;
        slots[static_cast<size_t>(rank)] = static_cast<int>(table->plans_.size());
        table->plans_.push_back(PlanOf(table->vtable_.get(), fd));
        table->descs_.push_back(std::move(desc));
    }
    out = std::move(table);
    return S_OK;
}

const MemberPlan* DispatchTable::Find(DISPID id, WORD flags) const {
    const auto it = byId_.find(id);
    if (it == byId_.end()) return nullptr;
    for (size_t rank = 0; rank < 4; ++rank) {
        const int index = it->second[rank];
        if (index >= 0 && (flags & kRankFlags[rank])) return &plans_[static_cast<size_t>(index)];
    }
    return nullptr;
}

HRESULT DispatchTable::Invoke(void* instance, DISPID id, REFIID riid, WORD flags, DISPPARAMS* params,
                              VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) const {
    if (HRESULT hr = CheckShape(riid, params, argErr); FAILED(hr)) return hr;
    ITypeInfo* ti = dispatch_.get();
    const MemberPlan* plan = Find(id, flags);
    if (!plan) return ti->Invoke(instance, id, flags, params, result, excepInfo, argErr);
    if (plan->vararg) return InvokeVararg(instance, *plan, params, result, excepInfo);

    const UINT n = plan->callerParams;
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
    if (params->cArgs > n) return ti->Invoke(instance, id, flags, original, result, excepInfo, argErr);
    // A required argument left out (not given, or given as the omitted marker) is refused
    // before the member runs, whatever else the call holds.
    for (UINT i = 0; i < n; ++i) {
        if (!IsRequired(*plan, i)) continue;
        if (i < params->cArgs && !IsMissing(params->rgvarg[params->cArgs - 1 - i])) continue;
        if (argErr) *argErr = i < params->cArgs ? params->cArgs - 1 - i : 0;
        return DISP_E_PARAMNOTOPTIONAL;
    }
    if (!plan->mayAdapt) return ti->Invoke(instance, id, flags, original, result, excepInfo, argErr);

    // Arguments passed as a reference to a variant, for by-reference parameters of another
    // type: the parameter points into the caller's variant when it holds that type (so the
    // member's changes reach the caller's variable); a scalar of another type is converted
    // into a temporary that is written back to the caller's variant after the call.
    std::vector<VARTYPE> supply(n, VT_EMPTY);
    std::vector<VARIANT*> redirect(n, nullptr), convert(n, nullptr);
    bool any = false;
    for (UINT i = 0; i < n; ++i) {
        const ParamPlan& p = plan->params[i];
        const bool present = i < params->cArgs && !IsMissing(params->rgvarg[params->cArgs - 1 - i]);
        if (!present) {
            supply[i] = p.supplied;
            any = any || supply[i] != VT_EMPTY;
            continue;
        }
        if (p.referenced == VT_EMPTY) continue;
        const VARIANTARG& arg = params->rgvarg[params->cArgs - 1 - i];
        if (V_VT(&arg) != (VT_VARIANT | VT_BYREF) || !V_VARIANTREF(&arg)) continue;
        VARIANT* target = V_VARIANTREF(&arg);
        while (V_VT(target) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(target)) target = V_VARIANTREF(target);
        if (V_VT(target) == p.referenced) {
            redirect[i] = target;
        } else if (IsScalar(p.referenced) && !(V_VT(target) & (VT_ARRAY | VT_BYREF))) {
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
        const ParamPlan& p = plan->params[i];
        if (redirect[i] || convert[i]) {
            VARIANT* value = redirect[i];
            if (convert[i]) {
                value = temps[i].get();
                if (FAILED(VariantChangeType(value, convert[i], 0, p.referenced))) {
                    if (argErr) *argErr = params->cArgs - 1 - i;
                    return DISP_E_TYPEMISMATCH;
                }
            }
            VariantInit(&slot);
            V_VT(&slot) = static_cast<VARTYPE>(p.referenced | VT_BYREF);
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
        VARIANT* temp = temps[i].get();
        if (supply[i] != VT_VARIANT) {
            const bool haveDefault =
                p.defaultValue && SUCCEEDED(VariantChangeType(temp, const_cast<VARIANT*>(p.defaultValue), 0, supply[i]));
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
