#pragma once
// The main window: one page per list, the shared popup menu, the 500 ms
// timer, start-up (FormCreate) and shutdown (FormDestroy).

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "app/AppContext.h"
#include "lists/ListHost.h"
#include "lists/SharedState.h"

class QMenu;
class QAction;
class QTimer;

namespace stallmark {

class TPageControl;
class TTabSheet;
class TOptionsForm;
class GameLink;
class DataFolder;
class ListPage;
class TStringGrid;

class TStallmarkForm : public QMainWindow, public ListHost {
    Q_OBJECT
public:
    enum PageIndex { pgWeapons, pgArmour, pgSmith, pgBulk, pgGeneral, pgRegs, pgMemos, pgVendor, kPageCount };

    // Builds the window and runs FormCreate.
    explicit TStallmarkForm(const AppContext& context, QWidget* parent = nullptr);
    ~TStallmarkForm() override;

    void FormCreate();
    void FormShow();
    void FormDestroy();
    void LoadSettings();
    void SaveSettings();
    void ApplyPageOptions();
    void ApplyButtonOptions();
    void ApplyListOptions(int number);
    void LayoutTabs(TTabSheet* activePage);
    void SetGridSizing(TStringGrid* grid, bool allowed);
    void TimerTimer();

    // The popup menu and its handlers.
    void Popup_PricesPopup();
    void Mp_SendToGameClick();
    void Mp_SendToDetailClick();
    void ListOptionChanged(QAction* item);
    void Mp_GridResizeClick();
    void Mp_OptionsClick();
    void Mp_HelpClick();
    void Mp_ExitClick();

    // The game link and the two questions before typing into a book or profile.
    GameLink& Game() { return *gameLink_; }
    bool ConfirmGamePosition();
    bool ClearBookOrProfile();
    // The memo page tells how long the memo shown is (the default answer of
    // ClearBookOrProfile on that page).
    void SetMemoLengthSource(std::function<int()> source) { memoLength_ = std::move(source); }

    // The options dialog, created and loaded when it does not exist yet.
    TOptionsForm& Options();
    bool HasOptions() const { return options_ != nullptr; }
    TPageControl* PageControl() const { return pageControl_; }
    TTabSheet* Page(int index) const;
    QMenu* Popup_Prices() const { return popup_; }
    QAction* MenuItem(const char* name) const;
    QTimer* Timer() const { return timer_; }
    const AppContext& Context() const { return ctx_; }
    DataFolder& Data() { return *data_; }
    // The list that answers the popup menu's commands on a page; null where none.
    ListPage* PageList(int index) const { return index >= 0 && index < kPageCount ? pageLists_[index] : nullptr; }
    // Adds a list, in start-up loading order; page: the page whose menu
    // commands it answers, or -1.
    void AddList(std::unique_ptr<ListPage> list, int page);

    // Runs an operation; an error it raises is shown in an error box with the
    // error's own text and the program goes on. False when it failed.
    bool Guarded(const std::function<void()>& operation);

    // ListHost
    Dialogs& HostDialogs() override;
    const Clock& HostClock() override;
    SettingsStore& HostSettings() override;
    SharedState& State() override { return state_; }
    std::string DataFilePath(const std::string& name) override;
    SendRowOptions SendRow(int row) override;
    int BackSpc() override;
    bool ShowHints() override;
    ButtonOptions HostButtonOptions() override;
    void SendToGame(const std::string& text, bool sendEnter, int backspaces) override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildControls();
    void BuildPopup();
    bool* GridSizingFlag(int page);

    AppContext ctx_;
    SharedState state_;
    std::unique_ptr<DataFolder> data_;
    std::unique_ptr<GameLink> gameLink_;
    TPageControl* pageControl_ = nullptr;
    QMenu* popup_ = nullptr;
    QTimer* timer_ = nullptr;
    std::unique_ptr<TOptionsForm> options_;
    void CreateLists();

    // Every list in start-up order, and the one behind each page's menu.
    std::vector<std::unique_ptr<ListPage>> lists_;
    std::vector<int> listPages_;
    std::array<ListPage*, kPageCount> pageLists_{};
    std::function<int()> memoLength_;
    bool shown_ = false;
    bool destroyed_ = false;
};

}  // namespace stallmark
