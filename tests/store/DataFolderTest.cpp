#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "ReadOnlyFolder.h"
#include "store/DataFolder.h"
#include "store/Dates.h"
#include "store/Files.h"
#include "support/TempDir.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace stallmark {

using test::TempDir;
using Messages = std::vector<std::string>;

namespace {

std::string Info(const std::string& backup, const std::string& file) {
    return "File converted for new version\n\rBackup Copy : " + backup + "\n\rNew File Name : " + file;
}

}  // namespace

TEST(DataFolder, PathsEndWithASeparator) {
    const char sep = static_cast<char>(std::filesystem::path::preferred_separator);
    EXPECT_EQ(DataFolder("data").Folder(), std::string("data") + sep);
    EXPECT_EQ(DataFolder(std::string("data") + sep).DataFilePath("MWStock.dat"),
              std::string("data") + sep + "MWStock.dat");
}

TEST(DataFolder, EnsureDataFilesCreatesOnlyTheMissingStartupFiles) {
    TempDir dir;
    DataFolder folder(dir.Folder());
    dir.Write("MWStock.dat", "Katana,x,0,\r\n");
    folder.EnsureDataFiles();
    ASSERT_EQ(DataFolder::StartupFiles().size(), 12u);
    for (const std::string& name : DataFolder::StartupFiles()) EXPECT_TRUE(dir.Exists(name)) << name;
    EXPECT_EQ(dir.Read("MWStock.dat"), "Katana,x,0,\r\n");
    EXPECT_EQ(dir.Read("Vendors.dat"), "");
    EXPECT_FALSE(dir.Exists("ListMwItem.dat"));
    EXPECT_FALSE(dir.Exists("Memos.dat"));
    EXPECT_FALSE(dir.Exists("Profile.dat"));
}

TEST(DataFolder, ConvertOldFilesWritesTheNewLayoutsSortedAndKeepsBackups) {
    TempDir dir;
    DataFolder folder(dir.Folder());
    dir.Write("Stock.dat",
              "Katana,Vanquishing,,Accurate,Fortified,12000,20031101,text\n"
              "Bow,Power,Silver,Accurate,,,\n"
              "\n"
              "Kryss,Ruin,1,x,y,  ,20030101,z,extra\n"
              "Axe");
    dir.Write("MWStock.dat", "replaced,by,the,conversion\r\n");
    dir.Write("Stock.old", "an older backup");
    dir.Write("Prices.dat", "Bow,Power,,a,b,,,\r\n");
    dir.Write("MAStock.dat", "Plate,Fort\r\n");
    dir.Write("MAPrice.dat", "Ring,Def,x\r\n");
    const std::string oldStock = dir.Read("Stock.dat");

    Messages shown;
    folder.ConvertOldFiles(FixedClock(EncodeDateTime(2003, 11, 5, 14, 30, 0)),
                           [&](const std::string& message) { shown.push_back(message); });

    EXPECT_EQ(dir.Read("MWStock.dat"),
              "Axe,,0,,,0,20031105,\r\n"
              "Bow,Power,2,Accurate,,0,20031105,\r\n"
              "Katana,Vanquishing,0,Accurate,Fortified,12000,20031101,text\r\n"
              "Kryss,Ruin,1,x,y,0,20030101,z,extra\r\n");
    EXPECT_EQ(dir.Read("MWPrice.dat"), "Bow,Power,0,a,b,0,0,,20031105\r\n");
    EXPECT_EQ(dir.Read("MA1Stock.dat"), "Plate,Fort,,0,20031105,\r\n");
    EXPECT_EQ(dir.Read("MA1Price.dat"), "Ring,Def,x,0,0,,20031105\r\n");
    for (const char* gone : {"Stock.dat", "Prices.dat", "MAStock.dat", "MAPrice.dat", "MWStock.tmp"})
        EXPECT_FALSE(dir.Exists(gone)) << gone;
    EXPECT_EQ(dir.Read("Stock.old"), oldStock);
    EXPECT_EQ(dir.Read("MAPrice.old"), "Ring,Def,x\r\n");
    EXPECT_EQ(shown, (Messages{Info("Stock.old", "MWStock.dat"), Info("Prices.old", "MWPrice.dat"),
                               Info("MAStock.old", "MA1Stock.dat"), Info("MAPrice.old", "MA1Price.dat")}));

    // Once only.
    shown.clear();
    folder.ConvertOldFiles(FixedClock(0), [&](const std::string& message) { shown.push_back(message); });
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(dir.Read("MWPrice.dat"), "Bow,Power,0,a,b,0,0,,20031105\r\n");
}

TEST(DataFolder, ConvertOldLineRules) {
    EXPECT_EQ(ConvertOldRecordLine("a,b,Silver,d,e,5,20030101,h", OldListKind::WeaponStock, "20240101"),
              "a,b,2,d,e,5,20030101,h");
    EXPECT_EQ(ConvertOldRecordLine("a,b,silver,d,e,5,20030101,h", OldListKind::WeaponStock, "20240101"),
              "a,b,silver,d,e,5,20030101,h");
    EXPECT_EQ(ConvertOldRecordLine("a,b, ,d,e,5,20030101,h,i,j", OldListKind::WeaponPrices, "20240101"),
              "a,b,0,d,e,5,20030101,h,i,j");
    EXPECT_EQ(ConvertOldRecordLine("a,b,,", OldListKind::ArmourStock, "20240101"), "a,b,,0,20240101,");
}

TEST(DataFolder, ANewFileThatCannotBeDeletedStopsTheConversion) {
    TempDir dir;
    DataFolder folder(dir.Folder());
    dir.Write("Stock.dat", "b,\r\na,\r\n");
    dir.Write("MAStock.dat", "Plate\r\n");
    dir.Write("MAPrice.dat", "Ring\r\n");
    std::filesystem::create_directory(dir.Path() / "MA1Stock.dat");
    dir.Write("MA1Stock.dat/inside", "x");

    Messages shown;
    try {
        folder.ConvertOldFiles(FixedClock(0), [&](const std::string& message) { shown.push_back(message); });
        FAIL() << "no error";
    } catch (const StoreError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot delete (maybe Read Only) : " + dir.File("MA1Stock.dat") + "\n\r Please delete manually");
    }
    EXPECT_EQ(shown, Messages{Info("Stock.old", "MWStock.dat")});
    EXPECT_EQ(dir.Read("MWStock.dat"), "a,,0,,,0,18991230,\r\nb,,0,,,0,18991230,\r\n");
    EXPECT_EQ(dir.Read("MAStock.dat"), "Plate\r\n");  // offered again at the next start
    EXPECT_EQ(dir.Read("MAPrice.dat"), "Ring\r\n");   // not reached
    EXPECT_FALSE(dir.Exists("MA1Price.dat"));
    EXPECT_FALSE(dir.Exists("MAStock.old"));
}

#ifndef _WIN32
TEST(DataFolder, AConversionInAnUnwritableFolderKeepsTheOldFile) {
    TempDir dir;
    DataFolder folder(dir.Folder());
    dir.Write("Stock.dat", "b,\r\na,\r\n");
    bool informed = false;
    EXPECT_EQ(test::FailureInReadOnlyFolder(
                  dir, [&] { folder.ConvertOldFiles(FixedClock(0), [&](const std::string&) { informed = true; }); }),
              std::generic_category().message(EACCES) + ": " + dir.File("MWStock.tmp"));
    EXPECT_FALSE(informed);
    EXPECT_EQ(dir.Read("Stock.dat"), "b,\r\na,\r\n");
    EXPECT_FALSE(dir.Exists("MWStock.dat"));
    EXPECT_FALSE(dir.Exists("Stock.old"));

    EXPECT_EQ(test::FailureInReadOnlyFolder(dir, [&] { folder.EnsureDataFiles(); }),
              std::generic_category().message(EACCES) + ": " + dir.File("MWStock.dat"));
}

TEST(DataFolder, AnOldFileThatCannotBeReadLeavesBothFiles) {
    TempDir dir;
    DataFolder folder(dir.Folder());
    // A "Stock.dat" that cannot be read (a folder: even the super-user gets an error).
    std::filesystem::create_directory(dir.Path() / "Stock.dat");
    dir.Write("MWStock.dat", "Katana,x,0,,,5,20030101,\r\n");
    bool informed = false;
    EXPECT_THROW(folder.ConvertOldFiles(FixedClock(0), [&](const std::string&) { informed = true; }), StoreError);
    EXPECT_FALSE(informed);
    EXPECT_EQ(dir.Read("MWStock.dat"), "Katana,x,0,,,5,20030101,\r\n");
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "Stock.dat"));
    EXPECT_FALSE(dir.Exists("Stock.old"));
    EXPECT_FALSE(dir.Exists("MWStock.tmp"));
}

TEST(DataFolder, AReadOnlyNewFileIsNotReplacedByTheConversion) {
    TempDir dir;
    DataFolder folder(dir.Folder());
    dir.Write("Stock.dat", "b,\r\na,\r\n");
    dir.Write("MWStock.dat", "kept,\r\n");
    ::chmod(dir.File("MWStock.dat").c_str(), 0444);
    try {
        folder.ConvertOldFiles(FixedClock(0), nullptr);
        FAIL() << "no error";
    } catch (const StoreError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "Cannot delete (maybe Read Only) : " + dir.File("MWStock.dat") + "\n\r Please delete manually");
    }
    EXPECT_EQ(dir.Read("MWStock.dat"), "kept,\r\n");
    EXPECT_EQ(dir.Read("Stock.dat"), "b,\r\na,\r\n");
    EXPECT_FALSE(dir.Exists("Stock.old"));
}

TEST(DataFolder, TheConversionWritesThroughALinkAndKeepsLongLinesWhole) {
    TempDir dir;
    DataFolder folder(dir.Folder());
    std::filesystem::create_directory(dir.Path() / "sync");
    dir.Write("sync/MWStock.dat", "replaced,\r\n");
    std::filesystem::create_symlink("sync/MWStock.dat", dir.Path() / "MWStock.dat");
    const std::string note(kMaxLineBytes * 2, 'n');
    dir.Write("Stock.dat", "Bow,Power,,a,b,1,20030101," + note + "\r\n");
    folder.ConvertOldFiles(FixedClock(0), nullptr);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "MWStock.dat"));
    EXPECT_EQ(dir.Read("sync/MWStock.dat"), "Bow,Power,0,a,b,1,20030101," + note + "\r\n");
    EXPECT_EQ(dir.Read("Stock.old"), "Bow,Power,,a,b,1,20030101," + note + "\r\n");
}

namespace {

class ScopedEnv {
public:
    explicit ScopedEnv(const char* name) : name_(name) {
        if (const char* value = std::getenv(name)) saved_ = value;
    }
    ~ScopedEnv() {
        if (saved_)
            ::setenv(name_, saved_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> saved_;
};

}  // namespace

TEST(DataFolder, DefaultFolderFollowsTheDataHome) {
    ScopedEnv xdg("XDG_DATA_HOME"), home("HOME");
    TempDir dir;
    ::setenv("XDG_DATA_HOME", dir.Path().c_str(), 1);
    EXPECT_EQ(DefaultDataFolder("/usr/bin/stallmark"), dir.Path().string() + "/Stallmark/");
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / "Stallmark"));

    ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
    ::setenv("HOME", dir.Path().c_str(), 1);
    EXPECT_EQ(DefaultDataFolder("/usr/bin/stallmark"), dir.Path().string() + "/.local/share/Stallmark/");
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path() / ".local/share/Stallmark"));

    dir.Write("file", "");
    ::setenv("XDG_DATA_HOME", dir.File("file").c_str(), 1);
    EXPECT_THROW(DefaultDataFolder("/usr/bin/stallmark"), StoreError);
}
#endif

}  // namespace stallmark
