#include "BenchData.h"

#include <random>

namespace stallmark::bench {

namespace {

// Windows-1252 bytes as players type them.
#define E_ACUTE "\xE9"
#define E_GRAVE "\xE8"
#define A_GRAVE "\xE0"
#define A_CIRC "\xE2"
#define C_CEDIL "\xE7"
#define EURO "\x80"
#define Y_DIAER "\xFF"
#define LAQUO "\xAB"
#define RAQUO "\xBB"

const std::vector<std::string> kWeapons = {"Katana",
                                           "Broadsword",
                                           "Longsword",
                                           "Viking Sword",
                                           "Scimitar",
                                           "Cutlass",
                                           "Kryss",
                                           "Dagger",
                                           "War Axe",
                                           "Double Axe",
                                           "Halberd",
                                           "Bardiche",
                                           "Spear",
                                           "Short Spear",
                                           "War Fork",
                                           "Pitchfork",
                                           "Bow",
                                           "Crossbow",
                                           "Heavy Crossbow",
                                           "Mace",
                                           "War Mace",
                                           "Maul",
                                           "Hammer Pick",
                                           "Club",
                                           "Black Staff",
                                           "Quarter Staff",
                                           "Gnarled Staff",
                                           "Scythe",
                                           "Large Battle Axe",
                                           "Two Handed Axe",
                                           "" E_ACUTE "p" E_ACUTE "e longue",
                                           "Hache " A_GRAVE " deux mains",
                                           "B" A_CIRC "ton ferr" E_ACUTE,
                                           "Fl" E_ACUTE "au"};
const std::vector<std::string> kMagic = {"Vanquishing", "Power",          "Force",      "Might",     "Ruin",
                                         "Silver",      "Undead Slaying", "Lightning",  "Fire",      "Ice",
                                         "Clumsiness",  "Feeblemind",     "Mana Drain", "Life Drain"};
const std::vector<std::string> kAccuracy = {"",         "", "Accurate", "Surpassingly", "Eminently", "Exceedingly",
                                            "Supremely"};
const std::vector<std::string> kDurability = {"",        "",          "Durable",       "Substantial",
                                              "Massive", "Fortified", "Indestructible"};
const std::vector<std::string> kArmour = {"Plate Chest",
                                          "Plate Legs",
                                          "Plate Arms",
                                          "Plate Gorget",
                                          "Plate Gloves",
                                          "Plate Helm",
                                          "Chain Tunic",
                                          "Chain Legs",
                                          "Chain Coif",
                                          "Ring Tunic",
                                          "Ring Legs",
                                          "Ring Sleeves",
                                          "Ring Gloves",
                                          "Studded Tunic",
                                          "Leather Cap",
                                          "Bone Helm",
                                          "Heater Shield",
                                          "Buckler",
                                          "Kite Shield",
                                          "Bouclier " A_GRAVE " pointes",
                                          "Casque d'" E_ACUTE "caille"};
const std::vector<std::string> kArmourMagic = {"Invulnerability", "Fortification", "Hardening",  "Guarding",
                                               "Defense",         "Protection",    "Night Sight"};
// Words of the free texts, in the cases players type them.
const std::vector<std::string> kWords = {"from",
                                         "the",
                                         "bank",
                                         "vendor",
                                         "west",
                                         "Britain",
                                         "Trinsic",
                                         "hunt",
                                         "deed",
                                         "keep",
                                         "sold",
                                         "Sold",
                                         "SOLD",
                                         "ask",
                                         "guild",
                                         "for",
                                         "Bob",
                                         "mage",
                                         "tower",
                                         "rare",
                                         "RARE",
                                         "cheap",
                                         "gm",
                                         "made",
                                         "by",
                                         "Anna",
                                         "exc",
                                         "Exceptional",
                                         "slayer",
                                         "Slayer",
                                         "cursed",
                                         "blessed",
                                         "newbie",
                                         "tr" E_GRAVE "s",
                                         "bon",
                                         "prix",
                                         "5" EURO,
                                         "100" EURO,
                                         "" LAQUO "rare" RAQUO,
                                         "" LAQUO "vieux" RAQUO,
                                         "d" E_ACUTE "j" A_GRAVE,
                                         "gar" C_CEDIL "on",
                                         "H" Y_DIAER "dra",
                                         "na" Y_DIAER "f",
                                         "Moonglow",
                                         "Vesper",
                                         "Yew",
                                         "Minoc",
                                         "x2",
                                         "+10",
                                         "(old)",
                                         "lvl",
                                         "5/5",
                                         "ok"};
const std::vector<std::string> kTypes = {"Tools",
                                         "tools",
                                         "TOOLS",
                                         "Dyes",
                                         "dyes",
                                         "Cloth",
                                         "cloth",
                                         "Reagents",
                                         "reagents",
                                         "Scrolls",
                                         "scrolls",
                                         "Potions",
                                         "potions",
                                         "Gems",
                                         "GEMS",
                                         "Boards",
                                         "Ingots",
                                         "ingots",
                                         "Maps",
                                         "Runes",
                                         "Deeds",
                                         "deeds",
                                         "Books",
                                         "Furniture",
                                         "Decor",
                                         "D" E_ACUTE "cor",
                                         "R" E_ACUTE "actifs",
                                         "Armes",
                                         "Plants",
                                         "plants",
                                         "Food",
                                         "Pets",
                                         "Instruments",
                                         "Keys",
                                         "Lockpicks",
                                         "Arrows",
                                         "Bolts",
                                         "Shields",
                                         "Hats",
                                         "Jewellery",
                                         "Rares",
                                         "rares",
                                         "Misc",
                                         "misc",
                                         "" LAQUO "Promo" RAQUO,
                                         "" EURO " Offers"};

// Skewed choice: the first entries much more often than the last.
template <typename T>
const T& Pick(std::mt19937& rng, const std::vector<T>& table) {
    const std::size_t n = table.size();
    const std::size_t a = rng() % n, b = rng() % n;
    return table[a < b ? a : b];
}

template <typename T>
const T& Even(std::mt19937& rng, const std::vector<T>& table) {
    return table[rng() % table.size()];
}

// Free text of up to maxLength bytes: empty in about `emptyPercent` of the lines.
std::string FreeText(std::mt19937& rng, int emptyPercent, std::size_t maxLength) {
    if (static_cast<int>(rng() % 100) < emptyPercent) return {};
    std::string text;
    const unsigned words = 1 + rng() % 3 + (rng() % 4 == 0 ? rng() % 9 : 0);
    for (unsigned i = 0; i < words; ++i) {
        const std::string& w = Even(rng, kWords);
        if (text.size() + 1 + w.size() > maxLength) break;
        if (!text.empty()) text += ' ';
        text += w;
    }
    return text;
}

std::string Date(std::mt19937& rng) {
    char date[16];
    std::snprintf(date, sizeof date, "%04u%02u%02u", 2003 + static_cast<unsigned>(rng() % 24),
                  1 + static_cast<unsigned>(rng() % 12), 1 + static_cast<unsigned>(rng() % 28));
    return date;
}

std::string Price(std::mt19937& rng) {
    // From a few hundred to a few million gold, in round-ish figures.
    static const unsigned kSteps[] = {1, 10, 50, 100, 500, 1000};
    const unsigned digits = 2 + rng() % 6;
    unsigned value = 1 + rng() % 9;
    for (unsigned i = 1; i < digits; ++i) value = value * 10 + rng() % 10;
    const unsigned step = kSteps[rng() % 6];
    return std::to_string(value / step * step + (value < step ? step : 0));
}

std::string Special(std::mt19937& rng) {
    const unsigned r = rng() % 100;
    return r < 85 ? "0" : r < 95 ? "1" : "2";
}

std::string WeaponHead(std::mt19937& rng) {
    return Pick(rng, kWeapons) + "," + Pick(rng, kMagic) + "," + Special(rng) + "," + Pick(rng, kAccuracy) + "," +
           Pick(rng, kDurability) + "," + Price(rng) + ",";
}

}  // namespace

std::vector<std::string> WeaponStockLines(int count, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        lines.push_back(WeaponHead(rng) + (rng() % 50 == 0 ? std::string() : Date(rng)) + "," + FreeText(rng, 40, 75));
    return lines;
}

std::vector<std::string> WeaponPriceLines(int count, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        lines.push_back(WeaponHead(rng) + std::to_string(rng() % 400) + "," + FreeText(rng, 40, 75) + "," + Date(rng));
    return lines;
}

std::vector<std::string> ArmourStockLines(int count, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        lines.push_back(Pick(rng, kArmour) + "," + Pick(rng, kArmourMagic) + "," + Pick(rng, kDurability) + "," +
                        Price(rng) + "," + Date(rng) + "," + FreeText(rng, 40, 75));
    return lines;
}

std::vector<std::string> ArmourPriceLines(int count, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        lines.push_back(Pick(rng, kArmour) + "," + Pick(rng, kArmourMagic) + "," + Pick(rng, kDurability) + "," +
                        Price(rng) + "," + std::to_string(rng() % 400) + "," + FreeText(rng, 40, 75) + "," + Date(rng));
    return lines;
}

std::vector<std::string> GeneralLines(int count, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::string description = FreeText(rng, 0, 120);
        if (description.empty()) description = "item";
        lines.push_back(Pick(rng, kTypes) + "," + description + "," + Price(rng));
    }
    return lines;
}

std::vector<NamedFile> WeaponPickLists() {
    std::string items, magic;
    for (const std::string& w : kWeapons) items += w + "\r\n";
    for (const std::string& m : kMagic) magic += "\"" + m + "\"," + (m == "Silver" ? "2" : "0") + "\r\n";
    auto plain = [](const std::vector<std::string>& entries) {
        std::string out;
        for (const std::string& e : entries)
            if (!e.empty()) out += e + "\r\n";
        return out;
    };
    return {{"ListMwItem.dat", items},
            {"ListMwMagic.dat", magic},
            {"ListMwAcc.dat", plain(kAccuracy)},
            {"ListMwDur.dat", plain(kDurability)},
            {"ListMwOther.dat", "from the bank\r\nguild\r\n" LAQUO "rare" RAQUO "\r\n"}};
}

const std::vector<std::string>& WeaponNames() { return kWeapons; }
const std::vector<std::string>& MagicNames() { return kMagic; }

std::vector<NamedFile> ArmourPickLists() {
    auto plain = [](const std::vector<std::string>& entries) {
        std::string out;
        for (const std::string& e : entries)
            if (!e.empty()) out += e + "\r\n";
        return out;
    };
    return {{"ListMaItem.dat", plain(kArmour)},
            {"ListMaMagic.dat", plain(kArmourMagic)},
            {"ListMaDur.dat", plain(kDurability)},
            {"ListMaOther.dat", "from the bank\r\nguild\r\n" LAQUO "rare" RAQUO "\r\n"}};
}

const std::vector<std::string>& ArmourNames() { return kArmour; }
const std::vector<std::string>& ArmourMagicNames() { return kArmourMagic; }

std::string JoinLines(const std::vector<std::string>& lines) {
    std::size_t total = 0;
    for (const std::string& line : lines) total += line.size() + 2;
    std::string out;
    out.reserve(total);
    for (const std::string& line : lines) {
        out += line;
        out += "\r\n";
    }
    return out;
}

}  // namespace stallmark::bench
