#include "app/StallmarkForm.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QMenu>
#include <QTimer>

#include "app/OptionsForm.h"
#include "app/PageControl.h"
#include "controls/Dialogs.h"
#include "controls/Text1252.h"
#include "settings/SettingsStore.h"

namespace stallmark {

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

TStallmarkForm::TStallmarkForm(const AppContext& context, QWidget* parent) : QMainWindow(parent), ctx_(context) {
    BuildControls();
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

    popup_ = new QMenu(this);
    popup_->setObjectName("Popup_Prices");
    mpOptions_ = popup_->addAction("Options...");
    mpOptions_->setObjectName("Mp_Options");
    mpHelp_ = popup_->addAction("Help...");
    mpHelp_->setObjectName("Mp_Help");
    mpHelp_->setShortcut(QKeySequence(Qt::Key_F1));
    mpExit_ = popup_->addAction("Exit");
    mpExit_->setObjectName("Mp_Exit");
    mpExit_->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_X));
    for (QAction* action : {mpOptions_, mpHelp_, mpExit_}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);  // short cuts work while the menu is closed
    }
    connect(mpOptions_, &QAction::triggered, this, [this] { Mp_OptionsClick(); });
    connect(mpHelp_, &QAction::triggered, this, [this] { Mp_HelpClick(); });
    connect(mpExit_, &QAction::triggered, this, [this] { Mp_ExitClick(); });

    timer_ = new QTimer(this);
    timer_->setObjectName("Timer");
    timer_->setInterval(500);
    connect(timer_, &QTimer::timeout, this, [this] { TimerTimer(); });
    timer_->start();
}

TTabSheet* TStallmarkForm::Page(int index) const { return pageControl_->Page(index); }

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
        options_ = std::make_unique<TOptionsForm>(ctx_.settings, ctx_.dialogs, this);
        try {
            options_->LoadOptions();
        } catch (const std::exception&) {
            // The dialog keeps its design values; the caller reports the error.
            throw;
        }
    }
    return *options_;
}

void TStallmarkForm::FormCreate() {
    try {
        // Steps of lists that are not part of the window yet are left out here;
        // each list adds its own when it arrives.
        pageControl_->SetActivePageIndex(pgWeapons);
        LoadSettings();
        state_.PlayList.clear();
        ApplyButtonOptions();
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
    state_.SettingsLoaded = true;
}

void TStallmarkForm::SaveSettings() {
    if (!options_ || !state_.SettingsLoaded) return;
    SettingsStore& s = ctx_.settings;
    s.WriteDateTime("Bulk Date", state_.BulkTimerStart);
    s.WriteInteger("LastPage", pageControl_->ActivePageIndex());
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
    // Tool buttons arrive with the controls; nothing to apply yet.
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
