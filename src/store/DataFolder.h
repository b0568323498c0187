#pragma once
// The folder that holds every data file, and the start-up steps on it: creating missing
// files and converting the stock and price files of the older version.

#include <functional>
#include <string>
#include <vector>

#include "store/Clock.h"

namespace stallmark {

// The four stock and price lists whose files the older version wrote in another layout.
enum class OldListKind { WeaponStock, WeaponPrices, ArmourStock, ArmourPrices };

// One line of an old file in the new layout of its list; today is "yyyymmdd".
std::string ConvertOldRecordLine(const std::string& line, OldListKind kind, const std::string& today);

class DataFolder {
public:
    // folder gets a trailing separator when it has none ("" stands for the current folder).
    explicit DataFolder(std::string folder);

    // The folder, ending in a separator.
    const std::string& Folder() const { return folder_; }
    // The folder followed by name.
    std::string DataFilePath(const std::string& name) const { return folder_ + name; }

    // The data files created empty at start-up when missing.
    static const std::vector<std::string>& StartupFiles();
    // Creates each of StartupFiles() that does not exist, empty; existing files are not touched.
    void EnsureDataFiles() const;

    // Converts "Stock.dat", "Prices.dat", "MAStock.dat" and "MAPrice.dat" when present into
    // "MWStock.dat", "MWPrice.dat", "MA1Stock.dat" and "MA1Price.dat" (sorted, replacing the new
    // file), keeps each old file as its ".old" backup and passes the information text for each
    // converted file to inform. Each pair goes in this order: the old file is read and converted
    // whole, the new file is replaced atomically, and only then is the old file renamed to its
    // backup, so a failure at any step leaves the old file in place (and the new file either as
    // it was or complete). An old file that cannot be read throws its StoreError with both files
    // untouched; a new file that cannot be replaced (read-only, or a folder) throws StoreError
    // "Cannot delete (maybe Read Only) : " ... with that pair's files as they were.
    void ConvertOldFiles(const Clock& clock, const std::function<void(const std::string& message)>& inform) const;

    // SortRecordFileAt(DataFilePath(name)).
    void SortRecordFile(const std::string& name) const;

private:
    std::string folder_;
};

// Where the data files live: the folder of the program file on Windows; elsewhere
// $XDG_DATA_HOME/Stallmark/ (by default ~/.local/share/Stallmark/), created when missing.
// Ends with a separator.
std::string DefaultDataFolder(const std::string& programPath);

}  // namespace stallmark
