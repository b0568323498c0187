#pragma once
// Settings in the Windows registry, key Software\Orvanel\Stallmark under
// HKEY_LOCAL_MACHINE, through the ANSI interface of advapi32: strings as
// REG_SZ, the binary value ("Bulk Date") as REG_BINARY.
//
// A standard user cannot write HKEY_LOCAL_MACHINE on current Windows. Where
// the key there cannot be opened for writing, the same key under
// HKEY_CURRENT_USER is used instead, and once HKEY_CURRENT_USER holds the key
// it comes first from then on: values are written there and read there
// first, then from HKEY_LOCAL_MACHINE when missing (so settings an
// administrator left under HKEY_LOCAL_MACHINE still apply).
//
// The keys are opened at the first access. Failures throw SettingsError with
// the system's text; reading a value that is missing, or of another type
// (REG_DWORD, say), gives std::nullopt.

#ifdef _WIN32

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

#include "settings/SettingsStore.h"

namespace stallmark {

// The key's path below the root, without a leading backslash.
inline constexpr const char* kRegistryPath = "Software\\Orvanel\\Stallmark";

class RegistrySettings final : public SettingsStore {
public:
    RegistrySettings() = default;
    ~RegistrySettings() override;
    RegistrySettings(const RegistrySettings&) = delete;
    RegistrySettings& operator=(const RegistrySettings&) = delete;
    RegistrySettings(RegistrySettings&&) = delete;
    RegistrySettings& operator=(RegistrySettings&&) = delete;

    std::optional<std::string> ReadRaw(const std::string& name) override;
    void WriteRaw(const std::string& name, const std::string& value) override;
    std::optional<std::vector<std::uint8_t>> ReadBinary(const std::string& name) override;
    void WriteBinary(const std::string& name, const std::vector<std::uint8_t>& bytes) override;

    // Which root the values are written to (opens the keys when not open yet).
    bool UsesCurrentUser();

    // The system's text for a Win32 error code, without the line break at its end.
    static std::string SystemText(LONG error);

private:
    void Open();
    // The value's type and data from the first key that holds it; false when none does.
    bool Query(const std::string& name, DWORD& type, std::string& data);
    void Set(const std::string& name, DWORD type, const BYTE* data, DWORD size);

    bool opened_ = false;
    bool currentUser_ = false;
    HKEY write_ = nullptr;               // where values are written; null when no key can be written
    LONG writeError_ = 0;                // why, when write_ is null
    HKEY read_[2] = {nullptr, nullptr};  // where values are read, in order
};

}  // namespace stallmark

#endif  // _WIN32
