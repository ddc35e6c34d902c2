#include "lib/automation/collection.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <utility>
#include <string>
#include <string_view>

#include "lib/automation/key_index.h"
#include "lib/automation/position_tree.h"
#include "lib/objectmodel/comobject.h"
#include "lib/objectmodel/runtime_errors.h"
#include "lib/objectmodel/unknown.h"
#include "lib/objectmodel/variants.h"

namespace bk {
namespace {

using support::ComPtr;

// A key folded for comparison: without regard to case, by the user's locale, as text
// comparison does. Short keys are folded into a buffer of their own.
class FoldedKey {
public:
    FoldedKey() = default;
    FoldedKey(const FoldedKey&) = delete;
    FoldedKey& operator=(const FoldedKey&) = delete;

    void Fold(std::wstring_view key) {
        view_ = {};
        if (key.empty()) return;
        // Plain ASCII keys, the usual case, fold the same way without the locale call.
        bool ascii = true;
        for (wchar_t ch : key) ascii = ascii && ch < 0x80;
        if (ascii) {
            wchar_t* out = buffer_;
            if (key.size() > kBuffer) {
                heap_.resize(key.size());
                out = heap_.data();
            }
            for (size_t i = 0; i < key.size(); ++i) {
                const wchar_t ch = key[i];
                out[i] = ch >= L'A' && ch <= L'Z' ? static_cast<wchar_t>(ch - L'A' + L'a') : ch;
            }
            view_ = {out, key.size()};
            return;
        }
        const int n = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, key.data(), static_cast<int>(key.size()),
                                   nullptr, 0);
        heap_.assign(static_cast<size_t>(n > 0 ? n : 0), L'\0');
        if (n <= 0 || LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_LOWERCASE, key.data(), static_cast<int>(key.size()),
                                   heap_.data(), n) != n)
            heap_.assign(key);
        view_ = heap_;
    }
    std::wstring_view view() const { return view_; }

private:
    static constexpr size_t kBuffer = 64;
    wchar_t buffer_[kBuffer];
    std::wstring heap_;
    std::wstring_view view_;
};

// An item: its value, its place in the order and, when it has one, its folded key, whose
// characters follow the entry in the same block.
struct Entry : PositionTree::Item, KeyIndex::Key {
    VARIANT value;
    bool hasKey() const { return text != nullptr; }
    static size_t BytesFor(size_t keyLength) { return sizeof(Entry) + keyLength * sizeof(wchar_t); }
};

// Memory for a collection's entries. The heap takes longer to hand out a small block than
// the rest of an Add together, so entries up to kLargest bytes (keys of a few dozen
// characters) are carved from chunks that grow with the collection, with a free list per
// block size; larger ones come from the heap. Chunks go back when the collection is empty.
class EntryPool {
public:
    EntryPool() = default;
    EntryPool(const EntryPool&) = delete;
    EntryPool& operator=(const EntryPool&) = delete;
    ~EntryPool() { Release(); }

    // May throw std::bad_alloc.
    void* Allocate(size_t bytes) {
        if (bytes > kLargest) return ::operator new(bytes);
        const size_t size = SizeOf(bytes);
        void*& head = free_[size / kGranule];
        if (void* block = head) {
            head = *static_cast<void**>(block);
            return block;
        }
        if (left_ < size) NewChunk();
        void* block = cursor_;
        cursor_ += size;
        left_ -= size;
        return block;
    }
    void Free(void* block, size_t bytes) noexcept {
        if (bytes > kLargest) {
            ::operator delete(block);
            return;
        }
        void*& head = free_[SizeOf(bytes) / kGranule];
        *static_cast<void**>(block) = head;
        head = block;
    }
    // Gives back every chunk; no block may be in use.
    void Release() noexcept {
        while (chunks_) ::operator delete(std::exchange(chunks_, *static_cast<void**>(chunks_)));
        for (void*& head : free_) head = nullptr;
        cursor_ = nullptr;
        left_ = 0;
        chunkBytes_ = kFirstChunk;
    }

private:
    static constexpr size_t kGranule = 16, kLargest = 128, kFirstChunk = 1024, kLastChunk = 64 * 1024;
    static size_t SizeOf(size_t bytes) { return (bytes + kGranule - 1) / kGranule * kGranule; }
    void NewChunk() {
        // The chunk's first granule links it to the previous one.
        char* chunk = static_cast<char*>(::operator new(chunkBytes_));
        *reinterpret_cast<void**>(chunk) = chunks_;
        chunks_ = chunk;
        cursor_ = chunk + kGranule;
        left_ = chunkBytes_ - kGranule;
        chunkBytes_ = std::min(chunkBytes_ * 2, kLastChunk);
    }

    void* free_[kLargest / kGranule + 1] = {};
    void* chunks_ = nullptr;
    char* cursor_ = nullptr;
    size_t left_ = 0;
    size_t chunkBytes_ = kFirstChunk;
};

// A new entry taking over `value` (on success only); may throw std::bad_alloc.
Entry* NewEntry(EntryPool& pool, VARIANT& value, std::wstring_view folded, uint32_t hash) {
    Entry* entry = new (pool.Allocate(Entry::BytesFor(folded.size()))) Entry();
    if (!folded.empty()) {
        wchar_t* text = reinterpret_cast<wchar_t*>(entry + 1);
        std::memcpy(text, folded.data(), folded.size() * sizeof(wchar_t));
        entry->text = text;
        entry->length = static_cast<uint32_t>(folded.size());
        entry->hash = hash;
    }
    entry->value = value;
    VariantInit(&value);
    return entry;
}

// Frees an entry and hands back its value, for the caller to clear once the collection is
// in order again: releasing an object may run code that uses the collection.
VARIANT TakeEntry(EntryPool& pool, Entry* entry) noexcept {
    const VARIANT value = entry->value;
    const size_t bytes = Entry::BytesFor(entry->length);
    entry->~Entry();
    pool.Free(entry, bytes);
    return value;
}

void DeleteEntry(EntryPool& pool, Entry* entry) noexcept {
    VARIANT value = TakeEntry(pool, entry);
    VariantClear(&value);
}

// The text of a key argument: a string as it is, anything else converted by the automation
// rules into `holder`. False when it has no text form.
bool KeyText(const VARIANT& key, std::wstring_view& text, support::Variant& holder) {
    const VARIANT* v = Deref(&key);
    if (V_VT(v) == VT_BSTR) {
        text = support::BstrView(V_BSTR(v));
        return true;
    }
    if (V_VT(v) == (VT_BSTR | VT_BYREF) && V_BSTRREF(v)) {
        text = support::BstrView(*V_BSTRREF(v));
        return true;
    }
    if (FAILED(ConvertValue(key, VT_BSTR, *holder.get()))) return false;
    text = support::BstrView(V_BSTR(holder.get()));
    return true;
}

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

class CCollection : public DispatchObject<CCollection, _Collection, ILibraryCollection> {
public:
    static constexpr wchar_t kName[] = L"Collection";

    ~CCollection() override {
        // Nothing can reach a collection being destroyed, so the values are cleared in place.
        for (size_t i = 0; i < order_.size(); ++i) DeleteEntry(pool_, static_cast<Entry*>(order_.At(i)));
    }

    size_t size() const { return order_.size(); }
    const Entry& at(size_t index) const { return *static_cast<const Entry*>(order_.At(index)); }

    HRESULT STDMETHODCALLTYPE Item(VARIANT* index, VARIANT* result) override {
        if (!result) return E_POINTER;
        VariantInit(result);
        return Guard([&] {
            Entry* entry = nullptr;
            if (HRESULT hr = Find(index, entry, nullptr); FAILED(hr)) return hr;
            return VariantCopy(result, &entry->value);
        });
    }

    HRESULT STDMETHODCALLTYPE Add(VARIANT* item, VARIANT* key, VARIANT* before, VARIANT* after) override {
        return Guard([&] { return AddItem(item, key, before, after); });
    }

    HRESULT STDMETHODCALLTYPE Count(long* count) override {
        if (!count) return E_POINTER;
        *count = static_cast<long>(order_.size());
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE Remove(VARIANT* index) override {
        return Guard([&] {
            Entry* entry = nullptr;
            if (HRESULT hr = Find(index, entry, nullptr); FAILED(hr)) return hr;
            // The value goes last, once the collection is in order without the item:
            // releasing an object may run code that uses this collection again.
            if (entry->hasKey()) keys_.Erase(entry);
            order_.Erase(entry);
            Tally(entry->value, -1);
            VARIANT value = TakeEntry(pool_, entry);
            if (order_.size() == 0) pool_.Release();
            VariantClear(&value);
            return S_OK;
        });
    }

    HRESULT STDMETHODCALLTYPE _NewEnum(IUnknown** out) override {
        return CEnumVariant::New(IID_IUnknown, reinterpret_cast<void**>(out), this);
    }

    // ILibraryCollection
    HRESULT STDMETHODCALLTYPE AppendText(const wchar_t* text, UINT length) override {
        return Guard([&] {
            VARIANT value;
            VariantInit(&value);
            V_VT(&value) = VT_BSTR;
            V_BSTR(&value) = SysAllocStringLen(text, length);
            if (!V_BSTR(&value)) return Raise(kErrOutOfMemory);
            Entry* entry = nullptr;
            try {
                entry = NewEntry(pool_, value, {}, 0);
                order_.Insert(order_.size(), entry);
                Tally(entry->value, 1);
            } catch (...) {
                if (entry) DeleteEntry(pool_, entry);
                else VariantClear(&value);
                throw;
            }
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE ItemsInPlace(long first, ULONG count, const VARIANT** items, ULONG* fetched) override {
        if (!items || !fetched) return E_POINTER;
        *fetched = 0;
        if (first < 1 || static_cast<size_t>(first) > order_.size()) return Raise(kErrSubscript);
        const size_t start = static_cast<size_t>(first - 1);
        const ULONG n = static_cast<ULONG>(std::min<size_t>(count, order_.size() - start));
        for (ULONG i = 0; i < n; ++i) items[i] = &static_cast<Entry*>(order_.At(start + i))->value;
        *fetched = n;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE StringLength(ULONGLONG* characters) override {
        if (!characters) return E_POINTER;
        *characters = stringCharacters_;
        return others_ == 0 ? S_OK : S_FALSE;
    }

private:
    HRESULT AddItem(VARIANT* item, VARIANT* key, VARIANT* before, VARIANT* after) {
        VARIANT* value = Deref(item);
        if (!value || ((V_VT(value) & VT_BYREF) && !V_BYREF(value))) return Raise(kErrInvalidCall);
        if (IsMissing(*value)) return Raise(kErrArgumentNotOptional);  // nothing to store
        support::Variant copy;
        if (HRESULT hr = VariantCopyInd(copy.get(), value); FAILED(hr)) return hr;

        FoldedKey folded;
        uint32_t hash = 0;
        KeyIndex::Place place;
        const bool hasBefore = before && !IsMissing(*before), hasAfter = after && !IsMissing(*after);
        if (key && !IsMissing(*key)) {
            std::wstring_view text;
            support::Variant holder;
            if (!KeyText(*key, text, holder)) return Raise(kErrTypeMismatch);
            folded.Fold(text);
            // An empty key cannot be found again; it is refused as the runtime does.
            if (folded.view().empty()) return Raise(kErrInvalidCall);
            hash = KeyIndex::Hash(folded.view());
            // One probe sequence finds a duplicate and the slot for the new key. Resolving
            // Before or After may run a caller's code (an object's default value) that changes
            // the collection, so then the slot is found again afterwards.
            if (hasBefore || hasAfter ? keys_.Find(folded.view(), hash) != nullptr
                                      : (place = keys_.Locate(folded.view(), hash)).found != nullptr)
                return Raise(kErrDuplicateKey);
        }

        size_t insertAt = order_.size();
        if (hasBefore && hasAfter) return Raise(kErrInvalidCall);
        if (hasBefore || hasAfter) {
            Entry* anchor = nullptr;
            size_t position = 0;
            if (HRESULT hr = Find(hasBefore ? before : after, anchor, &position); FAILED(hr)) return hr;
            insertAt = hasBefore ? position : position + 1;
            if (!folded.view().empty() && (place = keys_.Locate(folded.view(), hash)).found)
                return Raise(kErrDuplicateKey);
        }

        // Nothing changes until the entry and every node it needs exist.
        Entry* entry = NewEntry(pool_, *copy.get(), folded.view(), hash);
        try {
            order_.Insert(insertAt, entry);
        } catch (...) {
            DeleteEntry(pool_, entry);
            throw;
        }
        Tally(entry->value, 1);
        if (entry->hasKey()) keys_.Fill(place, entry);
        return S_OK;
    }

    // Finds an item by its 1-based position or by its key; `position` (0-based) is filled
    // only when asked for, since a keyed item's position costs O(log n).
    HRESULT Find(VARIANT* index, Entry*& entry, size_t* position) {
        VARIANT* v = Deref(index);
        if (!v || IsMissing(*v)) return Raise(kErrInvalidCall);
        if (V_VT(v) == (VT_BSTR | VT_BYREF) && !V_BSTRREF(v)) return Raise(kErrTypeMismatch);
        if (V_VT(v) == VT_BSTR || V_VT(v) == (VT_BSTR | VT_BYREF)) {
            BSTR text = V_VT(v) == VT_BSTR ? V_BSTR(v) : *V_BSTRREF(v);
            FoldedKey folded;
            folded.Fold(support::BstrView(text));
            const KeyIndex::Key* found = keys_.Find(folded.view(), KeyIndex::Hash(folded.view()));
            if (!found) return Raise(kErrInvalidCall);
            entry = static_cast<Entry*>(const_cast<KeyIndex::Key*>(found));
            if (position) *position = order_.PositionOf(entry);
            return S_OK;
        }
        long n = 0;
        if (V_VT(v) == VT_I4) {
            n = V_I4(v);
        } else if (V_VT(v) == VT_I2) {
            n = V_I2(v);
        } else {
            support::Variant number;
            if (FAILED(ConvertValue(*v, VT_I4, *number.get()))) return Raise(kErrTypeMismatch);
            n = V_I4(number.get());
        }
        if (n < 1 || static_cast<size_t>(n) > order_.size()) return Raise(kErrSubscript);
        entry = static_cast<Entry*>(order_.At(static_cast<size_t>(n - 1)));
        if (position) *position = static_cast<size_t>(n - 1);
        return S_OK;
    }

    // Keeps the strings' total length and the number of other items (values never change in
    // place), for JoinCollection to size its result before it reads the items.
    void Tally(const VARIANT& value, int sign) {
        if (V_VT(&value) != VT_BSTR) {
            others_ += static_cast<size_t>(sign);
            return;
        }
        const ULONGLONG length = V_BSTR(&value) ? SysStringLen(V_BSTR(&value)) : 0;
        stringCharacters_ = sign > 0 ? stringCharacters_ + length : stringCharacters_ - length;
    }

    EntryPool pool_;  // before the others: it goes last
    PositionTree order_;
    KeyIndex keys_;
    ULONGLONG stringCharacters_ = 0;
    size_t others_ = 0;
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
        if (HRESULT hr = VariantCopy(&items[done], const_cast<VARIANT*>(&owner_->at(position_).value)); FAILED(hr)) {
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
