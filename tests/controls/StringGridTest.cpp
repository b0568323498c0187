#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QToolTip>
#include <limits>

#include "controls/StringGrid.h"
#include "support/ScrollBarParts.h"

namespace stallmark {
namespace {

// A grid like the General list's: three columns, a header row, shown offscreen.
struct GridFixture : ::testing::Test {
    QWidget window;
    TStringGrid* grid = new TStringGrid(&window);

    GridFixture() {
        grid->setObjectName(QStringLiteral("SGrid_Test"));
        grid->setColCount(3);
        grid->setRowCount(2);
        grid->setDefaultRowHeight(16);
        grid->setColWidths(0, 62);
        grid->setColWidths(1, 159);
        grid->setColWidths(2, 70);
        grid->setRowTexts(0, {"Type", "Description", "Value"});
        grid->setGeometry(0, 0, 320, 200);
        window.resize(320, 200);
        window.show();
        grid->Flush();
    }

    void Fill(int rows) {
        grid->BeginUpdate();
        grid->setRowCount(rows + 1);
        for (int r = 1; r <= rows; ++r) {
            grid->setCells(0, r, QStringLiteral("T%1").arg(r));
            grid->setCells(1, r, QStringLiteral("Item %1").arg(r));
            grid->setCells(2, r, QString::number(r * 10));
        }
        grid->EndUpdate();
    }

    QPoint CellCentre(int col, int row) {
        const QRect r = grid->CellRect(col, row);
        return grid->viewport()->mapFrom(grid, r.center());
    }

    QLineEdit* Editor() { return grid->CellEditor(); }
};

TEST_F(GridFixture, HeaderRowIsRowZeroAndDataRowsFollow) {
    Fill(3);
    EXPECT_EQ(grid->RowCount(), 4);
    EXPECT_EQ(grid->Cells(1, 0), QStringLiteral("Description"));
    EXPECT_EQ(grid->model()->rowCount(), 3);
    EXPECT_EQ(grid->model()->headerData(2, Qt::Horizontal).toString(), QStringLiteral("Value"));
    EXPECT_EQ(grid->model()->index(0, 1).data().toString(), QStringLiteral("Item 1"));
    EXPECT_TRUE(grid->horizontalHeader()->isVisible());
    EXPECT_EQ(grid->horizontalHeader()->height(), 17);
    EXPECT_EQ(grid->rowHeight(0), 17);
    EXPECT_EQ(grid->columnWidth(1), 160);
    // Out-of-range cells read empty and ignore writes.
    grid->setCells(7, 1, QStringLiteral("x"));
    EXPECT_TRUE(grid->Cells(7, 1).isEmpty());
    // At least one data row and column always remain.
    grid->setRowCount(0);
    EXPECT_EQ(grid->RowCount(), 2);
    grid->setColCount(0);
    EXPECT_EQ(grid->ColCount(), 1);
}

TEST_F(GridFixture, HiddenColumnsReadBackMinusOneAndShowAgain) {
    grid->setColWidths(1, -1);
    EXPECT_EQ(grid->ColWidths(1), -1);
    EXPECT_TRUE(grid->isColumnHidden(1));
    grid->setColWidths(1, -5);
    EXPECT_EQ(grid->ColWidths(1), -1);
    grid->setColWidths(1, 40);
    EXPECT_FALSE(grid->isColumnHidden(1));
    EXPECT_EQ(grid->columnWidth(1), 41);
    // Widths and hidden columns survive a change of the column count.
    grid->setColWidths(2, -1);
    grid->setColCount(4);
    grid->Flush();
    EXPECT_TRUE(grid->isColumnHidden(2));
    EXPECT_EQ(grid->columnWidth(0), 63);
    EXPECT_EQ(grid->ColWidths(3), grid->DefaultColWidth());
    // The client width counts every shown column as width + 1.
    grid->setColWidths(2, 70);
    EXPECT_EQ(grid->CellRect(1, 1).left(), grid->CellRect(0, 1).left() + 63);
}

TEST_F(GridFixture, RowSelectClickAndProgrammaticMoves) {
    Fill(20);
    grid->setRowSelect(true);
    QSignalSpy selected(grid, &TStringGrid::cellSelected);
    QSignalSpy clicked(grid, &TStringGrid::cellClicked);
    grid->setRow(5);
    EXPECT_EQ(grid->Row(), 5);
    ASSERT_EQ(selected.count(), 1);
    EXPECT_EQ(selected.at(0).at(1).toInt(), 5);
    EXPECT_EQ(grid->selectionModel()->selectedRows().size(), 1);
    EXPECT_EQ(grid->selectionModel()->selectedRows().at(0).row(), 4);
    grid->setRow(5);  // no change, no signal
    EXPECT_EQ(selected.count(), 1);
    grid->setTopRow(1);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(1, 3));
    EXPECT_EQ(grid->Row(), 3);
    EXPECT_EQ(grid->Col(), 1);
    ASSERT_EQ(clicked.count(), 1);
    EXPECT_EQ(clicked.at(0).at(0).toInt(), 1);
    EXPECT_EQ(clicked.at(0).at(1).toInt(), 3);
    // A right click leaves the selection alone.
    QTest::mouseClick(grid->viewport(), Qt::RightButton, {}, CellCentre(1, 5));
    EXPECT_EQ(grid->Row(), 3);
    QTest::keyClick(grid, Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 4);
    // Typing a letter does not jump to a row starting with it.
    QTest::keyClick(grid, Qt::Key_T);
    EXPECT_EQ(grid->Row(), 4);
    // Shrinking below the current row keeps a valid current row.
    grid->setRowCount(3);
    EXPECT_EQ(grid->Row(), 2);
    grid->Flush();
    EXPECT_EQ(grid->currentIndex().row(), 1);
}

TEST_F(GridFixture, EditorFollowsTheCurrentCellAndCellsFollowTheEditor) {
    Fill(3);
    QSignalSpy edited(grid, &TStringGrid::cellEdited);
    grid->setRowSelect(false);
    grid->setEditing(true);
    grid->setCurrentCell(1, 2);
    grid->setEditorMode(true);
    ASSERT_TRUE(grid->EditorMode());
    QLineEdit* editor = Editor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("Item 2"));
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_End);
    QTest::keyClicks(editor, "x");
    EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("Item 2x"));
    ASSERT_EQ(edited.count(), 1);
    // A page cutting the cell updates the open editor.
    grid->setCells(1, 2, QStringLiteral("Item"));
    EXPECT_EQ(editor->text(), QStringLiteral("Item"));
    // Escape puts back the text the cell had when the editor opened.
    QTest::keyClick(editor, Qt::Key_Escape);
    EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("Item 2"));
    // Down moves to the next row; the editor goes with it.
    QTest::keyClick(editor, Qt::Key_Down);
    EXPECT_EQ(grid->Row(), 3);
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(Editor()->text(), QStringLiteral("Item 3"));
    // Tab moves to the next cell.
    QTest::keyClick(Editor(), Qt::Key_Tab);
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_TRUE(grid->EditorMode());
    // The editor's row going away closes it; the editor comes back on the new current row.
    grid->setRowCount(3);
    grid->Flush();
    EXPECT_EQ(grid->Row(), 2);
    ASSERT_TRUE(grid->EditorMode());
    EXPECT_EQ(Editor()->text(), grid->Cells(2, 2));
    // Leaving editing closes the editor; browsing never opens one.
    grid->setEditing(false);
    EXPECT_FALSE(grid->EditorMode());
    grid->setEditorMode(true);
    EXPECT_FALSE(grid->EditorMode());
    QTest::keyClick(grid, Qt::Key_A);
    EXPECT_FALSE(grid->EditorMode());
    EXPECT_EQ(grid->Cells(2, 2), QStringLiteral("20"));
}

TEST_F(GridFixture, KeyFilterRefusesAndChangesTypedCharacters) {
    Fill(2);
    // Value column: digits only, at most 3 characters; letters elsewhere turned to capitals.
    std::vector<QChar> seen;
    grid->setKeyFilter([&](int col, int row, QChar& ch) {
        seen.push_back(ch);
        if (ch.unicode() < 32) return true;
        if (col == 2) return ch.isDigit() && grid->CellLength(col, row) < 3;
        ch = ch.toUpper();
        return true;
    });
    grid->setEditing(true);
    grid->setCurrentCell(2, 1);
    grid->setEditorMode(true);
    QLineEdit* editor = Editor();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, "4a5x67");
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("456"));
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("45"));
    EXPECT_EQ(seen.back(), QChar('\b'));
    grid->setCol(0);
    editor = Editor();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, "dye");
    EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("DYE"));
    // The filter also sees keys typed into the grid itself while browsing.
    grid->setEditing(false);
    grid->setFocus();
    seen.clear();
    QTest::keyClick(grid, Qt::Key_Q);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], QChar('q'));
}

TEST_F(GridFixture, UserDragsARowByItsHandle) {
    grid->setFixedCols(1);
    grid->setColCount(3);
    grid->setColWidths(0, 16);
    grid->setRowMoving(true);
    Fill(5);
    grid->setRow(2);
    QSignalSpy moved(grid, &TStringGrid::rowMoved);
    QHeaderView* handle = grid->verticalHeader();
    ASSERT_TRUE(handle->isVisible());
    EXPECT_EQ(handle->width(), 17);
    // A dragged row lands on another once the mouse passes that row's middle.
    auto centreOf = [&](int row) {
        return QPoint(handle->width() / 2,
                      handle->sectionViewportPosition(row - 1) + handle->sectionSize(row - 1) / 2 + 2);
    };
    QTest::mousePress(handle->viewport(), Qt::LeftButton, {}, centreOf(2));
    QTest::mouseMove(handle->viewport(), centreOf(3));
    QTest::mouseMove(handle->viewport(), centreOf(4));
    QTest::mouseRelease(handle->viewport(), Qt::LeftButton, {}, centreOf(4));
    ASSERT_EQ(moved.count(), 1);
    EXPECT_EQ(moved.at(0).at(0).toInt(), 2);
    EXPECT_EQ(moved.at(0).at(1).toInt(), 4);
    EXPECT_EQ(grid->Cells(1, 4), QStringLiteral("Item 2"));
    EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("Item 3"));
    EXPECT_EQ(grid->Row(), 4);  // the selection went with the row
    // The handle's order stays one to one with the rows.
    EXPECT_EQ(handle->logicalIndex(3), 3);
}

TEST_F(GridFixture, ProgrammaticRowOperations) {
    Fill(4);
    grid->MoveRow(1, 4);
    EXPECT_EQ(grid->Cells(1, 4), QStringLiteral("Item 1"));
    grid->PermuteRows({4, 3, 2, 1});
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("Item 1"));
    EXPECT_EQ(grid->Cells(1, 4), QStringLiteral("Item 2"));
    grid->InsertRow(2);
    EXPECT_EQ(grid->RowCount(), 6);
    EXPECT_TRUE(grid->Cells(1, 2).isEmpty());
    grid->DeleteRow(2);
    grid->DeleteRow(2);
    grid->DeleteRow(2);
    grid->DeleteRow(2);
    EXPECT_EQ(grid->RowCount(), 2);
    grid->DeleteRow(1);  // the last data row is emptied, not removed
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_TRUE(grid->Cells(1, 1).isEmpty());
    EXPECT_EQ(grid->Cells(1, 0), QStringLiteral("Description"));
    grid->Flush();
    EXPECT_EQ(grid->model()->rowCount(), 1);
}

// Cells traded with a store kept aside: the grid shows them at once, keeps its columns
// and at least one data row, and its current row stays inside the rows it has.
TEST_F(GridFixture, SwappedCellsShowWithTheGridsColumnsAndRow) {
    Fill(4);
    grid->setRow(4);
    CellStore aside;
    grid->SwapCells(aside);  // an empty store
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(aside.Rows(), 5);
    EXPECT_EQ(aside.GetBytes(1, 3), "Item 3");
    grid->setRowTexts(0, {"Type", "Description", "Value"});
    grid->setCells(1, 1, QStringLiteral("Only"));
    grid->SwapCells(aside);
    EXPECT_EQ(grid->RowCount(), 5);
    EXPECT_EQ(grid->Cells(1, 3), QStringLiteral("Item 3"));
    EXPECT_EQ(grid->Row(), 1);
    grid->Flush();
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_EQ(grid->model()->data(grid->model()->index(2, 1)).toString(), QStringLiteral("Item 3"));
    EXPECT_EQ(aside.GetBytes(1, 1), "Only");

    CellStore wide;
    wide.Resize(5, 1);
    grid->SwapCells(wide);
    EXPECT_EQ(grid->ColCount(), 3);
    EXPECT_EQ(grid->RowCount(), 2);
}

TEST_F(GridFixture, RowByRowFillIsBatchedUntilTheViewNeedsIt) {
    // The literal pattern: RowCount = r + 1 for every line read.
    for (int r = 1; r <= 2000; ++r) {
        grid->setRowCount(r + 1);
        grid->setCells(0, r, QString::number(r));
    }
    EXPECT_EQ(grid->model()->rowCount(), 1);  // not yet told
    grid->setRow(2000);
    EXPECT_EQ(grid->model()->rowCount(), 2000);
    EXPECT_EQ(grid->currentIndex().row(), 1999);
    const QImage shot = grid->grab().toImage();
    EXPECT_FALSE(shot.isNull());
    // Bytes from a data file go in without a detour.
    grid->setCellBytes(1, 1, "Caf\xE9 \x80");
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("Caf\u00E9 \u20AC"));
    EXPECT_EQ(grid->CellBytes(1, 1), "Caf\xE9 \x80");
}

TEST_F(GridFixture, SizingLinesColoursAndHook) {
    Fill(3);
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    grid->SetGridSizing(true);
    EXPECT_EQ(grid->horizontalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_EQ(grid->verticalHeader()->sectionResizeMode(0), QHeaderView::Interactive);
    EXPECT_EQ(grid->columnWidth(1), 160);  // widths kept
    // The user's column sizing is read back without the line.
    QSignalSpy widths(grid, &TStringGrid::colWidthChanged);
    grid->horizontalHeader()->resizeSection(1, 101);
    EXPECT_EQ(grid->ColWidths(1), 100);
    ASSERT_EQ(widths.count(), 1);
    // The user's row sizing gives every row the new height.
    QSignalSpy heights(grid, &TStringGrid::defaultRowHeightChanged);
    grid->verticalHeader()->resizeSection(1, 31);
    EXPECT_EQ(grid->DefaultRowHeight(), 30);
    EXPECT_EQ(grid->rowHeight(2), 31);
    EXPECT_EQ(heights.count(), 1);
    grid->SetGridSizing(false);
    EXPECT_EQ(grid->DefaultRowHeight(), 30);
    EXPECT_EQ(grid->verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);

    grid->setBackgroundColor(QColor(250, 240, 200));
    grid->setTextColor(Qt::darkBlue);
    grid->setVertLines(false);
    EXPECT_EQ(grid->BackgroundColor(), QColor(250, 240, 200));
    EXPECT_FALSE(grid->VertLines());
    EXPECT_TRUE(grid->HorzLines());
    grid->setVertLines(true);
    grid->setColumnAlignment(2, Qt::AlignRight);
    std::vector<std::pair<int, int>> drawn;
    grid->setDrawCellHook([&](const GridCellPaint& cell) {
        drawn.emplace_back(cell.col, cell.row);
        return false;
    });
    grid->setRowSelect(true);
    grid->setRow(1);
    const QImage shot = grid->grab().toImage();
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), std::make_pair(2, 0)), drawn.end());
    EXPECT_NE(std::find(drawn.begin(), drawn.end(), std::make_pair(2, 3)), drawn.end());
    // A background pixel of an unselected data cell has the list's colour.
    const QRect cell = grid->CellRect(0, 3);
    EXPECT_EQ(shot.pixelColor(cell.left() + 1, cell.bottom() - 1), QColor(250, 240, 200));
    // Right-aligned text ends 5 pixels before the cell's right edge.
    const QRect value = grid->CellRect(2, 3);
    bool inkNearRight = false, inkBeyondMargin = false;
    for (int y = value.top(); y <= value.bottom(); ++y) {
        for (int x = value.right() - 10; x <= value.right(); ++x) {
            if (shot.pixelColor(x, y) == QColor(250, 240, 200)) continue;
            if (x > value.right() - 5)
                inkBeyondMargin = true;
            else
                inkNearRight = true;
        }
    }
    EXPECT_TRUE(inkNearRight);
    EXPECT_FALSE(inkBeyondMargin);
}

// The columns of a cell's area that hold ink (anything but the background).
static std::pair<int, int> InkColumns(const QImage& shot, const QRect& cell, const QColor& background) {
    int first = -1, last = -1;
    for (int x = cell.left(); x < cell.right(); ++x)
        for (int y = cell.top(); y < cell.bottom(); ++y)
            if (shot.pixelColor(x, y) != background) {
                if (first < 0) first = x;
                last = x;
                break;
            }
    return {first, last};
}

// Every row has the grid's one height and the resize mode its sizing option asks for,
// whatever came before: rows added, rows removed, the columns changed (a fresh model),
// the height changed, the sizing switched, a row dragged by the player.
TEST_F(GridFixture, EveryRowKeepsTheOneHeightAndModeThroughLoadsAndSizing) {
    QHeaderView* rows = grid->verticalHeader();
    auto expectEven = [&](const char* step) {
        grid->Flush();
        const int want = grid->DefaultRowHeight() + 1;
        const QHeaderView::ResizeMode mode = grid->RowSizing() ? QHeaderView::Interactive : QHeaderView::Fixed;
        ASSERT_EQ(rows->count(), grid->RowCount() - 1) << step;
        for (int i = 0; i < rows->count(); ++i) {
            ASSERT_EQ(rows->sectionSize(i), want) << step << ", row " << i;
            ASSERT_EQ(rows->sectionResizeMode(i), mode) << step << ", row " << i;
        }
    };
    Fill(40);
    expectEven("filled");
    grid->setRowSizing(true);
    expectEven("sizing on");
    Fill(120);
    expectEven("more rows, sizing on");
    rows->resizeSection(7, 41);  // dragged: every row takes it
    EXPECT_EQ(grid->DefaultRowHeight(), 40);
    expectEven("a row dragged");
    grid->setRowSizing(false);
    Fill(300);
    expectEven("more rows, sizing off");
    grid->setColCount(4);  // the model made anew
    Fill(30);
    expectEven("columns changed");
    grid->setDefaultRowHeight(18);
    Fill(90);
    expectEven("height changed");
    // Dragged to nothing at the smallest height: the height is already the grid's, yet
    // the row differs until the rows are laid out again.
    grid->setDefaultRowHeight(1);
    grid->setRowSizing(true);
    rows->resizeSection(3, 1);
    grid->setColCount(3);
    Fill(50);
    expectEven("dragged below the smallest height, then the model made anew");
}

// Texts are laid out once and drawn again from that: what reaches the screen is what the
// font draws, also after the font changes, and a text with a line break still shows.
TEST_F(GridFixture, CellTextsDrawAsTheFontDrawsThemAfterAFontChangeToo) {
    Fill(3);
    const QColor background(255, 255, 255);
    grid->setBackgroundColor(background);
    grid->setTextColor(Qt::black);
    grid->setColumnAlignment(2, Qt::AlignRight);
    grid->setCells(1, 2, QStringLiteral("Katana of Might"));
    auto drawnAlone = [&](const QRect& cell, const QString& text, int x) {
        QImage alone(grid->size(), QImage::Format_ARGB32_Premultiplied);
        alone.fill(background);
        QPainter p(&alone);
        p.setFont(grid->font());
        p.setPen(Qt::black);
        p.setClipRect(cell);
        p.drawText(QPoint(x, cell.top() + 2 + QFontMetrics(grid->font()).ascent()), text);
        return InkColumns(alone, cell, background);
    };
    for (int size : {9, 16}) {
        QFont font = grid->font();
        font.setPixelSize(size);
        grid->setFont(font);
        for (int twice = 0; twice < 2; ++twice) {  // the second paint from the kept layouts
            const QImage shot = grid->grab().toImage();
            const QRect desc = grid->CellRect(1, 2);
            EXPECT_EQ(InkColumns(shot, desc, background),
                      drawnAlone(desc, QStringLiteral("Katana of Might"), desc.left() + 2))
                << "pixel size " << size;
            const QRect value = grid->CellRect(2, 3);
            const int width = QFontMetrics(grid->font()).horizontalAdvance(QStringLiteral("30"));
            EXPECT_EQ(InkColumns(shot, value, background),
                      drawnAlone(value, QStringLiteral("30"), value.left() + value.width() - width - 5))
                << "pixel size " << size;
        }
    }
    grid->setCells(1, 3, QStringLiteral("two\nlines"));
    const QRect broken = grid->CellRect(1, 3);
    EXPECT_GE(InkColumns(grid->grab().toImage(), broken, background).first, broken.left());
}

// The grid paints its cells itself: each text stays inside its own cell (a long one is cut
// at the cell's edge), the selected cell shows the highlight, a repaint of part of the
// grid gives the same pixels as a paint of the whole, and a draw-cell hook that draws
// text the grid's way gets its painter back as it gave it.
TEST_F(GridFixture, EachCellIsPaintedInItsOwnPlaceWholeOrInPart) {
    Fill(6);
    const QColor background(255, 255, 255);
    grid->setBackgroundColor(background);
    grid->setTextColor(Qt::black);
    grid->setCells(2, 2, QStringLiteral("A value far too long for its column"));
    grid->setRow(4);
    grid->setCol(1);
    QApplication::processEvents();
    const QImage whole = grid->grab().toImage();
    // The long text in the last column is cut at its cell's right edge: the empty
    // space beyond it holds no ink.
    const QRect longCell = grid->CellRect(2, 2);
    const QRect beyond(longCell.right() + 2, longCell.top(), 8, longCell.height() - 1);  // past the line
    ASSERT_LT(beyond.right(), grid->viewport()->geometry().right());
    EXPECT_GE(InkColumns(whole, longCell, background).second, longCell.right() - 12);
    EXPECT_EQ(InkColumns(whole, beyond, background).first, -1);
    // The current cell is highlighted, its neighbours are not.
    const QColor highlight = grid->palette().color(QPalette::Active, QPalette::Highlight);
    const QRect current = grid->CellRect(1, 4);
    EXPECT_EQ(whole.pixelColor(current.right() - 2, current.top() + 1), highlight);
    const QRect left = grid->CellRect(0, 4);
    EXPECT_EQ(whole.pixelColor(left.right() - 2, left.top() + 1), background);
    // One cell changed and repainted alone: the grid looks as a paint of the whole.
    grid->setCells(1, 5, QStringLiteral("Changed"));
    QApplication::processEvents();
    const QRect changed = grid->CellRect(1, 5);
    grid->viewport()->repaint(QRect(grid->viewport()->mapFrom(grid, changed.topLeft()), changed.size()));
    QImage part(grid->size(), QImage::Format_ARGB32_Premultiplied);
    part.fill(Qt::transparent);
    grid->render(&part);
    QImage full(grid->size(), QImage::Format_ARGB32_Premultiplied);
    full.fill(Qt::transparent);
    grid->viewport()->update();
    grid->render(&full);
    EXPECT_EQ(part, full);
    EXPECT_NE(full.copy(changed), whole.copy(changed));
    // A hook that draws its own text the grid's way.
    QPen pens[2];
    QRect clips[2];
    grid->setDrawCellHook([&](const GridCellPaint& cell) {
        if (cell.fixed || cell.row != 2) return false;
        cell.painter.fillRect(cell.rect, cell.background);
        pens[0] = cell.painter.pen();
        clips[0] = cell.painter.clipBoundingRect().toAlignedRect();
        grid->DrawCellText(cell, cell.col == 2 ? QStringLiteral("Spills over the edge of the cell") : QString(),
                           Qt::AlignLeft);
        pens[1] = cell.painter.pen();
        clips[1] = cell.painter.clipBoundingRect().toAlignedRect();
        return true;
    });
    const QImage hooked = grid->grab().toImage();
    EXPECT_EQ(pens[0], pens[1]);
    EXPECT_EQ(clips[0], clips[1]);
    EXPECT_EQ(InkColumns(hooked, beyond, background).first, -1);
}

// The scroll bars are drawn in the grid's flat look, their parts where the style puts
// them: the slider shows where the style's slider lies and moves with the rows, and a
// click on a button or on the groove scrolls as on any scroll bar.
TEST_F(GridFixture, ScrollBarsShowTheirPartsWhereTheyActAndScroll) {
    Fill(200);
    QApplication::processEvents();
    QScrollBar* bar = grid->verticalScrollBar();
    ASSERT_TRUE(bar->isVisible());
    auto partRect = [&](QStyle::SubControl part) { return test::ScrollBarPart(bar, part); };
    const QColor face = bar->palette().color(QPalette::Button);
    for (int row : {1, 120}) {
        grid->setRow(row);
        QApplication::processEvents();
        const QImage shot = bar->grab().toImage();
        const QRect slider = partRect(QStyle::SC_ScrollBarSlider);
        ASSERT_TRUE(slider.isValid());
        EXPECT_EQ(shot.pixelColor(slider.center()), face) << "row " << row;
        const QRect page = partRect(row == 1 ? QStyle::SC_ScrollBarAddPage : QStyle::SC_ScrollBarSubPage);
        ASSERT_TRUE(page.isValid());
        EXPECT_NE(shot.pixelColor(page.center()), face) << "row " << row;
    }
    const int at = bar->value();
    QTest::mouseClick(bar, Qt::LeftButton, {}, partRect(QStyle::SC_ScrollBarAddLine).center());
    EXPECT_EQ(bar->value(), at + 1);
    QTest::mouseClick(bar, Qt::LeftButton, {}, partRect(QStyle::SC_ScrollBarSubPage).center());
    EXPECT_EQ(bar->value(), std::max(bar->minimum(), at + 1 - bar->pageStep()));
}

TEST_F(GridFixture, HintShowsOnlyWhenSwitchedOn) {
    grid->setTag(7);
    EXPECT_EQ(grid->tag(), 7);
    grid->setHint(QStringLiteral("W D A Silver M = 12000"));
    const QPoint at = CellCentre(0, 1);
    QHelpEvent ask(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &ask);
    EXPECT_TRUE(QToolTip::text().isEmpty());
    grid->setShowHint(true);
    QApplication::sendEvent(grid->viewport(), &ask);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("W D A Silver M = 12000"));
    QToolTip::hideText();
}

// Row headers are told of changes only while a fixed column gives them text: a fill of
// a grid without one leaves them alone, a change to a fixed cell reaches them.
// The grid paints the whole of its own area: a scroll, or focus coming and going,
// repaints the grid and its scroll bar, never the window beneath them.
TEST_F(GridFixture, AScrollOrAFocusChangeRepaintsTheGridNotWhatLiesBeneath) {
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            paints += event->type() == QEvent::Paint;
            return false;
        }
    } beneath, scrollBar;
    Fill(200);
    QApplication::processEvents();
    window.installEventFilter(&beneath);
    grid->verticalScrollBar()->installEventFilter(&scrollBar);
    grid->setRow(150);
    QApplication::processEvents();
    EXPECT_GT(scrollBar.paints, 0);  // it did scroll
    grid->setFocus();
    QApplication::processEvents();
    grid->clearFocus();
    QApplication::processEvents();
    EXPECT_EQ(beneath.paints, 0);
    window.removeEventFilter(&beneath);
    grid->verticalScrollBar()->removeEventFilter(&scrollBar);
}

TEST_F(GridFixture, RowHeadersHearOfChangesOnlyWithAFixedColumn) {
    Fill(3);
    QSignalSpy headers(grid->model(), &QAbstractItemModel::headerDataChanged);
    QSignalSpy data(grid->model(), &QAbstractItemModel::dataChanged);
    Fill(3);
    grid->setCells(1, 2, QStringLiteral("changed"));
    EXPECT_GE(data.count(), 2);
    for (const QList<QVariant>& call : headers) EXPECT_EQ(call.at(0).value<Qt::Orientation>(), Qt::Horizontal);
    grid->setFixedCols(1);
    grid->setColWidths(0, 16);
    headers.clear();
    grid->setCells(0, 2, QStringLiteral("T9"));
    QApplication::processEvents();
    bool vertical = false;
    for (const QList<QVariant>& call : headers)
        vertical = vertical || (call.at(0).value<Qt::Orientation>() == Qt::Vertical && call.at(1).toInt() <= 1 &&
                                call.at(2).toInt() >= 1);
    EXPECT_TRUE(vertical);
    EXPECT_EQ(grid->model()->headerData(1, Qt::Vertical).toString(), QStringLiteral("T9"));
}

TEST_F(GridFixture, FixedColumnCellsAndCellSelection) {
    grid->setFixedCols(1);
    grid->setColWidths(0, 16);
    Fill(3);
    EXPECT_EQ(grid->model()->columnCount(), 2);
    EXPECT_EQ(grid->model()->headerData(1, Qt::Vertical).toString(), QStringLiteral("T2"));
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Description"));
    EXPECT_EQ(grid->CellRect(0, 1).width(), 16);
    grid->setColWidths(0, -1);
    EXPECT_FALSE(grid->verticalHeader()->isVisible());
    EXPECT_EQ(grid->ColWidths(0), -1);
    grid->setColWidths(0, 16);
    EXPECT_TRUE(grid->verticalHeader()->isVisible());
    // The current cell can never be a fixed one.
    grid->setCurrentCell(0, 0);
    EXPECT_EQ(grid->Col(), 1);
    EXPECT_EQ(grid->Row(), 1);
    // Cell selection: one cell selected, not the row.
    grid->setRowSelect(false);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(2, 2));
    EXPECT_EQ(grid->Col(), 2);
    EXPECT_EQ(grid->selectionModel()->selectedIndexes().size(), 1);
}

// The grid's one editor: always on the current cell, whatever moves it, and
// never a second one beside it.
struct EditingFixture : GridFixture {
    QStringList warnings;
    static EditingFixture* current;
    QtMessageHandler previous = nullptr;

    EditingFixture() {
        current = this;
        previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (type != QtDebugMsg && type != QtInfoMsg) current->warnings << text;
            if (current->previous) current->previous(type, context, text);
        });
        // The keyboard focus is only had in the active window.
        window.activateWindow();
        QCoreApplication::processEvents();
        Fill(4);
        grid->setRowSelect(false);
        grid->setEditing(true);
        grid->setCurrentCell(0, 1);
        grid->setEditorMode(true);
        grid->setFocus();
    }
    ~EditingFixture() override { qInstallMessageHandler(previous); }

    int Editors() const { return static_cast<int>(grid->viewport()->findChildren<QLineEdit*>().size()); }
    // The editor is open on the cell, shows its text selected, and lies over it.
    void ExpectEditorOn(int col, int row) {
        QLineEdit* editor = grid->CellEditor();
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(grid->Col(), col);
        EXPECT_EQ(grid->Row(), row);
        EXPECT_EQ(editor->text(), grid->Cells(col, row));
        EXPECT_TRUE(editor->isVisible());
        EXPECT_TRUE(editor->geometry().contains(grid->viewport()->mapFrom(grid, grid->CellRect(col, row).center())));
        EXPECT_EQ(Editors(), 1);
    }
};
EditingFixture* EditingFixture::current = nullptr;

TEST_F(EditingFixture, TheEditorMovesWithTheCurrentCellWhateverMovesIt) {
    ExpectEditorOn(0, 1);
    EXPECT_TRUE(Editor()->hasFocus());
    EXPECT_EQ(Editor()->selectedText(), QStringLiteral("T1"));
    // The program.
    grid->setCol(2);
    ExpectEditorOn(2, 1);
    EXPECT_EQ(Editor()->selectedText(), QStringLiteral("10"));
    grid->setCurrentCell(1, 3);
    ExpectEditorOn(1, 3);
    // Tab, Shift+Tab, across the end of a row both ways.
    QTest::keyClick(Editor(), Qt::Key_Tab);
    ExpectEditorOn(2, 3);
    QTest::keyClick(Editor(), Qt::Key_Tab);
    ExpectEditorOn(0, 4);
    QTest::keyClick(Editor(), Qt::Key_Backtab, Qt::ShiftModifier);
    ExpectEditorOn(2, 3);
    // At the very last cell Tab stays, and keeps the focus in the grid.
    grid->setCurrentCell(2, 4);
    QTest::keyClick(Editor(), Qt::Key_Tab);
    ExpectEditorOn(2, 4);
    EXPECT_TRUE(Editor()->hasFocus());
    // Arrows: up and down always, left and right at the ends of the text.
    QTest::keyClick(Editor(), Qt::Key_Up);
    ExpectEditorOn(2, 3);
    QTest::keyClick(Editor(), Qt::Key_Left);  // the selection goes first
    QTest::keyClick(Editor(), Qt::Key_Home);
    QTest::keyClick(Editor(), Qt::Key_Left);
    ExpectEditorOn(1, 3);
    QTest::keyClick(Editor(), Qt::Key_End);
    QTest::keyClick(Editor(), Qt::Key_Right);
    ExpectEditorOn(2, 3);
    // A click on another cell.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(0, 2));
    ExpectEditorOn(0, 2);
    EXPECT_TRUE(Editor()->hasFocus());
    // What is typed goes into the cell the editor shows, replacing its text.
    QTest::keyClicks(Editor(), "Cloth");
    EXPECT_EQ(grid->Cells(0, 2), QStringLiteral("Cloth"));
    EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("T1"));
    // Enter keeps the cell and selects its text again.
    QTest::keyClick(Editor(), Qt::Key_Return);
    ExpectEditorOn(0, 2);
    EXPECT_EQ(Editor()->selectedText(), QStringLiteral("Cloth"));
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}

TEST_F(EditingFixture, FocusGivenToTheGridGoesToItsEditorWithoutLosingTheSelection) {
    QWidget other(&window);
    other.setFocusPolicy(Qt::StrongFocus);
    other.setGeometry(0, 190, 10, 10);
    other.show();
    grid->setCol(1);
    other.setFocus();
    EXPECT_FALSE(Editor()->hasFocus());
    grid->setFocus();
    EXPECT_TRUE(Editor()->hasFocus());
    EXPECT_TRUE(grid->hasFocus());
    // The editor's selection is the one it had when it last took its cell.
    grid->setCol(2);
    grid->setFocus();
    EXPECT_EQ(Editor()->selectedText(), QStringLiteral("10"));
    // Keys typed at the grid while it edits go into the editor's cell.
    grid->setCol(1);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
    QApplication::sendEvent(grid, &key);
    EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("z"));
}

TEST_F(EditingFixture, ReloadsAndSortsUnderAnOpenEditorShowInIt) {
    grid->setCurrentCell(1, 2);
    QTest::keyClicks(Editor(), "Anvil");
    ASSERT_EQ(grid->Cells(1, 2), QStringLiteral("Anvil"));
    // A sort moves rows under the editor: it shows the row now there.
    grid->PermuteRows({4, 3, 2, 1});
    ExpectEditorOn(1, 2);
    EXPECT_EQ(Editor()->text(), QStringLiteral("Item 3"));
    EXPECT_EQ(grid->Cells(1, 3), QStringLiteral("Anvil"));
    // A reload: the cells emptied and filled again.
    grid->BeginUpdate();
    grid->ClearCells();
    grid->setRowCount(3);
    grid->setCells(1, 2, QStringLiteral("Reloaded"));
    grid->EndUpdate();
    ExpectEditorOn(1, 2);
    EXPECT_EQ(Editor()->text(), QStringLiteral("Reloaded"));
    // The editor's row going away: it goes to the current row.
    grid->setRowCount(2);
    grid->Flush();
    ExpectEditorOn(1, 1);
    // A page cutting the cell while the editor is open.
    QTest::keyClicks(Editor(), "abcdef");
    grid->setCells(1, 1, QStringLiteral("abc"));
    EXPECT_EQ(Editor()->text(), QStringLiteral("abc"));
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}

TEST_F(EditingFixture, LeavingEditingClosesTheEditorAndBrowsingTakesNoTyping) {
    QTest::keyClicks(Editor(), "Dye");
    for (auto leave : {+[](TStringGrid* g) { g->setEditorMode(false); }, +[](TStringGrid* g) { g->setEditing(false); },
                       +[](TStringGrid* g) { g->setRowSelect(true); }}) {
        leave(grid);
        EXPECT_EQ(grid->CellEditor(), nullptr);
        EXPECT_FALSE(grid->EditorMode());
        for (QLineEdit* e : grid->viewport()->findChildren<QLineEdit*>()) EXPECT_FALSE(e->isVisible());
        EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("Dye"));
        // Keys typed now change no cell, and open no editor.
        grid->setFocus();
        QTest::keyClicks(grid, "ZZ");
        QTest::keyClick(grid, Qt::Key_F2);
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, CellCentre(1, 2));
        EXPECT_EQ(grid->CellEditor(), nullptr);
        EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("Dye"));
        EXPECT_EQ(grid->Cells(1, 2), QStringLiteral("Item 2"));
        // Back to editing for the next way out.
        grid->setRowSelect(false);
        grid->setEditing(true);
        grid->setEditorMode(true);
        grid->setCurrentCell(0, 1);
        ExpectEditorOn(0, 1);
    }
    EXPECT_TRUE(warnings.isEmpty()) << warnings.join('\n').toStdString();
}

TEST_F(EditingFixture, TheKeyFilterSeesPastedAndInputMethodTextToo) {
    std::vector<std::pair<int, int>> cells;
    grid->setKeyFilter([&](int col, int row, QChar& ch) {
        cells.emplace_back(col, row);
        if (ch.unicode() < 32) return true;
        if (col == 2) return ch.isDigit();
        ch = ch.toUpper();
        return true;
    });
    grid->setCol(2);
    QGuiApplication::clipboard()->setText(QStringLiteral("1a2 b3"));
    QTest::keyClick(Editor(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("123"));
    QInputMethodEvent composed(QString(), {});
    composed.setCommitString(QStringLiteral("4x5"));
    QApplication::sendEvent(Editor(), &composed);
    EXPECT_EQ(grid->Cells(2, 1), QStringLiteral("12345"));
    for (const auto& cell : cells) EXPECT_EQ(cell, std::make_pair(2, 1));
    grid->setCol(0);
    QApplication::sendEvent(Editor(), &composed);
    EXPECT_EQ(grid->Cells(0, 1), QStringLiteral("4X5"));
    // Nothing is dropped into a cell, and a right click is the window's.
    EXPECT_FALSE(Editor()->acceptDrops());
    EXPECT_EQ(Editor()->contextMenuPolicy(), Qt::NoContextMenu);
}

TEST_F(GridFixture, AColumnWithAMinimumTextNeverClipsIt) {
    grid->setColWidths(1, 21);
    grid->setColMinText(1, QStringLiteral("00000"));
    const int least = QFontMetrics(grid->font()).horizontalAdvance(QStringLiteral("00000")) + 2 + 5;
    EXPECT_EQ(grid->MinColWidth(1), least);
    EXPECT_EQ(grid->ColWidths(1), std::max(21, least));
    grid->setColWidths(1, 10);  // a stored or design width that is too small
    EXPECT_EQ(grid->ColWidths(1), least);
    grid->setColWidths(1, 200);  // wider is the player's choice
    EXPECT_EQ(grid->ColWidths(1), 200);
    grid->setColWidths(1, -1);  // hidden stays hidden
    EXPECT_EQ(grid->ColWidths(1), -1);
    grid->setColWidths(1, 5);
    // A larger font widens it.
    QFont big = grid->font();
    big.setPointSize(big.pointSize() * 3);
    grid->setFont(big);
    const int bigger = QFontMetrics(big).horizontalAdvance(QStringLiteral("00000")) + 2 + 5;
    EXPECT_GT(bigger, least);
    EXPECT_EQ(grid->ColWidths(1), bigger);
    EXPECT_EQ(grid->columnWidth(1), bigger + 1);
    // The player dragging it narrower: it goes back to its minimum.
    grid->SetGridSizing(true);
    grid->horizontalHeader()->resizeSection(1, 8);
    EXPECT_EQ(grid->ColWidths(1), bigger);
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(grid->columnWidth(1), bigger + 1);
    // Other columns are free.
    grid->setColWidths(0, 3);
    EXPECT_EQ(grid->ColWidths(0), 3);
    grid->setColMinText(1, QString());
    grid->setColWidths(1, 5);
    EXPECT_EQ(grid->ColWidths(1), 5);
}

TEST_F(GridFixture, AbsurdSizesFromSettingsAreKeptInRange) {
    Fill(3);
    grid->setDefaultRowHeight(std::numeric_limits<int>::max());
    EXPECT_EQ(grid->DefaultRowHeight(), TStringGrid::kMaxRowHeight);
    grid->setDefaultRowHeight(std::numeric_limits<int>::min());
    EXPECT_EQ(grid->DefaultRowHeight(), 1);
    grid->setDefaultColWidth(std::numeric_limits<int>::max());
    EXPECT_EQ(grid->DefaultColWidth(), TStringGrid::kMaxColWidth);
    EXPECT_EQ(grid->ColWidths(2), TStringGrid::kMaxColWidth);
    grid->setColWidths(1, std::numeric_limits<int>::max());
    EXPECT_EQ(grid->ColWidths(1), TStringGrid::kMaxColWidth);
    EXPECT_EQ(grid->columnWidth(1), TStringGrid::kMaxColWidth + 1);
    grid->setColWidths(1, std::numeric_limits<int>::min());
    EXPECT_EQ(grid->ColWidths(1), -1);
    grid->setDefaultColWidth(-7);
    EXPECT_EQ(grid->DefaultColWidth(), 0);
    grid->setDefaultRowHeight(16);
    grid->setColWidths(0, 62);
    // Still a working grid.
    EXPECT_FALSE(grid->grab().isNull());
    EXPECT_EQ(grid->rowHeight(0), 17);
}

}  // namespace
}  // namespace stallmark
