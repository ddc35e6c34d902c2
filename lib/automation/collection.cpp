#include "lib/automation/collection.h"

#include <algorithm>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "lib/objectmodel/comobject.h"
#include "lib/objectmodel/runtime_errors.h"
#include "lib/objectmodel/unknown.h"
#include "lib/objectmodel/variants.h"

namespace bk {
namespace {

using support::ComPtr;

// Keys compare without regard to case, by the user's locale, as text comparison does.
std::wstring FoldKey(std::wstring_view key) {
    if (key.empty()) return {};
    // Plain ASCII keys, the usual case, fold the same way without the locale call.
    bool ascii = true;
    for (wchar_t ch : key) ascii = ascii && ch < 0x80;
    if (ascii) {
        std::wstring folded(key);
        for (wchar_t& ch : folded)
            if (ch >= L'A' && ch <= L'Z') ch = static_cast<wchar_t>(ch - L'A' + L'a');
        return folded;
    }
    int n = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, key.data(), static_cast<int>(key.size()),
                         nullptr, 0);
    std::wstring folded(static_cast<size_t>(n > 0 ? n : 0), L'\0');
    if (n <= 0 || LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, key.data(), static_cast<int>(key.size()),
                               folded.data(), n) != n)
        return std::wstring(key);
    return folded;
}

struct Entry {
    support::Variant value;
    std::wstring folded;  // empty: the item has no key
};

class CCollection;

// Walks the collection by position; it sees items added or removed while it runs.
class CEnumVariant : public UnknownObject<CEnumVariant, IEnumVARIANT> {
public:
    explicit CEnumVariant(CCollection* owner, ULONG position = 0);
    ~CEnumVariant() override;

    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* items, ULONG* fetched) override;
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override;
    HRESULT STDMETHODCALLTYPE Reset() override { position_ = 0; return S_OK; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT** out) override;

private:
    CCollection* owner_;  // holds a reference
    ULONG position_;
};

class CCollection : public DispatchObject<CCollection, _Collection> {
public:
    static constexpr wchar_t kName[] = L"Collection";

    size_t size() const { return items_.size(); }
    Entry& at(size_t index) { return *items_[index]; }

    HRESULT STDMETHODCALLTYPE Item(VARIANT* index, VARIANT* result) override {
        if (!result) return E_POINTER;
        VariantInit(result);
        return Guard([&] {
            Entry* entry = nullptr;
            if (HRESULT hr = Find(index, entry, nullptr); FAILED(hr)) return hr;
            return VariantCopy(result, entry->value.get());
        });
    }

    HRESULT STDMETHODCALLTYPE Add(VARIANT* item, VARIANT* key, VARIANT* before, VARIANT* after) override {
        return Guard([&] { return AddItem(item, key, before, after); });
    }

    HRESULT STDMETHODCALLTYPE Count(long* count) override {
        if (!count) return E_POINTER;
        *count = static_cast<long>(items_.size());
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Remove(VARIANT* index) override {
        return Guard([&] {
            Entry* entry = nullptr;
            size_t position = 0;
            if (HRESULT hr = Find(index, entry, &position); FAILED(hr)) return hr;
            if (!items_[position]->folded.empty()) keys_.erase(items_[position]->folded);
            items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position));
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown** out) override {
        return CEnumVariant::New(IID_IUnknown, reinterpret_cast<void**>(out), this);
    }

private:

    HRESULT AddItem(VARIANT* item, VARIANT* key, VARIANT* before, VARIANT* after) {
        VARIANT* value = Deref(item);
        if (!value || ((V_VT(value) & VT_BYREF) && !V_BYREF(value))) return Raise(kErrInvalidCall);
        if (IsMissing(*value)) return Raise(kErrArgumentNotOptional);  // nothing to store
        auto entry = std::make_unique<Entry>();
        if (HRESULT hr = VariantCopyInd(entry->value.get(), value); FAILED(hr)) return hr;

        if (key && !IsMissing(*key)) {
            support::Variant text;
            if (FAILED(ConvertValue(*key, VT_BSTR, *text.get()))) return Raise(kErrTypeMismatch);
            entry->folded = FoldKey(support::BstrView(V_BSTR(text.get())));
            // An empty key cannot be found again; it is refused as the runtime does.
            if (entry->folded.empty()) return Raise(kErrInvalidCall);
            if (keys_.count(entry->folded)) return Raise(kErrDuplicateKey);
        }

        size_t insertAt = items_.size();
        const bool hasBefore = before && !IsMissing(*before), hasAfter = after && !IsMissing(*after);
        if (hasBefore && hasAfter) return Raise(kErrInvalidCall);
        if (hasBefore || hasAfter) {
            Entry* anchor = nullptr;
            size_t position = 0;
            if (HRESULT hr = Find(hasBefore ? before : after, anchor, &position); FAILED(hr)) return hr;
            insertAt = hasBefore ? position : position + 1;
        }

        // The item goes in first and comes out again if its key cannot be stored, so that the
        // key index never points to an item the collection does not hold.
        Entry* raw = entry.get();
        const auto where = static_cast<std::ptrdiff_t>(insertAt);
        items_.insert(items_.begin() + where, std::move(entry));
        if (!raw->folded.empty()) {
            try {
                keys_.emplace(raw->folded, raw);
            } catch (...) {
                items_.erase(items_.begin() + where);
                throw;
            }
        }
        return S_OK;
    }

    // Finds an item by its 1-based position or by its key; `position` (0-based) is filled
    // only when asked for, since a keyed item's position costs a scan.
    HRESULT Find(VARIANT* index, Entry*& entry, size_t* position) {
        VARIANT* v = Deref(index);
        if (!v || IsMissing(*v)) return Raise(kErrInvalidCall);
        if (V_VT(v) == (VT_BSTR | VT_BYREF) && !V_BSTRREF(v)) return Raise(kErrTypeMismatch);
        if (V_VT(v) == VT_BSTR || V_VT(v) == (VT_BSTR | VT_BYREF)) {
            BSTR text = V_VT(v) == VT_BSTR ? V_BSTR(v) : *V_BSTRREF(v);
            auto it = keys_.find(FoldKey(support::BstrView(text)));
            if (it == keys_.end()) return Raise(kErrInvalidCall);
            entry = it->second;
            if (!position) return S_OK;
            for (size_t i = items_.size(); i-- > 0;)
                if (items_[i].get() == entry) { *position = i; return S_OK; }
            return Raise(kErrInvalidCall);
        }
        support::Variant number;
        if (FAILED(ConvertValue(*v, VT_I4, *number.get()))) return Raise(kErrTypeMismatch);
        const long n = V_I4(number.get());
        if (n < 1 || static_cast<size_t>(n) > items_.size()) return Raise(kErrSubscript);
        entry = items_[static_cast<size_t>(n - 1)].get();
        if (position) *position = static_cast<size_t>(n - 1);
        return S_OK;
    }

    std::vector<std::unique_ptr<Entry>> items_;
    std::unordered_map<std::wstring, Entry*> keys_;
};

CEnumVariant::CEnumVariant(CCollection* owner, ULONG position) : owner_(owner), position_(position) {
    owner_->AddRef();
}

CEnumVariant::~CEnumVariant() { owner_->Release(); }

HRESULT CEnumVariant::Next(ULONG count, VARIANT* items, ULONG* fetched) {
    if (!items) return E_POINTER;
    ULONG done = 0;
    while (done < count && position_ < owner_->size()) {
        VariantInit(&items[done]);
        if (HRESULT hr = VariantCopy(&items[done], owner_->at(position_).value.get()); FAILED(hr)) {
            for (ULONG i = 0; i < done; ++i) VariantClear(&items[i]);
            if (fetched) *fetched = 0;
            return hr;
        }
        ++done;
        ++position_;
    }
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
}

HRESULT CEnumVariant::Skip(ULONG count) {
    const ULONG left = static_cast<ULONG>(owner_->size()) - std::min<ULONG>(position_, static_cast<ULONG>(owner_->size()));
    position_ += std::min(count, left);
    return count <= left ? S_OK : S_FALSE;
}

HRESULT CEnumVariant::Clone(IEnumVARIANT** out) {
    return New(IID_IEnumVARIANT, reinterpret_cast<void**>(out), owner_, position_);
}

}  // namespace

HRESULT CreateCollection(_Collection** out) {
    return CCollection::New(__uuidof(_Collection), reinterpret_cast<void**>(out));
}

HRESULT CollectionAppend(_Collection* collection, const VARIANT& value, const wchar_t* key) {
    if (!collection) return E_POINTER;
    VARIANT item = value;  // shallow: Add copies what it keeps
    support::Variant keyArg = key ? support::Variant::FromString(key) : support::Variant::Missing();
    support::Variant missing = support::Variant::Missing();
    support::Variant missing2 = support::Variant::Missing();
    return collection->Add(&item, keyArg.get(), missing.get(), missing2.get());
}

}  // namespace bk
