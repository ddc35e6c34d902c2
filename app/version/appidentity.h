// The running program's identity as its version resource states it: title, version numbers
// and legal copyright. Platform-free: the texts built from it take it as input.
#pragma once

#include <string>

namespace metaview {

struct AppIdentity {
    std::wstring title;           // "Orvex - Metaview"
    int major = 0;
    int minor = 0;
    int revision = 0;
    std::wstring legalCopyright;  // the copyright line in the resource's own language
};

}  // namespace metaview
