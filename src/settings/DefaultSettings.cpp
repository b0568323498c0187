#include "settings/DefaultSettings.h"

#ifdef _WIN32
#include "settings/RegistrySettings.h"
#else
#include "settings/IniFileSettings.h"
#endif

namespace stallmark {

std::unique_ptr<SettingsStore> CreateDefaultSettings() {
#ifdef _WIN32
    return std::make_unique<RegistrySettings>();
#else
    return std::make_unique<IniFileSettings>(IniFileSettings::DefaultPath());
#endif
}

}  // namespace stallmark
