#pragma once
// State that several pages of the main window share; all zero, false or
// empty when the window is created.

#include <QStringList>

#include "store/Clock.h"

namespace stallmark {

struct SharedState {
    bool SettingsLoading = false;  // LoadSettings is running
    bool SettingsLoaded = false;   // LoadSettings has completed
    bool Ready = false;            // the window has been shown once
    bool TabLayoutBusy = false;
    DateTime BulkTimerStart = 0;
    // Grid resizing allowed: smith grids, magic weapon grid, General grid,
    // magic armour grid, vendor grid.
    bool GridSizingSmith = false, GridSizingMW = false, GridSizingGeneral = false, GridSizingMA = false,
         GridSizingVendor = false;
    bool MWHideDate = false, MWHideAge = false, MWHideOther = false;
    bool MAHideDate = false, MAHideAge = false, MAHideOther = false;
    int MinuteTicks = 0;
    int WarnFlashTicks = 0;
    bool MemoPlaying = false;
    QStringList PlayList;
    int PlayIndex = 0;
    int PauseTicks = 0;
    bool TimerBusy = false;
};

}  // namespace stallmark
