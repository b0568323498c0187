#include "lists/magic/MagicPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "controls/CaptionedControls.h"
#include "controls/Dialogs.h"
#include "controls/Icons.h"
#include "controls/StringGrid.h"
#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "game/GameKeyboard.h"
#include "lists/EditableList.h"
#include "lists/GridSettings.h"
#include "lists/ListHost.h"
#include "lists/picklists/EditGridForm.h"
#include "lists/picklists/PickList.h"
#include "lists/picklists/PickListFiles.h"
#include "settings/SettingValues.h"
#include "store/Dates.h"
#include "store/Fields.h"
#include "store/Files.h"
#include "store/RecordFile.h"

namespace stallmark {

using namespace Qt::StringLiterals;

namespace {

constexpr int kPickButtonWidth = 82;
constexpr int kPriceWidth = 70;
constexpr int kBarHeight = 26;
constexpr int kMinPriceColumn = 40;
// The warning blinks this many half seconds after a save that set no special status.
constexpr int kWarnFlashes = 10;

QString Latin(const char* text) { return QString::fromLatin1(text); }

std::string Bytes(const QString& text) { return ToBytes(text); }

}  // namespace

// --- row lines -----------------------------------------------------------------

namespace {

constexpr std::uint64_t kNoLine = ~std::uint64_t{0};
constexpr std::uint64_t kOwnLine = std::uint64_t{1} << 63;  // else: offset (40 bits), length (23 bits)
constexpr std::uint64_t kMaxOffset = (std::uint64_t{1} << 40) - 1;
constexpr std::uint64_t kMaxLength = (std::uint64_t{1} << 23) - 1;

}  // namespace

void TMagicPage::RowLines::Reset(const BigBytes& bytes, std::size_t rows) {
    bytes_ = &bytes;
    own_.clear();
    at_.assign(rows, kNoLine);
}

void TMagicPage::RowLines::Place(int row, std::uint64_t at) {
    if (row < 0) return;
    if (at_.size() <= static_cast<size_t>(row)) at_.resize(static_cast<size_t>(row) + 1, kNoLine);
    at_[static_cast<size_t>(row)] = at;
}

void TMagicPage::RowLines::SetInBytes(int row, std::size_t offset, std::size_t length) {
    if (offset > kMaxOffset || length > kMaxLength) {
        Set(row, std::string_view(*bytes_).substr(offset, length));
        return;
    }
    Place(row, static_cast<std::uint64_t>(offset) | static_cast<std::uint64_t>(length) << 40);
}

void TMagicPage::RowLines::Set(int row, std::string_view line) {
    if (row < 0) return;
    const std::uint64_t at = own_.size();
    const std::uint64_t length = line.size();
    own_.append(reinterpret_cast<const char*>(&length), sizeof length);
    own_.append(line);
    Place(row, kOwnLine | at);
}

std::string_view TMagicPage::RowLines::Get(int row) const {
    if (row < 0 || static_cast<size_t>(row) >= at_.size()) return {};
    const std::uint64_t at = at_[static_cast<size_t>(row)];
    if (at == kNoLine) return {};
    if (at & kOwnLine) {
        const std::size_t offset = static_cast<std::size_t>(at & ~kOwnLine);
        std::uint64_t length = 0;
        std::memcpy(&length, own_.data() + offset, sizeof length);
        return std::string_view(own_).substr(offset + sizeof length, static_cast<std::size_t>(length));
    }
    if (!bytes_) return {};
    return std::string_view(*bytes_).substr(static_cast<std::size_t>(at & kMaxOffset),
                                            static_cast<std::size_t>(at >> 40));
}

// --- construction ----------------------------------------------------------------

TMagicPage::TMagicPage(ListHost& host, QWidget* page, const MagicListDesc& list)
    : host_(host), page_(page), list_(list) {
    BuildControls();
    ConnectControls();
    page_->installEventFilter(this);
    grid_->installEventFilter(this);
}

TMagicPage::~TMagicPage() = default;

void TMagicPage::BuildControls() {
    auto button = [](QWidget* parent, const MagicButton& desc) {
        return MakeBarButton(parent, desc.name, Latin(desc.caption), desc.image, Latin(desc.hint));
    };
    auto bar = [this](const char* name) {
        auto* p = new TPanelResize(page_);
        p->setObjectName(Latin(name));
        p->setSeperators(true);
        p->setFixedHeight(kBarHeight);
        return p;
    };

    auto* layout = new QVBoxLayout(page_);
    layout->setContentsMargins(2, 0, 2, 2);
    layout->setSpacing(2);

    // Detail group: one row per box (its pick-list button and the box), then the
    // special status boxes and the price.
    gbDetail_ = new QGroupBox(QStringLiteral("Detail / Search"), page_);
    gbDetail_->setObjectName(Latin(list_.gbDetail));
    auto* detail = new QGridLayout(gbDetail_);
    detail->setContentsMargins(4, 2, 4, 4);
    detail->setHorizontalSpacing(2);
    detail->setVerticalSpacing(1);
    int row = 0;
    for (const MagicBox& desc : list_.boxes) {
        auto* pick = new TToolBtnSig(Latin(desc.buttonCaption), gbDetail_);
        pick->setObjectName(Latin(desc.buttonName));
        pick->setToolTip(QStringLiteral("Edit the list"));
        pick->setGlyph(ImageList_Btn().Pixmap(BtnImage::EditList));
        pick->setButtonLayout(blGlyphRight);
        pick->setTag(-1);
        pick->setFlat(false);
        pick->setFixedWidth(kPickButtonWidth);
        pickButtons_[desc.part] = pick;

        auto* box = new TComboBoxSig(gbDetail_);
        box->setObjectName(Latin(desc.boxName));
        box->setEditable(desc.editable);
        box->setInsertPolicy(QComboBox::NoInsert);
        box->setMinimumContentsLength(4);
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        if (desc.editable && desc.maxLength > 0) box->lineEdit()->setMaxLength(desc.maxLength);
        SetPickListSorted(*box, desc.sorted);
        box->addItem(Latin(kNoneEntry));
        box->setCurrentIndex(-1);
        boxes_[desc.part] = box;
        detail->addWidget(pick, row, 0);
        detail->addWidget(box, row, 1);
        ++row;
    }
    auto* last = new QHBoxLayout;
    last->setSpacing(2);
    if (list_.hasSpecial) {
        auto check = [this, last](const char* name, const char* caption) {
            auto* c = new TCheckBoxSig(Latin(caption), gbDetail_);
            c->setObjectName(Latin(name));
            last->addWidget(c);
            return c;
        };
        ckbNone_ = check(list_.ckbNone, "No Special");
        ckbSilver_ = check(list_.ckbSilver, "Silver");
        ckbVirtue_ = check(list_.ckbVirtue, "Virtue");
    }
    last->addStretch(1);
    auto* price = new TEditLabel(gbDetail_);
    price->setObjectName(Latin(list_.edPrice));
    price->setCaption(QStringLiteral("Price"));
    price->setCharFilter(list_.priceDigitsOnly ? cfInteger : cfNormal);
    price->setDialogs(&host_.HostDialogs());
    price->setFixedWidth(kPriceWidth);
    edPrice_ = price;
    edPrice_->setMaxLength(9);
    // The caption sits in the space left of the box (its own placement rule).
    last->addSpacing(price->captionLeft());
    last->addWidget(price);
    detail->addLayout(last, row, 0, 1, 2);
    detail->setColumnStretch(1, 1);
    layout->addWidget(gbDetail_);

    gbBtn2_ = bar(list_.gbBtn2);
    btnList_ = button(gbBtn2_, list_.btnList);
    btnReset_ = button(gbBtn2_, list_.btnReset);
    btnSearch_ = button(gbBtn2_, list_.btnSearch);
    btnAutoOn_ = button(gbBtn2_, list_.btnAutoOn);
    btnAutoOff_ = button(gbBtn2_, list_.btnAutoOff);
    for (TToolBtnSig* b : {btnAutoOn_, btnAutoOff_}) b->setGroupIndex(1);
    btnAutoOn_->setDown(true);
    layout->addWidget(gbBtn2_);

    gbBtn_ = bar(list_.gbBtn);
    btnAdd_ = button(gbBtn_, list_.btnAdd);
    btnDelete_ = button(gbBtn_, list_.btnDelete);
    btnEdit_ = button(gbBtn_, list_.btnEdit);
    btnSold_ = button(gbBtn_, list_.btnSold);
    btnSend_ = button(gbBtn_, list_.btnSend);
    layout->addWidget(gbBtn_);

    gbDisplay_ = new QGroupBox(QStringLiteral("Stock"), page_);
    gbDisplay_->setObjectName(Latin(list_.gbDisplay));
    auto* display = new QVBoxLayout(gbDisplay_);
    display->setContentsMargins(2, 2, 2, 2);
    display->setSpacing(1);
    if (list_.warnLabel) {
        // Above the grid; its room is kept while it is hidden, so the grid never jumps.
        lbWarn_ = new QLabel(Latin(list_.warnCaption), gbDisplay_);
        lbWarn_->setObjectName(Latin(list_.warnLabel));
        lbWarn_->setAutoFillBackground(true);
        lbWarn_->setAlignment(Qt::AlignCenter);
        QSizePolicy policy = lbWarn_->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        lbWarn_->setSizePolicy(policy);
        lbWarn_->hide();
        display->addWidget(lbWarn_);
    }
    grid_ = new TStringGrid(gbDisplay_);
    grid_->setObjectName(Latin(list_.grid));
    grid_->setColCount(static_cast<int>(list_.columns.size()));
    grid_->setFixedRows(1);
    grid_->setFixedCols(0);
    grid_->setRowCount(2);
    grid_->setDefaultRowHeight(17);
    for (size_t c = 0; c < list_.columns.size(); ++c)
        grid_->setColWidths(static_cast<int>(c), list_.columns[c].designWidth);
    // A date or an age is never shown cut, whatever the font.
    if (list_.Column(MagicCol::Date) >= 0)
        grid_->setColMinText(list_.Column(MagicCol::Date), QStringLiteral("00/00/0000"));
    if (list_.Column(MagicCol::Age) >= 0) grid_->setColMinText(list_.Column(MagicCol::Age), QStringLiteral("00000"));
    grid_->setRowSelect(true);
    grid_->setVertLines(true);
    grid_->setHorzLines(true);
    grid_->setCellMargins(2, 2, 5);
    for (MagicCol role : {MagicCol::Age, MagicCol::Price})
        if (list_.Column(role) >= 0) grid_->setColumnAlignment(list_.Column(role), Qt::AlignRight);
    SetHeader();
    display->addWidget(grid_, 1);
    layout->addWidget(gbDisplay_, 1);

    lbDesc_ = new QLabel(Latin(list_.descDesign), page_);
    lbDesc_->setObjectName(Latin(list_.descLabel));
    lbDesc_->setFixedHeight(12);
    layout->addWidget(lbDesc_);
}

void TMagicPage::ConnectControls() {
    for (const MagicBox& desc : list_.boxes) {
        QComboBox* box = boxes_[desc.part];
        const MagicPart part = desc.part;
        connect(pickButtons_[part], &QAbstractButton::clicked, this, [this, part] { PickListClick(part); });
        if (part == MagicPart::Other)
            connect(box, &QComboBox::editTextChanged, this, [this] { OtherChange(); });
        else if (part == MagicPart::Magic && list_.hasSpecial)
            connect(box, &QComboBox::currentIndexChanged, this, [this] { MagicChange(); });
        else
            connect(box, &QComboBox::currentIndexChanged, this, [this] { DataChanged(); });
    }
    for (QCheckBox* check : {ckbNone_, ckbSilver_, ckbVirtue_})
        if (check) connect(check, &QCheckBox::clicked, this, [this] { DataChanged(); });

    connect(btnList_, &QAbstractButton::clicked, this, [this] { ListClick(); });
    connect(btnReset_, &QAbstractButton::clicked, this, [this] { ResetClick(); });
    connect(btnSearch_, &QAbstractButton::clicked, this, [this] { SearchClick(); });
    connect(btnAutoOn_, &QAbstractButton::clicked, this, [this] { AutoUpdateClick(true); });
    connect(btnAutoOff_, &QAbstractButton::clicked, this, [this] { AutoUpdateClick(false); });
    connect(btnAdd_, &QAbstractButton::clicked, this, [this] { AddClick(); });
    connect(btnDelete_, &QAbstractButton::clicked, this, [this] { DeleteClick(); });
    connect(btnEdit_, &QAbstractButton::clicked, this, [this] { EditClick(); });
    connect(btnSold_, &QAbstractButton::clicked, this, [this] { SoldClick(); });
    connect(btnSend_, &QAbstractButton::clicked, this, [this] { SendClick(); });

    connect(grid_, &TStringGrid::cellSelected, this, [this](int col, int row) { GridSelectCell(col, row); });
    connect(grid_, &TStringGrid::cellClicked, this, [this] { GridClick(); });
    connect(grid_, &TStringGrid::cellDoubleClicked, this, [this] { SendClick(); });
}

bool TMagicPage::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == page_ || watched == grid_) && event->type() == QEvent::Resize) PageResize();
    return QObject::eventFilter(watched, event);
}

void TMagicPage::Guard(const std::function<void()>& operation) { RunGuarded(host_, operation); }

void TMagicPage::Quietly(const std::function<void()>& fn) {
    ++quiet_;
    struct Release {
        int& quiet;
        ~Release() { --quiet; }
    } release{quiet_};
    fn();
}

// --- controls -----------------------------------------------------------------------

QComboBox* TMagicPage::Box(MagicPart part) const {
    const auto it = boxes_.find(part);
    return it == boxes_.end() ? nullptr : it->second;
}

QString TMagicPage::BoxText(MagicPart part) const {
    const QComboBox* box = Box(part);
    return box ? box->currentText() : QString();
}

void TMagicPage::SelectEntry(QComboBox* box, const QString& text) {
    if (!box) return;
    const QSignalBlocker block(box);
    const int index = text.isEmpty() ? -1 : box->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
    box->setCurrentIndex(index);
    if (box->isEditable()) box->setEditText(index < 0 ? text : box->itemText(index));
}

void TMagicPage::ClearBox(QComboBox* box) {
    if (!box) return;
    const QSignalBlocker block(box);
    box->setCurrentIndex(-1);
    if (box->isEditable()) box->setEditText(QString());
}

std::vector<TStringGrid*> TMagicPage::SizingGrids() { return {grid_}; }

void TMagicPage::SetHeader() {
    for (size_t c = 0; c < list_.columns.size(); ++c)
        grid_->setCells(static_cast<int>(c), 0, Latin(list_.columns[c].header));
}

// --- records and grid -----------------------------------------------------------------

std::string TMagicPage::FilePath() const { return host_.DataFilePath(list_.File(view_)); }

MagicCells TMagicPage::CellsOf(int row) const {
    MagicCells cells;
    for (size_t c = 0; c < list_.columns.size(); ++c)
        cells[list_.columns[c].role] = grid_->CellBytes(static_cast<int>(c), row);
    if (const std::string_view line = rowLines_.Get(row); !line.empty())
        cells.storedPrice = std::string(GetFieldView(list_.Field(MagicPart::Price, view_), ',', line));
    return cells;
}

void TMagicPage::SetRowCells(int row, const MagicCells& cells) {
    gridFill_.valid = false;
    for (size_t c = 0; c < list_.columns.size(); ++c)
        grid_->setCellBytes(static_cast<int>(c), row, cells[list_.columns[c].role]);
}

bool TMagicPage::IsDataRow(int row) const {
    const int item = list_.Column(MagicCol::Item);
    return row >= 1 && row < grid_->RowCount() && !IsBlank(grid_->CellBytes(item, row));
}

std::string TMagicPage::LineOf(int row) const {
    const std::string_view line = rowLines_.Get(row);
    return line.empty() ? RowToLine(row) : std::string(line);
}

MagicSearch TMagicPage::CurrentSearch() const {
    MagicSearch search;
    // The boxes' texts as Save would store them.
    search.item = CleanField(Bytes(BoxText(MagicPart::Item)));
    search.magic = CleanField(Bytes(BoxText(MagicPart::Magic)));
    search.accuracy = CleanField(Bytes(BoxText(MagicPart::Accuracy)));
    search.durability = CleanField(Bytes(BoxText(MagicPart::Durability)));
    if (list_.hasSpecial) {
        search.none = ckbNone_->isChecked();
        search.silver = ckbSilver_->isChecked();
        search.virtue = ckbVirtue_->isChecked();
    }
    return search;
}

bool TMagicPage::MatchesSearch(const std::string& line) const {
    MagicFields fields;
    SplitMagicLine(list_, view_, line, fields);
    return stallmark::MatchesSearch(list_, view_, CurrentSearch(), fields);
}

bool TMagicPage::ReadSnapshot(const std::string& path) {
    // The stamp is taken before the read: a change while reading shows at the next search.
    const FileStamp stamp = StampOf(path);
    if (snapshot_.current && stamp.exists && snapshot_.path == path && snapshot_.stamp == stamp) return false;
    TakeSnapshot(path, stamp, ReadBigFileBytes(path));
    return true;
}

void TMagicPage::TakeSnapshot(const std::string& path, const FileStamp& stamp, BigBytes bytes) {
    gridFill_.valid = false;
    DropSetAside();
    rowLines_.Reset(snapshot_.bytes, 0);  // rows point into the old bytes no more
    snapshot_.Hold(path, stamp, std::move(bytes));
}

void TMagicPage::FileSnapshot::Hold(const std::string& filePath, const FileStamp& fileStamp, BigBytes content) {
    lines = CountLineFeeds(content);
    if (!content.empty() && content.back() != '\n') ++lines;  // the last line without an end
    bytes = std::move(content);
    cut = false;
    cutSaid = false;
    lengths.clear();
    lineEnds.clear();
    fieldEnds.clear();
    days.clear();
    path = filePath;
    stamp = fileStamp;
    current = stamp.exists;
}

namespace {

// Where a fill puts its rows: the grid itself, or cells of its own (a fill ahead, on
// another thread). Both keep at least the header row and one more.
struct GridRows {
    TStringGrid& grid;
    void Clear() { grid.ClearCells(); }
    int RowCount() const { return grid.RowCount(); }
    void SetRowCount(int rows) { grid.setRowCount(rows); }
    void SetRowBytes(int row, std::span<const std::string_view> fields) { grid.setRowBytes(row, fields); }
};

struct StoreRows {
    CellStore& cells;
    void Clear() { cells.ClearAll(); }
    int RowCount() const { return cells.Rows(); }
    void SetRowCount(int rows) { cells.SetRows(std::max(rows, 2)); }
    void SetRowBytes(int row, std::span<const std::string_view> fields) {
        cells.SetRowBytes(row, fields.data(), static_cast<int>(fields.size()));
    }
};

}  // namespace

template <typename Rows>
TMagicPage::Filled TMagicPage::FillRows(const MagicListDesc& list, MagicView view, const MagicSearch& search,
                                        const Clock& clock, DateTime now, FileSnapshot& snap, RowLines& rowLines,
                                        Rows& target, const std::string& selectLine) {
    const bool wantSelect = !IsBlank(selectLine);
    Filled filled;
    int& rows = filled.rows;  // rows filled so far, the header included
    // Room for every line at once; the rows left over go at the end (also when the fill
    // stops early).
    target.Clear();
    target.SetRowCount(static_cast<int>(std::min<std::size_t>(snap.lines + 1, INT_MAX - 1)));
    struct Trim {
        Rows& target;
        const int& rows;
        ~Trim() { target.SetRowCount(std::max(rows, 2)); }
    } trim{target, rows};
    rowLines.Reset(snap.bytes, snap.lines + 1);

    // The lines as the line reader gives them: ends at LF, a CR before it dropped; each
    // cut into the fields a fill looks at. The first fill after a read does the cutting
    // and keeps where the pieces are; the fills after it take them from there.
    constexpr std::uint16_t kNoField = 0xFFFF;
    const std::string_view bytes(snap.bytes);
    const std::size_t per = static_cast<std::size_t>(list.Commas(view)) + 1;
    const bool cut = snap.cut && snap.fieldsPerLine == per;
    bool keep = !cut;  // while every line fits the pieces' sizes
    if (keep) {
        snap.fieldsPerLine = per;
        snap.lengths.assign(snap.lines, 0);
        snap.lineEnds.assign(snap.lines, 0);
        snap.fieldEnds.assign(snap.lines * per, kNoField);
        snap.days.assign(snap.lines, kDateUnread);
    }
    std::int32_t* const days = snap.days.size() == snap.lines ? snap.days.data() : nullptr;
    MagicFields fields;
    MagicRowViews row;
    const bool restricts = SearchRestricts(list, search);
    std::vector<std::string_view> columns(list.columns.size());
    std::vector<std::size_t> commaAt(per);
    std::size_t index = 0;  // of the line
    for (std::size_t begin = 0; begin < bytes.size(); ++index) {
        std::string_view line, stored;
        if (cut) {
            const std::size_t length = snap.lengths[index];
            line = stored = std::string_view(bytes.data() + begin, length);
            begin += length + snap.lineEnds[index];
            if (fields.size() != per) fields.resize(per);
            std::string_view* const out = fields.data();
            const std::uint16_t* ends = &snap.fieldEnds[index * per];
            std::size_t start = 0, f = 0;
            for (; f < per && ends[f] != kNoField; ++f) {
                out[f] = std::string_view(line.data() + start, ends[f] - start);
                start = static_cast<std::size_t>(ends[f]) + 1;
            }
            for (; f < per; ++f) out[f] = std::string_view();
        } else {
            // One pass finds the line's end and the commas of the fields looked at.
            std::size_t commas = 0;
            const std::size_t eol = ScanLine(bytes, begin, per, commaAt.data(), commas);
            std::size_t end = eol == std::string_view::npos ? bytes.size() : eol;
            const std::size_t next = eol == std::string_view::npos ? bytes.size() : eol + 1;
            if (eol != std::string_view::npos && end > begin && bytes[end - 1] == '\r') --end;
            stored = bytes.substr(begin, end - begin);
            // A line longer than kMaxLineBytes is shown cut; the row still stands for
            // the whole line, so Delete, Edit and Sold find it in the file.
            if (end - begin > kMaxLineBytes) {
                end = begin + kMaxLineBytes;
                if (filled.cutLines++ == 0) filled.firstCut = index + 1;
            }
            line = bytes.substr(begin, end - begin);
            // The fields a fill looks at, each up to the next comma of the line shown
            // (those after them are never looked at); missing ones empty.
            while (commas > 0 && commaAt[commas - 1] >= end) --commas;
            if (fields.size() != per) fields.resize(per);
            std::string_view* const out = fields.data();
            const std::size_t found = std::min(commas + 1, per);
            for (std::size_t f = 0, start = begin; f < found; ++f) {
                const std::size_t stop = f < commas ? commaAt[f] : end;
                out[f] = bytes.substr(start, stop - start);
                start = stop + 1;
            }
            for (std::size_t f = found; f < per; ++f) out[f] = std::string_view();
            if (keep && line.size() < kNoField && index < snap.lines) {
                snap.lengths[index] = static_cast<std::uint32_t>(line.size());
                snap.lineEnds[index] = static_cast<std::uint8_t>(next - end);
                std::uint16_t* const ends = &snap.fieldEnds[index * per];
                for (std::size_t f = 0; f < found; ++f)
                    ends[f] = static_cast<std::uint16_t>(out[f].data() - line.data() + out[f].size());
            } else {
                keep = false;
            }
            begin = next;
        }
        if (restricts && !stallmark::MatchesSearch(list, view, search, fields)) continue;
        if (!LineToViews(list, view, fields, clock, now, row, days ? days + index : nullptr)) continue;
        if (rows >= target.RowCount()) target.SetRowCount(rows + 1);
        for (size_t c = 0; c < columns.size(); ++c) columns[c] = row[list.columns[c].role];
        target.SetRowBytes(rows, columns);
        rowLines.SetInBytes(rows, static_cast<std::size_t>(stored.data() - bytes.data()), stored.size());
        if (wantSelect && filled.selected == 0 && stored == selectLine) filled.selected = rows;
        ++rows;
    }
    if (keep) snap.cut = true;
    return filled;
}

std::unique_ptr<Preload<TMagicPage::FileAhead>> TMagicPage::StartPreload(const MagicListDesc& list,
                                                                         const std::string& path, const Clock& clock) {
    return std::make_unique<Preload<FileAhead>>([&list, path, &clock] {
        FileAhead ahead;
        ahead.path = path;
        FileSnapshot& snap = ahead.snap;
        const FileStamp stamp = StampOf(path);
        if (!stamp.exists) return ahead;
        snap.Hold(path, stamp, ReadBigFileBytes(path));
        // The fill a page starts with: the stock view through no search.
        const DateTime now = clock.Now();
        const MagicSearch search;
        ahead.cells.Resize(static_cast<int>(list.columns.size()), 2);
        StoreRows target{ahead.cells};
        ahead.filled = FillRows(list, MagicView::Stock, search, clock, now, snap, ahead.rows, target, {});
        ahead.fill = GridFill{true, MagicView::Stock, search, std::floor(now), std::ceil(now)};
        return ahead;
    });
}

bool TMagicPage::TakeFillAhead(const std::string& path) {
    std::optional<FileAhead> ahead = preload_->Take();
    preload_.reset();
    const FileStamp stamp = StampOf(path);
    if (!ahead || !stamp.exists || ahead->path != path || !(ahead->snap.stamp == stamp)) return false;
    const DateTime now = host_.HostClock().Now();
    const GridFill want{true, view_, CurrentSearch(), std::floor(now), std::ceil(now)};
    if (!ahead->fill.valid || !(ahead->fill == want) || ahead->cells.Cols() != grid_->ColCount()) {
        // Another view, search or day: the bytes are still the file's.
        TakeSnapshot(path, stamp, std::move(ahead->snap.bytes));
        return false;
    }
    {
        grid_->BeginUpdate();
        DropSetAside();
        snapshot_ = std::move(ahead->snap);
        rowLines_ = std::move(ahead->rows);
        rowLines_.Point(snapshot_.bytes);
        grid_->SwapCells(ahead->cells);
        grid_->setRowCount(std::max(ahead->filled.rows, 2));
        SetHeader();
        gridFill_ = want;
        grid_->EndUpdate();
    }
    filledAhead_ = true;
    ShowFilled(path, ahead->filled);
    return true;
}

int TMagicPage::RefreshGrid(const std::string& selectLine) {
    const std::string path = FilePath();
    if (!FileExists(path)) CreateEmptyFile(path);
    if (preload_ && IsBlank(selectLine) && TakeFillAhead(path)) return 0;
    ReadSnapshot(path);
    const MagicSearch search = CurrentSearch();
    const Clock& clock = host_.HostClock();
    const DateTime now = clock.Now();
    const double dayFloor = std::floor(now), dayCeil = std::ceil(now);
    const GridFill want{true, view_, search, dayFloor, dayCeil};
    // The same lines through the same search on the same day: the rows as they are, or
    // the whole list as it was put aside.
    if (IsBlank(selectLine) && (gridFill_ == want || ShowSetAside(want))) {
        ShowDescription(grid_->Row());
        PageResize();
        return 0;
    }

    Filled filled;
    filledAhead_ = false;
    {
        grid_->BeginUpdate();
        SetAsideWholeList(search);
        gridFill_.valid = false;
        struct EndUpdate {
            TMagicPage* page;
            ~EndUpdate() {
                page->SetHeader();
                page->grid_->EndUpdate();
            }
        } end{this};
        GridRows target{*grid_};
        filled = FillRows(list_, view_, search, clock, now, snapshot_, rowLines_, target, selectLine);
        gridFill_ = want;
    }
    ShowFilled(path, filled);
    return filled.selected;
}

void TMagicPage::ShowFilled(const std::string& path, const Filled& filled) {
    if (filled.cutLines > 0 && !snapshot_.cutSaid) {
        snapshot_.cutSaid = true;
        host_.HostDialogs().ShowMessageBox(
            FromBytes(CutLinesMessage(FileNameOf(path), filled.firstCut, filled.cutLines)), MsgKind::Warning, mbOK);
    }
    if (filled.selected > 0) grid_->setRow(filled.selected);
    ShowDescription(grid_->Row());
    PageResize();
}

bool TMagicPage::SnapshotHolds(const std::string& path) const {
    if (!snapshot_.current || snapshot_.path != path) return false;
    const FileStamp stamp = StampOf(path);
    return stamp.exists && stamp == snapshot_.stamp;
}

void TMagicPage::AddLineToFile(const std::string& path, const std::string& line) {
    if (!SnapshotHolds(path)) {
        if (!FileExists(path)) {
            FileWritten();
            WriteRecordLine(path, line, false);
            return;
        }
        // Read once, here: the bytes the line goes into are also what the search after
        // the save shows (the stamp is taken before the read, as a search takes it).
        const FileStamp stamp = StampOf(path);
        TakeSnapshot(path, stamp, ReadBigFileBytes(path));
    }
    FileWritten();
    RecordLineWritten written = WriteRecordLineOver(path, snapshot_.bytes, line, false);
    // The snapshot is kept up to date only for the usual file (every line ended with CR
    // LF, so only the line added is new) and a line that fits a fill's pieces; any other
    // is read again by the next fill.
    if (!written.crLf || line.find_first_of("\r\n") != std::string::npos || line.size() >= kMaxLineBytes) return;
    FileSnapshot& snap = snapshot_;
    if (written.changed) {
        const std::size_t at = written.index;
        if (at > snap.lines) return;
        if (snap.cut) {
            // The new line cut into the fill's pieces, as a first fill would cut it.
            constexpr std::uint16_t kNoField = 0xFFFF;
            const std::size_t per = snap.fieldsPerLine;
            if (line.size() >= kNoField || snap.lengths.size() != snap.lines || snap.days.size() != snap.lines ||
                snap.fieldEnds.size() != snap.lines * per) {
                snap.cut = false;
            } else {
                std::vector<std::uint16_t> ends(per, kNoField);
                std::size_t found = 0;
                for (std::size_t start = 0; found < per;) {
                    const std::size_t comma = line.find(',', start);
                    ends[found++] = static_cast<std::uint16_t>(comma == std::string::npos ? line.size() : comma);
                    if (comma == std::string::npos) break;
                    start = comma + 1;
                }
                const auto where = static_cast<std::ptrdiff_t>(at);
                snap.lengths.insert(snap.lengths.begin() + where, static_cast<std::uint32_t>(line.size()));
                snap.lineEnds.insert(snap.lineEnds.begin() + where, std::uint8_t{2});
                snap.fieldEnds.insert(snap.fieldEnds.begin() + where * static_cast<std::ptrdiff_t>(per), ends.begin(),
                                      ends.end());
                snap.days.insert(snap.days.begin() + where, kDateUnread);
            }
        }
        ++snap.lines;
    }
    rowLines_.Reset(snap.bytes, 0);  // rows point into the old bytes no more
    snap.bytes = std::move(written.content);
    snap.stamp = StampOf(path);
    snap.current = snap.stamp.exists && snap.stamp.size == snap.bytes.size();
}

void TMagicPage::DropSetAside() {
    setAside_.valid = false;
    CellStore none;
    setAside_.cells.Swap(none);
    setAside_.rows = RowLines();
}

void TMagicPage::SetAsideWholeList(const MagicSearch& search) {
    if (!SearchRestricts(list_, search)) {
        // The whole list filled anew (another day): the rows put aside are of no more use.
        if (setAside_.valid) DropSetAside();
        return;
    }
    if (!gridFill_.valid || SearchRestricts(list_, gridFill_.search)) return;
    grid_->SwapCells(setAside_.cells);
    std::swap(rowLines_, setAside_.rows);
    setAside_.fill = gridFill_;
    setAside_.valid = true;
    gridFill_.valid = false;
}

bool TMagicPage::ShowSetAside(const GridFill& fill) {
    if (!setAside_.valid || !(setAside_.fill == fill)) return false;
    grid_->BeginUpdate();
    grid_->SwapCells(setAside_.cells);
    std::swap(rowLines_, setAside_.rows);
    gridFill_ = setAside_.fill;
    setAside_.valid = false;  // its room holds the search's rows, to be filled again
    grid_->EndUpdate();
    return true;
}

bool TMagicPage::LineToRow(const std::string& line, int r) {
    MagicCells cells;
    if (r < 1 || !stallmark::LineToCells(list_, view_, line, host_.HostClock(), cells)) return false;
    if (grid_->RowCount() <= r) grid_->setRowCount(r + 1);
    SetRowCells(r, cells);
    rowLines_.Set(r, line);
    return true;
}

std::string TMagicPage::RowToLine(int r) const {
    return CellsToLine(list_, view_ == MagicView::Stock ? MagicLineFor::Stock : MagicLineFor::Prices, CellsOf(r),
                       host_.HostClock());
}

std::string TMagicPage::RowText(int r, bool forHint) const {
    if (r == 0) r = grid_->Row();
    if (r < 1 || r >= grid_->RowCount()) return {};
    const MagicCells cells = CellsOf(r);
    if (forHint) return DescribeCells(list_, cells, false, true, true);
    const SendRowOptions& options = host_.OptionValues().SendRow(list_.sendRow);
    return DescribeCells(list_, cells, options.value, options.description, false);
}

void TMagicPage::ShowDescription(int row) { lbDesc_->setText(FromBytes("  " + RowText(row, true))); }

void TMagicPage::SetView(MagicView view) {
    view_ = view;
    ShowView();
}

void TMagicPage::ShowView() {
    const bool stock = view_ == MagicView::Stock;
    const QString caption = stock ? QStringLiteral("Stock") : QStringLiteral("Prices");
    btnList_->setText(caption);
    gbDisplay_->setTitle(caption);
    ApplyDisplay(stock ? stockDisplay_ : priceDisplay_);
    btnSold_->setEnabled(stock);
    btnAdd_->setEnabled(stock);
    RefreshGrid({});
}

void TMagicPage::ApplyDisplay(const ListDisplay& display) {
    grid_->setTextColor(display.Text());
    grid_->setBackgroundColor(display.Back());
    grid_->setFont(display.Font());
    QPalette palette = btnList_->palette();
    palette.setColor(QPalette::ButtonText, display.Text());
    btnList_->setPalette(palette);
    ApplyLabelFont(*lbDesc_, display);
    PageResize();
}

void TMagicPage::ApplyListDisplay(int number, const ListDisplay& display) {
    if (number == list_.stockList) stockDisplay_ = display;
    if (number == list_.priceList) priceDisplay_ = display;
    if (number == list_.DisplayList(view_)) ApplyDisplay(display);
}

void TMagicPage::ListClick() {
    Guard([this] { SetView(view_ == MagicView::Stock ? MagicView::Prices : MagicView::Stock); });
}

void TMagicPage::ShowList() {
    for (const MagicBox& desc : list_.boxes) {
        const std::string path = host_.DataFilePath(desc.pickFile);
        if (desc.magicList)
            LoadMagicPickList(*boxes_[desc.part], path);
        else
            LoadPickList(*boxes_[desc.part], path);
    }
    SetView(MagicView::Stock);
}

// --- search ---------------------------------------------------------------------------

bool TMagicPage::AutoUpdate() const { return autoUpdate_; }

void TMagicPage::SetAutoUpdate(bool on) {
    autoUpdate_ = on;
    (on ? btnAutoOn_ : btnAutoOff_)->setDown(true);
}

void TMagicPage::DataChanged() {
    if (quiet_ > 0 || !host_.State().Ready) return;
    Quietly([this] {
        for (auto& [part, box] : boxes_)
            if (box->currentText() == QLatin1String(kNoneEntry)) ClearBox(box);
    });
    if (AutoUpdate()) Guard([this] { RefreshGrid({}); });
}

void TMagicPage::MagicChange() {
    if (quiet_ > 0) return;
    QComboBox* box = Box(MagicPart::Magic);
    if (const std::optional<TComboObj> obj = box ? ComboObjAt(*box, box->currentIndex()) : std::nullopt) {
        Quietly([&] {
            ckbSilver_->setChecked(obj->code == 2);
            ckbVirtue_->setChecked(obj->code == 1);
        });
    }
    DataChanged();
}

void TMagicPage::OtherChange() { DataChanged(); }

void TMagicPage::SearchClick() {
    Guard([this] { RefreshGrid({}); });
}

void TMagicPage::ResetClick() {
    Quietly([this] {
        for (auto& [part, box] : boxes_) ClearBox(box);
        if (list_.hasSpecial) {
            ckbSilver_->setChecked(false);
            ckbVirtue_->setChecked(false);
        }
        edPrice_->clear();
    });
    Guard([this] { RefreshGrid({}); });
}

void TMagicPage::AutoUpdateClick(bool on) {
    const bool was = AutoUpdate();
    SetAutoUpdate(on);
    // Switched on: the grid catches up with the boxes at once.
    if (on && !was) Guard([this] { RefreshGrid({}); });
}

void TMagicPage::PickListClick(MagicPart part) {
    const MagicBox* desc = list_.Box(part);
    QComboBox* box = Box(part);
    if (!desc || !box) return;
    const QString before = box->currentText();
    Guard([&] {
        const std::string path = host_.DataFilePath(desc->pickFile);
        if (desc->magicList) {
            TEditGridForm editor(host_.HostSettings(), host_.HostWindow());
            ApplyPanelButtonOptions(editor.ButtonPanel(), host_.OptionValues().buttons);
            editor.SetEntries(ReadMagicPickList(path));
            if (host_.HostDialogs().RunModal(editor) != QDialog::Accepted) return;
            WriteMagicPickList(path, editor.Entries());
            LoadMagicPickList(*box, path);
        } else {
            const ButtonOptions buttons = host_.OptionValues().buttons;
            EditPickList(*box, path, desc->keepTrailing, host_.HostDialogs(), host_.HostWindow(),
                         [&](QWidget* panel) { ApplyPanelButtonOptions(panel, buttons); });
        }
    });
    // A chosen entry that is gone no longer restricts the search.
    if (box->currentText() != before) DataChanged();
}

// --- item operations --------------------------------------------------------------------

void TMagicPage::AddClick() {
    if (view_ != MagicView::Stock) return;
    Dialogs& dialogs = host_.HostDialogs();
    if (IsBlank(Bytes(BoxText(MagicPart::Item)))) {
        dialogs.ShowMessageBox(Latin(list_.noItemText), MsgKind::Warning, mbOK);
        return;
    }
    const std::string priceText = Bytes(edPrice_->text());
    if (ToInt64OrZero(priceText) <= 0 &&
        dialogs.ShowMessageBox(u"Value missing or incorrect\n\rare you sure you want to continue ?"_s,
                               MsgKind::Confirmation, mbYes | mbNo) != mbYes)
        return;

    MagicCells cells;
    cells[MagicCol::Item] = Bytes(BoxText(MagicPart::Item));
    cells[MagicCol::Magic] = Bytes(BoxText(MagicPart::Magic));
    cells[MagicCol::Accuracy] = Bytes(BoxText(MagicPart::Accuracy));
    cells[MagicCol::Durability] = Bytes(BoxText(MagicPart::Durability));
    cells[MagicCol::Other] = Bytes(BoxText(MagicPart::Other));
    cells[MagicCol::Price] = priceText;
    cells[MagicCol::Date] = FormatShownDate(host_.HostClock().Now());
    if (list_.hasSpecial) {
        const int checked = int(ckbSilver_->isChecked()) + int(ckbVirtue_->isChecked()) + int(ckbNone_->isChecked());
        int code = 0;
        if (checked < 2)
            code = ckbSilver_->isChecked() ? 2 : ckbVirtue_->isChecked() ? 1 : 0;
        else
            warnFlashTicks_ = kWarnFlashes;
        cells[MagicCol::Special] = SpecialText(code);
    }
    const std::string line = CellsToLine(list_, MagicLineFor::Stock, cells, host_.HostClock());
    Guard([&] {
        AddLineToFile(FilePath(), line);
        RefreshGrid(line);
    });
}

void TMagicPage::DeleteClick() {
    const int row = grid_->Row();
    if (!IsDataRow(row)) return;
    const QString item = grid_->Cells(list_.Column(MagicCol::Item), row);
    if (host_.HostDialogs().ShowMessageBox(u"Delete "_s + item + u" ?"_s, MsgKind::Confirmation, mbYes | mbNo) != mbYes)
        return;
    Guard([&] {
        FileWritten();
        WriteRecordLine(FilePath(), LineOf(row), true);
        RefreshGrid({});
    });
}

void TMagicPage::EditClick() {
    const int row = grid_->Row();
    if (!IsDataRow(row)) return;
    Guard([&] {
        const std::string oldLine = LineOf(row);
        MagicCells cells = CellsOf(row);
        const std::string price = Bytes(edPrice_->text());
        if (!IsBlank(price)) {
            cells[MagicCol::Price] = DigitsToAmount64(price, false);
            cells.storedPrice.reset();
        }
        for (MagicPart part : {MagicPart::Other, MagicPart::Durability, MagicPart::Accuracy, MagicPart::Magic}) {
            if (!Box(part)) continue;
            const std::string text = Bytes(BoxText(part));
            if (IsBlank(text)) continue;
            const MagicCol role = part == MagicPart::Other        ? MagicCol::Other
                                  : part == MagicPart::Durability ? MagicCol::Durability
                                  : part == MagicPart::Accuracy   ? MagicCol::Accuracy
                                                                  : MagicCol::Magic;
            cells[role] = CleanField(text);
        }
        if (list_.hasSpecial) {
            if (ckbSilver_->isChecked() && !ckbVirtue_->isChecked()) cells[MagicCol::Special] = "Silver";
            if (ckbVirtue_->isChecked() && !ckbSilver_->isChecked()) cells[MagicCol::Special] = "Virtue";
        }
        const std::string newLine = CellsToLine(
            list_, view_ == MagicView::Stock ? MagicLineFor::Stock : MagicLineFor::Prices, cells, host_.HostClock());
        // The new line goes in before the old one comes out, so a failure loses nothing.
        FileWritten();
        WriteRecordLine(FilePath(), newLine, false);
        WriteRecordLine(FilePath(), oldLine, true);
        SetRowCells(row, cells);
        rowLines_.Set(row, newLine);
        ShowDescription(row);
    });
}

void TMagicPage::SoldClick() {
    if (view_ != MagicView::Stock) return;
    const int row = grid_->Row();
    if (!IsDataRow(row)) return;
    Guard([&] {
        const std::string priceLine = CellsToLine(list_, MagicLineFor::Sale, CellsOf(row), host_.HostClock());
        FileWritten();
        WriteRecordLine(host_.DataFilePath(list_.priceFile), priceLine, false);
        WriteRecordLine(host_.DataFilePath(list_.stockFile), LineOf(row), true);
        RefreshGrid({});
        grid_->setRow(std::min(row, grid_->RowCount() - 1));
        ShowDescription(grid_->Row());
    });
}

void TMagicPage::SendClick() {
    const int row = grid_->Row();
    if (!IsDataRow(row)) return;
    Guard([&] {
        const OptionsSnapshot& options = host_.OptionValues();
        host_.Keyboard().SendToGame(RowText(row, false), options.SendRow(list_.sendRow).enter, options.backSpc);
    });
}

void TMagicPage::SendToDetailClick() {
    const int row = grid_->Row();
    if (!IsDataRow(row)) return;
    const MagicCells cells = CellsOf(row);
    Quietly([&] {
        const std::pair<MagicPart, MagicCol> picks[] = {{MagicPart::Item, MagicCol::Item},
                                                        {MagicPart::Magic, MagicCol::Magic},
                                                        {MagicPart::Accuracy, MagicCol::Accuracy},
                                                        {MagicPart::Durability, MagicCol::Durability}};
        for (const auto& [part, role] : picks) {
            QComboBox* box = Box(part);
            if (!box) continue;
            const QSignalBlocker block(box);
            box->setCurrentIndex(box->findText(FromBytes(cells[role]), Qt::MatchExactly | Qt::MatchCaseSensitive));
        }
        if (list_.hasSpecial) {
            ckbSilver_->setChecked(cells[MagicCol::Special] == "Silver");
            ckbVirtue_->setChecked(cells[MagicCol::Special] == "Virtue");
            ckbNone_->setChecked(false);
        }
        edPrice_->setText(FromBytes(cells[MagicCol::Price]));
        SelectEntry(Box(MagicPart::Other), FromBytes(cells[MagicCol::Other]));
    });
}

// --- grid, page and menu ------------------------------------------------------------------

void TMagicPage::GridSelectCell(int, int row) { ShowDescription(row); }

void TMagicPage::GridClick() {
    const QString hint = FromBytes(RowText(0, true));
    grid_->setHint(hint);
    grid_->setShowHint(!IsBlank(Bytes(hint)));
}

void TMagicPage::PageResize() {
    // The Price column takes the width the other columns leave.
    const int price = list_.Column(MagicCol::Price);
    if (price < 0) return;
    int others = 1;
    for (int c = 0; c < grid_->ColCount(); ++c)
        if (c != price && grid_->ColWidths(c) > 0) others += grid_->ColWidths(c) + 1;
    const int width = grid_->ClientWidth() - others;
    if (width != grid_->ColWidths(price)) grid_->setColWidths(price, std::max(kMinPriceColumn, width));
}

void TMagicPage::ReorderFiles() {
    Guard([this] {
        FileWritten();
        const std::string stockPath = host_.DataFilePath(list_.stockFile);
        const std::string pricePath = host_.DataFilePath(list_.priceFile);
        SortedFiles sorted = SortRecordFilesAt(stockPath, pricePath);
        // The view's file as just written is what the next search shows.
        const bool stock = view_ == MagicView::Stock;
        const std::string& path = stock ? stockPath : pricePath;
        const FileStamp stamp = StampOf(path);
        BigBytes& content = stock ? sorted.first : sorted.second;
        if (path == FilePath() && stamp.exists && stamp.size == content.size())
            TakeSnapshot(path, stamp, std::move(content));
    });
    DataChanged();
}

int TMagicPage::ColumnOf(HideColumn column) const {
    switch (column) {
        case HideColumn::Date: return list_.Column(MagicCol::Date);
        case HideColumn::Age: return list_.Column(MagicCol::Age);
        case HideColumn::Other: return list_.Column(MagicCol::Other);
    }
    return -1;
}

bool TMagicPage::ColumnHidden(HideColumn column) const {
    switch (column) {
        case HideColumn::Date: return hideDate_;
        case HideColumn::Age: return hideAge_;
        case HideColumn::Other: return hideOther_;
    }
    return false;
}

void TMagicPage::HideGridColumn(HideColumn column, bool hide) {
    bool& flag = column == HideColumn::Date ? hideDate_ : column == HideColumn::Age ? hideAge_ : hideOther_;
    flag = hide;
    const int col = ColumnOf(column);
    if (col < 0) return;
    if (hide)
        grid_->setColWidths(col, -1);
    else if (grid_->ColWidths(col) < 4)
        grid_->setColWidths(col, 40);
    PageResize();
}

void TMagicPage::TimerTick() {
    if (!lbWarn_ || warnFlashTicks_ <= 0) return;
    lbWarn_->show();
    QPalette palette = lbWarn_->palette();
    palette.setColor(QPalette::WindowText,
                     warnFlashTicks_ % 2 == 1 ? ColourFromValue(kClWindowText) : QColor(255, 0, 0));
    lbWarn_->setPalette(palette);
    if (--warnFlashTicks_ == 0) lbWarn_->hide();
}

// --- settings ------------------------------------------------------------------------------

void TMagicPage::LoadSettings(SettingsStore& settings) {
    SetAutoUpdate(ReadValue(settings, list_.autoUpdate, AutoUpdate()));
    ReadGridRowHeight(settings, list_.rowHeight, *grid_, 1);
    // -1 marks a hidden column; 0 to 3 would leave a column no one can find again.
    ReadGridColWidths(settings, list_.colWidths, *grid_,
                      [](int, int width) { return width >= 0 && width <= 3 ? 40 : width; });
    const auto hidden = [&](MagicCol role) {
        return list_.Column(role) >= 0 && grid_->ColWidths(list_.Column(role)) < 0;
    };
    hideDate_ = hidden(MagicCol::Date);
    hideAge_ = hidden(MagicCol::Age);
    hideOther_ = hidden(MagicCol::Other);
}

void TMagicPage::SaveSettings(SettingsStore& settings) {
    WriteValue(settings, list_.rowHeight, grid_->DefaultRowHeight());
    for (int c = 0; c < grid_->ColCount(); ++c)
        if (grid_->ColWidths(c) >= 0 && grid_->ColWidths(c) <= 3) grid_->setColWidths(c, 40);
    WriteGridColWidths(settings, list_.colWidths, *grid_);
    WriteValue(settings, list_.autoUpdate, AutoUpdate());
}

PopupState TMagicPage::Popup(const QWidget*) const {
    PopupState s;
    s.sendToDetail = true;
    s.gridResize = true;
    s.gridResizeChecked = GridSizing();
    s.list1 = list_.stockList;
    s.list2 = list_.priceList;
    s.list1Caption = QStringLiteral("Stock List Options");
    s.list2Caption = QStringLiteral("Price List Options");
    s.hideColumns = true;
    s.hideDate = hideDate_;
    s.hideAge = hideAge_;
    s.hideOther = hideOther_;
    s.reorder = list_.reorder;
    return s;
}

}  // namespace stallmark
