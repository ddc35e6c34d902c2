// Reads the program's identity from a module's version resource.
#pragma once

#include <optional>
#include <string>

#include "app/version/appidentity.h"
#include "support/appidentity.h"

namespace metaview {

// Title (FileDescription, else ProductName), FILEVERSION major.minor.revision and
// LegalCopyright of the version resource of `moduleFile`; nothing when it has no version
// resource.
std::optional<AppIdentity> ReadAppIdentity(const std::wstring& moduleFile);

// The application object that the settings store and the settings dialog take: the same
// values plus the executable's base name, its folder and the company name.
support::AppIdentity MakeApplicationIdentity(const AppIdentity& app, const std::wstring& moduleFile);

}  // namespace metaview
