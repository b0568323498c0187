#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "controls/CaptionedControls.h"
#include "support/ScriptedDialogs.h"

namespace stallmark {
namespace {

struct Form : ::testing::Test {
    QWidget window;
    TEditLabel* edit = new TEditLabel(&window);
    QPushButton* other = new QPushButton(QStringLiteral("Other"), &window);
    test::ScriptedDialogs dialogs;

    Form() {
        edit->setObjectName(QStringLiteral("Ed_TabWidth"));
        edit->setDialogs(&dialogs);
        edit->setGeometry(53, 10, 80, 21);
        other->setGeometry(200, 10, 60, 21);
        window.resize(300, 120);
        window.show();
        QApplication::setActiveWindow(&window);
    }

    void Focus(QWidget* w) {
        w->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(w->hasFocus());
    }
};

TEST_F(Form, CaptionSitsLeftOfTheControlAndFollowsIt) {
    edit->setCaption(QStringLiteral("Tab Width"));
    TLabelSig* label = edit->captionLabel();
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->parentWidget(), &window);
    EXPECT_EQ(label->objectName(), QStringLiteral("Ed_TabWidth_Caption"));
    EXPECT_EQ(label->geometry().left(), 13);
    EXPECT_EQ(label->width(), 40);
    EXPECT_EQ(label->geometry().top(), 10 + (21 - label->height()) / 2);
    EXPECT_TRUE(label->isVisible());
    edit->move(20, 40);
    EXPECT_EQ(label->geometry().left(), 0);
    EXPECT_EQ(label->width(), 20);
    EXPECT_EQ(label->geometry().top(), 40 + (21 - label->height()) / 2);
    edit->setCaptionLeft(10);
    EXPECT_EQ(label->geometry().left(), 10);
    EXPECT_EQ(label->width(), 10);
    edit->resize(80, 31);
    EXPECT_EQ(label->geometry().top(), 40 + (31 - label->height()) / 2);
    // Hidden and shown with the control.
    edit->hide();
    EXPECT_FALSE(label->isVisible());
    edit->show();
    EXPECT_TRUE(label->isVisible());
}

TEST_F(Form, EmptyCaptionRemovesTheLabelAndANewTextMakesANewOne) {
    EXPECT_EQ(edit->captionLabel(), nullptr);
    EXPECT_TRUE(edit->caption().isEmpty());
    edit->setCaption(QStringLiteral("Bank"));
    QPointer<TLabelSig> first = edit->captionLabel();
    ASSERT_TRUE(first);
    edit->setCaption(QString());
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(edit->captionLabel(), nullptr);
    EXPECT_TRUE(edit->caption().isEmpty());
    edit->setCaption(QStringLiteral("Bank"));
    ASSERT_NE(edit->captionLabel(), nullptr);
    EXPECT_EQ(edit->caption(), QStringLiteral("Bank"));
    EXPECT_EQ(edit->captionLabel()->geometry().left(), 13);
}

TEST_F(Form, CaptionEnabledWithTheControlOnlyWithCaptionDisable) {
    edit->setCaption(QStringLiteral("Bank"));
    EXPECT_TRUE(edit->captionDisable());
    edit->setEnabled(false);
    EXPECT_FALSE(edit->captionLabel()->isEnabled());
    edit->setEnabled(true);
    EXPECT_TRUE(edit->captionLabel()->isEnabled());
    edit->setCaptionDisable(false);
    edit->setEnabled(false);
    EXPECT_TRUE(edit->captionLabel()->isEnabled());

    auto* combo = new TComboBoxSig(&window);
    combo->setGeometry(60, 60, 100, 22);
    combo->setCaption(QStringLiteral("Type"));
    EXPECT_EQ(combo->captionLeft(), 30);
    EXPECT_FALSE(combo->captionDisable());
    EXPECT_EQ(combo->captionLabel()->geometry().left(), 30);
    combo->setEnabled(false);
    EXPECT_TRUE(combo->captionLabel()->isEnabled());
    combo->setCaption(QString());  // a combo keeps its label, hidden
    ASSERT_NE(combo->captionLabel(), nullptr);
    EXPECT_FALSE(combo->captionLabel()->isVisible());
}

TEST_F(Form, CaptionFollowsTheControlIntoAnotherParent) {
    edit->setCaption(QStringLiteral("Bank"));
    QWidget box(&window);
    box.setGeometry(0, 50, 300, 60);
    box.show();
    edit->setParent(&box);
    edit->show();
    EXPECT_EQ(edit->captionLabel()->parentWidget(), &box);
    EXPECT_TRUE(edit->captionLabel()->isVisible());
    edit->setParent(&window);  // before the box goes
}

TEST_F(Form, CharFiltersDropWhatTheyDoNotAllow) {
    Focus(edit);
    edit->setCharFilter(cfInteger);
    QTest::keyClicks(edit, "1a2.3 -4");
    // A letter beyond ASCII is no digit either.
    QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QStringLiteral("\u00e9"));
    QApplication::sendEvent(edit, &accented);
    EXPECT_EQ(edit->text(), QStringLiteral("1234"));
    QTest::keyClick(edit, Qt::Key_Backspace);  // control keys pass
    EXPECT_EQ(edit->text(), QStringLiteral("123"));

    edit->clear();
    edit->setCharFilter(cfLetter);
    QTest::keyClicks(edit, "Ab1 c!d");
    EXPECT_EQ(edit->text(), QStringLiteral("Ab cd"));

    edit->clear();
    edit->setCharFilter(cfDate);
    QTest::keyClicks(edit, "12/0a1.");
    EXPECT_EQ(edit->text(), QStringLiteral("12/01"));

    edit->clear();
    edit->setCharFilter(cfNormal);
    QTest::keyClicks(edit, "a,1 !");
    EXPECT_EQ(edit->text(), QStringLiteral("a,1 !"));
}

TEST_F(Form, NumberKeepsOnePointAndTheCaretStays) {
    Focus(edit);
    edit->setCharFilter(cfNumber);
    QTest::keyClicks(edit, "12.5x");
    EXPECT_EQ(edit->text(), QStringLiteral("12.5"));
    // Caret after "1": typing a point removes the later one.
    edit->setCursorPosition(1);
    QTest::keyClick(edit, Qt::Key_Period);
    EXPECT_EQ(edit->text(), QStringLiteral("1.25"));
    EXPECT_EQ(edit->cursorPosition(), 2);
    // Caret at the end: the earlier point goes and the caret keeps its place in the text.
    edit->setCursorPosition(4);
    QTest::keyClick(edit, Qt::Key_Period);
    EXPECT_EQ(edit->text(), QStringLiteral("125."));
    EXPECT_EQ(edit->cursorPosition(), 4);
}

TEST_F(Form, ArrowKeysStepNumbers) {
    Focus(edit);
    edit->setCharFilter(cfInteger);
    edit->setText(QStringLiteral("9"));
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), QStringLiteral("10"));
    EXPECT_EQ(edit->selectedText(), QStringLiteral("10"));
    edit->clear();
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), QStringLiteral("-1"));
    edit->setText(QStringLiteral("abc"));
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), QStringLiteral("1"));
    // 64-bit amounts step whole and stop at the ends of their range.
    edit->setText(QStringLiteral("2147483647"));
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), QStringLiteral("2147483648"));
    edit->setText(QStringLiteral("3000000000"));
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), QStringLiteral("2999999999"));
    edit->setText(QStringLiteral("9223372036854775807"));
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), QStringLiteral("9223372036854775807"));
    edit->setText(QStringLiteral("-9223372036854775808"));
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), QStringLiteral("-9223372036854775808"));

    edit->setCharFilter(cfNumber);
    edit->setText(QStringLiteral("1"));
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), QStringLiteral("1.50"));
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), QStringLiteral("1.40"));
    edit->clear();
    QTest::keyClick(edit, Qt::Key_Down);
    EXPECT_EQ(edit->text(), QStringLiteral("-0.10"));

    edit->setCharFilter(cfNormal);
    edit->setText(QStringLiteral("5"));
    QTest::keyClick(edit, Qt::Key_Up);
    EXPECT_EQ(edit->text(), QStringLiteral("5"));
}

TEST_F(Form, LeavingAMandatoryEmptyBoxWarnsAndKeepsTheFocus) {
    edit->setCaption(QStringLiteral("&Bank"));
    edit->setMandatory(true);
    QSignalSpy refused(edit, &TEditLabel::exitRefused);
    Focus(edit);
    edit->setText(QStringLiteral("   "));
    other->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Bank Is Mandatory !"));
    EXPECT_EQ(dialogs.boxes[0].kind, MsgKind::Warning);
    EXPECT_EQ(dialogs.boxes[0].buttons, mbOK);
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_EQ(refused.count(), 1);
    // With text it may be left; blanks around it are trimmed.
    edit->setText(QStringLiteral("  500 "));
    other->setFocus(Qt::TabFocusReason);
    EXPECT_TRUE(other->hasFocus());
    EXPECT_EQ(edit->text(), QStringLiteral("500"));
    EXPECT_EQ(dialogs.boxes.size(), 1u);
}

TEST_F(Form, DatesAreCompletedOrRefused) {
    edit->setCaption(QStringLiteral("Date"));
    edit->setCharFilter(cfDate);
    edit->setText(QStringLiteral(" 010224 "));
    EXPECT_TRUE(edit->CheckExit());
    EXPECT_EQ(edit->text(), QStringLiteral("01/02/2024"));
    edit->setText(QStringLiteral("31/12/1999"));
    EXPECT_TRUE(edit->CheckExit());
    EXPECT_EQ(edit->text(), QStringLiteral("31/12/1999"));
    edit->setText(QStringLiteral("1/2/24"));
    EXPECT_FALSE(edit->CheckExit());
    ASSERT_EQ(dialogs.boxes.size(), 1u);
    EXPECT_EQ(dialogs.boxes[0].text, QStringLiteral("Date Is Invalid !"));
    EXPECT_EQ(edit->text(), QStringLiteral("1/2/24"));
    // An empty date box that is not mandatory may be left.
    edit->clear();
    EXPECT_TRUE(edit->CheckExit());
    edit->setMandatory(true);
    EXPECT_FALSE(edit->CheckExit());
    EXPECT_EQ(dialogs.boxes.back().text, QStringLiteral("Date Is Mandatory !"));
    // Without any Dialogs the exit is still refused, silently.
    edit->setDialogs(nullptr);
    EXPECT_FALSE(edit->CheckExit());
    EXPECT_EQ(dialogs.boxes.size(), 2u);
}

TEST_F(Form, SwitchingToAnotherProgramIsNotLeavingTheBox) {
    edit->setMandatory(true);
    Focus(edit);
    QFocusEvent out(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(edit, &out);
    EXPECT_TRUE(dialogs.boxes.empty());
}

TEST_F(Form, CaptionHighlightsAndPassesClicksOn) {
    edit->setCaption(QStringLiteral("Bank"));
    TLabelSig* label = edit->captionLabel();
    EXPECT_EQ(label->focusControl(), edit);
    EXPECT_EQ(label->buddy(), edit);
    Focus(other);
    EXPECT_FALSE(label->focused());
    const QImage sunken = label->grab().toImage();
    QSignalSpy clicked(edit, &TEditLabel::clicked);
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(edit->hasFocus());
    EXPECT_TRUE(label->focused());
    EXPECT_EQ(clicked.count(), 1);
    EXPECT_NE(label->grab().toImage(), sunken);
    Focus(other);
    EXPECT_FALSE(label->focused());
    // Double clicks reach the box too.
    QSignalSpy doubled(edit, &TEditLabel::doubleClicked);
    QTest::mouseDClick(edit, Qt::LeftButton);
    EXPECT_EQ(doubled.count(), 1);
}

TEST_F(Form, ComboCaseAndHighlight) {
    auto* combo = new TComboBoxSig(&window);
    combo->setGeometry(60, 60, 100, 22);
    combo->setEditable(true);
    combo->setCaption(QStringLiteral("Type"));
    combo->show();
    combo->setCharCase(ecUpperCase);
    Focus(combo);
    EXPECT_TRUE(combo->captionLabel()->focused());
    QTest::keyClicks(combo, "ab1");
    EXPECT_EQ(combo->currentText(), QStringLiteral("AB1"));
    combo->setCharCase(ecLowerCase);
    QTest::keyClicks(combo, "CD");
    EXPECT_EQ(combo->currentText(), QStringLiteral("AB1cd"));
    Focus(other);
    EXPECT_FALSE(combo->captionLabel()->focused());
}

TEST_F(Form, CheckBoxCaptionRaisedWhileFocused) {
    auto* box = new TCheckBoxSig(QStringLiteral("Stay On Top"), &window);
    box->setGeometry(10, 80, 120, 20);
    box->show();
    Focus(other);
    const QImage plain = box->grab().toImage();
    Focus(box);
    EXPECT_NE(box->grab().toImage(), plain);
    box->setTag(3);
    EXPECT_EQ(box->tag(), 3);
}

}  // namespace
}  // namespace stallmark
