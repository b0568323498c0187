#include "app/SingleInstance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>
#include <QLockFile>
#include <QSignalSpy>
#include <QWidget>

#include "support/TempDir.h"

namespace stallmark::test {

using namespace Qt::Literals::StringLiterals;
using Outcome = SingleInstance::Outcome;

namespace {

constexpr std::chrono::milliseconds kPatience{10000};

QString Q(const std::filesystem::path& p) { return QString::fromStdString(p.string()); }

// A data folder and a lock folder of their own.
struct Place {
    TempDir dir;
    QString shop = Folder("shop");
    QString locks = Q(dir.Path() / "run");

    QString Folder(const char* name) const {
        std::filesystem::create_directories(dir.Path() / name);
        return Q(dir.Path() / name);
    }
};

}  // namespace

TEST(SingleInstance, FirstStartHoldsTheFolderUntilItEnds) {
    Place p;
    QString lockFile;
    {
        SingleInstance first(p.shop, p.locks);
        ASSERT_EQ(first.Claim(kPatience), Outcome::Primary) << first.ErrorText().toStdString();
        lockFile = first.LockFilePath();
        EXPECT_TRUE(QFileInfo::exists(lockFile));
        EXPECT_TRUE(lockFile.startsWith(p.locks + u'/')) << lockFile.toStdString();
        EXPECT_EQ(first.Folder(), QFileInfo(p.shop).canonicalFilePath());
    }
    EXPECT_FALSE(QFileInfo::exists(lockFile));
    SingleInstance again(p.shop, p.locks);
    EXPECT_EQ(again.Claim(kPatience), Outcome::Primary);
}

TEST(SingleInstance, SecondStartHandsOverAndTheFirstIsAskedToComeForward) {
    Place p;
    SingleInstance first(p.shop, p.locks);
    ASSERT_EQ(first.Claim(kPatience), Outcome::Primary);
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);

    SingleInstance second(p.shop + u"/../shop/"_s, p.locks);
    EXPECT_EQ(second.Claim(kPatience), Outcome::HandedOver);
    ASSERT_TRUE(raised.count() == 1 || raised.wait(10000));
    EXPECT_EQ(raised.count(), 1);

    SingleInstance third(p.shop, p.locks);
    EXPECT_EQ(third.Claim(kPatience), Outcome::HandedOver);
    ASSERT_TRUE(raised.count() == 2 || raised.wait(10000));
    EXPECT_EQ(raised.count(), 2);
}

TEST(SingleInstance, TheLockBelongsToTheFolderNotItsSpelling) {
    Place p;
    const QString other = p.Folder("other");
    std::filesystem::create_directory_symlink(p.dir.Path() / "shop", p.dir.Path() / "link");
    const SingleInstance shop(p.shop, p.locks);
    EXPECT_EQ(SingleInstance(Q(p.dir.Path() / "link"), p.locks).LockFilePath(), shop.LockFilePath());
    EXPECT_EQ(SingleInstance(p.shop + u"/./"_s, p.locks).ServerName(), shop.ServerName());
    EXPECT_NE(SingleInstance(other, p.locks).LockFilePath(), shop.LockFilePath());
    EXPECT_NE(SingleInstance(other, p.locks).ServerName(), shop.ServerName());
}

TEST(SingleInstance, OtherFoldersRunSideBySide) {
    Place p;
    SingleInstance north(p.shop, p.locks);
    SingleInstance south(p.Folder("south"), p.locks);
    EXPECT_EQ(north.Claim(kPatience), Outcome::Primary);
    EXPECT_EQ(south.Claim(kPatience), Outcome::Primary);
}

TEST(SingleInstance, HolderThatDoesNotAnswerIsReportedOnceThePatienceRunsOut) {
    Place p;
    SingleInstance probe(p.shop, p.locks);
    ASSERT_TRUE(QDir().mkpath(p.locks));
    // The lock of a live process (this one) with no one serving the socket.
    QLockFile held(probe.LockFilePath());
    ASSERT_TRUE(held.tryLock(0));
    EXPECT_EQ(probe.Claim(std::chrono::milliseconds(300)), Outcome::NotAnswering);
}

TEST(SingleInstance, SocketLeftByACrashedRunIsReplaced) {
    Place p;
    SingleInstance first(p.shop, p.locks);
    ASSERT_TRUE(QDir().mkpath(p.locks));
    QFile leftover(first.ServerName());
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.close();
    ASSERT_EQ(first.Claim(kPatience), Outcome::Primary);
    SingleInstance second(p.shop, p.locks);
    EXPECT_EQ(second.Claim(kPatience), Outcome::HandedOver);
}

TEST(SingleInstance, AnythingButTheRequestIsNotAnsweredAndRaisesNothing) {
    Place p;
    SingleInstance first(p.shop, p.locks);
    ASSERT_EQ(first.Claim(kPatience), Outcome::Primary);
    QSignalSpy raised(&first, &SingleInstance::raiseRequested);
    QLocalSocket socket;
    socket.connectToServer(first.ServerName());
    ASSERT_TRUE(socket.waitForConnected(10000));
    socket.write("quit\n");
    ASSERT_TRUE(socket.waitForBytesWritten(10000));
    // The server reads the line and hangs up.
    ASSERT_TRUE(socket.state() == QLocalSocket::UnconnectedState || socket.waitForDisconnected(10000));
    EXPECT_EQ(socket.readAll(), QByteArray());
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(raised.count(), 0);
}

TEST(SingleInstance, LockFolderThatCannotBeMadeFails) {
    Place p;
    p.dir.Write("run", "not a folder");
    SingleInstance first(p.shop, p.locks);
    EXPECT_EQ(first.Claim(kPatience), Outcome::Failed);
    EXPECT_TRUE(first.ErrorText().contains(QDir::toNativeSeparators(p.locks))) << first.ErrorText().toStdString();
}

TEST(BringToFront, MinimisedOrHiddenWindowIsShownNormally) {
    QWidget window;
    window.showMinimized();
    ASSERT_TRUE(window.isMinimized());
    BringToFront(window);
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
    window.hide();
    BringToFront(window);
    EXPECT_TRUE(window.isVisible());
}

}  // namespace stallmark::test
