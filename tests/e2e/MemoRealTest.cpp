// The Memos page typed into and clicked through the real X server, as a player does: a
// new memo written with the keyboard, a pause and a special character put in through
// their own boxes, saved byte for byte; and a memo sent into a book, where the game
// receives the backspaces and then the memo exactly.

#include <X11/keysym.h>

#include <QInputDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QToolButton>

#include "controls/ToolButton.h"
#include "e2e/RealApp.h"
#include "game/GameKeyboard.h"

namespace stallmark::e2e {
namespace {

class MemoReal : public RealAppTest {
protected:
    QPlainTextEdit* editor = nullptr;
    QComboBox* name = nullptr;

    void Open(const char* file, const char* lastMemo = "") {
        if (file != nullptr) dir.Write("Memos.dat", file);
        settings.WriteString("LastMemo", lastMemo);
        StartWindow();
        ShowPage("Tab_Memos");
        editor = Find<QPlainTextEdit>("Memo_Memos");
        name = Find<QComboBox>("Cb_MemoName");
        ASSERT_TRUE(editor && name);
    }

    std::string File() { return dir.Read("Memos.dat"); }
    // The editor's text as the file would hold it.
    QString Text() { return editor->toPlainText(); }
    bool TextIs(const QString& text) {
        return WaitFor([&] { return Text() == text; });
    }
};

TEST_F(MemoReal, NewMemoTypedWithTheKeyboardIsSavedByteForByte) {
    Open("[Advert]\r\nVendor at Britain bank\r\n", "Advert");
    ClickButton("Btn_MemoNew");
    ASSERT_TRUE(WaitFor([&] { return name->isEditable() && name->hasFocus(); }));
    ASSERT_TRUE(desktop.Type(QStringLiteral(" Sale ")));
    // Tab goes on from the name to the editor; there Tab is a character.
    ASSERT_TRUE(desktop.Key(XK_Tab));
    ASSERT_TRUE(WaitFor([&] { return editor->hasFocus() && !editor->isReadOnly(); }));
    ASSERT_TRUE(desktop.Type(QStringLiteral("Half price ")));

    // A pause of 30 seconds, typed into its own box, goes in at the caret.
    bool asked = false;
    dialogs.inputScripts.push_back([&](QWidget* box) {
        asked = true;
        EXPECT_EQ(box->windowTitle(), QStringLiteral("Stallmark"));
        ASSERT_TRUE(desktop.Type(QStringLiteral("30\n")));
    });
    ClickButton("Btn_MemoPause");
    ASSERT_TRUE(asked);
    ASSERT_TRUE(TextIs(QStringLiteral("Half price \u00AB30\u00BB")));
    // Back in the text with a click after the end of its line, as the player goes on
    // (the window manager hands the keyboard back from the closed box in its own time).
    QTextCursor end = editor->textCursor();
    end.movePosition(QTextCursor::End);
    const QRect caret = editor->cursorRect(end);
    ASSERT_TRUE(desktop.Click(editor->viewport(), QPoint(caret.right() + 40, caret.center().y())));
    ASSERT_TRUE(WaitFor([&] { return editor->hasFocus() && editor->textCursor().atEnd(); }));
    ASSERT_TRUE(desktop.Type(QStringLiteral("\n\tonly caf")));

    // A special character from the button's menu.
    auto* chars = Find<TToolBtnSig>("Btn_MemoChar");
    ASSERT_TRUE(desktop.Click(chars));
    QMenu* menu = chars->dropdownMenu();
    ASSERT_TRUE(WaitFor([&] { return menu->isVisible() && menu->windowHandle()->isExposed(); }));
    QToolButton* eAcute = nullptr;
    for (QToolButton* item : menu->findChildren<QToolButton*>())
        if (item->defaultAction() && item->defaultAction()->data().toInt() == 0xE9) eAcute = item;
    ASSERT_NE(eAcute, nullptr);
    ASSERT_TRUE(desktop.Click(eAcute));
    ASSERT_TRUE(WaitFor([&] { return !menu->isVisible(); }));
    ASSERT_TRUE(TextIs(QStringLiteral("Half price \u00AB30\u00BB\n\tonly caf\u00E9")));
    EXPECT_EQ(Find<QLabel>("Lb_MemoLength")->text(), QStringLiteral("(0)"));

    ClickButton("Btn_MemoSave");
    EXPECT_EQ(File(),
              "[Advert]\r\nVendor at Britain bank\r\n[Sale]\r\nHalf price \xAB"
              "30\xBB\r\n\tonly caf\xE9\r\n");
    EXPECT_FALSE(dir.Exists("Memos.tmp"));
    EXPECT_TRUE(dialogs.scripted.boxes.empty()) << dialogs.scripted.Texts().join(';').toStdString();
    EXPECT_EQ(name->currentText(), QStringLiteral("Sale"));
    EXPECT_FALSE(name->isEditable());
    EXPECT_EQ(Find<QLabel>("Lb_MemoLength")->text(), QStringLiteral("(27)"));
}

TEST_F(MemoReal, SendTypesTheBackspacesThenTheMemoIntoTheGame) {
    Open("[Advert]\r\nWelcome\r\n[Book]\r\nDear reader,\r\nPrices below.\r\n", "Book");
    ASSERT_TRUE(TextIs(QStringLiteral("Dear reader,\nPrices below.")));
    bool counted = false, confirmed = false;
    dialogs.inputScripts.push_back([&](QWidget* box) {
        counted = true;
        auto* input = qobject_cast<QInputDialog*>(box);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->windowTitle(), QStringLiteral("Clear book or profile"));
        EXPECT_EQ(input->textValue(), QStringLiteral("27"));  // the memo's length
        ASSERT_TRUE(desktop.Key(XK_Return));
    });
    dialogs.boxScripts.push_back([&](QWidget* box) {
        confirmed = true;
        auto* message = qobject_cast<QMessageBox*>(box);
        ASSERT_NE(message, nullptr);
        ASSERT_TRUE(desktop.Click(message->button(QMessageBox::Ok)));
    });
    ClickButton("Btn_MemoSend");
    ASSERT_TRUE(counted);
    ASSERT_TRUE(confirmed);
    const std::string expected = std::string(27, '\b') + "Dear reader,\r\nPrices below.";
    EXPECT_EQ(game->WaitForLog(expected.size()), expected);
    ASSERT_TRUE(WaitFor([&] { return !form->Keyboard().Busy(); }));
    EXPECT_EQ(game->Log(), expected);  // no Enter after the last line
}

}  // namespace
}  // namespace stallmark::e2e
