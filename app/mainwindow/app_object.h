// Metaview's application object: what the classic runtime's App object told a library about
// the program (Title, EXEName, Path, Major, Minor, Revision, CompanyName, LegalCopyright),
// built from the program's identity. Answers by name only (IDispatch without type
// information), which is how the library reads it.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include "support/components/appidentity.h"
#include "support/win/com.h"

namespace metaview {

// A new application object holding a copy of `identity`.
support::ComPtr<IDispatch> CreateAppObject(const support::AppIdentity& identity);

}  // namespace metaview
