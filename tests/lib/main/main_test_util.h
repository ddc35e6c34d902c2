// Helpers of the orxMain tests: arrays and argument lists to pass, results to read back.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "tests/harness/library.h"

namespace bktest {

using support::SafeArray;

// A one-dimensional array with the given lower bound holding the values.
SafeArray LongArray(LONG lower, std::initializer_list<LONG> values);
SafeArray StringArray(LONG lower, std::initializer_list<const wchar_t*> values);
SafeArray VariantArray(LONG lower, std::initializer_list<const VARIANT*> values);

// Bounds and elements of a one-dimensional array.
LONG Lower(SAFEARRAY* a);
LONG Upper(SAFEARRAY* a);
std::vector<LONG> Longs(SAFEARRAY* a);
std::vector<std::wstring> Strings(SAFEARRAY* a);

// Variants of the other kinds the tests pass.
Variant Null();
Variant ErrorValue(SCODE code);
Variant ByRef(VARTYPE type, void* target);  // a reference to `target` of `type`

// Items of a collection read through Count and Item, as text ("<vt n>" for non-texts).
std::vector<std::wstring> Texts(_Collection* c);
std::wstring ItemText(_Collection* c, const VARIANT& index);

}  // namespace bktest
