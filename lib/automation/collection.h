// The library's collection: 1-based ordered items with optional unique text keys (compared
// without regard to case), behind the automation runtime's collection interface.
// Positions are ranks in an order-statistic tree and keys live in a flat hash index, so Add,
// Item, Remove and enumeration stay O(log n) or better for very large counts.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "Basekit0308.h"

namespace bk {

// What the library's own collections offer the library beyond _Collection: items read where
// they are stored and strings appended without a round trip through a VARIANT. Reached by
// QueryInterface with its identifier within the process only (it is in no type library), so
// a caller's own collection, or one in another apartment, simply does not answer it.
struct ILibraryCollection : IUnknown {
    // Appends `length` characters of `text` as a string item without a key, as Add does.
    virtual HRESULT STDMETHODCALLTYPE AppendText(const wchar_t* text, UINT length) = 0;
    // Up to `count` items from 1-based position `first` on, where they are stored (valid until
    // the collection next changes); fewer at the end. A `first` outside the collection fails
    // with the error Item raises for it.
    virtual HRESULT STDMETHODCALLTYPE ItemsInPlace(long first, ULONG count, const VARIANT** items, ULONG* fetched) = 0;
    // S_OK and the characters of all items together when every item is a string; S_FALSE
    // when some item is not.
    virtual HRESULT STDMETHODCALLTYPE StringLength(ULONGLONG* characters) = 0;
};

// Creates an empty collection; the caller owns the reference.
HRESULT CreateCollection(_Collection** out);

// Appends a value under an optional key (empty key: none) through the collection's own rules.
HRESULT CollectionAppend(_Collection* collection, const VARIANT& value, const wchar_t* key = nullptr);

}  // namespace bk

__CRT_UUID_DECL(bk::ILibraryCollection, 0x5b1f7c2e, 0x8d4a, 0x4e61, 0x9a, 0x37, 0x2c, 0x6e, 0x0f, 0x51, 0xd8, 0x94)
