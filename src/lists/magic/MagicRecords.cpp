#include "lists/magic/MagicRecords.h"

#include <cmath>

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

// The date as StoredDateToDate reads it, and its shown form. The common form, eight digits,
// is done here without formatting.
DateTime ReadDate(std::string_view text, const Clock& clock, std::string* shown) {
    int year, month, day;
    if (ParseStoredDigits(text, year, month, day)) {
        if (shown) {
            const char form[10] = {text[6], text[7], '/', text[4], text[5], '/', text[0], text[1], text[2], text[3]};
            shown->assign(form, sizeof form);
        }
        return EncodeDate(year, month, day);
    }
    const DateTime value = StoredDateToDate(text, clock);
    if (shown) *shown = FormatShownDate(value);
    return value;
}

// DigitsToAmount without money formatting; a plain number is taken as it is.
void AmountInto(std::string_view text, std::string& out) {
    bool plain = !text.empty() && text.size() <= 9 && (text.size() == 1 || text[0] != '0');
    for (char c : text)
        if (c < '0' || c > '9') {
            plain = false;
            break;
        }
    if (plain)
        out.assign(text);
    else
        out = DigitsToAmount(std::string(text), false);
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

bool LineToCells(const MagicListDesc& list, MagicView view, const MagicFields& fields, const Clock& clock,
                 DateTime now, MagicCells& cells) {
    const std::string_view item = FieldOf(list, view, MagicPart::Item, fields);
    if (IsBlank(item)) return false;
    cells[MagicCol::Item].assign(item);
    cells[MagicCol::Magic].assign(FieldOf(list, view, MagicPart::Magic, fields));
    cells[MagicCol::Accuracy].assign(FieldOf(list, view, MagicPart::Accuracy, fields));
    cells[MagicCol::Durability].assign(FieldOf(list, view, MagicPart::Durability, fields));
    cells[MagicCol::Other].assign(FieldOf(list, view, MagicPart::Other, fields));
    cells[MagicCol::Special].assign(
        list.hasSpecial ? SpecialText(ToIntOrZero(FieldOf(list, view, MagicPart::Special, fields))) : "");
    AmountInto(FieldOf(list, view, MagicPart::Price, fields), cells[MagicCol::Price]);

    const std::string_view date = FieldOf(list, view, MagicPart::Date, fields);
    if (view == MagicView::Stock) {
        if (IsBlank(date)) {
            cells[MagicCol::Date].clear();
            cells[MagicCol::Age].clear();
        } else {
            const DateTime stocked = ReadDate(date, clock, &cells[MagicCol::Date]);
            cells[MagicCol::Age] = std::to_string(static_cast<long long>(std::trunc(now - stocked)));
        }
    } else {
        ReadDate(FieldOf(list, view, MagicPart::DateSold, fields), clock, &cells[MagicCol::Date]);
        cells[MagicCol::Age].assign(date);
    }
    return true;
}

bool LineToCells(const MagicListDesc& list, MagicView view, std::string_view line, const Clock& clock,
                 MagicCells& cells) {
    MagicFields fields;
    SplitMagicLine(list, view, line, fields);
    return LineToCells(list, view, fields, clock, clock.Now(), cells);
}

std::string CellsToLine(const MagicListDesc& list, MagicLineFor form, const MagicCells& cells, const Clock& clock) {
    const auto shownToStored = [&](const std::string& shown) { return FormatStoredDate(ReadDate(shown, clock, nullptr)); };
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
            case MagicPart::Price:
                AppendField(line, first, std::to_string(ToIntOrZero(DigitsToAmount(cells[MagicCol::Price], false))));
                break;
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

bool MatchesSearch(const MagicListDesc& list, MagicView view, const MagicSearch& search, const MagicFields& fields) {
    const auto differs = [&](const std::string& text, MagicPart part) {
        return list.HasPart(part) && !IsBlank(text) && text != FieldOf(list, view, part, fields);
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
        for (MagicCol role : {MagicCol::Durability, MagicCol::Accuracy, MagicCol::Special, MagicCol::Magic,
                              MagicCol::Other}) {
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
