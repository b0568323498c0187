#include "controls/StringGrid.h"

#include <QAbstractItemDelegate>
#include <QAbstractTableModel>
#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QToolTip>
#include <algorithm>

namespace stallmark {

// --- the model: a window onto the grid's CellStore ---------------------------
// rows_ / cols_ are the counts the view has been told about; the store may
// run ahead of them until the grid flushes its pending changes.
class GridModel final : public QAbstractTableModel {
public:
    explicit GridModel(TStringGrid* grid) : QAbstractTableModel(grid), grid_(grid) {}

    int rowCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = QModelIndex()) const override { return parent.isValid() ? 0 : cols_; }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::EditRole)) return QVariant();
        return grid_->Cells(index.column() + grid_->fixedCols_, index.row() + grid_->fixedRows_);
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole) return QVariant();
        if (orientation == Qt::Horizontal)
            return grid_->fixedRows_ > 0 ? grid_->Cells(section + grid_->fixedCols_, 0) : QString();
        return grid_->fixedCols_ > 0 ? grid_->Cells(0, section + grid_->fixedRows_) : QString();
    }

    Qt::ItemFlags flags(const QModelIndex& index) const override {
        if (!index.isValid()) return Qt::NoItemFlags;
        Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
        if (grid_->EffectiveEditing()) f |= Qt::ItemIsEditable;
        return f;
    }

    bool setData(const QModelIndex& index, const QVariant& value, int role) override {
        if (!index.isValid() || role != Qt::EditRole) return false;
        grid_->setCells(index.column() + grid_->fixedCols_, index.row() + grid_->fixedRows_, value.toString());
        return true;
    }

    void Reset(int rows, int cols) {
        beginResetModel();
        rows_ = rows;
        cols_ = cols;
        endResetModel();
    }
    void SetRows(int rows) {
        if (rows > rows_) {
            beginInsertRows(QModelIndex(), rows_, rows - 1);
            rows_ = rows;
            endInsertRows();
        } else if (rows < rows_) {
            beginRemoveRows(QModelIndex(), rows, rows_ - 1);
            rows_ = rows;
            endRemoveRows();
        }
    }
    // The row headers show the fixed column's text; without one they never change (and a
    // header told of a change looks at every section it names).
    bool RowHeadersShowText() const { return grid_->fixedCols_ > 0; }
    void AllChanged() {
        if (rows_ > 0 && cols_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, cols_ - 1));
        if (cols_ > 0) emit headerDataChanged(Qt::Horizontal, 0, cols_ - 1);
        if (rows_ > 0 && RowHeadersShowText()) emit headerDataChanged(Qt::Vertical, 0, rows_ - 1);
    }
    void CellChanged(int row, int col) {
        const QModelIndex i = index(row, col);
        emit dataChanged(i, i);
    }
    void HeaderChanged(Qt::Orientation o, int section) { emit headerDataChanged(o, section, section); }
    void RowsChanged(int first, int last) {
        if (cols_ > 0 && first <= last) emit dataChanged(index(first, 0), index(last, cols_ - 1));
        if (first <= last && RowHeadersShowText()) emit headerDataChanged(Qt::Vertical, first, last);
    }

    int rows_ = 0;
    int cols_ = 0;

private:
    TStringGrid* grid_;
};

// --- the cell editor ---------------------------------------------------------
// One editor per grid, made once and kept: it is shown over the current cell
// while the grid edits, and moves with the current cell. Everything that
// reaches its text (typed keys, input-method text, pasted text) passes the
// grid's key filter for the cell it shows.
class GridCellEdit final : public QLineEdit {
public:
    GridCellEdit(TStringGrid* grid, QWidget* parent) : QLineEdit(parent), grid_(grid) {
        setFrame(false);
        setObjectName(QStringLiteral("GridCellEdit"));
        // A right click belongs to the window's popup menu, as anywhere else;
        // nothing is dropped into a cell.
        setContextMenuPolicy(Qt::NoContextMenu);
        setAcceptDrops(false);
        setDragEnabled(false);
        hide();
        connect(this, &QLineEdit::textEdited, this, [this](const QString& text) { grid_->EditorTextEdited(text); });
    }
    int Col() const { return col_; }
    int Row() const { return row_; }
    void Bind(int col, int row) {
        col_ = col;
        row_ = row;
    }

    // Inserts text as if typed, character by character through the filter.
    void InsertFiltered(const QString& text) {
        QString accepted;
        for (QChar ch : text) {
            if (grid_->FilterKeyAt(col_, row_, ch)) {
                // The filter may look at the cell: it sees what is there so far.
                insert(QString(ch));
                grid_->EditorTextEdited(this->text());
            }
        }
    }

protected:
    bool event(QEvent* event) override {
        // Tab and Shift+Tab belong to the grid (next and previous cell), never
        // to the focus chain of the window.
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
                !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
                grid_->EditorTab(key->key() == Qt::Key_Tab && !(key->modifiers() & Qt::ShiftModifier));
                return true;
            }
        }
        return QLineEdit::event(event);
    }

    void keyPressEvent(QKeyEvent* event) override {
        switch (event->key()) {
            case Qt::Key_Up:
            case Qt::Key_Down:
            case Qt::Key_PageUp:
            case Qt::Key_PageDown:
                grid_->EditorMove(event);  // the grid moves the current cell, and the editor with it
                return;
            case Qt::Key_Left:
                if (!hasSelectedText() && cursorPosition() == 0 && event->modifiers() == Qt::NoModifier) {
                    grid_->EditorMove(event);
                    return;
                }
                break;
            case Qt::Key_Right:
                if (!hasSelectedText() && cursorPosition() == text().size() && event->modifiers() == Qt::NoModifier) {
                    grid_->EditorMove(event);
                    return;
                }
                break;
            case Qt::Key_Return:
            case Qt::Key_Enter:
                if (!grid_->keyFiltered_ && !event->text().isEmpty()) {
                    QChar ch = event->text().at(0);
                    if (!grid_->FilterKeyAt(col_, row_, ch)) return;
                }
                selectAll();
                return;
            case Qt::Key_Escape: grid_->EditorRevert(); return;
            default: break;
        }
        if (event->matches(QKeySequence::Paste)) {
            if (!isReadOnly()) InsertFiltered(QGuiApplication::clipboard()->text());
            return;
        }
        const QString text = event->text();
        if (!grid_->keyFiltered_ && text.size() == 1) {
            QChar ch = text.at(0);
            if (!grid_->FilterKeyAt(col_, row_, ch)) {
                event->accept();
                return;
            }
            if (ch != text.at(0)) {
                QKeyEvent changed(event->type(), event->key(), event->modifiers(), QString(ch));
                QLineEdit::keyPressEvent(&changed);
                return;
            }
        }
        QLineEdit::keyPressEvent(event);
    }

    void inputMethodEvent(QInputMethodEvent* event) override {
        const QString commit = event->commitString();
        if (commit.isEmpty()) {
            QLineEdit::inputMethodEvent(event);
            return;
        }
        // The committed text goes in as typed keys; the preedit part as it is.
        QInputMethodEvent preedit(event->preeditString(), event->attributes());
        QLineEdit::inputMethodEvent(&preedit);
        InsertFiltered(commit);
    }

private:
    TStringGrid* grid_;
    int col_ = 0;
    int row_ = 0;
};

// --- the delegate: paints cells (the grid keeps its own editor) ----------------
class GridDelegate final : public QAbstractItemDelegate {
public:
    explicit GridDelegate(TStringGrid* grid) : QAbstractItemDelegate(grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        grid_->PaintDataCell(*painter, option.rect, index.column() + grid_->FixedCols(),
                             index.row() + grid_->FixedRows(), option.state & QStyle::State_Selected,
                             option.state & QStyle::State_HasFocus);
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return QSize(grid_->DefaultColWidth() + 1, grid_->DefaultRowHeight() + 1);
    }
    // The view never opens editors of its own.
    QWidget* createEditor(QWidget*, const QStyleOptionViewItem&, const QModelIndex&) const override { return nullptr; }

private:
    TStringGrid* grid_;
};

// --- the fixed row (horizontal) and fixed column (vertical) -----------------
class GridHeader final : public QHeaderView {
public:
    GridHeader(Qt::Orientation orientation, TStringGrid* grid) : QHeaderView(orientation, grid), grid_(grid) {
        setSectionsClickable(false);
        setHighlightSections(false);
        setMinimumSectionSize(1);
    }

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override {
        if (orientation() == Qt::Horizontal)
            grid_->PaintFixedCell(*painter, rect, logicalIndex + grid_->FixedCols(), 0);
        else
            grid_->PaintFixedCell(*painter, rect, 0, logicalIndex + grid_->FixedRows());
    }
    QSize sectionSizeFromContents(int) const override {
        return QSize(grid_->DefaultColWidth() + 1, grid_->DefaultRowHeight() + 1);
    }

private:
    TStringGrid* grid_;
};

// --- the scroll bars ------------------------------------------------------------
// Drawn flat, in the grid's own look (the fixed cells' raised face): a groove of one
// colour, the slider and the two buttons raised, the style's arrows on the buttons. Their
// parts lie where the style puts them, so clicks and drags act as on any scroll bar.
// Solid fills only: a style's gradient down a tall groove is split by the painter across
// worker threads, and waiting for them costs more than the whole of this (a scroll paints
// the bar again).
class GridScrollBarStyle final : public QProxyStyle {
public:
    // One for every grid, on the application's style (made once, kept by the application).
    static GridScrollBarStyle* Shared() {
        static QPointer<GridScrollBarStyle> shared;
        if (shared.isNull()) {
            shared = new GridScrollBarStyle;
            shared->setParent(QCoreApplication::instance());
        }
        return shared.data();
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* p,
                            const QWidget* widget) const override {
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_ScrollBar || bar == nullptr) {
            QProxyStyle::drawComplexControl(control, option, p, widget);
            return;
        }
        const QPalette& pal = bar->palette;
        const QColor face = pal.color(QPalette::Button), light = pal.color(QPalette::Light);
        const QColor groove((face.red() + light.red()) / 2, (face.green() + light.green()) / 2,
                            (face.blue() + light.blue()) / 2);
        p->fillRect(bar->rect, groove);
        auto pressed = [&](SubControl part) { return (bar->activeSubControls & part) && (bar->state & State_Sunken); };
        for (SubControl page : {SC_ScrollBarSubPage, SC_ScrollBarAddPage})
            if (pressed(page)) p->fillRect(subControlRect(control, bar, page, widget), pal.color(QPalette::Mid));
        auto raised = [&](const QRect& r, bool down) {
            p->fillRect(r, face);
            const QColor topLeft = pal.color(down ? QPalette::Dark : QPalette::Light);
            const QColor bottomRight = pal.color(down ? QPalette::Light : QPalette::Dark);
            p->fillRect(QRect(r.left(), r.top(), r.width(), 1), topLeft);
            p->fillRect(QRect(r.left(), r.top(), 1, r.height()), topLeft);
            p->fillRect(QRect(r.left(), r.bottom(), r.width(), 1), bottomRight);
            p->fillRect(QRect(r.right(), r.top(), 1, r.height()), bottomRight);
        };
        const bool scrolls = (bar->state & State_Enabled) && bar->maximum > bar->minimum;
        const bool horizontal = bar->orientation == Qt::Horizontal;
        const bool mirrored = horizontal && bar->direction == Qt::RightToLeft;
        for (SubControl line : {SC_ScrollBarSubLine, SC_ScrollBarAddLine}) {
            const QRect r = subControlRect(control, bar, line, widget);
            if (!r.isValid()) continue;
            const bool down = pressed(line);
            raised(r, down);
            QStyleOption arrow;
            arrow.QStyleOption::operator=(*bar);
            const int inset = std::max(2, std::min(r.width(), r.height()) / 4);
            arrow.rect = r.adjusted(inset, inset, -inset, -inset).translated(down ? 1 : 0, down ? 1 : 0);
            arrow.state = scrolls ? State_Enabled : State_None;
            const bool back = (line == SC_ScrollBarSubLine) != mirrored;
            const PrimitiveElement element = horizontal ? (back ? PE_IndicatorArrowLeft : PE_IndicatorArrowRight)
                                                        : (back ? PE_IndicatorArrowUp : PE_IndicatorArrowDown);
            proxy()->drawPrimitive(element, &arrow, p, widget);
        }
        if (scrolls) {
            const QRect slider = subControlRect(control, bar, SC_ScrollBarSlider, widget);
            if (slider.isValid()) raised(slider, false);
        }
    }
};

// --- TStringGrid -------------------------------------------------------------

TStringGrid::TStringGrid(QWidget* parent) : QTableView(parent) {
    model_ = new GridModel(this);
    delegate_ = new GridDelegate(this);
    hHeader_ = new GridHeader(Qt::Horizontal, this);
    vHeader_ = new GridHeader(Qt::Vertical, this);
    setHorizontalHeader(hHeader_);
    setVerticalHeader(vHeader_);
    setModel(model_);
    setItemDelegate(delegate_);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    // The grid paints its own background (under the frame and the scroll bars): a
    // scroll or a change of focus repaints the grid alone, not whatever lies beneath.
    setAutoFillBackground(true);
    verticalScrollBar()->setStyle(GridScrollBarStyle::Shared());
    horizontalScrollBar()->setStyle(GridScrollBarStyle::Shared());

    textColor_ = palette().color(QPalette::Text);
    backColor_ = palette().color(QPalette::Base);
    fixedColor_ = palette().color(QPalette::Button);
    lineColor_ = QColor(192, 192, 192);

    hHeader_->setSectionResizeMode(QHeaderView::Fixed);
    ApplyRowResizeMode();

    connect(vHeader_, &QHeaderView::sectionMoved, this, &TStringGrid::OnSectionMoved);
    connect(vHeader_, &QHeaderView::sectionResized, this, &TStringGrid::OnRowSectionResized);
    connect(hHeader_, &QHeaderView::sectionResized, this, &TStringGrid::OnColSectionResized);
    // The editor sits on its cell wherever the cell goes.
    for (QHeaderView* header : {static_cast<QHeaderView*>(hHeader_), static_cast<QHeaderView*>(vHeader_)}) {
        connect(header, &QHeaderView::sectionResized, this, &TStringGrid::PlaceEditor);
        connect(header, &QHeaderView::sectionMoved, this, &TStringGrid::PlaceEditor);
        connect(header, &QHeaderView::geometriesChanged, this, &TStringGrid::PlaceEditor);
    }
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        emit cellClicked(index.column() + fixedCols_, index.row() + fixedRows_);
    });
    connect(this, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        emit cellDoubleClicked(index.column() + fixedCols_, index.row() + fixedRows_);
    });

    editor_ = new GridCellEdit(this, viewport());

    store_.Resize(5, 5);
    colWidths_.assign(5, defaultColWidth_);
    alignments_.assign(5, Qt::AlignLeft);
    pendingReset_ = true;
    dirty_ = true;
    Flush();
    ApplyPalette();
}

TStringGrid::~TStringGrid() = default;

// --- pending changes ---

void TStringGrid::MarkDirty(bool reset) {
    dirty_ = true;
    if (reset) pendingReset_ = true;
    if (updateDepth_ > 0 || flushPosted_) return;
    flushPosted_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            flushPosted_ = false;
            if (updateDepth_ == 0) Flush();
        },
        Qt::QueuedConnection);
}

void TStringGrid::BeginUpdate() { ++updateDepth_; }

void TStringGrid::EndUpdate() {
    if (updateDepth_ > 0 && --updateDepth_ == 0) Flush();
}

void TStringGrid::Flush() {
    if (!dirty_ || flushing_ || updateDepth_ > 0) return;
    flushing_ = true;
    dirty_ = false;
    const bool notify = notifySelect_;
    notifySelect_ = false;
    const int rows = store_.Rows() - fixedRows_;
    const int cols = store_.Cols() - fixedCols_;
    if (pendingReset_ || cols != model_->cols_) {
        model_->Reset(rows, cols);
        pendingReset_ = false;
        ApplyHeaders();
        ApplyGeometry();
    } else {
        model_->SetRows(rows);
        model_->AllChanged();
    }
    SetViewCurrent();
    notifySelect_ = notify;
    flushing_ = false;
    FollowCurrentCell();
    OpenEditorIfWanted();
}

// --- size ---

void TStringGrid::setRowCount(int rows) {
    rows = std::max(rows, fixedRows_ + 1);
    if (rows == store_.Rows()) return;
    store_.SetRows(rows);
    curRow_ = std::min(curRow_, rows - 1);
    MarkDirty(false);
}

void TStringGrid::setColCount(int cols) {
    cols = std::max(cols, fixedCols_ + 1);
    if (cols == store_.Cols()) return;
    store_.Resize(cols, store_.Rows());
    colWidths_.resize(static_cast<size_t>(cols), defaultColWidth_);
    if (minTexts_.size() > static_cast<size_t>(cols)) minTexts_.resize(static_cast<size_t>(cols));
    alignments_.resize(static_cast<size_t>(cols), Qt::AlignLeft);
    curCol_ = std::min(curCol_, cols - 1);
    MarkDirty(true);
}

void TStringGrid::setFixedRows(int fixed) {
    fixed = std::clamp(fixed, 0, 1);
    if (fixed == fixedRows_) return;
    fixedRows_ = fixed;
    if (store_.Rows() < fixed + 1) store_.SetRows(fixed + 1);
    curRow_ = std::clamp(curRow_, fixedRows_, store_.Rows() - 1);
    MarkDirty(true);
    Flush();
}

void TStringGrid::setFixedCols(int fixed) {
    fixed = std::clamp(fixed, 0, 1);
    if (fixed == fixedCols_) return;
    fixedCols_ = fixed;
    if (store_.Cols() < fixed + 1) setColCount(fixed + 1);
    curCol_ = std::clamp(curCol_, fixedCols_, store_.Cols() - 1);
    MarkDirty(true);
    Flush();
}

// --- cells ---

QString TStringGrid::Cells(int col, int row) const {
    if (col < 0 || row < 0 || col >= store_.Cols() || row >= store_.Rows()) return QString();
    return store_.Get(col, row);
}

std::string TStringGrid::CellBytes(int col, int row) const {
    if (col < 0 || row < 0 || col >= store_.Cols() || row >= store_.Rows()) return std::string();
    return store_.GetBytes(col, row);
}

bool TStringGrid::AppendCellBytes(int col, int row, std::string& out) const {
    if (col < 0 || row < 0 || col >= store_.Cols() || row >= store_.Rows()) return true;
    return store_.AppendBytes(col, row, out);
}

bool TStringGrid::CopyCellBytes(int col, int row, char* out) const {
    if (col < 0 || row < 0 || col >= store_.Cols() || row >= store_.Rows()) return true;
    return store_.CopyBytes(col, row, out);
}

int TStringGrid::CellLength(int col, int row) const {
    if (col < 0 || row < 0 || col >= store_.Cols() || row >= store_.Rows()) return 0;
    return store_.Length(col, row);
}

void TStringGrid::setCells(int col, int row, const QString& text) {
    if (col < 0 || row < 0 || col >= store_.Cols() || row >= store_.Rows()) return;
    store_.Set(col, row, text);
    CellChanged(col, row);
}

void TStringGrid::setCellBytes(int col, int row, std::string_view bytes) {
    if (col < 0 || row < 0 || col >= store_.Cols() || row >= store_.Rows()) return;
    store_.SetBytes(col, row, bytes);
    CellChanged(col, row);
}

void TStringGrid::setRowBytes(int row, std::span<const std::string_view> fields) {
    if (row < 0 || row >= store_.Rows() || fields.empty()) return;
    store_.SetRowBytes(row, fields.data(), static_cast<int>(fields.size()));
    if (updateDepth_ > 0 && !editorOpen_) {
        dirty_ = true;  // a fill: the view is told once at its end
        return;
    }
    RowsChanged(row, row);
}

void TStringGrid::CellChanged(int col, int row) {
    if (editorOpen_ && col == editor_->Col() && row == editor_->Row()) RefreshEditorText();
    if (dirty_ || updateDepth_ > 0) {
        MarkDirty(false);
        return;
    }
    if (row < fixedRows_) {
        if (col >= fixedCols_) model_->HeaderChanged(Qt::Horizontal, col - fixedCols_);
        return;
    }
    if (col < fixedCols_) {
        model_->HeaderChanged(Qt::Vertical, row - fixedRows_);
        return;
    }
    model_->CellChanged(row - fixedRows_, col - fixedCols_);
}

QStringList TStringGrid::RowTexts(int row) const {
    QStringList out;
    for (int c = 0; c < ColCount(); ++c) out << Cells(c, row);
    return out;
}

void TStringGrid::setRowTexts(int row, const QStringList& texts) {
    if (row < 0 || row >= RowCount()) return;
    BeginUpdate();
    for (int c = 0; c < ColCount(); ++c) setCells(c, row, c < texts.size() ? texts.at(c) : QString());
    EndUpdate();
}

QStringList TStringGrid::ColTexts(int col) const {
    QStringList out;
    for (int r = 0; r < RowCount(); ++r) out << Cells(col, r);
    return out;
}

void TStringGrid::setColTexts(int col, const QStringList& texts) {
    if (col < 0 || col >= ColCount()) return;
    BeginUpdate();
    for (int r = 0; r < RowCount(); ++r) setCells(col, r, r < texts.size() ? texts.at(r) : QString());
    EndUpdate();
}

void TStringGrid::ClearCells() {
    store_.ClearAll();
    RefreshEditorText();
    MarkDirty(false);
}

void TStringGrid::SwapCells(CellStore& cells) {
    const int cols = store_.Cols();
    store_.Swap(cells);
    if (store_.Cols() != cols || store_.Rows() < fixedRows_ + 1)
        store_.Resize(cols, std::max(store_.Rows(), fixedRows_ + 1));
    curRow_ = std::min(curRow_, store_.Rows() - 1);
    RefreshEditorText();
    MarkDirty(false);
}

// --- rows ---

void TStringGrid::InsertRow(int row) {
    row = std::clamp(row, fixedRows_, RowCount());
    store_.InsertRows(row, 1);
    RefreshEditorText();
    MarkDirty(false);
}

void TStringGrid::DeleteRow(int row) {
    if (row < fixedRows_ || row >= RowCount()) return;
    if (RowCount() - fixedRows_ <= 1) {
        for (int c = 0; c < ColCount(); ++c) store_.Clear(c, row);
    } else {
        store_.RemoveRows(row, 1);
        if (curRow_ > row || curRow_ >= RowCount()) curRow_ = std::max(fixedRows_, curRow_ - 1);
    }
    RefreshEditorText();
    MarkDirty(false);
}

void TStringGrid::MoveRow(int from, int to) {
    if (from < fixedRows_ || to < fixedRows_ || from >= RowCount() || to >= RowCount() || from == to) return;
    store_.MoveRow(from, to);
    if (curRow_ == from)
        curRow_ = to;
    else if (from < curRow_ && curRow_ <= to)
        --curRow_;
    else if (to <= curRow_ && curRow_ < from)
        ++curRow_;
    RowsChanged(std::min(from, to), std::max(from, to));
}

void TStringGrid::PermuteRows(const std::vector<int>& order) {
    store_.PermuteRows(fixedRows_, order);
    RowsChanged(fixedRows_, RowCount() - 1);
}

void TStringGrid::RowsChanged(int first, int last) {
    RefreshEditorText();
    if (dirty_ || updateDepth_ > 0) {
        MarkDirty(false);
        return;
    }
    if (first < fixedRows_ && model_->cols_ > 0) emit model_->headerDataChanged(Qt::Horizontal, 0, model_->cols_ - 1);
    model_->RowsChanged(std::max(first - fixedRows_, 0), std::min(last - fixedRows_, model_->rows_ - 1));
    SetViewCurrent();
}

// --- current cell ---

QModelIndex TStringGrid::IndexOf(int col, int row) const { return model_->index(row - fixedRows_, col - fixedCols_); }

void TStringGrid::SetViewCurrent() {
    curRow_ = std::clamp(curRow_, fixedRows_, RowCount() - 1);
    curCol_ = std::clamp(curCol_, fixedCols_, ColCount() - 1);
    const QModelIndex index = IndexOf(curCol_, curRow_);
    if (!index.isValid()) return;
    const bool notify = notifySelect_;
    notifySelect_ = false;
    if (currentIndex() != index)
        setCurrentIndex(index);
    else if (selectionModel() && !selectionModel()->isSelected(index))
        selectionModel()->select(index, QItemSelectionModel::ClearAndSelect |
                                            (rowSelect_ ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate));
    notifySelect_ = notify;
}

void TStringGrid::setRow(int row) { setCurrentCell(curCol_, row); }

void TStringGrid::setCol(int col) { setCurrentCell(col, curRow_); }

void TStringGrid::setCurrentCell(int col, int row) {
    Flush();
    col = std::clamp(col, fixedCols_, ColCount() - 1);
    row = std::clamp(row, fixedRows_, RowCount() - 1);
    const QModelIndex index = IndexOf(col, row);
    if (!index.isValid()) return;
    if (currentIndex() != index) setCurrentIndex(index);
    if (curCol_ != col || curRow_ != row) {
        // The view kept its current index (same cell after a reload); say so anyway.
        curCol_ = col;
        curRow_ = row;
        if (notifySelect_) emit cellSelected(col, row);
    }
    // A handler of cellSelected may have moved on to another cell.
    scrollTo(IndexOf(curCol_, curRow_));
    FollowCurrentCell();
}

void TStringGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (!current.isValid()) return;
    const int col = current.column() + fixedCols_;
    const int row = current.row() + fixedRows_;
    if (col != curCol_ || row != curRow_) {
        curCol_ = col;
        curRow_ = row;
        if (notifySelect_) emit cellSelected(col, row);
    }
    FollowCurrentCell();
}

int TStringGrid::TopRow() const {
    const_cast<TStringGrid*>(this)->Flush();
    const int r = rowAt(0);
    return (r < 0 ? 0 : r) + fixedRows_;
}

void TStringGrid::setTopRow(int row) {
    Flush();
    verticalScrollBar()->setValue(std::max(0, row - fixedRows_));
}

int TStringGrid::VisibleRowCount() const { return std::max(0, viewport()->height() / (defaultRowHeight_ + 1)); }

// --- geometry ---

void TStringGrid::setDefaultRowHeight(int height) {
    height = std::clamp(height, 1, kMaxRowHeight);
    if (height == defaultRowHeight_) return;
    defaultRowHeight_ = height;
    ApplyRowHeight();
}

void TStringGrid::ApplyRowHeight() {
    const bool was = internalChange_;
    internalChange_ = true;
    // New rows come at the header's default height: the pass over every row is needed
    // only when the height changes or a row was dragged to another.
    if (!rowsAtDefault_ || vHeader_->defaultSectionSize() != defaultRowHeight_ + 1) {
        const QSignalBlocker block(vHeader_);
        vHeader_->setDefaultSectionSize(defaultRowHeight_ + 1);
        rowsAtDefault_ = true;
    }
    hHeader_->setFixedHeight(defaultRowHeight_ + 1);
    internalChange_ = was;
    updateGeometries();
    viewport()->update();
    vHeader_->viewport()->update();
}

int TStringGrid::RowHeights(int) const { return defaultRowHeight_; }

void TStringGrid::setDefaultColWidth(int width) {
    width = std::clamp(width, 0, kMaxColWidth);
    defaultColWidth_ = width;
    for (int c = 0; c < static_cast<int>(colWidths_.size()); ++c)
        colWidths_[static_cast<size_t>(c)] = std::max(width, MinColWidth(c));
    if (!pendingReset_) ApplyGeometry();
}

void TStringGrid::setColMinText(int col, const QString& text) {
    if (col < 0 || col >= static_cast<int>(colWidths_.size())) return;
    if (minTexts_.size() < colWidths_.size()) minTexts_.resize(colWidths_.size());
    minTexts_[static_cast<size_t>(col)] = text;
    setColWidths(col, ColWidths(col));
}

QString TStringGrid::ColMinText(int col) const {
    return col >= 0 && col < static_cast<int>(minTexts_.size()) ? minTexts_[static_cast<size_t>(col)] : QString();
}

int TStringGrid::MinColWidth(int col) const {
    const QString text = ColMinText(col);
    if (text.isEmpty()) return 0;
    return std::min(QFontMetrics(font()).horizontalAdvance(text) + marginLeft_ + marginRight_, kMaxColWidth);
}

void TStringGrid::ApplyColumnMinima() {
    for (int c = 0; c < static_cast<int>(minTexts_.size()) && c < ColCount(); ++c)
        if (!minTexts_[static_cast<size_t>(c)].isEmpty()) setColWidths(c, ColWidths(c));
}

int TStringGrid::ColWidths(int col) const {
    if (col < 0 || col >= static_cast<int>(colWidths_.size())) return 0;
    return colWidths_[static_cast<size_t>(col)];
}

void TStringGrid::setColWidths(int col, int width) {
    if (col < 0 || col >= static_cast<int>(colWidths_.size())) return;
    // Hidden stays hidden; a shown column is at least as wide as its minimum text.
    width = width < 0 ? -1 : std::max(std::min(width, kMaxColWidth), MinColWidth(col));
    colWidths_[static_cast<size_t>(col)] = width;
    ApplyColumn(col);
}

void TStringGrid::ApplyColumn(int col) {
    if (pendingReset_) return;  // the flush applies every column
    const int width = colWidths_[static_cast<size_t>(col)];
    const bool was = internalChange_;
    internalChange_ = true;
    if (col < fixedCols_) {
        vHeader_->setVisible(width >= 0);
        if (width >= 0) vHeader_->setFixedWidth(width + 1);
    } else {
        const int section = col - fixedCols_;
        if (section < model_->cols_) {
            if (width < 0) {
                setColumnHidden(section, true);
            } else {
                if (isColumnHidden(section)) setColumnHidden(section, false);
                hHeader_->resizeSection(section, width + 1);
            }
        }
    }
    internalChange_ = was;
}

void TStringGrid::ApplyGeometry() {
    const bool was = internalChange_;
    internalChange_ = true;
    hHeader_->setDefaultSectionSize(defaultColWidth_ + 1);
    internalChange_ = was;
    ApplyRowHeight();
    for (int c = 0; c < ColCount(); ++c) ApplyColumn(c);
}

void TStringGrid::ApplyHeaders() {
    hHeader_->setVisible(fixedRows_ > 0);
    vHeader_->setVisible(fixedCols_ > 0 && ColWidths(0) >= 0);
    vHeader_->setSectionsMovable(rowMoving_);
    ApplyRowResizeMode();
    hHeader_->setSectionResizeMode(colSizing_ ? QHeaderView::Interactive : QHeaderView::Fixed);
}

void TStringGrid::ApplyRowResizeMode() {
    // The mode is the header's for every row, new rows too: told again only when it changes.
    const QHeaderView::ResizeMode mode = rowSizing_ ? QHeaderView::Interactive : QHeaderView::Fixed;
    if (rowModeApplied_ == mode) return;
    vHeader_->setSectionResizeMode(mode);
    rowModeApplied_ = mode;
}

int TStringGrid::ClientWidth() const {
    return viewport()->width() + (vHeader_->isVisibleTo(this) ? vHeader_->width() : 0);
}

int TStringGrid::ClientHeight() const {
    return viewport()->height() + (hHeader_->isVisibleTo(this) ? hHeader_->height() : 0);
}

QRect TStringGrid::CellRect(int col, int row) const {
    const_cast<TStringGrid*>(this)->Flush();
    if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return QRect();
    if (ColWidths(col) < 0) return QRect();
    int x, w, y, h;
    if (col < fixedCols_) {
        x = vHeader_->x();
        w = vHeader_->width();
    } else {
        x = viewport()->x() + columnViewportPosition(col - fixedCols_);
        w = columnWidth(col - fixedCols_);
    }
    if (row < fixedRows_) {
        y = hHeader_->y();
        h = hHeader_->height();
    } else {
        y = viewport()->y() + rowViewportPosition(row - fixedRows_);
        h = rowHeight(row - fixedRows_);
    }
    return QRect(x, y, w - 1, h - 1);
}

// --- options ---

void TStringGrid::setRowSelect(bool on) {
    rowSelect_ = on;
    ApplyModes();
}

void TStringGrid::setEditing(bool on) {
    editing_ = on;
    ApplyModes();
}

void TStringGrid::ApplyModes() {
    setSelectionBehavior(rowSelect_ ? QAbstractItemView::SelectRows : QAbstractItemView::SelectItems);
    if (!EffectiveEditing()) CloseEditor();
    SetViewCurrent();
    if (selectionModel()) {
        const QModelIndex index = IndexOf(curCol_, curRow_);
        if (index.isValid())
            selectionModel()->select(index,
                                     QItemSelectionModel::ClearAndSelect |
                                         (rowSelect_ ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate));
    }
    viewport()->update();
    OpenEditorIfWanted();
}

void TStringGrid::setEditorMode(bool on) {
    editorWanted_ = on;
    if (on)
        OpenEditorIfWanted();
    else
        CloseEditor();
}

bool TStringGrid::EditorMode() const { return editorOpen_; }

QLineEdit* TStringGrid::CellEditor() const { return editorOpen_ ? editor_ : nullptr; }

void TStringGrid::OpenEditorIfWanted() {
    if (!editorWanted_ || !EffectiveEditing() || editorOpen_ || flushing_) return;
    Flush();
    SetViewCurrent();
    if (!IndexOf(curCol_, curRow_).isValid()) return;
    const bool focused = hasFocus();
    editorOpen_ = true;
    BindEditor();
    editor_->show();
    // While it is open the editor takes the grid's keyboard focus: focus given
    // to the grid (by the program, a click, the window) goes straight to it,
    // so its text and selection are never disturbed on the way.
    setFocusProxy(editor_);
    if (focused) editor_->setFocus(Qt::OtherFocusReason);
}

void TStringGrid::CloseEditor() {
    if (!editorOpen_) return;
    editorOpen_ = false;
    // Every edit is in the store already; the cell shows it once the editor is gone.
    const int col = editor_->Col(), row = editor_->Row();
    const bool focused = editor_->hasFocus();
    setFocusProxy(nullptr);
    if (focused) setFocus(Qt::OtherFocusReason);
    editor_->hide();
    CellChanged(col, row);
}

void TStringGrid::FollowCurrentCell() {
    if (!editorOpen_ || flushing_) return;
    if (editor_->Col() == curCol_ && editor_->Row() == curRow_) {
        PlaceEditor();
        return;
    }
    const int col = editor_->Col(), row = editor_->Row();
    BindEditor();
    CellChanged(col, row);  // the cell left shows its text again
}

void TStringGrid::BindEditor() {
    editor_->Bind(curCol_, curRow_);
    editorOriginal_ = Cells(curCol_, curRow_);
    editor_->setText(editorOriginal_);
    editor_->selectAll();
    PlaceEditor();
}

void TStringGrid::RefreshEditorText() {
    if (!editorOpen_) return;
    const QString text = Cells(editor_->Col(), editor_->Row());
    if (editor_->text() == text) return;
    const int pos = editor_->cursorPosition();
    editor_->setText(text);
    editor_->setCursorPosition(std::min(pos, static_cast<int>(text.size())));
}

void TStringGrid::PlaceEditor() {
    if (!editorOpen_ || dirty_ || pendingReset_) return;
    const QModelIndex index = IndexOf(editor_->Col(), editor_->Row());
    QRect rect = index.isValid() ? visualRect(index) : QRect();
    // A cell scrolled away or in a hidden column keeps its editor, out of sight.
    if (rect.isEmpty()) rect = QRect(-10, -10, 0, 0);
    editor_->setGeometry(rect.adjusted(0, 0, -1, -1));
}

void TStringGrid::setTabs(bool on) {
    tabs_ = on;
    setTabKeyNavigation(on);
}

void TStringGrid::setRowMoving(bool on) {
    rowMoving_ = on;
    vHeader_->setSectionsMovable(on);
}

void TStringGrid::SetGridSizing(bool allowed) {
    setRowSizing(allowed);
    setColSizing(allowed);
}

void TStringGrid::setRowSizing(bool on) {
    rowSizing_ = on;
    ApplyRowResizeMode();
}

void TStringGrid::setColSizing(bool on) {
    colSizing_ = on;
    hHeader_->setSectionResizeMode(on ? QHeaderView::Interactive : QHeaderView::Fixed);
    // Setting the resize mode must not undo the column widths.
    if (!pendingReset_)
        for (int c = 0; c < ColCount(); ++c) ApplyColumn(c);
}

void TStringGrid::setVertLines(bool on) {
    vertLines_ = on;
    viewport()->update();
}

void TStringGrid::setHorzLines(bool on) {
    horzLines_ = on;
    viewport()->update();
}

// --- look ---

void TStringGrid::setTextColor(const QColor& color) {
    textColor_ = color;
    ApplyPalette();
}

void TStringGrid::setBackgroundColor(const QColor& color) {
    backColor_ = color;
    ApplyPalette();
}

void TStringGrid::setFixedColor(const QColor& color) {
    fixedColor_ = color;
    ApplyPalette();
}

void TStringGrid::ApplyPalette() {
    QPalette pal = palette();
    pal.setColor(QPalette::Base, backColor_);
    pal.setColor(QPalette::Text, textColor_);
    pal.setColor(QPalette::Button, fixedColor_);
    pal.setColor(QPalette::ButtonText, textColor_);
    setPalette(pal);
    {
        QPalette ep = editor_->palette();
        ep.setColor(QPalette::Base, backColor_);
        ep.setColor(QPalette::Text, textColor_);
        editor_->setPalette(ep);
    }
    viewport()->update();
    hHeader_->viewport()->update();
    vHeader_->viewport()->update();
}

void TStringGrid::setColumnAlignment(int col, Qt::Alignment alignment) {
    if (col < 0 || col >= static_cast<int>(alignments_.size())) return;
    alignments_[static_cast<size_t>(col)] = alignment;
    viewport()->update();
}

Qt::Alignment TStringGrid::ColumnAlignment(int col) const {
    if (col < 0 || col >= static_cast<int>(alignments_.size())) return Qt::AlignLeft;
    return alignments_[static_cast<size_t>(col)];
}

void TStringGrid::setFixedAlignment(Qt::Alignment alignment) {
    fixedAlignment_ = alignment;
    hHeader_->viewport()->update();
    vHeader_->viewport()->update();
}

void TStringGrid::setCellMargins(int left, int top, int right) {
    marginLeft_ = left;
    marginTop_ = top;
    marginRight_ = right;
    viewport()->update();
}

// --- painting ---

TStringGrid::LaidOutText& TStringGrid::LaidOut(const QString& text) const {
    // Enough for every cell of a large screen; past that the texts of earlier screens go.
    constexpr qsizetype kKept = 1024;
    auto found = laidOut_.find(text);
    if (found != laidOut_.end()) return *found;
    if (laidOut_.size() >= kKept) laidOut_.clear();
    LaidOutText laid;
    laid.width = QFontMetrics(font()).horizontalAdvance(text);
    laid.plain = std::none_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x20; });
    if (laid.plain) {
        // Laid out when first drawn (with the painter's font and transformation, which a
        // layout made beforehand would not match).
        laid.text.setText(text);
        laid.text.setTextFormat(Qt::PlainText);
    }
    return *laidOut_.insert(text, std::move(laid));
}

void TStringGrid::LayOutAhead(const std::vector<int>& rows) const {
    const_cast<TStringGrid*>(this)->Flush();
    // The font as a painter on the viewport holds it, its engine loaded: a text laid out
    // with it is drawn as it stands.
    const QFont painted(font(), viewport());
    (void)QFontMetrics(painted).height();
    const int width = viewport()->width();
    for (int col = 0; col < model_->columnCount(); ++col) {
        if (hHeader_->isSectionHidden(col)) continue;
        const int x = columnViewportPosition(col);
        if (x >= width || x + columnWidth(col) <= 0) continue;
        for (const int row : rows) {
            if (row < fixedRows_ || row >= RowCount()) continue;
            const QString text = Cells(col + fixedCols_, row);
            if (text.isEmpty()) continue;
            LaidOutText& laid = LaidOut(text);
            if (laid.plain) laid.text.prepare(QTransform(), painted);
        }
    }
}

void TStringGrid::DrawCellText(const GridCellPaint& cell, const QString& text, Qt::Alignment alignment) const {
    if (text.isEmpty()) return;
    QPainter& p = cell.painter;
    const QFontMetrics fm(font());
    const LaidOutText& laid = LaidOut(text);
    const int width = laid.width;
    int x;
    if (alignment & Qt::AlignRight)
        x = cell.rect.left() + cell.rect.width() - width - marginRight_;
    else if (alignment & Qt::AlignHCenter)
        x = cell.rect.left() + (cell.rect.width() - width) / 2;
    else
        x = cell.rect.left() + marginLeft_;
    int top = cell.rect.top() + marginTop_;
    if (fm.height() + marginTop_ > cell.rect.height()) top = cell.rect.top() + (cell.rect.height() - fm.height()) / 2;
    // A text inside its cell needs no clip (nearly every cell): the painter's state is
    // saved and clipped only for one that would spill over.
    const bool inside = laid.plain && x >= cell.rect.left() && x + width <= cell.rect.left() + cell.rect.width() &&
                        top >= cell.rect.top() && top + fm.height() <= cell.rect.top() + cell.rect.height();
    const QPen pen = p.pen();
    const bool fontChanges = p.font() != font();
    const QFont font0 = fontChanges ? p.font() : QFont();
    if (!inside) {
        p.save();
        p.setClipRect(cell.rect);
    }
    if (fontChanges) p.setFont(font());
    p.setPen(cell.text);
    // A laid-out text is placed by its top left, its baseline one ascent below.
    if (laid.plain)
        p.drawStaticText(QPoint(x, top), laid.text);
    else
        p.drawText(QPoint(x, top + fm.ascent()), text);
    if (!inside) {
        p.restore();
        return;
    }
    // The painter is left as it came.
    if (fontChanges) p.setFont(font0);
    p.setPen(pen);
}

void TStringGrid::PaintDataCell(QPainter& p, const QRect& rect, int col, int row, bool selected, bool focused) const {
    if (vertLines_) p.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), lineColor_);
    if (horzLines_) p.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), lineColor_);
    const QRect inner = rect.adjusted(0, 0, vertLines_ ? -1 : 0, horzLines_ ? -1 : 0);
    const QPalette& pal = palette();
    GridCellPaint cell{p,
                       inner,
                       col,
                       row,
                       selected,
                       false,
                       selected ? pal.color(QPalette::Active, QPalette::Highlight) : backColor_,
                       selected ? pal.color(QPalette::Active, QPalette::HighlightedText) : textColor_};
    if (drawHook_ && drawHook_(cell)) return;
    p.fillRect(inner, cell.background);
    DrawCellText(cell, Cells(col, row), ColumnAlignment(col));
    if (focused && !rowSelect_) {
        QStyleOptionFocusRect fo;
        fo.initFrom(this);
        fo.rect = inner;
        fo.backgroundColor = cell.background;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &fo, &p, this);
    }
}

void TStringGrid::PaintFixedCell(QPainter& p, const QRect& rect, int col, int row) const {
    const QColor dark(128, 128, 128);
    p.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), dark);
    p.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), dark);
    const QRect inner = rect.adjusted(0, 0, -1, -1);
    GridCellPaint cell{p, inner, col, row, false, true, fixedColor_, textColor_};
    if (drawHook_ && drawHook_(cell)) return;
    p.fillRect(inner, fixedColor_);
    p.fillRect(QRect(inner.left(), inner.top(), inner.width(), 1), fixedColor_.lighter(130));
    p.fillRect(QRect(inner.left(), inner.top(), 1, inner.height()), fixedColor_.lighter(130));
    DrawCellText(cell, Cells(col, row), fixedAlignment_);
}

// --- editor hooks ---

bool TStringGrid::FilterKey(QChar& ch) { return FilterKeyAt(curCol_, curRow_, ch); }

bool TStringGrid::FilterKeyAt(int col, int row, QChar& ch) {
    if (!keyFilter_) return true;
    return keyFilter_(col, row, ch);
}

void TStringGrid::EditorTextEdited(const QString& text) {
    if (!editorOpen_) return;
    const int col = editor_->Col();
    const int row = editor_->Row();
    if (store_.Get(col, row) == text) return;
    store_.Set(col, row, text);
    emit cellEdited(col, row);
}

void TStringGrid::EditorRevert() {
    if (!editorOpen_) return;
    const int col = editor_->Col();
    const int row = editor_->Row();
    if (Cells(col, row) == editorOriginal_) return;
    editor_->setText(editorOriginal_);
    editor_->selectAll();
    store_.Set(col, row, editorOriginal_);
    emit cellEdited(col, row);
}

void TStringGrid::EditorTab(bool forward) {
    if (!tabs_) {
        focusNextPrevChild(forward);
        return;
    }
    TabMove(forward);
}

void TStringGrid::TabMove(bool forward) {
    Flush();
    int col = curCol_, row = curRow_;
    // The next (previous) shown cell, row after row; at the end it stays.
    for (;;) {
        if (forward) {
            if (++col >= ColCount()) {
                col = fixedCols_;
                if (++row >= RowCount()) return;
            }
        } else if (--col < fixedCols_) {
            col = ColCount() - 1;
            if (--row < fixedRows_) return;
        }
        if (ColWidths(col) >= 0) break;
    }
    setCurrentCell(col, row);
}

void TStringGrid::EditorMove(QKeyEvent* event) {
    Flush();
    CursorAction action;
    switch (event->key()) {
        case Qt::Key_Up: action = MoveUp; break;
        case Qt::Key_Down: action = MoveDown; break;
        case Qt::Key_PageUp: action = MovePageUp; break;
        case Qt::Key_PageDown: action = MovePageDown; break;
        case Qt::Key_Left: action = MoveLeft; break;
        case Qt::Key_Right: action = MoveRight; break;
        default: return;
    }
    const QModelIndex index = moveCursor(action, event->modifiers());
    if (index.isValid()) setCurrentCell(index.column() + fixedCols_, index.row() + fixedRows_);
}

// --- events ---

void TStringGrid::keyboardSearch(const QString&) {}

bool TStringGrid::event(QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::FocusIn:
        case QEvent::Show:
        case QEvent::Wheel: Flush(); break;
        default: break;
    }
    return QTableView::event(event);
}

void TStringGrid::keyPressEvent(QKeyEvent* event) {
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        if (!tabs_) {
            event->ignore();
            return;
        }
        TabMove(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
        event->accept();
        return;
    }
    const QString text = event->text();
    if (text.size() == 1) {
        QChar ch = text.at(0);
        if (keyFilter_ && !FilterKey(ch)) {
            event->accept();
            return;
        }
        if (editorOpen_) {
            // Typed at the grid while it edits: the editor of the current cell takes it.
            scrollTo(IndexOf(curCol_, curRow_));
            editor_->setFocus(Qt::OtherFocusReason);
            QKeyEvent forwarded(event->type(), event->key(), event->modifiers(), QString(ch));
            keyFiltered_ = true;
            QCoreApplication::sendEvent(editor_, &forwarded);
            keyFiltered_ = false;
            event->accept();
            return;
        }
    }
    // Browsing: the keys move the current cell; typed characters go nowhere.
    QTableView::keyPressEvent(event);
}

void TStringGrid::focusInEvent(QFocusEvent* event) {
    QTableView::focusInEvent(event);
    if (editorOpen_)
        editor_->setFocus(event->reason());
    else
        OpenEditorIfWanted();
}

void TStringGrid::mousePressEvent(QMouseEvent* event) {
    Flush();
    // Only the left button moves the current cell; a right click is left to
    // the window's popup menu and acts on the row already selected.
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    QTableView::mousePressEvent(event);
    if (editorOpen_) editor_->setFocus(Qt::MouseFocusReason);
}

void TStringGrid::scrollContentsBy(int dx, int dy) {
    QTableView::scrollContentsBy(dx, dy);
    PlaceEditor();
}

void TStringGrid::updateGeometries() {
    QTableView::updateGeometries();
    PlaceEditor();
}

void TStringGrid::paintEvent(QPaintEvent* event) {
    // The cells in the region to paint, each straight from the store (the view's own
    // paint would build a style option and ask the style and the model for every cell).
    const int rows = model_->rowCount(), cols = model_->columnCount();
    if (rows == 0 || cols == 0) return;
    QPainter p(viewport());
    p.setFont(font());
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const QItemSelectionModel* selection = selectionModel();
    const int lastRow = vHeader_->count() - 1, lastCol = hHeader_->count() - 1;
    for (const QRect& dirty : event->region()) {
        int top = vHeader_->visualIndexAt(dirty.top());
        int bottom = vHeader_->visualIndexAt(dirty.bottom());
        if (top < 0) top = 0;
        if (bottom < 0) bottom = lastRow;
        const bool rtl = isRightToLeft();
        int left = hHeader_->visualIndexAt(rtl ? dirty.right() : dirty.left());
        int right = hHeader_->visualIndexAt(rtl ? dirty.left() : dirty.right());
        if (left < 0) left = 0;
        if (right < 0) right = lastCol;
        if (top > bottom || left > right) continue;
        for (int v = top; v <= bottom; ++v) {
            const int row = vHeader_->logicalIndex(v);
            if (row < 0 || vHeader_->isSectionHidden(row)) continue;
            const int y = rowViewportPosition(row), h = rowHeight(row);
            for (int u = left; u <= right; ++u) {
                const int col = hHeader_->logicalIndex(u);
                if (col < 0 || hHeader_->isSectionHidden(col)) continue;
                const QRect rect(columnViewportPosition(col), y, columnWidth(col), h);
                if (!rect.intersects(dirty)) continue;
                const QModelIndex index = model_->index(row, col);
                const bool selected = selection && selection->isSelected(index);
                PaintDataCell(p, rect, col + FixedCols(), row + FixedRows(), selected, focus && index == current);
            }
        }
    }
}

bool TStringGrid::viewportEvent(QEvent* event) {
    switch (event->type()) {
        case QEvent::Paint:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel: Flush(); break;
        case QEvent::ToolTip: {
            auto* help = static_cast<QHelpEvent*>(event);
            if (showHint_ && !hint_.isEmpty())
                QToolTip::showText(help->globalPos(), hint_, viewport());
            else
                QToolTip::hideText();
            return true;
        }
        default: break;
    }
    return QTableView::viewportEvent(event);
}

void TStringGrid::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        laidOut_.clear();
        editor_->setFont(font());
        ApplyColumnMinima();
        PlaceEditor();
    }
}

void TStringGrid::OnSectionMoved(int, int oldVisual, int newVisual) {
    if (internalChange_) return;
    internalChange_ = true;
    vHeader_->moveSection(newVisual, oldVisual);  // the store keeps the order, the header stays 1:1
    internalChange_ = false;
    const int from = oldVisual + fixedRows_;
    const int to = newVisual + fixedRows_;
    MoveRow(from, to);
    emit rowMoved(from, to);
}

void TStringGrid::OnRowSectionResized(int, int, int newSize) {
    if (internalChange_) return;
    rowsAtDefault_ = false;  // until the height below is given to every row
    const int height = std::clamp(newSize - 1, 1, kMaxRowHeight);
    if (height == defaultRowHeight_) return;
    defaultRowHeight_ = height;
    ApplyRowHeight();
    emit defaultRowHeightChanged(height);
}

void TStringGrid::OnColSectionResized(int logical, int, int newSize) {
    if (internalChange_) return;
    const int col = logical + fixedCols_;
    if (col >= static_cast<int>(colWidths_.size())) return;
    const int width = std::clamp(newSize - 1, MinColWidth(col), kMaxColWidth);
    colWidths_[static_cast<size_t>(col)] = width;
    if (width != newSize - 1) {
        // Dragged narrower than its text allows: the column stays at its minimum.
        QMetaObject::invokeMethod(
            this, [this, col] { ApplyColumn(col); }, Qt::QueuedConnection);
    }
    emit colWidthChanged(col, width);
}

}  // namespace stallmark
