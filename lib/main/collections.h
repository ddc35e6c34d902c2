// orxMain's collection helpers: the Collection builder, the collection searches, and
// JoinCollection / SplitCollection.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "Basekit0308.h"

namespace bk {

// A collection of the arguments (a one-dimensional array of variants), each under the key of
// its 1-based position ("1", "2", …). An unusable argument list gives no collection.
HRESULT BuildCollection(SAFEARRAY* args, _Collection** result);

enum class ItemMatch {
    Value,           // the runtime's `=` for two variants
    ExactText,       // both as text, equal code units
    TextIgnoreCase,  // both as text, equal by the user locale ignoring case
};

// The position of the first item between StartAt and EndAt (default 1 and Count) that matches
// `findWhat`, or 0. A null never matches. Items are fetched by position through the
// collection's own Item, so a position outside fails with the collection's error.
HRESULT FindInCollection(_Collection** collection, const VARIANT& findWhat, const VARIANT& startAt,
                         const VARIANT& endAt, ItemMatch match, VARIANT_BOOL* isFound, LONG* result);

// The items as text with `delimiter` between them. Unless `raiseErrors`, a failing step is
// skipped: an item without a text form adds nothing, the delimiter after it still comes.
HRESULT JoinCollectionText(_Collection** source, BSTR delimiter, bool raiseErrors, BSTR* result);

// A collection of the pieces of `expression` between occurrences of `delimiter` (a blank when
// missing). Unless `raiseErrors`, a failing split gives an empty collection.
HRESULT SplitToCollection(BSTR expression, const VARIANT& delimiter, LONG limit, VbCompareMethod compare,
                          bool raiseErrors, _Collection** result);

}  // namespace bk
