// The Vendor page's files, each loaded from the same bytes: the vendor ledger, the charged
// items and the treasure maps. Any bytes load without harm; a loaded item has a name; what
// a save writes for the loaded items loads as the same items, and a second save of those
// writes the same lines.

#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "lists/trade/TradeFiles.h"
#include "store/Fields.h"

using namespace stallmark;
using fuzz::Check;

namespace {

// The vendor ledger: each vendor as its save writes it (the name and the description
// cleaned, the amount as digits; a vendor without a name is left out).
std::string SavedVendors(const VendorFile& file) {
    std::string content = VendorHeaderLine("01/02/2003", DigitsToAmount64(file.balance.value_or(""), false));
    for (const std::vector<std::string>& items : file.vendors) {
        auto item = [&](std::size_t i) { return i < items.size() ? items[i] : std::string(); };
        const std::string name = CleanField(item(1), false);
        if (name.empty()) continue;
        content += VendorLine(item(0), name, CleanField(item(2), false), DigitsToAmount64(item(3), false));
    }
    return content;
}

void Vendors(std::string_view text) {
    const VendorFile file = ReadVendorFile(fuzz::WriteScratch("Vendors.dat", text));
    Check(file.balance.has_value() == !text.empty(), "the balance is read from no first line");
    const std::string saved = SavedVendors(file);
    const VendorFile again = ReadVendorFile(fuzz::WriteScratch("Vendors.dat", saved));
    Check(again.date == "01/02/2003", "the saved date reads back otherwise");
    Check(again.cut.empty(), "a saved line is cut");
    std::size_t kept = 0;
    for (const std::vector<std::string>& items : file.vendors)
        if (!CleanField(items.size() > 1 ? items[1] : std::string(), false).empty()) ++kept;
    Check(again.vendors.size() == kept, "the saved ledger loads as another number of vendors");
    for (const std::vector<std::string>& items : again.vendors)
        Check(items.size() == 4, "a saved vendor reads back with other fields");
    Check(SavedVendors(again) == saved, "a second save of the ledger changes it");
}

void Charged(std::string_view text) {
    std::string cut;
    const std::vector<ChargedLine> items = ReadChargedFile(fuzz::WriteScratch("Charged.dat", text), cut);
    std::string saved;
    for (const ChargedLine& item : items) {
        Check(!IsBlank(item.name), "a charged item without a name");
        // The save writes every item in the form it is read back in.
        const std::string name = CleanField(item.name, false);
        saved +=
            ChargedFileLine(name, DigitsToAmount64(std::to_string(item.price), false), CleanField(item.suffix, false));
    }
    const std::vector<ChargedLine> again = ReadChargedFile(fuzz::WriteScratch("Charged.dat", saved), cut);
    Check(again.size() == items.size(), "the saved items load as another number of items");
    std::string twice;
    for (std::size_t i = 0; i < again.size(); ++i) {
        Check(again[i].name == CleanField(items[i].name, false), "a saved item's name reads back otherwise");
        Check(again[i].price == ToInt64OrZero(DigitsToAmount64(std::to_string(items[i].price), false)),
              "a saved item's price reads back otherwise");
        Check(again[i].suffix == CleanField(items[i].suffix, false), "a saved item's suffix reads back otherwise");
        twice += ChargedFileLine(again[i].name, DigitsToAmount64(std::to_string(again[i].price), false),
                                 CleanField(again[i].suffix, false));
    }
    Check(twice == saved, "a second save of the charged items changes them");
}

void Maps(std::string_view text) {
    std::string cut;
    const std::vector<MapLine> maps = ReadMapsFile(fuzz::WriteScratch("Maps.dat", text), cut);
    std::string saved;
    for (const MapLine& map : maps) {
        Check(!IsBlank(map.name), "a map without a name");
        for (char c : map.level + map.value) Check(c >= '0' && c <= '9', "a map's level or value is no number");
        saved += MapFileLine(CleanField(map.name, false), DigitsToAmount64(map.level, false),
                             DigitsToAmount64(map.value, false));
    }
    const std::vector<MapLine> again = ReadMapsFile(fuzz::WriteScratch("Maps.dat", saved), cut);
    Check(again.size() == maps.size(), "the saved maps load as another number of maps");
    for (std::size_t i = 0; i < again.size(); ++i)
        Check(again[i].name == CleanField(maps[i].name, false) && again[i].level == maps[i].level &&
                  again[i].value == maps[i].value,
              "a saved map reads back otherwise");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    Vendors(text);
    Charged(text);
    Maps(text);
    return 0;
}
