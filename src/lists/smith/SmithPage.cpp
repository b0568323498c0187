#include "lists/smith/SmithPage.h"

#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

#include "controls/Dialogs.h"
#include "controls/Icons.h"
#include "controls/StringGrid.h"
#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "game/GameKeyboard.h"
#include "lists/GridSettings.h"
#include "lists/ListDisplay.h"
#include "lists/ListHost.h"
#include "lists/smith/SmithTable.h"
#include "settings/SettingValues.h"
#include "store/Fields.h"
#include "store/Files.h"
#include "store/GameNames.h"

namespace stallmark {

using namespace Qt::StringLiterals;

namespace {

constexpr int kPriceRows = smith::kOreCount + 1;  // the header row and one row per ore
constexpr int kMinSize = 6;                       // the smallest row height or column width kept
constexpr int kIngotSize = 16;
const char* const kIngotNames[smith::kOreCount] = {"Arm_Iron", "Arm_Dull",    "Arm_Shadow", "Arm_Copper",  "Arm_Bronze",
                                                   "Arm_Gold", "Arm_Agapite", "Arm_Verite", "Arm_Valorite"};

// Gives w the keyboard focus when it can take it; true when it has it.
bool TrySetFocus(QWidget* w) {
    if (!w || !w->isVisible() || !w->isEnabled() || w->focusPolicy() == Qt::NoFocus) return false;
    w->setFocus(Qt::OtherFocusReason);
    return w->hasFocus();
}

// The characters of the current cell that typing would replace (the editor's selection).
int SelectedLength(const TStringGrid& grid, int col, int row) {
    const QLineEdit* editor = grid.CellEditor();
    if (!editor || grid.Col() != col || grid.Row() != row) return 0;
    return static_cast<int>(editor->selectedText().size());
}

}  // namespace

TSmithPage::TSmithPage(ListHost& host, QWidget* page) : TEditableList(host, kPriceFile), page_(page) {
    setObjectName(u"SmithList"_s);
    BuildControls(page);
}

void TSmithPage::BuildControls(QWidget* page) {
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    auto* bar = new TPanelResize(page);
    gbArmBtn_ = bar;
    bar->setObjectName(u"Gb_ArmBtn"_s);
    bar->setFixedHeight(28);
    layout->addWidget(bar);
    auto button = [bar](const char* name, const QString& caption, int image, const QString& hint) {
        return MakeBarButton(bar, name, caption, image, hint);
    };
    EditButtons buttons;
    buttons.edit = button("Btn_SmithEdit", u"Edit"_s, BtnImage::Edit, u"Edit armour data"_s);
    buttons.save = button("Btn_SmithSave", u"Save"_s, BtnImage::Save, u"Save changes to armour data"_s);
    buttons.reset = button("Btn_SmithCancel", u"Reset"_s, BtnImage::Reset, u"Reset (Cancel changes)"_s);
    buttons.newItem = button("Btn_SmithNew", u"New"_s, BtnImage::New, u"Add a new armour type"_s);
    buttons.del = button("Btn_SmithDelete", u"Delete"_s, BtnImage::Delete, u"Delete current armour type"_s);
    buttons.send = button("Btn_SmithSend", u"Send"_s, BtnImage::Send, u"Send armour data to game"_s);
    buttons.newWhileEditing = false;
    btnSend_ = buttons.send;

    // Prices: the ingots beside the ore rows, then one column per type.
    gbArmour_ = new QGroupBox(u"Prices"_s, page);
    gbArmour_->setObjectName(u"Gb_Armour"_s);
    gbArmour_->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto* prices = new QHBoxLayout(gbArmour_);
    prices->setContentsMargins(2, 2, 2, 2);
    prices->setSpacing(2);
    ingotBox_ = new QWidget(gbArmour_);
    ingotBox_->setObjectName(u"Pn_Ingots"_s);
    ingotBox_->setFixedWidth(kIngotSize + 2);
    for (int i = 0; i < smith::kOreCount; ++i) {
        auto* ingot = new QLabel(ingotBox_);
        ingot->setObjectName(QString::fromLatin1(kIngotNames[i]));
        ingot->setFixedSize(kIngotSize, kIngotSize);
        ingot->setToolTip(QString::fromLatin1(NameAt(SmithOreNames, i)));
        ingots_[static_cast<size_t>(i)] = ingot;
    }
    prices->addWidget(ingotBox_, 0, Qt::AlignTop);

    price_ = new TStringGrid(gbArmour_);
    price_->setObjectName(u"SGrid_Smith"_s);
    price_->setFixedRows(1);
    price_->setFixedCols(0);
    price_->setRowCount(kPriceRows);
    price_->setColCount(1);
    price_->setDefaultColWidth(33);
    price_->setDefaultRowHeight(18);
    price_->setColumnAlignment(0, Qt::AlignRight);
    price_->setFixedAlignment(Qt::AlignHCenter);
    price_->setCellMargins(2, 2, 3);
    price_->setTabs(true);
    price_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    price_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    prices->addWidget(price_, 1, Qt::AlignTop);
    layout->addWidget(gbArmour_);

    // Descriptions: the handle, the short name and the description of each type.
    gbArmDesc_ = new QGroupBox(u"Descriptions"_s, page);
    gbArmDesc_->setObjectName(u"Gb_ArmDesc"_s);
    auto* descs = new QVBoxLayout(gbArmDesc_);
    descs->setContentsMargins(2, 2, 2, 2);
    descs->setSpacing(2);
    desc_ = new TStringGrid(gbArmDesc_);
    desc_->setObjectName(u"SGrid_SmithDesc"_s);
    desc_->setFixedRows(0);
    desc_->setFixedCols(1);
    desc_->setColCount(3);
    desc_->setRowCount(1);
    desc_->setDefaultColWidth(60);
    desc_->setDefaultRowHeight(18);
    desc_->setRowMoving(true);
    desc_->setRowSelect(true);
    desc_->setTabs(true);
    desc_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    desc_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    descs->addWidget(desc_, 1);
    lbDesc_ = new QLabel(u"Smith Description"_s, gbArmDesc_);
    lbDesc_->setObjectName(u"Lb_SmithDesc"_s);
    descs->addWidget(lbDesc_);
    layout->addWidget(gbArmDesc_, 1);

    WireButtons(buttons);
    connect(price_, &TStringGrid::cellSelected, this, [this](int col, int row) { SGrid_SmithSelectCell(col, row); });
    connect(price_, &TStringGrid::cellClicked, this, [this](int col, int row) { SGrid_SmithClick(col, row); });
    connect(price_, &TStringGrid::cellDoubleClicked, this, [this] { SGrid_SmithDblClick(); });
    connect(price_, &TStringGrid::colWidthChanged, this,
            [this](int col, int width) { SGrid_SmithColWidthChanged(col, width); });
    connect(price_, &TStringGrid::defaultRowHeightChanged, this, [this] { Tab_SmithResize(); });
    price_->setKeyFilter([this](int col, int row, QChar& ch) { return SGrid_SmithKeyPress(col, row, ch); });

    connect(desc_, &TStringGrid::cellSelected, this, [this](int col, int row) { SGrid_SmithDescSelectCell(col, row); });
    connect(desc_, &TStringGrid::cellDoubleClicked, this, [this] { SGrid_SmithDblClick(); });
    connect(desc_, &TStringGrid::rowMoved, this, [this](int from, int to) { SGrid_SmithDescRowMoved(from, to); });
    connect(desc_, &TStringGrid::defaultRowHeightChanged, this,
            [this](int height) { SGrid_SmithDescRowHeightChanged(height); });
    desc_->setKeyFilter([this](int col, int row, QChar& ch) { return SGrid_SmithDescKeyPress(col, row, ch); });

    // The page's own resize (a posted size message arrives the same way), and the grids'
    // cell areas once the grids have laid themselves out.
    page->installEventFilter(this);
    price_->viewport()->installEventFilter(this);
    desc_->viewport()->installEventFilter(this);
}

int TSmithPage::TypeCount() const { return desc_->RowCount(); }

QString TSmithPage::Description(int type) const {
    if (type < 0 || type >= desc_->RowCount()) return QString();
    return desc_->Cells(kColDesc, type);
}

// --- loading ---

void TSmithPage::LoadList() {
    LoadIngotImages();
    LoadSmithTable();
}

void TSmithPage::LoadIngotImages() {
    const ImageList& images = ImageList_Ingot();
    for (int i = 0; i < smith::kOreCount; ++i) ingots_[static_cast<size_t>(i)]->setPixmap(images.Pixmap(i));
}

void TSmithPage::LoadSmithTable() {
    const std::string descPath = host_.DataFilePath(kDescFile);
    const std::string pricePath = host_.DataFilePath(kPriceFile);
    std::string cutNotice;
    desc_->BeginUpdate();
    price_->BeginUpdate();
    struct End {
        TStringGrid* a;
        TStringGrid* b;
        ~End() {
            b->EndUpdate();
            a->EndUpdate();
        }
    } end{desc_, price_};

    ReadWhole([&] {
        if (FileExists(descPath)) {
            std::vector<smith::TypeNames> types;
            LineReader reader(descPath, kMaxLineBytes);
            std::string_view line;
            while (reader.Next(line)) types.push_back(smith::ParseDescriptionLine(line));
            cutNotice += reader.CutLinesMessage();
            desc_->ClearCells();
            // An empty file is one type without a name, whatever was shown before.
            desc_->setRowCount(std::max<int>(static_cast<int>(types.size()), 1));
            for (size_t i = 0; i < types.size(); ++i) {
                const int row = static_cast<int>(i);
                desc_->setCellBytes(kColDesc, row, types[i].description);
                desc_->setCellBytes(kColShort, row, types[i].shortName);
            }
        }
        if (FileExists(pricePath)) {
            price_->ClearCells();
            price_->setColCount(desc_->RowCount());
            LineReader reader(pricePath, kMaxLineBytes);
            std::string line;
            for (int col = 0; col < price_->ColCount(); ++col) {
                if (!reader.Next(line)) line.clear();
                const std::string name = desc_->CellBytes(kColShort, col);
                price_->setCellBytes(col, 0, name.empty() ? std::string(1, ' ') : name);
                const std::vector<std::string> cells = smith::ParsePriceLine(line);
                for (size_t i = 0; i < cells.size(); ++i) price_->setCellBytes(col, static_cast<int>(i) + 1, cells[i]);
                price_->setColumnAlignment(col, Qt::AlignRight);
            }
            if (!cutNotice.empty() && reader.CutLines() > 0) cutNotice += "\n\r";
            cutNotice += reader.CutLinesMessage();
        }
        // Tables shown cut are said once and never written, so the long lines stay whole.
        if (!cutNotice.empty()) CutOnLoading(cutNotice);
    });
}

// --- saving ---

bool TSmithPage::CheckSmithPrices(int skip) {
    Dialogs& dialogs = host_.HostDialogs();
    for (int row = 1; row <= smith::kOreCount; ++row) {
        for (int col = 0; col < price_->ColCount(); ++col) {
            if (col == skip) continue;  // a type being deleted is not worth a question
            const std::string cell = price_->CellBytes(col, row);
            const smith::PriceCheck check = smith::CheckPrice(cell);
            if (check.ask) {
                const std::string text = smith::PriceWarning(row, ToBytes(Description(col)), cell, check.price);
                if (dialogs.ShowMessageBox(FromBytes(text), MsgKind::Warning, mbOK | mbCancel) == mbCancel)
                    return false;
            }
            if (check.price != cell) price_->setCellBytes(col, row, check.price);
        }
    }
    return true;
}

void TSmithPage::WriteSmithFiles(int skip) {
    std::string prices, descriptions;
    for (int type = 0; type < TypeCount(); ++type) {
        if (type == skip) continue;
        std::vector<std::string> cells;
        cells.reserve(smith::kOreCount);
        for (int row = 1; row <= smith::kOreCount; ++row) cells.push_back(price_->CellBytes(type, row));
        prices += smith::FormatPriceLine(cells);
        prices += "\r\n";

        smith::TypeNames cut;
        descriptions +=
            smith::FormatDescriptionLine({desc_->CellBytes(kColDesc, type), desc_->CellBytes(kColShort, type)}, &cut);
        descriptions += "\r\n";
        // What was cut shows cut in the grid too.
        if (cut.description.size() != desc_->CellBytes(kColDesc, type).size())
            desc_->setCellBytes(kColDesc, type, cut.description);
        if (cut.shortName.size() != desc_->CellBytes(kColShort, type).size())
            desc_->setCellBytes(kColShort, type, cut.shortName);
    }
    // The two files change together or not at all: a type's prices and its description
    // are matched by their line numbers.
    const std::vector<FileContent> files = {{host_.DataFilePath(kPriceFile), std::move(prices)},
                                            {host_.DataFilePath(kDescFile), std::move(descriptions)}};
    std::size_t replaced = 0;
    try {
        ReplaceFilesAtomically(files, &replaced);
    } catch (const StoreError& e) {
        std::string message = e.what();
        if (replaced == 0)
            message += "\n\rNothing was saved: Armour.dat and ArmDesc.dat are as they were.";
        else
            message += "\n\rArmour.dat was saved but ArmDesc.dat was not: the two files no longer match.";
        throw StoreError(message, e.Code());
    }
}

bool TSmithPage::SaveSmithTable(bool skipCurrent) {
    if (!MayWrite()) return false;
    const int skip = skipCurrent ? desc_->Row() : -1;
    if (!CheckSmithPrices(skip)) return false;
    WriteSmithFiles(skip);
    return true;
}

// --- texts ---

QString TSmithPage::SmithPriceText(int col, int row, bool withOptions) const {
    if (row < 1 || col < 0 || row > smith::kOreCount || col >= price_->ColCount()) return QString();
    const std::string cell = price_->CellBytes(col, row);
    const std::string description = ToBytes(Description(col));
    if (!withOptions) return FromBytes(smith::PlainPriceText(cell, description, row));
    const SendRowOptions& options = host_.OptionValues().SendRow(kSendRow);
    return FromBytes(smith::PriceText(cell, description, row, options.value, options.description));
}

void TSmithPage::ShowPriceLabel(int col, int row) { lbDesc_->setText(u"  "_s + SmithPriceText(col, row, false)); }

// --- selection ---

void TSmithPage::SelectType(int type, int oreRow) {
    SmithSyncing = true;
    type = std::clamp(type, 0, std::max(TypeCount() - 1, 0));
    price_->setCurrentCell(std::min(type, price_->ColCount() - 1), std::clamp(oreRow, 1, kPriceRows - 1));
    desc_->setRow(type);
    SmithSyncing = false;
    ShowPriceLabel(price_->Col(), price_->Row());
}

void TSmithPage::SGrid_SmithSelectCell(int col, int row) {
    if (SmithSyncing) return;
    SmithSyncing = true;
    desc_->setRow(std::min(col, desc_->RowCount() - 1));
    SmithSyncing = false;
    ShowPriceLabel(col, row);
}

void TSmithPage::SGrid_SmithDescSelectCell(int /*col*/, int row) {
    if (SmithSyncing) return;
    SmithSyncing = true;
    price_->setCol(std::min(row, price_->ColCount() - 1));
    SmithSyncing = false;
    ShowPriceLabel(row, price_->Row());
}

void TSmithPage::SGrid_SmithClick(int col, int row) {
    if (price_->EditorMode()) {
        price_->setHint(QString());
        price_->setShowHint(false);
        return;
    }
    price_->setHint(SmithPriceText(col, row, false));
    price_->setShowHint(true);
    if (SmithSyncing) return;
    SmithSyncing = true;
    desc_->setRow(std::min(col, desc_->RowCount() - 1));
    SmithSyncing = false;
}

// --- typing ---

bool TSmithPage::SGrid_SmithKeyPress(int col, int row, QChar& ch) {
    const char16_t code = ch.unicode();
    if (code < 32 || code == 127) return true;  // backspace, Enter and the other control keys
    bool accept = code >= u'0' && code <= u'9';
    if (accept && row >= 1) {
        const QString text = price_->Cells(col, row);
        int length = static_cast<int>(text.size());
        if (length > smith::kMaxPriceDigits) {
            price_->setCells(col, row, text.left(smith::kMaxPriceDigits));
            length = smith::kMaxPriceDigits;
        }
        if (length - SelectedLength(*price_, col, row) >= smith::kMaxPriceDigits) accept = false;
    }
    if (!accept) host_.HostDialogs().Beep();
    return accept;
}

bool TSmithPage::SGrid_SmithDescKeyPress(int col, int row, QChar& ch) {
    const char16_t code = ch.unicode();
    if (code < 32 || code == 127) return true;
    if (col != kColShort && col != kColDesc) return true;
    const int limit = col == kColShort ? smith::kMaxShortName : smith::kMaxDescription;
    const QString text = desc_->Cells(col, row);
    int length = static_cast<int>(text.size());
    if (length > limit) {
        desc_->setCells(col, row, text.left(limit));
        length = limit;
    }
    if (length - SelectedLength(*desc_, col, row) < limit) return true;
    host_.HostDialogs().Beep();
    return false;
}

// --- browse and edit ---

void TSmithPage::BrowsingChanged(bool browsing) {
    if (browsing) {
        price_->setEditorMode(false);
        price_->setEditing(false);
        SetGridEditing(*desc_, false);
        return;
    }
    price_->setEditing(true);
    SetGridEditing(*desc_, true);
}

void TSmithPage::Btn_SmithEditClick() {
    SetBrowsing(false);
    desc_->setEditorMode(true);
    price_->setEditorMode(true);
    TrySetFocus(price_);
}

void TSmithPage::EndSmithEdit() {
    const int oreRow = price_->Row();
    const int type = price_->Col();
    SetBrowsing(true);
    Guard([this] { LoadSmithTable(); });
    SelectType(type, oreRow);
}

void TSmithPage::Btn_SmithSaveClick() {
    bool saved = false;
    Guard([&] { saved = SaveSmithTable(false); });
    if (!saved) return;  // stopped at a price, or not written: the edit stays open
    EndSmithEdit();
}

void TSmithPage::Btn_SmithCancelClick() { EndSmithEdit(); }

void TSmithPage::Btn_SmithNewClick() {
    desc_->setRowCount(desc_->RowCount() + 1);
    price_->setColCount(price_->ColCount() + 1);
    const int type = price_->ColCount() - 1;
    price_->setColumnAlignment(type, Qt::AlignRight);
    price_->setCurrentCell(type, 1);
    desc_->setCurrentCell(kColShort, desc_->RowCount() - 1);
    Btn_SmithEditClick();
    TrySetFocus(desc_);
}

void TSmithPage::Btn_SmithDeleteClick() {
    const int type = desc_->Row();
    if (type < 0 || type >= desc_->RowCount()) return;
    if (host_.HostDialogs().ShowMessageBox(u"Delete Current Type ?"_s, MsgKind::Confirmation, mbYes | mbNo) != mbYes)
        return;
    SmithSyncing = true;
    price_->setCol(std::min(type, price_->ColCount() - 1));
    SmithSyncing = false;
    Guard([this] { SaveSmithTable(true); });
    // The grids show the files, whether the type went or not.
    const int oreRow = price_->Row();
    Guard([this] { LoadSmithTable(); });
    SelectType(std::min(type, TypeCount() - 1), oreRow);
}

void TSmithPage::Btn_SmithSendClick() {
    const std::string text = ToBytes(SmithPriceText(price_->Col(), price_->Row(), true));
    const OptionsSnapshot& options = host_.OptionValues();
    host_.Keyboard().SendToGame(text, options.SendRow(kSendRow).enter, options.backSpc);
}

void TSmithPage::SGrid_SmithDblClick() {
    // While editing a double click belongs to the cell editor.
    if (btnSend_->isEnabled()) Btn_SmithSendClick();
}

// --- moving a type ---

void TSmithPage::MovePriceColumn(int from, int to) {
    const int cols = price_->ColCount();
    if (from < 0 || to < 0 || from >= cols || to >= cols || from == to) return;
    std::vector<QStringList> texts;
    texts.reserve(static_cast<size_t>(cols));
    for (int col = 0; col < cols; ++col) texts.push_back(price_->ColTexts(col));
    const std::vector<int> order = smith::MovedOrder(cols, from, to);
    price_->BeginUpdate();
    for (int col = 0; col < cols; ++col) price_->setColTexts(col, texts[static_cast<size_t>(order[col])]);
    price_->EndUpdate();
}

void TSmithPage::SGrid_SmithDescRowMoved(int from, int to) {
    if (from == to) return;
    const int oreRow = price_->Row();
    MovePriceColumn(from, to);
    if (IsEditing()) {
        // Save writes the new order with the rest of the edit; Reset takes it back.
        SelectType(to, oreRow);
        return;
    }
    Guard([this] {
        if (MayWrite()) WriteSmithFiles(-1);
    });
    Guard([this] { LoadSmithTable(); });
    SelectType(to, oreRow);
}

// --- sizes and layout ---

void TSmithPage::SGrid_SmithColWidthChanged(int col, int width) {
    if (col == 0) {
        // Every type takes the first column's width.
        price_->setDefaultColWidth(std::max(width, kMinSize));
        Tab_SmithResize();
        return;
    }
    // Any other column goes back to the first one's width once the drag has settled.
    QMetaObject::invokeMethod(
        this,
        [this, col] {
            if (col < price_->ColCount() && price_->ColWidths(col) != price_->ColWidths(0))
                price_->setColWidths(col, price_->ColWidths(0));
        },
        Qt::QueuedConnection);
}

void TSmithPage::SGrid_SmithDescRowHeightChanged(int height) {
    if (height < kMinSize) desc_->setDefaultRowHeight(kMinSize);
    Tab_SmithResize();
}

void TSmithPage::Tab_SmithResize() {
    if (resizing_) return;
    resizing_ = true;
    // Descriptions: the handle as wide as a row is high, the short name as wide as a
    // price column, the description the rest.
    const int handle = std::max(kMinSize, desc_->DefaultRowHeight());
    const int shortName = std::max(30, price_->DefaultColWidth());
    if (desc_->ColWidths(kColHandle) != handle) desc_->setColWidths(kColHandle, handle);
    if (desc_->ColWidths(kColShort) != shortName) desc_->setColWidths(kColShort, shortName);
    const int rest = std::max(30, desc_->ClientWidth() - (handle + 1) - (shortName + 1) - 1);
    if (desc_->ColWidths(kColDesc) != rest) desc_->setColWidths(kColDesc, rest);

    // Prices: the header and nine ore rows, and the scroll bar when the types do not fit.
    const int rowHeight = price_->DefaultRowHeight();
    int height = kPriceRows * (rowHeight + 1) + 2 * price_->frameWidth();
    int total = 0;
    for (int col = 0; col < price_->ColCount(); ++col) total += std::max(price_->ColWidths(col), -1) + 1;
    if (total > price_->ClientWidth()) height += price_->horizontalScrollBar()->sizeHint().height();
    if (price_->height() != height || price_->minimumHeight() != height) price_->setFixedHeight(height);
    if (ingotBox_->height() != height || ingotBox_->minimumHeight() != height) ingotBox_->setFixedHeight(height);
    PlaceIngots();
    resizing_ = false;
}

void TSmithPage::PlaceIngots() {
    // Each ingot beside its ore row (the ingots' box starts where the grid does).
    const int rowHeight = price_->DefaultRowHeight();
    const int offset = std::max(0, (rowHeight - kIngotSize) / 2);
    for (int i = 0; i < smith::kOreCount; ++i) {
        const int top = price_->frameWidth() + (i + 1) * (rowHeight + 1) + offset;
        QLabel* ingot = ingots_[static_cast<size_t>(i)];
        if (ingot->y() != top || ingot->x() != 1) ingot->move(1, top);
    }
}

bool TSmithPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Resize &&
        (watched == page_ || watched == price_->viewport() || watched == desc_->viewport()))
        Tab_SmithResize();
    return QObject::eventFilter(watched, event);
}

// --- settings, display options, menu ---

void TSmithPage::LoadSettings(SettingsStore& settings) {
    desc_->setDefaultRowHeight(
        std::max(ReadValue(settings, values::ColWidthArmDesc, desc_->DefaultRowHeight()), kMinSize));
    price_->setDefaultColWidth(
        std::max(ReadValue(settings, values::ColWidthArmour, price_->DefaultColWidth()), kMinSize));
    price_->setDefaultRowHeight(
        std::max(ReadValue(settings, values::RowHeightArmour, price_->DefaultRowHeight()), kMinSize));
}

void TSmithPage::SaveSettings(SettingsStore& settings) {
    WriteValue(settings, values::ColWidthArmDesc, std::max(desc_->DefaultRowHeight(), kMinSize));
    WriteValue(settings, values::ColWidthArmour, std::max(price_->DefaultColWidth(), kMinSize));
    WriteValue(settings, values::RowHeightArmour, std::max(price_->DefaultRowHeight(), kMinSize));
}

void TSmithPage::ApplyListDisplay(int number, const ListDisplay& display) {
    if (number == kPriceList) {
        ApplyGridDisplay(*price_, display);
    } else if (number == kDescList) {
        ApplyGridDisplay(*desc_, display);
        ApplyLabelFont(*lbDesc_, display);
    }
}

std::vector<TStringGrid*> TSmithPage::SizingGrids() { return {price_, desc_}; }

PopupState TSmithPage::Popup(const QWidget*) const {
    PopupState s;
    s.gridResize = true;
    s.gridResizeChecked = GridSizing();
    s.list1 = kPriceList;
    s.list1Caption = u"Price List Options"_s;
    s.list2 = kDescList;
    s.list2Caption = u"Description List Options"_s;
    return s;
}

}  // namespace stallmark
