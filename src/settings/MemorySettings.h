#pragma once
// Settings kept in memory only; for tests. A failure can be switched on to
// act out an unwritable store.

#include <map>

#include "settings/SettingsStore.h"

namespace stallmark {

class MemorySettings final : public SettingsStore {
public:
    MemorySettings() = default;
    MemorySettings(const MemorySettings&) = delete;
    MemorySettings& operator=(const MemorySettings&) = delete;
    MemorySettings(MemorySettings&&) = delete;
    MemorySettings& operator=(MemorySettings&&) = delete;

    std::optional<std::string> ReadRaw(const std::string& name) override;
    void WriteRaw(const std::string& name, const std::string& value) override;
    std::optional<std::vector<std::uint8_t>> ReadBinary(const std::string& name) override;
    void WriteBinary(const std::string& name, const std::vector<std::uint8_t>& bytes) override;

    const std::map<std::string, std::string>& Strings() const { return strings_; }
    const std::map<std::string, std::vector<std::uint8_t>>& Binaries() const { return binaries_; }
    bool Has(const std::string& name) const { return strings_.count(name) || binaries_.count(name); }
    void Clear() {
        strings_.clear();
        binaries_.clear();
    }
    // When set, every read and write throws SettingsError with this text.
    void FailWith(std::string message) { failure_ = std::move(message); }

private:
    void ThrowIfFailing() const;
    std::map<std::string, std::string> strings_;
    std::map<std::string, std::vector<std::uint8_t>> binaries_;
    std::string failure_;
};

}  // namespace stallmark
