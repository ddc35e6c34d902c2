#include "support/as/icons.h"

#include <olectl.h>

#include <string>
#include <vector>

#include "support/win/owner.h"

namespace support {
namespace {

// Icons loaded from resources, one per module, name and size, kept for the rest of the run: a
// window does not own the icons it shows, so they must outlive every window that uses them.
// (Shared loading would hand back the first size loaded for every later size.)
class IconCache {
public:
    HICON Get(HMODULE module, std::wstring_view name, int cx, int cy) {
        for (const Entry& e : entries_)
            if (e.module == module && e.name == name && e.cx == cx && e.cy == cy) return e.icon.get();
        std::wstring resource(name);
        Icon icon(static_cast<HICON>(LoadImageW(module, resource.c_str(), IMAGE_ICON, cx, cy, 0)));
        if (!icon) return nullptr;
        entries_.push_back(Entry{module, std::move(resource), cx, cy, std::move(icon)});
        return entries_.back().icon.get();
    }

private:
    struct Entry {
        HMODULE module;
        std::wstring name;
        int cx, cy;
        Icon icon;
    };
    std::vector<Entry> entries_;
};

IconCache& ProgramIcons() {
    static IconCache cache;
    return cache;
}

}  // namespace

bool asSetWindowResIconAll(HWND window, std::wstring_view name, HMODULE module) {
    if (!window) return false;
    if (!module) module = GetModuleHandleW(nullptr);
    HICON big = ProgramIcons().Get(module, name, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    HICON small = ProgramIcons().Get(module, name, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
    return big && small;
}

HRESULT asGetIconFromHandle(HICON handle, IPictureDisp** picture) {
    if (!picture) return E_POINTER;
    *picture = nullptr;
    if (!handle) return E_INVALIDARG;
    Icon copy(CopyIcon(handle));
    if (!copy) return HRESULT_FROM_WIN32(GetLastError());
    PICTDESC description{};
    description.cbSizeofstruct = sizeof(description);
    description.picType = PICTYPE_ICON;
    description.icon.hicon = copy.get();
    const HRESULT hr = OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(picture));
    if (SUCCEEDED(hr)) copy.detach();  // the picture owns it now
    return hr;
}

}  // namespace support
