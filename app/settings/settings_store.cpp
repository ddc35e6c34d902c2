#include "app/settings/settings_store.h"

#include "app/settings/settings.h"
#include "support/components/appsettings.h"

namespace metaview {

void LoadSettings(const support::AppIdentity& app) {
    const support::AppSettings store(app);
    g_settings.TextLanguage = LanguageFromStore(store.ReadText(keys::kExifToolSection, keys::kTextLanguage));
    g_settings.FileNameCharset = CharsetFromStore(store.ReadText(keys::kExifToolSection, keys::kFileNameCharset));
    g_settings.OutBoxBackColor =
        ColorFromStore(store.ReadNumber(keys::kOutBoxSection, keys::kBackColor, kUnsetColor), kDefaultBackColor);
    g_settings.OutBoxForeColor =
        ColorFromStore(store.ReadNumber(keys::kOutBoxSection, keys::kForeColor, kUnsetColor), kDefaultForeColor);
}

bool SaveSettings(const support::AppIdentity& app) {
    support::AppSettings store(app);
    return store.WriteText(keys::kExifToolSection, keys::kTextLanguage, g_settings.TextLanguage) == ERROR_SUCCESS &&
           store.WriteText(keys::kExifToolSection, keys::kFileNameCharset, g_settings.FileNameCharset) ==
               ERROR_SUCCESS &&
           store.WriteNumber(keys::kOutBoxSection, keys::kBackColor, static_cast<long>(g_settings.OutBoxBackColor)) ==
               ERROR_SUCCESS &&
           store.WriteNumber(keys::kOutBoxSection, keys::kForeColor, static_cast<long>(g_settings.OutBoxForeColor)) ==
               ERROR_SUCCESS;
}

}  // namespace metaview
