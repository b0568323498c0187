// Program entry: the command line, the data folder (one running program per
// folder), the real seams (boxes, clock, settings, game windows, pacing), then
// the main window and the event loop.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <cstdio>

#include "app/AppContext.h"
#include "app/CommandLine.h"
#include "app/ConsoleDialogs.h"
#include "app/QtPacer.h"
#include "app/SingleInstance.h"
#include "app/StallmarkForm.h"
#include "controls/CaptionedControls.h"
#include "controls/Dialogs.h"
#include "controls/Icons.h"
#include "controls/Text1252.h"
#include "game/PlatformGameWindows.h"
#include "settings/DefaultSettings.h"
#include "settings/IniFileSettings.h"
#include "settings/MemorySettings.h"
#include "store/Clock.h"
#include "store/DataFolder.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// A request to end (Ctrl+C, a logout's SIGTERM) closes the window as the
// Exit command does, so settings and open edits are saved.
std::atomic<bool> stopRequested{false};

extern "C" void RequestStop(int) { stopRequested = true; }

// Exit codes besides 0 (a normal end, or a second start handed over to the
// window already open on its data folder).
enum ExitCode : int {
    kExitCannotStart = 1,  // the data folder, the settings file or the lock cannot be used
    kExitUsage = 2,        // a mistake on the command line
    kExitNotAnswering = 3  // another Stallmark has the data folder and did not come forward
};

// How long a second start waits for the program that has its data folder.
constexpr std::chrono::milliseconds kHandOverPatience{5000};

// The desktop entry's name without ".desktop": Wayland's application id.
constexpr auto kDesktopId = STALLMARK_APP_ID;

QStringList RawArguments(int argc, char** argv) {
    QStringList out;
    for (int i = 0; i < argc; ++i) out << QString::fromLocal8Bit(argv[i]);
    return out;
}

void SetApplicationNames() {
    QCoreApplication::setApplicationName(u"Stallmark"_s);
    QCoreApplication::setOrganizationName(u"Orvanel"_s);
    QCoreApplication::setApplicationVersion(QStringLiteral(STALLMARK_VERSION));
}

// A command line mistake: on the error stream, where a terminal shows it, and
// in a box when there are dialogs (on Windows, where there is no terminal).
int UsageError(stallmark::Dialogs* dialogs, const QString& text) {
    const QString message = u"Stallmark: "_s + text + u"\nTry 'stallmark --help'."_s;
    std::fputs((message + u'\n').toLocal8Bit().constData(), stderr);
    if (dialogs != nullptr) dialogs->ShowMessageBox(message, stallmark::MsgKind::Error, stallmark::mbOK);
    return kExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    SetApplicationNames();
    // Help, the version and (where a terminal shows them) command line mistakes
    // need no window system, so they are answered on a machine without one.
#ifdef _WIN32
    constexpr bool kMistakesInText = false;  // no terminal: a box tells them
#else
    constexpr bool kMistakesInText = true;
#endif
    if (stallmark::AnswersInText(RawArguments(argc, argv), kMistakesInText)) {
        QCoreApplication app(argc, argv);
        stallmark::CommandLine commandLine;
        commandLine.Parse(QCoreApplication::arguments());
        if (commandLine.WantsHelp()) commandLine.ShowHelp();
        if (commandLine.WantsVersion()) commandLine.ShowVersion();
        return UsageError(nullptr, commandLine.ErrorText());
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
    QApplication::setWindowIcon(stallmark::AppIcon());
    std::unique_ptr<stallmark::Dialogs> dialogs;
    if (stallmark::NonInteractiveRun())
        dialogs = std::make_unique<stallmark::ConsoleDialogs>();
    else
        dialogs = std::make_unique<stallmark::QtDialogs>();
    stallmark::TEditLabel::setDefaultDialogs(dialogs.get());
    auto fail = [&dialogs](const QString& text, int code) {
        dialogs->ShowMessageBox(text, stallmark::MsgKind::Error, stallmark::mbOK);
        return code;
    };

    stallmark::CommandLine commandLine;
    if (!commandLine.Parse(QApplication::arguments())) {
#ifdef _WIN32
        return UsageError(dialogs.get(), commandLine.ErrorText());
#else
        return UsageError(nullptr, commandLine.ErrorText());
#endif
    }

    // The data folder: the one given, or the usual one.
    std::string folder;
    QString lockedFolder;
    if (!commandLine.DataFolder().isEmpty()) {
        const stallmark::PreparedFolder given = stallmark::PrepareDataFolder(commandLine.DataFolder());
        if (given.path.isEmpty()) return fail(given.error, kExitCannotStart);
        lockedFolder = given.path;
        folder = stallmark::PathBytes(given.path + u'/');
    } else {
        try {
            folder = stallmark::DefaultDataFolder(stallmark::ToBytes(QCoreApplication::applicationFilePath()));
        } catch (const std::exception& e) {
            return fail(QString::fromLocal8Bit(e.what()), kExitCannotStart);
        }
        lockedFolder = QFile::decodeName(QByteArray::fromStdString(folder));
    }

    // One window per data folder: a second start brings the first one forward instead.
    stallmark::SingleInstance instance(lockedFolder, stallmark::SingleInstance::DefaultLockFolder());
    switch (instance.Claim(kHandOverPatience)) {
        case stallmark::SingleInstance::Outcome::Primary: break;
        case stallmark::SingleInstance::Outcome::HandedOver: return 0;
        case stallmark::SingleInstance::Outcome::NotAnswering:
            return fail(
                u"Stallmark is already running with the data folder\n\r%1\n\rbut does not come to the "
                "front. Close it before starting Stallmark again on this folder."_s.arg(
                    QDir::toNativeSeparators(instance.Folder())),
                kExitNotAnswering);
        case stallmark::SingleInstance::Outcome::Failed:
            return fail(u"Cannot check whether Stallmark is already running with the data folder\n\r%1\n\r%2"_s.arg(
                            QDir::toNativeSeparators(instance.Folder()), instance.ErrorText()),
                        kExitCannotStart);
    }

    std::unique_ptr<stallmark::SettingsStore> settings;
    try {
        if (!commandLine.SettingsFile().isEmpty()) {
            const stallmark::PreparedFolder file = stallmark::PrepareSettingsFile(commandLine.SettingsFile());
            if (file.path.isEmpty()) return fail(file.error, kExitCannotStart);
            settings = std::make_unique<stallmark::IniFileSettings>(stallmark::PathBytes(file.path));
        } else {
            settings = stallmark::CreateDefaultSettings();
        }
    } catch (const std::exception& e) {
        // An unreadable settings store is reported and left alone: this run
        // keeps its settings in memory so the stored ones are never overwritten.
        dialogs->ShowMessageBox(QString::fromLocal8Bit(e.what()), stallmark::MsgKind::Error, stallmark::mbOK);
        settings = std::make_unique<stallmark::MemorySettings>();
    }

    // From here on a request to end waits for the window, which then closes at once.
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);

    stallmark::SystemClock clock;
    stallmark::QtPacer pacer;
    std::unique_ptr<stallmark::GameWindows> windows = stallmark::CreatePlatformGameWindows();
    stallmark::AppContext context{*dialogs, clock, *settings, folder, *windows, pacer};

    stallmark::TStallmarkForm form(context);
    if (!commandLine.DataFolder().isEmpty()) form.setWindowTitle(stallmark::WindowTitleFor(lockedFolder));
    QObject::connect(&instance, &stallmark::SingleInstance::raiseRequested, &form,
                     [&form] { stallmark::BringToFront(form); });
    form.show();
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
