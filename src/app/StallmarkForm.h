#pragma once
// The main window: one page per list, the shared popup menu, the 500 ms
// timer, start-up (FormCreate) and shutdown (FormDestroy).

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>

#include "app/AppContext.h"
#include "store/Clock.h"

class QMenu;
class QAction;
class QTimer;

namespace stallmark {

class TPageControl;
class TTabSheet;
class TOptionsForm;

// State several parts of the window share; all zero, false or empty at first.
struct SharedState {
    bool SettingsLoading = false;
    bool SettingsLoaded = false;
    bool Ready = false;
    bool TabLayoutBusy = false;
    DateTime BulkTimerStart = 0;
    // Smith grids, magic weapon grid, General grid, magic armour grid, vendor grid.
    bool GridSizingSmith = false, GridSizingMW = false, GridSizingGeneral = false, GridSizingMA = false,
         GridSizingVendor = false;
    bool MWHideDate = false, MWHideAge = false, MWHideOther = false;
    bool MAHideDate = false, MAHideAge = false, MAHideOther = false;
    int MinuteTicks = 0;
    int WarnFlashTicks = 0;
    bool MemoPlaying = false;
    QStringList PlayList;
    int PlayIndex = 0;
    int PauseTicks = 0;
    bool TimerBusy = false;
};

class TStallmarkForm : public QMainWindow {
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
    void LayoutTabs(TTabSheet* activePage);
    void TimerTimer();

    void Mp_OptionsClick();
    void Mp_HelpClick();
    void Mp_ExitClick();

    // The options dialog, created and loaded when it does not exist yet.
    TOptionsForm& Options();
    bool HasOptions() const { return options_ != nullptr; }
    TPageControl* PageControl() const { return pageControl_; }
    TTabSheet* Page(int index) const;
    QMenu* Popup_Prices() const { return popup_; }
    QTimer* Timer() const { return timer_; }
    SharedState& State() { return state_; }
    const AppContext& Context() const { return ctx_; }

    // Runs an operation; an error it raises is shown in an error box with the
    // error's own text and the program goes on.
    bool Guarded(const std::function<void()>& operation);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BuildControls();

    AppContext ctx_;
    SharedState state_;
    TPageControl* pageControl_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* mpOptions_ = nullptr;
    QAction* mpHelp_ = nullptr;
    QAction* mpExit_ = nullptr;
    QTimer* timer_ = nullptr;
    std::unique_ptr<TOptionsForm> options_;
    bool shown_ = false;
    bool destroyed_ = false;
};

}  // namespace stallmark
