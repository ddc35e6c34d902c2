// A text dump of a type library as the type library API serves it: the library's attributes,
// then every type in the library's order with its kind, identifier, flags and help string;
// enumerations with their values, classes with their interfaces, and interfaces with their
// members in vtable-slot order (dispatch id, invoke kind, flags, parameters with their types,
// flags and defaults, help strings). UTF-8, one item per line, the same on every run, so that a
// change of the published object model shows as a change of lines.
#pragma once

#include <oaidl.h>

#include <string>
#include <string_view>

namespace bktest {

// The library's help strings and string defaults are stored as Windows-1251 bytes, and the
// type library API hands them out decoded with the process's ANSI code page. The text as
// stored, from what the API handed out: the same text under code page 1251, recovered through
// the ANSI code page under another single-byte one, and a "<...>" note where it cannot be.
std::wstring StoredText(std::wstring_view asRead);

// The dump of `lib` (lines end with '\n').
std::string DumpTypeLibrary(ITypeLib* lib);

}  // namespace bktest
