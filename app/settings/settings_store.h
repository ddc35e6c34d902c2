// Loading and saving Metaview's settings (g_settings) through the per-user settings store.
#pragma once

#include "support/components/appidentity.h"

namespace metaview {

// Reads the four settings into g_settings, in the order language, charset, back colour, fore
// colour. Nothing stored (or nothing usable) gives the built-in values: "en", "Cyrillic",
// 0x4000 on, 0xFF00.
void LoadSettings(const support::AppIdentity& app);

// Writes the four settings from g_settings, changed or not, in the same order. Stops at the
// first value that cannot be written and returns false; true when all four were written.
bool SaveSettings(const support::AppIdentity& app);

}  // namespace metaview
