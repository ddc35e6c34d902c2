#include "lib/main/arrays.h"

#include <climits>
#include <string>

#include "lib/main/automation_values.h"
#include "lib/main/search_walk.h"
#include "lib/objectmodel/errors.h"
#include "lib/objectmodel/runtime_errors.h"
#include "lib/objectmodel/variants.h"
#include "support/win/com.h"
#include "support/win/owner.h"

namespace bk {
namespace {

using namespace mainhelpers;

// An array of `type` with the bounds of the argument list, or without elements when the
// list is unusable; each element set by `convert(argument, element variant)`.
template <class Convert>
HRESULT BuildArray(SAFEARRAY* args, VARTYPE type, SAFEARRAY** result, Convert&& convert) {
    if (!result) return E_POINTER;
    *result = nullptr;
    ArrayReader reader;
    const bool haveArgs = args && SUCCEEDED(reader.Open(args, false));
    const long lower = haveArgs ? reader.lower() : 0;
    const long long count = haveArgs ? static_cast<long long>(reader.upper()) - lower + 1 : 0;
    SAFEARRAYBOUND bound{static_cast<ULONG>(count > 0 ? count : 0), lower};
    support::SafeArray out(SafeArrayCreate(type, 1, &bound));
    if (!out.get()) return RaiseMain(kErrOutOfMemory);
    MemberSteps steps(false);  // a failing element is skipped and keeps its empty value
    for (long long i = 0; i < count; ++i) {
        LONG position = static_cast<LONG>(lower + i);
        VARIANT argument;
        support::Variant element;
        if (!steps.Succeeded(reader.View(position, argument) ? S_OK : DISP_E_TYPEMISMATCH) ||
            !steps.Succeeded(convert(argument, *element.get())))
            continue;
        void* data = type == VT_BSTR ? static_cast<void*>(V_BSTR(element.get())) : &V_I4(element.get());
        steps.Succeeded(SafeArrayPutElement(out.get(), &position, data));
    }
    *result = out.detach();
    return S_OK;
}

// The array behind an ArrayX argument, opened for reading, and the search's not-found value.
HRESULT OpenSearchedArray(SAFEARRAY** arrayX, ArrayReader& reader, LONG& notFound) {
    if (!arrayX) return E_POINTER;
    if (HRESULT hr = reader.Open(*arrayX); FAILED(hr)) return hr;
    if (reader.lower() == LONG_MIN) return RaiseMain(kErrOverflow);  // no position below it
    notFound = reader.lower() - 1;
    return S_OK;
}

// Walks the searched range of an array; `matches(position, matched)` compares one element.
template <class Matches>
HRESULT SearchArray(SAFEARRAY** arrayX, const VARIANT& startAt, const VARIANT& endAt, VARIANT_BOOL* isFound,
                    LONG* result, Matches&& matches) {
    if (!result) return E_POINTER;
    *result = 0;
    if (isFound) *isFound = VARIANT_FALSE;
    ArrayReader reader;
    LONG notFound = 0;
    if (HRESULT hr = OpenSearchedArray(arrayX, reader, notFound); FAILED(hr)) return hr;
    *result = notFound;
    std::optional<long> first, last;
    if (HRESULT hr = OptionalPosition(startAt, first); FAILED(hr)) return hr;
    if (HRESULT hr = OptionalPosition(endAt, last); FAILED(hr)) return hr;
    SearchResult found;
    HRESULT hr = FindFirst(ResolveRange(first, last, reader.lower(), reader.upper()), notFound, S_OK,
                           [&](long position, bool& matched) -> HRESULT {
                               if (!reader.Contains(position)) return RaiseMain(kErrSubscript);
                               return matches(reader, position, matched);
                           },
                           found);
    if (FAILED(hr)) return hr;
    *result = found.position;
    if (isFound && found.found) *isFound = VARIANT_TRUE;
    return S_OK;
}

}  // namespace

HRESULT BuildArrayString(SAFEARRAY* args, SAFEARRAY** result) {
    return BuildArray(args, VT_BSTR, result, [](const VARIANT& argument, VARIANT& element) -> HRESULT {
        std::wstring text;
        if (HRESULT hr = TextOf(argument, text); FAILED(hr)) return hr;
        V_VT(&element) = VT_BSTR;
        V_BSTR(&element) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        return V_BSTR(&element) || text.empty() ? S_OK : E_OUTOFMEMORY;
    });
}

HRESULT BuildArrayLong(SAFEARRAY* args, SAFEARRAY** result) {
    // The automation conversion rounds fractions to the nearest integer, halves to the even one.
    return BuildArray(args, VT_I4, result, [](const VARIANT& argument, VARIANT& element) -> HRESULT {
        return ConvertValue(argument, VT_I4, element);
    });
}

HRESULT FindInArrayLong(SAFEARRAY** arrayX, LONG findWhat, const VARIANT& startAt, const VARIANT& endAt,
                        VARIANT_BOOL* isFound, LONG* result) {
    return SearchArray(arrayX, startAt, endAt, isFound, result,
                       [findWhat](const ArrayReader& reader, long position, bool& matched) -> HRESULT {
                           if (reader.type() == VT_I4) {
                               matched = *static_cast<const LONG*>(reader.Element(position)) == findWhat;
                               return S_OK;
                           }
                           // Any other element type compares as the runtime's `=` does.
                           VARIANT element, wanted;
                           if (!reader.View(position, element)) return RaiseMain(kErrTypeMismatch);
                           V_VT(&wanted) = VT_I4;
                           V_I4(&wanted) = findWhat;
                           return VariantEquals(element, wanted, matched);
                       });
}

HRESULT FindInArrayString(SAFEARRAY** arrayX, BSTR findWhat, const VARIANT& startAt, const VARIANT& endAt,
                          TextMatch match, VARIANT_BOOL* isFound, LONG* result) {
    const std::wstring_view wanted = support::BstrView(findWhat);
    auto equals = match == TextMatch::Exact ? ExactTextEquals : TextEqualsIgnoringCase;
    return SearchArray(arrayX, startAt, endAt, isFound, result,
                       [&](const ArrayReader& reader, long position, bool& matched) -> HRESULT {
                           if (reader.type() == VT_BSTR) {
                               matched = equals(support::BstrView(*static_cast<const BSTR*>(reader.Element(position))),
                                                wanted);
                               return S_OK;
                           }
                           // Any other element type is compared as text; a null never matches.
                           VARIANT element;
                           if (!reader.View(position, element)) return RaiseMain(kErrTypeMismatch);
                           if (IsNull(element)) return S_OK;
                           std::wstring text;
                           if (HRESULT hr = ToText(element, text); FAILED(hr)) return hr;
                           matched = equals(text, wanted);
                           return S_OK;
                       });
}

}  // namespace bk
