#pragma once
// The Vendor page's files without any widget: how the vendor ledger ("Vendors.dat"), the
// charged items ("Charged.dat") and the treasure maps ("Maps.dat") read their lines, and
// the lines their saves write. Each reader reads a file with LineReader(path,
// kMaxLineBytes) and hands back, besides what it read, the notice about lines cut to that
// size (empty when there were none).

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stallmark {

// "Vendors.dat": a first line "date,balance" (the date of the last save as shown, the
// bank balance), then one vendor a line as comma text: handle, name, description, amount.
// Blank lines and ",,," hold no vendor.
struct VendorFile {
    std::string date;
    std::optional<std::string> balance;  // none when the file has no first line
    std::vector<std::vector<std::string>> vendors;
    std::string cut;
};
VendorFile ReadVendorFile(const std::string& path);
// The first line as a save writes it (with its CR LF): the date and the balance as given.
std::string VendorHeaderLine(std::string_view date, std::string_view balance);
// A vendor's line as a save writes it (with its CR LF): the cells as given, as comma text.
std::string VendorLine(const std::string& handle, const std::string& name, const std::string& desc,
                       const std::string& amount);

// "Charged.dat": name,price,suffix a line; a line with a blank name holds no item.
struct ChargedLine {
    std::string name;
    long long price = 0;  // the price field as a 64-bit amount (0 when it is none)
    std::string suffix;
};
std::vector<ChargedLine> ReadChargedFile(const std::string& path, std::string& cut);
// An item's line as a save writes it (with its CR LF), the fields as given.
std::string ChargedFileLine(const std::string& name, const std::string& price, const std::string& suffix);

// "Maps.dat": name,level,value a line; a line with a blank name holds no map. Level and
// value are read as their digits ("0" when there are none), ten digits and more whole.
struct MapLine {
    std::string name;
    std::string level;
    std::string value;
};
std::vector<MapLine> ReadMapsFile(const std::string& path, std::string& cut);
// A map's line as a save writes it (with its CR LF), the fields as given.
std::string MapFileLine(const std::string& name, const std::string& level, const std::string& value);

}  // namespace stallmark
