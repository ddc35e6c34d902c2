#include "support/as/icons.h"

#include <olectl.h>

#include <string>
#include <utility>
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

namespace {

HRESULT OwnedIconPicture(Icon icon, IPictureDisp** picture) {
    PICTDESC description{};
    description.cbSizeofstruct = sizeof(description);
    description.picType = PICTYPE_ICON;
    description.icon.hicon = icon.get();
    const HRESULT hr = OleCreatePictureIndirect(&description, IID_IPictureDisp, TRUE, reinterpret_cast<void**>(picture));
    if (SUCCEEDED(hr)) icon.detach();  // the picture owns it now
    return hr;
}

}  // namespace

HRESULT asGetIconFromHandle(HICON handle, IPictureDisp** picture) {
    if (!picture) return E_POINTER;
    *picture = nullptr;
    if (!handle) return E_INVALIDARG;
    Icon copy(CopyIcon(handle));
    if (!copy) return HRESULT_FROM_WIN32(GetLastError());
    return OwnedIconPicture(std::move(copy), picture);
}

namespace {

HRESULT WindowIcon(HWND window, bool big, IPictureDisp** picture) {
    if (!picture) return E_POINTER;
    *picture = nullptr;
    if (!window || !IsWindow(window)) return E_INVALIDARG;
    DWORD_PTR icon = 0;
    if (!SendMessageTimeoutW(window, WM_GETICON, big ? ICON_BIG : ICON_SMALL, 0, SMTO_ABORTIFHUNG, 2000, &icon))
        icon = 0;
    if (!icon) icon = GetClassLongPtrW(window, big ? GCLP_HICON : GCLP_HICONSM);
    if (!icon) return E_FAIL;
    return asGetIconFromHandle(reinterpret_cast<HICON>(icon), picture);
}

HRESULT ResourceIcon(std::wstring_view name, HMODULE module, int cx, int cy, IPictureDisp** picture) {
    if (!picture) return E_POINTER;
    *picture = nullptr;
    const std::wstring resource(name);
    Icon icon(static_cast<HICON>(LoadImageW(module, resource.c_str(), IMAGE_ICON, cx, cy, 0)));
    if (!icon) return HRESULT_FROM_WIN32(GetLastError() ? GetLastError() : ERROR_RESOURCE_NAME_NOT_FOUND);
    return OwnedIconPicture(std::move(icon), picture);
}

}  // namespace

HRESULT asGetWindowIcon(HWND window, IPictureDisp** picture) { return WindowIcon(window, true, picture); }
HRESULT asGetWindowIconSmall(HWND window, IPictureDisp** picture) { return WindowIcon(window, false, picture); }

HRESULT asLoadResIconEx(std::wstring_view name, HMODULE module, IPictureDisp** picture) {
    return ResourceIcon(name, module, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON), picture);
}
HRESULT asLoadResIconSmallEx(std::wstring_view name, HMODULE module, IPictureDisp** picture) {
    return ResourceIcon(name, module, GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), picture);
}

void asSetWindowIconAll(HWND window, HICON big, HICON small) {
    if (!window) return;
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

}  // namespace support
