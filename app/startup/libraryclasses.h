// Metaview's access to the classes of Basekit0308, bound early by class and interface
// identifier. A registered library is created through COM; when the classes are not
// registered, the DLL in Metaview's own folder is loaded and its class factories are used.
#pragma once

#include <windows.h>

#include "Basekit0308.h"
#include "support/win/com.h"
#include "support/win/owner.h"

namespace metaview {

class LibraryClasses {
public:
    LibraryClasses() = default;
    // Releases the objects first, then unloads the DLL if it was loaded here (members go in
    // reverse order of declaration; the objects are also released explicitly first).
    ~LibraryClasses();
    LibraryClasses(const LibraryClasses&) = delete;
    LibraryClasses& operator=(const LibraryClasses&) = delete;

    // The one orxMain object of the run, created on first use.
    HRESULT OrxMain(support::ComPtr<_orxMain>& out);
    // The one orxErr object of the run (error messages), created on first use.
    HRESULT OrxErr(support::ComPtr<_orxErr>& out);

    // Creates an object of a library class: through its registration, or, when the class is not
    // registered, through the factory of the DLL beside the executable.
    HRESULT Create(REFCLSID clsid, REFIID iid, void** out);

    // Whether the classes came from the DLL loaded here (they were not registered).
    bool usedLocalLibrary() const { return module_.valid(); }

private:
    HRESULT CreateFromLocalLibrary(REFCLSID clsid, REFIID iid, void** out);

    support::Module module_;               // freed last: the objects below come from it
    support::ComPtr<_orxMain> orxMain_;
    support::ComPtr<_orxErr> orxErr_;
};

}  // namespace metaview
