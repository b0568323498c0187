#include "lists/picklists/PickListFiles.h"

#include "store/Fields.h"
#include "store/Files.h"

namespace stallmark {

std::vector<std::string> ReadPickList(const std::string& path) {
    std::vector<std::string> entries;
    if (!FileExists(path)) return entries;
    LineReader reader(path);
    std::string_view line;
    while (reader.Next(line))
        if (!IsBlank(line)) entries.emplace_back(line);
    return entries;
}

void WritePickList(const std::string& path, const std::vector<std::string>& entries, bool keepTrailing) {
    std::vector<std::string> lines;
    lines.reserve(entries.size());
    for (const std::string& entry : entries) {
        std::string clean = CleanField(entry, keepTrailing);
        if (!clean.empty()) lines.push_back(std::move(clean));
    }
    WriteLines(path, lines);
}

bool ParseMagicLine(std::string_view line, MagicEntry& entry) {
    if (IsBlank(line)) return false;
    std::string_view name, code;
    const size_t closing = line.size() > 1 && line.front() == '"' ? line.rfind("\",") : std::string_view::npos;
    if (closing != std::string_view::npos && closing > 0) {
        name = line.substr(1, closing - 1);
        code = GetFieldView(1, ',', line.substr(closing + 2));
    } else {
        name = GetFieldView(1, ',', line);
        code = GetFieldView(2, ',', line);
        if (!name.empty() && name.front() == '"') name.remove_prefix(1);
        if (!name.empty() && name.back() == '"') name.remove_suffix(1);
    }
    if (IsBlank(name)) return false;
    entry.name.assign(name);
    entry.code = ToIntOrZero(code);
    return true;
}

std::vector<MagicEntry> ReadMagicPickList(const std::string& path) {
    std::vector<MagicEntry> entries;
    if (!FileExists(path)) return entries;
    LineReader reader(path);
    std::string_view line;
    MagicEntry entry;
    while (reader.Next(line))
        if (ParseMagicLine(line, entry)) entries.push_back(entry);
    return entries;
}

std::string MagicLine(const MagicEntry& entry) {
    std::string name = entry.name;
    for (char& c : name)
        if (c == ',') c = ' ';
    // A name made of commas and blanks alone would come out blank and be lost at the next
    // read; it keeps its commas instead, which the quotes hold together.
    if (IsBlank(name)) name = entry.name;
    return "\"" + name + "\"," + std::to_string(entry.code);
}

void WriteMagicPickList(const std::string& path, const std::vector<MagicEntry>& entries) {
    std::vector<std::string> lines;
    for (const MagicEntry& entry : entries)
        if (!IsBlank(entry.name)) lines.push_back(MagicLine(entry));
    WriteLines(path, lines);
}

}  // namespace stallmark
