#include "lists/trade/VendorLedger.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScopeGuard>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <vector>

#include "controls/CaptionedControls.h"
#include "controls/Dialogs.h"
#include "controls/Icons.h"
#include "controls/StringGrid.h"
#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "game/GameKeyboard.h"
#include "lists/GridSettings.h"
#include "lists/ListDisplay.h"
#include "lists/ListHost.h"
#include "lists/trade/TradeFiles.h"
#include "lists/trade/TradeLayout.h"
#include "settings/SettingValues.h"
#include "store/Dates.h"
#include "store/Files.h"

namespace stallmark {

using namespace Qt::StringLiterals;

namespace {

constexpr int kDesignColWidth = 75;
constexpr int kDesignRowHeight = 16;
constexpr int kMinAmountWidth = 40;
constexpr int kBankBoxWidth = 80;

// a + b, held to the 64-bit range (a total of amounts read from a damaged file).
long long AddAmounts(long long a, long long b) {
    if (b > 0 && a > LLONG_MAX - b) return LLONG_MAX;
    if (b < 0 && a < LLONG_MIN - b) return LLONG_MIN;
    return a + b;
}

}  // namespace

TVendorLedger::TVendorLedger(ListHost& host, QWidget* parent, MoneyFormat money)
    : TEditableList(host, kFileName), money_(std::move(money)) {
    setParent(parent);
    setObjectName(u"VendorLedger"_s);
    BuildControls(parent);
}

void TVendorLedger::BuildControls(QWidget* parent) {
    panel_ = new TPanelResize(parent);
    panel_->setObjectName(u"Pn_BtnVendor"_s);
    panel_->setFixedHeight(28);
    EditButtons bar;
    btnEdit_ = MakeBarButton(panel_, "Btn_VendEdit", u"Edit"_s, BtnImage::Edit, u"Edit the vendors"_s);
    bar.edit = btnEdit_;
    bar.save = MakeBarButton(panel_, "Btn_VendSave", u"Save"_s, BtnImage::Save, u"Save the changes"_s);
    bar.reset = MakeBarButton(panel_, "Btn_VendCancel", u"Reset"_s, BtnImage::Reset, u"Throw the changes away"_s);
    bar.newItem = MakeBarButton(panel_, "Btn_VendNew", u"New"_s, BtnImage::New, u"Add a new vendor"_s);
    bar.del = MakeBarButton(panel_, "Btn_VendDelete", u"Delete"_s, BtnImage::Delete, u"Delete the selected vendor"_s);
    bar.newWhileEditing = true;

    box_ = new QGroupBox(u"Vendors"_s, parent);
    box_->setObjectName(u"Gb_Vendor"_s);
    auto* inner = new QVBoxLayout(box_);
    inner->setContentsMargins(2, 2, 2, 2);
    inner->setSpacing(2);

    grid_ = new TStringGrid(box_);
    grid_->setObjectName(u"SGrid_Vendor"_s);
    grid_->setColCount(kColCount);
    grid_->setFixedRows(1);
    grid_->setFixedCols(1);
    grid_->setRowCount(2);
    grid_->setDefaultRowHeight(kDesignRowHeight);
    grid_->setColWidths(kColHandle, kDesignRowHeight);  // the handle is as wide as a row is high
    for (int col = kColName; col < kColCount; ++col) grid_->setColWidths(col, kDesignColWidth);
    grid_->setColumnAlignment(kColAmount, Qt::AlignRight);
    grid_->setColMinText(kColAmount, u"000000000"_s);  // an amount is never shown cut
    grid_->setCellMargins(2, 2, 5);
    grid_->setRowMoving(true);
    grid_->setTabs(true);
    grid_->setRowTexts(0, {QString(), u"Name"_s, u"Description"_s, u"Amount"_s});
    inner->addWidget(grid_, 1);

    edBankBal_ = new TEditLabel(box_);
    edBankBal_->setObjectName(u"Ed_BankBal"_s);
    edBankBal_->setCharFilter(cfInteger);
    edBankBal_->setMaxLength(kMaxAmount);
    edBankBal_->setDialogs(&host_.HostDialogs());
    edBankBal_->setText(u"0"_s);
    auto* bank = new QHBoxLayout;
    bank->setSpacing(2);
    AddCaptioned(*bank, edBankBal_, u"Bank"_s, 0);
    edBankBal_->setFixedWidth(kBankBoxWidth);
    bank->addStretch(1);
    inner->addLayout(bank);

    lbInfo_ = new QLabel(box_);
    lbInfo_->setObjectName(u"Lb_VendorInfo"_s);
    inner->addWidget(lbInfo_);

    WireButtons(bar);
    connect(grid_, &TStringGrid::cellDoubleClicked, this, [this] { SGrid_VendorDblClick(); });
    connect(grid_, &TStringGrid::rowMoved, this, [this] { SGrid_VendorRowMoved(); });
    connect(grid_, &TStringGrid::colWidthChanged, this, [this](int col) {
        if (col != kColAmount) StretchAmountColumn();
    });
    connect(grid_, &TStringGrid::defaultRowHeightChanged, this, [this] { host_.RelayoutPages(); });
    grid_->setKeyFilter([this](int col, int row, QChar& ch) { return SGrid_VendorKeyPress(col, row, ch); });
    connect(edBankBal_, &QLineEdit::textChanged, this, [this] {
        if (host_.State().Ready && !IsEditing()) Btn_VendEditClick(edBankBal_);
    });
    connect(edBankBal_, &TEditLabel::doubleClicked, this, [this] { Ed_BankBalDblClick(); });
}

int TVendorLedger::ItemRows() const { return grid_->RowCount() - 1; }

void TVendorLedger::SelectRow(int row) { grid_->setRow(std::clamp(row, 1, grid_->RowCount() - 1)); }

void TVendorLedger::BrowsingChanged(bool browsing) { SetGridEditing(*grid_, !browsing); }

void TVendorLedger::LoadVendors() {
    VendorFile file;
    const std::string path = host_.DataFilePath(kFileName);
    ReadWhole([&] {
        if (FileExists(path)) file = ReadVendorFile(path);
        if (!file.cut.empty()) CutOnLoading(file.cut);
    });
    const std::string& date = file.date;
    const std::optional<std::string>& balance = file.balance;
    const std::vector<std::vector<std::string>>& vendors = file.vendors;

    grid_->BeginUpdate();
    {
        const auto end = qScopeGuard([this] { grid_->EndUpdate(); });
        grid_->ClearCells();
        grid_->setRowCount(std::max<int>(2, static_cast<int>(vendors.size()) + 1));
        grid_->setRowTexts(0, {QString(), u"Name"_s, u"Description"_s, u"Amount"_s});
        int row = 1;
        for (const std::vector<std::string>& items : vendors) {
            for (int col = 0; col < kColCount; ++col)
                grid_->setCellBytes(col, row, static_cast<size_t>(col) < items.size() ? items[col] : std::string());
            ++row;
        }
    }
    long long total = 0;
    for (int row = 1; row <= static_cast<int>(vendors.size()); ++row)
        total = AddAmounts(total, ToInt64OrZero(grid_->CellBytes(kColAmount, row)));
    // The balance comes last: a change of it may start an edit, which wants the rows.
    if (balance) edBankBal_->setText(FromBytes(*balance));
    total = AddAmounts(total, ToInt64OrZero(ToBytes(edBankBal_->text())));
    lbInfo_->setText(u"Total "_s + FromBytes(FormatMoney(total, money_)) + u" - Vendors "_s +
                     QString::number(vendors.size()) + u" - "_s + FromBytes(date));
}

bool TVendorLedger::CheckVendors(int skipRow) {
    Dialogs& dialogs = host_.HostDialogs();
    for (int row = 1; row < grid_->RowCount(); ++row) {
        if (row == skipRow) continue;
        std::string amount = grid_->CellBytes(kColAmount, row);
        if (IsBlank(amount)) {
            amount.assign(1, '0');
            grid_->setCellBytes(kColAmount, row, amount);
        }
        const std::string corrected = DigitsToAmount(amount.substr(0, kMaxAmount), false);
        if (corrected != amount) {
            const QString text = grid_->Cells(kColName, row) + u"\n\rInvalid Value "_s + FromBytes(amount) +
                                 u"\n\rAltered to "_s + FromBytes(corrected) + u" !"_s;
            if (dialogs.ShowMessageBox(text, MsgKind::Warning, mbOK | mbCancel) == mbCancel) return false;
            grid_->setCellBytes(kColAmount, row, corrected);
        }
        const QString name = grid_->Cells(kColName, row);
        if (name.size() > kMaxName) {
            grid_->setCells(kColName, row, name.left(kMaxName));
            dialogs.ShowMessageBox(
                name.left(kMaxName) + u"\n\rName truncated ("_s + QString::number(kMaxName) + u" Max)"_s,
                MsgKind::Warning, mbOK);
        }
        const QString desc = grid_->Cells(kColDesc, row);
        if (desc.size() > kMaxDesc) {
            grid_->setCells(kColDesc, row, desc.left(kMaxDesc));
            dialogs.ShowMessageBox(
                grid_->Cells(kColName, row) + u"\n\rDescription truncated ("_s + QString::number(kMaxDesc) + u" Max)"_s,
                MsgKind::Warning, mbOK);
        }
    }
    return true;
}

bool TVendorLedger::SaveVendors(bool skipCurrent) {
    if (!MayWrite()) return false;
    // The row being deleted is neither checked nor written: a box about it could only
    // stop its own deletion.
    const int skip = skipCurrent ? grid_->Row() : -1;
    if (!CheckVendors(skip)) return false;
    std::string content = VendorHeaderLine(FormatShownDate(host_.HostClock().Today()),
                                           DigitsToAmount64(ToBytes(edBankBal_->text()), false));
    for (int row = 1; row < grid_->RowCount(); ++row) {
        if (row == skip) continue;
        auto clean = [&](int col, const std::string& text) {
            if (grid_->CellBytes(col, row) != text) grid_->setCellBytes(col, row, text);
            return text;
        };
        const std::string name = clean(kColName, CleanField(grid_->CellBytes(kColName, row), false));
        if (name.empty()) continue;
        const std::string desc = clean(kColDesc, CleanField(grid_->CellBytes(kColDesc, row), false));
        const std::string amount = clean(kColAmount, DigitsToAmount64(grid_->CellBytes(kColAmount, row), false));
        content += VendorLine(grid_->CellBytes(kColHandle, row), name, desc, amount);
    }
    ReplaceFileAtomically(host_.DataFilePath(kFileName), content);
    return true;
}

void TVendorLedger::StartLedgerEdit(bool isNew) {
    if (!host_.State().Ready) return;
    SetBrowsing(false);
    grid_->setCol(isNew ? kColName : kColAmount);
    grid_->setEditorMode(true);
}

void TVendorLedger::EndLedgerEdit(bool cancel) {
    grid_->setEditorMode(false);  // the open editor's text is already in its cell
    const int row = grid_->Row();
    if (!cancel) {
        bool saved = false;
        Guard([&] { saved = SaveVendors(false); });
        if (!saved) {
            grid_->setEditorMode(true);
            return;
        }
    }
    SetBrowsing(true);
    Guard([this] { LoadVendors(); });
    host_.RelayoutPages();
    SelectRow(std::min(row, grid_->RowCount() - 1));
}

void TVendorLedger::EditClick() { Btn_VendEditClick(btnEdit_); }

void TVendorLedger::Btn_VendEditClick(QObject* sender) {
    StartLedgerEdit(false);
    // A change of the balance leaves the focus where the typing goes on.
    if (sender != edBankBal_) grid_->setFocus();
}

void TVendorLedger::Btn_VendNewClick() {
    grid_->setEditorMode(false);
    bool empty = ItemRows() == 1;
    for (int col = 0; empty && col < kColCount; ++col) empty = grid_->CellLength(col, 1) == 0;
    if (!empty) grid_->setRowCount(grid_->RowCount() + 1);
    SelectRow(empty ? 1 : grid_->RowCount() - 1);
    host_.RelayoutPages();
    StartLedgerEdit(true);
    if (IsEditing()) grid_->setFocus();
}

void TVendorLedger::Btn_VendSaveClick() { EndLedgerEdit(false); }

void TVendorLedger::Btn_VendCancelClick() { EndLedgerEdit(true); }

void TVendorLedger::Btn_VendDeleteClick() {
    if (host_.HostDialogs().ShowMessageBox(u"Delete current vendor ?"_s, MsgKind::Confirmation, mbYes | mbNo) != mbYes)
        return;
    const int row = grid_->Row();
    Guard([this] { SaveVendors(true); });
    // The ledger shows what the file holds: a stopped save brings the vendor back.
    Guard([this] { LoadVendors(); });
    SelectRow(std::min(row, grid_->RowCount() - 1));
}

void TVendorLedger::SGrid_VendorDblClick() {
    if (IsEditing()) return;  // while editing, a double click is the cell editor's
    const int row = grid_->Row();
    if (row < 1 || row >= grid_->RowCount()) return;
    const std::string name = grid_->CellBytes(kColName, row);
    if (IsBlank(name)) return;
    host_.Keyboard().SendToGame(name + " Status", true, host_.OptionValues().backSpc);
}

void TVendorLedger::Ed_BankBalDblClick() { host_.Keyboard().SendToGame("Balance", true, host_.OptionValues().backSpc); }

bool TVendorLedger::SGrid_VendorKeyPress(int col, int row, QChar& ch) {
    const char16_t code = ch.unicode();
    if (code < 32 || code > 126 || row < 1) return true;
    const int limit = col == kColName ? kMaxName : col == kColDesc ? kMaxDesc : col == kColAmount ? kMaxAmount : 0;
    if (limit == 0) return true;
    const QString text = grid_->Cells(col, row);
    if (text.size() > limit) grid_->setCells(col, row, text.left(limit));
    qsizetype length = std::min<qsizetype>(text.size(), limit);
    // Typing over a selection in the cell editor replaces it.
    if (QLineEdit* editor = grid_->CellEditor(); editor && col == grid_->Col() && row == grid_->Row())
        length -= std::min<qsizetype>(editor->selectedText().size(), length);
    if (length < limit) return true;
    host_.HostDialogs().Beep();
    return false;
}

void TVendorLedger::SGrid_VendorRowMoved() {
    // A drag is saved at once, in any mode; a stopped check leaves the file as it was.
    Guard([this] { SaveVendors(false); });
}

void TVendorLedger::StretchAmountColumn() {
    int others = 0;
    for (int col = 0; col < kColAmount; ++col) others += std::max(grid_->ColWidths(col), -1) + 1;
    const int width = std::max(grid_->ClientWidth() - others - 1, kMinAmountWidth);
    if (grid_->ColWidths(kColAmount) != width) grid_->setColWidths(kColAmount, width);
}

void TVendorLedger::LoadSettings(SettingsStore& settings) {
    ReadGridRowHeight(settings, values::VendorRowHeight, *grid_, 6);
    // The handle column is always as wide as a row is high.
    ReadGridColWidths(settings, values::VendorCol, *grid_, [this](int col, int width) {
        return col < grid_->FixedCols() ? grid_->DefaultRowHeight() : std::max(width, 7);
    });
}

void TVendorLedger::SaveSettings(SettingsStore& settings) {
    WriteGridColWidths(settings, values::VendorCol, *grid_);
    WriteValue(settings, values::VendorRowHeight, std::max(grid_->DefaultRowHeight(), 6));
}

void TVendorLedger::ApplyListDisplay(int number, const ListDisplay& display) {
    if (number == kListNumber) ApplyGridDisplay(*grid_, display);
}

}  // namespace stallmark
