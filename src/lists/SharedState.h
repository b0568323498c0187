#pragma once
// The main window's flags that more than one part of the program reads; all start
// false or zero when the window is created. State that one page alone needs lives in
// that page.

#include "store/Clock.h"

namespace stallmark {

struct SharedState {
    bool SettingsLoading = false;  // LoadSettings is running
    bool SettingsLoaded = false;   // LoadSettings has completed
    bool Ready = false;            // the window has been shown once
    bool TabLayoutBusy = false;    // LayoutTabs is running
    bool TimerBusy = false;        // the timer handler is running
    bool MemoPlaying = false;      // memo playback runs: sends leave the foreground alone
    bool Closing = false;          // the window is closing: long runs of sends stop
    DateTime BulkTimerStart = 0;   // start of the bulk order timer ("Bulk Date")
};

}  // namespace stallmark
