#pragma once
// The General page: the player's general goods (type, description, value), kept in
// "General.dat", edited in place in a three-column grid, sorted by one of three keys
// and sent to the game with one click.

#include <QString>
#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "controls/CellStore.h"
#include "lists/EditableList.h"
#include "lists/Preload.h"
#include "lists/TabPage.h"
#include "lists/trade/GeneralFile.h"
#include "store/RecordFile.h"

class QAbstractButton;
class QComboBox;
class QGroupBox;
class QLabel;
class QTimer;
class QWidget;

namespace stallmark {

class GeneralRanking;
class GeneralRowBytes;
struct GeneralTextRanks;
struct GeneralTypesSeen;
class ListHost;
class TStringGrid;

class TGeneralPage final : public TEditableList, public TabPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TGeneralPage)
public:
    static constexpr int kColType = 0, kColDesc = 1, kColValue = 2;
    static constexpr int kMaxType = kGeneralMaxType, kMaxDesc = kGeneralMaxDesc, kMaxValue = kGeneralMaxValue;
    static constexpr const char* kFileName = kGeneralFile;
    static constexpr int kListNumber = 7;  // "General List" of the display options

    // Builds the page's controls on the given page widget.
    TGeneralPage(ListHost& host, QWidget* page);
    ~TGeneralPage() override;

    // The file as a load reads it: the grid's cells (row 0 left for the header), the rows
    // filled (the header's included: 1 when no line holds an item), each type's first
    // spelling in the order first seen, the lines cut; and the file's stamp, taken before
    // the read.
    struct FileLoad {
        std::string path;
        FileStamp stamp;
        CellStore cells;
        int rows = 1;
        std::vector<std::string> types;
        GeneralCut cut;
    };
    // Reads the file at path into load, whose cells give the memory (their text is cleared).
    static void ReadFile(const std::string& path, FileLoad& load);
    // The file at path read ahead (on a thread of its own) for the page's first load, which
    // takes it when the file has not changed since.
    static std::unique_ptr<Preload<FileLoad>> StartPreload(const std::string& path);
    void UsePreload(std::unique_ptr<Preload<FileLoad>> preload) { preload_ = std::move(preload); }

    // Operations.
    void LoadGeneralList();
    bool CheckGeneralList();
    void SortGeneralList();
    bool SaveGeneralList();
    void StartGeneralEdit(bool isNew);
    void EndGeneralEdit(bool cancel);
    void FindGeneralItem(const QString& type, const QString& description, const QString& value);
    QString GeneralItemText(bool forHint) const;
    void ShowGeneralDesc(int row);

    // Handlers.
    void Btn_GenEditClick();
    void Btn_GenNewClick();
    void Btn_GenSaveClick();
    void Btn_GenCancelClick();
    void Btn_GenDeleteClick();
    void Btn_GenSendClick();
    void Btn_GeneralSortClick();
    void Cb_OthTypeChange();
    void SGrid_GeneralSelectCell(int col, int row);
    void SGrid_GeneralClick();
    bool SGrid_GeneralKeyPress(int col, int row, QChar& ch);
    void Tab_GeneralResize();

    TStringGrid* Grid() const { return grid_; }
    // Rows numbered at each turn of the event loop while the sort's ranks are worked out
    // ahead (after a load or a save, once the grid has painted).
    void SetRankingSlice(int rows) { rankingSlice_ = std::max(rows, 1); }
    // Whether the ranks (and then the next key's order) are being worked out ahead, or
    // wait to be; the rows ranked so far.
    bool RankingAhead() const { return rankingWanted_; }
    size_t RowsRankedAhead() const;
    // Whether the order of the key the sort button goes to next is worked out ahead.
    bool OrderedAhead() const { return nextOrder_.has_value(); }

    // StoredList
    ListId Id() const override { return ListId::General; }
    void LoadList() override;
    void LoadSettings(SettingsStore& settings) override;
    void SaveSettings(SettingsStore& settings) override;
    void ApplyListDisplay(int number, const ListDisplay& display) override;

    // TabPage
    std::vector<StoredList*> Lists() override { return {this}; }
    PopupState Popup(const QWidget* focus) const override;
    void SendToGame(QWidget*) override { Btn_GenSendClick(); }
    std::vector<TStringGrid*> SizingGrids() override;
    void Relayout() override { Tab_GeneralResize(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void BrowsingChanged(bool browsing) override;
    void EditClick() override { Btn_GenEditClick(); }
    void SaveClick() override { Btn_GenSaveClick(); }
    void ResetClick() override { Btn_GenCancelClick(); }
    void NewClick() override { Btn_GenNewClick(); }
    void DeleteClick() override { Btn_GenDeleteClick(); }
    void SendClick() override { Btn_GenSendClick(); }

private:
    void BuildControls(QWidget* page);
    // The first load's read of the file at path, begun ahead, into load; false when there
    // is none, or it no longer holds (the file changed since).
    bool TakeAhead(const std::string& path, FileLoad& load);
    std::unique_ptr<Preload<FileLoad>> preload_;
    // The save check of every row read into rows (rows changed are read again), of one row.
    bool CheckRows(GeneralRowBytes& rows);
    bool CheckRow(int row);
    // The save of the rows read into rows: check, sort, write; sorted when SortRows has
    // just put them in order.
    bool SaveRows(GeneralRowBytes& rows, bool sorted = false);
    // Puts the rows (and rows, read from them) in key order; rows already in it stay.
    void SortRows(GeneralRowBytes& rows);
    // The rows' order by the collation's sort keys of their padded keys.
    std::vector<int> CollatedOrder() const;
    // The type chooser filled with types (each type's first spelling), sorted; the type
    // shown before chosen again.
    void SetTypeList(const std::vector<std::string>& types, const QString& remembered);
    // After a save that wrote the rows exactly as the grid shows them: the grid is what
    // the file holds, and only the type chooser and the count follow it.
    void ShowSavedList();
    // What the last pass over every row's type found, for as long as the Type column holds
    // the same texts (in whatever order).
    std::unique_ptr<GeneralTypesSeen> typesSeen_;
    bool writtenAsShown_ = false;  // the last save's lines are the grid's rows, one for one
    // The key the rows were in order of, on their bytes and all plain, when the grid
    // last marked its rows (at a save).
    std::optional<int> checkedBy_;
    // The ranks of the rows' Types and Descriptions from the last sort on the bytes,
    // for as long as the grid's texts stay as they were (the next key's sort needs
    // only the values ranked).
    std::unique_ptr<GeneralTextRanks> ranks_;
    // The ranks worked out ahead, while the window waits for the player: wanted after a
    // load or a save, started when the grid has painted, a slice of rows at each turn of
    // the event loop; started again when the grid changes meanwhile.
    void WantRanks();
    void RankSlice();
    bool rankingWanted_ = false;
    int rankingSlice_ = 32768;
    // Once the ranks fit the rows: the order of the key the sort button goes to next,
    // and the texts it would bring on screen laid out, for as long as the grid's texts
    // stay as they were (the press then takes it as it stands).
    struct NextOrder {
        int by = 0;
        std::uint64_t stamp = 0;
        std::vector<int> order;
    };
    void OrderAhead(const GeneralRowBytes& rows);
    std::optional<NextOrder> nextOrder_;
    std::unique_ptr<GeneralRanking> ranking_;
    QTimer* rankTimer_ = nullptr;
    void SetCountCaption();
    void SelectTypeInCombo(const QString& type);
    int ItemRows() const;
    QString Cell(int col, int row) const;

    QWidget* page_;
    QWidget* gbOthBtn_ = nullptr;
    QWidget* gbOthBtn2_ = nullptr;
    QAbstractButton* btnSort_ = nullptr;
    QAbstractButton* btnNoItems_ = nullptr;
    QComboBox* cbType_ = nullptr;
    QGroupBox* gbGeneral_ = nullptr;
    TStringGrid* grid_ = nullptr;
    QLabel* lbDesc_ = nullptr;
};

}  // namespace stallmark
