#pragma once
// The program's main window on the real desktop: a temporary data folder,
// memory settings, a fixed clock, the real X11 game link typing into a
// receiver window that stands in for the game, and dialogs that answer
// message boxes from a script but run the program's own modal windows for
// real (driven by a script through XTest while they are up).

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QWindow>
#include <deque>
#include <functional>
#include <memory>
#include <string>

#include "app/AppContext.h"
#include "app/PageControl.h"
#include "app/QtPacer.h"
#include "app/StallmarkForm.h"
#include "controls/DialogWindow.h"
#include "controls/Dialogs.h"
#include "controls/StringGrid.h"
#include "e2e/RealInput.h"
#include "game/X11GameWindows.h"
#include "settings/MemorySettings.h"
#include "store/Clock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

// Texts in failure messages as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace stallmark::e2e {

// Boxes, input boxes and pickers answer from queues (ScriptedDialogs);
// a modal window with a queued script is run by the real QtDialogs and the
// script drives it; input boxes and font pickers with a queued script too.
class RealDialogs final : public Dialogs {
public:
    using Script = std::function<void(QWidget* modal)>;

    MsgButton ShowMessageBox(const QString& text, MsgKind kind, MsgButtons buttons) override {
        if (boxScripts.empty()) return scripted.ShowMessageBox(text, kind, buttons);
        WhenModalShown(Take(boxScripts));
        return real.ShowMessageBox(text, kind, buttons);
    }
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override {
        if (inputScripts.empty()) return scripted.InputQuery(caption, prompt, value);
        WhenModalShown(Take(inputScripts));
        return real.InputQuery(caption, prompt, value);
    }
    bool PickFont(QFont& font) override {
        if (fontScripts.empty()) return scripted.PickFont(font);
        WhenModalShown(Take(fontScripts));
        return real.PickFont(font);
    }
    bool PickColor(QColor& color) override { return scripted.PickColor(color); }
    int RunModal(QDialog& dialog) override {
        ++modalRuns;
        if (modalScripts.empty()) return scripted.RunModal(dialog);
        WhenModalShown(Take(modalScripts));
        return real.RunModal(dialog);
    }
    void Beep() override { ++beeps; }

    test::ScriptedDialogs scripted;
    QtDialogs real;
    std::deque<Script> boxScripts;
    std::deque<Script> modalScripts;
    std::deque<Script> inputScripts;
    std::deque<Script> fontScripts;
    int modalRuns = 0;
    int beeps = 0;

private:
    static Script Take(std::deque<Script>& queue) {
        Script script = std::move(queue.front());
        queue.pop_front();
        return script;
    }
};

// A test on the real desktop: the window, the game's stand-in, the data
// folder. Every test ends by checking that Qt warned of nothing.
class RealAppTest : public ::testing::Test {
protected:
    RealDesktop& desktop = RealDesktop::Get();
    test::TempDir dir;
    MemorySettings settings;
    FixedClock clock{EncodeDateTime(2026, 12, 8, 10, 30, 0)};
    RealDialogs dialogs;
    QtPacer pacer;
    std::unique_ptr<testing::Receiver> game;
    std::unique_ptr<X11GameWindows> gameWindows;
    std::unique_ptr<TStallmarkForm> form;

    void SetUp() override { RealDesktop::TakeWarnings(); }

    void TearDown() override {
        if (form) {
            form->close();
            form.reset();
        }
        gameWindows.reset();
        game.reset();
        // Qt warns of nothing (an editor opened over another says "edit:
        // editing failed").
        for (const QString& warning : RealDesktop::TakeWarnings())
            ADD_FAILURE() << "Qt warned: " << warning.toStdString();
    }

    // Starts the game's stand-in and the window, and shows the window.
    void StartWindow() {
        testing::ReceiverOptions options;
        options.windowClass = "Ultima Online";
        options.title = "UO";
        game = desktop.Session().StartReceiver(options);
        ASSERT_NE(game, nullptr) << "the game's stand-in did not come up";
        gameWindows = X11GameWindows::Open(desktop.DisplayName());
        ASSERT_NE(gameWindows, nullptr);
        form =
            std::make_unique<TStallmarkForm>(AppContext{dialogs, clock, settings, dir.Folder(), *gameWindows, pacer});
        ASSERT_TRUE(desktop.ShowAndActivate(form.get())) << "the window did not come up with the focus";
        gameWindows->SetProgramWindow(static_cast<WindowHandle>(form->winId()));
    }

    template <typename T = QWidget>
    T* Find(const char* name) {
        T* found = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    // Clicks the tab of a page (by the page's objectName).
    void ShowPage(const char* page) {
        auto* tab = Find<QAbstractButton>((std::string(page) + "_Tab").c_str());
        ASSERT_NE(tab, nullptr);
        ASSERT_TRUE(desktop.Click(tab));
        auto* pages = Find<TPageControl>("PageControl");
        ASSERT_TRUE(WaitFor([&] { return pages->ActivePage() && pages->ActivePage()->objectName() == page; }));
    }

    void ClickButton(const char* name) {
        auto* button = Find<QAbstractButton>(name);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled()) << name;
        ASSERT_TRUE(desktop.Click(button)) << name;
    }

    // Chooses an entry of a drop-down box with the mouse: open it, click the entry.
    void ChooseInBox(const char* name, const QString& entry) {
        auto* box = Find<QComboBox>(name);
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(desktop.Click(box));
        QAbstractItemView* list = box->view();
        ASSERT_TRUE(WaitFor([&] { return list->isVisible() && list->window()->windowHandle()->isExposed(); })) << name;
        const int index = box->findText(entry);
        ASSERT_GE(index, 0) << entry.toStdString();
        const QRect item = list->visualRect(box->model()->index(index, 0));
        ASSERT_TRUE(desktop.Click(list->viewport(), item.center()));
        ASSERT_TRUE(WaitFor([&] { return !list->isVisible() && box->currentText() == entry; }))
            << name << ": " << box->currentText().toStdString();
    }

    // The grid's cell editor is open on this cell, over it, with the keyboard focus.
    static bool EditorOn(TStringGrid* grid, int col, int row) {
        return WaitFor([&] {
            QLineEdit* editor = grid->CellEditor();
            return editor && editor->isVisible() && editor->hasFocus() && grid->Col() == col && grid->Row() == row &&
                   editor->geometry().contains(grid->viewport()->mapFrom(grid, grid->CellRect(col, row).center()));
        });
    }

    // Opens the window's popup menu with a right click on a widget and clicks
    // one of its items.
    void ChooseFromPopup(QWidget* at, const char* item) {
        ASSERT_TRUE(desktop.RightClick(at));
        QMenu* menu = form->Popup_Prices();
        ASSERT_TRUE(WaitFor([&] { return menu->isVisible() && menu->windowHandle()->isExposed(); }));
        QAction* action = form->MenuItem(item);
        ASSERT_NE(action, nullptr);
        ASSERT_TRUE(action->isVisible()) << item;
        ASSERT_TRUE(desktop.Click(menu, menu->actionGeometry(action).center())) << item;
    }

    // A dialog as the desktop shows it: no minimise or maximise button, the
    // whole title, above the window it belongs to.
    void ExpectDialogWindow(QWidget* dialog) {
        QStringList actions;
        ASSERT_TRUE(WaitFor([&] { return !(actions = desktop.AllowedActions(dialog)).isEmpty(); }));
        EXPECT_FALSE(actions.contains(QStringLiteral("MINIMIZE"))) << actions.join(',').toStdString();
        EXPECT_FALSE(actions.contains(QStringLiteral("MAXIMIZE_HORZ"))) << actions.join(',').toStdString();
        EXPECT_FALSE(actions.contains(QStringLiteral("MAXIMIZE_VERT"))) << actions.join(',').toStdString();
        EXPECT_GE(desktop.FrameGeometry(dialog).width(), TitleRoom(dialog->windowTitle(), QApplication::font()))
            << dialog->windowTitle().toStdString();
        EXPECT_TRUE(desktop.IsAbove(dialog, form.get())) << dialog->windowTitle().toStdString();
    }

    // No caption of a dialog is cut: every label, button and box is as wide
    // and as high as its text needs and lies inside the dialog.
    static void ExpectWholeCaptions(QWidget* dialog) {
        for (QWidget* w : dialog->findChildren<QWidget*>()) {
            if (!w->isVisible() || !(qobject_cast<QLabel*>(w) || qobject_cast<QAbstractButton*>(w))) continue;
            const QString name =
                w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
            EXPECT_GE(w->width(), w->sizeHint().width()) << name.toStdString();
            EXPECT_GE(w->height(), w->fontMetrics().height()) << name.toStdString();
            const QRect inDialog(w->mapTo(dialog, QPoint(0, 0)), w->size());
            EXPECT_TRUE(dialog->rect().contains(inDialog)) << name.toStdString();
        }
    }

    static QStringList Rows(TStringGrid* grid) {
        QStringList out;
        for (int r = grid->FixedRows(); r < grid->RowCount(); ++r) out << grid->RowTexts(r).join(QLatin1Char('|'));
        return out;
    }
};

}  // namespace stallmark::e2e
