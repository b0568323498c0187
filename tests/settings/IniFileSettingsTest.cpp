#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>

#include <sys/stat.h>
#include <unistd.h>

#include "settings/DefaultSettings.h"
#include "settings/IniFileSettings.h"
#include "support/TempDir.h"

namespace stallmark {
namespace {

using test::TempDir;

std::string AllBytes() {
    std::string s;
    for (int b = 0; b < 256; ++b) s.push_back(static_cast<char>(b));
    return s;
}

std::string HexOf(double value) {
    unsigned char bytes[sizeof value];
    std::memcpy(bytes, &value, sizeof value);
    std::string out;
    for (unsigned char b : bytes) out += "0123456789ABCDEF"[b >> 4], out += "0123456789ABCDEF"[b & 15];
    return out;
}

// Sets an environment variable for the life of the object.
class EnvVar {
public:
    EnvVar(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~EnvVar() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(IniFileSettings, OddNamesAndEveryByteComeBackExactly) {
    TempDir dir;
    const std::vector<std::pair<std::string, std::string>> values = {
        {" FontName ", "  MS Sans Serif  "},
        {"Reg BpAmt", "12"},
        {"Bulk Date", "a string, not binary"},
        {"a=b", "=x=="},
        {"[NotASection]", "[Stallmark]"},
        {";semi", "; not a comment"},
        {"#hash", "#"},
        {"lines", "one\r\ntwo\nthree\r"},
        {"tab\tname", "\tx\t"},
        {"slashes", "C:\\x41\\n\\"},
        {"Caf\xE9 \x80\x9F\x81\x8D\x8F\x90\x9D\xFF", "\xC3\xA9 is not \xE9"},
        {"looks hex", "hex:00FF"},
        {"empty", ""},
        {"blank", " "},
        {"all", AllBytes()},
        {"", "the unnamed value"},
    };
    {
        IniFileSettings s(dir.File("Stallmark.ini"));
        for (const auto& [name, value] : values) s.WriteRaw(name, value);
        s.Flush();
    }
    IniFileSettings s(dir.File("Stallmark.ini"));
    for (const auto& [name, value] : values) {
        EXPECT_EQ(s.ReadRaw(name), value) << "value " << name;
        EXPECT_FALSE(s.ReadBinary(name)) << name;
    }

    // One line a value, readable text: cp1252 letters as UTF-8, no raw control bytes.
    const std::string text = dir.Read("Stallmark.ini");
    EXPECT_EQ(text.rfind("[Stallmark]\n", 0), 0u);
    EXPECT_NE(text.find("\n\\x20FontName\\x20=\\x20 MS Sans Serif \\x20\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nReg BpAmt=12\n"), std::string::npos);
    EXPECT_NE(text.find("Caf\xC3\xA9 \xE2\x82\xAC"), std::string::npos);
    std::size_t lines = 0;
    for (char c : text) {
        lines += c == '\n';
        if (c != '\n') {
            EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
        }
    }
    EXPECT_EQ(lines, values.size() + 1);
}

TEST(IniFileSettings, BulkDateIsBinaryAndAStringOfThatNameIsNot) {
    TempDir dir;
    {
        IniFileSettings s(dir.File("Stallmark.ini"));
        s.WriteDateTime("Bulk Date", 45123.625);
        s.WriteBinary("Empty", {});
        s.Flush();
    }
    EXPECT_NE(dir.Read("Stallmark.ini").find("\nBulk Date=hex:" + HexOf(45123.625) + "\nEmpty=hex:\n"),
              std::string::npos)
        << dir.Read("Stallmark.ini");
    {
        IniFileSettings s(dir.File("Stallmark.ini"));
        EXPECT_EQ(s.ReadDateTime("Bulk Date"), 45123.625);
        EXPECT_EQ(s.ReadBinary("Bulk Date")->size(), 8u);
        EXPECT_EQ(s.ReadBinary("Empty"), std::vector<std::uint8_t>{});
        EXPECT_FALSE(s.ReadRaw("Bulk Date"));
        s.WriteString("Bulk Date", "0000000030086");
        EXPECT_FALSE(s.ReadDateTime("Bulk Date"));
        s.Flush();
    }
    IniFileSettings s(dir.File("Stallmark.ini"));
    EXPECT_FALSE(s.ReadBinary("Bulk Date"));
    EXPECT_EQ(s.ReadString("Bulk Date", ""), "0000000030086");
}

TEST(IniFileSettings, GarbageIsIgnoredAndOtherValuesStillRead) {
    TempDir dir;
    dir.Write("Stallmark.ini", std::string("\xEF\xBB\xBF; kept comment\r\n"
                                           "stray=before any section\r\n"
                                           "[Other]\r\n"
                                           "Left=1\r\n"
                                           "[stallmark]\r\n"
                                           "  Left = 12  \r\n"
                                           "no equals sign here\r\n"
                                           "\x01\x02\xFF\xFE garbage\r\n"
                                           "Top=\\q\\x4\\\r\n"
                                           "Left=99\r\n"
                                           "Bulk Date=hex:123\r\n"
                                           "LastMemo=Caf\xE9 \xC3\r\n"
                                           "Maxi=1") +
                                   std::string("\0\0 nul bytes\n", 13) + "[Later]\nx=y\n[Stallmark]\nWidth=300\n");
    IniFileSettings s(dir.File("Stallmark.ini"));
    EXPECT_EQ(s.ReadInteger("Left", 584), 12);
    EXPECT_EQ(s.ReadString("Top", ""), "\\q\\x4\\");
    EXPECT_EQ(s.ReadString("Bulk Date", ""), "hex:123");
    EXPECT_FALSE(s.ReadDateTime("Bulk Date"));
    EXPECT_EQ(s.ReadString("LastMemo", ""), "Caf\xE9 \xC3");
    EXPECT_EQ(s.ReadString("Maxi", ""), std::string("1\0\0 nul bytes", 13));
    EXPECT_EQ(s.ReadInteger("Width", 338), 300);
    EXPECT_EQ(s.ReadInteger("LEFT", 584), 12);
    EXPECT_FALSE(s.ReadRaw("stray"));
    EXPECT_FALSE(s.ReadRaw("x"));

    // Saving keeps what it does not own, in the file's own line ends, and merges the
    // second section into the first.
    s.WriteInteger("Height", 400);
    s.Flush();
    const std::string text = dir.Read("Stallmark.ini");
    EXPECT_EQ(text.rfind("\xEF\xBB\xBF; kept comment\r\nstray=before any section\r\n[Other]\r\nLeft=1\r\n"
                         "[Stallmark]\r\nLeft=12\r\nno equals sign here\r\n",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find("\r\n[Later]\r\nx=y\r\n"), std::string::npos);
    EXPECT_EQ(text.find("Left=99"), std::string::npos);
    EXPECT_EQ(text.find("[Stallmark]"), text.rfind("[Stallmark]"));
    IniFileSettings again(dir.File("Stallmark.ini"));
    EXPECT_EQ(again.ReadInteger("Left", 0), 12);
    EXPECT_EQ(again.ReadInteger("Width", 0), 300);
    EXPECT_EQ(again.ReadInteger("Height", 0), 400);
    EXPECT_EQ(again.ReadString("LastMemo", ""), "Caf\xE9 \xC3");
    EXPECT_EQ(again.ReadString("Maxi", ""), std::string("1\0\0 nul bytes", 13));
}

TEST(IniFileSettings, RandomGarbageNeverBreaksLoadingOrSaving) {
    TempDir dir;
    const std::string path = dir.File("Stallmark.ini");
    const std::string alphabet = "\n\n\r==[];#\\xX0aF \t\xC3\xA9\xE2\x82\xF0\xFFhex:Stallmark";
    std::mt19937 random(1234);
    for (int round = 0; round < 100; ++round) {
        std::string garbage;
        const int length = static_cast<int>(random() % 200);
        for (int i = 0; i < length; ++i)
            garbage.push_back(random() % 4 ? alphabet[random() % alphabet.size()] : static_cast<char>(random()));
        dir.Write("Stallmark.ini", "[Stallmark]\nKnown=42\n" + garbage);
        {
            IniFileSettings s(path);
            ASSERT_EQ(s.ReadInteger("Known", 0), 42) << round;
            s.WriteRaw("Probe", garbage);
            s.Flush();
        }
        IniFileSettings s(path);
        ASSERT_EQ(s.ReadInteger("Known", 0), 42) << round;
        ASSERT_EQ(s.ReadRaw("Probe"), garbage) << round;
    }
}

TEST(IniFileSettings, ValuesStayInMemoryUntilFlushAndLastAcrossInstances) {
    TempDir dir;
    const std::string path = dir.File("sub/folder/Stallmark.ini");
    IniFileSettings first(path);
    first.Flush();
    EXPECT_FALSE(std::filesystem::exists(path)) << "nothing written, nothing saved";
    first.WriteInteger("Left", 10);
    first.WriteBool("Maxi", true);
    EXPECT_TRUE(first.HasUnsavedChanges());
    EXPECT_EQ(IniFileSettings(path).ReadInteger("Left", 584), 584);
    first.Flush();
    EXPECT_FALSE(first.HasUnsavedChanges());

    IniFileSettings second(path);
    EXPECT_EQ(second.ReadInteger("Left", 584), 10);
    EXPECT_TRUE(second.ReadBool("Maxi", false));
    second.WriteInteger("left", 11);  // same value, as in the registry
    second.Flush();
    EXPECT_NE(dir.Read("sub/folder/Stallmark.ini").find("\nLeft=11\n"), std::string::npos);
    EXPECT_EQ(IniFileSettings(path).ReadInteger("Left", 584), 11);
}

TEST(IniFileSettings, UnreadableFileThrowsTheSystemText) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "Stallmark.ini");
    try {
        IniFileSettings s(dir.File("Stallmark.ini"));
        FAIL() << "no error";
    } catch (const SettingsError& e) {
        EXPECT_NE(std::string(e.what()).find(std::strerror(EISDIR)), std::string::npos) << e.what();
    }
}

TEST(IniFileSettings, FailedSaveThrowsAndLeavesTheOldFileWhole) {
    TempDir dir;
    const std::string path = dir.File("Stallmark.ini");
    {
        IniFileSettings s(path);
        s.WriteInteger("Left", 1);
        s.Flush();
    }
    const std::string old = dir.Read("Stallmark.ini");

    IniFileSettings s(path);
    s.WriteInteger("Left", 2);
    std::filesystem::create_directory(path + ".tmp");  // the temporary file cannot be made
    EXPECT_THROW(s.Flush(), SettingsError);
    EXPECT_EQ(dir.Read("Stallmark.ini"), old);
    EXPECT_TRUE(s.HasUnsavedChanges());
    std::filesystem::remove(path + ".tmp");
    s.Flush();  // the change was kept for another try
    EXPECT_EQ(IniFileSettings(path).ReadInteger("Left", 0), 2);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    if (::geteuid() != 0) {  // the owner of every folder ignores its mode
        ::chmod(dir.Path().c_str(), 0555);
        s.WriteInteger("Left", 3);
        try {
            s.Flush();
            ADD_FAILURE() << "no error";
        } catch (const SettingsError& e) {
            EXPECT_NE(std::string(e.what()).find(std::strerror(EACCES)), std::string::npos) << e.what();
        }
        ::chmod(dir.Path().c_str(), 0755);
        EXPECT_EQ(IniFileSettings(path).ReadInteger("Left", 0), 2);
    }
}

TEST(IniFileSettings, AReadOnlyFileIsNotWritten) {
    TempDir dir;
    const std::string path = dir.File("Stallmark.ini");
    dir.Write("Stallmark.ini", "[Stallmark]\nLeft=1\n");
    ::chmod(path.c_str(), 0444);
    IniFileSettings s(path);
    s.WriteInteger("Left", 2);
    try {
        s.Flush();
        FAIL() << "no error";
    } catch (const SettingsError& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot save settings file \"" + path + "\": the file is read-only");
    }
    EXPECT_EQ(dir.Read("Stallmark.ini"), "[Stallmark]\nLeft=1\n");
    EXPECT_TRUE(s.HasUnsavedChanges());
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST(IniFileSettings, ALinkedFileIsWrittenWhereTheLinkPoints) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "dotfiles");
    dir.Write("dotfiles/Stallmark.ini", "; mine\n[Stallmark]\nLeft=1\n");
    std::filesystem::create_symlink("dotfiles/Stallmark.ini", dir.Path() / "Stallmark.ini");
    IniFileSettings s(dir.File("Stallmark.ini"));
    EXPECT_EQ(s.ReadInteger("Left", 0), 1);
    s.WriteInteger("Left", 2);
    s.Flush();
    EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "Stallmark.ini"));
    EXPECT_EQ(dir.Read("dotfiles/Stallmark.ini"), "; mine\n[Stallmark]\nLeft=2\n");
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "dotfiles/Stallmark.ini.tmp"));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() / "Stallmark.ini.tmp"));
}

TEST(IniFileSettings, AnyTextReadsAsAnIntegerOrTheDefault) {
    TempDir dir;
    dir.Write("Stallmark.ini",
              "[Stallmark]\nA=2147483647\nB=-2147483648\nC=2147483648\nD=-2147483649\n"
              "E=99999999999999999999999999\nF=+5\nG=+-5\nH=5 \nI=0x1F\nJ=\nK=\\x00\n");
    IniFileSettings s(dir.File("Stallmark.ini"));
    EXPECT_EQ(s.ReadInteger("A", 7), 2147483647);
    EXPECT_EQ(s.ReadInteger("B", 7), -2147483647 - 1);
    EXPECT_EQ(s.ReadInteger("F", 7), 5);
    EXPECT_EQ(s.ReadInteger("H", 7), 5);  // blanks around a value are dropped on reading the file
    for (const char* name : {"C", "D", "E", "G", "I", "J", "K"}) {
        EXPECT_EQ(s.ReadInteger(name, 7), 7) << name;
        EXPECT_TRUE(s.ReadBool(name, true)) << name;
        EXPECT_FALSE(s.ReadBool(name, false)) << name;
    }
}

TEST(IniFileSettings, FolderThatCannotBeMadeThrows) {
    TempDir dir;
    IniFileSettings s(dir.File("file/Orvanel/Stallmark.ini"));
    s.WriteInteger("Left", 1);
    dir.Write("file", "x");  // a file where the folder should go
    try {
        s.Flush();
        FAIL() << "no error";
    } catch (const SettingsError& e) {
        EXPECT_NE(std::string(e.what()).find(std::strerror(ENOTDIR)), std::string::npos) << e.what();
    }
}

TEST(IniFileSettings, DefaultPathFollowsXdgConfigHome) {
    {
        EnvVar xdg("XDG_CONFIG_HOME", "/cfg/here");
        EXPECT_EQ(IniFileSettings::DefaultPath(), std::filesystem::path("/cfg/here/Orvanel/Stallmark.ini"));
    }
    EnvVar home("HOME", "/home/player");
    {
        EnvVar xdg("XDG_CONFIG_HOME", nullptr);
        EXPECT_EQ(IniFileSettings::DefaultPath(), std::filesystem::path("/home/player/.config/Orvanel/Stallmark.ini"));
    }
    EnvVar relative("XDG_CONFIG_HOME", "relative/cfg");  // not absolute: ignored
    EXPECT_EQ(IniFileSettings::DefaultPath(), std::filesystem::path("/home/player/.config/Orvanel/Stallmark.ini"));
}

TEST(IniFileSettings, DefaultStoreIsTheIniFile) {
    TempDir dir;
    EnvVar xdg("XDG_CONFIG_HOME", dir.Path().c_str());
    auto store = CreateDefaultSettings();
    auto* ini = dynamic_cast<IniFileSettings*>(store.get());
    ASSERT_NE(ini, nullptr);
    EXPECT_EQ(ini->Path(), dir.Path() / "Orvanel" / "Stallmark.ini");
    store->WriteString("Window Name", "Ultima Online -");
    store->Flush();
    EXPECT_EQ(dir.Read("Orvanel/Stallmark.ini"), "[Stallmark]\nWindow Name=Ultima Online -\n");
}

}  // namespace
}  // namespace stallmark
