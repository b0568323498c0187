// The real program, started as separate processes on the offscreen platform:
// one window per data folder, the command line, the usual places.

#include <gtest/gtest.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>
#include <map>
#include <memory>

#include "store/DataFolder.h"
#include "support/TempDir.h"

#ifndef _WIN32
#include <signal.h>
#endif

namespace stallmark::test {

using namespace Qt::Literals::StringLiterals;

namespace {

// Generous: the machine may be busy with other tests.
constexpr int kDeadlineMs = 60000;

QString Q(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

// A home of its own for the programs started here: data, settings and
// runtime folders in a temporary folder, boxes written to the error stream.
class Sandbox {
public:
    Sandbox() {
        for (const char* name : {"run", "home", "data-home", "config-home"})
            std::filesystem::create_directories(dir_.Path() / name);
        std::filesystem::permissions(dir_.Path() / "run", std::filesystem::perms::owner_all);
        env_ = QProcessEnvironment::systemEnvironment();
        env_.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        env_.insert(u"STALLMARK_NONINTERACTIVE"_s, u"1"_s);
        env_.insert(u"XDG_RUNTIME_DIR"_s, Path("run"));
        env_.insert(u"HOME"_s, Path("home"));
        env_.insert(u"XDG_DATA_HOME"_s, Path("data-home"));
        env_.insert(u"XDG_CONFIG_HOME"_s, Path("config-home"));
        env_.remove(u"DISPLAY"_s);
        env_.remove(u"WAYLAND_DISPLAY"_s);
    }
    ~Sandbox() {
        for (auto& p : started_) {
#ifndef _WIN32
            if (p->state() != QProcess::NotRunning) ::kill(static_cast<pid_t>(p->processId()), SIGCONT);
#endif
            p->kill();
            p->waitForFinished(kDeadlineMs);
        }
    }

    QString Path(const std::string& name) const { return Q(dir_.Path() / name); }
    QProcessEnvironment& Environment() { return env_; }

    QProcess& Start(const QStringList& arguments) {
        started_.push_back(std::make_unique<QProcess>());
        QProcess& p = *started_.back();
        p.setProcessEnvironment(env_);
        p.setWorkingDirectory(Path(""));
        p.start(QStringLiteral(STALLMARK_EXE), arguments);
        EXPECT_TRUE(p.waitForStarted(kDeadlineMs));
        return p;
    }
    // Arguments for a shop of this name: its own data folder and settings file.
    QStringList Shop(const std::string& name) const {
        return {u"--data"_s, Path("shops/" + name), u"--settings"_s, Path("shops/" + name + ".ini")};
    }

private:
    TempDir dir_;
    QProcessEnvironment env_;
    std::vector<std::unique_ptr<QProcess>> started_;
};

bool HasDataFiles(const QString& folder) {
    for (const std::string& name : DataFolder::StartupFiles())
        if (!QFileInfo::exists(folder + u'/' + QString::fromStdString(name))) return false;
    return true;
}

// Waits until the program has opened its window on the folder: it makes the
// missing data files while it opens.
bool WindowOpened(QProcess& p, const QString& folder) {
    return QTest::qWaitFor([&] { return HasDataFiles(folder) || p.state() == QProcess::NotRunning; }, kDeadlineMs) &&
           HasDataFiles(folder) && p.state() == QProcess::Running;
}

// Each file of the folder with its size and time of change.
std::map<QString, QString> Snapshot(const QString& folder) {
    std::map<QString, QString> out;
    for (const QFileInfo& f : QDir(folder).entryInfoList(QDir::Files | QDir::Hidden))
        out[f.fileName()] = QString::number(f.size()) + u' ' + f.lastModified().toString(Qt::ISODateWithMs);
    return out;
}

struct Finished {
    bool finished = false;
    int code = -1;
    QString errors;
};

Finished WaitForEnd(QProcess& p) {
    Finished r;
    // waitForFinished() is false for a program that has already ended.
    r.finished =
        (p.state() == QProcess::NotRunning || p.waitForFinished(kDeadlineMs)) && p.exitStatus() == QProcess::NormalExit;
    r.code = p.exitCode();
    r.errors = QString::fromLocal8Bit(p.readAllStandardError());
    return r;
}

// Ends a program as the session's end does (it saves and closes).
Finished Close(QProcess& p) {
    p.terminate();
    return WaitForEnd(p);
}

}  // namespace

TEST(SecondStart, OnTheSameFolderHandsOverAndWritesNothing) {
    Sandbox box;
    QProcess& first = box.Start(box.Shop("north"));
    const QString shop = box.Path("shops/north");
    ASSERT_TRUE(WindowOpened(first, shop)) << first.readAllStandardError().toStdString();

    // A window opening on the folder would make this file again.
    ASSERT_TRUE(QFile::remove(shop + u"/General.dat"_s));
    const auto before = Snapshot(shop);

    // Another spelling of the same folder.
    QProcess& second =
        box.Start({u"--data"_s, box.Path("shops/../shops/north/"), u"--settings"_s, box.Path("shops/north.ini")});
    const Finished end = WaitForEnd(second);
    ASSERT_TRUE(end.finished);
    EXPECT_EQ(end.code, 0) << end.errors.toStdString();
    EXPECT_FALSE(end.errors.contains(u"Stallmark"_s)) << end.errors.toStdString();

    EXPECT_EQ(Snapshot(shop), before);
    EXPECT_FALSE(QFileInfo::exists(shop + u"/General.dat"_s));
    EXPECT_FALSE(QFileInfo::exists(box.Path("shops/north.ini")));  // the first saves its settings at its end
    EXPECT_EQ(first.state(), QProcess::Running);

    const Finished firstEnd = Close(first);
    ASSERT_TRUE(firstEnd.finished);
    EXPECT_EQ(firstEnd.code, 0) << firstEnd.errors.toStdString();
    EXPECT_TRUE(QFileInfo::exists(box.Path("shops/north.ini")));
}

TEST(SecondStart, TwoStartsAtOnceOpenOneWindow) {
    Sandbox box;
    for (const std::string shop : {"a", "b", "c"}) {
        QProcess& one = box.Start(box.Shop(shop));
        QProcess& two = box.Start(box.Shop(shop));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return one.state() == QProcess::NotRunning || two.state() == QProcess::NotRunning; }, kDeadlineMs));
        QProcess& ended = one.state() == QProcess::NotRunning ? one : two;
        QProcess& running = &ended == &one ? two : one;
        const Finished end = WaitForEnd(ended);
        ASSERT_TRUE(end.finished);
        EXPECT_EQ(end.code, 0) << end.errors.toStdString();
        EXPECT_TRUE(WindowOpened(running, box.Path("shops/" + shop)));
        const Finished runningEnd = Close(running);
        ASSERT_TRUE(runningEnd.finished);
        EXPECT_EQ(runningEnd.code, 0) << runningEnd.errors.toStdString();
    }
}

TEST(SecondStart, LockOfACrashedRunIsTakenOver) {
    Sandbox box;
    const QString shop = box.Path("shops/north");
    QProcess& crashed = box.Start(box.Shop("north"));
    ASSERT_TRUE(WindowOpened(crashed, shop));
    crashed.kill();
    ASSERT_TRUE(crashed.waitForFinished(kDeadlineMs));
    // What it left: its lock file and its socket.
    EXPECT_EQ(QDir(box.Path("run")).entryList({u"Stallmark-*.lock"_s}, QDir::Files | QDir::Hidden).size(), 1);

    ASSERT_TRUE(QFile::remove(shop + u"/General.dat"_s));
    QProcess& next = box.Start(box.Shop("north"));
    EXPECT_TRUE(WindowOpened(next, shop)) << next.readAllStandardError().toStdString();
    QProcess& third = box.Start(box.Shop("north"));
    const Finished thirdEnd = WaitForEnd(third);
    ASSERT_TRUE(thirdEnd.finished);
    EXPECT_EQ(thirdEnd.code, 0) << thirdEnd.errors.toStdString();
    const Finished end = Close(next);
    ASSERT_TRUE(end.finished);
    EXPECT_EQ(end.code, 0);
    EXPECT_TRUE(QDir(box.Path("run")).entryList({u"Stallmark-*"_s}, QDir::AllEntries | QDir::System).isEmpty());
}

#ifndef _WIN32
TEST(SecondStart, HolderThatDoesNotAnswerIsReportedInABox) {
    Sandbox box;
    const QString shop = box.Path("shops/north");
    QProcess& frozen = box.Start(box.Shop("north"));
    ASSERT_TRUE(WindowOpened(frozen, shop));
    ASSERT_TRUE(QFile::remove(shop + u"/General.dat"_s));
    ASSERT_EQ(::kill(static_cast<pid_t>(frozen.processId()), SIGSTOP), 0);

    QProcess& second = box.Start(box.Shop("north"));
    const Finished end = WaitForEnd(second);
    ::kill(static_cast<pid_t>(frozen.processId()), SIGCONT);
    ASSERT_TRUE(end.finished);
    EXPECT_EQ(end.code, 3);
    EXPECT_TRUE(end.errors.contains(u"Stallmark error: Stallmark is already running with the data folder "_s + shop +
                                    u" but does not come to the front."_s))
        << end.errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(shop + u"/General.dat"_s));
    const Finished frozenEnd = Close(frozen);
    ASSERT_TRUE(frozenEnd.finished) << frozen.exitStatus() << " " << frozenEnd.errors.toStdString();
    EXPECT_EQ(frozenEnd.code, 0);
}
#endif

TEST(SecondStart, ShopsWithTheirOwnFoldersRunSideBySideWithTheirOwnSettings) {
    Sandbox box;
    std::filesystem::create_directories(std::filesystem::path(box.Path("shops").toStdString()));
    // North's settings name another sort key than the default one.
    QFile north(box.Path("shops/north.ini"));
    ASSERT_TRUE(north.open(QIODevice::WriteOnly));
    north.write("[Stallmark]\nGeneral Sort=3\n");
    north.close();

    QProcess& a = box.Start(box.Shop("north"));
    QProcess& b = box.Start(box.Shop("south"));
    ASSERT_TRUE(WindowOpened(a, box.Path("shops/north")));
    ASSERT_TRUE(WindowOpened(b, box.Path("shops/south")));
    EXPECT_TRUE(Close(a).finished);
    EXPECT_TRUE(Close(b).finished);

    auto read = [&](const char* name) {
        QFile f(box.Path(name));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    EXPECT_TRUE(read("shops/north.ini").contains(u"General Sort=3\n"_s)) << read("shops/north.ini").toStdString();
    EXPECT_TRUE(read("shops/south.ini").contains(u"General Sort=1\n"_s)) << read("shops/south.ini").toStdString();
    // Neither touched the usual places.
    EXPECT_FALSE(QFileInfo::exists(box.Path("config-home/Orvanel/Stallmark.ini")));
    EXPECT_FALSE(QFileInfo::exists(box.Path("data-home/Stallmark")));
}

TEST(SecondStart, WithoutOptionsTheUsualPlacesAndOneWindowToo) {
    Sandbox box;
    QProcess& first = box.Start({});
    const QString usual = box.Path("data-home/Stallmark");
    ASSERT_TRUE(WindowOpened(first, usual));
    QProcess& second = box.Start({});
    const Finished end = WaitForEnd(second);
    ASSERT_TRUE(end.finished);
    EXPECT_EQ(end.code, 0) << end.errors.toStdString();
    const Finished firstEnd = Close(first);
    ASSERT_TRUE(firstEnd.finished);
    EXPECT_EQ(firstEnd.code, 0);
    EXPECT_TRUE(QFileInfo::exists(box.Path("config-home/Orvanel/Stallmark.ini")));
}

TEST(CommandLineRun, MistakesAndUnusableFoldersEndBeforeAnythingIsWritten) {
    Sandbox box;
    QFile file(box.Path("shop.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a folder");
    file.close();

    const Finished notAFolder = WaitForEnd(box.Start({u"--data"_s, box.Path("shop.txt")}));
    ASSERT_TRUE(notAFolder.finished);
    EXPECT_EQ(notAFolder.code, 1);
    EXPECT_TRUE(notAFolder.errors.contains(u"Stallmark error: Cannot use the data folder "_s + box.Path("shop.txt") +
                                           u" It is a file, not a folder."_s))
        << notAFolder.errors.toStdString();

    const Finished settingsFolder =
        WaitForEnd(box.Start({u"--data"_s, box.Path("shops/north"), u"--settings"_s, box.Path("home")}));
    ASSERT_TRUE(settingsFolder.finished);
    EXPECT_EQ(settingsFolder.code, 1);
    EXPECT_TRUE(settingsFolder.errors.contains(u" It is a folder."_s)) << settingsFolder.errors.toStdString();

    const Finished mistake = WaitForEnd(box.Start({u"--data"_s, box.Path("shops/south"), u"--colour"_s}));
    ASSERT_TRUE(mistake.finished);
    EXPECT_EQ(mistake.code, 2);
    EXPECT_TRUE(mistake.errors.contains(u"Unknown option 'colour'."_s)) << mistake.errors.toStdString();
    EXPECT_FALSE(QFileInfo::exists(box.Path("shops/south")));
    EXPECT_FALSE(QFileInfo::exists(box.Path("data-home/Stallmark")));
}

TEST(CommandLineRun, VersionAndHelpNeedNoWindowSystem) {
    Sandbox box;
    box.Environment().remove(u"QT_QPA_PLATFORM"_s);
    QProcess& version = box.Start({u"--version"_s});
    ASSERT_TRUE(version.waitForFinished(kDeadlineMs));
    EXPECT_EQ(version.exitCode(), 0);
    EXPECT_EQ(version.readAllStandardOutput(), "Stallmark " STALLMARK_VERSION "\n");
    QProcess& help = box.Start({u"--help"_s});
    ASSERT_TRUE(help.waitForFinished(kDeadlineMs));
    EXPECT_EQ(help.exitCode(), 0);
    const QByteArray text = help.readAllStandardOutput();
    EXPECT_TRUE(text.contains("--data <folder>")) << text.toStdString();
    EXPECT_TRUE(text.contains("--settings <file>")) << text.toStdString();
}

}  // namespace stallmark::test
