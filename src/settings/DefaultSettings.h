#pragma once
// The program's settings store for this platform: the registry on Windows
// (RegistrySettings), the file IniFileSettings::DefaultPath() elsewhere.

#include <memory>

#include "settings/SettingsStore.h"

namespace stallmark {

// Off Windows the file is loaded here: an unreadable file throws SettingsError.
// The caller owns the store and calls Flush() to make writes lasting.
std::unique_ptr<SettingsStore> CreateDefaultSettings();

}  // namespace stallmark
