#include "lib/main/collections.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "lib/automation/collection.h"
#include "lib/main/automation_values.h"
#include "lib/main/collection_split.h"
#include "lib/main/search_walk.h"
#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/runtime_errors.h"
#include "support/win/com.h"
#include "support/win/owner.h"

namespace bk {
namespace {

using namespace mainhelpers;
using support::ComPtr;

// The collection behind a collection argument. Late-bound callers can hand in any object,
// so it is asked for the collection interface rather than trusted to be one.
HRESULT CollectionOf(_Collection** argument, ComPtr<_Collection>& out) {
    if (!argument || !*argument) return RaiseMain(kErrObjectNotSet);
    if (FAILED((*argument)->QueryInterface(__uuidof(_Collection), out.put_void()))) return RaiseMain(kErrTypeMismatch);
    return S_OK;
}

}  // namespace

HRESULT BuildCollection(SAFEARRAY* args, _Collection** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    ArrayReader reader;
    if (!args || FAILED(reader.Open(args, false))) return S_OK;  // no collection
    ComPtr<_Collection> collection;
    if (HRESULT hr = CreateCollection(collection.put()); FAILED(hr)) return RaiseMain(kErrOutOfMemory);
    MemberSteps steps(false);
    for (long long position = reader.lower(); position <= reader.upper(); ++position) {
        VARIANT argument;
        if (!steps.Succeeded(reader.View(static_cast<long>(position), argument) ? S_OK : DISP_E_TYPEMISMATCH))
            continue;
        long count = 0;
        if (!steps.Succeeded(collection->Count(&count))) continue;
        const std::wstring key = std::to_wstring(static_cast<long long>(count) + 1);
        steps.Succeeded(CollectionAppend(collection.get(), argument, key.c_str()));
    }
    *result = collection.detach();
    return S_OK;
}

HRESULT FindInCollection(_Collection** collection, const VARIANT& findWhat, const VARIANT& startAt,
                         const VARIANT& endAt, ItemMatch match, VARIANT_BOOL* isFound, LONG* result) {
    if (!result) return E_POINTER;
    *result = 0;
    if (isFound) *isFound = VARIANT_FALSE;
    ComPtr<_Collection> owner;
    if (HRESULT hr = CollectionOf(collection, owner); FAILED(hr)) return hr;
    _Collection* items = owner.get();
    std::optional<long> first, last;
    if (HRESULT hr = OptionalPosition(startAt, first); FAILED(hr)) return hr;
    if (HRESULT hr = OptionalPosition(endAt, last); FAILED(hr)) return hr;
    long count = 0;
    if (!last) {
        if (HRESULT hr = items->Count(&count); FAILED(hr)) return hr;
    }

    // FindWhat as text, converted when the first item is compared with it.
    std::optional<std::wstring> wantedText;
    const bool wantedIsNull = IsNull(findWhat);
    auto compare = [&](long position, bool& matched) -> HRESULT {
        support::Variant index = support::Variant::FromLong(position);
        support::Variant item;
        if (HRESULT hr = items->Item(index.get(), item.put()); FAILED(hr)) return hr;
        if (match == ItemMatch::Value) return VariantEquals(findWhat, *item.get(), matched);
        if (wantedIsNull || IsNull(*item.get())) return S_OK;
        std::wstring text;
        if (HRESULT hr = ToText(*item.get(), text); FAILED(hr)) return hr;
        if (!wantedText) {
            std::wstring converted;
            if (HRESULT hr = ToText(findWhat, converted); FAILED(hr)) return hr;
            wantedText = std::move(converted);
        }
        matched = match == ItemMatch::ExactText ? ExactTextEquals(text, *wantedText)
                                                : TextEqualsIgnoringCase(text, *wantedText);
        return S_OK;
    };
    SearchResult found;
    if (HRESULT hr = FindFirst(ResolveRange(first, last, 1, count), 0, S_OK, compare, found); FAILED(hr)) return hr;
    *result = found.position;
    if (isFound && found.found) *isFound = VARIANT_TRUE;
    return S_OK;
}

// The length of a stored string, read from its length prefix as SysStringLen does (the call
// into another module would cost more than the rest of a short string's turn).
UINT StoredLength(BSTR text) { return text ? reinterpret_cast<const UINT*>(text)[-1] / sizeof(OLECHAR) : 0; }

// Joins a collection of the library's own holding nothing but strings straight into the
// result, sized from the length the collection keeps. S_FALSE when an item is not a string
// (or the result would be too long for a string), for the general way.
HRESULT JoinStoredStrings(ILibraryCollection* own, long count, std::wstring_view between, BSTR* result) {
    ULONGLONG characters = 0;
    if (own->StringLength(&characters) != S_OK) return S_FALSE;
    const ULONGLONG length = characters + static_cast<ULONGLONG>(between.size()) * static_cast<ULONGLONG>(count - 1);
    if (length > 0x3FFFFFFF) return S_FALSE;
    support::Bstr joined = support::Bstr::Attach(SysAllocStringLen(nullptr, static_cast<UINT>(length)));
    if (!joined.get()) return E_OUTOFMEMORY;
    wchar_t* at = joined.get();
    wchar_t* const end = at + length;
    constexpr ULONG kBatch = 256;
    const VARIANT* batch[kBatch];
    for (long first = 1; first <= count; first += static_cast<long>(kBatch)) {
        ULONG fetched = 0;
        const ULONG want = static_cast<ULONG>(std::min<long>(kBatch, count - first + 1));
        if (FAILED(own->ItemsInPlace(first, want, batch, &fetched)) || fetched != want) return S_FALSE;
        for (ULONG i = 0; i < fetched; ++i) {
            const std::wstring_view text = support::BstrView(V_BSTR(batch[i]));
            const bool last = first + static_cast<long>(i) == count;
            if (static_cast<size_t>(end - at) < text.size() + (last ? 0 : between.size())) return S_FALSE;
            at = std::copy(text.begin(), text.end(), at);
            if (!last) at = std::copy(between.begin(), between.end(), at);
        }
    }
    if (at != end) return S_FALSE;
    *result = joined.detach();
    return S_OK;
}

HRESULT JoinCollectionText(_Collection** source, BSTR delimiter, bool raiseErrors, BSTR* result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    MemberSteps steps(raiseErrors);
    std::wstring text;
    ComPtr<_Collection> owner;
    const bool haveItems = steps.Succeeded(CollectionOf(source, owner));
    _Collection* items = owner.get();
    long count = 0;
    if (!haveItems || !steps.Succeeded(items->Count(&count))) {
        if (steps.MustStop()) return steps.error();
        count = 0;
    }
    // The library's own collection lends its items where they are stored. Strings only are
    // joined straight into the result; otherwise a string is appended from where it is and
    // anything else copied first, as Item would hand it out, since converting an object runs
    // its code, which may change the collection.
    ComPtr<ILibraryCollection> own;
    if (count > 0) items->QueryInterface(__uuidof(ILibraryCollection), own.put_void());
    const std::wstring_view between = support::BstrView(delimiter);
    if (own) {
        if (HRESULT hr = JoinStoredStrings(own.get(), count, between, result); hr != S_FALSE) return hr;
    }
    for (long position = 1; position <= count; ++position) {
        const VARIANT* stored = nullptr;
        ULONG fetched = 0;
        if (own && steps.Succeeded(own->ItemsInPlace(position, 1, &stored, &fetched)) && V_VT(stored) == VT_BSTR) {
            text += support::BstrView(V_BSTR(stored));
        } else if (!own || stored) {
            support::Variant item;
            std::wstring piece;
            const HRESULT got = own ? VariantCopy(item.get(), const_cast<VARIANT*>(stored))
                                    : items->Item(support::Variant::FromLong(position).get(), item.put());
            if (steps.Succeeded(got) && steps.Succeeded(ToText(*item.get(), piece))) text += piece;
        }
        if (steps.MustStop()) return steps.error();
        if (position < count) text += between;
    }
    return support::AllocBstr(text, result);
}

HRESULT SplitToCollection(BSTR expression, const VARIANT& delimiter, LONG limit, VbCompareMethod compare,
                          bool raiseErrors, _Collection** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    MemberSteps steps(raiseErrors);

    // The split: a failure of any of its parts leaves no pieces.
    std::wstring separator = L" ";
    bool canSplit = IsMissing(delimiter) || steps.Succeeded(ToText(delimiter, separator));
    TextEquals equals = nullptr;  // binary: the delimiter's code units are searched for
    if (compare == vbTextCompare) {
        equals = TextEqualsIgnoringCase;
    } else if (compare != vbBinaryCompare) {
        canSplit = steps.Succeeded(RaiseMain(kErrInvalidCall)) && canSplit;
    }
    if (steps.MustStop()) return steps.error();

    ComPtr<_Collection> collection;
    ComPtr<ILibraryCollection> own;
    if (FAILED(CreateCollection(collection.put())) ||
        FAILED(collection->QueryInterface(__uuidof(ILibraryCollection), own.put_void())))
        return RaiseMain(kErrOutOfMemory);
    // Each piece goes into the collection as it is found.
    const std::wstring_view text = support::BstrView(expression);
    bool stopped = false;
    if (canSplit) {
        VisitPieces(text, separator, limit, equals, [&](size_t offset, size_t length) {
            steps.Succeeded(own->AppendText(text.data() + offset, static_cast<UINT>(length)));
            stopped = steps.MustStop();
            return !stopped;
        });
    }
    if (stopped) return steps.error();
    *result = collection.detach();
    return S_OK;
}

}  // namespace bk
