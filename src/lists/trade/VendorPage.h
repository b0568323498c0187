#pragma once
// The Vendor page: the vendor ledger in its upper half, the charged items and the
// treasure maps below. The page answers the popup menu and routes "Send To Game" (F2)
// by the control that has the focus: in the charged items box it sends the charged
// item, in the treasure map box the map, anywhere else (the vendor grid included)
// nothing.

#include <QObject>

#include "lists/TabPage.h"
#include "store/Fields.h"

class QWidget;

namespace stallmark {

class ListHost;
class TChargedItems;
class TTreasureMaps;
class TVendorLedger;

class TVendorPage final : public QObject, public TabPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TVendorPage)
public:
    // Builds the page's controls and lists on page; money formats the ledger's total
    // (the system's currency form when empty).
    TVendorPage(ListHost& host, QWidget* page, MoneyFormat money = {});
    ~TVendorPage() override;

    TVendorLedger& Ledger() const { return *ledger_; }
    TChargedItems& Charged() const { return *charged_; }
    TTreasureMaps& Maps() const { return *maps_; }

    // Stretches the Amount column and places the Delete and Send buttons of the two
    // boxes below the ledger.
    void Tab_VendorResize();

    // TabPage
    std::vector<StoredList*> Lists() override;
    PopupState Popup(const QWidget* focus) const override;
    void SendToGame(QWidget* focus) override;
    std::vector<TStringGrid*> SizingGrids() override;
    bool AsksGridHeight() const override { return false; }
    void Relayout() override { Tab_VendorResize(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The lists are children of the page widget: they live as long as the controls they
    // drive, which the window keeps until it is gone.
    TVendorLedger* ledger_;
    TChargedItems* charged_;
    TTreasureMaps* maps_;
};

}  // namespace stallmark
