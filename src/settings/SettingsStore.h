#pragma once
// The program's settings: one section "Stallmark" under \Software\Orvanel.
// Every value is stored as a string (integers as decimal text, booleans as
// "0" or "1"), except "Bulk Date", an 8-byte binary value holding an IEEE
// double. Strings are bytes in the Windows-1252 code page, as the registry's
// ANSI interface keeps them.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace stallmark {

inline constexpr const char* kSettingsKey = "\\Software\\Orvanel";
inline constexpr const char* kSettingsSection = "Stallmark";

// A settings store that cannot be read or written; what() holds the system's text.
class SettingsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // Raw access to section "Stallmark". A missing value is std::nullopt.
    virtual std::optional<std::string> ReadRaw(const std::string& name) = 0;
    virtual void WriteRaw(const std::string& name, const std::string& value) = 0;
    virtual std::optional<std::vector<std::uint8_t>> ReadBinary(const std::string& name) = 0;
    virtual void WriteBinary(const std::string& name, const std::vector<std::uint8_t>& bytes) = 0;
    // Makes every write so far lasting (the file backend writes its file here).
    virtual void Flush() {}

    // The INI-style access.
    std::string ReadString(const std::string& name, const std::string& fallback);
    void WriteString(const std::string& name, const std::string& value) { WriteRaw(name, value); }
    // Missing, or not a decimal integer within the range of int: the fallback. Any text
    // is safe here (no overflow, no exception).
    int ReadInteger(const std::string& name, int fallback);
    void WriteInteger(const std::string& name, int value);
    // True for any integer other than 0; missing or not an integer: the fallback.
    bool ReadBool(const std::string& name, bool fallback);
    void WriteBool(const std::string& name, bool value);
    // An 8-byte binary double that names a date-time of the years 1 to 9999; anything
    // else (missing, another size, NaN, an infinity, a number out of that range) is
    // std::nullopt, as for a value that cannot be read.
    std::optional<double> ReadDateTime(const std::string& name);
    void WriteDateTime(const std::string& name, double value);
};

// Strict decimal integer: optional sign, digits, nothing else; fits an int.
std::optional<int> ParseDecimalInteger(const std::string& text);

}  // namespace stallmark
