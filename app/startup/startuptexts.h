// Texts of the start-up: the usage message and the report of an error that ends the start.
// Platform-free.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/components/appidentity.h"

namespace metaview {

// The information block (title, version, copyright line), an empty line, then
// "Usage: <exe base name>[.EXE] FileName".
std::wstring UsageMessage(const support::AppIdentity& app, bool english, std::wstring_view exeBaseName);

// "Run-time error '<number>':", an empty line, then the description. The number of an
// automation run-time error (facility 0x0A) is its code; any other status shows as the signed
// value with its hexadecimal form, as in "-2147221164 (80040154)".
std::wstring StartupErrorMessage(std::int32_t status, std::wstring_view description);

}  // namespace metaview
