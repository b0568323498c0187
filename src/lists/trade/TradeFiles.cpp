#include "lists/trade/TradeFiles.h"

#include "store/Fields.h"
#include "store/Files.h"

namespace stallmark {

VendorFile ReadVendorFile(const std::string& path) {
    VendorFile file;
    LineReader reader(path, kMaxLineBytes);
    std::string_view line;
    if (reader.Next(line)) {
        file.date = GetField(1, ',', std::string(line));
        file.balance = GetField(2, ',', std::string(line));
    }
    while (reader.Next(line))
        if (!IsBlank(line) && line != ",,,") file.vendors.push_back(CommaTextSplit(line));
    file.cut = reader.CutLinesMessage();
    return file;
}

std::string VendorHeaderLine(std::string_view date, std::string_view balance) {
    std::string line(date);
    line += ',';
    line += balance;
    line += "\r\n";
    return line;
}

std::string VendorLine(const std::string& handle, const std::string& name, const std::string& desc,
                       const std::string& amount) {
    return CommaTextJoin({handle, name, desc, amount}) + "\r\n";
}

std::vector<ChargedLine> ReadChargedFile(const std::string& path, std::string& cut) {
    std::vector<ChargedLine> items;
    LineReader reader(path, kMaxLineBytes);
    std::string_view line;
    while (reader.Next(line)) {
        const std::string_view name = GetFieldView(1, ',', line);
        if (IsBlank(name)) continue;  // a nameless line is no item, and is never written back
        items.push_back(
            {std::string(name), ToInt64OrZero(GetFieldView(2, ',', line)), std::string(GetFieldView(3, ',', line))});
    }
    cut = reader.CutLinesMessage();
    return items;
}

std::string ChargedFileLine(const std::string& name, const std::string& price, const std::string& suffix) {
    return name + ',' + price + ',' + suffix + "\r\n";
}

std::vector<MapLine> ReadMapsFile(const std::string& path, std::string& cut) {
    std::vector<MapLine> maps;
    LineReader reader(path, kMaxLineBytes);
    std::string_view line;
    while (reader.Next(line)) {
        const std::string_view name = GetFieldView(1, ',', line);
        if (IsBlank(name)) continue;  // a nameless line is no map, and is never written back
        // Values of ten digits and more are read whole, not lost.
        maps.push_back({std::string(name), DigitsToAmount64(std::string(GetFieldView(2, ',', line)), false),
                        DigitsToAmount64(std::string(GetFieldView(3, ',', line)), false)});
    }
    cut = reader.CutLinesMessage();
    return maps;
}

std::string MapFileLine(const std::string& name, const std::string& level, const std::string& value) {
    return name + ',' + level + ',' + value + "\r\n";
}

}  // namespace stallmark
