#include "app/QtPacer.h"

#include <QCoreApplication>
#include <QThread>

namespace stallmark {

void QtPacer::ProcessEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void QtPacer::Sleep(int milliseconds) {
    if (milliseconds > 0) QThread::msleep(static_cast<unsigned long>(milliseconds));
}

}  // namespace stallmark
