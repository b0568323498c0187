// The pages of the main window and the objects that answer for them: one line per
// page. A page's object owns the page's lists and registers them with the window.
#include <QString>

#include "app/PageControl.h"
#include "app/StallmarkForm.h"
#include "lists/MenuOnlyPage.h"
#include "lists/bulk/BulkPage.h"
#include "lists/magic/MagicPage.h"
#include "lists/trade/GeneralPage.h"

namespace stallmark {

namespace {

std::unique_ptr<TabPage> MenuOnly(PopupState popup) { return std::make_unique<TMenuOnlyPage>(std::move(popup)); }

}  // namespace

void TStallmarkForm::CreateTabs() {
    AddTab(pgWeapons, std::make_unique<TMagicPage>(*this, Page(pgWeapons), WeaponList()));
    AddTab(pgArmour, MenuOnly({.sendToDetail = true,
                               .list1 = 3,
                               .list2 = 4,
                               .list1Caption = QStringLiteral("Stock List Options"),
                               .list2Caption = QStringLiteral("Price List Options"),
                               .gridResize = true,
                               .hideColumns = true}));
    AddTab(pgSmith, MenuOnly({.list1 = 5,
                              .list2 = 6,
                              .list1Caption = QStringLiteral("Price List Options"),
                              .list2Caption = QStringLiteral("Description List Options"),
                              .gridResize = true}));
    AddTab(pgBulk, std::make_unique<TBulkPage>(*this, Page(pgBulk)));
    AddTab(pgGeneral, std::make_unique<TGeneralPage>(*this, Page(pgGeneral)));
    AddTab(pgRegs, MenuOnly({.link = true, .linkChecked = true}));
    AddTab(pgMemos, MenuOnly({.list1 = 10, .list1Caption = QStringLiteral("Memo List Options")}));
    AddTab(pgVendor, MenuOnly({.list1 = 11, .list1Caption = QStringLiteral("Vendor List Options"), .gridResize = true}));
}

}  // namespace stallmark
