#pragma once
// What a list page needs from the main window. Pages never include the
// window or one another; they reach shared things through this.

#include <string>

#include "controls/ToolButton.h"
#include "lists/SharedState.h"

namespace stallmark {

class Dialogs;
class Clock;
class SettingsStore;

// One row of the options dialog's send table (rows 1 to 6).
struct SendRowOptions {
    bool value = true;
    bool description = true;
    bool enter = true;
};

class ListHost {
public:
    virtual ~ListHost() = default;

    virtual Dialogs& HostDialogs() = 0;
    virtual const Clock& HostClock() = 0;
    virtual SettingsStore& HostSettings() = 0;
    virtual SharedState& State() = 0;
    // The full path of a data file in the data folder.
    virtual std::string DataFilePath(const std::string& name) = 0;

    // Options as the options dialog holds them at this moment.
    virtual SendRowOptions SendRow(int row) = 0;
    virtual int BackSpc() = 0;  // "BackSpc": 0 when not an integer
    virtual bool ShowHints() = 0;
    // "Show Hints", "Button Graphic", "Button Text": for the button bars of
    // the dialogs a page opens.
    virtual ButtonOptions HostButtonOptions() = 0;

    // The game link.
    virtual void SendToGame(const std::string& text, bool sendEnter, int backspaces) = 0;
};

}  // namespace stallmark
