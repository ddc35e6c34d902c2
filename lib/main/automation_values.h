// Variant, array and text helpers shared by orxMain's array and collection members:
// the automation runtime's conversions and comparisons, and the errors they raise.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <optional>
#include <string>
#include <string_view>

#include "lib/objectmodel/variants.h"
#include "support/win/owner.h"

namespace bk::mainhelpers {

// Raises run-time error `number` with orxMain as its source.
HRESULT RaiseMain(long number);

// Raises the run-time error that a failed conversion or comparison of `value` stands for
// (see ConversionErrorNumber).
HRESULT RaiseConversionError(HRESULT hr, const VARIANT& value);

// An optional position argument: absent when omitted, else converted to a 32-bit integer by
// the automation rules (a failure is raised).
HRESULT OptionalPosition(const VARIANT& v, std::optional<long>& out);

// The value as text by the automation rules (booleans as "True"/"False"); an error value
// gives "Error n". A null or a value without a text form fails: TextOf returns the run-time
// error's HRESULT without raising it, ToText raises it.
HRESULT TextOf(const VARIANT& v, std::wstring& out);
HRESULT ToText(const VARIANT& v, std::wstring& out);

// Equality of texts: binary (exact code units) or the user locale's comparison ignoring case.
bool ExactTextEquals(std::wstring_view a, std::wstring_view b);
bool TextEqualsIgnoringCase(std::wstring_view a, std::wstring_view b);

// The runtime's `=` for two variants: numbers by value, two texts exactly; a null on either
// side never matches. A pair that cannot be compared fails with the raised error.
HRESULT VariantEquals(const VARIANT& a, const VARIANT& b, bool& equal);

// A one-dimensional array locked for reading: its bounds, element type and elements.
class ArrayReader {
public:
    ArrayReader() = default;
    ArrayReader(const ArrayReader&) = delete;
    ArrayReader& operator=(const ArrayReader&) = delete;

    // Opens `array`; an absent or not one-dimensional array fails with error 9 (raised when
    // `raise` is set, else returned as DISP_E_BADINDEX without error information).
    HRESULT Open(SAFEARRAY* array, bool raise = true);

    long lower() const { return lower_; }
    long upper() const { return upper_; }
    VARTYPE type() const { return type_; }
    bool Contains(long position) const { return position >= lower_ && position <= upper_; }

    // Raw element at a position inside the bounds.
    const void* Element(long position) const;
    // A read-only view of the element as a variant; it owns nothing and must not be cleared.
    // Fails for element types a variant cannot view (records).
    bool View(long position, VARIANT& view) const;

private:
    support::ArrayLock array_;
    long lower_ = 0;
    long upper_ = -1;
    VARTYPE type_ = VT_EMPTY;
};

}  // namespace bk::mainhelpers
