// The Qt side of the real input: waiting, the release counter, the warning
// collector and the modal-window script runner (the X side is RealDesktop.cpp).
#include "e2e/RealInput.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QMutex>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace stallmark::e2e {

namespace {

// Counts the key and button releases that reach Qt's windows: one per
// release the X server delivered (widgets get copies of their own).
class ReleaseCounter final : public QObject {
public:
    long releases = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched->isWindowType() &&
            (event->type() == QEvent::KeyRelease || event->type() == QEvent::MouseButtonRelease))
            ++releases;
        return false;
    }
};

QMutex g_warningsLock;
QStringList g_warnings;
QtMessageHandler g_previousHandler = nullptr;

void CollectWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type != QtDebugMsg && type != QtInfoMsg) {
        QMutexLocker lock(&g_warningsLock);
        g_warnings << message;
    }
    if (g_previousHandler) g_previousHandler(type, context, message);
}

}  // namespace

namespace detail {

long Releases() {
    static ReleaseCounter* counter = [] {
        auto* c = new ReleaseCounter;
        qApp->installEventFilter(c);
        return c;
    }();
    return counter->releases;
}

void InstallWarningCollector() { g_previousHandler = qInstallMessageHandler(CollectWarnings); }

QStringList TakeWarnings() {
    QMutexLocker lock(&g_warningsLock);
    QStringList out;
    out.swap(g_warnings);
    return out;
}

}  // namespace detail

bool WaitFor(const std::function<bool()>& check, std::chrono::milliseconds deadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    // Wakes the wait regularly, so that conditions outside Qt (files, the X
    // server) are looked at again even when no event comes.
    QTimer wake;
    wake.start(5);
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (check()) return true;
        if (std::chrono::steady_clock::now() >= end) {
            // Whatever the wait was for, where the focus was then tells most of why.
            ADD_FAILURE() << "a wait of " << deadline.count() << " ms ran out; " << RealDesktop::FocusReport();
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void WhenModalShown(std::function<void(QWidget* modal)> script) {
    auto* watch = new QTimer;
    const auto end = std::chrono::steady_clock::now() + kDeadline;
    QObject::connect(watch, &QTimer::timeout, watch, [watch, end, script = std::move(script)] {
        QWidget* modal = QApplication::activeModalWidget();
        const bool up = modal && modal->isVisible() && modal->windowHandle() && modal->windowHandle()->isExposed() &&
                        modal->isActiveWindow();
        if (!up && std::chrono::steady_clock::now() < end) return;
        watch->stop();
        watch->deleteLater();
        if (!up) {
            ADD_FAILURE() << "no modal window came up and took the focus; " << RealDesktop::FocusReport();
            if (modal) modal->close();
            return;
        }
        script(modal);
        if (modal->isVisible()) {
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
            else
                modal->close();
        }
    });
    watch->start(5);
}

}  // namespace stallmark::e2e
