#pragma once
// The charged items box of the Vendor page: items sold by the charge (wands and the
// like), each with a price per charge and the word written after the number of charges.
// The player picks or types an item and its charges, sees the value (price x charges),
// and Send stores the item's price and suffix in "Charged.dat" and types the item's
// vendor line into the game: "value,Name - charges Suffix".

#include <QMetaType>
#include <QObject>
#include <QString>

#include "lists/StoredList.h"

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QWidget;

namespace stallmark {

class ListHost;
class TComboBoxSig;
class TEditLabel;
class TToolBtnSig;

// What an entry of the item box carries.
struct TChargedItem {
    long long Price = 0;  // price of one charge
    QString Suffix;       // written after the number of charges, e.g. "Charges"
};

class TChargedItems final : public QObject, public StoredList {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TChargedItems)
public:
    static constexpr const char* kFileName = "Charged.dat";
    static constexpr int kMaxName = 100, kMaxNumber = 10, kMaxSuffix = 40;

    // Builds the box "Charged Items" (Gb_Charged) as a child of parent.
    TChargedItems(ListHost& host, QWidget* parent);

    // Operations.
    void LoadChargedItems();
    // Rewrites the file with the item of the box added, updated or (deleteCurrent) left
    // out, then reloads. False when there was nothing to store (no name).
    bool SaveChargedItems(bool deleteCurrent);
    // price x charges; false when either is no number's worth or the product does not
    // fit in 64 bits (value then 0).
    bool ComputeValue(long long& value) const;

    // Handlers.
    // typed: the change came from a key typed into the name, not from a choice in the
    // list; the typing then goes on in the name box.
    void Cb_ChargeItemChange(bool typed = false);
    void Ed_ChargeChargesChange();
    void Btn_ChargeSendClick();
    void Btn_ChargeDeleteClick();

    // The entry's item (none for "(None)" and out of range).
    bool ItemAt(int index, TChargedItem& item) const;

    QGroupBox* Box() const { return box_; }
    QComboBox* ItemBox() const;
    QLineEdit* ValueBox() const;
    TToolBtnSig* DeleteButton() const { return btnDelete_; }
    TToolBtnSig* SendButton() const { return btnSend_; }

    // StoredList
    ListId Id() const override { return ListId::Charged; }
    void LoadList() override { LoadChargedItems(); }

private:
    void BuildControls(QWidget* parent);
    QString Name() const;
    void FocusCharges();

    ListHost& host_;
    bool loaded_ = false;
    bool cut_ = false;  // lines cut on loading: the file is not written
    QGroupBox* box_ = nullptr;
    TComboBoxSig* cbItem_ = nullptr;
    TEditLabel* edCharges_ = nullptr;
    TEditLabel* edPrice_ = nullptr;
    TEditLabel* edSuffix_ = nullptr;
    TEditLabel* edValue_ = nullptr;
    TToolBtnSig* btnDelete_ = nullptr;
    TToolBtnSig* btnSend_ = nullptr;
};

}  // namespace stallmark

Q_DECLARE_METATYPE(stallmark::TChargedItem)
