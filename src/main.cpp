// Program entry: the real seams (boxes, clock, settings, data folder, game
// windows, pacing), then the main window and the event loop.

#include <QApplication>
#include <QTimer>
#include <atomic>
#include <csignal>

#include "app/AppContext.h"
#include "app/QtPacer.h"
#include "app/StallmarkForm.h"
#include "controls/CaptionedControls.h"
#include "controls/Dialogs.h"
#include "controls/Icons.h"
#include "controls/Text1252.h"
#include "game/PlatformGameWindows.h"
#include "settings/DefaultSettings.h"
#include "settings/MemorySettings.h"
#include "store/Clock.h"
#include "store/DataFolder.h"

namespace {

// A request to end (Ctrl+C, a logout's SIGTERM) closes the window as the
// Exit command does, so settings and open edits are saved.
std::atomic<bool> stopRequested{false};

extern "C" void RequestStop(int) { stopRequested = true; }

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Stallmark");
    QApplication::setWindowIcon(stallmark::AppIcon());
    stallmark::QtDialogs dialogs;
    stallmark::TEditLabel::setDefaultDialogs(&dialogs);

    std::unique_ptr<stallmark::SettingsStore> settings;
    try {
        settings = stallmark::CreateDefaultSettings();
    } catch (const std::exception& e) {
        // An unreadable settings store is reported and left alone: this run
        // keeps its settings in memory so the stored ones are never overwritten.
        dialogs.ShowMessageBox(QString::fromLocal8Bit(e.what()), stallmark::MsgKind::Error, stallmark::mbOK);
        settings = std::make_unique<stallmark::MemorySettings>();
    }

    std::string folder;
    try {
        folder = stallmark::DefaultDataFolder(stallmark::ToBytes(QCoreApplication::applicationFilePath()));
    } catch (const std::exception& e) {
        dialogs.ShowMessageBox(QString::fromLocal8Bit(e.what()), stallmark::MsgKind::Error, stallmark::mbOK);
        return 1;
    }

    stallmark::SystemClock clock;
    stallmark::QtPacer pacer;
    std::unique_ptr<stallmark::GameWindows> windows = stallmark::CreatePlatformGameWindows();
    stallmark::AppContext context{dialogs, clock, *settings, folder, *windows, pacer};

    stallmark::TStallmarkForm form(context);
    form.show();
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    QTimer stopWatch;
    QObject::connect(&stopWatch, &QTimer::timeout, &form, [&form] {
        if (stopRequested) form.close();
    });
    stopWatch.start(200);
    // The system's session ending: save as on Exit.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, &form, [&form] { form.FormDestroy(); });
    // The window id is a game-windows handle on Windows and under X11; a
    // native Wayland surface is not one.
#ifndef _WIN32
    if (QGuiApplication::platformName() == QLatin1String("xcb"))
#endif
        windows->SetProgramWindow(static_cast<stallmark::WindowHandle>(form.winId()));
    return app.exec();
}
