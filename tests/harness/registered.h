// The library registered for the scope of a test, and its exports called directly.
#pragma once

#include <windows.h>

#include "tests/harness/library.h"

namespace bktest {

template <class F>
F Export(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Library(), name)));
}

inline HRESULT CallExport(const char* name) {
    auto f = Export<HRESULT(STDAPICALLTYPE*)()>(name);
    return f ? f() : E_FAIL;
}

// Registered for the scope of a test, unregistered after it whatever happened.
class Registered {
public:
    Registered() : hr_(CallExport("DllRegisterServer")) {}
    ~Registered() { CallExport("DllUnregisterServer"); }
    Registered(const Registered&) = delete;
    Registered& operator=(const Registered&) = delete;
    HRESULT result() const { return hr_; }

private:
    HRESULT hr_;
};

}  // namespace bktest
