#include "app/StallmarkForm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>

#include "app/ListOptionsForm.h"
#include "app/OptionsForm.h"
#include "app/PageControl.h"
#include "controls/Dialogs.h"
#include "controls/Text1252.h"
#include "controls/ToolButton.h"
#include "game/GameLink.h"
#include "lists/ListDisplay.h"
#include "lists/ListPage.h"
#include "settings/SettingsStore.h"
#include "store/DataFolder.h"
#include "store/Fields.h"

namespace stallmark {

// The grid's default row height, read and set (with the grid, StallmarkFormGrids.cpp).
int GridDefaultRowHeight(TStringGrid* grid);
void SetGridDefaultRowHeight(TStringGrid* grid, int height);

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

QString ErrorText(const std::exception& e) { return QString::fromLocal8Bit(e.what()); }

}  // namespace

TStallmarkForm::TStallmarkForm(const AppContext& context, QWidget* parent)
    : QMainWindow(parent), ctx_(context), data_(std::make_unique<DataFolder>(context.dataFolder)) {
    GameLinkOptions link;
    link.windowName = [this] { return options_ ? ToBytes(options_->WindowName()) : std::string("Ultima Online -"); };
    link.charDelayText = [this] { return options_ ? ToBytes(options_->CharDelayText()) : std::string("0"); };
    link.memoPlaying = [this] { return state_.MemoPlaying; };
    gameLink_ = std::make_unique<GameLink>(ctx_.gameWindows, ctx_.pacer, link);
    BuildControls();
    CreateLists();
    FormCreate();
}

TStallmarkForm::~TStallmarkForm() {
    if (!destroyed_) FormDestroy();
}

void TStallmarkForm::BuildControls() {
    setObjectName("StallmarkForm");
    setWindowTitle("Stallmark");
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    QFont designFont("MS Sans Serif", 8);
    designFont.setStyleHint(QFont::SansSerif);
    setFont(designFont);
    setMinimumSize(100, 300);
    setGeometry(kDesignLeft, kDesignTop, kDesignWidth, kDesignHeight);

    pageControl_ = new TPageControl(this);
    setCentralWidget(pageControl_);
    for (const PageDesign& page : kPages)
        pageControl_->AddPage(new TTabSheet(QString::fromLatin1(page.name)), QString::fromLatin1(page.caption));
    connect(pageControl_, &TPageControl::resized, this, [this] { LayoutTabs(pageControl_->ActivePage()); });
    connect(pageControl_, &TPageControl::pageChanged, this, [this] { LayoutTabs(pageControl_->ActivePage()); });

    BuildPopup();

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer");
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, [this] { TimerTimer(); });
    timer_->start();
}

void TStallmarkForm::BuildPopup() {
    popup_ = new QMenu(this);
    popup_->setObjectName("Popup_Prices");
    auto item = [this](const char* name, const char* caption, QKeySequence shortcut = {}) {
        QAction* action = popup_->addAction(QString::fromLatin1(caption));
        action->setObjectName(name);
        if (!shortcut.isEmpty()) {
            action->setShortcut(shortcut);
            action->setShortcutContext(Qt::WindowShortcut);
            addAction(action);  // the short cut works while the menu is closed
        }
        return action;
    };
    auto separator = [this](const char* name) { popup_->addSeparator()->setObjectName(name); };

    QAction* send = item("Mp_SendToGame", "Send To &Game", QKeySequence(Qt::Key_F2));
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

    connect(popup_, &QMenu::aboutToShow, this, [this] { Popup_PricesPopup(); });
    connect(send, &QAction::triggered, this, [this] { Mp_SendToGameClick(); });
    connect(detail, &QAction::triggered, this, [this] { Mp_SendToDetailClick(); });
    connect(list1, &QAction::triggered, this, [this, list1] { ListOptionChanged(list1); });
    connect(list2, &QAction::triggered, this, [this, list2] { ListOptionChanged(list2); });
    connect(resize, &QAction::triggered, this, [this] { Mp_GridResizeClick(); });
    connect(reorder, &QAction::triggered, this, [this, reorder] {
        if (reorder->data().toInt() != 1) return;
        if (ListPage* page = PageList(pgWeapons)) Guarded([page] { page->Reorder(); });
    });
    using Hide = ListPage::HideColumn;
    for (auto [action, column] : {std::pair{hideDate, Hide::Date}, {hideAge, Hide::Age}, {hideOther, Hide::Other}}) {
        action->setCheckable(true);
        connect(action, &QAction::triggered, this, [this, column](bool checked) {
            const int page = pageControl_->ActivePageIndex();
            if ((page == pgWeapons || page == pgArmour) && PageList(page))
                PageList(page)->HideColumnChanged(column, checked);
        });
    }
    connect(options, &QAction::triggered, this, [this] { Mp_OptionsClick(); });
    connect(help, &QAction::triggered, this, [this] { Mp_HelpClick(); });
    connect(exit, &QAction::triggered, this, [this] { Mp_ExitClick(); });
}

QAction* TStallmarkForm::MenuItem(const char* name) const {
    for (QAction* action : popup_->actions())
        if (action->objectName() == QLatin1String(name)) return action;
    return nullptr;
}

TTabSheet* TStallmarkForm::Page(int index) const { return pageControl_->Page(index); }

void TStallmarkForm::AddList(std::unique_ptr<ListPage> list, int page) {
    if (page >= 0 && page < kPageCount) pageLists_[page] = list.get();
    lists_.push_back(std::move(list));
    listPages_.push_back(page);
}

bool TStallmarkForm::Guarded(const std::function<void()>& operation) {
    try {
        operation();
        return true;
    } catch (const std::exception& e) {
        ctx_.dialogs.ShowMessageBox(ErrorText(e), MsgKind::Error, mbOK);
        return false;
    }
}

TOptionsForm& TStallmarkForm::Options() {
    if (!options_) {
        // A failed load leaves the dialog with its design values; the caller
        // reports the error.
        options_ = std::make_unique<TOptionsForm>(ctx_.settings, ctx_.dialogs, this);
        options_->LoadOptions();
    }
    return *options_;
}

void TStallmarkForm::FormCreate() {
    try {
        // Steps of lists that are not part of the window yet are left out here;
        // each list adds its own when it arrives.
        data_->ConvertOldFiles(ctx_.clock, [this](const std::string& message) {
            ctx_.dialogs.ShowMessageBox(FromBytes(message), MsgKind::Information, mbOK);
        });
        pageControl_->SetActivePageIndex(pgWeapons);
        LoadSettings();
        data_->EnsureDataFiles();
        state_.PlayList.clear();
        for (auto& list : lists_) list->LoadList();
        ApplyButtonOptions();
        for (std::size_t i = 0; i < lists_.size(); ++i)
            if (bool* flag = GridSizingFlag(listPages_[i]))
                for (TStringGrid* grid : lists_[i]->SizingGrids()) SetGridSizing(grid, *flag);
        ApplyListOptions(0);
        for (auto& list : lists_) list->ShowList();
        if (TTabSheet* page = pageControl_->ActivePage()) PostSizeMessage(page);
        TimerTimer();
    } catch (const std::exception& e) {
        ctx_.dialogs.ShowMessageBox("Error in Create : " + ErrorText(e), MsgKind::Error, mbOK);
    }
}

void TStallmarkForm::LoadSettings() {
    state_.SettingsLoading = true;
    struct Done {
        SharedState& s;
        ~Done() { s.SettingsLoading = false; }
    } done{state_};

    TOptionsForm& options = Options();
    setWindowFlag(Qt::WindowStaysOnTopHint, options.StayOnTop());

    std::optional<double> bulk;
    try {
        bulk = ctx_.settings.ReadDateTime("Bulk Date");
    } catch (const std::exception&) {
        bulk.reset();
    }
    state_.BulkTimerStart = bulk ? *bulk : ctx_.clock.Now();

    SettingsStore& s = ctx_.settings;
    const int left = s.ReadInteger("Left", x());
    const int top = s.ReadInteger("Top", y());
    move(left, top);
    const int height = s.ReadInteger("Height", this->height());
    const int width = s.ReadInteger("Width", this->width());
    resize(width, height);
    setWindowState(s.ReadBool("Maxi", false) ? (windowState() | Qt::WindowMaximized)
                                             : (windowState() & ~Qt::WindowMaximized));
    pageControl_->SetActivePageIndex(s.ReadInteger("LastPage", 0));
    for (auto& list : lists_) list->LoadSettings(s);
    state_.SettingsLoaded = true;
}

void TStallmarkForm::SaveSettings() {
    if (!options_ || !state_.SettingsLoaded) return;
    SettingsStore& s = ctx_.settings;
    s.WriteDateTime("Bulk Date", state_.BulkTimerStart);
    s.WriteInteger("LastPage", pageControl_->ActivePageIndex());
    for (auto& list : lists_) list->SaveSettings(s);
    if (options_->SaveOnExit()) {
        const bool maximised = isMaximized();
        s.WriteBool("Maxi", maximised);
        if (!maximised) {
            s.WriteInteger("Left", x());
            s.WriteInteger("Top", y());
            s.WriteInteger("Width", width());
            s.WriteInteger("Height", height());
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
    ButtonOptions buttons;
    buttons.showHints = options.ShowHints();
    buttons.graphic = options.ButtonGraphic();
    buttons.text = options.ButtonText();
    for (const char* name : {"Gb_MWBtn", "Gb_MWBtn2", "Gb_MABtn", "Gb_MABtn2", "Gb_ArmBtn", "Gb_OthBtn", "Gb_OthBtn2",
                             "GB_OthTMap", "Pn_BulkBtn", "Pn_MemoBtns", "Gb_Charged", "Pn_BtnVendor", "Pn_Memo"})
        if (auto* panel = findChild<QWidget*>(QString::fromLatin1(name))) ApplyPanelButtonOptions(panel, buttons);
    ApplyPanelButtonOptions(options.ButtonPanel(), buttons);
    for (const char* name :
         {"Btn_RegBp", "Btn_RegBm", "Btn_RegGl", "Btn_RegGs", "Btn_RegMn", "Btn_RegNs", "Btn_RegSs", "Btn_RegSa"})
        if (auto* button = findChild<TToolBtnSig*>(QString::fromLatin1(name)))
            button->setDisplayMode(buttons.graphic ? dmBoth : dmTextOnly);
}

ButtonOptions TStallmarkForm::HostButtonOptions() {
    TOptionsForm& options = Options();
    return ButtonOptions{options.ShowHints(), options.ButtonGraphic(), options.ButtonText()};
}

void TStallmarkForm::LayoutTabs(TTabSheet* activePage) {
    if (state_.SettingsLoading || !state_.Ready || state_.TabLayoutBusy || !options_) return;
    state_.TabLayoutBusy = true;
    struct Done {
        SharedState& s;
        ~Done() { s.TabLayoutBusy = false; }
    } done{state_};

    int width = 0;
    if (options_->MultiLine()) {
        width = std::max(options_->TabWidthValue(), 10);
    } else {
        const int count = pageControl_->VisibleTabCount();
        if (count == 0) return;
        width = std::max((pageControl_->contentsRect().width() - (9 * count + 9)) / count, 10);
    }
    if (width != pageControl_->TabWidth()) pageControl_->SetTabWidth(width);

    for (int page : {pgWeapons, pgArmour, pgSmith, pgGeneral, pgRegs, pgVendor})
        if (activePage && Page(page) == activePage) PostSizeMessage(activePage);
}

void TStallmarkForm::TimerTimer() {
    if (state_.TimerBusy) return;
    state_.TimerBusy = true;
    for (auto& list : lists_) list->TimerTick();
    state_.TimerBusy = false;
}

void TStallmarkForm::Mp_OptionsClick() {
    if (!Guarded([this] { Options(); })) return;
    if (ctx_.dialogs.RunModal(*options_) != QDialog::Accepted) return;
    Guarded([this] {
        ApplyButtonOptions();
        ApplyPageOptions();
    });
}

void TStallmarkForm::Popup_PricesPopup() {
    const int page = pageControl_->ActivePageIndex();
    QAction* list1 = MenuItem("Mp_ListOpt1");
    QAction* list2 = MenuItem("Mp_ListOpt2");
    QAction* resize = MenuItem("Mp_GridResize");
    int number1 = 0, number2 = 0;
    for (const char* name : {"Mp_GridResize", "Mp_SendToDetail", "Mp_Reorder", "Mp_HideColDate", "Mp_HideColAge",
                             "Mp_HideColOther", "BreakHide"})
        MenuItem(name)->setVisible(false);
    MenuItem("Mp_SendToGame")->setVisible(true);
    MenuItem("Break1")->setVisible(true);

    auto showHide = [this](bool date, bool age, bool other) {
        for (const char* name : {"Mp_HideColDate", "Mp_HideColAge", "Mp_HideColOther", "BreakHide"})
            MenuItem(name)->setVisible(true);
        MenuItem("Mp_HideColDate")->setChecked(date);
        MenuItem("Mp_HideColAge")->setChecked(age);
        MenuItem("Mp_HideColOther")->setChecked(other);
    };
    if (page == pgWeapons || page == pgArmour) {
        resize->setVisible(true);
        MenuItem("Mp_SendToDetail")->setVisible(true);
        list1->setText("Stock List Options");
        list2->setText("Price List Options");
        if (page == pgArmour) {
            resize->setChecked(state_.GridSizingMA);
            number1 = 3;
            number2 = 4;
            showHide(state_.MAHideDate, state_.MAHideAge, state_.MAHideOther);
        } else {
            resize->setChecked(state_.GridSizingMW);
            number1 = 1;
            number2 = 2;
            showHide(state_.MWHideDate, state_.MWHideAge, state_.MWHideOther);
            MenuItem("Mp_Reorder")->setVisible(true);
            MenuItem("Mp_Reorder")->setData(1);
        }
    }
    if (page == pgSmith) {
        resize->setVisible(true);
        resize->setChecked(state_.GridSizingSmith);
        list1->setText("Price List Options");
        list2->setText("Description List Options");
        number1 = 5;
        number2 = 6;
    }
    if (page == pgBulk) {
        list1->setText("Large Order Options");
        list2->setText("Bulk Order Options");
        number1 = 8;
        number2 = 9;
    }
    MenuItem("Mp_Link")->setVisible(page == pgRegs);
    MenuItem("Break_Link")->setVisible(page == pgRegs);
    if (page == pgMemos) {
        list1->setText("Memo List Options");
        number1 = 10;
    }
    if (page == pgVendor) {
        resize->setVisible(true);
        resize->setChecked(state_.GridSizingVendor);
        list1->setText("Vendor List Options");
        number1 = 11;
        const auto grids = PageList(pgVendor) ? PageList(pgVendor)->SizingGrids() : std::vector<TStringGrid*>{};
        const bool gridFocused = !grids.empty() && QApplication::focusWidget() &&
                                 reinterpret_cast<QWidget*>(grids.front()) == QApplication::focusWidget();
        MenuItem("Mp_SendToGame")->setVisible(!gridFocused);
        MenuItem("Break1")->setVisible(!gridFocused);
    }
    if (page == pgGeneral) {
        resize->setVisible(true);
        resize->setChecked(state_.GridSizingGeneral);
        list1->setText("General List Options");
        number1 = 7;
    }
    list1->setData(number1);
    list2->setData(number2);
    list1->setVisible(number1 >= 1);
    list2->setVisible(number2 >= 1);
}

void TStallmarkForm::Mp_SendToGameClick() {
    if (ListPage* page = PageList(pageControl_->ActivePageIndex())) Guarded([page] { page->SendToGame(); });
}

void TStallmarkForm::Mp_SendToDetailClick() {
    const int index = pageControl_->ActivePageIndex();
    if (index != pgWeapons && index != pgArmour) return;
    if (ListPage* page = PageList(index)) Guarded([page] { page->SendToDetail(); });
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
    // Which page shows each list.
    auto pageOf = [](int list) {
        switch (list) {
            case 1:
            case 2: return static_cast<int>(pgWeapons);
            case 3:
            case 4: return static_cast<int>(pgArmour);
            case 5:
            case 6: return static_cast<int>(pgSmith);
            case 7: return static_cast<int>(pgGeneral);
            case 8:
            case 9: return static_cast<int>(pgBulk);
            case 10: return static_cast<int>(pgMemos);
            default: return static_cast<int>(pgVendor);
        }
    };
    for (int list : {1, 2, 3, 4, 5, 6, 8, 9, 7, 10, 11}) {
        if (number != 0 && number != list) continue;
        dialog.SelectList(list);
        for (std::size_t i = 0; i < lists_.size(); ++i)
            if (listPages_[i] == pageOf(list)) lists_[i]->ApplyListDisplay(list, dialog.Display());
        if (list == 5 || list == 6 || list == 7 || list == 11) LayoutTabs(pageControl_->ActivePage());
    }
}

bool* TStallmarkForm::GridSizingFlag(int page) {
    switch (page) {
        case pgSmith: return &state_.GridSizingSmith;
        case pgWeapons: return &state_.GridSizingMW;
        case pgGeneral: return &state_.GridSizingGeneral;
        case pgArmour: return &state_.GridSizingMA;
        case pgVendor: return &state_.GridSizingVendor;
        default: return nullptr;
    }
}

void TStallmarkForm::Mp_GridResizeClick() {
    QAction* resize = MenuItem("Mp_GridResize");
    // A checkable item has already toggled itself when triggered from the menu.
    const bool on = resize->isChecked();
    const int index = pageControl_->ActivePageIndex();
    bool* flag = GridSizingFlag(index);
    ListPage* page = PageList(index);
    if (!flag) return;
    *flag = on;
    if (!page) return;
    const std::vector<TStringGrid*> grids = page->SizingGrids();
    if (on && index != pgVendor && !grids.empty()) {
        QString answer = QString::number(GridDefaultRowHeight(grids.front()));
        if (ctx_.dialogs.InputQuery("Enter Grid Height", "Grid Height", answer))
            SetGridDefaultRowHeight(grids.front(), std::max(6, ToIntOrZero(ToBytes(answer))));
    }
    for (TStringGrid* grid : grids) SetGridSizing(grid, on);
    page->Relayout();
}

bool TStallmarkForm::ConfirmGamePosition() {
    return ctx_.dialogs.ShowMessageBox("Position game cursor in a book\n\ror your profile before proceeding.",
                                       MsgKind::Warning, mbOK | mbCancel) == mbOK;
}

bool TStallmarkForm::ClearBookOrProfile() {
    // On the Memos page the memo's own length is the default; elsewhere "BackSpc".
    QString answer = Options().BackSpcText();
    if (pageControl_->ActivePageIndex() == pgMemos && memoLength_) answer = QString::number(memoLength_());
    if (!ctx_.dialogs.InputQuery("Clear book or profile", "No backspaces required to clear target", answer))
        return false;
    const int count = ToIntOrZero(ToBytes(answer));
    if (!ConfirmGamePosition()) return false;
    gameLink_->SendBackspaces(count);
    return true;
}

Dialogs& TStallmarkForm::HostDialogs() { return ctx_.dialogs; }
const Clock& TStallmarkForm::HostClock() { return ctx_.clock; }
SettingsStore& TStallmarkForm::HostSettings() { return ctx_.settings; }
std::string TStallmarkForm::DataFilePath(const std::string& name) { return data_->DataFilePath(name); }

SendRowOptions TStallmarkForm::SendRow(int row) {
    TOptionsForm& options = Options();
    return SendRowOptions{options.SendVal(row), options.SendDesc(row), options.SendCr(row)};
}

int TStallmarkForm::BackSpc() { return Options().BackSpc(); }
bool TStallmarkForm::ShowHints() { return Options().ShowHints(); }

void TStallmarkForm::SendToGame(const std::string& text, bool sendEnter, int backspaces) {
    gameLink_->SendToGame(text, sendEnter, backspaces);
}

void TStallmarkForm::Mp_HelpClick() {
    ctx_.dialogs.ShowMessageBox(
        "Stallmark, made by Orvanel\n\rMail: stallmark@orvanel.example\n\rWeb: orvanel.example/stallmark\n\r"
        "Version 3.6",
        MsgKind::Information, mbOK);
}

void TStallmarkForm::Mp_ExitClick() { close(); }

void TStallmarkForm::FormDestroy() {
    if (destroyed_) return;
    destroyed_ = true;
    state_.MemoPlaying = false;
    timer_->stop();
    Guarded([this] { SaveSettings(); });
    // Edits still open are saved, not lost: smith, General, memo, vendors.
    for (int page : {pgSmith, pgGeneral, pgMemos, pgVendor})
        for (std::size_t i = 0; i < lists_.size(); ++i)
            if (listPages_[i] == page) Guarded([&] { lists_[i]->SaveOpenEdit(); });
    state_.PlayList.clear();
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
