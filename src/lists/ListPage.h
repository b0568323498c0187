#pragma once
// What the main window asks of every list page: its part of the settings,
// its Send, its grids for resizing and display options, and saving an edit
// that is still open at shutdown. A page implements what applies to it.

#include <vector>

namespace stallmark {

class SettingsStore;
class TStringGrid;
struct ListDisplay;

class ListPage {
public:
    virtual ~ListPage() = default;

    // Start-up: loads the list from its file (in the order the lists were
    // added to the window), and later, after the display options, shows the
    // lists that need them (the weapon and armour grids).
    virtual void LoadList() {}
    virtual void ShowList() {}

    // Every tick of the window's 500 ms timer.
    virtual void TimerTick() {}

    // The page's values in the settings (read at start-up, written at exit).
    virtual void LoadSettings(SettingsStore&) {}
    virtual void SaveSettings(SettingsStore&) {}

    // "Send To Game" (F2) while the page is shown.
    virtual void SendToGame() {}
    // "Send To Detail": the selected row into the detail boxes.
    virtual void SendToDetail() {}

    // The grids that "Resize Grid" acts on (the first one is asked for the
    // row height); empty when the page has none.
    virtual std::vector<TStringGrid*> SizingGrids() { return {}; }
    // Lays the page out again (a posted size message does the same).
    virtual void Relayout() {}

    // Display options of one of the page's lists.
    virtual void ApplyListDisplay(int /*number*/, const ListDisplay&) {}

    // "Reorder" (the weapon page re-sorts its files).
    virtual void Reorder() {}
    // "Hide Date", "Hide Age", "Hide Other" toggled to hide.
    enum class HideColumn { Date, Age, Other };
    virtual void HideColumnChanged(HideColumn, bool /*hide*/) {}

    // At shutdown: when an edit is still open, save it as its Save button would.
    virtual void SaveOpenEdit() {}
};

}  // namespace stallmark
