// The main window's dealings with the list grids.
#include "app/StallmarkForm.h"

namespace stallmark {

int GridDefaultRowHeight(TStringGrid*) { return 0; }
void SetGridDefaultRowHeight(TStringGrid*, int) {}
void TStallmarkForm::SetGridSizing(TStringGrid*, bool) {}

}  // namespace stallmark
