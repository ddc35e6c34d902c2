#include "runtime_errors.h"

namespace bk {

std::wstring_view RuntimeErrorText(long number) {
    switch (number) {
    case 3: return L"Return without GoSub";
    case 5: return L"Invalid procedure call or argument";
    case 6: return L"Overflow";
    case 7: return L"Out of memory";
    case 9: return L"Subscript out of range";
    case 10: return L"This array is fixed or temporarily locked";
    case 11: return L"Division by zero";
    case 13: return L"Type mismatch";
    case 52: return L"Bad file name or number";
    case 53: return L"File not found";
    case 57: return L"Device I/O error";
    case 58: return L"File already exists";
    case 61: return L"Disk full";
    case 70: return L"Permission denied";
    case 75: return L"Path/File access error";
    case 76: return L"Path not found";
    case 91: return L"Object variable or With block variable not set";
    case 94: return L"Invalid use of Null";
    case 380: return L"Invalid property value";
    case 400: return L"Form already displayed; can't show modally";
    case 424: return L"Object required";
    case 429: return L"ActiveX component can't create object";
    case 438: return L"Object doesn't support this property or method";
    case 445: return L"Object doesn't support this action";
    case 448: return L"Named argument not found";
    case 449: return L"Argument not optional";
    case 450: return L"Wrong number of arguments or invalid property assignment";
    case 457: return L"This key is already associated with an element of this collection";
    case 459: return L"Object or class does not support the set of events";
    default: return L"Application-defined or object-defined error";
    }
}

}  // namespace bk
