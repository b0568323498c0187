#pragma once
// The main window: one page per list, the shared popup menu, the 500 ms timer,
// start-up (FormCreate) and shutdown (FormDestroy). Each page is answered for by its
// own object (TabPage), which owns the page's lists; the lists themselves are run in
// the start-up and shutdown orders by the registry of lists.

#include <QMainWindow>
#include <array>
#include <functional>
#include <memory>

#include "app/AppContext.h"
#include "lists/ListHost.h"
#include "lists/ListRegistry.h"
#include "lists/OptionsSnapshot.h"
#include "lists/SharedState.h"
#include "lists/TabPage.h"

class QMenu;
class QAction;
class QTimer;

namespace stallmark {

class TPageControl;
class TTabSheet;
class TOptionsForm;
class GameLink;
class GameKeyboard;
class DataFolder;
struct AheadReads;
class TStringGrid;

class TStallmarkForm final : public QMainWindow, public ListHost {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TStallmarkForm)
public:
    enum PageIndex { pgWeapons, pgArmour, pgSmith, pgBulk, pgGeneral, pgRegs, pgMemos, pgVendor, kPageCount };

    // Builds the window, its pages and their lists, and runs FormCreate.
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
    void Mp_ReorderClick();
    void Mp_HideColClick(HideColumn column, bool hide);
    void Mp_LinkClick();
    void Mp_OptionsClick();
    void Mp_HelpClick();
    void Mp_ExitClick();

    // The game link. SendToGame types one whole send (false while another is typing).
    GameLink& Game() { return *gameLink_; }
    bool SendToGame(const std::string& text, bool sendEnter, int backspaces);

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

    // The object that answers for a page; null where none.
    TabPage* Tab(int index) const;
    TabPage* ActiveTab() const;
    const ListRegistry& Lists() const { return registry_; }
    // Puts a page's object in place and registers its lists (the registration of every
    // page is in StallmarkFormLists.cpp).
    void AddTab(int page, std::unique_ptr<TabPage> tab);

    // Runs an operation; an error it raises is shown in an error box with the error's
    // own text and the program goes on. False when it failed.
    bool Guarded(const std::function<void()>& operation);

    // ListHost
    Dialogs& HostDialogs() override;
    const Clock& HostClock() override;
    SettingsStore& HostSettings() override;
    Pacer& HostPacer() override;
    SharedState& State() override { return state_; }
    std::string DataFilePath(const std::string& name) override;
    const OptionsSnapshot& OptionValues() override { return snapshot_; }
    QWidget* HostWindow() override { return this; }
    GameKeyboard& Keyboard() override { return *keyboard_; }
    bool ConfirmGamePosition() override;
    bool ClearBookOrProfile(TypingSession* session = nullptr) override;
    void RelayoutPages() override;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildControls();
    void BuildPopup();
    void CreateTabs();
    void RefreshOptionValues();

    AppContext ctx_;
    SharedState state_;
    OptionsSnapshot snapshot_;
    std::unique_ptr<DataFolder> data_;
    // The files read ahead for the pages' first loads, until CreateTabs hands them over.
    std::unique_ptr<AheadReads> ahead_;
    void StartAheadReads();
    std::unique_ptr<GameLink> gameLink_;
    std::unique_ptr<GameKeyboard> keyboard_;
    TPageControl* pageControl_ = nullptr;
    QMenu* popup_ = nullptr;
    QTimer* timer_ = nullptr;
    std::unique_ptr<TOptionsForm> options_;
    std::array<std::unique_ptr<TabPage>, kPageCount> tabs_;
    ListRegistry registry_;
    bool shown_ = false;
    bool destroyed_ = false;
};

}  // namespace stallmark
