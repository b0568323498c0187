#include "app/StallmarkForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTimer>
#include <cmath>

#include "app/AheadReads.h"
#include "app/ListOptionsForm.h"
#include "app/OptionsForm.h"
#include "app/PageControl.h"
#include "controls/Dialogs.h"
#include "controls/StringGrid.h"
#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "game/GameKeyboard.h"
#include "game/GameLink.h"
#include "lists/EditableList.h"
#include "lists/GameQuestions.h"
#include "lists/ListDisplay.h"
#include "lists/StoredList.h"
#include "settings/SettingValues.h"
#include "store/DataFolder.h"
#include "store/Fields.h"

namespace stallmark {

using namespace Qt::StringLiterals;

namespace {

struct PageDesign {
    const char* name;
    const char* caption;
};

constexpr PageDesign kPages[TStallmarkForm::kPageCount] = {
    {"Tab_MWeps", "Weaps"},     {"Tab_MArmour", "Armour"}, {"Tab_Smith", "Smith"}, {"Tab_Bulk", "Bulk"},
    {"Tab_General", "General"}, {"Tab_Regs", "Regs"},      {"Tab_Memos", "Memos"}, {"Tab_Vendor", "Vendors"},
};

constexpr int kDesignLeft = 584, kDesignTop = 99, kDesignWidth = 338, kDesignHeight = 526;

// The button panels of the window that take the button options, in their order.
constexpr const char* kButtonPanels[] = {"Gb_MWBtn",   "Gb_MWBtn2",    "Gb_MABtn",   "Gb_MABtn2",  "Gb_ArmBtn",
                                         "Gb_OthBtn",  "Gb_OthBtn2",   "GB_OthTMap", "Pn_BulkBtn", "Pn_MemoBtns",
                                         "Gb_Charged", "Pn_BtnVendor", "Pn_Memo"};
constexpr const char* kReagentButtons[] = {"Btn_RegBp", "Btn_RegBm", "Btn_RegGl", "Btn_RegGs",
                                           "Btn_RegMn", "Btn_RegNs", "Btn_RegSs", "Btn_RegSa"};
// The display lists in the order they are applied at start-up.
constexpr int kListApplyOrder[] = {1, 2, 3, 4, 5, 6, 8, 9, 7, 10, 11};

QString Latin(const char* text) { return QString::fromLatin1(text); }

// A date-time read from the settings that names a real moment (years 1 to 9999).
bool SaneDateTime(double value) {
    constexpr double kFirstDay = -693593.0;  // 01/01/0001
    constexpr double kLastDay = 2958466.0;   // the day after 31/12/9999
    return std::isfinite(value) && value >= kFirstDay && value < kLastDay;
}

}  // namespace

TStallmarkForm::TStallmarkForm(const AppContext& context, QWidget* parent)
    : QMainWindow(parent), ctx_(context), data_(std::make_unique<DataFolder>(context.dataFolder)) {
    GameLinkOptions link;
    link.windowName = [this] { return options_ ? ToBytes(options_->WindowName()) : std::string("Ultima Online -"); };
    link.charDelayText = [this] { return options_ ? ToBytes(options_->CharDelayText()) : std::string("0"); };
    link.memoPlaying = [this] { return state_.MemoPlaying; };
    gameLink_ = std::make_unique<GameLink>(ctx_.gameWindows, ctx_.pacer, link);
    keyboard_ = std::make_unique<GameKeyboard>(*gameLink_);
    BuildControls();
    // The lists' files are read while the pages are built. Not sooner: the window's
    // first controls set up the style and the fonts, which a read running beside them
    // slows by more than half of what the read takes (measured from outside); the
    // pages' building is not slowed, and takes longer than the read of 100k lines.
    StartAheadReads();
    CreateTabs();
    FormCreate();
}

TStallmarkForm::~TStallmarkForm() {
    if (!destroyed_) FormDestroy();
}

void TStallmarkForm::BuildControls() {
    setObjectName(u"StallmarkForm"_s);
    setWindowTitle(u"Stallmark"_s);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    QFont designFont(u"MS Sans Serif"_s, 8);
    designFont.setStyleHint(QFont::SansSerif);
    setFont(designFont);
    setMinimumSize(100, 300);
    setGeometry(kDesignLeft, kDesignTop, kDesignWidth, kDesignHeight);

    pageControl_ = new TPageControl(this);
    setCentralWidget(pageControl_);
    for (const PageDesign& page : kPages) pageControl_->AddPage(new TTabSheet(Latin(page.name)), Latin(page.caption));
    connect(pageControl_, &TPageControl::resized, this, [this] { LayoutTabs(pageControl_->ActivePage()); });
    connect(pageControl_, &TPageControl::pageChanged, this, [this] { LayoutTabs(pageControl_->ActivePage()); });

    BuildPopup();

    timer_ = new QTimer(this);
    timer_->setObjectName(u"Timer"_s);
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, [this] { TimerTimer(); });
    timer_->start();
}

void TStallmarkForm::BuildPopup() {
    popup_ = new QMenu(this);
    popup_->setObjectName(u"Popup_Prices"_s);
    auto item = [this](const char* name, const char* caption, QKeySequence shortcut = {}) {
        QAction* action = popup_->addAction(Latin(caption));
        action->setObjectName(Latin(name));
        if (!shortcut.isEmpty()) {
            action->setShortcut(shortcut);
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);  // the short cut works while the menu is closed
        }
        return action;
    };
    auto separator = [this](const char* name) { popup_->addSeparator()->setObjectName(Latin(name)); };

    QAction* send = item("Mp_SendToGame", "Send To &Game");
    QAction* detail = item("Mp_SendToDetail", "Send To &Detail");
    separator("Break1");
    QAction* list1 = item("Mp_ListOpt1", "List Options 1");
    QAction* list2 = item("Mp_ListOpt2", "List Options 2");
    QAction* resize = item("Mp_GridResize", "&Resize Grid");
    resize->setCheckable(true);
    QAction* reorder = item("Mp_Reorder", "Reorder");
    separator("BreakHide");
    QAction* hideDate = item("Mp_HideColDate", "Hide Date");
    QAction* hideAge = item("Mp_HideColAge", "Hide Age");
    QAction* hideOther = item("Mp_HideColOther", "Hide Other");
    separator("Break_Link");
    QAction* link = item("Mp_Link", "Link Quantities");
    link->setCheckable(true);
    link->setChecked(true);
    QAction* options = item("Mp_Options", "Options...");
    separator("N2");
    QAction* help = item("Mp_Help", "Help...", QKeySequence(Qt::Key_F1));
    separator("N1");
    QAction* exit = item("Mp_Exit", "Exit", QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_X));

    // F2 lives on an action of the window that is never hidden: hiding the menu item
    // (on the Vendor page) must not take the short cut away. The item only shows it.
    send->setShortcut(QKeySequence(Qt::Key_F2));
    send->setShortcutContext(Qt::WidgetShortcut);
    auto* sendKey = new QAction(this);
    sendKey->setObjectName(u"Mp_SendToGameKey"_s);
    sendKey->setShortcut(QKeySequence(Qt::Key_F2));
    sendKey->setShortcutContext(Qt::WindowShortcut);
    addAction(sendKey);

    connect(popup_, &QMenu::aboutToShow, this, [this] { Popup_PricesPopup(); });
    connect(send, &QAction::triggered, this, [this] { Mp_SendToGameClick(); });
    connect(sendKey, &QAction::triggered, this, [this] { Mp_SendToGameClick(); });
    connect(detail, &QAction::triggered, this, [this] { Mp_SendToDetailClick(); });
    connect(list1, &QAction::triggered, this, [this, list1] { ListOptionChanged(list1); });
    connect(list2, &QAction::triggered, this, [this, list2] { ListOptionChanged(list2); });
    connect(resize, &QAction::triggered, this, [this] { Mp_GridResizeClick(); });
    connect(reorder, &QAction::triggered, this, [this] { Mp_ReorderClick(); });
    for (auto [action, column] : {std::pair{hideDate, HideColumn::Date}, std::pair{hideAge, HideColumn::Age},
                                  std::pair{hideOther, HideColumn::Other}}) {
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, column](bool checked) { Mp_HideColClick(column, checked); });
    }
    connect(link, &QAction::triggered, this, [this] { Mp_LinkClick(); });
    connect(options, &QAction::triggered, this, [this] { Mp_OptionsClick(); });
    connect(help, &QAction::triggered, this, [this] { Mp_HelpClick(); });
    connect(exit, &QAction::triggered, this, [this] { Mp_ExitClick(); });
}

QAction* TStallmarkForm::MenuItem(const char* name) const {
    for (QAction* action : popup_->actions())
        if (action->objectName() == QLatin1StringView(name)) return action;
    return nullptr;
}

TTabSheet* TStallmarkForm::Page(int index) const { return pageControl_->Page(index); }

TabPage* TStallmarkForm::Tab(int index) const {
    return index >= 0 && index < kPageCount ? tabs_[static_cast<size_t>(index)].get() : nullptr;
}

TabPage* TStallmarkForm::ActiveTab() const { return Tab(pageControl_->ActivePageIndex()); }

void TStallmarkForm::AddTab(int page, std::unique_ptr<TabPage> tab) {
    if (page < 0 || page >= kPageCount || !tab) return;
    // A page put in the place of another takes its lists out with it.
    if (const auto& old = tabs_[static_cast<size_t>(page)])
        for (StoredList* list : old->Lists()) registry_.Remove(list);
    for (StoredList* list : tab->Lists()) registry_.Add(list);
    tabs_[static_cast<size_t>(page)] = std::move(tab);
}

bool TStallmarkForm::Guarded(const std::function<void()>& operation) { return RunGuarded(*this, operation); }

TOptionsForm& TStallmarkForm::Options() {
    if (!options_) {
        // A failed load leaves the dialog with its design values; the caller
        // reports the error.
        options_ = std::make_unique<TOptionsForm>(ctx_.settings, ctx_.dialogs, this);
        connect(options_.get(), &TOptionsForm::optionsChanged, this, [this] { RefreshOptionValues(); });
        RefreshOptionValues();
        options_->LoadOptions();
        RefreshOptionValues();
    }
    return *options_;
}

void TStallmarkForm::RefreshOptionValues() {
    if (options_) snapshot_ = options_->Snapshot();
}

void TStallmarkForm::FormCreate() {
    try {
        data_->ConvertOldFiles(ctx_.clock, [this](const std::string& message) {
            ctx_.dialogs.ShowMessageBox(FromBytes(message), MsgKind::Information, mbOK);
        });
        pageControl_->SetActivePageIndex(pgWeapons);
        LoadSettings();
        data_->EnsureDataFiles();
        registry_.ForEach(ListRegistry::Phase::Load, [](StoredList& list) { list.LoadList(); });
        ApplyButtonOptions();
        for (const auto& tab : tabs_)
            if (tab)
                for (TStringGrid* grid : tab->SizingGrids()) SetGridSizing(grid, tab->GridSizing());
        ApplyListOptions(0);
        registry_.ForEach(ListRegistry::Phase::Show, [](StoredList& list) { list.ShowList(); });
        if (TTabSheet* page = pageControl_->ActivePage()) PostSizeMessage(page);
        TimerTimer();
    } catch (const std::exception& e) {
        ctx_.dialogs.ShowMessageBox(u"Error in Create : "_s + QString::fromLocal8Bit(e.what()), MsgKind::Error, mbOK);
    }
}

void TStallmarkForm::LoadSettings() {
    QScopedValueRollback loading(state_.SettingsLoading, true);

    TOptionsForm& options = Options();
    setWindowFlag(Qt::WindowStaysOnTopHint, options.StayOnTop());

    std::optional<double> bulk;
    try {
        bulk = ctx_.settings.ReadDateTime(values::BulkDate.name);
    } catch (const std::exception&) {
        bulk.reset();
    }
    state_.BulkTimerStart = bulk && SaneDateTime(*bulk) ? *bulk : ctx_.clock.Now();

    SettingsStore& s = ctx_.settings;
    const int left = ReadValue(s, values::Left, x());
    const int top = ReadValue(s, values::Top, y());
    move(left, top);
    const int height = ReadValue(s, values::Height, this->height());
    const int width = ReadValue(s, values::Width, this->width());
    resize(width, height);
    setWindowState(ReadValue(s, values::Maxi, false) ? (windowState() | Qt::WindowMaximized)
                                                     : (windowState() & ~Qt::WindowMaximized));
    pageControl_->SetActivePageIndex(ReadValue(s, values::LastPage, 0));
    registry_.ForEach(ListRegistry::Phase::ReadSettings, [&s](StoredList& list) { list.LoadSettings(s); });
    state_.SettingsLoaded = true;
}

void TStallmarkForm::SaveSettings() {
    if (!options_ || !state_.SettingsLoaded) return;
    SettingsStore& s = ctx_.settings;
    s.WriteDateTime(values::BulkDate.name, state_.BulkTimerStart);
    WriteValue(s, values::LastPage, pageControl_->ActivePageIndex());
    registry_.ForEach(ListRegistry::Phase::WriteSettings, [&s](StoredList& list) { list.SaveSettings(s); });
    if (options_->SaveOnExit()) {
        const bool maximised = isMaximized();
        WriteValue(s, values::Maxi, maximised);
        if (!maximised) {
            WriteValue(s, values::Left, x());
            WriteValue(s, values::Top, y());
            WriteValue(s, values::Width, width());
            WriteValue(s, values::Height, height());
        }
    }
    s.Flush();
}

void TStallmarkForm::FormShow() {
    ApplyPageOptions();
    state_.Ready = true;
    PostSizeMessage(pageControl_);
}

void TStallmarkForm::ApplyPageOptions() {
    TOptionsForm& options = Options();
    if (options.MultiLine() != pageControl_->MultiLine()) pageControl_->SetMultiLine(options.MultiLine());
    for (int page = 0; page < kPageCount; ++page) pageControl_->SetTabVisible(page, !options.PageHidden(page));
    for (int page = 0; page < kPageCount; ++page) pageControl_->SetTabCaption(page, options.PageName(page));
}

void TStallmarkForm::ApplyButtonOptions() {
    TOptionsForm& options = Options();
    const ButtonOptions buttons = options.Snapshot().buttons;
    for (const char* name : kButtonPanels)
        if (auto* panel = findChild<QWidget*>(Latin(name))) ApplyPanelButtonOptions(panel, buttons);
    ApplyPanelButtonOptions(options.ButtonPanel(), buttons);
    for (const char* name : kReagentButtons)
        if (auto* button = findChild<TToolBtnSig*>(Latin(name)))
            button->setDisplayMode(buttons.graphic ? dmBoth : dmTextOnly);
}

void TStallmarkForm::LayoutTabs(TTabSheet* activePage) {
    if (state_.SettingsLoading || !state_.Ready || state_.TabLayoutBusy || !options_) return;
    QScopedValueRollback busy(state_.TabLayoutBusy, true);

    int width = 0;
    if (options_->MultiLine()) {
        width = std::max(options_->TabWidthValue(), 10);
    } else {
        const int count = pageControl_->VisibleTabCount();
        if (count == 0) return;
        width = std::max((pageControl_->contentsRect().width() - (9 * count + 9)) / count, 10);
    }
    if (width != pageControl_->TabWidth()) pageControl_->SetTabWidth(width);

    const TabPage* tab = Tab(pageControl_->IndexOf(activePage));
    if (activePage && tab && tab->RelayoutWithTabs()) PostSizeMessage(activePage);
}

void TStallmarkForm::RelayoutPages() { LayoutTabs(pageControl_->ActivePage()); }

void TStallmarkForm::SetGridSizing(TStringGrid* grid, bool allowed) {
    if (grid) grid->SetGridSizing(allowed);
}

void TStallmarkForm::TimerTimer() {
    if (state_.TimerBusy) return;
    state_.TimerBusy = true;
    const auto done = qScopeGuard([this] { state_.TimerBusy = false; });
    registry_.ForEach(ListRegistry::Phase::Tick, [this](StoredList& list) { Guarded([&list] { list.TimerTick(); }); });
}

void TStallmarkForm::Mp_OptionsClick() {
    if (!Guarded([this] { Options(); })) return;
    const int result = ctx_.dialogs.RunModal(*options_);
    RefreshOptionValues();
    if (result != QDialog::Accepted) return;
    Guarded([this] {
        ApplyButtonOptions();
        ApplyPageOptions();
    });
}

void TStallmarkForm::Popup_PricesPopup() {
    const TabPage* tab = ActiveTab();
    const PopupState s = tab ? tab->Popup(QApplication::focusWidget()) : PopupState{};
    auto show = [this](const char* name, bool visible) { MenuItem(name)->setVisible(visible); };
    show("Mp_SendToGame", s.sendToGame);
    show("Break1", s.sendToGame);
    show("Mp_SendToDetail", s.sendToDetail);
    show("Mp_GridResize", s.gridResize);
    MenuItem("Mp_GridResize")->setChecked(s.gridResizeChecked);
    show("Mp_Reorder", s.reorder);
    MenuItem("Mp_Reorder")->setData(s.reorder ? 1 : MenuItem("Mp_Reorder")->data().toInt());
    for (const char* name : {"Mp_HideColDate", "Mp_HideColAge", "Mp_HideColOther", "BreakHide"})
        show(name, s.hideColumns);
    MenuItem("Mp_HideColDate")->setChecked(s.hideDate);
    MenuItem("Mp_HideColAge")->setChecked(s.hideAge);
    MenuItem("Mp_HideColOther")->setChecked(s.hideOther);
    show("Mp_Link", s.link);
    show("Break_Link", s.link);
    if (s.link) MenuItem("Mp_Link")->setChecked(s.linkChecked);
    QAction* list1 = MenuItem("Mp_ListOpt1");
    QAction* list2 = MenuItem("Mp_ListOpt2");
    if (!s.list1Caption.isEmpty()) list1->setText(s.list1Caption);
    if (!s.list2Caption.isEmpty()) list2->setText(s.list2Caption);
    list1->setData(s.list1);
    list2->setData(s.list2);
    list1->setVisible(s.list1 >= 1);
    list2->setVisible(s.list2 >= 1);
}

void TStallmarkForm::Mp_SendToGameClick() {
    if (TabPage* tab = ActiveTab()) Guarded([tab] { tab->SendToGame(QApplication::focusWidget()); });
}

void TStallmarkForm::Mp_SendToDetailClick() {
    if (TabPage* tab = ActiveTab()) Guarded([tab] { tab->SendToDetail(); });
}

void TStallmarkForm::Mp_ReorderClick() {
    // Only the page that showed "Reorder" in the popup sets the item's mark.
    if (MenuItem("Mp_Reorder")->data().toInt() != 1) return;
    if (TabPage* tab = ActiveTab()) Guarded([tab] { tab->Reorder(); });
}

void TStallmarkForm::Mp_HideColClick(HideColumn column, bool hide) {
    if (TabPage* tab = ActiveTab()) Guarded([&] { tab->HideColumnChanged(column, hide); });
}

void TStallmarkForm::Mp_LinkClick() {
    if (TabPage* tab = ActiveTab()) tab->LinkChanged(MenuItem("Mp_Link")->isChecked());
}

void TStallmarkForm::ListOptionChanged(QAction* item) {
    if (!item) return;
    const int number = item->data().toInt();
    if (number < 1 || number > kListCount) return;
    TListOptionsForm dialog(ctx_.settings, ctx_.dialogs, this);
    if (!Guarded([&] { dialog.SelectList(number); })) return;
    if (ctx_.dialogs.RunModal(dialog) == QDialog::Accepted) Guarded([&] { ApplyListOptions(number); });
}

void TStallmarkForm::ApplyListOptions(int number) {
    TListOptionsForm dialog(ctx_.settings, ctx_.dialogs, this);
    for (int list : kListApplyOrder) {
        if (number != 0 && number != list) continue;
        dialog.SelectList(list);
        registry_.ForEach(ListRegistry::Phase::Load,
                          [&](StoredList& stored) { stored.ApplyListDisplay(list, dialog.Display()); });
        // The grids with their own grid lines are laid out again with the tabs.
        if (ListByNumber(list).hasGridLines) LayoutTabs(pageControl_->ActivePage());
    }
}

void TStallmarkForm::Mp_GridResizeClick() {
    QAction* resize = MenuItem("Mp_GridResize");
    // A checkable item has already toggled itself when triggered from the menu.
    const bool on = resize->isChecked();
    TabPage* tab = ActiveTab();
    if (!tab) return;
    const std::vector<TStringGrid*> grids = tab->SizingGrids();
    if (grids.empty()) return;
    tab->SetGridSizingFlag(on);
    if (on && tab->AsksGridHeight()) {
        QString answer = QString::number(grids.front()->DefaultRowHeight());
        if (ctx_.dialogs.InputQuery(u"Enter Grid Height"_s, u"Grid Height"_s, answer))
            grids.front()->setDefaultRowHeight(std::max(6, ToIntOrZero(ToBytes(answer))));
    }
    for (TStringGrid* grid : grids) SetGridSizing(grid, on);
    tab->Relayout();
}

bool TStallmarkForm::SendToGame(const std::string& text, bool sendEnter, int backspaces) {
    return keyboard_->SendToGame(text, sendEnter, backspaces);
}

bool TStallmarkForm::ConfirmGamePosition() { return AskGamePosition(ctx_.dialogs); }

bool TStallmarkForm::ClearBookOrProfile(TypingSession* session) {
    // The page shown may offer its own count (the memo's length); else "BackSpc".
    QString answer = Options().BackSpcText();
    if (const TabPage* tab = ActiveTab())
        if (const std::optional<int> count = tab->ClearCountDefault()) answer = QString::number(*count);
    return AskAndClearBookOrProfile(ctx_.dialogs, *keyboard_, answer, session);
}

Dialogs& TStallmarkForm::HostDialogs() { return ctx_.dialogs; }
const Clock& TStallmarkForm::HostClock() { return ctx_.clock; }
SettingsStore& TStallmarkForm::HostSettings() { return ctx_.settings; }
Pacer& TStallmarkForm::HostPacer() { return ctx_.pacer; }
std::string TStallmarkForm::DataFilePath(const std::string& name) { return data_->DataFilePath(name); }

void TStallmarkForm::Mp_HelpClick() {
    ctx_.dialogs.ShowMessageBox(
        u"Stallmark, made by Orvanel\n\rMail: stallmark@orvanel.example\n\rWeb: orvanel.example/stallmark\n\r"
        "Version 3.6"_s,
        MsgKind::Information, mbOK);
}

void TStallmarkForm::Mp_ExitClick() { close(); }

void TStallmarkForm::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    // Playback stops first, so that nothing below changes the foreground window, and
    // any run of sends still going stops at its next line.
    state_.MemoPlaying = false;
    state_.Closing = true;
    timer_->stop();
    Guarded([this] { SaveSettings(); });
    // Edits still open are saved, not lost.
    registry_.ForEach(ListRegistry::Phase::SaveOpenEdit,
                      [this](StoredList& list) { Guarded([&list] { list.SaveOpenEdit(); }); });
}

void TStallmarkForm::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (shown_) return;
    shown_ = true;
    FormShow();
}

void TStallmarkForm::closeEvent(QCloseEvent* event) {
    FormDestroy();
    event->accept();
}

void TStallmarkForm::contextMenuEvent(QContextMenuEvent* event) { popup_->popup(event->globalPos()); }

}  // namespace stallmark
