#pragma once
// A magic item page (weapons, armour): detail boxes that describe an item and search the
// list, a grid that shows the stock or the price list through that search, and the item
// operations (save, delete, edit, sold, send). Everything a list differs in comes from its
// MagicListDesc, which also names the page's handlers and operations (MagicList.cpp).

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "controls/CellStore.h"
#include "lists/ListDisplay.h"
#include "lists/Preload.h"
#include "lists/StoredList.h"
#include "lists/TabPage.h"
#include "lists/magic/MagicList.h"
#include "lists/magic/MagicRecords.h"
#include "store/RecordFile.h"

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace stallmark {

class ListHost;
class TStringGrid;
class TToolBtnSig;

class TMagicPage final : public QObject, public StoredList, public TabPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMagicPage)
public:
    // Builds the page's controls on page.
    TMagicPage(ListHost& host, QWidget* page, const MagicListDesc& list);
    ~TMagicPage() override;

    const MagicListDesc& List() const { return list_; }

    // The list's stock file read ahead, and its rows filled as the page's first fill
    // fills them (the stock view, no search, the day the fill ran); defined below.
    struct FileAhead;
    // Starts reading the stock file of list at path, and filling its rows, on a thread of
    // its own (the clock must outlive it). The page's first fill takes the rows when it
    // fills from that file through the same view, search and day, and the file has not
    // changed since; otherwise the bytes alone when they are the file's.
    static std::unique_ptr<Preload<FileAhead>> StartPreload(const MagicListDesc& list, const std::string& path,
                                                            const Clock& clock);
    void UsePreload(std::unique_ptr<Preload<FileAhead>> preload) { preload_ = std::move(preload); }
    // Whether the grid's rows are the rows filled ahead (until the next fill).
    bool FilledAhead() const { return filledAhead_; }

    // --- view, grid and records ---
    MagicView View() const { return view_; }
    // The file of the current view.
    std::string FilePath() const;
    // Reloads the grid from the current view's file through the search; selects the row
    // whose line equals selectLine (when not blank) and returns its number (0: none).
    int RefreshGrid(const std::string& selectLine);
    // Fills row r from one file line of the current view; false (grid untouched) when the
    // line's item is blank.
    bool LineToRow(const std::string& line, int r);
    // The file line for row r in the current view.
    std::string RowToLine(int r) const;
    // The item's description of row r (0: the current row) as sent (forHint false) or as
    // the hint and description label show it; empty for no item.
    std::string RowText(int r, bool forHint) const;
    // Applies the view: captions, display options, the stock-only buttons, reload.
    void ShowView();
    void SetView(MagicView view);
    // Whether a file line of the current view passes the detail boxes.
    bool MatchesSearch(const std::string& line) const;

    // --- detail boxes and search ---
    void DataChanged();
    void MagicChange();
    void OtherChange();
    void SearchClick();
    void ResetClick();
    void ListClick();
    void AutoUpdateClick(bool on);
    bool AutoUpdate() const;
    void SetAutoUpdate(bool on);
    // The pick-list button beside the box of part.
    void PickListClick(MagicPart part);

    // --- item operations ---
    void AddClick();
    void DeleteClick();
    void EditClick();
    void SoldClick();
    void SendClick();
    void SendToDetailClick();

    // --- grid and page ---
    void GridClick();
    void GridSelectCell(int col, int row);
    void PageResize();
    void ReorderFiles();
    void HideGridColumn(HideColumn column, bool hide);
    bool ColumnHidden(HideColumn column) const;
    // Remaining half-second blinks of the special status warning.
    int WarnFlashTicks() const { return warnFlashTicks_; }

    // Controls.
    TStringGrid* Grid() const { return grid_; }
    QComboBox* Box(MagicPart part) const;
    QLineEdit* PriceEdit() const { return edPrice_; }
    QLabel* DescLabel() const { return lbDesc_; }
    QLabel* WarnLabel() const { return lbWarn_; }

    // StoredList
    ListId Id() const override { return list_.id; }
    void ShowList() override;
    void TimerTick() override;
    void LoadSettings(SettingsStore& settings) override;
    void SaveSettings(SettingsStore& settings) override;
    void ApplyListDisplay(int number, const ListDisplay& display) override;

    // TabPage
    std::vector<StoredList*> Lists() override { return {this}; }
    PopupState Popup(const QWidget* focus) const override;
    void SendToGame(QWidget*) override { SendClick(); }
    void SendToDetail() override { SendToDetailClick(); }
    std::vector<TStringGrid*> SizingGrids() override;
    void Relayout() override { PageResize(); }
    void Reorder() override { ReorderFiles(); }
    void HideColumnChanged(HideColumn column, bool hide) override { HideGridColumn(column, hide); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The current view's file as the grid last read it. A search run again on a file
    // that has not changed since (the same stamp, and not written by the page) filters
    // these bytes again instead of reading the file.
    struct FileSnapshot {
        std::string path;
        FileStamp stamp;
        BigBytes bytes;
        std::size_t lines = 0;  // lines in bytes
        bool current = false;   // false once the page has written a file
        bool cutSaid = false;   // lines longer than kMaxLineBytes, shown cut, said once
        // The lines as the first fill after the read cut them up, for the fills that
        // follow: each line's length and line-end bytes, and where each of the fields a
        // fill looks at ends (from the line's start; kNoField past the line's last).
        bool cut = false;
        std::size_t fieldsPerLine = 0;
        std::vector<std::uint32_t> lengths;
        std::vector<std::uint8_t> lineEnds;
        std::vector<std::uint16_t> fieldEnds;
        // By line: what the fills learned of its date (kDateUnread ...).
        std::vector<std::int32_t> days;
        // Holds content, the file at filePath whose stamp was fileStamp, not yet cut.
        void Hold(const std::string& filePath, const FileStamp& fileStamp, BigBytes content);
    };

    // The file lines behind the grid's rows, kept so that Delete, Edit and Sold remove
    // exactly the line a row was loaded from: where the row's line lies in the snapshot,
    // or a line of its own for a row filled otherwise.
    class RowLines {
    public:
        // Forgets every row; rows to come lie in bytes (which must outlive them).
        void Reset(const BigBytes& bytes, std::size_t rows);
        // The rows as they are, in bytes moved here from where they were filled.
        void Point(const BigBytes& bytes) { bytes_ = &bytes; }
        void SetInBytes(int row, std::size_t offset, std::size_t length);
        void Set(int row, std::string_view line);
        std::string_view Get(int row) const;

    private:
        void Place(int row, std::uint64_t at);
        const BigBytes* bytes_ = nullptr;
        std::string own_;                // lines of their own, each after its length (8 bytes)
        std::vector<std::uint64_t> at_;  // by row: kNone, an own line, or offset and length in bytes_
    };

    // What the grid's rows were last filled from: the snapshot as it was, the view, the
    // search and the moment (ages and today's date count whole days). While all of these
    // stay the same and no row has been changed since, a reload would fill the same rows.
    struct GridFill {
        bool valid = false;
        MagicView view = MagicView::Stock;
        MagicSearch search;
        double dayFloor = 0, dayCeil = 0;
        bool operator==(const GridFill&) const = default;
    };

    // The rows of the whole list (a fill through a search that lets every line through),
    // put aside while a search shows part of it: when the search lets every line through
    // again, on the same snapshot, view and day, these rows are shown again as they are
    // instead of being filled anew. They point into the snapshot's bytes, so they go
    // with the snapshot.
    struct SetAside {
        bool valid = false;
        GridFill fill;
        CellStore cells;  // also the room a search's rows are filled into
        RowLines rows;
    };

    // Reads the file at path into the snapshot unless the snapshot already holds it;
    // true when it read the file.
    bool ReadSnapshot(const std::string& path);
    std::unique_ptr<Preload<FileAhead>> preload_;
    bool filledAhead_ = false;
    // The first fill of path from the rows filled ahead, when they still hold; true when
    // it showed them.
    bool TakeFillAhead(const std::string& path);
    // What a fill gives besides its rows: the rows filled (the header included), the row
    // whose line was asked for (0: none), the lines shown cut.
    struct Filled {
        int rows = 1;
        int selected = 0;
        std::size_t cutLines = 0, firstCut = 0;
    };
    // Fills target (the grid, or cells of their own) and rowLines with the lines of snap
    // that pass search in view, on the day of now; the first fill after a read cuts the
    // lines into their pieces in snap.
    template <typename Rows>
    static Filled FillRows(const MagicListDesc& list, MagicView view, const MagicSearch& search, const Clock& clock,
                           DateTime now, FileSnapshot& snap, RowLines& rowLines, Rows& target,
                           const std::string& selectLine);
    // After a fill: the cut lines said once, the row asked for selected, the description
    // and the columns.
    void ShowFilled(const std::string& path, const Filled& filled);
    // Takes bytes as the snapshot of the file at path, whose stamp was stamp when they
    // were its content.
    void TakeSnapshot(const std::string& path, const FileStamp& stamp, BigBytes bytes);
    // Marks the snapshot out of date after the page wrote a file.
    void FileWritten() {
        snapshot_.current = false;
        gridFill_.valid = false;
        DropSetAside();
    }
    // Whether the snapshot holds the file at path as it is now.
    bool SnapshotHolds(const std::string& path) const;
    // Adds line to the file at path in order, through the snapshot (read first when it does
    // not hold the file as it is now, a missing file aside), and then takes what was
    // written as the snapshot: the file is read at most once.
    void AddLineToFile(const std::string& path, const std::string& line);
    // Forgets the rows put aside and frees their memory.
    void DropSetAside();
    // Puts the grid's rows aside when they are the whole list and the fill to come is
    // through a search that restricts; the grid then fills the room left over. Before a
    // fill of the whole list, drops rows put aside that did not match it.
    void SetAsideWholeList(const MagicSearch& search);
    // Shows the rows put aside again when they are what a fill of fill would give; true
    // when it did.
    bool ShowSetAside(const GridFill& fill);

    void BuildControls();
    void ConnectControls();
    void Guard(const std::function<void()>& operation);
    // Runs fn with the quiet flag held: change handlers then do nothing.
    void Quietly(const std::function<void()>& fn);
    MagicSearch CurrentSearch() const;
    MagicCells CellsOf(int row) const;
    void SetRowCells(int row, const MagicCells& cells);
    // A row that holds an item (the empty row of an empty list holds none).
    bool IsDataRow(int row) const;
    std::string LineOf(int row) const;
    void ShowDescription(int row);
    void ApplyDisplay(const ListDisplay& display);
    void SetHeader();
    void SelectEntry(QComboBox* box, const QString& text);
    void ClearBox(QComboBox* box);
    QString BoxText(MagicPart part) const;
    int ColumnOf(HideColumn column) const;

    ListHost& host_;
    QWidget* page_;
    const MagicListDesc& list_;
    MagicView view_ = MagicView::Stock;
    int quiet_ = 0;
    bool autoUpdate_ = true;  // "Auto On" is down
    int warnFlashTicks_ = 0;
    bool hideDate_ = false, hideAge_ = false, hideOther_ = false;
    ListDisplay stockDisplay_;
    ListDisplay priceDisplay_;
    FileSnapshot snapshot_;
    GridFill gridFill_;
    RowLines rowLines_;
    SetAside setAside_;

    QGroupBox* gbDetail_ = nullptr;
    std::map<MagicPart, QComboBox*> boxes_;
    std::map<MagicPart, QAbstractButton*> pickButtons_;
    QCheckBox* ckbNone_ = nullptr;
    QCheckBox* ckbSilver_ = nullptr;
    QCheckBox* ckbVirtue_ = nullptr;
    QLineEdit* edPrice_ = nullptr;
    QWidget* gbBtn_ = nullptr;
    QWidget* gbBtn2_ = nullptr;
    TToolBtnSig *btnAdd_ = nullptr, *btnDelete_ = nullptr, *btnEdit_ = nullptr, *btnSold_ = nullptr,
                *btnSend_ = nullptr;
    TToolBtnSig *btnList_ = nullptr, *btnReset_ = nullptr, *btnSearch_ = nullptr, *btnAutoOn_ = nullptr,
                *btnAutoOff_ = nullptr;
    QLabel* lbWarn_ = nullptr;
    QGroupBox* gbDisplay_ = nullptr;
    TStringGrid* grid_ = nullptr;
    QLabel* lbDesc_ = nullptr;
};

struct TMagicPage::FileAhead {
    std::string path;
    FileSnapshot snap;  // the file's bytes, with its stamp taken before the read
    // The rows as the first fill would show them (valid when fill.valid).
    GridFill fill;
    CellStore cells;
    RowLines rows;
    Filled filled;
};

}  // namespace stallmark
