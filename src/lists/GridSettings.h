#pragma once
// The sizes of a list's grid kept in the settings: its default row height and one
// width per column, read at start-up (held to the value's range) and written at
// shutdown; and the switch of a grid between browsing and editing.

#include <functional>

#include "settings/SettingValues.h"

namespace stallmark {

class TStringGrid;

// The default row height from value, at least minimum (the grid's own when missing).
void ReadGridRowHeight(SettingsStore& settings, const values::Int& value, TStringGrid& grid, int minimum);
// Each column's width from series + column; adjust(column, stored width) gives the
// width to use (the grid's own width when the value is missing).
using ColumnWidthRule = std::function<int(int col, int width)>;
void ReadGridColWidths(SettingsStore& settings, const values::IntSeries& series, TStringGrid& grid,
                       const ColumnWidthRule& adjust);
void WriteGridColWidths(SettingsStore& settings, const values::IntSeries& series, const TStringGrid& grid);

// Browsing: whole rows selected, no cell editor. Editing: cells editable with the
// editor always shown on the current cell.
void SetGridEditing(TStringGrid& grid, bool editing);

}  // namespace stallmark
