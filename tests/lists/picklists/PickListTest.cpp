// Pick-list files, the boxes they fill and the two list editors, without the window.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "controls/StringGrid.h"
#include "lists/picklists/EditGridForm.h"
#include "lists/picklists/PickList.h"
#include "lists/picklists/PickListFiles.h"
#include "settings/MemorySettings.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace stallmark::test {
namespace {

MagicEntry Parse(const std::string& line) {
    MagicEntry entry{"unchanged", -1};
    EXPECT_TRUE(ParseMagicLine(line, entry)) << line;
    return entry;
}

TEST(PickListFiles, MagicLinesInEveryForm) {
    EXPECT_EQ(Parse("\"Vanquishing\",2").name, "Vanquishing");
    EXPECT_EQ(Parse("\"Vanquishing\",2").code, 2);
    EXPECT_EQ(Parse("Force,1").name, "Force");
    EXPECT_EQ(Parse("Force,1").code, 1);
    EXPECT_EQ(Parse("Might").name, "Might");
    EXPECT_EQ(Parse("Might").code, 0);
    EXPECT_EQ(Parse("\"Slaying, Undead\",2").name, "Slaying, Undead");
    EXPECT_EQ(Parse("\"Slaying, Undead\",2").code, 2);
    EXPECT_EQ(Parse("\"Fire\"").name, "Fire");
    EXPECT_EQ(Parse("\"Ice").name, "Ice");
    EXPECT_EQ(Parse("\"Ruin\",x").code, 0);
    EXPECT_EQ(Parse("\" Power \",1").name, " Power ");
    MagicEntry entry;
    EXPECT_FALSE(ParseMagicLine("", entry));
    EXPECT_FALSE(ParseMagicLine("   ", entry));
    EXPECT_FALSE(ParseMagicLine("\"\",1", entry));
    EXPECT_FALSE(ParseMagicLine(",2", entry));
    EXPECT_FALSE(ParseMagicLine("\",1", entry));
    // What the program writes reads back as written.
    for (const MagicEntry& e : {MagicEntry{"a\"b", 1}, MagicEntry{"Slaying  Undead", 2}, MagicEntry{"x ", 0}}) {
        MagicEntry back;
        ASSERT_TRUE(ParseMagicLine(MagicLine(e), back));
        EXPECT_EQ(back.name, e.name);
        EXPECT_EQ(back.code, e.code);
    }
    EXPECT_EQ(MagicLine({"a,b", 2}), "\"a b\",2");
}

TEST(PickListFiles, MagicNamesOfCommasAndBlanksSurviveASave) {
    TempDir dir;
    const std::string path = dir.File("ListMwMagic.dat");
    WriteMagicPickList(path, {{",", 1}, {" , ,", 2}, {"Power", 0}, {"a,b", 0}, {"   ", 1}, {"", 2}});
    EXPECT_EQ(dir.Read("ListMwMagic.dat"), "\",\",1\r\n\" , ,\",2\r\n\"Power\",0\r\n\"a b\",0\r\n");
    const std::vector<MagicEntry> back = ReadMagicPickList(path);
    ASSERT_EQ(back.size(), 4u);
    EXPECT_EQ(back[0].name, ",");
    EXPECT_EQ(back[0].code, 1);
    EXPECT_EQ(back[1].name, " , ,");
    EXPECT_EQ(back[1].code, 2);
    EXPECT_EQ(back[2].name, "Power");
    EXPECT_EQ(back[3].name, "a b");
    // Written again, the file stays as it is.
    WriteMagicPickList(path, back);
    EXPECT_EQ(dir.Read("ListMwMagic.dat"), "\",\",1\r\n\" , ,\",2\r\n\"Power\",0\r\n\"a b\",0\r\n");
    // The box shows them too.
    QComboBox box;
    LoadMagicPickList(box, path);
    ASSERT_EQ(box.count(), 5);
    EXPECT_EQ(box.itemText(1), ",");
    EXPECT_EQ(ComboObjAt(box, 2)->code, 2);
}

TEST(PickListFiles, PlainListsSkipBlankLinesAndSaveCleaned) {
    TempDir dir;
    EXPECT_TRUE(ReadPickList(dir.File("Missing.dat")).empty());
    dir.Write("List.dat", "Axe\r\n\r\n  \r\n Bow \nMace");
    EXPECT_EQ(ReadPickList(dir.File("List.dat")), (std::vector<std::string>{"Axe", " Bow ", "Mace"}));
    WritePickList(dir.File("List.dat"), {"  a, b  ", "", " ", "c"}, false);
    EXPECT_EQ(dir.Read("List.dat"), "a  b\r\nc\r\n");
    WritePickList(dir.File("List.dat"), {"  tail  "}, true);
    EXPECT_EQ(dir.Read("List.dat"), "tail  \r\n");
}

TEST(PickListBoxes, NoneFirstSortedWhereAskedAndTheChoiceKept) {
    TempDir dir;
    dir.Write("List.dat", "mace\r\nAxe\r\nbow\r\n");
    QComboBox box;
    SetPickListSorted(box, true);
    LoadPickList(box, dir.File("List.dat"));
    ASSERT_EQ(box.count(), 4);
    EXPECT_EQ(box.itemText(0), "(None)");
    EXPECT_EQ(box.itemText(1), "Axe");
    EXPECT_EQ(box.itemText(2), "bow");
    EXPECT_EQ(box.itemText(3), "mace");
    EXPECT_EQ(box.currentIndex(), -1);
    box.setCurrentIndex(2);
    dir.Write("List.dat", "bow\r\n");
    LoadPickList(box, dir.File("List.dat"));
    EXPECT_EQ(box.currentText(), "bow");
    dir.Write("List.dat", "Axe\r\n");
    LoadPickList(box, dir.File("List.dat"));
    EXPECT_EQ(box.currentIndex(), -1);
    EXPECT_EQ(box.maxVisibleItems(), 2);

    // An editable box keeps typed text that is not an entry.
    QComboBox other;
    other.setEditable(true);
    other.setEditText("typed");
    LoadPickList(other, dir.File("List.dat"));
    EXPECT_EQ(other.currentText(), "typed");

    // Twenty lines at most in the drop-down.
    std::string many;
    for (int i = 0; i < 30; ++i) many += "e" + std::to_string(i) + "\r\n";
    dir.Write("List.dat", many);
    LoadPickList(box, dir.File("List.dat"));
    EXPECT_EQ(box.maxVisibleItems(), 20);
}

TEST(PickListBoxes, MagicEntriesCarryTheirCodes) {
    TempDir dir;
    dir.Write("ListMwMagic.dat", "\"Power\",1\r\nForce,2\r\n\"\",2\r\n");
    QComboBox box;
    LoadMagicPickList(box, dir.File("ListMwMagic.dat"));
    ASSERT_EQ(box.count(), 3);
    EXPECT_EQ(ComboObjAt(box, 1)->code, 1);
    EXPECT_EQ(ComboObjAt(box, 2)->code, 2);
    EXPECT_FALSE(ComboObjAt(box, 0));
    EXPECT_FALSE(ComboObjAt(box, 3));
    // Reloaded: the old entries and their objects go, the choice stays.
    box.setCurrentIndex(2);
    dir.Write("ListMwMagic.dat", "Might,0\r\nForce,1\r\n");
    LoadMagicPickList(box, dir.File("ListMwMagic.dat"));
    EXPECT_EQ(box.currentText(), "Force");
    EXPECT_EQ(ComboObjAt(box, box.currentIndex())->code, 1);
}

TEST(PickListBoxes, SaveFromTheBoxSkipsNone) {
    TempDir dir;
    QComboBox box;
    box.addItems({"(None)", "Axe", " Bow, long "});
    SavePickList(box, dir.File("List.dat"), false);
    EXPECT_EQ(dir.Read("List.dat"), "Axe\r\nBow  long\r\n");
}

TEST(EditGridForm, TwoThirdsForNamesAndTabAddsRows) {
    MemorySettings settings;
    TEditGridForm form(settings);
    form.SetEntries({{"Power", 1}});
    form.resize(300, 200);
    form.show();
    QCoreApplication::sendPostedEvents();
    TStringGrid* grid = form.Grid();
    const int client = grid->ClientWidth();
    EXPECT_EQ(grid->ColWidths(0), client / 3 * 2 - 1);
    EXPECT_EQ(grid->ColWidths(1), client - grid->ColWidths(0) - 2);
    EXPECT_EQ(grid->DefaultRowHeight(), 17);
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(grid->RowCount(), 3);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->Col(), 0);
    grid->setCurrentCell(0, 1);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(grid->Row(), 2);
    EXPECT_EQ(grid->RowCount(), 3);
    form.CycleSpecial(2);
    EXPECT_EQ(form.Entries().back().code, 1);
    form.close();
}

TEST(EditGridForm, NewRowsTakeTheTypingAndTheSpecialColumnIsNeverTypedInto) {
    MemorySettings settings;
    QWidget owner;
    owner.show();
    TEditGridForm form(settings, &owner);
    form.SetEntries({{"Holy", 1}, {"Zap", 0}, {"Frost", 2}});
    form.resize(300, 250);
    form.show();
    form.activateWindow();
    QCoreApplication::processEvents();
    TStringGrid* grid = form.Grid();
    grid->setFocus();
    ASSERT_NE(grid->CellEditor(), nullptr);
    // New: a row at the end, and the editor there.
    form.Btn_NewClick();
    ASSERT_EQ(grid->RowCount(), 5);
    ASSERT_NE(grid->CellEditor(), nullptr);
    EXPECT_EQ(grid->Row(), 4);
    EXPECT_EQ(grid->Col(), 0);
    QTest::keyClicks(grid->CellEditor(), "Power");
    EXPECT_EQ(grid->Cells(0, 4), "Power");
    EXPECT_EQ(grid->Cells(0, 2), "Zap");
    // A click on a special cell selects its row's name; a double click steps it.
    auto centre = [&](int col, int row) { return grid->viewport()->mapFrom(grid, grid->CellRect(col, row).center()); };
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, centre(1, 2));
    EXPECT_EQ(grid->Col(), 0);
    EXPECT_EQ(grid->Row(), 2);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, centre(1, 2));
    EXPECT_EQ(grid->Cells(1, 2), "Virtue");
    EXPECT_EQ(grid->RowCount(), 5);
    ASSERT_NE(grid->CellEditor(), nullptr);
    EXPECT_EQ(grid->Col(), 0);
    // Typed keys go to the name, never to the special column.
    QTest::keyClicks(grid->CellEditor(), "Zip");
    EXPECT_EQ(grid->Cells(0, 2), "Zip");
    EXPECT_EQ(grid->Cells(1, 2), "Virtue");
    // Shift+Tab: the row above; at the first row it stays.
    QTest::keyClick(grid->CellEditor(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid->Row(), 1);
    QTest::keyClick(grid->CellEditor(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid->Row(), 1);
    EXPECT_EQ(grid->RowCount(), 5);
    const std::vector<MagicEntry> entries = form.Entries();
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[1].name, "Zip");
    EXPECT_EQ(entries[1].code, 1);
    EXPECT_EQ(entries[3].name, "Power");
    EXPECT_EQ(entries[3].code, 0);
    form.close();
}

}  // namespace
}  // namespace stallmark::test
