#include "lists/trade/VendorPage.h"

#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QVBoxLayout>
#include <algorithm>

#include "controls/StringGrid.h"
#include "controls/ToolButton.h"
#include "lists/trade/ChargedItems.h"
#include "lists/trade/TreasureMaps.h"
#include "lists/trade/VendorLedger.h"

namespace stallmark {

using namespace Qt::StringLiterals;

TVendorPage::TVendorPage(ListHost& host, QWidget* page, MoneyFormat money)
    : ledger_(new TVendorLedger(host, page, std::move(money))),
      charged_(new TChargedItems(host, page)),
      maps_(new TTreasureMaps(host, page, *charged_)) {
    setObjectName(u"VendorPage"_s);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);
    layout->addWidget(ledger_->ButtonPanel());
    layout->addWidget(ledger_->Box(), 1);
    layout->addWidget(charged_->Box());
    layout->addWidget(maps_->Box());

    // The page's own resize (a posted size message arrives the same way), and every
    // change of what the stretch and the button places are taken from.
    for (QObject* watched : std::initializer_list<QObject*>{page, ledger_->Grid(), charged_->Box(), maps_->Box(),
                                                            charged_->ValueBox(), maps_->ValueBox()})
        watched->installEventFilter(this);
}

TVendorPage::~TVendorPage() = default;

std::vector<StoredList*> TVendorPage::Lists() { return {ledger_, charged_, maps_}; }

bool TVendorPage::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::Resize:
        case QEvent::Move:
        case QEvent::Show: Tab_VendorResize(); break;
        default: break;
    }
    return QObject::eventFilter(watched, event);
}

void TVendorPage::Tab_VendorResize() {
    ledger_->StretchAmountColumn();

    // In the map box Delete starts one pixel right of the value box; Delete and Send
    // share the rest of the box's width, Send one pixel right of Delete. The charged
    // items' buttons take the same left edges and widths.
    const QLineEdit* mapValue = maps_->ValueBox();
    const int left = mapValue->x() + mapValue->width() + 1;
    const int clientWidth = maps_->Box()->contentsRect().right() + 1;
    const int width = std::max((clientWidth - left) / 2 - 2, 10);
    auto place = [&](QWidget* del, QWidget* send, const QLineEdit* value) {
        del->setGeometry(left, value->y(), width, value->height());
        send->setGeometry(left + width + 1, value->y(), width, value->height());
    };
    place(maps_->DeleteButton(), maps_->SendButton(), mapValue);
    place(charged_->DeleteButton(), charged_->SendButton(), charged_->ValueBox());
}

PopupState TVendorPage::Popup(const QWidget* focus) const {
    PopupState s;
    s.sendToGame = !IsWithin(focus, ledger_->Grid());
    s.gridResize = true;
    s.gridResizeChecked = GridSizing();
    s.list1 = TVendorLedger::kListNumber;
    s.list1Caption = u"Vendor List Options"_s;
    return s;
}

void TVendorPage::SendToGame(QWidget* focus) { maps_->Btn_MapSendClick(focus); }

std::vector<TStringGrid*> TVendorPage::SizingGrids() { return {ledger_->Grid()}; }

}  // namespace stallmark
