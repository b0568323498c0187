// The registry settings store on Windows (run under Wine): stored types,
// the INI-style access on top of it, the fallback to HKEY_CURRENT_USER where
// HKEY_LOCAL_MACHINE is closed, and the INI file store's Windows file code.

#include <windows.h>
// after windows.h
#include <sddl.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "settings/DefaultSettings.h"
#include "settings/IniFileSettings.h"
#include "settings/RegistrySettings.h"
#include "windows/WineCheck.h"

using namespace stallmark;

namespace {

// Type and bytes of a value as the registry holds them; false when missing.
bool RawValue(HKEY root, const char* name, DWORD& type, std::string& data) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, kRegistryPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    DWORD size = 0;
    LONG r = RegQueryValueExA(key, name, nullptr, &type, nullptr, &size);
    if (r == ERROR_SUCCESS) {
        data.assign(size, '\0');
        r = RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
        data.resize(size);
    }
    RegCloseKey(key);
    return r == ERROR_SUCCESS;
}

void SetAccess(HKEY root, const char* sddl) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, kRegistryPath, 0, WRITE_DAC, &key) != ERROR_SUCCESS) return;
    PSECURITY_DESCRIPTOR sd = nullptr;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &sd, nullptr)) {
        RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd);
        LocalFree(sd);
    }
    RegCloseKey(key);
}

// Everyone may read the key, nobody may write it (as HKEY_LOCAL_MACHINE for a standard user).
void MakeReadOnly(HKEY root) { SetAccess(root, "D:P(A;;KR;;;WD)"); }

void SetRaw(HKEY root, const char* name, DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    RegCreateKeyExA(root, kRegistryPath, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

void SetString(HKEY root, const char* name, const std::string& text) {
    SetRaw(root, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

// No Stallmark key under either root, whatever an earlier run left.
void ResetKeys() {
    for (HKEY root : {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER}) {
        SetAccess(root, "D:P(A;;KA;;;WD)");
        RegDeleteTreeA(root, kRegistryPath);
    }
}

bool KeyExists(HKEY root) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, kRegistryPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

std::string Bytes(double value) {
    std::string bytes(sizeof value, '\0');
    std::memcpy(bytes.data(), &value, sizeof value);
    return bytes;
}

const std::vector<std::pair<std::string, std::string>> kStrings = {
    {"Window Name", "Ultima Online -"},
    {" FontName ", "  MS Sans Serif  "},
    {"Reg BpAmt", "12"},
    {"LastMemo", "Caf\xE9 \x80 \xC0\xFF"},
    {"Odd=Name", "=x="},
    {"Lines", "one\r\ntwo"},
    {"Empty", ""},
};

void StringsAreStoredAsRegSz() {
    ResetKeys();
    {
        RegistrySettings s;
        for (const auto& [name, value] : kStrings) s.WriteString(name, value);
        CHECK(!s.UsesCurrentUser());
        for (const auto& [name, value] : kStrings) CHECK_BYTES(s.ReadString(name, "<missing>"), value);
        CHECK_BYTES(s.ReadString("Never Written", "<missing>"), "<missing>");
        CHECK(!s.ReadRaw("Never Written"));
    }
    for (const auto& [name, value] : kStrings) {
        DWORD type = 0;
        std::string data;
        CHECK(RawValue(HKEY_LOCAL_MACHINE, name.c_str(), type, data));
        CHECK(type == REG_SZ);
        CHECK_BYTES(data, value + std::string(1, '\0'));
    }
    CHECK(!KeyExists(HKEY_CURRENT_USER));

    RegistrySettings again;  // a later run reads what an earlier one wrote
    for (const auto& [name, value] : kStrings) CHECK_BYTES(again.ReadString(name, "<missing>"), value);
}

void BulkDateIsEightBytesOfRegBinary() {
    ResetKeys();
    RegistrySettings s;
    s.WriteDateTime("Bulk Date", 45123.625);
    DWORD type = 0;
    std::string data;
    CHECK(RawValue(HKEY_LOCAL_MACHINE, "Bulk Date", type, data));
    CHECK(type == REG_BINARY);
    CHECK_BYTES(data, Bytes(45123.625));
    CHECK(s.ReadDateTime("Bulk Date") == 45123.625);
    CHECK(RegistrySettings().ReadDateTime("Bulk Date") == 45123.625);
    CHECK(!s.ReadRaw("Bulk Date"));  // binary is not a string

    s.WriteBinary("Bulk Date", {1, 2, 3});
    CHECK(s.ReadBinary("Bulk Date")->size() == 3);
    CHECK(!s.ReadDateTime("Bulk Date"));

    s.WriteString("Bulk Date", "45123.625");  // a string of that name is not binary
    CHECK(RawValue(HKEY_LOCAL_MACHINE, "Bulk Date", type, data) && type == REG_SZ);
    CHECK(!s.ReadBinary("Bulk Date"));
    CHECK(!s.ReadDateTime("Bulk Date"));
}

void IntegersAndBooleansFallBack() {
    ResetKeys();
    RegistrySettings s;
    s.WriteInteger("Left", -12);
    s.WriteBool("Maxi", true);
    s.WriteBool("Reg Link", false);
    DWORD type = 0;
    std::string data;
    CHECK(RawValue(HKEY_LOCAL_MACHINE, "Left", type, data) && type == REG_SZ);
    CHECK_BYTES(data, std::string("-12", 4));
    CHECK(RawValue(HKEY_LOCAL_MACHINE, "Maxi", type, data) && type == REG_SZ);
    CHECK_BYTES(data, std::string("1", 2));
    CHECK(s.ReadInteger("Left", 584) == -12);
    CHECK(s.ReadBool("Maxi", false));
    CHECK(!s.ReadBool("Reg Link", true));
    CHECK(s.ReadInteger("Height", 526) == 526);
    CHECK(s.ReadBool("Save Exit", true));

    s.WriteString("Width", "338px");
    CHECK(s.ReadInteger("Width", 338) == 338);
    s.WriteString("Stay Ontop", "7");
    CHECK(s.ReadBool("Stay Ontop", false));

    // Values of another type, as another program may leave them, read as missing.
    const DWORD dword = 42;
    SetRaw(HKEY_LOCAL_MACHINE, "Top", REG_DWORD, &dword, sizeof dword);
    CHECK(!s.ReadRaw("Top"));
    CHECK(s.ReadInteger("Top", 99) == 99);
    CHECK(s.ReadBool("Top", false) == false);
    CHECK(!s.ReadBinary("Top"));
    SetRaw(HKEY_LOCAL_MACHINE, "Names", REG_MULTI_SZ, "a\0b\0", 5);
    CHECK(!s.ReadRaw("Names"));
    SetRaw(HKEY_LOCAL_MACHINE, "NoZero", REG_SZ, "abc", 3);  // written without its terminating zero
    CHECK_BYTES(s.ReadString("NoZero", ""), "abc");
}

void ClosedMachineKeyFallsBackToCurrentUser() {
    ResetKeys();
    SetString(HKEY_LOCAL_MACHINE, "Left", "5");
    SetString(HKEY_LOCAL_MACHINE, "Window Name", "Machine");
    MakeReadOnly(HKEY_LOCAL_MACHINE);
    {
        RegistrySettings s;
        CHECK(s.ReadInteger("Left", 584) == 5);  // what HKEY_LOCAL_MACHINE holds still reads
        s.WriteInteger("Left", 7);
        s.WriteDateTime("Bulk Date", 1.5);
        CHECK(s.UsesCurrentUser());
        CHECK(s.ReadInteger("Left", 584) == 7);
        CHECK_BYTES(s.ReadString("Window Name", ""), "Machine");
        CHECK(s.ReadDateTime("Bulk Date") == 1.5);
    }
    DWORD type = 0;
    std::string data;
    CHECK(RawValue(HKEY_CURRENT_USER, "Left", type, data) && type == REG_SZ);
    CHECK_BYTES(data, std::string("7", 2));
    CHECK(RawValue(HKEY_CURRENT_USER, "Bulk Date", type, data) && type == REG_BINARY && data.size() == 8);
    CHECK(RawValue(HKEY_LOCAL_MACHINE, "Left", type, data));
    CHECK_BYTES(data, std::string("5", 2));
    CHECK(!RawValue(HKEY_LOCAL_MACHINE, "Bulk Date", type, data));

    // Once HKEY_CURRENT_USER holds the key it comes first, even where HKEY_LOCAL_MACHINE opens again.
    SetAccess(HKEY_LOCAL_MACHINE, "D:P(A;;KA;;;WD)");
    RegistrySettings later;
    CHECK(later.UsesCurrentUser());
    CHECK(later.ReadInteger("Left", 584) == 7);
    later.WriteInteger("Top", 3);
    CHECK(RawValue(HKEY_CURRENT_USER, "Top", type, data));
    CHECK(!RawValue(HKEY_LOCAL_MACHINE, "Top", type, data));
}

void FailuresCarryTheSystemText() {
    ResetKeys();
    SetString(HKEY_CURRENT_USER, "Left", "9");
    MakeReadOnly(HKEY_CURRENT_USER);
    RegistrySettings s;
    CHECK(s.ReadInteger("Left", 584) == 9);  // reading still works
    std::string text;
    try {
        s.WriteInteger("Left", 10);
    } catch (const SettingsError& e) {
        text = e.what();
    }
    CHECK_BYTES(text, RegistrySettings::SystemText(ERROR_ACCESS_DENIED));
    CHECK(!text.empty() && text.back() != '\n');
    CHECK_THROWS(s.WriteDateTime("Bulk Date", 2.0), SettingsError);
    CHECK(s.ReadInteger("Left", 584) == 9);
}

void DefaultStoreIsTheRegistry() {
    auto store = CreateDefaultSettings();
    CHECK(dynamic_cast<RegistrySettings*>(store.get()) != nullptr);
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void IniFileWorksOnWindowsToo() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::filesystem::path folder =
        std::filesystem::path(temp) / ("stallmark-ini-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::remove_all(folder);
    const std::filesystem::path path = folder / "Orvanel" / "Stallmark.ini";
    {
        IniFileSettings s(path);
        s.WriteString(" FontName ", "Caf\xE9\r\n=");
        s.WriteDateTime("Bulk Date", 45123.625);
        s.Flush();
    }
    {
        IniFileSettings s(path);
        CHECK_BYTES(s.ReadString(" FontName ", ""), "Caf\xE9\r\n=");
        CHECK(s.ReadDateTime("Bulk Date") == 45123.625);
        s.WriteInteger("Left", 1);
        std::filesystem::create_directory(path.string() + ".tmp");  // the save cannot make its temporary file
        const std::string before = ReadFile(path);
        CHECK_THROWS(s.Flush(), SettingsError);
        CHECK_BYTES(ReadFile(path), before);
        std::filesystem::remove(path.string() + ".tmp");
        s.Flush();
    }
    CHECK(IniFileSettings(path).ReadInteger("Left", 0) == 1);
    std::filesystem::remove_all(folder);
}

}  // namespace

int main() {
    using stallmark::wine::RunCase;
    RunCase("StringsAreStoredAsRegSz", StringsAreStoredAsRegSz);
    RunCase("BulkDateIsEightBytesOfRegBinary", BulkDateIsEightBytesOfRegBinary);
    RunCase("IntegersAndBooleansFallBack", IntegersAndBooleansFallBack);
    RunCase("ClosedMachineKeyFallsBackToCurrentUser", ClosedMachineKeyFallsBackToCurrentUser);
    RunCase("FailuresCarryTheSystemText", FailuresCarryTheSystemText);
    RunCase("DefaultStoreIsTheRegistry", DefaultStoreIsTheRegistry);
    RunCase("IniFileWorksOnWindowsToo", IniFileWorksOnWindowsToo);
    ResetKeys();
    return stallmark::wine::WineCheckSummary();
}
