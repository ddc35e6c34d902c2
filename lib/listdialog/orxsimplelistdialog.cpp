// orxSimpleListDialog: shows the items of a collection as text in a small resizable modal
// window (list_window.h). The collection and the font are the caller's objects, kept as given.
#include <windows.h>
#include <ocidl.h>
#include <olectl.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "Basekit0308.h"
#include "lib/automation/collection.h"
#include "lib/listdialog/list_window.h"
#include "lib/main/automation_values.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/comobject.h"
#include "lib/objectmodel/errors.h"
#include "support/win/com.h"

namespace bk {
namespace {

using support::ComPtr;

// Tahoma, 9 points, Cyrillic, weight 100, no bold, italic, underline or strike-through.
ComPtr<IFontDisp> DefaultFont() {
    wchar_t face[] = L"Tahoma";
    FONTDESC desc{};
    desc.cbSizeofstruct = sizeof(desc);
    desc.lpstrName = face;
    desc.cySize.int64 = 9 * 10000;  // a CY: points with four decimals
    desc.sWeight = 100;
    desc.sCharset = 204;
    ComPtr<IFontDisp> font;
    OleCreateFontIndirect(&desc, __uuidof(IFontDisp), font.put_void());
    return font;
}

// Items are read in batches of this many.
constexpr ULONG kBatch = 256;

// Appends the item's text; an item without a text form is left out (the step fails).
void AddText(MemberSteps& steps, const VARIANT& item, std::vector<std::wstring>& out) {
    std::wstring text;
    if (steps.Succeeded(mainhelpers::TextOf(item, text))) out.push_back(std::move(text));
}

// The library's own collection, read where its items are stored. Converting anything but a
// string may run the caller's code (an object's default value), which may change the
// collection, so such an item is copied first and the reading starts afresh after it.
void CollectOwn(MemberSteps& steps, _Collection* items, ILibraryCollection* own, std::vector<std::wstring>& out) {
    long count = 0;
    if (!steps.Succeeded(items->Count(&count))) return;
    out.reserve(static_cast<size_t>(count));
    std::array<const VARIANT*, kBatch> batch{};
    for (long position = 1; position <= count;) {
        ULONG fetched = 0;
        if (!steps.Succeeded(own->ItemsInPlace(position, kBatch, batch.data(), &fetched)) || fetched == 0) return;
        ULONG i = 0;
        for (; i < fetched && V_VT(batch[i]) == VT_BSTR; ++i) out.emplace_back(support::BstrView(V_BSTR(batch[i])));
        position += static_cast<long>(i);
        if (i == fetched) continue;
        support::Variant copy;
        if (steps.Succeeded(VariantCopy(copy.get(), const_cast<VARIANT*>(batch[i])))) AddText(steps, *copy.get(), out);
        ++position;
        if (!steps.Succeeded(items->Count(&count))) return;
    }
}

// Any other collection, walked as For Each walks it.
void CollectEnumerated(MemberSteps& steps, _Collection* items, std::vector<std::wstring>& out) {
    ComPtr<IUnknown> unknown;
    ComPtr<IEnumVARIANT> walk;
    if (!steps.Succeeded(items->_NewEnum(unknown.put())) || !unknown ||
        !steps.Succeeded(unknown.As(walk)))
        return;
    std::array<VARIANT, kBatch> batch;
    for (;;) {
        ULONG fetched = 0;
        for (VARIANT& v : batch) VariantInit(&v);
        const HRESULT hr = walk->Next(kBatch, batch.data(), &fetched);
        if (!steps.Succeeded(hr)) fetched = 0;
        fetched = std::min(fetched, kBatch);
        for (ULONG i = 0; i < fetched; ++i) {
            AddText(steps, batch[i], out);
            VariantClear(&batch[i]);
        }
        if (hr != S_OK || fetched == 0) return;
    }
}

class CorxSimpleListDialog : public DispatchObject<CorxSimpleListDialog, _orxSimpleListDialog> {
public:
    static constexpr wchar_t kName[] = L"orxSimpleListDialog";

    CorxSimpleListDialog() : font_(DefaultFont()) { CreateCollection(elements_.put()); }

    HRESULT STDMETHODCALLTYPE get_Elements(_Collection** result) override {
        if (!result) return E_POINTER;
        *result = ComPtr<_Collection>(elements_).detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE putref_Elements(_Collection** elements) override {
        return Guard([&] { return StoreElements(elements); });
    }
    HRESULT STDMETHODCALLTYPE put_Elements(_Collection** elements) override {
        return Guard([&] { return StoreElements(elements); });
    }
    HRESULT STDMETHODCALLTYPE putref_Font(IFontDisp* font) override {
        font_ = ComPtr<IFontDisp>::Share(font);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Font(IFontDisp* font) override { return putref_Font(font); }
    HRESULT STDMETHODCALLTYPE get_Font(IFontDisp** result) override {
        if (!result) return E_POINTER;
        *result = ComPtr<IFontDisp>(font_).detach();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_ShowCountInCaption(VARIANT_BOOL show) override {
        showCount_ = show != VARIANT_FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_ShowCountInCaption(VARIANT_BOOL* result) override {
        if (!result) return E_POINTER;
        *result = showCount_ ? VARIANT_TRUE : VARIANT_FALSE;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE put_Caption(BSTR caption) override {
        return Guard([&] {
            caption_.assign(support::BstrView(caption));
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_Caption(BSTR* result) override {
        return Guard([&] { return support::AllocBstr(caption_, result); });
    }

    // Every step runs on its own: an item that has no text is left out, a font that gives no
    // handle leaves the system's, and the window shows whatever came together.
    HRESULT STDMETHODCALLTYPE Show() override {
        return Guard([&] {
            MemberSteps steps(false);
            std::vector<std::wstring> entries;
            ComPtr<_Collection> items = elements_;  // kept while the caller's code may run
            ComPtr<ILibraryCollection> own;
            if (items && SUCCEEDED(items.As(own)))
                CollectOwn(steps, items.get(), own.get(), entries);
            else if (items)
                CollectEnumerated(steps, items.get(), entries);

            listdialog::ListWindowRequest request;
            request.entries = &entries;
            request.caption = caption_;
            request.showCount = showCount_;
            ComPtr<IFont> font;  // owns the handle the window uses
            if (font_ && steps.Succeeded(font_.As(font))) {
                HFONT handle = nullptr;
                if (steps.Succeeded(font->get_hFont(&handle))) request.font = handle;
            }
            steps.Succeeded(listdialog::ShowListWindow(request) ? S_OK : E_FAIL);
            return S_OK;
        });
    }

private:
    // Both assignments keep the caller's collection itself; none gives a new empty one.
    HRESULT StoreElements(_Collection** elements) {
        if (!elements) return E_POINTER;
        ComPtr<_Collection> next;
        if (!*elements) {
            if (HRESULT hr = CreateCollection(next.put()); FAILED(hr)) return Raise(kErrOutOfMemory);
        } else if (FAILED((*elements)->QueryInterface(__uuidof(_Collection), next.put_void()))) {
            return Raise(kErrTypeMismatch);
        }
        elements_ = std::move(next);
        return S_OK;
    }

    ComPtr<_Collection> elements_;
    ComPtr<IFontDisp> font_;
    bool showCount_ = true;
    std::wstring caption_;
};

}  // namespace

HRESULT CreateOrxSimpleListDialog(REFIID iid, void** out) { return CorxSimpleListDialog::New(iid, out); }

}  // namespace bk
