// The main window's dealings with the list grids.
#include "app/StallmarkForm.h"
#include "controls/StringGrid.h"

namespace stallmark {

int GridDefaultRowHeight(TStringGrid* grid) { return grid->DefaultRowHeight(); }
void SetGridDefaultRowHeight(TStringGrid* grid, int height) { grid->setDefaultRowHeight(height); }
void TStallmarkForm::SetGridSizing(TStringGrid* grid, bool allowed) { grid->SetGridSizing(allowed); }

}  // namespace stallmark
