#include "app/version/versionresource.h"

#include "support/paths.h"
#include "support/versioninfo.h"

namespace metaview {

std::optional<AppIdentity> ReadAppIdentity(const std::wstring& moduleFile) {
    const support::VersionInfo info(moduleFile);
    if (!info.ok()) return std::nullopt;
    AppIdentity app;
    app.title = info.String(L"FileDescription");
    if (app.title.empty()) app.title = info.String(L"ProductName");
    app.major = info.Major();
    app.minor = info.Minor();
    app.revision = info.Revision();
    app.legalCopyright = info.String(L"LegalCopyright");
    return app;
}

support::AppIdentity MakeApplicationIdentity(const AppIdentity& app, const std::wstring& moduleFile) {
    support::AppIdentity identity;
    identity.title = app.title;
    identity.exeName = support::FileBaseName(moduleFile);
    identity.path = support::esGetFilePath(moduleFile);
    identity.major = app.major;
    identity.minor = app.minor;
    identity.revision = app.revision;
    identity.legalCopyright = app.legalCopyright;
    identity.companyName = support::VersionInfo(moduleFile).String(L"CompanyName");
    return identity;
}

}  // namespace metaview
