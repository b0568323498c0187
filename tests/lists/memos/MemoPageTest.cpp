// The memo store and editor: the name box, browse and edit modes, saving, deleting and
// the conversion of the older profile file.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>
#include <filesystem>

#include "MemoFixture.h"
#include "lists/ListDisplay.h"
#include "store/Files.h"

namespace stallmark::test {

namespace {

constexpr const char* kThree =
    "[Advert]\r\nVendor at Britain bank\r\nBest prices\r\n"
    "[Book page]\r\nChapter one\r\n\r\nThe end\r\n"
    "[Profile]\r\nAnn, smith\r\n";

}  // namespace

TEST(MemoStore, ProfileIsConvertedOnceIntoTheFirstMemo) {
    MemoFixture f(nullptr, false);
    f.dir.Write("Profile.dat", "Ann of Britain\r\nGrandmaster smith\r\n");
    f.Start();
    EXPECT_EQ(f.File(), "[My Profile]\r\nAnn of Britain\r\nGrandmaster smith\r\n");
    EXPECT_FALSE(f.dir.Exists("Profile.dat"));
    EXPECT_FALSE(f.dir.Exists("Memos.tmp"));
    EXPECT_EQ(f.Items(), QStringList({"(None)", "My Profile"}));

    // With both files there, the profile is left alone.
    MemoFixture g("[Advert]\r\nx\r\n", false);
    g.dir.Write("Profile.dat", "old\r\n");
    g.Start();
    EXPECT_EQ(g.File(), "[Advert]\r\nx\r\n");
    EXPECT_EQ(g.dir.Read("Profile.dat"), "old\r\n");
}

TEST(MemoStore, AConversionThatFailsKeepsTheProfileForTheNextStart) {
    MemoFixture f(nullptr, false);
    f.dir.Write("Profile.dat", "Ann of Britain\r\n");
    // The working copy can't be made: a folder stands in its place.
    std::filesystem::create_directory(f.dir.Path() / "Memos.tmp");
    EXPECT_THROW(f.Start(), StoreError);  // the window's start-up reports it
    EXPECT_FALSE(f.dir.Exists("Memos.dat"));
    EXPECT_EQ(f.dir.Read("Profile.dat"), "Ann of Britain\r\n");
    EXPECT_EQ(f.Items(), QStringList({"(None)"}));

    // Once the way is clear, the next start converts it.
    std::filesystem::remove(f.dir.Path() / "Memos.tmp");
    f.page->LoadList();
    EXPECT_EQ(f.File(), "[My Profile]\r\nAnn of Britain\r\n");
    EXPECT_FALSE(f.dir.Exists("Profile.dat"));
    EXPECT_EQ(f.Items(), QStringList({"(None)", "My Profile"}));
}

TEST(MemoStore, NamesAreSortedWithNoneFirstAndTheLastMemoShown) {
    MemoFixture f(
        "loose\r\n[zeta]\r\nz\r\n[Advert]\r\nVendor at Britain bank\r\n    \r\nBest prices\r\n[ book ]\r\nb\r\n",
        false);
    f.settings.WriteString("LastMemo", "Advert");
    f.Start();
    EXPECT_EQ(f.Items(), QStringList({"(None)", "Advert", "book", "zeta"}));
    EXPECT_EQ(f.name->maxVisibleItems(), 4);
    EXPECT_EQ(f.name->currentText(), "Advert");
    // A line of blanks comes back empty.
    EXPECT_EQ(f.Text(), "Vendor at Britain bank\n\nBest prices");
    EXPECT_EQ(f.Length(), "(36)");
    EXPECT_FALSE(f.editor->isReadOnly());
    EXPECT_EQ(f.States(), "001111");  // browsing
    EXPECT_FALSE(f.Editing());

    // Picking another name shows it; "(None)" shows none, read-only.
    f.Choose("book");
    EXPECT_EQ(f.Text(), "b");
    EXPECT_EQ(f.Length(), "(2)");
    f.Choose("(None)");
    EXPECT_EQ(f.name->currentIndex(), -1);
    EXPECT_EQ(f.Text(), "");
    EXPECT_TRUE(f.editor->isReadOnly());
    EXPECT_FALSE(f.Editing());  // emptying is not an edit

    f.Choose("zeta");
    f.Close();
    EXPECT_EQ(f.settings.Strings().at("LastMemo"), "zeta");
}

TEST(MemoStore, ALastMemoThatIsGoneShowsNoMemo) {
    MemoFixture f(kThree, false);
    f.settings.WriteString("LastMemo", "Deleted long ago");
    f.Start();
    EXPECT_EQ(f.name->currentIndex(), -1);
    EXPECT_EQ(f.Text(), "");
    EXPECT_TRUE(f.editor->isReadOnly());

    // No "LastMemo" at all: the same; no file at all: only "(None)".
    MemoFixture g(kThree);
    EXPECT_EQ(g.name->currentIndex(), -1);
    EXPECT_TRUE(g.editor->isReadOnly());
    MemoFixture h(nullptr);
    EXPECT_EQ(h.Items(), QStringList({"(None)"}));
    EXPECT_FALSE(h.dir.Exists("Memos.dat"));
    // The first save makes the file.
    h.Click("Btn_MemoNew");
    h.name->setEditText(QStringLiteral("First"));
    h.editor->setPlainText(QStringLiteral("one"));
    h.Click("Btn_MemoSave");
    EXPECT_EQ(h.File(), "[First]\r\none\r\n");
    EXPECT_EQ(h.Items(), QStringList({"(None)", "First"}));
}

TEST(MemoStore, ALastMemoInOtherLettersFindsTheMemoOfExactlyThatNameFirst) {
    MemoFixture f("[advert]\r\nsmall\r\n[ADVERT]\r\nbig\r\n", false);
    f.settings.WriteString("LastMemo", "ADVERT");
    f.Start();
    EXPECT_EQ(f.name->currentText(), "ADVERT");
    EXPECT_EQ(f.Text(), "big");
    MemoFixture g("[advert]\r\nsmall\r\n", false);
    g.settings.WriteString("LastMemo", "Advert");
    g.Start();
    EXPECT_EQ(g.name->currentText(), "advert");
}

TEST(MemoEditor, TypingEntersEditModeAndSaveRewritesOnlyThatSection) {
    MemoFixture f(kThree);
    f.Choose("Book page");
    EXPECT_EQ(f.Text(), "Chapter one\n\nThe end");
    QTextCursor cursor = f.editor->textCursor();
    cursor.setPosition(f.editor->document()->findBlockByNumber(2).position() + 3);
    f.editor->setTextCursor(cursor);
    QTest::keyClicks(f.editor, "!!");
    EXPECT_EQ(f.Text(), "Chapter one\n\nThe!! end");
    EXPECT_EQ(f.States(), "110000");  // editing an existing memo: its name is fixed
    EXPECT_TRUE(f.Editing());

    f.Click("Btn_MemoSave");
    EXPECT_TRUE(f.dialogs.boxes.empty());
    EXPECT_EQ(f.File(),
              "[Advert]\r\nVendor at Britain bank\r\nBest prices\r\n"
              "[Book page]\r\nChapter one\r\n\r\nThe!! end\r\n"
              "[Profile]\r\nAnn, smith\r\n");
    EXPECT_FALSE(f.dir.Exists("Memos.tmp"));
    EXPECT_EQ(f.States(), "001111");
    EXPECT_EQ(f.name->currentText(), "Book page");
    EXPECT_EQ(f.Length(), "(23)");
    // The caret is back where it was.
    EXPECT_EQ(f.editor->textCursor().blockNumber(), 2);
    EXPECT_EQ(f.editor->textCursor().positionInBlock(), 5);
}

TEST(MemoEditor, ResetThrowsTheEditAway) {
    MemoFixture f(kThree);
    f.Choose("Profile");
    f.editor->insertPlainText("xyz ");
    EXPECT_TRUE(f.Editing());
    f.Click("Btn_MemoCancel");
    EXPECT_EQ(f.Text(), "Ann, smith");
    EXPECT_FALSE(f.Editing());
    EXPECT_EQ(f.name->currentText(), "Profile");
    EXPECT_EQ(f.File(), kThree);
}

TEST(MemoEditor, NewMemoNamedWithBlanksIsSavedTrimmedAtTheEnd) {
    MemoFixture f(kThree);
    f.Choose("Advert");
    f.Click("Btn_MemoNew");
    EXPECT_TRUE(f.name->isEditable());
    EXPECT_EQ(f.name->count(), 0);
    EXPECT_EQ(f.name->currentText(), "");
    EXPECT_EQ(f.Text(), "");
    EXPECT_EQ(f.Length(), "(0)");
    EXPECT_EQ(f.States(), "110001");      // the name box stays open for the new name
    EXPECT_TRUE(f.editor->isReadOnly());  // until it has a name
    EXPECT_EQ(f.name->lineEdit()->maxLength(), 40);

    QTest::keyClicks(f.name->lineEdit(), "  Sale  ");
    EXPECT_FALSE(f.editor->isReadOnly());
    QTest::keyClicks(f.editor, "Half price");
    QTest::keyClick(f.editor, Qt::Key_Return);
    QTest::keyClicks(f.editor, "today\tonly");
    f.Click("Btn_MemoSave");
    EXPECT_EQ(f.File(), std::string(kThree) + "[Sale]\r\nHalf price\r\ntoday\tonly\r\n");
    EXPECT_FALSE(f.name->isEditable());
    EXPECT_EQ(f.Items(), QStringList({"(None)", "Advert", "Book page", "Profile", "Sale"}));
    EXPECT_EQ(f.name->currentText(), "Sale");
    EXPECT_EQ(f.Text(), "Half price\ntoday\tonly");
    EXPECT_EQ(f.States(), "001111");
}

TEST(MemoEditor, ANewMemoUnderAnExistingNameAsksBeforeReplacingIt) {
    MemoFixture f("[Advert]\r\nold\r\n[Other]\r\no\r\n");
    f.Click("Btn_MemoNew");
    f.name->setEditText("Advert");
    f.editor->setPlainText("new");
    f.dialogs.boxAnswers.push_back(mbNo);
    f.Click("Btn_MemoSave");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "A memo named Advert already exists, replace it ?");
    EXPECT_EQ(f.dialogs.boxes[0].buttons, mbYes | mbNo);
    EXPECT_EQ(f.File(), "[Advert]\r\nold\r\n[Other]\r\no\r\n");
    EXPECT_TRUE(f.Editing());
    EXPECT_EQ(f.Text(), "new");

    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_MemoSave");
    EXPECT_EQ(f.File(), "[Advert]\r\nnew\r\n[Other]\r\no\r\n");
    EXPECT_FALSE(f.Editing());

    // A name that differs only in letter case is another memo: no question.
    f.Click("Btn_MemoNew");
    f.name->setEditText("ADVERT");
    f.editor->setPlainText("loud");
    f.Click("Btn_MemoSave");
    EXPECT_EQ(f.dialogs.boxes.size(), 2u);
    EXPECT_EQ(f.File(), "[Advert]\r\nnew\r\n[Other]\r\no\r\n[ADVERT]\r\nloud\r\n");
    EXPECT_EQ(f.name->currentText(), "ADVERT");
    EXPECT_EQ(f.Text(), "loud");
}

TEST(MemoEditor, ABlankNameAnsweredNoKeepsEditingAndYesDropsTheMemo) {
    MemoFixture f(kThree);
    QApplication::setActiveWindow(&f.window);
    f.Click("Btn_MemoNew");
    f.name->setEditText("Draft");
    QTest::keyClicks(f.editor, "keep me");
    f.name->setEditText("   ");
    f.dialogs.boxAnswers.push_back(mbNo);
    f.Click("Btn_MemoSave");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].text, "Memo has no name and will not be saved, proceed ?");
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Confirmation);
    EXPECT_TRUE(f.Editing());
    EXPECT_EQ(f.Text(), "keep me");
    EXPECT_TRUE(f.name->hasFocus());

    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_MemoSave");
    EXPECT_EQ(f.File(), kThree);
    EXPECT_FALSE(f.dir.Exists("Memos.tmp"));
    EXPECT_FALSE(f.Editing());
    EXPECT_EQ(f.Text(), "");
    EXPECT_EQ(f.name->currentIndex(), -1);
    EXPECT_FALSE(f.name->isEditable());
    EXPECT_EQ(f.Items().size(), 4);
}

TEST(MemoEditor, DeleteAsksAndRemovesOnlyTheFirstSectionOfThatName) {
    MemoFixture f("pre\r\n[Twin]\r\none\r\n[Other]\r\no\r\n[Twin]\r\ntwo\r\n");
    EXPECT_EQ(f.Items(), QStringList({"(None)", "Other", "Twin"}));  // one entry per name
    f.Choose("Twin");
    EXPECT_EQ(f.Text(), "one");
    f.dialogs.boxAnswers.push_back(mbNo);
    f.Click("Btn_MemoDelete");
    EXPECT_EQ(f.dialogs.boxes.back().text, "Delete the current memo ?");
    EXPECT_EQ(f.Text(), "one");
    f.dialogs.boxAnswers.push_back(mbYes);
    f.Click("Btn_MemoDelete");
    EXPECT_EQ(f.File(), "pre\r\n[Other]\r\no\r\n[Twin]\r\ntwo\r\n");
    EXPECT_EQ(f.name->currentIndex(), -1);
    EXPECT_EQ(f.Text(), "");
    EXPECT_TRUE(f.editor->isReadOnly());

    // Saving the twin left now acts on it alone as well.
    f.Choose("Twin");
    EXPECT_EQ(f.Text(), "two");
    f.editor->setPlainText("2");
    f.Click("Btn_MemoSave");
    EXPECT_EQ(f.File(), "pre\r\n[Other]\r\no\r\n[Twin]\r\n2\r\n");

    // Deleting the last section removes it to the end of the file.
    f.Click("Btn_MemoDelete");
    EXPECT_EQ(f.File(), "pre\r\n[Other]\r\no\r\n");
    EXPECT_EQ(f.Items(), QStringList({"(None)", "Other"}));
    EXPECT_FALSE(f.dir.Exists("Memos.tmp"));

    // With no memo shown there is nothing to delete.
    const size_t boxes = f.dialogs.boxes.size();
    f.Click("Btn_MemoDelete");
    EXPECT_EQ(f.dialogs.boxes.size(), boxes);
    EXPECT_EQ(f.File(), "pre\r\n[Other]\r\no\r\n");
}

TEST(MemoEditor, HighBytesRoundTripThroughTheEditor) {
    std::string high;
    for (int b = 0x80; b <= 0xFF; ++b) high += static_cast<char>(b);
    const std::string other = "[Other]\r\n" + high + "\r\n";
    const std::string file = other + "[Caf\xE9]\r\n" + high +
                             "\r\n\xAB"
                             "5\xBB \x81\x8D\x8F\x90\x9D\xA0\r\n" +
                             other;
    MemoFixture f(file.c_str());
    f.Choose(FromBytes("Caf\xE9"));
    EXPECT_EQ(f.Length(), QString::fromLatin1("(%1)").arg(128 + 1 + 10 + 1));
    // An edit and its undo leave the text as loaded; saving writes the same bytes back.
    f.editor->insertPlainText(QStringLiteral("x"));
    f.editor->undo();
    ASSERT_TRUE(f.Editing());
    f.Click("Btn_MemoSave");
    EXPECT_EQ(f.File(), file);
    // The editor's text, as the file holds it.
    EXPECT_EQ(f.page->EditorLines(), std::vector<std::string>({high,
                                                               "\xAB"
                                                               "5\xBB \x81\x8D\x8F\x90\x9D\xA0"}));
}

TEST(MemoEditor, AFailedSaveKeepsTheFileAndTheEdit) {
    MemoFixture f(kThree);
    f.Choose("Advert");
    f.editor->setPlainText("lost?");
    // The working copy can't be made: a folder stands in its place.
    std::filesystem::create_directory(f.dir.Path() / "Memos.tmp");
    f.Click("Btn_MemoSave");
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Error);
    EXPECT_TRUE(f.dialogs.boxes[0].text.contains("Memos.tmp"));
    EXPECT_EQ(f.File(), kThree);
    EXPECT_TRUE(f.Editing());
    EXPECT_EQ(f.Text(), "lost?");

    // Once the way is clear the same Save goes through.
    std::filesystem::remove(f.dir.Path() / "Memos.tmp");
    f.Click("Btn_MemoSave");
    EXPECT_EQ(f.File(),
              "[Advert]\r\nlost?\r\n[Book page]\r\nChapter one\r\n\r\nThe end\r\n[Profile]\r\nAnn, smith\r\n");
    EXPECT_FALSE(f.dir.Exists("Memos.tmp"));
}

TEST(MemoEditor, AStaleWorkingCopyIsNeitherReadNorLeftBehind) {
    MemoFixture f(kThree);
    f.dir.Write("Memos.tmp", "[Advert]\r\nfrom a crash\r\n");
    f.Choose("Profile");
    f.editor->setPlainText("Ann");
    f.Click("Btn_MemoSave");
    EXPECT_EQ(f.File(),
              "[Advert]\r\nVendor at Britain bank\r\nBest prices\r\n[Book page]\r\nChapter one\r\n\r\nThe "
              "end\r\n[Profile]\r\nAnn\r\n");
    EXPECT_FALSE(f.dir.Exists("Memos.tmp"));
}

TEST(MemoStore, AFileChangedBehindThePageIsReadAgain) {
    MemoFixture f(kThree);
    // Another program puts a memo in front: every memo moves.
    f.dir.Write("Memos.dat", std::string("[New]\r\nn\r\n") + kThree);
    f.Choose("Profile");
    EXPECT_EQ(f.Text(), "Ann, smith");
    f.Choose("Advert");
    EXPECT_EQ(f.Text(), "Vendor at Britain bank\nBest prices");

    // The same size, written later: read again as well.
    std::string same = kThree;
    same.replace(same.find("Ann, smith"), 10, "Bob, mason");
    f.dir.Write("Memos.dat", same);
    const auto path = f.dir.Path() / "Memos.dat";
    std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + std::chrono::seconds(2));
    f.Choose("Profile");
    EXPECT_EQ(f.Text(), "Bob, mason");

    // Saving works on the file as it is now, not as it was read.
    f.dir.Write("Memos.dat", "[Profile]\r\nold\r\n[Other]\r\no\r\n");
    f.editor->setPlainText("Bob");
    f.Click("Btn_MemoSave");
    EXPECT_EQ(f.File(), "[Profile]\r\nBob\r\n[Other]\r\no\r\n");
    EXPECT_EQ(f.Items(), QStringList({"(None)", "Other", "Profile"}));
}

TEST(MemoEditor, LengthCountsCharactersAndLineEnds) {
    MemoFixture f(kThree);
    EXPECT_EQ(f.page->MemoLength(), 0);
    EXPECT_EQ(f.page->ClearCountDefault(), 0);
    f.editor->setPlainText("ab\n");
    EXPECT_EQ(f.page->EditorLines(), std::vector<std::string>({"ab", ""}));
    EXPECT_EQ(f.page->MemoLength(), 4);
    EXPECT_EQ(f.page->ClearCountDefault(), 4);
    f.editor->setPlainText("");
    EXPECT_EQ(f.page->MemoLength(), 0);
}

TEST(MemoEditor, AnEditStillOpenAtShutdownIsSaved) {
    MemoFixture f(kThree);
    f.Choose("Profile");
    f.editor->insertPlainText("Master ");
    f.Close();
    EXPECT_EQ(f.File(),
              "[Advert]\r\nVendor at Britain bank\r\nBest prices\r\n[Book page]\r\nChapter one\r\n\r\nThe "
              "end\r\n[Profile]\r\nMaster Ann, smith\r\n");
    EXPECT_EQ(f.settings.Strings().at("LastMemo"), "Profile");
}

TEST(MemoPage, MenuDisplayAndLayout) {
    MemoFixture f(kThree, false);
    f.settings.WriteString("Memos TextCol", "255");
    f.settings.WriteString("Memos BackCol", "0");
    f.settings.WriteString("Memos FontSize", "12");
    f.Start();
    const PopupState popup = f.page->Popup(nullptr);
    EXPECT_TRUE(popup.sendToGame);
    EXPECT_EQ(popup.list1, 10);
    EXPECT_EQ(popup.list1Caption, "Memo List Options");
    EXPECT_EQ(popup.list2, 0);
    EXPECT_FALSE(popup.gridResize);
    EXPECT_FALSE(f.page->RelayoutWithTabs());
    EXPECT_EQ(f.editor->palette().color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(f.editor->palette().color(QPalette::Base), QColor(0, 0, 0));
    EXPECT_EQ(f.editor->font().pointSize(), 12);
    EXPECT_EQ(f.editor->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_FALSE(f.editor->tabChangesFocus());

    // The three small buttons sit one pixel apart right of the name box.
    f.window.resize(400, 500);
    QCoreApplication::sendPostedEvents();
    const QRect box = f.name->geometry();
    EXPECT_EQ(f.Button("Btn_MemoRepeat")->x(), box.x() + box.width() + 1);
    EXPECT_EQ(f.Button("Btn_MemoPause")->x(), f.Button("Btn_MemoRepeat")->geometry().right() + 2);
    EXPECT_EQ(f.Button("Btn_MemoChar")->x(), f.Button("Btn_MemoPause")->geometry().right() + 2);
    EXPECT_EQ(f.Button("Btn_MemoRepeat")->toolTip(), "Send to game and repeat");
    EXPECT_EQ(f.Button("Btn_MemoSave")->toolTip(), "Save current memo");
    EXPECT_EQ(f.Button("Btn_MemoCancel")->text(), "Reset");
}

}  // namespace stallmark::test
