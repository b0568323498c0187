#include "store/DataFolder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "store/Dates.h"
#include "store/Fields.h"
#include "store/Files.h"
#include "store/RecordFile.h"

#ifndef _WIN32
#include <pwd.h>
#include <unistd.h>
#endif

namespace stallmark {

namespace {

bool EndsWithSeparator(const std::string& folder) {
    const char last = folder.back();
#ifdef _WIN32
    return last == '\\' || last == '/' || last == ':';
#else
    return last == '/';
#endif
}

struct OldFile {
    const char* oldName;
    const char* newName;
    OldListKind kind;
};

const OldFile kOldFiles[] = {
    {"Stock.dat", "MWStock.dat", OldListKind::WeaponStock},
    {"Prices.dat", "MWPrice.dat", OldListKind::WeaponPrices},
    {"MAStock.dat", "MA1Stock.dat", OldListKind::ArmourStock},
    {"MAPrice.dat", "MA1Price.dat", OldListKind::ArmourPrices},
};

}  // namespace

std::string ConvertOldRecordLine(const std::string& line, OldListKind kind, const std::string& today) {
    const bool weapons = kind == OldListKind::WeaponStock || kind == OldListKind::WeaponPrices;
    const bool prices = kind == OldListKind::WeaponPrices || kind == OldListKind::ArmourPrices;
    const int commas = kind == OldListKind::WeaponStock    ? 7
                       : kind == OldListKind::WeaponPrices ? 8
                       : kind == OldListKind::ArmourStock  ? 5
                                                           : 6;
    // Padded first, so that a short line gets its fields filled in as well.
    std::string s = PadFields(line, commas);
    if (weapons) {
        const std::string status = GetField(3, ',', s);
        if (IsBlank(status))
            s = SetField(3, ',', s, "0");
        else if (status == "Silver")
            s = SetField(3, ',', s, "2");
    }
    const int priceField = weapons ? 6 : 4;
    const int dateField = weapons ? 7 : 5;
    if (IsBlank(GetField(priceField, ',', s))) s = SetField(priceField, ',', s, "0");
    if (IsBlank(GetField(dateField, ',', s))) s = SetField(dateField, ',', s, prices ? "0" : today);
    if (prices) {
        const int soldField = weapons ? 9 : 7;
        if (IsBlank(GetField(soldField, ',', s))) s = SetField(soldField, ',', s, today);
    }
    return s;
}

DataFolder::DataFolder(std::string folder) : folder_(std::move(folder)) {
    if (!folder_.empty() && !EndsWithSeparator(folder_))
        folder_.push_back(static_cast<char>(std::filesystem::path::preferred_separator));
}

const std::vector<std::string>& DataFolder::StartupFiles() {
    static const std::vector<std::string> kFiles = {
        "MWStock.dat", "MWPrice.dat", "MA1Stock.dat", "MA1Price.dat", "Armour.dat", "ArmDesc.dat",
        "General.dat", "Maps.dat",    "Charged.dat",  "Bod.dat",      "Lbod.dat",   "Vendors.dat",
    };
    return kFiles;
}

void DataFolder::EnsureDataFiles() const {
    for (const std::string& name : StartupFiles()) {
        const std::string path = DataFilePath(name);
        if (!FileExists(path)) CreateEmptyFile(path);
    }
}

void DataFolder::ConvertOldFiles(const Clock& clock,
                                 const std::function<void(const std::string& message)>& inform) const {
    const std::string today = FormatStoredDate(clock.Today());
    for (const OldFile& file : kOldFiles) {
        const std::string oldPath = DataFilePath(file.oldName);
        if (!FileExists(oldPath)) continue;
        const std::string newPath = DataFilePath(file.newName);

        // Read and converted first, whole lines, sorted in memory: an old file that cannot be
        // read stops here with both files as they were.
        std::vector<std::string> lines;
        {
            LineReader in(oldPath, LineReader::kWholeLines);
            std::string_view line;
            while (in.Next(line)) {
                if (IsBlank(line)) continue;  // an empty line holds no record
                lines.push_back(ConvertOldRecordLine(std::string(line), file.kind, today));
            }
        }
        SortRecordLines(lines);

        // The new file is replaced in one atomic step, never deleted first. One that cannot
        // be replaced (read-only, or no file at all) stops the conversion of this pair.
        if (FileExists(newPath)) {
            const std::string target = LinkTarget(newPath);
            std::error_code ec;
            const bool regular = !FileExists(target) || std::filesystem::is_regular_file(target, ec);
            if (!regular || IsReadOnlyFile(target))
                throw StoreError("Cannot delete (maybe Read Only) : " + newPath + "\n\r Please delete manually");
        }
        WriteLines(newPath, lines);

        // Only now that the new file is complete does the old one become its backup.
        const std::string backupPath = WorkingCopyPath(oldPath, "old");
        RemoveFile(backupPath);
        RenameFile(oldPath, backupPath);

        if (inform)
            inform("File converted for new version\n\rBackup Copy : " + FileNameOf(backupPath) + "\n\r" +
                   "New File Name : " + FileNameOf(newPath));
    }
}

void DataFolder::SortRecordFile(const std::string& name) const { SortRecordFileAt(DataFilePath(name)); }

std::string DefaultDataFolder([[maybe_unused]] const std::string& programPath) {
#ifdef _WIN32
    const size_t cut = programPath.find_last_of("\\/:");
    return cut == std::string::npos ? std::string() : programPath.substr(0, cut + 1);
#else
    std::string base;
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else {
        std::string home;
        const char* env = std::getenv("HOME");
        if (env != nullptr && env[0] != '\0') {
            home = env;
        } else if (const passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
            home = pw->pw_dir;
        } else {
            home = ".";
        }
        base = home + "/.local/share";
    }
    while (base.size() > 1 && base.back() == '/') base.pop_back();
    const std::string folder = base + "/Stallmark";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec) throw StoreError(ec.message() + ": " + folder, ec.value());
    return folder + "/";
#endif
}

}  // namespace stallmark
