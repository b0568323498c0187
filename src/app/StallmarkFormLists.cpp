// The lists of the main window, created in start-up loading order: smith
// prices, General list, treasure maps, charged items, bulk orders, memos,
// vendor ledger, then the weapon and armour lists (shown after the display
// options are applied).
#include "app/PageControl.h"
#include "app/StallmarkForm.h"
#include "lists/ListPage.h"
#include "lists/magic/WeaponPage.h"
#include "lists/trade/GeneralPage.h"

namespace stallmark {

void TStallmarkForm::CreateLists() {
    AddList(std::make_unique<TGeneralPage>(*this, Page(pgGeneral)), pgGeneral);
    AddList(std::make_unique<TMagicWeaponPage>(*this, Page(pgWeapons)), pgWeapons);
}

}  // namespace stallmark
