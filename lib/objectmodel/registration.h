// Self-registration: the type library, the interfaces of its classes (marshalled through
// the type library), and each creatable or global class with its programmatic id.
#pragma once

#include <windows.h>

namespace bk {

HRESULT RegisterServer();
// Removes everything RegisterServer wrote.
HRESULT UnregisterServer();

}  // namespace bk
