// The pages of the main window and the objects that answer for them: one line per
// page. A page's object owns the page's lists and registers them with the window.
#include <QString>

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

void TStallmarkForm::CreateTabs() {
    AddTab(pgWeapons, std::make_unique<TMagicPage>(*this, Page(pgWeapons), WeaponList()));
    AddTab(pgArmour, std::make_unique<TMagicPage>(*this, Page(pgArmour), ArmourList()));
    AddTab(pgSmith, std::make_unique<TSmithPage>(*this, Page(pgSmith)));
    AddTab(pgBulk, std::make_unique<TBulkPage>(*this, Page(pgBulk)));
    AddTab(pgGeneral, std::make_unique<TGeneralPage>(*this, Page(pgGeneral)));
    AddTab(pgRegs, std::make_unique<TRegsPage>(*this, Page(pgRegs)));
    AddTab(pgMemos, std::make_unique<TMemoPage>(*this, Page(pgMemos)));
    AddTab(pgVendor, std::make_unique<TVendorPage>(*this, Page(pgVendor)));
}

}  // namespace stallmark
