#pragma once
// Data files as players have them, for the benchmarks: the weapon and armour stock
// and price lists, General.dat and the weapon pick lists. Lines have the lengths,
// letter case and Windows-1252 bytes (é, €, ÿ, « ») that players type, many items
// repeat (most of a stock is a few kinds of weapon), and the lines come in no
// particular order unless asked for. The same seed gives the same lines.

#include <string>
#include <vector>

namespace stallmark::bench {

// Weapon lines: 8 fields (stock) or 9 (prices), as the weapon page writes them.
std::vector<std::string> WeaponStockLines(int count, unsigned seed = 2003);
std::vector<std::string> WeaponPriceLines(int count, unsigned seed = 2004);
// Armour lines: 6 fields (stock) or 7 (prices).
std::vector<std::string> ArmourStockLines(int count, unsigned seed = 2005);
std::vector<std::string> ArmourPriceLines(int count, unsigned seed = 2006);
// General.dat lines: Type, Description, Value; a few dozen types in mixed case.
std::vector<std::string> GeneralLines(int count, unsigned seed = 2007);

// The weapon pick lists the page loads, file name and content.
struct NamedFile {
    std::string name;
    std::string bytes;
};
std::vector<NamedFile> WeaponPickLists();
// Entries of the weapon and magic pick lists (the first is used by the searches).
const std::vector<std::string>& WeaponNames();
const std::vector<std::string>& MagicNames();
// The armour pick lists, and the entries of the armour item and magic lists.
std::vector<NamedFile> ArmourPickLists();
const std::vector<std::string>& ArmourNames();
const std::vector<std::string>& ArmourMagicNames();

// The lines joined, each ended with CR LF.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace stallmark::bench
