#pragma once
// The files of the pick lists behind the detail boxes. A plain pick list holds one entry
// per line. The weapon magic list holds one entry per line as a quoted name, a comma and
// the entry's special status code: "Vanquishing",0.

#include <string>
#include <string_view>
#include <vector>

namespace stallmark {

// The entries of a plain pick list: every line that is not blank, as it was read. A
// missing file has none.
std::vector<std::string> ReadPickList(const std::string& path);

// Writes entries, one a line, each passed through CleanField (trailing blanks kept when
// keepTrailing is set); entries that come out empty are left out.
void WritePickList(const std::string& path, const std::vector<std::string>& entries, bool keepTrailing);

struct MagicEntry {
    std::string name;
    int code = 0;  // 0 none, 1 virtue, 2 silver
};

// One line of the magic list: the name without its enclosing double quotes and the code
// after the comma (0 when missing or not a number). A quoted name runs to its closing
// quote, so a name that holds a comma reads back whole; an unquoted one ends at the first
// comma. False for a blank line or a blank name.
bool ParseMagicLine(std::string_view line, MagicEntry& entry);
std::vector<MagicEntry> ReadMagicPickList(const std::string& path);

// Writes one line per entry whose name is not blank: the name in double quotes (a comma in
// it stored as a blank, unless the name is nothing but commas and blanks: then it is
// stored as it stands, so that it reads back), ",", the code. A name of blanks alone is an
// empty row, not an entry.
void WriteMagicPickList(const std::string& path, const std::vector<MagicEntry>& entries);
std::string MagicLine(const MagicEntry& entry);

}  // namespace stallmark
