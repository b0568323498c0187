#ifdef _WIN32

#include "settings/RegistrySettings.h"

#include <cstring>

namespace stallmark {

namespace {

constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE;

HKEY OpenReadOnly(HKEY root) {
    HKEY key = nullptr;
    return RegOpenKeyExA(root, kRegistryPath, 0, KEY_READ, &key) == ERROR_SUCCESS ? key : nullptr;
}

HKEY CreateForWriting(HKEY root, LONG& error) {
    HKEY key = nullptr;
    error =
        RegCreateKeyExA(root, kRegistryPath, 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWrite, nullptr, &key, nullptr);
    return error == ERROR_SUCCESS ? key : nullptr;
}

}  // namespace

std::string RegistrySettings::SystemText(LONG error) {
    char buffer[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        static_cast<DWORD>(error), 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\r' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    if (text.empty()) text = "System error " + std::to_string(error);
    return text;
}

RegistrySettings::~RegistrySettings() {
    if (write_ && write_ != read_[0] && write_ != read_[1]) RegCloseKey(write_);
    for (HKEY key : read_)
        if (key) RegCloseKey(key);
}

void RegistrySettings::Open() {
    if (opened_) return;

    // A key the current user already holds comes first.
    HKEY user = nullptr;
    const LONG userError = RegOpenKeyExA(HKEY_CURRENT_USER, kRegistryPath, 0, kReadWrite, &user);
    if (userError == ERROR_SUCCESS) {
        write_ = user;
        read_[0] = user;
        read_[1] = OpenReadOnly(HKEY_LOCAL_MACHINE);
        currentUser_ = opened_ = true;
        return;
    }
    if (userError != ERROR_FILE_NOT_FOUND) {
        if (HKEY readable = OpenReadOnly(HKEY_CURRENT_USER)) {
            writeError_ = userError;
            read_[0] = readable;
            read_[1] = OpenReadOnly(HKEY_LOCAL_MACHINE);
            currentUser_ = opened_ = true;
            return;
        }
    }

    LONG machineError = 0;
    if (HKEY machine = CreateForWriting(HKEY_LOCAL_MACHINE, machineError)) {
        write_ = machine;
        read_[0] = machine;
        opened_ = true;
        return;
    }

    // HKEY_LOCAL_MACHINE is closed to this user: keep the values under HKEY_CURRENT_USER.
    LONG createError = 0;
    if (HKEY created = CreateForWriting(HKEY_CURRENT_USER, createError)) {
        write_ = created;
        read_[0] = created;
        read_[1] = OpenReadOnly(HKEY_LOCAL_MACHINE);
        currentUser_ = opened_ = true;
        return;
    }

    // Nothing can be written; what HKEY_LOCAL_MACHINE holds can still be read.
    HKEY readable = OpenReadOnly(HKEY_LOCAL_MACHINE);
    if (!readable) throw SettingsError(SystemText(machineError));
    writeError_ = machineError;
    read_[0] = readable;
    opened_ = true;
}

bool RegistrySettings::UsesCurrentUser() {
    Open();
    return currentUser_;
}

bool RegistrySettings::Query(const std::string& name, DWORD& type, std::string& data) {
    Open();
    for (HKEY key : read_) {
        if (!key) continue;
        DWORD size = 0;
        LONG r = RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size);
        if (r == ERROR_FILE_NOT_FOUND) continue;
        // The size can grow between the two calls when another program writes the value.
        while (r == ERROR_SUCCESS || r == ERROR_MORE_DATA) {
            data.assign(size, '\0');
            r = RegQueryValueExA(key, name.c_str(), nullptr, &type,
                                 reinterpret_cast<BYTE*>(data.empty() ? nullptr : data.data()), &size);
            if (r == ERROR_SUCCESS) {
                data.resize(size);
                return true;
            }
        }
        if (r == ERROR_FILE_NOT_FOUND) continue;
        throw SettingsError(SystemText(r));
    }
    return false;
}

void RegistrySettings::Set(const std::string& name, DWORD type, const BYTE* data, DWORD size) {
    Open();
    if (!write_) throw SettingsError(SystemText(writeError_));
    const LONG r = RegSetValueExA(write_, name.c_str(), 0, type, data, size);
    if (r != ERROR_SUCCESS) throw SettingsError(SystemText(r));
}

std::optional<std::string> RegistrySettings::ReadRaw(const std::string& name) {
    DWORD type = 0;
    std::string data;
    if (!Query(name, type, data) || (type != REG_SZ && type != REG_EXPAND_SZ)) return std::nullopt;
    // The text ends at its terminating zero (a value written without one has none).
    const std::size_t end = data.find('\0');
    if (end != std::string::npos) data.resize(end);
    return data;
}

void RegistrySettings::WriteRaw(const std::string& name, const std::string& value) {
    Set(name, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), static_cast<DWORD>(value.size() + 1));
}

std::optional<std::vector<std::uint8_t>> RegistrySettings::ReadBinary(const std::string& name) {
    DWORD type = 0;
    std::string data;
    if (!Query(name, type, data) || type != REG_BINARY) return std::nullopt;
    return std::vector<std::uint8_t>(data.begin(), data.end());
}

void RegistrySettings::WriteBinary(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    Set(name, REG_BINARY, bytes.empty() ? nullptr : bytes.data(), static_cast<DWORD>(bytes.size()));
}

}  // namespace stallmark

#endif  // _WIN32
