#include "lists/trade/GeneralPage.h"

#include <QCollator>
#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>
#include <numeric>
#include <unordered_set>

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
#include "settings/SettingValues.h"
#include "store/Fields.h"
#include "store/Files.h"

namespace stallmark {

using namespace Qt::StringLiterals;

namespace {

constexpr int kDesignWidths[] = {62, 159, 70};
constexpr int kGeneralSendRow = 5;  // the options dialog's "General" row
const char* const kSortCaptions[] = {"Type", "Description", "Value"};

bool Blank(const QString& text) { return IsBlank(ToBytes(text)); }

QString Latin(const char* text) { return QString::fromLatin1(text); }

}  // namespace

TGeneralPage::TGeneralPage(ListHost& host, QWidget* page) : TEditableList(host, kFileName), page_(page) {
    setObjectName(u"GeneralList"_s);
    BuildControls(page);
}

void TGeneralPage::BuildControls(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    auto button = [](QWidget* parent, const char* name, const char* caption, int image, const char* hint) {
        return MakeBarButton(parent, name, QString::fromLatin1(caption), image, QString::fromLatin1(hint));
    };
    auto panel = [&](const char* name) {
        auto* p = new TPanelResize(page);
        p->setObjectName(name);
        p->setFixedHeight(28);
        layout->addWidget(p);
        return p;
    };

    gbOthBtn_ = panel("Gb_OthBtn");
    EditButtons bar;
    bar.edit = button(gbOthBtn_, "Btn_GenEdit", "Edit", BtnImage::Edit, "Edit the selected item");
    bar.save = button(gbOthBtn_, "Btn_GenSave", "Save", BtnImage::Save, "Save the changes");
    bar.reset = button(gbOthBtn_, "Btn_GenCancel", "Reset", BtnImage::Reset, "Throw the changes away");
    bar.newItem = button(gbOthBtn_, "Btn_GenNew", "New", BtnImage::New, "Add a new item");
    bar.del = button(gbOthBtn_, "Btn_GenDelete", "Delete", BtnImage::Delete, "Delete the selected item");
    bar.send = button(gbOthBtn_, "Btn_GenSend", "Send", BtnImage::Send, "Send the selected item to the game");

    gbOthBtn2_ = panel("Gb_OthBtn2");
    btnSort_ = button(gbOthBtn2_, "Btn_GeneralSort", "Type", -1, "Sort key: press for the next one");
    auto* types = new TComboBoxSig(gbOthBtn2_);
    cbType_ = types;
    cbType_->setObjectName("Cb_OthType");
    cbType_->setToolTip("Item types");
    cbType_->setEditable(false);
    cbType_->setMinimumContentsLength(10);
    btnNoItems_ = button(gbOthBtn2_, "Btn_NoItems", "No Items : 0", -1, "Number of items in the list");

    gbGeneral_ = new QGroupBox("General List", page);
    gbGeneral_->setObjectName("Gb_General");
    auto* inner = new QVBoxLayout(gbGeneral_);
    inner->setContentsMargins(2, 2, 2, 2);
    grid_ = new TStringGrid(gbGeneral_);
    grid_->setObjectName("SGrid_General");
    grid_->setColCount(3);
    grid_->setFixedRows(1);
    grid_->setFixedCols(0);
    grid_->setRowCount(2);
    grid_->setDefaultRowHeight(16);
    for (int c = 0; c < 3; ++c) grid_->setColWidths(c, kDesignWidths[c]);
    grid_->setColumnAlignment(kColValue, Qt::AlignRight);
    grid_->setCellMargins(2, 2, 5);
    grid_->setTabs(true);
    inner->addWidget(grid_);
    layout->addWidget(gbGeneral_, 1);

    lbDesc_ = new QLabel("  ", page);
    lbDesc_->setObjectName("Lb_GeneralDesc");
    layout->addWidget(lbDesc_);

    WireButtons(bar);
    connect(btnSort_, &QAbstractButton::clicked, this, [this] { Btn_GeneralSortClick(); });
    connect(cbType_, &QComboBox::activated, this, [this] { Cb_OthTypeChange(); });
    connect(grid_, &TStringGrid::cellSelected, this, [this](int col, int row) { SGrid_GeneralSelectCell(col, row); });
    connect(grid_, &TStringGrid::cellClicked, this, [this] { SGrid_GeneralClick(); });
    connect(grid_, &TStringGrid::cellDoubleClicked, this, [this] { Btn_GenSendClick(); });
    grid_->setKeyFilter([this](int col, int row, QChar& ch) { return SGrid_GeneralKeyPress(col, row, ch); });
    // The page's own resize (a posted size message arrives the same way).
    page->installEventFilter(this);
}

QString TGeneralPage::Cell(int col, int row) const { return grid_->Cells(col, row); }

int TGeneralPage::ItemRows() const { return grid_->RowCount() - 1; }

void TGeneralPage::BrowsingChanged(bool browsing) { SetGridEditing(*grid_, !browsing); }

void TGeneralPage::SetCountCaption() { btnNoItems_->setText("No Items : " + QString::number(ItemRows())); }

void TGeneralPage::SelectTypeInCombo(const QString& type) {
    cbType_->setCurrentIndex(cbType_->findText(type, Qt::MatchFixedString));  // ignores case
}

void TGeneralPage::LoadGeneralList() {
    grid_->BeginUpdate();
    struct End {
        TStringGrid* g;
        ~End() { g->EndUpdate(); }
    } end{grid_};
    grid_->ClearCells();
    grid_->setCells(kColType, 0, "Type");
    grid_->setCells(kColDesc, 0, "Description");
    grid_->setCells(kColValue, 0, "Value");

    const QString remembered = cbType_->currentText();
    cbType_->clear();

    const std::string path = host_.DataFilePath(kFileName);
    std::vector<std::string> types;
    std::unordered_set<std::string> seen;  // types in lower case: one entry per spelling
    ReadWhole([&] {
    if (FileExists(path)) {
        LineReader reader(path);
        std::string_view line;
        int r = 1;
        // Read first, then size the grid once.
        struct Item {
            std::string type, desc, value;
        };
        std::vector<Item> items;
        while (reader.Next(line)) {
            const std::string_view type = GetFieldView(1, ',', line);
            const std::string_view desc = GetFieldView(2, ',', line);
            if (IsBlank(type) && IsBlank(desc)) continue;
            items.push_back({std::string(type), std::string(desc), std::string(GetFieldView(3, ',', line))});
        }
        if (!items.empty()) grid_->setRowCount(static_cast<int>(items.size()) + 1);
        for (const Item& item : items) {
            grid_->setCellBytes(kColType, r, item.type);
            grid_->setCellBytes(kColDesc, r, item.desc);
            grid_->setCellBytes(kColValue, r, item.value);
            std::string lower = ToBytes(FromBytes(item.type).toLower());
            if (seen.insert(lower).second) types.push_back(item.type);
            ++r;
        }
    }
    });
    QStringList typeList;
    typeList.reserve(static_cast<qsizetype>(types.size()));
    for (const std::string& t : types) typeList << FromBytes(t);
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::sort(typeList.begin(), typeList.end(),
              [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    cbType_->addItems(typeList);
    cbType_->setCurrentIndex(-1);

    SetCountCaption();
    grid_->setEditorMode(false);
    cbType_->setMaxVisibleItems(std::max(std::min(static_cast<int>(typeList.size()), 20), 1));
    if (!Blank(remembered)) SelectTypeInCombo(remembered);
}

bool TGeneralPage::CheckGeneralList() {
    Dialogs& dialogs = host_.HostDialogs();
    // Works on the cells' own bytes; a cell is only written back when it changes.
    for (int row = 1; row < grid_->RowCount(); ++row) {
        std::string value = grid_->CellBytes(kColValue, row);
        if (IsBlank(value)) {
            value.assign(1, '0');
            grid_->setCellBytes(kColValue, row, value);
        }
        const std::string corrected = DigitsToAmount(value.substr(0, kMaxValue), false);
        if (corrected != value) {
            const QString text = Cell(kColDesc, row) + "\n\rInvalid Value " + FromBytes(value) + "\n\rAltered to " +
                                 FromBytes(corrected) + " !";
            if (dialogs.ShowMessageBox(text, MsgKind::Warning, mbOK | mbCancel) == mbCancel) return false;
            grid_->setCellBytes(kColValue, row, corrected);
        }

        auto clean = [&](int col, std::size_t limit, const char* what, bool showCut) {
            const std::string old = grid_->CellBytes(col, row);
            std::string text = CleanField(old, false);
            const bool cut = text.size() > limit;
            // Cut, then trim again: a cut that ends in a blank would otherwise leave a
            // line that the next save changes once more.
            if (cut) text = CleanField(text.substr(0, limit), false);
            if (text != old) grid_->setCellBytes(col, row, text);
            if (cut) {
                const QString first = showCut ? FromBytes(text) : Cell(kColDesc, row);
                dialogs.ShowMessageBox(first + "\n\r" + what + " truncated (" + QString::number(limit) + " Max)",
                                       MsgKind::Warning, mbOK);
            }
        };
        clean(kColType, kMaxType, "Type", false);
        clean(kColDesc, kMaxDesc, "Description", true);
    }
    return true;
}

void TGeneralPage::SortGeneralList() {
    const int rows = ItemRows();
    if (rows < 1) return;
    qsizetype typeWidth = 0, descWidth = 0;
    for (int row = 1; row <= rows; ++row) {
        typeWidth = std::max(typeWidth, Cell(kColType, row).size());
        descWidth = std::max(descWidth, Cell(kColDesc, row).size());
    }
    const QString sortKey = btnSort_->text();
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(static_cast<size_t>(rows));
    for (int row = 1; row <= rows; ++row) {
        const QString type = Cell(kColType, row).leftJustified(typeWidth, ' ');
        const QString desc = Cell(kColDesc, row).leftJustified(descWidth, ' ');
        const QString value = QString::asprintf("%.9d", ToIntOrZero(ToBytes(Cell(kColValue, row))));
        QString key;
        if (sortKey == "Description")
            key = desc + type + value;
        else if (sortKey == "Value")
            key = value + type + desc;
        else
            key = type + desc + value;
        // Case is folded first so that the order ignores it whatever the
        // collation the system offers.
        keys.push_back(collator.sortKey(key.toCaseFolded()));
    }
    std::vector<int> order(static_cast<size_t>(rows));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return keys[a].compare(keys[b]) < 0; });
    for (int& index : order) index += 1;  // grid row numbers
    grid_->PermuteRows(order);
}

bool TGeneralPage::SaveGeneralList() {
    if (!MayWrite()) return false;
    if (!CheckGeneralList()) return false;
    SortGeneralList();
    std::string content;
    for (int row = 1; row < grid_->RowCount(); ++row) {
        const std::string type = grid_->CellBytes(kColType, row);
        const std::string desc = grid_->CellBytes(kColDesc, row);
        if (IsBlank(type) && IsBlank(desc)) continue;
        content += type;
        content += ',';
        content += desc;
        content += ',';
        content += grid_->CellBytes(kColValue, row);
        content += "\r\n";
    }
    ReplaceFileAtomically(host_.DataFilePath(kFileName), content);
    return true;
}

void TGeneralPage::StartGeneralEdit(bool isNew) {
    if (!host_.State().Ready) return;
    SetBrowsing(false);
    if (!isNew) {
        grid_->setCol(kColValue);
    } else if (cbType_->currentIndex() >= 0) {
        grid_->setEditorMode(false);
        grid_->setCells(kColType, grid_->Row(), cbType_->currentText());
        grid_->setCol(kColDesc);
    } else {
        grid_->setCol(kColType);
    }
    grid_->setEditorMode(true);
    grid_->setFocus();
}

void TGeneralPage::Btn_GenNewClick() {
    if (ItemRows() == 1 && Cell(kColType, 1).isEmpty() && Cell(kColDesc, 1).isEmpty() && Cell(kColValue, 1).isEmpty()) {
        grid_->setRow(1);
    } else {
        grid_->setEditorMode(false);
        grid_->setRowCount(grid_->RowCount() + 1);
        grid_->setRow(grid_->RowCount() - 1);
    }
    SetCountCaption();
    StartGeneralEdit(true);
}

void TGeneralPage::EndGeneralEdit(bool cancel) {
    grid_->setEditorMode(false);  // the open editor's text is already in its cell
    const int row = grid_->Row();
    const QString type = Cell(kColType, row), desc = Cell(kColDesc, row), value = Cell(kColValue, row);
    if (!cancel) {
        bool saved = false;
        Guard([&] { saved = SaveGeneralList(); });
        if (!saved) {
            grid_->setEditorMode(true);
            return;
        }
    }
    SetBrowsing(true);
    Guard([this] { LoadGeneralList(); });
    if (!cancel)
        FindGeneralItem(type, desc, value);
    else
        grid_->setRow(std::min(row, grid_->RowCount() - 1));
    ShowGeneralDesc(grid_->Row());
}

void TGeneralPage::FindGeneralItem(const QString& type, const QString& description, const QString& value) {
    if (Blank(type + description)) return;
    for (int row = 1; row < grid_->RowCount(); ++row) {
        auto matches = [&](int col, const QString& wanted) { return Blank(wanted) || Cell(col, row) == wanted; };
        if (matches(kColType, type) && matches(kColDesc, description) && matches(kColValue, value)) {
            grid_->setRow(row);
            return;
        }
    }
}

QString TGeneralPage::GeneralItemText(bool forHint) const {
    const int row = grid_->Row();
    if (row < 1 || row >= grid_->RowCount()) return {};
    const QString desc = Cell(kColDesc, row);
    if (Blank(desc)) return {};
    const QString value = Cell(kColValue, row);
    if (forHint) return desc + " = " + value;
    const SendRowOptions& options = host_.OptionValues().SendRow(kGeneralSendRow);
    QString text = options.value ? value : QString();
    if (options.description) {
        if (!Blank(text)) text += ',';
        text += desc;
    }
    return text;
}

void TGeneralPage::ShowGeneralDesc(int row) {
    QString text;
    if (row >= 1 && row < grid_->RowCount() && !Blank(Cell(kColDesc, row)))
        text = Cell(kColDesc, row) + " = " + Cell(kColValue, row);
    lbDesc_->setText("  " + text);
}

void TGeneralPage::Btn_GenEditClick() { StartGeneralEdit(false); }
void TGeneralPage::Btn_GenSaveClick() { EndGeneralEdit(false); }
void TGeneralPage::Btn_GenCancelClick() { EndGeneralEdit(true); }

void TGeneralPage::Btn_GenDeleteClick() {
    const int row = grid_->Row();
    if (row < 1 || row >= grid_->RowCount()) return;
    if (host_.HostDialogs().ShowMessageBox("Delete " + Cell(kColDesc, row) + " ?", MsgKind::Confirmation,
                                           mbYes | mbNo) != mbYes)
        return;
    for (int col = 0; col < 3; ++col) grid_->setCells(col, row, QString());
    Guard([this] { SaveGeneralList(); });
    Guard([this] { LoadGeneralList(); });
    grid_->setRow(std::min(row, grid_->RowCount() - 1));
    ShowGeneralDesc(grid_->Row());
}

void TGeneralPage::Btn_GenSendClick() {
    const std::string text = ToBytes(GeneralItemText(false));
    const OptionsSnapshot& options = host_.OptionValues();
    host_.Keyboard().SendToGame(text, options.SendRow(kGeneralSendRow).enter, options.backSpc);
}

void TGeneralPage::Btn_GeneralSortClick() {
    const QString caption = btnSort_->text();
    btnSort_->setText(caption == "Type" ? "Description" : caption == "Description" ? "Value" : "Type");
    const bool editorShown = grid_->EditorMode();
    grid_->setEditorMode(false);
    SortGeneralList();
    Guard([this] { SaveGeneralList(); });
    if (editorShown) grid_->setEditorMode(true);
}

void TGeneralPage::Cb_OthTypeChange() {
    if (!host_.State().Ready) return;
    if (grid_->Editing()) {
        if (cbType_->currentIndex() < 0) return;
        grid_->setEditorMode(false);
        grid_->setCells(kColType, grid_->Row(), cbType_->currentText());
        grid_->setFocus();
        grid_->setCol(kColDesc);
        grid_->setEditorMode(true);
    } else {
        FindGeneralItem(cbType_->currentText(), QString(), QString());
    }
}

void TGeneralPage::SGrid_GeneralSelectCell(int /*col*/, int row) {
    ShowGeneralDesc(row);
    if (row < 1 || row >= grid_->RowCount()) return;
    const QString type = Cell(kColType, row);
    if (!Blank(type) && type != cbType_->currentText()) SelectTypeInCombo(type);
}

void TGeneralPage::SGrid_GeneralClick() {
    const int row = grid_->Row();
    if (row >= 1 && row < grid_->RowCount()) {
        grid_->setHint(GeneralItemText(true));
        grid_->setShowHint(true);
    } else {
        grid_->setShowHint(false);
    }
}

bool TGeneralPage::SGrid_GeneralKeyPress(int col, int row, QChar& ch) {
    const char16_t code = ch.unicode();
    if (code == '\t' || code < 32 || code > 126) return true;
    bool accept = true;
    if (col == kColValue && !ch.isDigit()) accept = false;
    const int limit = col == kColType ? kMaxType : col == kColDesc ? kMaxDesc : kMaxValue;
    if (accept && row >= 1) {
        const QString text = Cell(col, row);
        if (text.size() > limit) grid_->setCells(col, row, text.left(limit));
        if (text.size() >= limit) accept = false;
    }
    if (!accept) host_.HostDialogs().Beep();
    return accept;
}

void TGeneralPage::Tab_GeneralResize() {
    int others = 0;
    for (int col = 0; col < kColValue; ++col) others += std::max(grid_->ColWidths(col), -1) + 1;
    const int width = std::max(grid_->ClientWidth() - others - 1, 6);
    if (grid_->ColWidths(kColValue) != width) grid_->setColWidths(kColValue, width);
}

void TGeneralPage::LoadList() { LoadGeneralList(); }

bool TGeneralPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == page_ && event->type() == QEvent::Resize) Tab_GeneralResize();
    return QObject::eventFilter(watched, event);
}

void TGeneralPage::LoadSettings(SettingsStore& settings) {
    const int sort = ReadValue(settings, values::GeneralSort, 1);
    btnSort_->setText(Latin(kSortCaptions[sort == 2 ? 1 : sort == 3 ? 2 : 0]));
    ReadGridRowHeight(settings, values::RowHeightGeneral, *grid_, 6);
    ReadGridColWidths(settings, values::GeneralCol, *grid_, [](int, int width) { return std::max(width, 6); });
}

void TGeneralPage::SaveSettings(SettingsStore& settings) {
    const QString caption = btnSort_->text();
    WriteValue(settings, values::GeneralSort, caption == u"Description"_s ? 2 : caption == u"Value"_s ? 3 : 1);
    WriteGridColWidths(settings, values::GeneralCol, *grid_);
    WriteValue(settings, values::RowHeightGeneral, std::max(grid_->DefaultRowHeight(), 6));
}

std::vector<TStringGrid*> TGeneralPage::SizingGrids() { return {grid_}; }

PopupState TGeneralPage::Popup(const QWidget*) const {
    PopupState s;
    s.gridResize = true;
    s.gridResizeChecked = GridSizing();
    s.list1 = kListNumber;
    s.list1Caption = u"General List Options"_s;
    return s;
}

void TGeneralPage::ApplyListDisplay(int number, const ListDisplay& display) {
    if (number != kListNumber) return;
    ApplyGridDisplay(*grid_, display);
    ApplyLabelFont(*lbDesc_, display);
}

}  // namespace stallmark
