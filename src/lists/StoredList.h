#pragma once
// One list of the program: what the main window asks of it at start-up, on every
// timer tick and at shutdown. The registry of lists (ListRegistry) calls these in the
// orders the window's start-up and shutdown follow; a list implements what applies.

namespace stallmark {

class SettingsStore;
struct ListDisplay;

// Every list the program keeps. The start-up, settings and shutdown orders are given
// over these (ListRegistry.cpp).
enum class ListId {
    Weapons,     // magic weapons in stock and sold
    Armour,      // magic armour in stock and sold
    Smith,       // smithed armour prices
    BulkOrders,  // small and large bulk order deeds, the bulk timer
    General,     // general goods
    Reagents,    // the reagent calculator
    Memos,       // memos and their playback
    Vendors,     // the vendor ledger
    Charged,     // charged items
    Maps,        // treasure maps
};
inline constexpr int kListIdCount = 10;

class StoredList {
public:
    virtual ~StoredList() = default;

    virtual ListId Id() const = 0;

    // Start-up: reads the list from its file (the load order), and later, after the
    // display options, shows what needs them (the show order).
    virtual void LoadList() {}
    virtual void ShowList() {}
    // The list's values in the settings: read at start-up, written at shutdown.
    virtual void LoadSettings(SettingsStore&) {}
    virtual void SaveSettings(SettingsStore&) {}
    // Every tick of the window's 500 ms timer.
    virtual void TimerTick() {}
    // Display options of one of the lists this list shows (numbers 1 to 11).
    virtual void ApplyListDisplay(int /*number*/, const ListDisplay&) {}
    // At shutdown: an edit still open is saved as its Save button would.
    virtual void SaveOpenEdit() {}
};

}  // namespace stallmark
