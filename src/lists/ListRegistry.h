#pragma once
// Every list of the main window, and the orders in which start-up and shutdown reach
// them: the window adds each page's lists here and then asks for a phase's order.

#include <array>
#include <functional>
#include <vector>

#include "lists/StoredList.h"

namespace stallmark {

class ListRegistry {
public:
    enum class Phase {
        Load,           // read from the data files at start-up
        Show,           // shown after the display options are applied
        ReadSettings,   // values read from the settings at start-up
        WriteSettings,  // values written to the settings at shutdown
        SaveOpenEdit,   // an edit still open saved at shutdown
        Tick,           // the 500 ms timer
    };

    // Adds a list; a second list with the same id replaces the first.
    void Add(StoredList* list);
    // Takes a list out (its page is going away); nothing when it is not registered.
    void Remove(const StoredList* list);
    StoredList* Find(ListId id) const { return byId_[static_cast<size_t>(id)]; }
    // The registered lists in the order of phase.
    std::vector<StoredList*> InOrder(Phase phase) const;
    void ForEach(Phase phase, const std::function<void(StoredList&)>& action) const;

    // The order of a phase over every list id (each id exactly once).
    static const std::array<ListId, kListIdCount>& Order(Phase phase);

private:
    std::array<StoredList*, kListIdCount> byId_{};
};

}  // namespace stallmark
