// The identity of the running application: what the classic runtime's application object
// carried (title, executable name, version numbers, folder). Components that store data per
// application (settings) and texts that name the program are built from it.
#pragma once

#include <string>

namespace support {

struct AppIdentity {
    std::wstring title;      // e.g. "Orvex - Metaview"
    std::wstring exeName;    // executable base name without extension, e.g. "Metaview"
    std::wstring path;       // folder of the executable
    int major = 0, minor = 0, revision = 0;
    std::wstring legalCopyright;
    std::wstring companyName;  // e.g. "Orvex"
};

}  // namespace support
