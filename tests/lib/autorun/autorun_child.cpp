// Helper program of the autorun tests: registers itself through orxAutorunSupport with only
// an identifier, so the library stores this program's own path.
//     autorun_child.exe <identifier> user|machine
// Exit code: 0 registered, 1 refused, 2 the library or the call failed.
#include <windows.h>

#include <string>

#include "tests/harness/library.h"

int wmain(int argc, wchar_t** argv) {
    support::ComApartment apartment;
    if (argc != 3) return 2;
    auto autorun = bktest::Create<_orxAutorunSupport>(CLSID_orxAutorunSupport);
    if (!autorun) return 2;
    if (FAILED(autorun->put_ForCurrentUserOnly(std::wstring(argv[2]) == L"user" ? VARIANT_TRUE : VARIANT_FALSE)))
        return 2;
    bktest::Bstr id(argv[1]);
    VARIANT_BOOL added = VARIANT_FALSE;
    if (FAILED(autorun->AddToAutorun(id.get(), nullptr, &added))) return 2;
    return added ? 0 : 1;
}
