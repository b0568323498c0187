// Damaged data files and settings load without a crash and leave alone what
// the player stored; a folder that cannot be written gives an error box with
// the system's text and the old files stay whole.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <filesystem>

#include "controls/StringGrid.h"
#include "store/Files.h"
#include "support/AppFixture.h"

namespace stallmark::test {

TEST(BadInput, DamagedFilesAndSettingsLoadAndStayUntouched) {
    AppFixture f;
    std::string general("Tools,Ham\0mer,25\n", 17);
    general.append("Big,").append(std::string(4 << 20, 'x')).append(",1\n");
    general.append("Caf\xE9,\x80\x81\x8D\xFF,3");  // no last line end
    f.dir.Write("General.dat", general);
    f.dir.Write("MWStock.dat", std::string("\0\0\0,\n,,,,\r\r\n", 12));
    for (const char* name : {"Left", "Top", "Width", "Height", "LastPage", "General Sort", "RowHeight General",
                             "General Col0", "CharDelay", "Tab Width"})
        f.settings.WriteRaw(name, "\x01garbage\xFF");
    f.settings.WriteRaw("Bulk Date", "not binary");
    {
        auto form = f.StartShown();
        // The 4 MB line is shown cut to the most a list loads, and said once.
        ASSERT_EQ(f.dialogs.boxes.size(), 1u) << f.dialogs.Texts().join(" / ").toStdString();
        EXPECT_EQ(f.dialogs.boxes[0].text,
                  "Line 2 of General.dat is longer than 65536 characters and was cut on "
                  "loading; the file itself is unchanged.");
        auto* grid = Find<TStringGrid>(form.get(), "SGrid_General");
        EXPECT_EQ(grid->RowCount(), 4);
        EXPECT_EQ(grid->CellBytes(1, 1), std::string("Ham\0mer", 7));
        EXPECT_EQ(grid->CellLength(1, 2), static_cast<int>(kMaxLineBytes) - 4);
        EXPECT_EQ(grid->CellBytes(1, 3), "\x80\x81\x8D\xFF");
        EXPECT_EQ(form->pos(), QPoint(584, 99));
        form->close();
    }
    EXPECT_EQ(f.dir.Read("General.dat"), general);
    EXPECT_EQ(f.dir.Read("MWStock.dat"), std::string("\0\0\0,\n,,,,\r\r\n", 12));
}

// A list shown with a line cut is not written: Save and the sort button refuse with a
// message, and the file keeps its long line whole.
TEST(BadInput, AListWithACutLineIsNeverWritten) {
    AppFixture f;
    const std::string general = "Tools,Hammer,25\r\nBig," + std::string(kMaxLineBytes, 'x') + ",1\r\n";
    f.dir.Write("General.dat", general);
    auto form = f.StartShown();
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    Find<QAbstractButton>(form.get(), "Btn_GenEdit")->click();
    Find<TStringGrid>(form.get(), "SGrid_General")->setCells(2, 1, "30");
    Find<QAbstractButton>(form.get(), "Btn_GenSave")->click();
    ASSERT_EQ(f.dialogs.boxes.size(), 2u);
    EXPECT_EQ(f.dialogs.boxes[1].kind, MsgKind::Error);
    EXPECT_TRUE(f.dialogs.boxes[1].text.startsWith("General.dat holds lines too long to load whole"));
    EXPECT_EQ(f.dir.Read("General.dat"), general);
    Find<QAbstractButton>(form.get(), "Btn_GeneralSort")->click();
    EXPECT_EQ(f.dir.Read("General.dat"), general);
    form->close();
    EXPECT_EQ(f.dir.Read("General.dat"), general);
}

TEST(BadInput, UnwritableFileShowsTheSystemTextAndKeepsTheOldFile) {
    AppFixture f;
    f.dir.Write("General.dat", "Tools,Hammer,25\r\n");
    auto form = f.StartShown();
    // The working copy's name is taken by a folder: the rewrite cannot happen.
    std::filesystem::create_directory(f.dir.Path() / "General.tmp");
    Find<QAbstractButton>(form.get(), "Btn_GenEdit")->click();
    Find<TStringGrid>(form.get(), "SGrid_General")->setCells(2, 1, "30");
    Find<QAbstractButton>(form.get(), "Btn_GenSave")->click();
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Error);
    EXPECT_TRUE(f.dialogs.boxes[0].text.contains("Is a directory")) << f.dialogs.boxes[0].text.toStdString();
    EXPECT_EQ(f.dir.Read("General.dat"), "Tools,Hammer,25\r\n");
    // The edit is still open, so nothing typed is lost.
    EXPECT_TRUE(Find<QAbstractButton>(form.get(), "Btn_GenSave")->isEnabled());
    std::filesystem::remove(f.dir.Path() / "General.tmp");
    form->close();
    EXPECT_EQ(f.dir.Read("General.dat"), "Tools,Hammer,30\r\n");
}

TEST(BadInput, OldFilesAreConvertedAtStartWithTheirBox) {
    AppFixture f;
    f.dir.Write("Stock.dat", "Katana,Vanq,,Acc,,12000,,note\r\nAxe,Pow,Silver,,,,20030115,\r\n");
    f.dir.Write("MWStock.dat", "stale\r\n");
    auto form = f.StartShown();
    ASSERT_EQ(f.dialogs.boxes.size(), 1u);
    EXPECT_EQ(f.dialogs.boxes[0].kind, MsgKind::Information);
    EXPECT_EQ(f.dialogs.boxes[0].text,
              "File converted for new version\n\rBackup Copy : Stock.old\n\rNew File Name : MWStock.dat");
    EXPECT_FALSE(f.dir.Exists("Stock.dat"));
    EXPECT_TRUE(f.dir.Exists("Stock.old"));
    EXPECT_EQ(f.dir.Read("MWStock.dat"), "Axe,Pow,2,,,0,20030115,\r\nKatana,Vanq,0,Acc,,12000,20261208,note\r\n");
    // Every file a list keeps is there afterwards.
    for (const char* name : {"MWPrice.dat", "MA1Stock.dat", "MA1Price.dat", "Armour.dat", "ArmDesc.dat", "General.dat",
                             "Maps.dat", "Charged.dat", "Bod.dat", "Lbod.dat", "Vendors.dat"})
        EXPECT_TRUE(f.dir.Exists(name)) << name;
}

TEST(BadInput, ConversionThatCannotDeleteStopsStartUpWithoutWritingSettings) {
    AppFixture f;
    f.dir.Write("Stock.dat", "Katana,Vanq,,,,1,,\r\n");
    std::filesystem::create_directories(f.dir.Path() / "MWStock.dat" / "inside");
    f.settings.WriteInteger("Left", 12);
    {
        auto form = f.StartShown();
        ASSERT_EQ(f.dialogs.boxes.size(), 1u);
        EXPECT_TRUE(f.dialogs.boxes[0].text.startsWith("Error in Create : Cannot delete (maybe Read Only) : "));
        EXPECT_FALSE(form->State().SettingsLoaded);
        form->close();
    }
    EXPECT_TRUE(f.dir.Exists("Stock.dat"));
    EXPECT_FALSE(f.settings.Has("LastPage"));
    EXPECT_EQ(f.settings.ReadInteger("Left", 0), 12);
}

}  // namespace stallmark::test
