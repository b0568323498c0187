// The pages of the main window and the objects that answer for them: one line per
// page. A page's object owns the page's lists and registers them with the window.
#include <QString>

#include "app/AheadReads.h"
#include "app/PageControl.h"
#include "app/StallmarkForm.h"
#include "lists/bulk/BulkPage.h"
#include "lists/magic/MagicPage.h"
#include "lists/memos/MemoPage.h"
#include "lists/smith/SmithPage.h"
#include "lists/trade/GeneralPage.h"
#include "lists/trade/RegsPage.h"
#include "lists/trade/VendorPage.h"

namespace stallmark {

void TStallmarkForm::StartAheadReads() {
    ahead_ = std::make_unique<AheadReads>();
    ahead_->weapons = TMagicPage::StartPreload(WeaponList(), DataFilePath(WeaponList().stockFile), ctx_.clock);
    ahead_->armour = TMagicPage::StartPreload(ArmourList(), DataFilePath(ArmourList().stockFile), ctx_.clock);
    ahead_->general = TGeneralPage::StartPreload(DataFilePath(TGeneralPage::kFileName));
}

void TStallmarkForm::CreateTabs() {
    auto weapons = std::make_unique<TMagicPage>(*this, Page(pgWeapons), WeaponList());
    auto armour = std::make_unique<TMagicPage>(*this, Page(pgArmour), ArmourList());
    if (ahead_) {
        weapons->UsePreload(std::move(ahead_->weapons));
        armour->UsePreload(std::move(ahead_->armour));
    }
    AddTab(pgWeapons, std::move(weapons));
    AddTab(pgArmour, std::move(armour));
    AddTab(pgSmith, std::make_unique<TSmithPage>(*this, Page(pgSmith)));
    AddTab(pgBulk, std::make_unique<TBulkPage>(*this, Page(pgBulk)));
    auto general = std::make_unique<TGeneralPage>(*this, Page(pgGeneral));
    if (ahead_) general->UsePreload(std::move(ahead_->general));
    ahead_.reset();  // what no page took
    AddTab(pgGeneral, std::move(general));
    AddTab(pgRegs, std::make_unique<TRegsPage>(*this, Page(pgRegs)));
    AddTab(pgMemos, std::make_unique<TMemoPage>(*this, Page(pgMemos)));
    AddTab(pgVendor, std::make_unique<TVendorPage>(*this, Page(pgVendor)));
}

}  // namespace stallmark
