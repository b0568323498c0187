#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>
#include <algorithm>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif

namespace stallmark {

using namespace Qt::Literals::StringLiterals;

namespace {

// The whole conversation: one request line, one answer line.
constexpr char kRequest[] = "raise\n";
constexpr char kAnswer[] = "ok\n";
constexpr qint64 kMaxLine = 64;

int RemainingMs(const QDeadlineTimer& deadline) {
    return static_cast<int>(std::max<qint64>(0, deadline.remainingTime()));
}

}  // namespace

// Serves the socket on its own thread: answers each request at once and
// passes it on with requested().
class RaiseServer final : public QObject {
    Q_OBJECT
public:
    explicit RaiseServer(QString name) : name_(std::move(name)) {}

    // Runs on the server's thread. The caller holds the lock, so a socket of
    // that name can only be what a crashed run left behind: it is removed.
    bool Listen() {
        server_ = new QLocalServer(this);
        server_->setSocketOptions(QLocalServer::UserAccessOption);
        QLocalServer::removeServer(name_);
        if (!server_->listen(name_)) return false;
        connect(server_, &QLocalServer::newConnection, this, &RaiseServer::OnConnection);
        return true;
    }

signals:
    void requested();

private:
    void OnConnection() {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Read(socket); });
            Read(socket);
        }
    }

    void Read(QLocalSocket* socket) {
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > kMaxLine) socket->abort();
            return;
        }
        const QByteArray line = socket->readLine(kMaxLine);
        if (line == kRequest) {
            socket->write(kAnswer);
            socket->flush();
            emit requested();
        }
        socket->disconnectFromServer();
    }

    QString name_;
    QLocalServer* server_ = nullptr;
};

SingleInstance::SingleInstance(const QString& folder, const QString& lockFolder, QObject* parent)
    : QObject(parent), lockFolder_(lockFolder) {
    const QFileInfo info(folder);
    folder_ = info.canonicalFilePath();
    if (folder_.isEmpty()) folder_ = QDir::cleanPath(info.absoluteFilePath());
    QString identity = QDir::cleanPath(lockFolder_) + u'\n' + folder_;
#ifdef _WIN32
    identity = identity.toLower();  // the file system ignores case
#endif
    key_ =
        QString::fromLatin1(QCryptographicHash::hash(identity.toUtf8(), QCryptographicHash::Sha256).toHex().left(24));
}

SingleInstance::~SingleInstance() {
    StopServer();
    lock_.reset();  // unlocks
}

QString SingleInstance::DefaultLockFolder() {
#ifdef _WIN32
    return QDir::tempPath();
#else
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
#endif
}

QString SingleInstance::LockFilePath() const { return lockFolder_ + u"/Stallmark-"_s + key_ + u".lock"_s; }

QString SingleInstance::ServerName() const {
#ifdef _WIN32
    return u"Stallmark-"_s + key_;
#else
    return lockFolder_ + u"/Stallmark-"_s + key_ + u".socket"_s;
#endif
}

SingleInstance::Outcome SingleInstance::Claim(std::chrono::milliseconds patience) {
    const QDeadlineTimer deadline(patience.count());
    error_.clear();
    if (!QDir().mkpath(lockFolder_)) {
        error_ = u"The folder %1 cannot be made."_s.arg(QDir::toNativeSeparators(lockFolder_));
        return Outcome::Failed;
    }
    lock_ = std::make_unique<QLockFile>(LockFilePath());
    lock_->setStaleLockTime(0);  // a running program keeps its lock however long it runs
    for (;;) {
        if (lock_->tryLock(0)) {
            StartServer();
            return Outcome::Primary;
        }
        if (lock_->error() != QLockFile::LockFailedError) {
            error_ = u"The lock file %1 cannot be made or read."_s.arg(QDir::toNativeSeparators(LockFilePath()));
            return Outcome::Failed;
        }
        if (AskToRaise(std::chrono::milliseconds(RemainingMs(deadline)))) return Outcome::HandedOver;
        if (deadline.hasExpired()) return Outcome::NotAnswering;
        // Refused at once: the holder has not begun to listen yet, or has just ended.
        QThread::msleep(static_cast<unsigned long>(std::min(50, RemainingMs(deadline))));
    }
}

bool SingleInstance::AskToRaise(std::chrono::milliseconds patience) const {
    const QDeadlineTimer deadline(patience.count());
    QLocalSocket socket;
    socket.connectToServer(ServerName());
    if (!socket.waitForConnected(RemainingMs(deadline))) return false;
#ifdef _WIN32
    // The program that the player has just started may hand the foreground on.
    AllowSetForegroundWindow(ASFW_ANY);
#endif
    socket.write(kRequest);
    if (!socket.waitForBytesWritten(RemainingMs(deadline))) return false;
    QByteArray answer;
    while (!answer.contains('\n') && answer.size() <= kMaxLine) {
        if (socket.bytesAvailable() == 0 && !socket.waitForReadyRead(RemainingMs(deadline))) return false;
        answer += socket.readAll();
    }
    return answer == kAnswer;
}

void SingleInstance::StartServer() {
    thread_ = new QThread;
    thread_->setObjectName(u"Stallmark single instance"_s);
    server_ = new RaiseServer(ServerName());
    server_->moveToThread(thread_);
    connect(thread_, &QThread::finished, server_, &QObject::deleteLater);
    connect(server_, &RaiseServer::requested, this, &SingleInstance::raiseRequested, Qt::QueuedConnection);
    thread_->start();
    bool listening = false;
    RaiseServer* server = server_;
    QMetaObject::invokeMethod(
        server_, [server] { return server->Listen(); }, Qt::BlockingQueuedConnection, &listening);
    if (!listening)
        qWarning("Stallmark: cannot listen on %s; a second start on this data folder cannot bring this window forward",
                 qPrintable(ServerName()));
}

void SingleInstance::StopServer() {
    if (thread_ == nullptr) return;
    thread_->quit();
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    server_ = nullptr;  // deleted on its thread as it finished
}

void BringToFront(QWidget& window) {
    if (window.isMinimized()) window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
    window.show();
    window.raise();
    window.activateWindow();
}

}  // namespace stallmark

#include "SingleInstance.moc"
