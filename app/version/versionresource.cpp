#include "app/version/versionresource.h"

#include "support/es/paths.h"
#include "support/win/versioninfo.h"

namespace metaview {

std::optional<support::AppIdentity> ReadAppIdentity(const std::wstring& moduleFile) {
    const support::VersionInfo info(moduleFile);
    if (!info.ok()) return std::nullopt;
    support::AppIdentity app;
    app.title = info.String(L"FileDescription");
    if (app.title.empty()) app.title = info.String(L"ProductName");
    app.exeName = support::FileBaseName(moduleFile);
    app.path = support::esGetFilePath(moduleFile);
    app.major = info.Major();
    app.minor = info.Minor();
    app.revision = info.Revision();
    app.legalCopyright = info.String(L"LegalCopyright");
    app.companyName = info.String(L"CompanyName");
    return app;
}

}  // namespace metaview
