#include "lists/picklists/EditGridForm.h"

#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "controls/StringGrid.h"
#include "controls/Text1252.h"
#include "lists/picklists/PickList.h"
#include "settings/SettingValues.h"

#include "controls/Icons.h"
#include "controls/ToolButton.h"

namespace stallmark {

using namespace Qt::StringLiterals;

namespace {

constexpr int kButtonBarHeight = 26;
constexpr int kColName = 0, kColSpecial = 1;

// The editor's grid: Tab goes to the next row's name (a new row after the
// last), Shift+Tab to the previous row's name.
class EditGrid final : public TStringGrid {
public:
    using TStringGrid::TStringGrid;
    std::function<void()> onTab;
    std::function<void()> onBackTab;
    std::function<void()> onResize;

    void TabMove(bool forward) override {
        if (forward && onTab)
            onTab();
        else if (!forward && onBackTab)
            onBackTab();
    }

protected:
    void resizeEvent(QResizeEvent* event) override {
        TStringGrid::resizeEvent(event);
        if (onResize) onResize();  // the cells' area is known now
    }
};

QAbstractButton* BarButton(QWidget* bar, const char* name, const char* caption, const char* hint, int image) {
    return MakeBarButton(bar, name, QString::fromLatin1(caption), image, QString::fromLatin1(hint));
}

}  // namespace

TEditGridForm::TEditGridForm(SettingsStore& settings, QWidget* owner) : QDialog(owner), settings_(settings) {
    setObjectName("EditGridForm");
    setWindowTitle(u"Weapon Magic"_s);
    resize(kDesignWidth, kDesignHeight);
    const int height = ReadValue(settings_, values::GridEditHeight, this->height());
    const int width = ReadValue(settings_, values::GridEditWidth, this->width());
    resize(width, height);
    if (owner) move(owner->geometry().center() - rect().center());

    auto* grid = new EditGrid(this);
    grid->onTab = [this] { NextRow(); };
    grid->onBackTab = [this] { PreviousRow(); };
    grid->onResize = [this] { LayoutColumns(); };
    grid_ = grid;
    grid_->setObjectName("SGrid_Edit");
    grid_->setColCount(2);
    grid_->setFixedRows(1);
    grid_->setFixedCols(0);
    grid_->setRowCount(2);
    grid_->setDefaultColWidth(85);
    grid_->setDefaultRowHeight(17);
    grid_->setVertLines(true);
    grid_->setHorzLines(true);
    grid_->setRowSelect(false);
    grid_->setTabs(true);
    grid_->setCells(kColName, 0, u"Magic"_s);
    grid_->setCells(kColSpecial, 0, u"Special"_s);
    grid_->setCells(kColSpecial, 1, SpecialName(0));
    grid_->setEditing(true);
    grid_->setEditorMode(true);
    connect(grid_, &TStringGrid::cellSelected, this, [this](int col, int row) { SGrid_EditSelectCell(col, row); });
    connect(grid_, &TStringGrid::cellDoubleClicked, this, [this](int, int row) { CycleSpecial(row); });

    auto* panel = new TPanelResize(this);
    panel->setSeperators(true);
    pnBtns_ = panel;
    pnBtns_->setObjectName("Pn_Btns");
    btnOk_ = BarButton(pnBtns_, "Btn_Ok", "OK", "Confirm changes", BtnImage::Ok);
    btnNew_ = BarButton(pnBtns_, "Btn_New", "New", "Create new item", BtnImage::New);
    btnCancel_ = BarButton(pnBtns_, "Btn_Cancel", "Cancel", "Cancel changes", BtnImage::Cancel);
    connect(btnOk_, &QAbstractButton::clicked, this, [this] { Btn_OkClick(); });
    connect(btnNew_, &QAbstractButton::clicked, this, [this] { Btn_NewClick(); });
    connect(btnCancel_, &QAbstractButton::clicked, this, [this] { Btn_CancelClick(); });

    // The grid fills the window above the button bar.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(grid_, 1);
    pnBtns_->setFixedHeight(kButtonBarHeight);
    layout->addWidget(pnBtns_);
}

TEditGridForm::~TEditGridForm() {
    try {
        WriteValue(settings_, values::GridEditHeight, height());
        WriteValue(settings_, values::GridEditWidth, width());
    } catch (const std::exception&) {
        // The size is a convenience; losing it is no reason to fail closing.
    }
}

QString TEditGridForm::SpecialName(int code) {
    switch (code) {
        case 1: return QStringLiteral("Virtue");
        case 2: return QStringLiteral("Silver");
        default: return QString::fromLatin1(kNoneEntry);
    }
}

int TEditGridForm::SpecialCodeOf(const QString& text) {
    if (text == QLatin1String("Virtue")) return 1;
    if (text == QLatin1String("Silver")) return 2;
    return 0;
}

void TEditGridForm::SetEntries(const std::vector<MagicEntry>& entries) {
    grid_->BeginUpdate();
    grid_->setRowCount(static_cast<int>(std::max<size_t>(entries.size(), 1)) + 1);
    grid_->setCellBytes(kColName, 1, "");
    grid_->setCells(kColSpecial, 1, SpecialName(0));
    for (size_t i = 0; i < entries.size(); ++i) {
        const int row = static_cast<int>(i) + 1;
        grid_->setCellBytes(kColName, row, entries[i].name);
        grid_->setCells(kColSpecial, row, SpecialName(entries[i].code));
    }
    grid_->EndUpdate();
    grid_->setCurrentCell(kColName, 1);
}

std::vector<MagicEntry> TEditGridForm::Entries() const {
    std::vector<MagicEntry> entries;
    for (int row = 1; row < grid_->RowCount(); ++row)
        entries.push_back({grid_->CellBytes(kColName, row), SpecialCodeOf(grid_->Cells(kColSpecial, row))});
    return entries;
}

void TEditGridForm::Btn_NewClick() {
    const int row = grid_->RowCount();
    grid_->setRowCount(row + 1);
    grid_->setCells(kColSpecial, row, SpecialName(0));
    grid_->setCurrentCell(kColName, row);
    grid_->setFocus();
}

void TEditGridForm::NextRow() {
    const int row = grid_->Row();
    if (row >= grid_->RowCount() - 1)
        Btn_NewClick();
    else
        grid_->setCurrentCell(kColName, row + 1);
}

void TEditGridForm::PreviousRow() {
    const int row = grid_->Row();
    if (row > 1) grid_->setCurrentCell(kColName, row - 1);
}

void TEditGridForm::CycleSpecial(int row) {
    if (row < 1 || row >= grid_->RowCount()) return;
    const int code = SpecialCodeOf(grid_->Cells(kColSpecial, row));
    grid_->setCells(kColSpecial, row, SpecialName(code == 0 ? 1 : code == 1 ? 2 : 0));
}

void TEditGridForm::SGrid_EditSelectCell(int col, int row) {
    // The special column is not typed into: selecting it selects the row's name.
    if (col == kColSpecial) grid_->setCurrentCell(kColName, row);
}

void TEditGridForm::LayoutColumns() {
    const int client = grid_->ClientWidth();
    const int nameWidth = client / 3 * 2 - 1;
    grid_->setColWidths(kColName, nameWidth);
    grid_->setColWidths(kColSpecial, std::max(client - nameWidth - 2, 0));
}

}  // namespace stallmark
