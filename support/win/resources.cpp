#include "support/win/resources.h"

#include <cwctype>

namespace support {
namespace {

const IMAGE_RESOURCE_DIRECTORY_ENTRY* Entries(const IMAGE_RESOURCE_DIRECTORY* dir) {
    return reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY_ENTRY*>(dir + 1);
}

bool NameEquals(const BYTE* root, const IMAGE_RESOURCE_DIRECTORY_ENTRY& e, std::wstring_view name) {
    if (!e.NameIsString) return false;
    auto* s = reinterpret_cast<const IMAGE_RESOURCE_DIR_STRING_U*>(root + e.NameOffset);
    if (s->Length != name.size()) return false;
    for (size_t i = 0; i < name.size(); ++i)
        if (std::towupper(s->NameString[i]) != std::towupper(name[i])) return false;
    return true;
}

}  // namespace

std::span<const BYTE> FindNamedTypeResource(HMODULE module, std::wstring_view type, WORD id) {
    auto* base = reinterpret_cast<const BYTE*>(module);
    if (!base) return {};
    auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    if (dos->e_magic != IMAGE_DOS_SIGNATURE) return {};
    auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& rsrc = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
    if (rsrc.VirtualAddress == 0 || rsrc.Size == 0) return {};
    const BYTE* root = base + rsrc.VirtualAddress;

    auto* types = reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY*>(root);
    const int typeCount = types->NumberOfNamedEntries + types->NumberOfIdEntries;
    for (int t = 0; t < typeCount; ++t) {
        const auto& te = Entries(types)[t];
        if (!te.DataIsDirectory || !NameEquals(root, te, type)) continue;
        auto* names = reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY*>(root + te.OffsetToDirectory);
        const int nameCount = names->NumberOfNamedEntries + names->NumberOfIdEntries;
        for (int n = 0; n < nameCount; ++n) {
            const auto& ne = Entries(names)[n];
            if (ne.NameIsString || ne.Id != id || !ne.DataIsDirectory) continue;
            auto* langs = reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY*>(root + ne.OffsetToDirectory);
            if (langs->NumberOfNamedEntries + langs->NumberOfIdEntries == 0) return {};
            const auto& le = Entries(langs)[0];
            if (le.DataIsDirectory) return {};
            auto* data = reinterpret_cast<const IMAGE_RESOURCE_DATA_ENTRY*>(root + le.OffsetToData);
            return {base + data->OffsetToData, data->Size};
        }
    }
    return {};
}

}  // namespace support
