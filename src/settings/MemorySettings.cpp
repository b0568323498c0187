#include "settings/MemorySettings.h"

namespace stallmark {

void MemorySettings::ThrowIfFailing() const {
    if (!failure_.empty()) throw SettingsError(failure_);
}

std::optional<std::string> MemorySettings::ReadRaw(const std::string& name) {
    ThrowIfFailing();
    auto it = strings_.find(name);
    if (it == strings_.end()) return std::nullopt;
    return it->second;
}

void MemorySettings::WriteRaw(const std::string& name, const std::string& value) {
    ThrowIfFailing();
    binaries_.erase(name);
    strings_[name] = value;
}

std::optional<std::vector<std::uint8_t>> MemorySettings::ReadBinary(const std::string& name) {
    ThrowIfFailing();
    auto it = binaries_.find(name);
    if (it == binaries_.end()) return std::nullopt;
    return it->second;
}

void MemorySettings::WriteBinary(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    ThrowIfFailing();
    strings_.erase(name);
    binaries_[name] = bytes;
}

}  // namespace stallmark
