#include "lib/objectmodel/dispatch.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

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
    case VT_DISPATCH:  // IDispatch**: a caller's form or control passed by reference
        return VT_DISPATCH;
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

// The variant type of a referenced type as the host's Invoke takes it: VT_I4 for an
// enumeration; for an interface VT_DISPATCH or VT_UNKNOWN (`isInterface` set). False for
// anything else (aliases, records), which direct calls leave to the host.
bool ReferencedVarType(ITypeInfo* ti, HREFTYPE ref, VARTYPE& vt, bool& isInterface) {
    ComPtr<ITypeInfo> referenced;
    if (FAILED(ti->GetRefTypeInfo(ref, referenced.put()))) return false;
    const support::TypeAttr attr = support::GetTypeAttr(referenced.get());
    if (!attr) return false;
    const TYPEATTR* a = attr.get().desc;
    isInterface = a->typekind != TKIND_ENUM;
    switch (a->typekind) {
    case TKIND_ENUM: vt = VT_I4; return true;
    case TKIND_DISPATCH: case TKIND_COCLASS: vt = VT_DISPATCH; return true;
    case TKIND_INTERFACE: vt = (a->wTypeFlags & TYPEFLAG_FDISPATCHABLE) ? VT_DISPATCH : VT_UNKNOWN; return true;
    default: return false;
    }
}

// A type passed as a value of its own: the automation scalars, strings, interfaces, variants,
// enumerations and arrays of scalars.
bool ValueVarType(ITypeInfo* ti, const TYPEDESC& t, VARTYPE& vt) {
    switch (t.vt) {
    case VT_I1: case VT_I2: case VT_I4: case VT_I8: case VT_UI1: case VT_UI2: case VT_UI4: case VT_UI8:
    case VT_R4: case VT_R8: case VT_CY: case VT_DATE: case VT_BSTR: case VT_DISPATCH: case VT_ERROR:
    case VT_BOOL: case VT_VARIANT: case VT_UNKNOWN:
        vt = t.vt;
        return true;
    case VT_INT: vt = VT_I4; return true;
    case VT_UINT: vt = VT_UI4; return true;
    case VT_USERDEFINED: {
        // An interface passed by value is checked by the host (it asks the argument for the
        // interface), so only enumerations are passed directly.
        bool isInterface = false;
        return ReferencedVarType(ti, t.hreftype, vt, isInterface) && !isInterface;
    }
    case VT_SAFEARRAY: {
        VARTYPE element = VT_EMPTY;
        if (!t.lptdesc || t.lptdesc->vt == VT_USERDEFINED || !ValueVarType(ti, *t.lptdesc, element)) return false;
        vt = static_cast<VARTYPE>(VT_ARRAY | element);
        return true;
    }
    default:
        return false;
    }
}

// The variant type the host's Invoke passes for a parameter of type `t`, for the types a
// direct call handles as it does; false for the others.
bool ArgVarType(ITypeInfo* ti, const TYPEDESC& t, VARTYPE& vt) {
    if (t.vt != VT_PTR) return ValueVarType(ti, t, vt);
    const TYPEDESC& base = *t.lptdesc;
    if (base.vt == VT_PTR) {
        // A pointer to an interface pointer: VT_DISPATCH or VT_UNKNOWN by reference.
        bool isInterface = false;
        if (!base.lptdesc || base.lptdesc->vt != VT_USERDEFINED ||
            !ReferencedVarType(ti, base.lptdesc->hreftype, vt, isInterface) || !isInterface)
            return false;
        vt = static_cast<VARTYPE>(vt | VT_BYREF);
        return true;
    }
    if (!ValueVarType(ti, base, vt)) return false;  // an interface pointer by value included
    vt = static_cast<VARTYPE>(vt | VT_BYREF);
    return true;
}

constexpr UINT kDirectMaxParams = 16;

// Whether an argument of this variant type travels as one integer word of the platform's
// calling convention (a register or a stack slot), as pointers and integers do: then the
// member can be called through a function pointer taking words. Floating-point values travel
// in other registers on x64 and several types take more than one stack slot on x86; those
// calls go through DispCallFunc.
bool TravelsAsWord(VARTYPE vt) {
    if (vt & (VT_BYREF | VT_ARRAY)) return true;
    switch (vt) {
    case VT_I1: case VT_UI1: case VT_I2: case VT_UI2: case VT_I4: case VT_UI4: case VT_ERROR: case VT_BOOL:
    case VT_BSTR: case VT_DISPATCH: case VT_UNKNOWN:
        return true;
    case VT_I8: case VT_UI8: case VT_CY:
    case VT_VARIANT:  // passed by reference on x64
        return sizeof(void*) == 8;
    default:
        return false;
    }
}

// The word DispCallFunc passes for an argument: the variant's address for a VARIANT passed
// by value (x64 passes it by reference), a boolean widened, anything else the variant's value
// bits (a pointer for references, strings, interfaces and arrays).
uintptr_t WordOf(VARTYPE vt, VARIANTARG* arg) {
    if (vt == VT_VARIANT) return reinterpret_cast<uintptr_t>(arg);
    if (vt == VT_BOOL) return static_cast<uintptr_t>(static_cast<intptr_t>(V_BOOL(arg)));
    if constexpr (sizeof(void*) == 8) return static_cast<uintptr_t>(V_UI8(arg));
    else return static_cast<uintptr_t>(V_UI4(arg));
}

template <size_t... I>
HRESULT CallWords(void* function, void* instance, const uintptr_t* words, std::index_sequence<I...>) {
    using Function = HRESULT(STDMETHODCALLTYPE*)(void*, decltype(static_cast<void>(I), uintptr_t{})...);
    return reinterpret_cast<Function>(function)(instance, words[I]...);
}

// Calls the virtual function at byte offset `slot` of `instance`'s vtable with `count` word
// arguments, as DispCallFunc does for them but without its general argument marshalling.
HRESULT CallSlot(void* instance, unsigned slot, UINT count, const uintptr_t* words) {
    void* function = (*static_cast<void***>(instance))[slot / sizeof(void*)];
    switch (count) {
#define BK_CALL_WORDS(n) \
    case n: return CallWords(function, instance, words, std::make_index_sequence<n>{});
    BK_CALL_WORDS(0) BK_CALL_WORDS(1) BK_CALL_WORDS(2) BK_CALL_WORDS(3) BK_CALL_WORDS(4) BK_CALL_WORDS(5)
    BK_CALL_WORDS(6) BK_CALL_WORDS(7) BK_CALL_WORDS(8) BK_CALL_WORDS(9) BK_CALL_WORDS(10) BK_CALL_WORDS(11)
    BK_CALL_WORDS(12) BK_CALL_WORDS(13) BK_CALL_WORDS(14) BK_CALL_WORDS(15) BK_CALL_WORDS(16) BK_CALL_WORDS(17)
#undef BK_CALL_WORDS
    }
    return E_INVALIDARG;
}

// Whether the member can be called directly, filling the parameters' and the return value's
// types: a virtual function of the standard calling convention returning an HRESULT, not
// restricted, without a locale parameter, every parameter of a type ArgVarType handles.
bool PlanDirect(ITypeInfo* view, const FUNCDESC* fd, MemberPlan& plan) {
    if ((fd->funckind != FUNC_PUREVIRTUAL && fd->funckind != FUNC_VIRTUAL) || fd->callconv != CC_STDCALL ||
        fd->elemdescFunc.tdesc.vt != VT_HRESULT || plan.vararg || static_cast<UINT>(fd->cParams) > kDirectMaxParams)
        return false;
    if ((fd->wFuncFlags & FUNCFLAG_FRESTRICTED) && fd->memid >= 0) return false;
    for (UINT i = 0; i < static_cast<UINT>(fd->cParams); ++i) {
        const ELEMDESC& e = fd->lprgelemdescParam[i];
        if (e.paramdesc.wParamFlags & PARAMFLAG_FLCID) return false;
        VARTYPE vt = VT_EMPTY;
        if (!ArgVarType(view, e.tdesc, vt)) return false;
        if (i < plan.callerParams) {
            plan.params[i].type = vt;
            plan.params[i].flags = e.paramdesc.wParamFlags;
        } else {
            plan.retvalType = vt;
        }
    }
    if (plan.hasRetval && !(plan.retvalType & VT_BYREF)) return false;
    plan.native = true;
    for (const ParamPlan& p : plan.params) plan.native = plan.native && TravelsAsWord(p.type);
    return true;
}

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
    plan.direct = PlanDirect(view, fd, plan);
    return plan;
}

// Hands over what a member wrote through its [out, retval] pointer into `storage`: into
// `result` as VariantCopyInd of the reference would give it, the original then freed (the
// host's way), except that scalars, strings, interfaces and arrays move instead of being
// copied and freed. Without `result`, the value is freed.
HRESULT TakeRetval(VARTYPE pointed, VARIANT& storage, VARIANT* result) {
    VARIANT value;
    V_VT(&value) = VT_EMPTY;
    HRESULT hr = S_OK;
    if (pointed == VT_VARIANT) {
        if (V_VT(&storage) & VT_BYREF) {
            // A reference returned in the variant: copied through as the host does.
            VARIANT ref;
            V_VT(&ref) = VT_VARIANT | VT_BYREF;
            V_VARIANTREF(&ref) = &storage;
            if (result) hr = VariantCopyInd(result, &ref);
            return hr;
        }
        value = storage;
    } else {
        V_VT(&value) = pointed;
        std::memcpy(&V_UI8(&value), &storage, sizeof(ULONGLONG));  // the member wrote its value there
    }
    if (result) *result = value;
    else VariantClear(&value);
    return hr;
}

// Calls a member through its vtable slot when every argument can be passed as the host's
// ITypeInfo::Invoke passes it: positional arguments only, each of the parameter's type (as
// given), or for a VARIANT parameter any value (a copy), or for another by-value parameter a
// value VariantChangeType converts; an [in] VARIANT* parameter given a value gets a
// reference to a copy; omitted optional parameters get their default, else the missing-
// argument marker (by reference for a by-reference parameter). The outcome is the host's: a
// failing member gives DISP_E_EXCEPTION with the error information in `excepInfo`, the
// [out, retval] value goes to `result` even then. False (nothing done) for other calls.
bool CallDirect(void* instance, const MemberPlan& plan, WORD flags, const DISPPARAMS* params, VARIANT* result,
                EXCEPINFO* excepInfo, HRESULT& outcome) {
    if (!plan.direct || params->cNamedArgs != 0 || params->cArgs > plan.callerParams ||
        (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)))
        return false;
    const UINT n = plan.callerParams, cArgs = params->cArgs;
    auto given = [&](UINT i) -> const VARIANTARG* {
        if (i >= cArgs) return nullptr;
        const VARIANTARG* arg = &params->rgvarg[cArgs - 1 - i];
        const bool marker = V_VT(arg) == VT_ERROR && V_ERROR(arg) == DISP_E_PARAMNOTFOUND;
        return marker && (plan.params[i].flags & PARAMFLAG_FOPT) ? nullptr : arg;
    };
    // First whether every argument can be passed, before anything is copied.
    for (UINT i = 0; i < n; ++i) {
        const ParamPlan& p = plan.params[i];
        const VARIANTARG* arg = given(i);
        if (!arg) {
            if (!(p.flags & PARAMFLAG_FOPT)) return false;
        } else if (V_VT(arg) != p.type && p.type != VT_VARIANT && (p.type & VT_BYREF)) {
            const bool copyIn = p.type == (VT_VARIANT | VT_BYREF) && (p.flags & PARAMFLAG_FIN) &&
                                !(p.flags & PARAMFLAG_FOUT) && V_VT(arg) != (VT_VARIANT | VT_BYREF);
            if (!copyIn) return false;
        }
    }

    VARIANTARG temps[kDirectMaxParams], missing[kDirectMaxParams];
    VARIANTARG* args[kDirectMaxParams + 1];
    VARTYPE types[kDirectMaxParams + 1];
    bool owned[kDirectMaxParams] = {};
    // Empty variants, written in place (VariantInit and VariantClear are calls into another
    // module, and most arguments need neither).
    for (UINT i = 0; i < n; ++i) V_VT(&temps[i]) = V_VT(&missing[i]) = VT_EMPTY;
    auto release = [&] {
        for (UINT i = 0; i < n; ++i) {
            if (owned[i]) VariantClear(&temps[i]);
            if (V_VT(&missing[i]) != VT_EMPTY) VariantClear(&missing[i]);
        }
    };
    for (UINT i = 0; i < n; ++i) {
        const ParamPlan& p = plan.params[i];
        const VARIANTARG* arg = given(i);
        types[i] = p.type;
        args[i] = &temps[i];
        HRESULT hr = S_OK;
        if (!arg) {
            if ((p.flags & PARAMFLAG_FHASDEFAULT) && p.defaultValue) {
                hr = VariantCopy(&temps[i], const_cast<VARIANT*>(p.defaultValue));
            } else if (p.type & VT_BYREF) {
                V_VT(&missing[i]) = VT_ERROR;
                V_ERROR(&missing[i]) = DISP_E_PARAMNOTFOUND;
                V_VT(&temps[i]) = VT_VARIANT | VT_BYREF;
                V_VARIANTREF(&temps[i]) = &missing[i];
            } else {
                V_VT(&temps[i]) = VT_ERROR;
                V_ERROR(&temps[i]) = DISP_E_PARAMNOTFOUND;
            }
        } else if (V_VT(arg) == p.type) {
            args[i] = const_cast<VARIANTARG*>(arg);
        } else if (p.type == VT_VARIANT) {
            hr = VariantCopy(&temps[i], const_cast<VARIANTARG*>(arg));
        } else if (p.type == (VT_VARIANT | VT_BYREF)) {
            hr = VariantCopy(&missing[i], const_cast<VARIANTARG*>(arg));
            V_VT(&temps[i]) = VT_VARIANT | VT_BYREF;
            V_VARIANTREF(&temps[i]) = &missing[i];
        } else {
            // As the host converts: into a variant of the argument's type holding nothing yet.
            V_VT(&temps[i]) = V_VT(arg);
            hr = VariantChangeType(&temps[i], const_cast<VARIANTARG*>(arg), 0, p.type);
            V_VT(&temps[i]) = p.type;
        }
        owned[i] = args[i] == &temps[i] && !(V_VT(&temps[i]) & VT_BYREF);
        if (FAILED(hr)) {
            owned[i] = false;
            release();
            outcome = hr;
            return true;
        }
    }
    VARIANT retval;  // storage the member writes its return value into
    std::memset(&retval, 0, sizeof(retval));
    VARIANTARG retvalArg;
    UINT count = n;
    if (plan.hasRetval) {
        V_VT(&retvalArg) = plan.retvalType;
        V_BYREF(&retvalArg) = &retval;
        args[n] = &retvalArg;
        types[n] = plan.retvalType;
        ++count;
    }
    VARIANT returned;
    V_VT(&returned) = VT_EMPTY;
    HRESULT called = S_OK;
    const unsigned slot = plan.desc->oVft & 0xFFFC;
    if (plan.native) {
        uintptr_t words[kDirectMaxParams + 1];
        for (UINT i = 0; i < count; ++i) words[i] = WordOf(types[i], args[i]);
        V_VT(&returned) = VT_ERROR;
        V_ERROR(&returned) = CallSlot(instance, slot, count, words);
    } else {
        called = DispCallFunc(instance, slot, plan.desc->callconv, VT_ERROR, count, types, args, &returned);
    }
    release();
    if (FAILED(called)) {
        outcome = called;
        return true;
    }
    HRESULT hr = S_OK;
    if (plan.hasRetval) {
        if (result) V_VT(result) = VT_EMPTY;  // as VariantInit
        hr = TakeRetval(static_cast<VARTYPE>(plan.retvalType & ~VT_BYREF), retval, result);
    }
    if (V_VT(&returned) == VT_ERROR && FAILED(V_ERROR(&returned))) {
        hr = DISP_E_EXCEPTION;
        if (excepInfo) {
            // As the host fills it: the code, then the four texts of the error information.
            excepInfo->scode = V_ERROR(&returned);
            ComPtr<IErrorInfo> error;
            if (GetErrorInfo(0, error.put()) == S_OK && error) {
                error->GetDescription(&excepInfo->bstrDescription);
                error->GetHelpFile(&excepInfo->bstrHelpFile);
                error->GetSource(&excepInfo->bstrSource);
                error->GetHelpContext(&excepInfo->dwHelpContext);
            }
        }
    }
    outcome = hr;
    return true;
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

// Per-parameter scratch space of one call: inline for the usual parameter counts, so that a
// call allocates nothing for it. Elements are left for the caller to set (T is plain data).
template <class T>
class PerParam {
public:
    explicit PerParam(UINT n) {
        if (n > kInline) {
            heap_.resize(n);
            data_ = heap_.data();
        }
    }
    PerParam(const PerParam&) = delete;
    PerParam& operator=(const PerParam&) = delete;
    T& operator[](UINT i) { return data_[i]; }
    T* data() { return data_; }

private:
    static constexpr UINT kInline = kDirectMaxParams;
    T inline_[kInline];
    std::vector<T> heap_;
    T* data_ = inline_;
};

// What a call does for one parameter before the member runs.
struct Adaptation {
    VARTYPE supply;    // omitted: the base type of the temporary supplied (VT_EMPTY: none)
    VARIANT* redirect; // the caller's variable the parameter points into
    VARIANT* convert;  // the caller's variable converted into a temporary and written back
};

// Calls the member directly when it can (CallDirect), else through the host's Invoke.
HRESULT CallMember(ITypeInfo* ti, void* instance, DISPID id, const MemberPlan& plan, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* excepInfo, UINT* argErr) {
    HRESULT hr = S_OK;
    if (CallDirect(instance, plan, flags, params, result, excepInfo, hr)) return hr;
    return ti->Invoke(instance, id, flags, params, result, excepInfo, argErr);
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
    // The host picks among a member id's call kinds by declaration order, this table by
    // kind: where the two could differ (a method and a property get under one id), and for a
    // restricted interface (the host refuses every call), calls stay with the host.
    const support::TypeAttr dispatchAttr = support::GetTypeAttr(dispatchInfo);
    const bool restricted = !dispatchAttr || (dispatchAttr.get().desc->wTypeFlags & TYPEFLAG_FRESTRICTED);
    for (const auto& [id, slots] : table->byId_) {
        if (!restricted && (slots[0] < 0 || slots[1] < 0)) continue;
        for (int index : slots)
            if (index >= 0) table->plans_[static_cast<size_t>(index)].direct = false;
    }
    table->ReadNames();
    out = std::move(table);
    return S_OK;
}

// The members' names for IdsOfNames, as the host's lookup would answer them: a name matches
// without regard to case and the first member matching wins, so names that only the case
// tells apart, and names that are not plain ASCII, are left to the host.
void DispatchTable::ReadNames() {
    const support::TypeAttr attr = support::GetTypeAttr(dispatch_.get());
    if (!attr) return;
    std::vector<std::pair<std::wstring, DISPID>> found;
    for (UINT i = 0; i < attr.get().desc->cFuncs; ++i) {
        const support::FuncDesc desc = support::GetFuncDesc(dispatch_.get(), i);
        if (!desc) continue;
        support::Bstr name;
        UINT got = 0;
        if (FAILED(dispatch_->GetNames(desc.get().desc->memid, name.put(), 1, &got)) || got != 1) continue;
        found.emplace_back(name.str(), desc.get().desc->memid);
    }
    auto folded = [](std::wstring text) {
        for (wchar_t& ch : text)
            if (ch >= L'A' && ch <= L'Z') ch = static_cast<wchar_t>(ch - L'A' + L'a');
        return text;
    };
    std::unordered_map<std::wstring, int> seen;  // folded name: members bearing it
    for (const auto& [name, id] : found) {
        bool ascii = !name.empty();
        for (wchar_t ch : name) ascii = ascii && ch > 0 && ch < 0x80;
        seen[folded(name)] += ascii ? 1 : 2;
    }
    names_.reserve(found.size());
    for (const auto& [name, id] : found) {
        if (seen[folded(name)] != 1) continue;
        names_.push_back(name);
    }
    // Views only once names_ no longer moves.
    for (const std::wstring& name : names_)
        for (const auto& [declared, id] : found)
            if (declared == name) byName_.emplace(name, id);
}

HRESULT DispatchTable::IdsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const {
    if (count == 1 && names[0]) {
        const auto it = byName_.find(std::wstring_view(names[0]));
        if (it != byName_.end()) {
            ids[0] = it->second;
            return S_OK;
        }
    }
    return dispatch_->GetIDsOfNames(names, count, ids);
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
    if (!plan->mayAdapt) return CallMember(ti, instance, id, *plan, flags, original, result, excepInfo, argErr);

    // Arguments passed as a reference to a variant, for by-reference parameters of another
    // type: the parameter points into the caller's variant when it holds that type (so the
    // member's changes reach the caller's variable); a scalar of another type is converted
    // into a temporary that is written back to the caller's variant after the call, and an
    // empty variable given for an array receives the array the member makes.
    PerParam<Adaptation> adapt(n);
    bool any = false;
    for (UINT i = 0; i < n; ++i) {
        const ParamPlan& p = plan->params[i];
        Adaptation& a = adapt[i];
        a = Adaptation{VT_EMPTY, nullptr, nullptr};
        const bool present = i < params->cArgs && !IsMissing(params->rgvarg[params->cArgs - 1 - i]);
        if (!present) {
            a.supply = p.supplied;
            any = any || a.supply != VT_EMPTY;
            continue;
        }
        if (p.referenced == VT_EMPTY) continue;
        const VARIANTARG& arg = params->rgvarg[params->cArgs - 1 - i];
        if (V_VT(&arg) != (VT_VARIANT | VT_BYREF) || !V_VARIANTREF(&arg)) continue;
        VARIANT* target = V_VARIANTREF(&arg);
        while (V_VT(target) == (VT_VARIANT | VT_BYREF) && V_VARIANTREF(target)) target = V_VARIANTREF(target);
        if (V_VT(target) == p.referenced) {
            a.redirect = target;
        } else if (IsScalar(p.referenced) && !(V_VT(target) & (VT_ARRAY | VT_BYREF))) {
            a.convert = target;
        } else if ((p.referenced & VT_ARRAY) && V_VT(target) == VT_EMPTY) {
            a.convert = target;  // an empty variable receives the array the member makes
        } else {
            continue;
        }
        any = true;
    }
    if (!any) return CallMember(ti, instance, id, *plan, flags, original, result, excepInfo, argErr);

    PerParam<VARIANT> temps(n);
    for (UINT i = 0; i < n; ++i) VariantInit(&temps[i]);
    struct ClearTemps {
        PerParam<VARIANT>& temps;
        UINT n;
        ~ClearTemps() {
            for (UINT i = 0; i < n; ++i) VariantClear(&temps[i]);
        }
    } clearTemps{temps, n};
    PerParam<VARIANTARG> args(n);
    for (UINT i = 0; i < n; ++i) {
        VARIANTARG& slot = args[n - 1 - i];
        const ParamPlan& p = plan->params[i];
        const Adaptation& a = adapt[i];
        if (a.redirect || a.convert) {
            VARIANT* value = a.redirect;
            if (a.convert) {
                value = &temps[i];
                if (p.referenced & VT_ARRAY) {
                    V_VT(value) = p.referenced;  // no array yet
                    V_ARRAY(value) = nullptr;
                } else if (FAILED(VariantChangeType(value, a.convert, 0, p.referenced))) {
                    if (argErr) *argErr = params->cArgs - 1 - i;
                    return DISP_E_TYPEMISMATCH;
                }
            }
            VariantInit(&slot);
            V_VT(&slot) = static_cast<VARTYPE>(p.referenced | VT_BYREF);
            V_BYREF(&slot) = &value->lVal;  // all value fields share one address
            continue;
        }
        if (a.supply == VT_EMPTY) {
            if (i < params->cArgs) {
                slot = params->rgvarg[params->cArgs - 1 - i];
            } else {
                VariantInit(&slot);
                V_VT(&slot) = VT_ERROR;
                V_ERROR(&slot) = DISP_E_PARAMNOTFOUND;
            }
            continue;
        }
        VARIANT* temp = &temps[i];
        if (a.supply != VT_VARIANT) {
            const bool haveDefault =
                p.defaultValue && SUCCEEDED(VariantChangeType(temp, const_cast<VARIANT*>(p.defaultValue), 0, a.supply));
            if (!haveDefault) {
                VariantClear(temp);
                V_VT(temp) = a.supply;  // the empty value of its type: 0, false or an absent string
            }
        } else {
            V_VT(temp) = VT_ERROR;
            V_ERROR(temp) = DISP_E_PARAMNOTFOUND;
        }
        VariantInit(&slot);
        if (a.supply == VT_VARIANT) {
            V_VT(&slot) = VT_VARIANT | VT_BYREF;
            V_VARIANTREF(&slot) = temp;
        } else {
            V_VT(&slot) = static_cast<VARTYPE>(a.supply | VT_BYREF);
            V_BYREF(&slot) = &temp->lVal;  // all value fields share one address
        }
    }
    DISPPARAMS completed{args.data(), nullptr, n, 0};
    const HRESULT hr = CallMember(ti, instance, id, *plan, flags, &completed, result, excepInfo, argErr);
    for (UINT i = 0; i < n; ++i) {
        VARIANT* variable = adapt[i].convert;
        if (!variable) continue;
        VariantClear(variable);
        if ((V_VT(&temps[i]) & VT_ARRAY) && !V_ARRAY(&temps[i])) continue;  // still no array: stays empty
        *variable = temps[i];  // the variable now holds the parameter's type
        VariantInit(&temps[i]);
    }
    return hr;
}

}  // namespace bk
