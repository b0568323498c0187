#pragma once
// TStringGrid: the program's string grid, one QTableView over its own compact
// table of strings (CellStore), spoken to in the classic grid vocabulary.
//
// Numbering: columns and rows count from 0 including the fixed ones, so with
// one fixed row `Cells(c, 0)` is the header text of column c and the data rows
// are 1 .. RowCount() - 1. The fixed row is drawn as the horizontal header
// (it never scrolls away); the fixed column (FixedCols 1) is drawn as the
// vertical header and is the handle by which the user drags a row to another
// place when RowMoving is on. A grid always keeps at least one row and one
// column that are not fixed.
//
// Rows all have the same height, DefaultRowHeight (when the user drags a row
// border, every row takes the new height). Heights and widths are given
// without the one-pixel grid line, as the pages count them: a column of width
// w takes w + 1 pixels. ColWidths(c) = -1 hides column c.
//
// Filling: outside BeginUpdate/EndUpdate every change is shown at once; for a
// large fill, bracket it with BeginUpdate/EndUpdate (nestable) so that the
// view is told once at the end. setCellBytes takes the data files' own
// Windows-1252 bytes without a round trip through QString.
//
// Modes: browsing with RowSelect (whole rows selected), or cell selection;
// Editing makes cells editable with the cell editor always shown on the
// current cell (it needs RowSelect off, as in the classic grid). The grid has
// one editor, its own: it always belongs to the current cell and moves with
// it, whatever moves it (the program, Tab and Shift+Tab, Enter, the arrows, a
// click), and its text starts selected, so typing replaces the cell. Every
// keystroke goes into the cell at once, so Cells() of the current cell
// follows the editor and nothing is left to commit. Turning editing or the
// editor off closes it; while it is closed the cells take no typing. Changes
// to the cells (a reload, a sort, a page cutting a text) show in the open
// editor at once.
//
// Keys: the key filter sees every character before it reaches a cell, for
// the cell it is meant for: typed keys (control characters such as backspace
// '\b' and Enter '\r' too, not Tab), input-method text and pasted text
// (character by character), in the grid and in the editor; it may change the
// character or return false to drop it. A page limits lengths and character
// classes this way (and beeps through its Dialogs when it drops one).

#include <QColor>
#include <QHash>
#include <QPointer>
#include <QStaticText>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "controls/CellStore.h"
#include "controls/ControlTag.h"

class QLineEdit;

namespace stallmark {

class GridModel;
class GridDelegate;
class GridHeader;
class GridCellEdit;

// What a draw-cell hook gets: the cell's rectangle inside its grid lines and
// the colours the grid would use. Fixed cells have fixed == true.
struct GridCellPaint {
    QPainter& painter;
    QRect rect;
    int col;
    int row;
    bool selected;
    bool fixed;
    QColor background;
    QColor text;
};

class TStringGrid : public QTableView, public TagHolder {
    Q_OBJECT

public:
    using KeyFilter = std::function<bool(int col, int row, QChar& ch)>;
    // Return true when the hook painted the cell (background included; the
    // grid lines are already drawn); false lets the grid draw it as usual.
    using DrawCellHook = std::function<bool(const GridCellPaint& cell)>;

    explicit TStringGrid(QWidget* parent = nullptr);
    ~TStringGrid() override;

    // --- size ---
    int RowCount() const { return store_.Rows(); }
    void setRowCount(int rows);
    int ColCount() const { return store_.Cols(); }
    void setColCount(int cols);
    int FixedRows() const { return fixedRows_; }
    void setFixedRows(int fixed);  // 0 or 1
    int FixedCols() const { return fixedCols_; }
    void setFixedCols(int fixed);  // 0 or 1

    // --- cells ---
    QString Cells(int col, int row) const;
    void setCells(int col, int row, const QString& text);
    std::string CellBytes(int col, int row) const;  // Windows-1252
    // CellBytes appended to out; false when the cell has characters that Windows-1252
    // lacks (appended as '?').
    bool AppendCellBytes(int col, int row, std::string& out) const;
    // The same written to out, which has room for CellLength(col, row) bytes.
    bool CopyCellBytes(int col, int row, char* out) const;
    void setCellBytes(int col, int row, std::string_view bytes);
    // Columns 0 .. fields.size() - 1 of one row from bytes (the fast path of a fill).
    void setRowBytes(int row, std::span<const std::string_view> fields);
    int CellLength(int col, int row) const;
    QStringList RowTexts(int row) const;
    void setRowTexts(int row, const QStringList& texts);  // from column 0; missing ones emptied
    QStringList ColTexts(int col) const;
    void setColTexts(int col, const QStringList& texts);  // from row 0; missing ones emptied
    void ClearCells();                                    // every cell empty, sizes kept
    // Trades the grid's cells for those of cells (rows, texts and all): a list keeps a
    // whole table aside and shows it again without filling it anew. The grid keeps its
    // column count (cells of another count are cut or widened to it) and at least one
    // row below the fixed ones; the current row stays where it is, or the last row.
    void SwapCells(CellStore& cells);
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return updateDepth_ > 0; }
    // Tells the view now about changes still pending (done by itself before
    // painting, input and the calls that need the view; a posted flush does
    // it otherwise on the next turn of the event loop).
    void Flush();

    // --- rows (programmatic; rowMoved is only for the user's drags) ---
    void InsertRow(int row);  // an empty row at index row (at most RowCount)
    void DeleteRow(int row);  // the last non-fixed row is emptied, not removed
    void MoveRow(int from, int to);
    // order[i] is the old index of the data row that goes to data row
    // FixedRows() + i; a permutation of FixedRows() .. RowCount() - 1.
    void PermuteRows(const std::vector<int>& order);
    // The texts of rows in the columns on screen laid out now, ahead of the paint that
    // brings them on screen (one of the next screens a caller expects to show).
    void LayOutAhead(const std::vector<int>& rows) const;

    // --- current cell ---
    int Row() const { return curRow_; }
    void setRow(int row);
    int Col() const { return curCol_; }
    void setCol(int col);
    void setCurrentCell(int col, int row);
    int TopRow() const;
    void setTopRow(int row);
    int VisibleRowCount() const;

    // --- geometry ---
    // Sizes from settings may be anything: heights are kept to 1 .. kMaxRowHeight,
    // widths to kMaxColWidth (a negative width hides the column).
    static constexpr int kMaxRowHeight = 1000;
    static constexpr int kMaxColWidth = 10000;
    int DefaultRowHeight() const { return defaultRowHeight_; }
    void setDefaultRowHeight(int height);
    int RowHeights(int row) const;
    int DefaultColWidth() const { return defaultColWidth_; }
    void setDefaultColWidth(int width);  // every column takes it (hidden ones are shown)
    int ColWidths(int col) const;
    void setColWidths(int col, int width);  // negative: hidden, read back as -1
    // A column that must never clip a value of this form (a date, a count of
    // days): while shown it is at least as wide as this text in the grid's
    // font with the cell margins, whatever width it is given, the user drags
    // it to, or the font becomes. Empty: no minimum.
    void setColMinText(int col, const QString& text);
    QString ColMinText(int col) const;
    int MinColWidth(int col) const;
    int ClientWidth() const;  // the cells' area, fixed row and column included
    int ClientHeight() const;
    int GridLineWidth() const { return 1; }
    QRect CellRect(int col, int row) const;  // in the grid's own coordinates; empty when not shown

    // --- options ---
    void setRowSelect(bool on);
    bool RowSelect() const { return rowSelect_; }
    void setEditing(bool on);
    bool Editing() const { return editing_; }
    void setEditorMode(bool on);  // show / hide the cell editor now
    bool EditorMode() const;
    QLineEdit* CellEditor() const;  // the open cell editor, or null
    void setTabs(bool on);          // Tab moves from cell to cell (default) or leaves the grid
    bool Tabs() const { return tabs_; }
    void setRowMoving(bool on);
    bool RowMoving() const { return rowMoving_; }
    // Allows or forbids the user's sizing of rows and columns together.
    void SetGridSizing(bool allowed);
    void setRowSizing(bool on);
    bool RowSizing() const { return rowSizing_; }
    void setColSizing(bool on);
    bool ColSizing() const { return colSizing_; }
    void setVertLines(bool on);  // lines between the columns
    bool VertLines() const { return vertLines_; }
    void setHorzLines(bool on);  // lines between the rows
    bool HorzLines() const { return horzLines_; }

    // --- look ---
    void setTextColor(const QColor& color);
    QColor TextColor() const { return textColor_; }
    void setBackgroundColor(const QColor& color);
    QColor BackgroundColor() const { return backColor_; }
    void setFixedColor(const QColor& color);
    QColor FixedColor() const { return fixedColor_; }
    // Data cells of a column: Qt::AlignLeft (default), AlignRight, AlignHCenter.
    void setColumnAlignment(int col, Qt::Alignment alignment);
    Qt::Alignment ColumnAlignment(int col) const;
    void setFixedAlignment(Qt::Alignment alignment);  // the fixed cells' text
    // Text position: `left` pixels from a cell's left edge (left-aligned),
    // `right` pixels from its right edge (right-aligned), `top` below its top.
    void setCellMargins(int left, int top, int right);
    void setDrawCellHook(DrawCellHook hook) {
        drawHook_ = std::move(hook);
        viewport()->update();
    }
    void setKeyFilter(KeyFilter filter) { keyFilter_ = std::move(filter); }
    // Draws text the way the grid draws a cell (for draw-cell hooks).
    void DrawCellText(const GridCellPaint& cell, const QString& text, Qt::Alignment alignment) const;

    // --- hint ---
    void setHint(const QString& hint) { hint_ = hint; }
    QString Hint() const { return hint_; }
    void setShowHint(bool on) { showHint_ = on; }
    bool ShowHint() const { return showHint_; }

    // For the cell editor and the headers.
    void PaintFixedCell(QPainter& painter, const QRect& rect, int col, int row) const;
    void PaintDataCell(QPainter& painter, const QRect& rect, int col, int row, bool selected, bool focused) const;
    bool FilterKey(QChar& ch);  // runs the key filter for the current cell
    bool FilterKeyAt(int col, int row, QChar& ch);
    void EditorTextEdited(const QString& text);
    void EditorTab(bool forward);
    void EditorMove(QKeyEvent* event);
    void EditorRevert();
    // Tab (forward) or Shift+Tab: the next (previous) shown cell, on to the
    // next (previous) row; at the last (first) cell it stays. A grid with its
    // own idea of Tab overrides it.
    virtual void TabMove(bool forward);
    const CellStore& Store() const { return store_; }
    // From now on the rows whose cells are set are noted (Store().RowsSetSinceMark).
    void MarkRows() { store_.MarkRows(); }
    void keyboardSearch(const QString& search) override;  // no jump-to-text in a grid

signals:
    void cellSelected(int col, int row);  // the current cell changed (by the user or the program)
    void cellClicked(int col, int row);
    void cellDoubleClicked(int col, int row);
    void cellEdited(int col, int row);         // the user changed a cell's text in the editor
    void rowMoved(int from, int to);           // the user dragged row `from` to index `to`
    void defaultRowHeightChanged(int height);  // by the user's row sizing
    void colWidthChanged(int col, int width);  // by the user's column sizing

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void mousePressEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;

private:
    friend class GridModel;
    friend class GridCellEdit;

    QModelIndex IndexOf(int col, int row) const;
    void MarkDirty(bool reset);
    void ApplyGeometry();
    void ApplyRowHeight();
    void ApplyColumn(int col);
    void ApplyPalette();
    void ApplyModes();
    void ApplyHeaders();
    void ApplyRowResizeMode();
    void CellChanged(int col, int row);
    void RowsChanged(int first, int last);
    void SetViewCurrent();
    void OpenEditorIfWanted();
    void CloseEditor();
    void FollowCurrentCell();
    void BindEditor();
    void RefreshEditorText();
    void PlaceEditor();
    void ApplyColumnMinima();
    void OnSectionMoved(int logical, int oldVisual, int newVisual);
    void OnRowSectionResized(int logical, int oldSize, int newSize);
    void OnColSectionResized(int logical, int oldSize, int newSize);
    bool EffectiveEditing() const { return editing_ && !rowSelect_; }

    // A cell's text as drawn: laid out once and kept while it is on screen, as
    // a paint draws the same few screenfuls of texts again and again.
    struct LaidOutText {
        QStaticText text;
        int width = 0;       // in pixels, as the font measures it
        bool plain = false;  // no control characters: drawn from `text`
    };
    LaidOutText& LaidOut(const QString& text) const;

    CellStore store_;
    mutable QHash<QString, LaidOutText> laidOut_;  // cleared when the font changes or it grows past a few screens
    GridModel* model_;
    GridDelegate* delegate_;
    GridHeader* hHeader_;
    GridHeader* vHeader_;
    GridCellEdit* editor_ = nullptr;  // the one editor, shown while editorOpen_
    bool editorOpen_ = false;

    int fixedRows_ = 1;
    int fixedCols_ = 0;
    int curRow_ = 1;
    int curCol_ = 0;
    int updateDepth_ = 0;
    bool dirty_ = false;         // the view has not been told everything
    bool pendingReset_ = false;  // ... and needs a full reset (columns or fixed cells changed)
    bool flushPosted_ = false;
    bool flushing_ = false;
    int defaultRowHeight_ = 24;
    int defaultColWidth_ = 64;
    std::vector<int> colWidths_;
    std::vector<QString> minTexts_;
    std::vector<Qt::Alignment> alignments_;
    Qt::Alignment fixedAlignment_ = Qt::AlignLeft;
    int marginLeft_ = 2;
    int marginTop_ = 2;
    int marginRight_ = 5;

    bool rowSelect_ = false;
    bool editing_ = false;
    bool editorWanted_ = false;
    bool tabs_ = true;
    bool rowMoving_ = false;
    bool rowSizing_ = false;
    bool colSizing_ = false;
    bool vertLines_ = true;
    bool horzLines_ = true;
    bool showHint_ = false;
    QString hint_;
    QColor textColor_;
    QColor backColor_;
    QColor fixedColor_;
    QColor lineColor_;
    QString editorOriginal_;

    KeyFilter keyFilter_;
    DrawCellHook drawHook_;
    bool keyFiltered_ = false;  // the key now being forwarded has been filtered
    bool internalChange_ = false;
    bool notifySelect_ = true;
    // What the row header was last told, so that a load of many rows does not have it go
    // through every row again for a height or a mode its rows already have: the resize
    // mode given to every row (-1 before the first), and whether every row is as high as
    // the header's default (a row dragged to another height makes it false).
    int rowModeApplied_ = -1;
    bool rowsAtDefault_ = false;
};

}  // namespace stallmark
