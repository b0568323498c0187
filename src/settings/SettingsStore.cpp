#include "settings/SettingsStore.h"

#include <charconv>
#include <cstring>

#include "store/Clock.h"

namespace stallmark {

std::optional<int> ParseDecimalInteger(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (*first == '+') {
        ++first;
        if (first == last || *first == '-') return std::nullopt;
    }
    int value = 0;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || ptr != last) return std::nullopt;
    return value;
}

std::string SettingsStore::ReadString(const std::string& name, const std::string& fallback) {
    auto raw = ReadRaw(name);
    return raw ? *raw : fallback;
}

int SettingsStore::ReadInteger(const std::string& name, int fallback) {
    auto raw = ReadRaw(name);
    if (!raw) return fallback;
    auto value = ParseDecimalInteger(*raw);
    return value ? *value : fallback;
}

void SettingsStore::WriteInteger(const std::string& name, int value) { WriteRaw(name, std::to_string(value)); }

bool SettingsStore::ReadBool(const std::string& name, bool fallback) {
    auto raw = ReadRaw(name);
    if (!raw) return fallback;
    auto value = ParseDecimalInteger(*raw);
    return value ? *value != 0 : fallback;
}

void SettingsStore::WriteBool(const std::string& name, bool value) { WriteRaw(name, value ? "1" : "0"); }

std::optional<double> SettingsStore::ReadDateTime(const std::string& name) {
    auto bytes = ReadBinary(name);
    if (!bytes || bytes->size() != sizeof(double)) return std::nullopt;
    double value = 0;
    std::memcpy(&value, bytes->data(), sizeof value);
    if (!IsValidDateTime(value)) return std::nullopt;
    return value;
}

void SettingsStore::WriteDateTime(const std::string& name, double value) {
    std::vector<std::uint8_t> bytes(sizeof value);
    std::memcpy(bytes.data(), &value, sizeof value);
    WriteBinary(name, bytes);
}

}  // namespace stallmark
