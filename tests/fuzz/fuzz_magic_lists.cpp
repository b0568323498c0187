// The magic weapon and armour lists: the fuzzed bytes loaded as each list's stock and
// price files, line by line as the page fills its grid. Any bytes load without harm; the
// grid's texts are the same by either way of filling it; an empty search finds every line
// and a row's own item finds its line; a row written back keeps its stored price as it
// stands, and a second save of it writes the same line.

#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "lists/magic/MagicRecords.h"
#include "store/Clock.h"
#include "store/Dates.h"
#include "store/Fields.h"
#include "store/Files.h"

using namespace stallmark;
using fuzz::Check;

namespace {

void Load(const MagicListDesc& list, MagicView view, const std::vector<std::string_view>& lines) {
    const FixedClock clock(EncodeDateTime(2026, 12, 9, 10, 30, 0));
    const MagicLineFor form = view == MagicView::Stock ? MagicLineFor::Stock : MagicLineFor::Prices;
    MagicFields fields;
    MagicRowViews views;
    for (std::string_view line : lines) {
        SplitMagicLine(list, view, line, fields);
        Check(fields.size() >= static_cast<std::size_t>(list.Commas(view)) + 1, "a line split into too few fields");
        Check(MatchesSearch(list, view, MagicSearch{}, fields), "an empty search leaves a line out");
        MagicCells cells;
        const bool shown = LineToViews(list, view, fields, clock, clock.Now(), views);
        Check(shown == LineToCells(list, view, fields, clock, clock.Now(), cells), "the two fills differ on a row");
        if (!shown) continue;
        for (std::size_t i = 0; i < cells.text.size(); ++i)
            Check(cells.text[i] == views.text[i], "the two fills give a row other texts");
        MagicSearch search;
        search.item = std::string(views[MagicCol::Item]);
        Check(MatchesSearch(list, view, search, fields), "a row's own item does not find it");
        DescribeCells(list, cells, true, true, false);
        DescribeCells(list, cells, false, true, true);

        const std::string written = CellsToLine(list, form, cells, clock);
        MagicFields back;
        SplitMagicLine(list, view, written, back);
        const int priceField = list.Field(MagicPart::Price, view);
        Check(back[static_cast<std::size_t>(priceField) - 1] == fields[static_cast<std::size_t>(priceField) - 1],
              "a stored price is rewritten");
        MagicCells again;
        if (!LineToCells(list, view, back, clock, clock.Now(), again)) {
            // Only an item made of commas or blanks is left empty by the save.
            Check(CleanField(cells[MagicCol::Item]).empty(), "a written row is no row");
            continue;
        }
        Check(CellsToLine(list, form, again, clock) == written, "a second save of a row changes its line");
        CellsToLine(list, MagicLineFor::Sale, cells, clock);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = fuzz::WriteScratch("MWStock.dat", fuzz::AsText(data, size));
    std::vector<std::string> stored;
    LineReader reader(path, kMaxLineBytes);
    std::string line;
    while (reader.Next(line)) stored.push_back(line);
    const std::vector<std::string_view> lines(stored.begin(), stored.end());
    for (const MagicListDesc* list : {&WeaponList(), &ArmourList()})
        for (MagicView view : {MagicView::Stock, MagicView::Prices}) Load(*list, view, lines);
    return 0;
}
