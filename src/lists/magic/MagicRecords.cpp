#include "lists/magic/MagicRecords.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>

#include "store/Dates.h"
#include "store/Fields.h"

namespace stallmark {

namespace {

std::string_view FieldOf(const MagicListDesc& list, MagicView view, MagicPart part, const MagicFields& fields) {
    const int n = list.Field(part, view);
    return n > 0 && n <= static_cast<int>(fields.size()) ? fields[static_cast<size_t>(n) - 1] : std::string_view();
}

// A stored date of eight digits that names a real day: its parts; false for anything else.
bool ParseStoredDigits(std::string_view text, int& year, int& month, int& day) {
    if (text.size() != 8) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    year = (text[0] - '0') * 1000 + (text[1] - '0') * 100 + (text[2] - '0') * 10 + (text[3] - '0');
    month = (text[4] - '0') * 10 + (text[5] - '0');
    day = (text[6] - '0') * 10 + (text[7] - '0');
    return IsValidDate(year, month, day);
}

// The date as StoredDateToDate reads it.
DateTime ReadDate(std::string_view text, const Clock& clock) {
    int year, month, day;
    if (ParseStoredDigits(text, year, month, day)) return EncodeDate(year, month, day);
    return StoredDateToDate(text, clock);
}

// The same, with its shown form "dd/mm/yyyy" written to buffer (10 bytes) and viewed by shown.
// The common form, eight digits, is rearranged without formatting.
DateTime ReadDate(std::string_view text, const Clock& clock, char* buffer, std::string_view& shown) {
    int year, month, day;
    DateTime value;
    if (ParseStoredDigits(text, year, month, day)) {
        const char form[10] = {text[6], text[7], '/', text[4], text[5], '/', text[0], text[1], text[2], text[3]};
        std::memcpy(buffer, form, sizeof form);
        value = EncodeDate(year, month, day);
    } else {
        value = StoredDateToDate(text, clock);
        const std::string form = FormatShownDate(value);
        const size_t size = std::min<size_t>(form.size(), 10);
        std::memcpy(buffer, form.data(), size);
        shown = std::string_view(buffer, size);
        return value;
    }
    shown = std::string_view(buffer, 10);
    return value;
}

// ReadDate with what a fill knows of the date (see kDateUnread): a day already read is
// only rearranged into its shown form; else it is read, and known from then on.
DateTime ReadDate(std::string_view text, const Clock& clock, char* buffer, std::string_view& shown,
                  std::int32_t* known) {
    if (known == nullptr || *known == kDateUncommon) return ReadDate(text, clock, buffer, shown);
    if (*known != kDateUnread && text.size() == 8) {
        const char form[10] = {text[6], text[7], '/', text[4], text[5], '/', text[0], text[1], text[2], text[3]};
        std::memcpy(buffer, form, sizeof form);
        shown = std::string_view(buffer, sizeof form);
        return static_cast<DateTime>(*known);
    }
    int year, month, day;
    if (!ParseStoredDigits(text, year, month, day)) {
        *known = kDateUncommon;
        return ReadDate(text, clock, buffer, shown);
    }
    const char form[10] = {text[6], text[7], '/', text[4], text[5], '/', text[0], text[1], text[2], text[3]};
    std::memcpy(buffer, form, sizeof form);
    shown = std::string_view(buffer, sizeof form);
    const DateTime value = EncodeDate(year, month, day);
    *known = static_cast<std::int32_t>(value);
    return value;
}

// DigitsToAmount without money formatting; a plain number is the text itself, anything
// else is worked out into buffer.
std::string_view AmountView(std::string_view text, std::string& buffer) {
    bool plain = !text.empty() && text.size() <= 9 && (text.size() == 1 || text[0] != '0');
    for (char c : text)
        if (c < '0' || c > '9') {
            plain = false;
            break;
        }
    if (plain) return text;
    buffer = DigitsToAmount64(std::string(text), false);
    return buffer;
}

// The price field of a line: the stored text while the Price cell still shows it, else
// the amount the cell holds.
std::string PriceField(const MagicCells& cells) {
    const std::string& cell = cells[MagicCol::Price];
    if (cells.storedPrice && DigitsToAmount64(*cells.storedPrice, false) == cell) return *cells.storedPrice;
    return DigitsToAmount64(cell, false);
}

void AppendField(std::string& line, bool& first, const std::string& value) {
    if (!first) line += ',';
    first = false;
    line += value;
}

}  // namespace

const char* SpecialText(int code) {
    switch (code) {
        case 1: return "Virtue";
        case 2: return "Silver";
        default: return "";
    }
}

int SpecialCode(std::string_view text) {
    if (text == "Silver") return 2;
    if (text == "Virtue") return 1;
    return 0;
}

void SplitMagicLine(const MagicListDesc& list, MagicView view, std::string_view line, MagicFields& fields) {
    SplitFieldViews(line, ',', fields);
    const size_t want = static_cast<size_t>(list.Commas(view)) + 1;
    if (fields.size() < want) fields.resize(want);
}

bool LineToViews(const MagicListDesc& list, MagicView view, const MagicFields& fields, const Clock& clock, DateTime now,
                 MagicRowViews& row, std::int32_t* known) {
    const std::string_view item = FieldOf(list, view, MagicPart::Item, fields);
    if (item.empty() || (static_cast<unsigned char>(item[0]) <= ' ' && IsBlank(item))) return false;
    auto& text = row.text;
    text[static_cast<size_t>(MagicCol::Item)] = item;
    text[static_cast<size_t>(MagicCol::Magic)] = FieldOf(list, view, MagicPart::Magic, fields);
    text[static_cast<size_t>(MagicCol::Accuracy)] = FieldOf(list, view, MagicPart::Accuracy, fields);
    text[static_cast<size_t>(MagicCol::Durability)] = FieldOf(list, view, MagicPart::Durability, fields);
    text[static_cast<size_t>(MagicCol::Other)] = FieldOf(list, view, MagicPart::Other, fields);
    if (list.hasSpecial) {
        const std::string_view special = FieldOf(list, view, MagicPart::Special, fields);
        // Nearly always one digit.
        const int code = special.size() == 1 ? (special[0] >= '0' && special[0] <= '9' ? special[0] - '0' : 0)
                                             : ToIntOrZero(special);
        text[static_cast<size_t>(MagicCol::Special)] = SpecialText(code);
    } else {
        text[static_cast<size_t>(MagicCol::Special)] = "";
    }
    text[static_cast<size_t>(MagicCol::Price)] = AmountView(FieldOf(list, view, MagicPart::Price, fields), row.price);

    const std::string_view date = FieldOf(list, view, MagicPart::Date, fields);
    std::string_view& dateCell = text[static_cast<size_t>(MagicCol::Date)];
    std::string_view& ageCell = text[static_cast<size_t>(MagicCol::Age)];
    if (view == MagicView::Stock) {
        if (date.empty() || (static_cast<unsigned char>(date[0]) <= ' ' && IsBlank(date))) {
            dateCell = {};
            ageCell = {};
        } else {
            const DateTime stocked = ReadDate(date, clock, row.date, dateCell, known);
            const auto [end, ec] =
                std::to_chars(row.age, row.age + sizeof row.age, static_cast<long long>(std::trunc(now - stocked)));
            ageCell = std::string_view(row.age, static_cast<size_t>(end - row.age));
        }
    } else {
        ReadDate(FieldOf(list, view, MagicPart::DateSold, fields), clock, row.date, dateCell, known);
        ageCell = date;
    }
    return true;
}

bool LineToCells(const MagicListDesc& list, MagicView view, const MagicFields& fields, const Clock& clock, DateTime now,
                 MagicCells& cells) {
    MagicRowViews row;
    if (!LineToViews(list, view, fields, clock, now, row)) return false;
    for (size_t i = 0; i < cells.text.size(); ++i) cells.text[i].assign(row.text[i]);
    cells.storedPrice = std::string(FieldOf(list, view, MagicPart::Price, fields));
    return true;
}

bool LineToCells(const MagicListDesc& list, MagicView view, std::string_view line, const Clock& clock,
                 MagicCells& cells) {
    MagicFields fields;
    SplitMagicLine(list, view, line, fields);
    return LineToCells(list, view, fields, clock, clock.Now(), cells);
}

std::string CellsToLine(const MagicListDesc& list, MagicLineFor form, const MagicCells& cells, const Clock& clock) {
    const auto shownToStored = [&](const std::string& shown) { return FormatStoredDate(ReadDate(shown, clock)); };
    std::string line;
    bool first = true;
    for (MagicPart part : list.stockFields) {
        switch (part) {
            case MagicPart::Item: AppendField(line, first, CleanField(cells[MagicCol::Item])); break;
            case MagicPart::Magic: AppendField(line, first, CleanField(cells[MagicCol::Magic])); break;
            case MagicPart::Accuracy: AppendField(line, first, CleanField(cells[MagicCol::Accuracy])); break;
            case MagicPart::Durability: AppendField(line, first, CleanField(cells[MagicCol::Durability])); break;
            case MagicPart::Other: AppendField(line, first, CleanField(cells[MagicCol::Other])); break;
            case MagicPart::Special:
                AppendField(line, first, std::to_string(SpecialCode(cells[MagicCol::Special])));
                break;
            case MagicPart::Price: AppendField(line, first, PriceField(cells)); break;
            case MagicPart::Date:
                AppendField(line, first,
                            form == MagicLineFor::Stock ? shownToStored(cells[MagicCol::Date])
                                                        : DigitsToAmount(cells[MagicCol::Age], false));
                break;
            case MagicPart::DateSold: break;
        }
    }
    if (form == MagicLineFor::Prices || (form == MagicLineFor::Sale && list.soldOnStockDate))
        AppendField(line, first, shownToStored(cells[MagicCol::Date]));
    else if (form == MagicLineFor::Sale)
        AppendField(line, first, FormatStoredDate(clock.Now()));
    return line;
}

bool SearchRestricts(const MagicListDesc& list, const MagicSearch& search) {
    const auto restricts = [&](const std::string& text, MagicPart part) {
        return list.HasPart(part) && !text.empty() && !IsBlank(text);
    };
    return restricts(search.item, MagicPart::Item) || restricts(search.durability, MagicPart::Durability) ||
           restricts(search.magic, MagicPart::Magic) || restricts(search.accuracy, MagicPart::Accuracy) ||
           (list.hasSpecial && (search.none || search.silver || search.virtue));
}

bool MatchesSearch(const MagicListDesc& list, MagicView view, const MagicSearch& search, const MagicFields& fields) {
    const auto differs = [&](const std::string& text, MagicPart part) {
        return list.HasPart(part) && !text.empty() && !IsBlank(text) && text != FieldOf(list, view, part, fields);
    };
    if (differs(search.item, MagicPart::Item) || differs(search.durability, MagicPart::Durability) ||
        differs(search.magic, MagicPart::Magic) || differs(search.accuracy, MagicPart::Accuracy))
        return false;
    if (!list.hasSpecial || !(search.none || search.silver || search.virtue)) return true;
    const int code = ToIntOrZero(FieldOf(list, view, MagicPart::Special, fields));
    return (search.none && code == 0) || (search.silver && code == 2) || (search.virtue && code == 1);
}

std::string DescribeCells(const MagicListDesc& list, const MagicCells& cells, bool withValue, bool withDescription,
                          bool forHint) {
    if (IsBlank(cells[MagicCol::Item])) return {};
    std::string text;
    if (withValue && !forHint && !IsBlank(cells[MagicCol::Price])) text += cells[MagicCol::Price] + ",";
    if (withDescription || forHint) {
        text += cells[MagicCol::Item];
        for (MagicCol role :
             {MagicCol::Durability, MagicCol::Accuracy, MagicCol::Special, MagicCol::Magic, MagicCol::Other}) {
            if (list.Column(role) < 0) continue;
            const std::string& cell = cells[role];
            if (role == MagicCol::Special) {
                if (cell == "Silver") text += " Silver";
            } else if (!IsBlank(cell)) {
                text += ' ';
                text += cell;
            }
        }
    }
    if (forHint) text += " = " + cells[MagicCol::Price];
    return text;
}


}  // namespace stallmark
