#include "lib/main/collections.h"

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
    for (long position = 1; position <= count; ++position) {
        support::Variant index = support::Variant::FromLong(position);
        support::Variant item;
        std::wstring piece;
        if (steps.Succeeded(items->Item(index.get(), item.put())) && steps.Succeeded(ToText(*item.get(), piece)))
            text += piece;
        if (steps.MustStop()) return steps.error();
        if (position < count) text += support::BstrView(delimiter);
    }
    return support::AllocBstr(text, result);
}

HRESULT SplitToCollection(BSTR expression, const VARIANT& delimiter, LONG limit, VbCompareMethod compare,
                          bool raiseErrors, _Collection** result) {
    if (!result) return E_POINTER;
    *result = nullptr;
    MemberSteps steps(raiseErrors);

    // The split: a failure of any of its parts leaves no pieces.
    std::vector<std::wstring> pieces;
    std::wstring separator = L" ";
    bool canSplit = IsMissing(delimiter) || steps.Succeeded(ToText(delimiter, separator));
    TextEquals equals;
    if (compare == vbBinaryCompare) {
        equals = [](std::wstring_view a, std::wstring_view b) { return ExactTextEquals(a, b); };
    } else if (compare == vbTextCompare) {
        equals = [](std::wstring_view a, std::wstring_view b) { return TextEqualsIgnoringCase(a, b); };
    } else {
        canSplit = steps.Succeeded(RaiseMain(kErrInvalidCall)) && canSplit;
    }
    if (steps.MustStop()) return steps.error();
    if (canSplit) pieces = SplitText(support::BstrView(expression), separator, limit, equals);

    ComPtr<_Collection> collection;
    if (HRESULT hr = CreateCollection(collection.put()); FAILED(hr)) return RaiseMain(kErrOutOfMemory);
    for (const auto& piece : pieces) {
        support::Variant value = support::Variant::FromString(piece);
        steps.Succeeded(CollectionAppend(collection.get(), *value.get()));
        if (steps.MustStop()) return steps.error();
    }
    *result = collection.detach();
    return S_OK;
}

}  // namespace bk
