// orxTabControl: turns stacked container controls of a form into the pages of a tab set. It
// keeps the ordered list of pages in a collection of the library's own, brings the chosen page
// to the front and shows it, and tells its owner through TabShown which page is current.
// Pages are any objects with a ZOrder method and a Visible property, used late-bound.
#include <vector>

#include "Basekit0308.h"
#include "lib/automation/collection.h"
#include "lib/objectmodel/classtable.h"
#include "lib/objectmodel/connectionpoints.h"
#include "lib/objectmodel/latebinding.h"
#include "lib/objectmodel/variants.h"

namespace bk {
namespace {

constexpr DISPID kTabShown = 1;
constexpr LONG kCurrentTab = -1;  // PopTab's Index for "the current page"

class CorxTabControl
    : public EventSourceObject<CorxTabControl, _orxTabControl, &DIID___orxTabControl, &CLSID_orxTabControl> {
public:
    static constexpr wchar_t kName[] = L"orxTabControl";

    // The list exists for the whole life of the object; without it the object is not made.
    static HRESULT Make(REFIID iid, void** out) {
        if (!out) return E_POINTER;
        *out = nullptr;
        support::ComPtr<_Collection> tabs;
        if (HRESULT hr = CreateCollection(tabs.put()); FAILED(hr)) return hr;
        return New(iid, out, std::move(tabs));
    }

    explicit CorxTabControl(support::ComPtr<_Collection> tabs) : tabs_(std::move(tabs)) {}

    HRESULT STDMETHODCALLTYPE get_CurrentTab(LONG* result) override {
        if (!result) return E_POINTER;
        *result = current_;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE get_TabsCount(LONG* result) override {
        if (!result) return E_POINTER;
        *result = 0;
        return tabs_->Count(result);
    }

    // A position outside the list fails with the collection's own error.
    HRESULT STDMETHODCALLTYPE get_TabItem(LONG index, IDispatch** result) override {
        if (!result) return E_POINTER;
        *result = nullptr;
        return Guard([&] {
            support::ComPtr<IDispatch> page;
            if (HRESULT hr = Page(index, page); FAILED(hr)) return hr;
            *result = page.detach();
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE FillTabs(IDispatch* data, VARIANT_BOOL hideOtherTabs) override {
        return Guard([&] { return Fill(data, hideOtherTabs != VARIANT_FALSE); });
    }

    HRESULT STDMETHODCALLTYPE AddTab(IDispatch* page, VARIANT_BOOL hideOtherTabs) override {
        return Guard([&] {
            if (!page) return Raise(kErrInvalidProperty);
            if (HRESULT hr = Append(page); FAILED(hr)) return hr;
            return PopLast(hideOtherTabs != VARIANT_FALSE);
        });
    }

    // The current position stays as it was: until pages are added again, showing the
    // current page fails.
    HRESULT STDMETHODCALLTYPE ClearTabs() override {
        return Guard([&] {
            support::ComPtr<_Collection> fresh;
            if (HRESULT hr = CreateCollection(fresh.put()); FAILED(hr)) return hr;
            // The old list goes after the swap: releasing a page may run its code, which may
            // use this object again.
            std::swap(tabs_, fresh);
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE PopTab(LONG index, VARIANT_BOOL popOnlyThisTab, VARIANT_BOOL hideOtherTabs) override {
        return Guard([&] { return Pop(index, popOnlyThisTab != VARIANT_FALSE, hideOtherTabs != VARIANT_FALSE); });
    }

    // The page before the current one; from the first page (or before any was shown) the last.
    HRESULT STDMETHODCALLTYPE PopPrevTab(VARIANT_BOOL popOnlyThisTab, VARIANT_BOOL hideOtherTabs) override {
        return Guard([&] {
            LONG index = 0;
            if (current_ > 1) {
                index = current_ - 1;
            } else if (HRESULT hr = tabs_->Count(&index); FAILED(hr)) {
                return hr;
            }
            return Pop(index, popOnlyThisTab != VARIANT_FALSE, hideOtherTabs != VARIANT_FALSE);
        });
    }

    // The page after the current one; after the last page the first.
    HRESULT STDMETHODCALLTYPE PopNextTab(VARIANT_BOOL popOnlyThisTab, VARIANT_BOOL hideOtherTabs) override {
        return Guard([&] {
            LONG count = 0;
            if (HRESULT hr = tabs_->Count(&count); FAILED(hr)) return hr;
            const LONG index = current_ < count ? current_ + 1 : 1;
            return Pop(index, popOnlyThisTab != VARIANT_FALSE, hideOtherTabs != VARIANT_FALSE);
        });
    }

    // Restacks every page and shows the current one again.
    HRESULT STDMETHODCALLTYPE ArrangeTabs(VARIANT_BOOL hideOtherTabs) override {
        return Guard([&] { return Pop(kCurrentTab, false, hideOtherTabs != VARIANT_FALSE); });
    }

private:
    HRESULT Page(LONG index, support::ComPtr<IDispatch>& page) {
        support::Variant position = support::Variant::FromLong(index);
        support::Variant item;
        if (HRESULT hr = tabs_->Item(position.get(), item.get()); FAILED(hr)) return hr;
        if (item.vt() != VT_DISPATCH) return Raise(kErrTypeMismatch);  // only objects are stored
        page = support::ComPtr<IDispatch>::Share(V_DISPATCH(item.get()));
        return S_OK;
    }

    HRESULT Append(IDispatch* page) {
        support::Variant value = support::Variant::FromDispatch(page);
        return CollectionAppend(tabs_.get(), *value.get());
    }

    // Shows the last page, the one just added.
    HRESULT PopLast(bool hideOtherTabs) {
        LONG count = 0;
        if (HRESULT hr = tabs_->Count(&count); FAILED(hr)) return hr;
        return Pop(count, false, hideOtherTabs);
    }

    // Empties the list, then appends data(i) for i from data.LBound to data.UBound, and shows
    // the last page. An element that is not an object fails the call where it is met; the
    // elements before it stay in the list.
    HRESULT Fill(IDispatch* data, bool hideOtherTabs) {
        if (HRESULT hr = ClearTabs(); FAILED(hr)) return hr;
        LateBound source(data);
        LONG lower = 0, upper = 0;
        if (HRESULT hr = ReadBound(source, L"LBound", lower); FAILED(hr)) return hr;
        if (HRESULT hr = ReadBound(source, L"UBound", upper); FAILED(hr)) return hr;
        for (long long i = lower; i <= upper; ++i) {
            const VARIANT index = support::Variant::FromLong(static_cast<LONG>(i)).detach();
            support::Variant element;
            const HRESULT hr = source.Invoke(DISPID_VALUE, DISPATCH_METHOD | DISPATCH_PROPERTYGET,
                                             std::span<const VARIANT>(&index, 1), element.get());
            if (FAILED(hr)) return RaiseRecord(source.error(), Source());
            const VARIANT* value = Deref(element.get());
            if (IsNothing(*value)) return Raise(kErrObjectNotSet);
            IUnknown* object = nullptr;
            switch (V_VT(value)) {
            case VT_DISPATCH: object = V_DISPATCH(value); break;
            case VT_UNKNOWN: object = V_UNKNOWN(value); break;
            case VT_DISPATCH | VT_BYREF: object = *V_DISPATCHREF(value); break;
            case VT_UNKNOWN | VT_BYREF: object = *V_UNKNOWNREF(value); break;
            default: break;
            }
            support::ComPtr<IDispatch> page;
            if (object) object->QueryInterface(IID_IDispatch, page.put_void());
            if (!page) return Raise(kErrObjectRequired);
            if (HRESULT appended = Append(page.get()); FAILED(appended)) return appended;
        }
        return PopLast(hideOtherTabs);
    }

    HRESULT ReadBound(LateBound& source, const wchar_t* name, LONG& bound) {
        support::Variant value;
        if (FAILED(source.Get(name, *value.get()))) return RaiseRecord(source.error(), Source());
        support::Variant number;
        if (HRESULT hr = ConvertValue(*value.get(), VT_I4, *number.get()); FAILED(hr))
            return Raise(ErrorNumberOf(hr));
        bound = V_I4(number.get());
        return S_OK;
    }

    // The one operation that changes what is shown. A position outside the list changes
    // nothing and raises no event. A page's own failure reaches the caller; pages handled
    // before it keep their new state.
    HRESULT Pop(LONG index, bool popOnlyThisTab, bool hideOtherTabs) {
        if (index == kCurrentTab) index = current_;
        LONG count = 0;
        if (HRESULT hr = tabs_->Count(&count); FAILED(hr)) return hr;
        if (index < 1 || index > count) return Raise(kErrInvalidCall);

        // The pages as they are now: a page's code may change the list while it runs.
        std::vector<support::ComPtr<IDispatch>> pages;
        pages.reserve(static_cast<size_t>(count));
        for (LONG i = 1; i <= count; ++i) {
            support::ComPtr<IDispatch> page;
            if (HRESULT hr = Page(i, page); FAILED(hr)) return hr;
            pages.push_back(std::move(page));
        }

        if (!popOnlyThisTab) {
            for (const auto& page : pages) {
                if (HRESULT hr = BringToFront(page.get()); FAILED(hr)) return hr;
            }
        }
        for (const auto& page : pages) {
            if (HRESULT hr = Show(page.get(), !hideOtherTabs); FAILED(hr)) return hr;
        }
        IDispatch* chosen = pages[static_cast<size_t>(index - 1)].get();
        if (HRESULT hr = BringToFront(chosen); FAILED(hr)) return hr;
        if (HRESULT hr = Show(chosen, true); FAILED(hr)) return hr;

        current_ = index;
        const VARIANT shown = support::Variant::FromLong(index).detach();
        Events().Fire(kTabShown, std::span<const VARIANT>(&shown, 1));
        return S_OK;
    }

    HRESULT BringToFront(IDispatch* page) {
        LateBound late(page);
        if (FAILED(late.Call(L"ZOrder"))) return RaiseRecord(late.error(), Source());
        return S_OK;
    }

    HRESULT Show(IDispatch* page, bool visible) {
        LateBound late(page);
        const VARIANT value = support::Variant::FromBool(visible).detach();
        if (FAILED(late.Put(L"Visible", value))) return RaiseRecord(late.error(), Source());
        return S_OK;
    }

    support::ComPtr<_Collection> tabs_;
    LONG current_ = 0;
};

}  // namespace

HRESULT CreateOrxTabControl(REFIID iid, void** out) { return CorxTabControl::Make(iid, out); }

}  // namespace bk
