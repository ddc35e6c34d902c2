#include "tests/lib/objectmodel/typelib_dump.h"

#include <windows.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "support/win/com.h"
#include "support/win/owner.h"

namespace bktest {
namespace {

using support::Bstr;
using support::ComPtr;
using VarDesc = support::Owner<support::owner_traits::TypeDescription<VARDESC, &ITypeInfo::ReleaseVarDesc>>;

VarDesc GetVarDesc(ITypeInfo* info, UINT index) {
    VARDESC* vd = nullptr;
    if (FAILED(info->GetVarDesc(index, &vd))) return VarDesc();
    return VarDesc({info, vd});
}

std::string Encode(UINT codePage, std::wstring_view text) {
    const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

std::wstring Decode(UINT codePage, std::string_view bytes) {
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::wstring Hex(unsigned long value, int digits) {
    wchar_t text[16] = {};
    swprintf(text, 16, L"0x%0*lX", digits, value);
    return text;
}

std::wstring GuidText(const GUID& g) {
    wchar_t text[40] = {};
    StringFromGUID2(g, text, 40);
    return text;
}

// A string in double quotes, with quotes, backslashes and control characters escaped.
std::wstring Quoted(std::wstring_view text) {
    std::wstring out = L"\"";
    for (wchar_t c : text) {
        if (c == L'"' || c == L'\\') {
            out += L'\\';
            out += c;
        } else if (c < 0x20) {
            out += L"\\x" + Hex(c, 2).substr(2);
        } else {
            out += c;
        }
    }
    return out + L"\"";
}

// The names of the bits set in `flags`, space separated; bits without a name in hexadecimal,
// "none" for no bits.
std::wstring FlagNames(unsigned flags, std::initializer_list<std::pair<unsigned, const wchar_t*>> names,
                       const wchar_t* separator = L" ") {
    std::wstring out;
    for (const auto& [bit, name] : names) {
        if (!(flags & bit)) continue;
        if (!out.empty()) out += separator;
        out += name;
        flags &= ~bit;
    }
    if (flags) out += (out.empty() ? L"" : separator) + Hex(flags, 4);
    return out;
}

std::wstring TypeFlagNames(unsigned flags) {
    if (!flags) return L"none";
    return FlagNames(flags, {{TYPEFLAG_FAPPOBJECT, L"appobject"}, {TYPEFLAG_FCANCREATE, L"cancreate"},
                             {TYPEFLAG_FLICENSED, L"licensed"}, {TYPEFLAG_FPREDECLID, L"predeclid"},
                             {TYPEFLAG_FHIDDEN, L"hidden"}, {TYPEFLAG_FCONTROL, L"control"},
                             {TYPEFLAG_FDUAL, L"dual"}, {TYPEFLAG_FNONEXTENSIBLE, L"nonextensible"},
                             {TYPEFLAG_FOLEAUTOMATION, L"oleautomation"}, {TYPEFLAG_FRESTRICTED, L"restricted"},
                             {TYPEFLAG_FAGGREGATABLE, L"aggregatable"}, {TYPEFLAG_FREPLACEABLE, L"replaceable"},
                             {TYPEFLAG_FDISPATCHABLE, L"dispatchable"}, {TYPEFLAG_FREVERSEBIND, L"reversebind"},
                             {TYPEFLAG_FPROXY, L"proxy"}});
}

std::wstring KindName(TYPEKIND kind) {
    switch (kind) {
    case TKIND_ENUM: return L"enum";
    case TKIND_RECORD: return L"struct";
    case TKIND_MODULE: return L"module";
    case TKIND_INTERFACE: return L"interface";
    case TKIND_DISPATCH: return L"dispinterface";
    case TKIND_COCLASS: return L"coclass";
    case TKIND_ALIAS: return L"typedef";
    case TKIND_UNION: return L"union";
    default: return L"typekind(" + std::to_wstring(kind) + L")";
    }
}

// The member kind a view of that kind normally has; others are written out.
FUNCKIND UsualFuncKind(TYPEKIND kind) {
    return kind == TKIND_DISPATCH ? FUNC_DISPATCH : kind == TKIND_MODULE ? FUNC_STATIC : FUNC_PUREVIRTUAL;
}

std::wstring NameOf(ITypeInfo* ti, MEMBERID id = MEMBERID_NIL) {
    Bstr name;
    ti->GetDocumentation(id, name.put(), nullptr, nullptr, nullptr);
    return name.str();
}

class Dumper {
public:
    explicit Dumper(ITypeLib* lib) : lib_(lib) {}

    std::wstring Run() {
        Line(0, L"# The Basekit0308 type library as the library serves it (ITypeLib, ITypeInfo).");
        Line(0, L"# Written and compared by lib_typelib_test; see typelib_test.cpp to refresh it.");
        Library();
        for (UINT i = 0; i < lib_->GetTypeInfoCount(); ++i) {
            ComPtr<ITypeInfo> ti;
            Line(0, L"");
            if (FAILED(lib_->GetTypeInfo(i, ti.put()))) {
                Line(0, L"<type " + std::to_wstring(i) + L" unreadable>");
                continue;
            }
            Type(ti.get());
        }
        return std::move(out_);
    }

private:
    void Line(int indent, std::wstring_view text) {
        out_.append(static_cast<size_t>(2 * indent), L' ');
        out_ += text;
        out_ += L'\n';
    }

    void Library() {
        Bstr name, help, helpFile;
        DWORD context = 0;
        lib_->GetDocumentation(-1, name.put(), help.put(), &context, helpFile.put());
        Line(0, L"library " + name.str());
        const support::LibAttr attr = support::GetLibAttr(lib_);
        if (!attr) {
            Line(1, L"<attributes unreadable>");
            return;
        }
        const TLIBATTR& a = *attr.get().attr;
        ours_ = a.guid;
        Line(1, L"uuid " + GuidText(a.guid));
        Line(1, L"version " + std::to_wstring(a.wMajorVerNum) + L"." + std::to_wstring(a.wMinorVerNum));
        Line(1, L"lcid " + Hex(a.lcid, 4));
        Line(1, L"flags " + (a.wLibFlags ? FlagNames(a.wLibFlags, {{LIBFLAG_FRESTRICTED, L"restricted"},
                                                                    {LIBFLAG_FCONTROL, L"control"},
                                                                    {LIBFLAG_FHIDDEN, L"hidden"},
                                                                    {LIBFLAG_FHASDISKIMAGE, L"hasdiskimage"}})
                                          : L"none"));
        Help(1, help.view(), context, helpFile.view());
    }

    void Help(int indent, std::wstring_view help, DWORD context, std::wstring_view file = {}) {
        if (!help.empty()) Line(indent, L"help " + Quoted(StoredText(help)));
        if (context) Line(indent, L"helpcontext " + Hex(context, 8));
        if (!file.empty()) Line(indent, L"helpfile " + Quoted(file));
    }

    void Type(ITypeInfo* ti) {
        const support::TypeAttr attr = support::GetTypeAttr(ti);
        if (!attr) {
            Line(0, L"<" + NameOf(ti) + L": attributes unreadable>");
            return;
        }
        const TYPEATTR& a = *attr.get().desc;
        Line(0, KindName(a.typekind) + L" " + NameOf(ti));
        Line(1, L"uuid " + GuidText(a.guid));
        Line(1, L"version " + std::to_wstring(a.wMajorVerNum) + L"." + std::to_wstring(a.wMinorVerNum));
        Line(1, L"flags " + TypeFlagNames(a.wTypeFlags));
        Bstr help;
        DWORD context = 0;
        ti->GetDocumentation(MEMBERID_NIL, nullptr, help.put(), &context, nullptr);
        Help(1, help.view(), context);
        switch (a.typekind) {
        case TKIND_COCLASS:
            Implemented(ti, a, 1);
            break;
        case TKIND_ALIAS:
            Line(1, L"is " + TypeText(ti, a.tdescAlias));
            break;
        case TKIND_INTERFACE:
        case TKIND_DISPATCH:
            Interface(ti, a, 1);
            break;
        default:
            Members(ti, a, 1);
            break;
        }
    }

    // An interface's base and members. A dual interface is listed as its dispatch view; its
    // members are listed from its vtable view, whose slots they occupy.
    void Interface(ITypeInfo* ti, const TYPEATTR& a, int indent) {
        Implemented(ti, a, indent);
        Counts(a, indent);
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> vtable;
        if (a.typekind == TKIND_DISPATCH && (a.wTypeFlags & TYPEFLAG_FDUAL) &&
            SUCCEEDED(ti->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)) &&
            SUCCEEDED(ti->GetRefTypeInfo(ref, vtable.put()))) {
            const support::TypeAttr view = support::GetTypeAttr(vtable.get());
            if (!view) {
                Line(indent, L"<vtable view unreadable>");
                return;
            }
            const TYPEATTR& v = *view.get().desc;
            Line(indent, KindName(v.typekind) + L" " + NameOf(vtable.get()) + L" (vtable view)");
            if (v.guid != a.guid) Line(indent + 1, L"uuid " + GuidText(v.guid));
            Line(indent + 1, L"flags " + TypeFlagNames(v.wTypeFlags));
            Implemented(vtable.get(), v, indent + 1);
            Counts(v, indent + 1);
            Members(vtable.get(), v, indent + 1);
            return;
        }
        Members(ti, a, indent);
    }

    void Counts(const TYPEATTR& a, int indent) {
        Line(indent, L"functions " + std::to_wstring(a.cFuncs) + L", variables " + std::to_wstring(a.cVars) +
                         L", slots " + std::to_wstring(a.cbSizeVft / sizeof(void*)));
    }

    // A class's interfaces, or the interface an interface derives from.
    void Implemented(ITypeInfo* ti, const TYPEATTR& a, int indent) {
        for (UINT i = 0; i < a.cImplTypes; ++i) {
            INT flags = 0;
            HREFTYPE ref = 0;
            std::wstring text;
            if (a.typekind == TKIND_COCLASS && SUCCEEDED(ti->GetImplTypeFlags(i, &flags)) && flags) {
                text = L"[" + FlagNames(static_cast<unsigned>(flags), {{IMPLTYPEFLAG_FDEFAULT, L"default"},
                                                                      {IMPLTYPEFLAG_FSOURCE, L"source"},
                                                                      {IMPLTYPEFLAG_FRESTRICTED, L"restricted"},
                                                                      {IMPLTYPEFLAG_FDEFAULTVTABLE, L"defaultvtable"}},
                                        L", ") + L"] ";
            }
            if (FAILED(ti->GetRefTypeOfImplType(i, &ref))) {
                Line(indent, text + L"<unreadable>");
                continue;
            }
            TYPEKIND kind = TKIND_MAX;
            const std::wstring name = Referenced(ti, ref, &kind);
            Line(indent, (a.typekind == TKIND_COCLASS ? text + KindName(kind) + L" " : L"inherits ") + name);
        }
    }

    void Members(ITypeInfo* ti, const TYPEATTR& a, int indent) {
        for (UINT i = 0; i < a.cFuncs; ++i) Function(ti, a.typekind, i, indent);
        for (UINT i = 0; i < a.cVars; ++i) Variable(ti, i, indent);
    }

    void Function(ITypeInfo* ti, TYPEKIND kind, UINT index, int indent) {
        const support::FuncDesc desc = support::GetFuncDesc(ti, index);
        if (!desc) {
            Line(indent, L"<function " + std::to_wstring(index) + L" unreadable>");
            return;
        }
        const FUNCDESC& f = *desc.get().desc;
        std::vector<Bstr> names(static_cast<size_t>(f.cParams) + 1);
        std::vector<BSTR> raw(names.size(), nullptr);
        UINT count = 0;
        ti->GetNames(f.memid, raw.data(), static_cast<UINT>(raw.size()), &count);
        for (UINT i = 0; i < count; ++i) names[i] = Bstr::Attach(raw[i]);

        std::wstring attrs = L"id(" + Hex(static_cast<unsigned long>(f.memid), 8) + L")";
        if (f.invkind == INVOKE_PROPERTYGET) attrs += L", propget";
        if (f.invkind == INVOKE_PROPERTYPUT) attrs += L", propput";
        if (f.invkind == INVOKE_PROPERTYPUTREF) attrs += L", propputref";
        if (f.wFuncFlags) {
            attrs += L", " + FlagNames(f.wFuncFlags, {{FUNCFLAG_FRESTRICTED, L"restricted"}, {FUNCFLAG_FSOURCE, L"source"},
                                                      {FUNCFLAG_FBINDABLE, L"bindable"}, {FUNCFLAG_FREQUESTEDIT, L"requestedit"},
                                                      {FUNCFLAG_FDISPLAYBIND, L"displaybind"}, {FUNCFLAG_FDEFAULTBIND, L"defaultbind"},
                                                      {FUNCFLAG_FHIDDEN, L"hidden"}, {FUNCFLAG_FUSESGETLASTERROR, L"usesgetlasterror"},
                                                      {FUNCFLAG_FDEFAULTCOLLELEM, L"defaultcollelem"}, {FUNCFLAG_FUIDEFAULT, L"uidefault"},
                                                      {FUNCFLAG_FNONBROWSABLE, L"nonbrowsable"}, {FUNCFLAG_FREPLACEABLE, L"replaceable"},
                                                      {FUNCFLAG_FIMMEDIATEBIND, L"immediatebind"}},
                                    L", ");
        }
        if (f.cParamsOpt == -1) attrs += L", vararg";
        if (f.cParamsOpt > 0) attrs += L", optional-arguments(" + std::to_wstring(f.cParamsOpt) + L")";
        if (f.funckind != UsualFuncKind(kind)) attrs += L", funckind(" + std::to_wstring(f.funckind) + L")";
        if (f.callconv != CC_STDCALL) attrs += L", callconv(" + std::to_wstring(f.callconv) + L")";

        std::wstring params;
        for (SHORT i = 0; i < f.cParams; ++i) {
            if (i) params += L", ";
            const size_t n = static_cast<size_t>(i) + 1;
            params += Parameter(ti, f.lprgelemdescParam[i], n < count ? names[n].view() : std::wstring_view());
        }
        const bool virtualSlot = f.funckind == FUNC_VIRTUAL || f.funckind == FUNC_PUREVIRTUAL;
        const std::wstring where = virtualSlot ? L"slot " + std::to_wstring(f.oVft / static_cast<SHORT>(sizeof(void*)))
                                               : L"member";
        Line(indent, where + L" [" + attrs + L"] " + TypeText(ti, f.elemdescFunc.tdesc) + L" " +
                         (count ? names[0].str() : L"<unnamed>") + L"(" + params + L")");
        Bstr help;
        DWORD context = 0;
        ti->GetDocumentation(f.memid, nullptr, help.put(), &context, nullptr);
        Help(indent + 1, help.view(), context);
    }

    std::wstring Parameter(ITypeInfo* ti, const ELEMDESC& e, std::wstring_view name) {
        const USHORT flags = e.paramdesc.wParamFlags;
        std::wstring attrs = FlagNames(flags & ~PARAMFLAG_FHASDEFAULT,
                                       {{PARAMFLAG_FIN, L"in"}, {PARAMFLAG_FOUT, L"out"}, {PARAMFLAG_FLCID, L"lcid"},
                                        {PARAMFLAG_FRETVAL, L"retval"}, {PARAMFLAG_FOPT, L"optional"},
                                        {PARAMFLAG_FHASCUSTDATA, L"hascustdata"}},
                                       L", ");
        if (flags & PARAMFLAG_FHASDEFAULT) {
            if (!attrs.empty()) attrs += L", ";
            const PARAMDESCEX* ex = e.paramdesc.pparamdescex;
            attrs += L"defaultvalue(" + (ex ? ValueText(ex->varDefaultValue) : L"<none>") + L")";
        }
        std::wstring out = attrs.empty() ? L"" : L"[" + attrs + L"] ";
        out += TypeText(ti, e.tdesc);
        if (!name.empty()) out += L" " + std::wstring(name);
        return out;
    }

    void Variable(ITypeInfo* ti, UINT index, int indent) {
        const VarDesc desc = GetVarDesc(ti, index);
        if (!desc) {
            Line(indent, L"<variable " + std::to_wstring(index) + L" unreadable>");
            return;
        }
        const VARDESC& v = *desc.get().desc;
        std::wstring text;
        if (v.wVarFlags) {
            text = L"[" + FlagNames(v.wVarFlags, {{VARFLAG_FREADONLY, L"readonly"}, {VARFLAG_FSOURCE, L"source"},
                                                  {VARFLAG_FBINDABLE, L"bindable"}, {VARFLAG_FREQUESTEDIT, L"requestedit"},
                                                  {VARFLAG_FDISPLAYBIND, L"displaybind"}, {VARFLAG_FDEFAULTBIND, L"defaultbind"},
                                                  {VARFLAG_FHIDDEN, L"hidden"}, {VARFLAG_FRESTRICTED, L"restricted"},
                                                  {VARFLAG_FDEFAULTCOLLELEM, L"defaultcollelem"}, {VARFLAG_FUIDEFAULT, L"uidefault"},
                                                  {VARFLAG_FNONBROWSABLE, L"nonbrowsable"}, {VARFLAG_FREPLACEABLE, L"replaceable"},
                                                  {VARFLAG_FIMMEDIATEBIND, L"immediatebind"}},
                                    L", ") + L"] ";
        }
        text += (v.varkind == VAR_CONST ? L"const " : L"") + TypeText(ti, v.elemdescVar.tdesc) + L" " + NameOf(ti, v.memid);
        if (v.varkind == VAR_CONST && v.lpvarValue) {
            text += L" = " + ValueText(*v.lpvarValue);
        } else if (v.varkind != VAR_CONST) {
            text += L" [id(" + Hex(static_cast<unsigned long>(v.memid), 8) + L"), varkind(" + std::to_wstring(v.varkind) + L")]";
        }
        Line(indent, text);
        Bstr help;
        DWORD context = 0;
        ti->GetDocumentation(v.memid, nullptr, help.put(), &context, nullptr);
        Help(indent + 1, help.view(), context);
    }

    // A constant or default value: integers as they are, booleans by name, strings in quotes as
    // stored, other types with their variant type.
    static std::wstring ValueText(const VARIANT& value) {
        switch (V_VT(&value)) {
        case VT_I4: return std::to_wstring(V_I4(&value));
        case VT_INT: return std::to_wstring(V_INT(&value));
        case VT_BOOL:
            if (V_BOOL(&value) == VARIANT_TRUE) return L"VARIANT_TRUE";
            if (V_BOOL(&value) == VARIANT_FALSE) return L"VARIANT_FALSE";
            break;
        case VT_BSTR: return Quoted(StoredText(support::BstrView(V_BSTR(&value))));
        default: break;
        }
        support::Variant text;
        if (FAILED(VariantChangeTypeEx(text.get(), const_cast<VARIANT*>(&value), LOCALE_INVARIANT, 0, VT_BSTR)))
            return L"<vt " + std::to_wstring(V_VT(&value)) + L">";
        return L"(vt " + std::to_wstring(V_VT(&value)) + L") " + std::wstring(support::BstrView(V_BSTR(text.get())));
    }

    std::wstring TypeText(ITypeInfo* ti, const TYPEDESC& t) {
        switch (t.vt) {
        case VT_PTR: return TypeText(ti, *t.lptdesc) + L"*";
        case VT_SAFEARRAY: return L"SAFEARRAY(" + TypeText(ti, *t.lptdesc) + L")";
        case VT_CARRAY: {
            std::wstring out = TypeText(ti, t.lpadesc->tdescElem);
            for (USHORT i = 0; i < t.lpadesc->cDims; ++i) out += L"[" + std::to_wstring(t.lpadesc->rgbounds[i].cElements) + L"]";
            return out;
        }
        case VT_USERDEFINED: {
            TYPEKIND kind = TKIND_MAX;
            return Referenced(ti, t.hreftype, &kind);
        }
        case VT_I1: return L"char";
        case VT_I2: return L"short";
        case VT_I4: return L"long";
        case VT_I8: return L"hyper";
        case VT_UI1: return L"unsigned char";
        case VT_UI2: return L"unsigned short";
        case VT_UI4: return L"unsigned long";
        case VT_UI8: return L"unsigned hyper";
        case VT_INT: return L"int";
        case VT_UINT: return L"unsigned int";
        case VT_R4: return L"float";
        case VT_R8: return L"double";
        case VT_CY: return L"CURRENCY";
        case VT_DATE: return L"DATE";
        case VT_DECIMAL: return L"DECIMAL";
        case VT_BSTR: return L"BSTR";
        case VT_BOOL: return L"VARIANT_BOOL";
        case VT_VARIANT: return L"VARIANT";
        case VT_ERROR: return L"SCODE";
        case VT_DISPATCH: return L"IDispatch*";
        case VT_UNKNOWN: return L"IUnknown*";
        case VT_HRESULT: return L"HRESULT";
        case VT_VOID: return L"void";
        case VT_LPSTR: return L"LPSTR";
        case VT_LPWSTR: return L"LPWSTR";
        default: return L"vt(" + std::to_wstring(t.vt) + L")";
        }
    }

    // A referenced type by name; a type of another library with that library's name before it.
    std::wstring Referenced(ITypeInfo* ti, HREFTYPE ref, TYPEKIND* kind) {
        ComPtr<ITypeInfo> target;
        if (FAILED(ti->GetRefTypeInfo(ref, target.put()))) return L"<unresolved>";
        if (const support::TypeAttr attr = support::GetTypeAttr(target.get())) *kind = attr.get().desc->typekind;
        std::wstring prefix;
        ComPtr<ITypeLib> lib;
        UINT index = 0;
        if (SUCCEEDED(target->GetContainingTypeLib(lib.put(), &index))) {
            const support::LibAttr attr = support::GetLibAttr(lib.get());
            if (!attr || attr.get().attr->guid != ours_) {
                Bstr name;
                lib->GetDocumentation(-1, name.put(), nullptr, nullptr, nullptr);
                prefix = name.str() + L".";
            }
        }
        return prefix + NameOf(target.get());
    }

    ITypeLib* lib_;
    GUID ours_ = GUID_NULL;
    std::wstring out_;
};

}  // namespace

std::wstring StoredText(std::wstring_view asRead) {
    const UINT acp = GetACP();
    bool ascii = true;
    for (wchar_t c : asRead) ascii = ascii && c < 0x80;
    if (acp == 1251 || ascii) return std::wstring(asRead);
    // Under another single-byte code page every stored byte was decoded to one character of its
    // own, and encoding with that code page gives the bytes back.
    CPINFO info{};
    if (!GetCPInfo(acp, &info) || info.MaxCharSize != 1) {
        return L"<stored bytes not recoverable under code page " + std::to_wstring(acp) + L">";
    }
    const std::string bytes = Encode(acp, asRead);
    if (Decode(acp, bytes) != asRead) {
        return L"<stored bytes not recoverable under code page " + std::to_wstring(acp) + L">";
    }
    return Decode(1251, bytes);
}

std::string DumpTypeLibrary(ITypeLib* lib) {
    const std::wstring text = Dumper(lib).Run();
    return Encode(CP_UTF8, text);
}

}  // namespace bktest
