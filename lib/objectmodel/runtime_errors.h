// Run-time error numbers the library raises and their standard English texts.
// Platform-free: no windows.h.
#pragma once

#include <string_view>

namespace bk {

enum RuntimeError : long {
    kErrInvalidCall = 5,        // invalid procedure call or argument
    kErrOverflow = 6,
    kErrOutOfMemory = 7,
    kErrSubscript = 9,          // subscript out of range
    kErrTypeMismatch = 13,
    kErrObjectRequired = 424,
    kErrNoSuchMember = 438,
    kErrInvalidProperty = 380,
    kErrArgumentCount = 450,    // wrong number of arguments or invalid property assignment
    kErrDuplicateKey = 457,
};

// The standard text of a run-time error number, or the generic text for numbers without one.
std::wstring_view RuntimeErrorText(long number);

}  // namespace bk
