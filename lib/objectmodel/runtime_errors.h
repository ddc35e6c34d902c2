// Run-time error numbers (the automation runtime's numbering) and their standard English
// texts: the one list for the library and Metaview. Platform-free: no windows.h.
#pragma once

#include <string_view>

namespace bk {

enum RuntimeError : long {
    kErrInvalidCall = 5,          // invalid procedure call or argument
    kErrOverflow = 6,
    kErrOutOfMemory = 7,
    kErrSubscript = 9,            // subscript out of range
    kErrArrayLocked = 10,         // the array is fixed or temporarily locked
    kErrDivisionByZero = 11,
    kErrTypeMismatch = 13,
    kErrObjectNotSet = 91,        // object variable not set (a member used on Nothing)
    kErrInvalidUseOfNull = 94,
    kErrInvalidProperty = 380,
    kErrFormAlreadyShown = 400,   // a form already displayed can't be shown modally
    kErrObjectRequired = 424,
    kErrNoSuchMember = 438,       // object doesn't support this property or method
    kErrActionNotSupported = 445,
    kErrNamedArgument = 448,      // named argument not found
    kErrArgumentNotOptional = 449,
    kErrArgumentCount = 450,      // wrong number of arguments or invalid property assignment
    kErrDuplicateKey = 457,
    kErrEventsNotSupported = 459, // object or class does not support the set of events
};

// The standard text of a run-time error number, or the generic text for numbers without one.
std::wstring_view RuntimeErrorText(long number);

}  // namespace bk
