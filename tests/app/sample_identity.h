// The identity of a Metaview build as the texts take it, for the platform-free text tests.
#pragma once

#include <string>

#include "support/components/appidentity.h"

namespace mvtest {

inline const std::wstring kRussianCopyright = L"А. Ковалев 2008-2026. Посвящается Lumen";
inline const std::wstring kEnglishCopyright = L"A. Kovalev 2008-2026. Dedicated to Lumen";

inline support::AppIdentity SampleIdentity(int major, int minor, int revision) {
    support::AppIdentity app;
    app.title = L"Orvex - Metaview";
    app.exeName = L"Metaview";
    app.major = major;
    app.minor = minor;
    app.revision = revision;
    app.legalCopyright = kRussianCopyright;
    app.companyName = L"Orvex";
    return app;
}

}  // namespace mvtest
