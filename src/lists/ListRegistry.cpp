#include "lists/ListRegistry.h"

namespace stallmark {

namespace {

using enum ListId;
using Sequence = std::array<ListId, kListIdCount>;

// Start-up reads the smith prices, the General list, the treasure maps, the charged
// items, the bulk orders, the memos and the vendor ledger in this order.
constexpr Sequence kLoad = {Smith, General, Maps, Charged, BulkOrders, Memos, Vendors, Weapons, Armour, Reagents};
// After the display options: the weapon and armour grids, then the bulk timer.
constexpr Sequence kShow = {Weapons, Armour, BulkOrders, Smith, General, Maps, Charged, Memos, Vendors, Reagents};
// The last memo shown, the reagents, the General sort key, then the grids' sizes.
constexpr Sequence kReadSettings = {Memos,   Reagents, General, Smith,      Vendors,
                                    Weapons, Armour,   Maps,    BulkOrders, Charged};
constexpr Sequence kWriteSettings = {Memos,   Reagents, General, Smith,      Vendors,
                                     Weapons, Armour,   Maps,    BulkOrders, Charged};
// Edits still open at shutdown: smith, General, memo, vendors.
constexpr Sequence kSaveOpenEdit = {Smith,  General,    Memos,    Vendors, Weapons,
                                    Armour, BulkOrders, Reagents, Charged, Maps};
// The timer: the weapon warning, the bulk timer, then memo playback.
constexpr Sequence kTick = {Weapons, BulkOrders, Memos, Armour, Smith, General, Reagents, Vendors, Charged, Maps};

}  // namespace

const Sequence& ListRegistry::Order(Phase phase) {
    switch (phase) {
        case Phase::Load: return kLoad;
        case Phase::Show: return kShow;
        case Phase::ReadSettings: return kReadSettings;
        case Phase::WriteSettings: return kWriteSettings;
        case Phase::SaveOpenEdit: return kSaveOpenEdit;
        case Phase::Tick: return kTick;
    }
    return kLoad;
}

void ListRegistry::Add(StoredList* list) {
    if (list != nullptr) byId_[static_cast<size_t>(list->Id())] = list;
}

void ListRegistry::Remove(const StoredList* list) {
    for (StoredList*& registered : byId_)
        if (registered == list) registered = nullptr;
}

std::vector<StoredList*> ListRegistry::InOrder(Phase phase) const {
    std::vector<StoredList*> out;
    for (ListId id : Order(phase))
        if (StoredList* list = Find(id)) out.push_back(list);
    return out;
}

void ListRegistry::ForEach(Phase phase, const std::function<void(StoredList&)>& action) const {
    for (StoredList* list : InOrder(phase)) action(*list);
}

}  // namespace stallmark
