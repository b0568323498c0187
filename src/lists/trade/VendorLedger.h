#pragma once
// The vendor ledger: the player's own vendors in the game (name, description, the gold
// each holds) and the bank balance, kept in "Vendors.dat" and edited in place in a grid.
// A line under the grid shows the total of the vendors and the bank, the number of
// vendors and the date of the last save. A double click asks the game for a vendor's
// status or for the bank balance. The vendors keep the order the player drags them into;
// a drag is saved at once.

#include <QString>
#include <string>

#include "lists/EditableList.h"
#include "store/Fields.h"

class QGroupBox;
class QLabel;
class QWidget;

namespace stallmark {

class TEditLabel;
class TPanelResize;
class TStringGrid;
class TToolBtnSig;

class TVendorLedger final : public TEditableList {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TVendorLedger)
public:
    static constexpr int kColHandle = 0, kColName = 1, kColDesc = 2, kColAmount = 3, kColCount = 4;
    static constexpr int kMaxName = 20, kMaxDesc = 50, kMaxAmount = 9;
    static constexpr const char* kFileName = "Vendors.dat";
    static constexpr int kListNumber = 11;  // "Vendor List" of the display options

    // Builds the button bar (Pn_BtnVendor) and the group "Vendors" as children of parent;
    // money formats the total (the system's currency form when empty).
    TVendorLedger(ListHost& host, QWidget* parent, MoneyFormat money = {});

    // Operations.
    void LoadVendors();
    // Checks and corrects every vendor row but skipRow (a row about to be deleted);
    // false when the player stopped the save.
    bool CheckVendors(int skipRow = -1);
    bool SaveVendors(bool skipCurrent);
    void StartLedgerEdit(bool isNew);
    void EndLedgerEdit(bool cancel);

    // Handlers.
    // sender: the Edit button, or the balance box when its text changed (the focus then
    // stays in it).
    void Btn_VendEditClick(QObject* sender);
    void Btn_VendNewClick();
    void Btn_VendSaveClick();
    void Btn_VendCancelClick();
    void Btn_VendDeleteClick();
    void SGrid_VendorDblClick();
    void Ed_BankBalDblClick();
    bool SGrid_VendorKeyPress(int col, int row, QChar& ch);
    void SGrid_VendorRowMoved();
    // The Amount column takes the rest of the grid's width (at least 40 pixels, and never
    // less than nine digits need).
    void StretchAmountColumn();

    TStringGrid* Grid() const { return grid_; }
    TPanelResize* ButtonPanel() const { return panel_; }
    QGroupBox* Box() const { return box_; }
    TEditLabel* BankBalance() const { return edBankBal_; }
    QLabel* InfoLabel() const { return lbInfo_; }

    // StoredList
    ListId Id() const override { return ListId::Vendors; }
    void LoadList() override { LoadVendors(); }
    void LoadSettings(SettingsStore& settings) override;
    void SaveSettings(SettingsStore& settings) override;
    void ApplyListDisplay(int number, const ListDisplay& display) override;

protected:
    void BrowsingChanged(bool browsing) override;
    void EditClick() override;
    void SaveClick() override { Btn_VendSaveClick(); }
    void ResetClick() override { Btn_VendCancelClick(); }
    void NewClick() override { Btn_VendNewClick(); }
    void DeleteClick() override { Btn_VendDeleteClick(); }

private:
    void BuildControls(QWidget* parent);
    int ItemRows() const;
    void SelectRow(int row);

    MoneyFormat money_;
    TPanelResize* panel_ = nullptr;
    TToolBtnSig* btnEdit_ = nullptr;
    QGroupBox* box_ = nullptr;
    TStringGrid* grid_ = nullptr;
    TEditLabel* edBankBal_ = nullptr;
    QLabel* lbInfo_ = nullptr;
};

}  // namespace stallmark
