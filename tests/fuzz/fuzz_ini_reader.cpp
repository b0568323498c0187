// The settings file: any bytes load; every value they hold reads the same after a save
// and a new load; the integer and date helpers take any value; a value written from the
// input comes back exactly.

#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "settings/IniFileSettings.h"
#include "store/Clock.h"

using namespace stallmark;
using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::AsText(data, size);
    const std::string path = fuzz::WriteScratch("Stallmark.ini", text);

    // Candidate names: the text before "=" on each line, as it stands and trimmed.
    std::vector<std::string> names = {"Left", "Bulk Date", "Stallmark"};
    std::size_t start = 0;
    while (start < text.size() && names.size() < 64) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        const std::size_t eq = line.find('=');
        if (eq != std::string_view::npos) {
            std::string name(line.substr(0, eq));
            names.push_back(name);
            while (!name.empty() && (name.back() == ' ' || name.back() == '\t')) name.pop_back();
            while (!name.empty() && (name.front() == ' ' || name.front() == '\t')) name.erase(0, 1);
            names.push_back(name);
        }
        start = end + 1;
    }

    try {
        IniFileSettings first(path);
        for (const std::string& name : names) {
            (void)first.ReadInteger(name, 7);
            (void)first.ReadBool(name, true);
            if (auto date = first.ReadDateTime(name)) Check(IsValidDateTime(*date), "an invalid date read");
        }
        const std::string written(text.substr(0, 200));
        first.WriteString("Fuzz Value", written);
        first.Flush();

        IniFileSettings second(path);
        for (const std::string& name : names) {
            Check(first.ReadRaw(name) == second.ReadRaw(name), "a string changed across a save");
            Check(first.ReadBinary(name) == second.ReadBinary(name), "a binary value changed across a save");
        }
        Check(second.ReadString("Fuzz Value", "") == written, "the written value did not come back");
    } catch (const SettingsError&) {
        // A scratch file that cannot be written or read is the machine's fault, not the input's.
    }
    return 0;
}
