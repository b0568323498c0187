#pragma once
// One running Stallmark per data folder. The first start on a folder takes a
// lock file named after the folder and listens on a local socket (a named
// pipe on Windows) of the same name; a later start on the same folder finds
// the lock taken, asks the running program through the socket to come to the
// front and ends without opening a window of its own.
//
// The lock and the socket live in a folder of the user's (the runtime folder,
// $XDG_RUNTIME_DIR, on Linux; the temporary folder on Windows), not in the
// data folder. A lock left by a program that crashed is taken over: the lock
// file names its process, and a process that no longer runs holds nothing.
// The socket is served on a thread of its own, so that the answer comes at
// once even while the running program is busy starting up.

#include <QObject>
#include <QString>
#include <chrono>
#include <memory>

class QLockFile;
class QThread;
class QWidget;

namespace stallmark {

class RaiseServer;

class SingleInstance final : public QObject {
    Q_OBJECT
public:
    enum class Outcome {
        Primary,       // this program holds the folder and serves requests to come forward
        HandedOver,    // another program holds it and has been asked to come forward
        NotAnswering,  // another program holds it but did not answer in time
        Failed,        // the lock could not be taken or checked: ErrorText()
    };

    // folder: an existing folder (any spelling: the lock is keyed by its canonical path);
    // lockFolder: where the lock file and the socket are made (made when missing).
    SingleInstance(const QString& folder, const QString& lockFolder, QObject* parent = nullptr);
    ~SingleInstance() override;

    // $XDG_RUNTIME_DIR (Qt's fallback when unset) or, on Windows, the temporary folder.
    static QString DefaultLockFolder();

    // Takes the folder or hands over to the program that has it. While that
    // program has the lock but cannot be reached (it may be taking the lock
    // this very moment, or it may have just ended), tries again until
    // patience runs out. The lock is held until this object is destroyed.
    Outcome Claim(std::chrono::milliseconds patience);

    const QString& Folder() const { return folder_; }  // canonical
    QString LockFilePath() const;
    QString ServerName() const;  // a socket path on Unix, a pipe name on Windows
    // Why Claim failed.
    const QString& ErrorText() const { return error_; }

signals:
    // Another start on the folder asked this program to come to the front.
    void raiseRequested();

private:
    bool AskToRaise(std::chrono::milliseconds patience) const;
    void StartServer();
    void StopServer();

    QString folder_;
    QString lockFolder_;
    QString key_;
    QString error_;
    std::unique_ptr<QLockFile> lock_;
    QThread* thread_ = nullptr;
    RaiseServer* server_ = nullptr;
};

// Shows the window, un-minimised, raised above others and activated.
void BringToFront(QWidget& window);

}  // namespace stallmark
