#pragma once
// The Bulk page: the player's bulk order deeds for smithed armour. Large orders
// ("Lbod.dat") show in the tree Tv_Lbod with one child per piece, small orders ("Bod.dat")
// in Tv_Bod; after every load the pieces of the large orders are matched against the small
// orders and every node shows a state picture (green tick, grey tick, red cross). New
// orders come through the "Bulk Order" dialog; Send types the selected order into the
// game, List types a whole tree line by line into a book or the profile. The page also
// carries the bulk timer: the time since the player last reset it.

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <string>
#include <utility>

#include "lists/StoredList.h"
#include "lists/TabPage.h"
#include "lists/bulk/BulkRecords.h"

class QGroupBox;
class QModelIndex;
class QTreeView;
class QWidget;

namespace stallmark {

class ListHost;
class TLargeOrderModel;
class TPanelResize;
class TSmallOrderModel;
class TToolBtnSig;

class TBulkPage final : public QObject, public StoredList, public TabPage {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TBulkPage)
public:
    static constexpr int kLargeListNumber = 8;    // "Large Bulk Order List" of the display options
    static constexpr int kSmallListNumber = 9;    // "Small Bulk Order List"
    static constexpr int kSendRow = 4;            // the options dialog's "Bulk" row
    static constexpr int kMinListDelay = 100;     // ms between listed lines, at least
    static constexpr int kTicksPerRefresh = 120;  // 500 ms ticks: the timer's caption once a minute

    // Builds the page's controls on page.
    TBulkPage(ListHost& host, QWidget* page);
    ~TBulkPage() override;

    // --- records, files and trees ---
    // Each fills its tree from its file (a missing file leaves the tree as it is); lines
    // that hold no order are left out of the tree and kept in the file. The number of
    // such lines (blank lines not counted) and the number of the first.
    struct Skipped {
        std::size_t count = 0;
        std::size_t firstLine = 0;
    };
    Skipped LoadLargeOrders();
    Skipped LoadSmallOrders();
    // The state pictures of both trees, from scratch.
    void MatchBulkOrders();
    // The large orders, the small orders or both loaded again, then both trees matched.
    std::pair<Skipped, Skipped> ReloadAndMatch(bool large, bool small);
    // Sorts a bulk file's lines by their bytes; the file is replaced whole.
    void SortBulkFile(const std::string& fileName);
    // Removes the first line of the file that the node text stands for; false (file
    // untouched) when there is none.
    bool DeleteLargeOrder(const QString& text);
    bool DeleteSmallOrder(const QString& text);
    // Appends one order and sorts the file, in one replacement of the file. Nothing is
    // written without a kind (or, for a small order, a piece).
    void AppendLargeOrder(int ore, int quality, int amount, int kind);
    void AppendSmallOrder(int ore, int quality, int amount, int pieceSlot, int kind);
    // Whether a top-level node shows text; when one does, the first such is selected.
    bool FindLargeOrder(const QString& text);
    bool FindSmallOrder(const QString& text);

    // --- handlers ---
    void Btn_BulkDeleteClick();
    void Btn_BulkNewClick();
    void Btn_BulkLNewClick();
    void Btn_BulkSendClick();
    void Btn_BulkListClick();
    void Btn_BulkTimerClick();
    void AskResetBulkTimer();
    void ShowBulkTimer();

    // --- controls and what they show ---
    QTreeView* LargeTree() const { return tvLbod_; }
    QTreeView* SmallTree() const { return tvBod_; }
    const TLargeOrderModel& LargeModel() const { return *largeModel_; }
    const TSmallOrderModel& SmallModel() const { return *smallModel_; }
    // Node texts in tree order (top-level nodes), and the node states.
    QStringList LargeTexts() const;
    QStringList SmallTexts() const;
    BulkState LargeState(int order) const;
    BulkState PieceState(int order, int piece) const;
    BulkState SmallState(int order) const;
    // The selected node's text ("" for none).
    QString SelectedText(const QTreeView* tree) const;
    int MinuteTicks() const { return minuteTicks_; }

    // StoredList
    ListId Id() const override { return ListId::BulkOrders; }
    void LoadList() override;
    void ShowList() override { ShowBulkTimer(); }
    void TimerTick() override;
    void ApplyListDisplay(int number, const ListDisplay& display) override;

    // TabPage
    std::vector<StoredList*> Lists() override { return {this}; }
    PopupState Popup(const QWidget* focus) const override;
    void SendToGame(QWidget* focus) override;
    bool RelayoutWithTabs() const override { return false; }

private:
    void BuildControls();
    // The tree that has the keyboard focus (the window's active control), or none.
    QTreeView* ActiveTree() const;
    QTreeView* TreeOf(const QWidget* focus) const;
    QModelIndex Selected(const QTreeView* tree) const;
    void Select(QTreeView* tree, const QModelIndex& index);
    void SendFrom(QTreeView* tree);
    void ListTree(QTreeView* tree);
    void NewOrder(bool large);
    bool Guard(const std::function<void()>& operation);

    ListHost& host_;
    QWidget* page_;
    int minuteTicks_ = 0;

    TPanelResize* pnBulkBtn_ = nullptr;
    TToolBtnSig *btnLNew_ = nullptr, *btnNew_ = nullptr, *btnTimer_ = nullptr, *btnDelete_ = nullptr,
                *btnList_ = nullptr, *btnSend_ = nullptr;
    QGroupBox* gbLarge_ = nullptr;
    QGroupBox* gbSmall_ = nullptr;
    QTreeView* tvLbod_ = nullptr;
    QTreeView* tvBod_ = nullptr;
    TLargeOrderModel* largeModel_ = nullptr;
    TSmallOrderModel* smallModel_ = nullptr;
};

}  // namespace stallmark
