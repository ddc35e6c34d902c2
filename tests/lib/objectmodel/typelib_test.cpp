// The published type library as the library serves it (read back through ITypeLib/ITypeInfo).
//
// The whole object model is compared with Basekit0308.typelib.txt beside this file: a dump of
// the library (typelib_dump.h) reviewed with every change of the IDL. After a change, write the
// current dump over it, from the top of the source tree (a path starting with '/' is taken on
// Wine's Z: drive), and review the difference with git:
//   BK_WRITE_TYPELIB_DUMP=$PWD/tests/lib/objectmodel/Basekit0308.typelib.txt tests/harness/wine-run.sh build/win64/bin/lib_typelib_test.exe
//
// The other checks are of what the build itself can break: the slots the type library gives the
// members against the generated header, default values (tlb_patch.py writes the BSTR* string
// defaults), the predeclared-instance flag tlb_patch.py sets, the Windows-1251 help strings, the
// embedded library against the file beside the DLL, and the identifier resources written from
// the library.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "support/win/resources.h"
#include "tests/harness/library.h"
#include "tests/harness/scratch.h"
#include "tests/lib/objectmodel/typelib_dump.h"

using namespace bktest;

namespace {

std::wstring GuidText(const GUID& g) {
    wchar_t text[40] = {};
    StringFromGUID2(g, text, 40);
    return text;
}

std::wstring NameOf(ITypeInfo* ti, MEMBERID id = MEMBERID_NIL) {
    Bstr name;
    ti->GetDocumentation(id, name.put(), nullptr, nullptr, nullptr);
    return name.str();
}

std::wstring Decode(UINT codePage, std::string_view bytes) {
    const int n = MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(codePage, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), n);
    return out;
}

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const size_t end = std::min(text.find('\n'), text.size());
        std::string line(text.substr(0, end));
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// A path from the environment: a Linux path on Wine's Z: drive, a Windows path as it is.
std::wstring PathFromEnvironment(const wchar_t* name) {
    wchar_t value[MAX_PATH * 2] = {};
    const DWORD n = GetEnvironmentVariableW(name, value, MAX_PATH * 2);
    if (n == 0 || n >= MAX_PATH * 2) return {};
    if (value[0] == L'/') return mvtest::HostPath(mvtest::Utf8(value).c_str());
    return value;
}

class TypeLibrary : public testing::Test {
protected:
    static void SetUpTestSuite() {
        // The library hands out its own type library: loading the DLL file by path does not
        // reach the TYPELIB resource under every host.
        auto main = Create<_orxMain>(CLSID_orxMain);
        ASSERT_TRUE(main);
        ComPtr<ITypeInfo> ti;
        ASSERT_EQ(S_OK, main->GetTypeInfo(0, LOCALE_USER_DEFAULT, ti.put()));
        UINT index = 0;
        ASSERT_EQ(S_OK, ti->GetContainingTypeLib(lib_.put(), &index));
    }
    static void TearDownTestSuite() { lib_.reset(); }

    static ComPtr<ITypeInfo> TypeOf(const GUID& guid) {
        ComPtr<ITypeInfo> ti;
        EXPECT_EQ(S_OK, lib_->GetTypeInfoOfGuid(guid, ti.put())) << GuidText(guid);
        return ti;
    }
    // The vtable view of a dual interface (the type itself for any other type).
    static ComPtr<ITypeInfo> VtableView(ITypeInfo* ti) {
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> view;
        if (ti && SUCCEEDED(ti->GetRefTypeOfImplType(static_cast<UINT>(-1), &ref)) &&
            SUCCEEDED(ti->GetRefTypeInfo(ref, view.put())))
            return view;
        return ComPtr<ITypeInfo>::Share(ti);
    }
    // Every type of the library.
    static std::vector<ComPtr<ITypeInfo>> Types() {
        std::vector<ComPtr<ITypeInfo>> types;
        for (UINT i = 0; i < lib_->GetTypeInfoCount(); ++i) {
            ComPtr<ITypeInfo> ti;
            EXPECT_EQ(S_OK, lib_->GetTypeInfo(i, ti.put())) << "type " << i;
            types.push_back(ti);
        }
        return types;
    }

    static inline ComPtr<ITypeLib> lib_;
};

// ---- The whole object model against the reviewed dump.

TEST_F(TypeLibrary, MatchesTheReviewedDump) {
    const std::string dump = DumpTypeLibrary(lib_.get());
    if (const std::wstring target = PathFromEnvironment(L"BK_WRITE_TYPELIB_DUMP"); !target.empty()) {
        mvtest::WriteBytes(target, dump);
        ASSERT_EQ(dump, mvtest::ReadBytes(target)) << "could not write " << mvtest::Utf8(target);
        GTEST_SKIP() << "wrote the type library's dump to " << mvtest::Utf8(target) << "; review its difference";
    }

    const std::wstring file = mvtest::HostPath(BK_TYPELIB_DUMP_FILE);
    const std::string reviewed = mvtest::ReadBytes(file);
    ASSERT_FALSE(reviewed.empty()) << "cannot read " << mvtest::Utf8(file);
    const std::vector<std::string> expected = Lines(reviewed), actual = Lines(dump);
    size_t first = 0;
    while (first < expected.size() && first < actual.size() && expected[first] == actual[first]) ++first;
    if (first == expected.size() && first == actual.size()) return;

    // The first few differing lines (- the file, + the library).
    std::string shown;
    int differing = 0;
    for (size_t i = first; differing < 5 && (i < expected.size() || i < actual.size()); ++i) {
        const std::string* inFile = i < expected.size() ? &expected[i] : nullptr;
        const std::string* inDump = i < actual.size() ? &actual[i] : nullptr;
        if (inFile && inDump && *inFile == *inDump) continue;
        ++differing;
        shown += "line " + std::to_string(i + 1) + ":\n";
        shown += inFile ? "  - " + *inFile + "\n" : "  - (end of file)\n";
        shown += inDump ? "  + " + *inDump + "\n" : "  + (end of dump)\n";
    }
    ADD_FAILURE() << "The type library differs from " << BK_TYPELIB_DUMP_FILE << " (" << expected.size()
                  << " lines) from line " << first + 1 << " (the library's dump has " << actual.size() << "):\n"
                  << shown
                  << "If the change of the object model is intended, write the library's dump over the file and "
                     "review the difference:\n"
                  << "  BK_WRITE_TYPELIB_DUMP=" << BK_TYPELIB_DUMP_FILE << " " << BK_TYPELIB_TEST_COMMAND
                  << " --gtest_filter=TypeLibrary.MatchesTheReviewedDump";
}

// ---- Slots: the type library against the generated header.

// The vtable slot the compiler calls for a member of a generated interface. Under the Itanium C++
// ABI (GCC, MinGW included) a pointer to a virtual member function holds 1 + the member's byte
// offset in the vtable.
template <class Interface, class Function>
SHORT HeaderSlot(Function Interface::*member) {
    struct Raw {
        std::ptrdiff_t pointer, adjustment;
    } raw{};
    static_assert(sizeof(member) == sizeof(raw));
    std::memcpy(&raw, &member, sizeof raw);
    return static_cast<SHORT>((raw.pointer - 1) / static_cast<std::ptrdiff_t>(sizeof(void*)));
}

// Members after a parameter list tlb_patch.py rewrites, at the end of the longest interfaces,
// and between property accessors of one name.
TEST_F(TypeLibrary, MembersSitInTheSlotsOfTheGeneratedHeader) {
    struct Pin {
        const IID* iid;
        const wchar_t* name;
        INVOKEKIND kind;
        SHORT slot;
    };
    const Pin pins[] = {
        {&IID__orxMain, L"CommandLine", INVOKE_FUNC, HeaderSlot(&_orxMain::CommandLine)},
        {&IID__orxMain, L"SplitCollection", INVOKE_FUNC, HeaderSlot(&_orxMain::SplitCollection)},
        {&IID__orxClipboard, L"SetHTML", INVOKE_FUNC, HeaderSlot(&_orxClipboard::SetHTML)},
        {&IID__orxClipboard, L"GetHTML", INVOKE_FUNC, HeaderSlot(&_orxClipboard::GetHTML)},
        {&IID__orxClipboard, L"GetShellFiles", INVOKE_FUNC, HeaderSlot(&_orxClipboard::GetShellFiles)},
        {&IID__orxErr, L"ShowErrorBox", INVOKE_FUNC, HeaderSlot(&_orxErr::ShowErrorBox)},
        {&IID__orxSimpleListDialog, L"Elements", INVOKE_PROPERTYPUTREF, HeaderSlot(&_orxSimpleListDialog::putref_Elements)},
        {&IID__orxSimpleListDialog, L"Font", INVOKE_PROPERTYGET, HeaderSlot(&_orxSimpleListDialog::get_Font)},
        {&IID__orxSimpleListDialog, L"Show", INVOKE_FUNC, HeaderSlot(&_orxSimpleListDialog::Show)},
        {&IID__CommandLineParser, L"Item", INVOKE_PROPERTYGET, HeaderSlot(&_CommandLineParser::get_Item)},
        {&IID__Monitor, L"WorkAreaBottom", INVOKE_PROPERTYGET, HeaderSlot(&_Monitor::get_WorkAreaBottom)},
    };
    for (const Pin& pin : pins) {
        SCOPED_TRACE(testing::Message() << GuidText(*pin.iid) << " " << pin.name);
        auto vt = VtableView(TypeOf(*pin.iid).get());
        ASSERT_TRUE(vt);
        const support::TypeAttr attr = support::GetTypeAttr(vt.get());
        ASSERT_TRUE(attr);
        int found = 0;
        for (UINT i = 0; i < attr.get().desc->cFuncs; ++i) {
            const support::FuncDesc fd = support::GetFuncDesc(vt.get(), i);
            ASSERT_TRUE(fd);
            if (fd.get().desc->invkind != pin.kind || NameOf(vt.get(), fd.get().desc->memid) != pin.name) continue;
            EXPECT_EQ(pin.slot, fd.get().desc->oVft / static_cast<SHORT>(sizeof(void*)));
            ++found;
        }
        EXPECT_EQ(1, found);
    }
}

// Every interface's members fill the slots after its base's, one each, in declaration order.
TEST_F(TypeLibrary, MembersFillTheVtableInOrder) {
    int interfaces = 0;
    for (const auto& type : Types()) {
        auto vt = VtableView(type.get());
        const support::TypeAttr attr = support::GetTypeAttr(vt.get());
        ASSERT_TRUE(attr);
        const TYPEATTR& a = *attr.get().desc;
        if (a.typekind != TKIND_INTERFACE) continue;
        ++interfaces;
        SCOPED_TRACE(testing::Message() << "interface " << NameOf(vt.get()));
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> base;
        ASSERT_EQ(S_OK, vt->GetRefTypeOfImplType(0, &ref));
        ASSERT_EQ(S_OK, vt->GetRefTypeInfo(ref, base.put()));
        const int first = support::GetTypeAttr(base.get()).get().desc->cbSizeVft;
        const int slot = static_cast<int>(sizeof(void*));
        for (UINT i = 0; i < a.cFuncs; ++i) {
            const support::FuncDesc fd = support::GetFuncDesc(vt.get(), i);
            ASSERT_TRUE(fd);
            EXPECT_EQ(first + static_cast<int>(i) * slot, fd.get().desc->oVft) << "member " << i;
        }
        EXPECT_EQ(first + a.cFuncs * slot, a.cbSizeVft);
    }
    EXPECT_LE(13, interfaces);
}

// ---- Default values.

struct Parameter {
    VARTYPE type = VT_EMPTY;       // a pointer's target type is added as VT_BYREF
    USHORT flags = 0;
    VARTYPE defaultType = VT_EMPTY;
    std::wstring text;             // a string default as stored, a number's decimal text
};

class DefaultValues : public TypeLibrary {
protected:
    static Parameter ParameterOf(const IID& iid, const wchar_t* member, SHORT index) {
        Parameter p;
        auto vt = VtableView(TypeOf(iid).get());
        const support::TypeAttr attr = support::GetTypeAttr(vt.get());
        for (UINT i = 0; attr && i < attr.get().desc->cFuncs; ++i) {
            const support::FuncDesc fd = support::GetFuncDesc(vt.get(), i);
            if (!fd || NameOf(vt.get(), fd.get().desc->memid) != member) continue;
            EXPECT_LT(index, fd.get().desc->cParams);
            if (index >= fd.get().desc->cParams) break;
            const ELEMDESC& e = fd.get().desc->lprgelemdescParam[index];
            p.type = e.tdesc.vt == VT_PTR ? static_cast<VARTYPE>(e.tdesc.lptdesc->vt | VT_BYREF) : e.tdesc.vt;
            p.flags = e.paramdesc.wParamFlags;
            if ((p.flags & PARAMFLAG_FHASDEFAULT) && e.paramdesc.pparamdescex) {
                const VARIANT& v = e.paramdesc.pparamdescex->varDefaultValue;
                p.defaultType = V_VT(&v);
                p.text = V_VT(&v) == VT_BSTR ? StoredText(support::BstrView(V_BSTR(&v)))
                         : V_VT(&v) == VT_I4 ? std::to_wstring(V_I4(&v))
                                             : L"";
            }
            break;
        }
        return p;
    }
};

// SetHTML's context strings: widl writes them by value, and tlb_patch.py gives them their type
// BSTR* back with their string defaults.
TEST_F(DefaultValues, ByReferenceStringsKeepTheirStringDefaults) {
    const USHORT inOutWithDefault = PARAMFLAG_FIN | PARAMFLAG_FOUT | PARAMFLAG_FOPT | PARAMFLAG_FHASDEFAULT;
    const Parameter start = ParameterOf(IID__orxClipboard, L"SetHTML", 1);
    EXPECT_EQ(VT_BSTR | VT_BYREF, start.type);
    EXPECT_EQ(inOutWithDefault, start.flags);
    EXPECT_EQ(VT_BSTR, start.defaultType);
    EXPECT_EQ(L"<HTML><BODY>", start.text);
    const Parameter end = ParameterOf(IID__orxClipboard, L"SetHTML", 2);
    EXPECT_EQ(VT_BSTR | VT_BYREF, end.type);
    EXPECT_EQ(inOutWithDefault, end.flags);
    EXPECT_EQ(L"</BODY></HTML>", end.text);
}

TEST_F(DefaultValues, NumbersAndStrings) {
    const Parameter limit = ParameterOf(IID__orxMain, L"SplitCollection", 2);
    EXPECT_EQ(VT_I4, limit.defaultType);
    EXPECT_EQ(L"-1", limit.text);
    const Parameter style = ParameterOf(IID__orxErr, L"ShowErrorBox", 1);
    EXPECT_EQ(VT_USERDEFINED, style.type);
    EXPECT_EQ(L"16", style.text);
    const Parameter text = ParameterOf(IID__orxErr, L"ShowErrorBox", 0);
    EXPECT_EQ(VT_EMPTY, text.defaultType);
    // A non-ASCII string, stored as Windows-1251 bytes like the help strings.
    const Parameter devote = ParameterOf(IID__orxMain, L"ShowAboutBoxEx", 8);
    EXPECT_EQ(VT_BSTR, devote.defaultType);
    EXPECT_EQ(L"Посвящается Lumen", devote.text);
}

// A parameter marked with a default has one, of a kind the IDL writes: a number, a boolean (for
// VARIANT_BOOL parameters) or a string.
TEST_F(DefaultValues, EveryMarkedDefaultIsReadable) {
    int defaults = 0;
    for (const auto& type : Types()) {
        auto vt = VtableView(type.get());
        const support::TypeAttr attr = support::GetTypeAttr(vt.get());
        for (UINT i = 0; attr && i < attr.get().desc->cFuncs; ++i) {
            const support::FuncDesc fd = support::GetFuncDesc(vt.get(), i);
            ASSERT_TRUE(fd);
            for (SHORT k = 0; k < fd.get().desc->cParams; ++k) {
                const PARAMDESC& p = fd.get().desc->lprgelemdescParam[k].paramdesc;
                if (!(p.wParamFlags & PARAMFLAG_FHASDEFAULT)) continue;
                SCOPED_TRACE(testing::Message() << NameOf(vt.get(), fd.get().desc->memid) << " parameter " << k);
                ++defaults;
                ASSERT_TRUE(p.pparamdescex);
                const VARTYPE kind = V_VT(&p.pparamdescex->varDefaultValue);
                EXPECT_TRUE(kind == VT_I4 || kind == VT_BOOL || kind == VT_BSTR) << kind;
            }
        }
    }
    EXPECT_LT(50, defaults);
}

// ---- Flags the build sets.

// Global classes are application objects with a predeclared instance; widl cannot say so, and
// tlb_patch.py sets the flag on every application object, never on anything else.
TEST_F(TypeLibrary, PredeclaredIdOnEveryApplicationObjectOnly) {
    int appObjects = 0;
    for (const auto& type : Types()) {
        const support::TypeAttr attr = support::GetTypeAttr(type.get());
        ASSERT_TRUE(attr);
        const TYPEATTR& a = *attr.get().desc;
        const bool appObject = a.typekind == TKIND_COCLASS && (a.wTypeFlags & TYPEFLAG_FAPPOBJECT);
        appObjects += appObject;
        EXPECT_EQ(appObject, (a.wTypeFlags & TYPEFLAG_FPREDECLID) != 0) << NameOf(type.get());
    }
    EXPECT_LT(0, appObjects);
}

TEST_F(TypeLibrary, BuiltForThisPlatform) {
    const support::LibAttr attr = support::GetLibAttr(lib_.get());
    ASSERT_TRUE(attr);
    EXPECT_EQ(sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32, attr.get().attr->syskind);
}

// ---- Help strings: stored as Windows-1251 bytes, read with the reader's ANSI code page.

// The stored bytes of the library's and the types' help strings in an MSFT type library
// (header, type-info offsets, segment directory, segments).
class StoredHelpStrings {
public:
    explicit StoredHelpStrings(std::span<const BYTE> data) : d_(data) {
        const int32_t flags = Int(0x14), count = Int(0x20);
        const size_t offsets = 0x54 + ((flags & 0x100) ? 4 : 0);
        const size_t segments = offsets + 4 * static_cast<size_t>(count);
        typeInfos_ = Int(segments);
        strings_ = Int(segments + 16 * 8);
        for (int32_t i = 0; i < count; ++i) types_.push_back(Int(offsets + 4 * static_cast<size_t>(i)));
    }
    bool valid() const { return d_.size() > 0x54 && Int(0) == 0x5446534D; }
    std::string Library() const { return String(Int(0x24)); }
    // Of the type at `index` in the library's order.
    std::string Type(size_t index) const {
        return index < types_.size() ? String(Int(typeInfos_ + types_[index] + 0x3C)) : "<no type>";
    }

private:
    int32_t Int(size_t at) const {
        int32_t v = 0;
        if (at + 4 <= d_.size()) std::memcpy(&v, &d_[at], 4);
        return v;
    }
    std::string String(int32_t offset) const {
        if (offset < 0) return {};
        const size_t at = strings_ + static_cast<size_t>(offset);
        if (at + 2 > d_.size()) return "<bad offset>";
        uint16_t length = 0;
        std::memcpy(&length, &d_[at], 2);
        if (at + 2 + length > d_.size()) return "<bad length>";
        return std::string(reinterpret_cast<const char*>(&d_[at + 2]), length);
    }

    std::span<const BYTE> d_;
    size_t typeInfos_ = 0, strings_ = 0;
    std::vector<int32_t> types_;
};

// Run once with the ANSI code page as it comes and once under a Russian locale (the second test
// entry sets BK_EXPECT_ACP=1251): the API hands out the stored bytes decoded with the ANSI code
// page, and the bytes are Windows-1251 (not the IDL's UTF-8), so that they read back as the
// Russian texts under code page 1251. The texts themselves are in the dump.
TEST_F(TypeLibrary, HelpStringsAreWindows1251ReadWithTheAnsiCodePage) {
    wchar_t expectAcp[16] = {};
    if (GetEnvironmentVariableW(L"BK_EXPECT_ACP", expectAcp, 16)) {
        ASSERT_EQ(static_cast<UINT>(_wtoi(expectAcp)), GetACP()) << "the locale of this run did not take effect";
    }
    const StoredHelpStrings stored(support::FindNamedTypeResource(Library(), L"TYPELIB", 1));
    ASSERT_TRUE(stored.valid());

    struct Help { std::string name, bytes; std::wstring read; };
    std::vector<Help> helps;
    Bstr libraryHelp;
    lib_->GetDocumentation(-1, nullptr, libraryHelp.put(), nullptr, nullptr);
    helps.push_back({"the library", stored.Library(), libraryHelp.str()});
    const auto types = Types();
    for (size_t i = 0; i < types.size(); ++i) {
        Bstr help;
        types[i]->GetDocumentation(MEMBERID_NIL, nullptr, help.put(), nullptr, nullptr);
        helps.push_back({mvtest::Utf8(NameOf(types[i].get())), stored.Type(i), help.str()});
    }
    int russian = 0;
    for (const Help& h : helps) {
        SCOPED_TRACE(testing::Message() << "help string of " << h.name);
        EXPECT_EQ(Decode(CP_ACP, h.bytes), h.read);
        const bool ascii = std::all_of(h.bytes.begin(), h.bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        if (ascii) continue;
        ++russian;
        EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, h.bytes.data(), static_cast<int>(h.bytes.size()),
                                         nullptr, 0))
            << "stored as UTF-8";
        const std::wstring text = Decode(1251, h.bytes);
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= L'А' && c <= L'я'; }));
        if (GetACP() == 1251) { EXPECT_EQ(text, h.read); }
    }
    EXPECT_LE(5, russian);
}

// ---- The library's resources.

TEST(ObjectModelResources, EmbeddedTypeLibraryIsTheFileBesideTheLibrary) {
    const auto embedded = support::FindNamedTypeResource(Library(), L"TYPELIB", 1);
    ASSERT_FALSE(embedded.empty());
    const std::string file = mvtest::ReadBytes(BinFile(L"Basekit0308.tlb"));
    ASSERT_FALSE(file.empty());
    EXPECT_TRUE(file.size() == embedded.size() && std::memcmp(file.data(), embedded.data(), file.size()) == 0)
        << "Basekit0308.tlb beside the library differs from its embedded type library";
}

// Names of the module's resource types given by name, as stored (case kept).
std::vector<std::wstring> NamedResourceTypes(HMODULE module) {
    auto* base = reinterpret_cast<const BYTE*>(module);
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
    const BYTE* root = base + dir.VirtualAddress;
    auto* types = reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY*>(root);
    auto* entries = reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY_ENTRY*>(types + 1);
    std::vector<std::wstring> names;
    for (int i = 0; i < types->NumberOfNamedEntries; ++i) {
        auto* s = reinterpret_cast<const IMAGE_RESOURCE_DIR_STRING_U*>(root + entries[i].NameOffset);
        names.emplace_back(s->NameString, s->Length);
    }
    return names;
}

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(towupper(c));
    return text;
}

// Per class _IID_<CLASS> with its default interface's identifier, and _SRCIID_<CLASS> with its
// default source interface's, each a 32-bit length 16 and the 16 bytes; exactly these.
TEST_F(TypeLibrary, IdentifierResourceOfEveryClass) {
    std::set<std::wstring> expected;
    for (const auto& type : Types()) {
        const support::TypeAttr attr = support::GetTypeAttr(type.get());
        ASSERT_TRUE(attr);
        if (attr.get().desc->typekind != TKIND_COCLASS) continue;
        for (UINT i = 0; i < attr.get().desc->cImplTypes; ++i) {
            INT flags = 0;
            HREFTYPE ref = 0;
            ComPtr<ITypeInfo> itf;
            ASSERT_EQ(S_OK, type->GetImplTypeFlags(i, &flags));
            if (!(flags & IMPLTYPEFLAG_FDEFAULT)) continue;
            ASSERT_EQ(S_OK, type->GetRefTypeOfImplType(i, &ref));
            ASSERT_EQ(S_OK, type->GetRefTypeInfo(ref, itf.put()));
            const std::wstring resource =
                (flags & IMPLTYPEFLAG_FSOURCE ? L"_SRCIID_" : L"_IID_") + Upper(NameOf(type.get()));
            SCOPED_TRACE(testing::Message() << mvtest::Utf8(resource));
            expected.insert(resource);
            const auto data = support::FindNamedTypeResource(Library(), resource, 1);
            ASSERT_EQ(20u, data.size());
            uint32_t length = 0;
            std::memcpy(&length, data.data(), 4);
            EXPECT_EQ(16u, length);
            IID stored{};
            std::memcpy(&stored, data.data() + 4, 16);
            EXPECT_EQ(GuidText(support::GetTypeAttr(itf.get()).get().desc->guid), GuidText(stored));
        }
    }
    EXPECT_TRUE(expected.count(L"_SRCIID_ORXTABCONTROL"));
    std::set<std::wstring> present;
    for (const std::wstring& t : NamedResourceTypes(Library()))
        if (t.find(L"IID_") != std::wstring::npos) present.insert(t);
    EXPECT_EQ(expected, present);
}

}  // namespace
