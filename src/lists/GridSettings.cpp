#include "lists/GridSettings.h"

#include <algorithm>

#include "controls/StringGrid.h"

namespace stallmark {

void ReadGridRowHeight(SettingsStore& settings, const values::Int& value, TStringGrid& grid, int minimum) {
    grid.setDefaultRowHeight(std::max(ReadValue(settings, value, grid.DefaultRowHeight()), minimum));
}

void ReadGridColWidths(SettingsStore& settings, const values::IntSeries& series, TStringGrid& grid,
                       const ColumnWidthRule& adjust) {
    for (int col = 0; col < grid.ColCount(); ++col)
        grid.setColWidths(col, adjust(col, ReadValue(settings, series, col, grid.ColWidths(col))));
}

void WriteGridColWidths(SettingsStore& settings, const values::IntSeries& series, const TStringGrid& grid) {
    for (int col = 0; col < grid.ColCount(); ++col) WriteValue(settings, series, col, grid.ColWidths(col));
}

void SetGridEditing(TStringGrid& grid, bool editing) {
    if (editing) {
        grid.setRowSelect(false);
        grid.setEditing(true);
        grid.setEditorMode(true);
    } else {
        grid.setEditorMode(false);
        grid.setEditing(false);
        grid.setRowSelect(true);
    }
}

}  // namespace stallmark
