// Reads the program's identity from a module's version resource.
#pragma once

#include <optional>
#include <string>

#include "support/components/appidentity.h"

namespace metaview {

// The identity of `moduleFile`: title (FileDescription, else ProductName), FILEVERSION
// major.minor.revision, LegalCopyright and CompanyName of its version resource, its base name
// and folder; nothing when it has no version resource.
std::optional<support::AppIdentity> ReadAppIdentity(const std::wstring& moduleFile);

}  // namespace metaview
