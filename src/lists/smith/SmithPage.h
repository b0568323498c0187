#pragma once
// The Smith page: the player's selling prices for smithed armour, one price per armour
// type and ore. The price grid has one column per type and one row per ore (the short
// names in its header row); the description grid beside it has one row per type, with a
// handle to drag a type to another place. Kept in "Armour.dat" and "ArmDesc.dat",
// edited in place (Edit, Save with a price check, Reset, New, Delete), and sent to the
// game one price at a time.

#include <QString>
#include <array>
#include <string>

#include "lists/EditableList.h"
#include "lists/TabPage.h"

class QAbstractButton;
class QGroupBox;
class QLabel;
class QWidget;

namespace stallmark {

class ListHost;
class TStringGrid;

class TSmithPage final : public TEditableList, public TabPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSmithPage)
public:
    static constexpr const char* kPriceFile = "Armour.dat";
    static constexpr const char* kDescFile = "ArmDesc.dat";
    static constexpr int kPriceList = 5;                               // "Smith Price List" of the display options
    static constexpr int kDescList = 6;                                // "Smith Description List"
    static constexpr int kSendRow = 3;                                 // the options dialog's "Smith" row
    static constexpr int kColHandle = 0, kColShort = 1, kColDesc = 2;  // description grid

    // Builds the page's controls on the given page widget.
    TSmithPage(ListHost& host, QWidget* page);

    // Operations.
    void LoadSmithTable();
    void LoadIngotImages();
    // Checks every price (asking before a correction), then writes both files; false when
    // the player stopped at a price warning or nothing could be written. skipCurrent
    // leaves out the type of the description grid's current row.
    bool SaveSmithTable(bool skipCurrent);
    // The text of the price in column col, row row: as sent (withOptions, by the "Smith"
    // row of the options) or as the hint and label show it.
    QString SmithPriceText(int col, int row, bool withOptions) const;

    // Handlers.
    void Btn_SmithEditClick();
    void Btn_SmithSaveClick();
    void Btn_SmithCancelClick();
    void Btn_SmithNewClick();
    void Btn_SmithDeleteClick();
    void Btn_SmithSendClick();
    void SGrid_SmithDblClick();
    void SGrid_SmithClick(int col, int row);
    void SGrid_SmithSelectCell(int col, int row);
    void SGrid_SmithDescSelectCell(int col, int row);
    bool SGrid_SmithKeyPress(int col, int row, QChar& ch);
    bool SGrid_SmithDescKeyPress(int col, int row, QChar& ch);
    void SGrid_SmithDescRowMoved(int from, int to);
    void SGrid_SmithColWidthChanged(int col, int width);
    void SGrid_SmithDescRowHeightChanged(int height);
    void Tab_SmithResize();

    TStringGrid* PriceGrid() const { return price_; }
    TStringGrid* DescGrid() const { return desc_; }
    // The number of armour types shown.
    int TypeCount() const;

    // StoredList
    ListId Id() const override { return ListId::Smith; }
    void LoadList() override;
    void LoadSettings(SettingsStore& settings) override;
    void SaveSettings(SettingsStore& settings) override;
    void ApplyListDisplay(int number, const ListDisplay& display) override;

    // TabPage
    std::vector<StoredList*> Lists() override { return {this}; }
    PopupState Popup(const QWidget* focus) const override;
    void SendToGame(QWidget*) override { Btn_SmithSendClick(); }
    // The price grid first: "Resize Grid" asks for its row height.
    std::vector<TStringGrid*> SizingGrids() override;
    void Relayout() override { Tab_SmithResize(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void BrowsingChanged(bool browsing) override;
    void EditClick() override { Btn_SmithEditClick(); }
    void SaveClick() override { Btn_SmithSaveClick(); }
    void ResetClick() override { Btn_SmithCancelClick(); }
    void NewClick() override { Btn_SmithNewClick(); }
    void DeleteClick() override { Btn_SmithDeleteClick(); }
    void SendClick() override { Btn_SmithSendClick(); }

private:
    void BuildControls(QWidget* page);
    // Leaves editing (after Save or Reset) and shows the files again.
    void EndSmithEdit();
    // Both files from the grids, the type at skip (-1: none) left out, written together.
    void WriteSmithFiles(int skip);
    // The price check of every cell but those of column skip; false on Cancel.
    bool CheckSmithPrices(int skip);
    // Moves price column from to position to, the others keeping their order.
    void MovePriceColumn(int from, int to);
    // Selects type (column and description row) and ore row in both grids, then the label.
    void SelectType(int type, int oreRow);
    void ShowPriceLabel(int col, int row);
    QString Description(int type) const;
    void PlaceIngots();

    QWidget* page_;
    QWidget* gbArmBtn_ = nullptr;
    QGroupBox* gbArmour_ = nullptr;
    QGroupBox* gbArmDesc_ = nullptr;
    QWidget* ingotBox_ = nullptr;
    std::array<QLabel*, 9> ingots_{};
    TStringGrid* price_ = nullptr;
    TStringGrid* desc_ = nullptr;
    QLabel* lbDesc_ = nullptr;
    QAbstractButton* btnSend_ = nullptr;

    bool SmithSyncing = false;  // one grid is following the other's selection
    bool resizing_ = false;     // Tab_SmithResize is running
};

}  // namespace stallmark
