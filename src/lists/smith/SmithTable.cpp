#include "lists/smith/SmithTable.h"

#include <numeric>

#include "store/Fields.h"
#include "store/GameNames.h"

namespace stallmark::smith {

TypeNames ParseDescriptionLine(std::string_view line) {
    return {std::string(GetFieldView(1, ',', line)), std::string(GetFieldView(2, ',', line))};
}

std::string FormatDescriptionLine(const TypeNames& names, TypeNames* cut) {
    TypeNames shortened{names.description.substr(0, kMaxDescription), names.shortName.substr(0, kMaxShortName)};
    std::string line = CleanField(shortened.description, false);
    line += ',';
    line += CleanField(shortened.shortName, false);
    if (cut) *cut = std::move(shortened);
    return line;
}

std::vector<std::string> ParsePriceLine(std::string_view line) {
    std::vector<std::string> items = CommaTextSplit(line);
    if (items.size() > static_cast<size_t>(kOreCount)) items.resize(kOreCount);
    for (std::string& item : items)
        if (item.empty()) item.assign(1, ' ');
    return items;
}

std::string FormatPriceLine(const std::vector<std::string>& prices) {
    std::vector<std::string> items(kOreCount);
    for (size_t i = 0; i < items.size() && i < prices.size(); ++i)
        if (!IsBlank(prices[i])) items[i] = prices[i];
    return CommaTextJoin(items);
}

PriceCheck CheckPrice(const std::string& cell) {
    if (IsBlank(cell)) return {"0", false};
    std::string price = DigitsToAmount(cell.substr(0, kMaxPriceDigits), false);
    const bool ask = price != cell;
    return {std::move(price), ask};
}

std::string PriceWarning(int oreRow, const std::string& description, const std::string& cell,
                         const std::string& price) {
    std::string text(NameAt(SmithOreNames, oreRow - 1));
    text += ' ';
    text += description;
    text += "\n\rInvalid Value ";
    text += cell;
    text += "\n\rAltered to ";
    text += price;
    text += " !";
    return text;
}

std::string_view SentOreName(int oreRow) { return NameAt(OreNames, oreRow - 1); }

namespace {

void AppendTypeAndOre(std::string& text, const std::string& description, int oreRow) {
    text += description;
    text += " - ";
    text += SentOreName(oreRow);
}

}  // namespace

std::string PriceText(const std::string& price, const std::string& description, int oreRow, bool withValue,
                      bool withDescription) {
    std::string text = withValue ? price : std::string();
    if (withDescription) {
        if (!IsBlank(text)) text += ',';
        AppendTypeAndOre(text, description, oreRow);
    }
    return text;
}

std::string PlainPriceText(const std::string& price, const std::string& description, int oreRow) {
    std::string text = price;
    text += ',';
    AppendTypeAndOre(text, description, oreRow);
    return text;
}

std::vector<int> MovedOrder(int count, int from, int to) {
    std::vector<int> order;
    if (count <= 0) return order;
    order.reserve(static_cast<size_t>(count));
    if (from == to || from < 0 || to < 0 || from >= count || to >= count) {
        order.resize(static_cast<size_t>(count));
        std::iota(order.begin(), order.end(), 0);
        return order;
    }
    // Walk the others in their old order; the moved type goes in after the one now at
    // its new place when it moved down, before it when it moved up.
    for (int c = 0; c < count; ++c) {
        if (c == from) continue;
        if (to < from && c == to) order.push_back(from);
        order.push_back(c);
        if (to > from && c == to) order.push_back(from);
    }
    return order;
}

}  // namespace stallmark::smith
