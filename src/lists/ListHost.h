#pragma once
// What a list needs from the main window. Lists never include the window or one
// another; everything they share with the rest of the program comes through here.

#include <optional>
#include <string>

#include "lists/OptionsSnapshot.h"
#include "lists/SharedState.h"

class QWidget;

namespace stallmark {

class Clock;
class Dialogs;
class GameKeyboard;
class Pacer;
class SettingsStore;
class TypingSession;

class ListHost {
public:
    virtual ~ListHost() = default;

    virtual Dialogs& HostDialogs() = 0;
    virtual const Clock& HostClock() = 0;
    virtual SettingsStore& HostSettings() = 0;
    // Waiting: pending events and plain sleeps (tests count them).
    virtual Pacer& HostPacer() = 0;
    virtual SharedState& State() = 0;
    // The full path of a data file in the data folder.
    virtual std::string DataFilePath(const std::string& name) = 0;
    // The options as the options dialog shows them now.
    virtual const OptionsSnapshot& OptionValues() = 0;
    // The window the dialogs a list opens belong to.
    virtual QWidget* HostWindow() = 0;

    // The game link: every send goes through the one keyboard (see GameKeyboard).
    virtual GameKeyboard& Keyboard() = 0;
    // "Position game cursor in a book ..." with OK and Cancel: true on OK.
    virtual bool ConfirmGamePosition() = 0;
    // Asks the backspaces needed to clear a book or the profile (the page shown offers
    // its default), confirms the game position and posts them, through session when
    // one holds the keyboard: true when they were posted.
    virtual bool ClearBookOrProfile(TypingSession* session = nullptr) = 0;
    // Lays out the tabs and the shown page again.
    virtual void RelayoutPages() = 0;
};

}  // namespace stallmark
