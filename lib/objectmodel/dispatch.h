// IDispatch served from the embedded type information. What a call needs of an interface is
// read once into its DispatchTable: per member and call kind, the member's description in the
// interface's vtable view and a plan of how its arguments are completed and adapted. Calls go
// to the host's ITypeInfo::Invoke, with its gaps filled in one place:
//  - [vararg] members with a return value (the parameter array is packed here and the
//    member is called through its vtable slot);
//  - omitted optional by-reference arguments (a temporary of the parameter's own type,
//    holding its default value or the empty value, is passed by reference), whether the
//    caller passes its arguments by position or by name;
//  - script variables passed by reference (VT_VARIANT | VT_BYREF) to typed by-reference
//    parameters.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <array>
#include <memory>
#include <unordered_map>
#include <vector>

#include "support/win/com.h"
#include "support/win/owner.h"

namespace bk {

// How Invoke treats one parameter of a member.
struct ParamPlan {
    // For an omitted optional by-reference parameter: the base type of the temporary passed
    // in its place (VT_EMPTY: the host's own handling).
    VARTYPE supplied = VT_EMPTY;
    // For a by-reference parameter: the type a VT_VARIANT | VT_BYREF argument must point to
    // for the call to point into it (VT_EMPTY: the host's own handling).
    VARTYPE referenced = VT_EMPTY;
    // The parameter's default value from the type library, if it has one.
    const VARIANT* defaultValue = nullptr;
};

struct MemberPlan {
    const FUNCDESC* desc = nullptr;  // in the vtable view
    UINT callerParams = 0;           // parameters a caller passes (the return value excluded)
    bool vararg = false;
    bool hasRetval = false;
    bool mayAdapt = false;           // some parameter is completed or adapted by the plan
    std::vector<ParamPlan> params;
};

class DispatchTable {
public:
    // Reads the members of the dual interface whose dispatch type information is `dispatchInfo`.
    static HRESULT Create(ITypeInfo* dispatchInfo, std::unique_ptr<DispatchTable>& out);

    ITypeInfo* dispatchInfo() const { return dispatch_.get(); }
    // The member `id` that the call flags ask for: a method before a property get, then put
    // and put-by-reference. Null when the interface has none.
    const MemberPlan* Find(DISPID id, WORD flags) const;

    // IDispatch::Invoke on `instance` (a pointer to the interface).
    HRESULT Invoke(void* instance, DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excepInfo, UINT* argErr) const;

private:
    DispatchTable() = default;

    support::ComPtr<ITypeInfo> dispatch_;
    support::ComPtr<ITypeInfo> vtable_;   // before descs_: the descriptions are given back to it
    std::vector<support::FuncDesc> descs_;
    std::vector<MemberPlan> plans_;
    std::unordered_map<DISPID, std::array<int, 4>> byId_;  // per call kind: index into plans_, or -1
};

}  // namespace bk
