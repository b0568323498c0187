#pragma once
// The options the lists use, as one read-only value. The window keeps it equal to
// what the options dialog shows: it is taken again whenever a control of the dialog
// changes, so a list reads an option as it stands at the moment of use.

#include <array>
#include <string>

#include "controls/ToolButton.h"

namespace stallmark {

// One row of the options dialog's send table (rows 1 to 6): which parts of a list's
// line are typed, and whether Enter follows.
struct SendRowOptions {
    bool value = true;
    bool description = true;
    bool enter = true;
};

struct OptionsSnapshot {
    // Rows 1 (weapons), 2 (armour), 3 (smith), 4 (bulk orders), 5 (General), 6 (reagents
    // and maps); index 0 is unused.
    std::array<SendRowOptions, 7> sendRows{};
    int backSpc = 20;                // "BackSpc": 0 when not an integer
    std::string backSpcText = "20";  // its text as typed
    int listDelay = 1000;            // "ListDelay": 0 when not an integer
    ButtonOptions buttons;           // "Show Hints", "Button Graphic", "Button Text"

    const SendRowOptions& SendRow(int row) const {
        return sendRows[static_cast<size_t>(row >= 1 && row <= 6 ? row : 0)];
    }
};

}  // namespace stallmark
