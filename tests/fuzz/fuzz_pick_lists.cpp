// The pick-list files: any bytes load as a plain list and as the magic list without harm;
// a plain list's entries are the file's non-blank lines; a magic entry has a name, and
// written out and read again it is stable.

#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "lists/picklists/PickListFiles.h"
#include "store/Fields.h"
#include "store/Files.h"

using namespace stallmark;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    const std::string path = fuzz::WriteScratch("ListMwItem.dat", text);

    std::vector<std::string_view> lines;
    SplitLines(text, lines);
    std::vector<std::string> nonBlank;
    for (std::string_view line : lines)
        if (!IsBlank(line)) nonBlank.emplace_back(line);
    Check(ReadPickList(path) == nonBlank, "plain entries differ from the file's lines");

    const std::vector<MagicEntry> entries = ReadMagicPickList(path);
    for (const MagicEntry& entry : entries) Check(!IsBlank(entry.name), "a magic entry without a name");
    for (std::string_view line : lines) {
        MagicEntry entry;
        if (!ParseMagicLine(line, entry)) continue;
        // Once written, an entry reads back as it was written.
        MagicEntry once;
        if (!ParseMagicLine(MagicLine(entry), once)) continue;
        MagicEntry twice;
        Check(ParseMagicLine(MagicLine(once), twice), "a written entry does not read back");
        Check(twice.name == once.name && twice.code == once.code, "a written entry changed");
    }
    return 0;
}
