#include "lists/trade/ChargedItems.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "controls/CaptionedControls.h"
#include "controls/Dialogs.h"
#include "controls/Icons.h"
#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "game/GameKeyboard.h"
#include "lists/EditableList.h"
#include "lists/ListHost.h"
#include "lists/trade/KnownItems.h"
#include "lists/trade/TradeFiles.h"
#include "lists/trade/TradeLayout.h"
#include "store/Fields.h"
#include "store/Files.h"

namespace stallmark {

using namespace Qt::StringLiterals;

TChargedItems::TChargedItems(ListHost& host, QWidget* parent) : QObject(parent), host_(host) {
    setObjectName(u"ChargedItems"_s);
    BuildControls(parent);
}

void TChargedItems::BuildControls(QWidget* parent) {
    box_ = new QGroupBox(u"Charged Items"_s, parent);
    box_->setObjectName(u"Gb_Charged"_s);
    auto* rows = new QVBoxLayout(box_);
    rows->setContentsMargins(4, 2, 4, 4);
    rows->setSpacing(2);

    cbItem_ = new TComboBoxSig(box_);
    cbItem_->setObjectName(u"Cb_ChargeItem"_s);
    cbItem_->setEditable(true);
    cbItem_->setInsertPolicy(QComboBox::NoInsert);
    cbItem_->setCompleter(nullptr);
    cbItem_->lineEdit()->setMaxLength(kMaxName);
    cbItem_->setMinimumContentsLength(8);
    cbItem_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    auto* first = new QHBoxLayout;
    AddCaptioned(*first, cbItem_, u"Item"_s, 1);
    rows->addLayout(first);

    auto edit = [this](const char* name, TCharFilter filter, int maxLength) {
        auto* e = new TEditLabel(box_);
        e->setObjectName(QString::fromLatin1(name));
        e->setCharFilter(filter);
        e->setMaxLength(maxLength);
        e->setDialogs(&host_.HostDialogs());
        return e;
    };
    edCharges_ = edit("Ed_ChargeCharges", cfInteger, kMaxNumber);
    edPrice_ = edit("Ed_ChargePrice", cfInteger, kMaxNumber);
    edSuffix_ = edit("Ed_ChargeSuffix", cfNormal, kMaxSuffix);
    edSuffix_->setText(u"Charges"_s);
    auto* numbers = new QHBoxLayout;
    numbers->setSpacing(2);
    AddCaptioned(*numbers, edCharges_, u"Charges"_s, 1);
    AddCaptioned(*numbers, edPrice_, u"Price"_s, 1);
    AddCaptioned(*numbers, edSuffix_, u"Suffix"_s, 2);
    rows->addLayout(numbers);

    // A value of two ten-digit numbers multiplied has up to twenty digits.
    edValue_ = edit("Ed_ChargeValue", cfInteger, 20);
    edValue_->setReadOnly(true);
    edValue_->setFocusPolicy(Qt::ClickFocus);  // skipped by the Tab key
    edValue_->setText(u"0"_s);
    auto* last = new QHBoxLayout;
    last->setSpacing(2);
    AddCaptioned(*last, edValue_, u"Value"_s, 0);
    edValue_->setFixedWidth(kValueBoxWidth);
    last->addStretch(1);
    rows->addLayout(last);

    // Delete and Send are placed by the page beside the value box (TVendorPage).
    btnDelete_ = MakeBarButton(box_, "Btn_ChargeDelete", u"Delete"_s, BtnImage::Delete, u"Delete current item"_s);
    btnSend_ = MakeBarButton(box_, "Btn_ChargeSend", u"Send"_s, BtnImage::Send, u"Send item to game"_s);

    FillKnownItems(*cbItem_, {});
    connect(cbItem_, &QComboBox::activated, this, [this] { Cb_ChargeItemChange(); });
    connect(cbItem_->lineEdit(), &QLineEdit::textEdited, this, [this] { Cb_ChargeItemChange(true); });
    connect(edCharges_, &QLineEdit::textChanged, this, [this] { Ed_ChargeChargesChange(); });
    connect(edPrice_, &QLineEdit::textChanged, this, [this] { Ed_ChargeChargesChange(); });
    connect(btnDelete_, &QAbstractButton::clicked, this, [this] { Btn_ChargeDeleteClick(); });
    connect(btnSend_, &QAbstractButton::clicked, this, [this] { Btn_ChargeSendClick(); });
}

QComboBox* TChargedItems::ItemBox() const { return cbItem_; }
QLineEdit* TChargedItems::ValueBox() const { return edValue_; }

QString TChargedItems::Name() const { return cbItem_->currentText(); }

bool TChargedItems::ItemAt(int index, TChargedItem& item) const {
    if (index < 1 || index >= cbItem_->count()) return false;
    const QVariant data = cbItem_->itemData(index);
    if (data.metaType() != QMetaType::fromType<TChargedItem>()) return false;
    item = data.value<TChargedItem>();
    return true;
}

void TChargedItems::LoadChargedItems() {
    std::vector<std::pair<QString, QVariant>> entries;
    const std::string path = host_.DataFilePath(kFileName);
    std::string cut;
    if (FileExists(path)) {
        for (const ChargedLine& line : ReadChargedFile(path, cut)) {
            TChargedItem item;
            item.Price = line.price;
            item.Suffix = FromBytes(line.suffix);
            entries.emplace_back(FromBytes(line.name), QVariant::fromValue(item));
        }
    }
    FillKnownItems(*cbItem_, std::move(entries));
    loaded_ = true;
    cut_ = !cut.empty();
    if (!cut.empty()) host_.HostDialogs().ShowMessageBox(FromBytes(cut), MsgKind::Warning, mbOK);
}

bool TChargedItems::SaveChargedItems(bool deleteCurrent) {
    const QString typed = Name();
    if (NamesNoItem(typed)) return false;
    if (!MayWriteList(host_, loaded_, kFileName, cut_)) return false;
    // Every field is stored in the form it is read back in: a comma typed into the name
    // or the suffix would otherwise split the line.
    const std::string name = StoredName(typed);
    const std::string price = DigitsToAmount64(ToBytes(edPrice_->text()), false);
    const std::string suffix = CleanField(ToBytes(edSuffix_->text()), false);

    std::string content;
    auto write = [&content](const std::string& n, const std::string& p, const std::string& s) {
        content += ChargedFileLine(n, p, s);
    };
    if (!deleteCurrent && FindKnownItem(*cbItem_, FromBytes(name)) < 0) write(name, price, suffix);
    for (int i = 1; i < cbItem_->count(); ++i) {
        TChargedItem item;
        ItemAt(i, item);
        const std::string n = CleanField(ToBytes(cbItem_->itemText(i)), false);
        if (n == name) {
            if (!deleteCurrent) write(n, price, suffix);
        } else if (!IsBlank(n)) {
            write(n, DigitsToAmount64(std::to_string(item.Price), false), CleanField(ToBytes(item.Suffix), false));
        }
    }
    ReplaceFileAtomically(host_.DataFilePath(kFileName), content);
    LoadChargedItems();

    if (deleteCurrent) {
        edPrice_->clear();
        edSuffix_->setText(u"Charges"_s);
    } else {
        const int index = FindKnownItem(*cbItem_, FromBytes(name));
        const QSignalBlocker block(cbItem_);
        cbItem_->setCurrentIndex(index);
    }
    return true;
}

bool TChargedItems::ComputeValue(long long& value) const {
    const long long price = ToInt64OrZero(ToBytes(edPrice_->text()));
    const long long charges = ToInt64OrZero(ToBytes(edCharges_->text()));
    return MultiplyAmounts(price, charges, value);
}

void TChargedItems::Cb_ChargeItemChange(bool typed) {
    const int index = cbItem_->currentIndex();
    if (index == 0 && cbItem_->currentText() == cbItem_->itemText(0)) {
        ClearSelection(*cbItem_, false);
        edPrice_->clear();
        return;
    }
    const int known = FindKnownItem(*cbItem_, FromBytes(StoredName(Name())));
    TChargedItem item;
    if (!ItemAt(known, item)) return;  // a name no item has: nothing changes
    edPrice_->setText(QString::number(item.Price));
    edSuffix_->setText(item.Suffix);
    // A known name typed may be the start of a longer one ("Wand" on the way to "Wand of
    // fire"): the keys that follow stay in the name box. A name chosen from the list is
    // complete, and the charges come next.
    if (!typed) FocusCharges();
}

void TChargedItems::Ed_ChargeChargesChange() {
    long long value = 0;
    // A product beyond 64 bits is no value: the box stays empty and nothing is sent.
    edValue_->setText(ComputeValue(value) ? QString::number(value) : QString());
}

void TChargedItems::FocusCharges() {
    if (!edCharges_->isEnabled() || !edCharges_->isVisible()) return;
    edCharges_->setFocus();
    edCharges_->selectAll();
}

void TChargedItems::Btn_ChargeSendClick() {
    long long value = 0;
    if (!NamesNoItem(Name()) && ComputeValue(value) && value > 0) {
        bool stored = false;
        RunGuarded(host_, [&] { stored = SaveChargedItems(false); });
        TChargedItem item;
        // The line names the item as it is now stored, with its stored suffix.
        if (stored && ItemAt(cbItem_->currentIndex(), item)) {
            const QString text = QString::number(value) + u',' + cbItem_->currentText() + u" - "_s +
                                 edCharges_->text() + u' ' + item.Suffix;
            host_.Keyboard().SendToGame(ToBytes(text), true, host_.OptionValues().backSpc);
        }
    }
    FocusCharges();
}

void TChargedItems::Btn_ChargeDeleteClick() {
    if (NamesNoItem(Name())) return;
    bool deleted = false;
    RunGuarded(host_, [&] { deleted = SaveChargedItems(true); });
    if (deleted) ClearSelection(*cbItem_, false);
}

}  // namespace stallmark
