#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fstream>

#include "app/ConsoleDialogs.h"
#include "store/ReadOnlyFolder.h"
#include "support/TempDir.h"

namespace stallmark::test {

using namespace Qt::Literals::StringLiterals;

namespace {

QString Q(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

// The current folder for the life of the object.
class InFolder {
public:
    explicit InFolder(const QString& folder) : before_(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~InFolder() { QDir::setCurrent(before_); }

private:
    QString before_;
};

}  // namespace

TEST(CommandLine, WithoutOptionsNothingIsChosen) {
    CommandLine c;
    ASSERT_TRUE(c.Parse({u"stallmark"_s}));
    EXPECT_TRUE(c.DataFolder().isEmpty());
    EXPECT_TRUE(c.SettingsFile().isEmpty());
    EXPECT_FALSE(c.WantsHelp());
    EXPECT_FALSE(c.WantsVersion());
}

TEST(CommandLine, DataAndSettingsInBothSpellings) {
    CommandLine c;
    ASSERT_TRUE(c.Parse({u"stallmark"_s, u"--data"_s, u"/shops/North Bank"_s, u"--settings=north.ini"_s}));
    EXPECT_EQ(c.DataFolder(), u"/shops/North Bank"_s);
    EXPECT_EQ(c.SettingsFile(), u"north.ini"_s);
}

TEST(CommandLine, MistakesAreTold) {
    const QList<QStringList> mistakes = {
        {u"stallmark"_s, u"--bogus"_s},
        {u"stallmark"_s, u"--data"_s},
        {u"stallmark"_s, u"--data="_s},
        {u"stallmark"_s, u"shop"_s},
        {u"stallmark"_s, u"--data"_s, u"a"_s, u"--data"_s, u"b"_s},
        {u"stallmark"_s, u"--settings"_s, u"a.ini"_s, u"--settings=b.ini"_s},
        {u"stallmark"_s, u"-data"_s, u"shop"_s},
    };
    for (const QStringList& args : mistakes) {
        CommandLine c;
        EXPECT_FALSE(c.Parse(args)) << args.join(u' ').toStdString();
        EXPECT_FALSE(c.ErrorText().isEmpty()) << args.join(u' ').toStdString();
    }
    CommandLine twice;
    twice.Parse({u"stallmark"_s, u"--data"_s, u"a"_s, u"--data"_s, u"b"_s});
    EXPECT_EQ(twice.ErrorText(), u"Option '--data' given more than once."_s);
    CommandLine stray;
    stray.Parse({u"stallmark"_s, u"shop"_s});
    EXPECT_EQ(stray.ErrorText(), u"Unexpected argument 'shop'."_s);
}

TEST(CommandLine, HelpAndVersionAreSeenEvenBesideAMistake) {
    CommandLine c;
    EXPECT_FALSE(c.Parse({u"stallmark"_s, u"--bogus"_s, u"--help"_s}));
    EXPECT_TRUE(c.WantsHelp());
    CommandLine v;
    EXPECT_TRUE(v.Parse({u"stallmark"_s, u"-v"_s}));
    EXPECT_TRUE(v.WantsVersion());
    const QString help = c.HelpText();
    EXPECT_TRUE(help.contains(u"--data <folder>"_s)) << help.toStdString();
    EXPECT_TRUE(help.contains(u"--settings <file>"_s)) << help.toStdString();
    EXPECT_TRUE(help.contains(u"--version"_s));
}

TEST(CommandLine, WhatIsAnsweredWithoutAWindowSystem) {
    EXPECT_TRUE(AnswersInText({u"stallmark"_s, u"--version"_s}, false));
    EXPECT_TRUE(AnswersInText({u"stallmark"_s, u"--data"_s, u"x"_s, u"-h"_s}, false));
    EXPECT_FALSE(AnswersInText({u"stallmark"_s}, true));
    EXPECT_FALSE(AnswersInText({u"stallmark"_s, u"--data"_s, u"x"_s}, true));
    // "--help" as the value of --data is a folder's name, not a request for help.
    EXPECT_FALSE(AnswersInText({u"stallmark"_s, u"--data"_s, u"--help"_s}, true));
    EXPECT_TRUE(AnswersInText({u"stallmark"_s, u"--bogus"_s}, true));
    EXPECT_FALSE(AnswersInText({u"stallmark"_s, u"--bogus"_s}, false));
    // The toolkit takes its own options out only when the window system starts.
    EXPECT_FALSE(AnswersInText({u"stallmark"_s, u"-platform"_s, u"offscreen"_s}, true));
}

TEST(DataFolderOption, MissingFolderIsMadeWithItsParents) {
    TempDir dir;
    const QString wanted = Q(dir.Path() / "shops" / "North Bank");
    const PreparedFolder f = PrepareDataFolder(wanted);
    EXPECT_TRUE(f.error.isEmpty()) << f.error.toStdString();
    EXPECT_EQ(f.path, QFileInfo(wanted).canonicalFilePath());
    EXPECT_TRUE(QFileInfo(wanted).isDir());
}

TEST(DataFolderOption, RelativeAndRoundaboutSpellingsGiveOneCanonicalFolder) {
    TempDir dir;
    std::filesystem::create_directories(dir.Path() / "shops" / "north");
    std::filesystem::create_directory_symlink(dir.Path() / "shops" / "north", dir.Path() / "link");
    const QString canonical = QFileInfo(Q(dir.Path() / "shops" / "north")).canonicalFilePath();
    InFolder here(Q(dir.Path() / "shops"));
    EXPECT_EQ(PrepareDataFolder(u"north"_s).path, canonical);
    EXPECT_EQ(PrepareDataFolder(u"./north/"_s).path, canonical);
    EXPECT_EQ(PrepareDataFolder(u"../shops/north"_s).path, canonical);
    EXPECT_EQ(PrepareDataFolder(Q(dir.Path() / "link")).path, canonical);
}

TEST(DataFolderOption, AFileIsNoFolder) {
    TempDir dir;
    dir.Write("General.dat", "Wand,Fire,100\r\n");
    const PreparedFolder f = PrepareDataFolder(Q(dir.Path() / "General.dat"));
    EXPECT_TRUE(f.path.isEmpty());
    EXPECT_EQ(f.error, u"Cannot use the data folder\n\r%1\n\rIt is a file, not a folder."_s.arg(
                           QDir::toNativeSeparators(Q(dir.Path() / "General.dat"))));
    EXPECT_EQ(dir.Read("General.dat"), "Wand,Fire,100\r\n");
}

#ifndef _WIN32
TEST(DataFolderOption, FolderThatCannotBeWrittenOrMadeIsRefused) {
    TempDir dir;
    std::filesystem::create_directory(dir.Path() / "locked");
    const QString existing = Q(dir.Path() / "locked");
    const QString missing = Q(dir.Path() / "new");
    auto check = [](const QString& folder) {
        return [folder] {
            const PreparedFolder f = PrepareDataFolder(folder);
            if (!f.error.isEmpty()) throw StoreError(f.error.toStdString());
        };
    };
    EXPECT_EQ(FailureInReadOnlyFolder(dir, check(existing)),
              u"Cannot use the data folder\n\r%1\n\rIt cannot be written."_s.arg(existing).toStdString());
    EXPECT_EQ(FailureInReadOnlyFolder(dir, check(missing)),
              u"Cannot use the data folder\n\r%1\n\rIt cannot be made."_s.arg(missing).toStdString());
    EXPECT_FALSE(dir.Exists("new"));
}
#endif

TEST(SettingsFileOption, PathIsMadeAbsoluteAndAFolderRefused) {
    TempDir dir;
    InFolder here(Q(dir.Path()));
    const PreparedFolder file = PrepareSettingsFile(u"cfg/north.ini"_s);
    EXPECT_EQ(file.path, QDir::cleanPath(QDir::currentPath() + u"/cfg/north.ini"_s));
    EXPECT_FALSE(QFileInfo::exists(file.path));  // made when the settings are saved
    std::filesystem::create_directory(dir.Path() / "cfg");
    const PreparedFolder folder = PrepareSettingsFile(u"cfg"_s);
    EXPECT_TRUE(folder.path.isEmpty());
    EXPECT_TRUE(folder.error.endsWith(u"\n\rIt is a folder."_s)) << folder.error.toStdString();
}

TEST(WindowTitle, NamesTheDataFolder) {
    EXPECT_EQ(WindowTitleFor(u"/home/ann/shops/North Bank"_s), u"Stallmark - North Bank"_s);
    EXPECT_EQ(WindowTitleFor(u"/"_s), u"Stallmark - /"_s);
}

TEST(PathBytes, KeepsNonAsciiNamesAsTheFileSystemSpellsThem) {
    TempDir dir;
    const QString folder = Q(dir.Path()) + u"/Boutique d'\u00e9t\u00e9"_s;
    ASSERT_TRUE(QDir().mkpath(folder));
    const std::string bytes = PathBytes(folder + u"/General.dat"_s);
    { std::ofstream(bytes, std::ios::binary) << "x"; }
    EXPECT_TRUE(QFile::exists(folder + u"/General.dat"_s));
}

TEST(ConsoleBoxes, AnswerWithTheButtonThatChangesNothing) {
    EXPECT_EQ(ConsoleDialogs::SafeAnswer(mbOK), mbOK);
    EXPECT_EQ(ConsoleDialogs::SafeAnswer(mbYes | mbNo), mbNo);
    EXPECT_EQ(ConsoleDialogs::SafeAnswer(mbOK | mbCancel), mbCancel);
    EXPECT_EQ(ConsoleDialogs::SafeAnswer(mbYes | mbNo | mbCancel), mbCancel);
    EXPECT_EQ(ConsoleDialogs::SafeAnswer(mbAbort | mbRetry | mbIgnore), mbAbort);
}

TEST(ConsoleBoxes, EachBoxIsOneLineOnTheStream) {
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    ConsoleDialogs boxes(out);
    EXPECT_EQ(boxes.ShowMessageBox(u"Delete\n\rNorth Bank ?"_s, MsgKind::Confirmation, mbYes | mbNo), mbNo);
    QString value = u"17"_s;
    EXPECT_FALSE(boxes.InputQuery(u"Row Height"_s, u"Height"_s, value));
    EXPECT_EQ(value, u"17"_s);
    std::rewind(out);
    char buffer[256] = {};
    const size_t n = std::fread(buffer, 1, sizeof buffer - 1, out);
    std::fclose(out);
    EXPECT_EQ(std::string(buffer, n),
              "Stallmark confirmation: Delete North Bank ?\nStallmark input cancelled: Row Height - Height\n");
}

}  // namespace stallmark::test
