// IDispatch served from the embedded type information. What a call needs of an interface is
// read once into its DispatchTable: per member and call kind, the member's description in the
// interface's vtable view and a plan of how its arguments are completed and adapted; the
// members' names too. Calls with positional arguments of types the plan knows how to pass go
// to the member's vtable slot directly (through a function pointer when every argument is an
// integer word, else DispCallFunc), passed as the host's ITypeInfo::Invoke would pass them
// but without its per-call search of the members and reading of the types; others go to the
// host's ITypeInfo::Invoke. Either way the host's gaps are filled in one place:
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
#include <string>
#include <string_view>
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
    // The variant type the member takes, as the host's Invoke passes it (direct calls only).
    VARTYPE type = VT_EMPTY;
    USHORT flags = 0;  // PARAMFLAG_...
};

struct MemberPlan {
    const FUNCDESC* desc = nullptr;  // in the vtable view
    UINT callerParams = 0;           // parameters a caller passes (the return value excluded)
    bool vararg = false;
    bool hasRetval = false;
    bool mayAdapt = false;           // some parameter is completed or adapted by the plan
    // Whether Invoke may call the member through its vtable slot itself, passing the
    // arguments exactly as the host's ITypeInfo::Invoke would (every parameter of a type it
    // can pass; see CallDirect in dispatch.cpp).
    bool direct = false;
    bool native = false;             // every argument travels as a word (see TravelsAsWord)
    VARTYPE retvalType = VT_EMPTY;   // of the [out, retval] parameter (with VT_BYREF)
    std::vector<ParamPlan> params;
};

class DispatchTable {
public:
    // Reads the members of the dual interface whose dispatch type information is `dispatchInfo`.
    static HRESULT Create(ITypeInfo* dispatchInfo, std::unique_ptr<DispatchTable>& out);

    ITypeInfo* dispatchInfo() const { return dispatch_.get(); }
    // IDispatch::GetIDsOfNames: a member's own name, spelt as declared, from the names read
    // once (the host's lookup compares with every member's name in turn); other names, other
    // spellings and parameter names through the host's lookup.
    HRESULT IdsOfNames(LPOLESTR* names, UINT count, DISPID* ids) const;
    // The member `id` that the call flags ask for: a method before a property get, then put
    // and put-by-reference. Null when the interface has none.
    const MemberPlan* Find(DISPID id, WORD flags) const;

    // IDispatch::Invoke on `instance` (a pointer to the interface).
    HRESULT Invoke(void* instance, DISPID id, REFIID riid, WORD flags, DISPPARAMS* params, VARIANT* result,
                   EXCEPINFO* excepInfo, UINT* argErr) const;

private:
    DispatchTable() = default;
    void ReadNames();

    support::ComPtr<ITypeInfo> dispatch_;
    support::ComPtr<ITypeInfo> vtable_;   // before descs_: the descriptions are given back to it
    std::vector<support::FuncDesc> descs_;
    std::vector<MemberPlan> plans_;
    std::unordered_map<DISPID, std::array<int, 4>> byId_;  // per call kind: index into plans_, or -1
    std::vector<std::wstring> names_;
    std::unordered_map<std::wstring_view, DISPID> byName_;  // views into names_
};

}  // namespace bk
