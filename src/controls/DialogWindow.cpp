#include "controls/DialogWindow.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QWidget>
#include <string>

#ifdef STALLMARK_DIALOG_X11
// Xlib after Qt: its macros clash with Qt's names.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace stallmark {

namespace {

#ifdef STALLMARK_DIALOG_X11

// The name the running window manager gives itself (_NET_SUPPORTING_WM_CHECK).
std::string WindowManagerName(Display* display) {
    const Window root = DefaultRootWindow(display);
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    const Atom wmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    Window wm = 0;
    if (XGetWindowProperty(display, root, check, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) ==
            Success &&
        data && count == 1 && format == 32)
        wm = *reinterpret_cast<Window*>(data);
    if (data) XFree(data);
    if (wm == 0) return {};
    std::string name;
    data = nullptr;
    if (XGetWindowProperty(display, wm, wmName, 0, 64, False, utf8, &type, &format, &count, &after, &data) == Success &&
        data && format == 8)
        name.assign(reinterpret_cast<const char*>(data), count);
    if (data) XFree(data);
    return name;
}

// Openbox ignores the Motif hints by which a window asks for no minimise and
// no maximise buttons (it keeps them on every dialog). The one thing it goes
// by is the window's type: a toolbar gets a title bar with a close box only,
// and the keyboard focus like any window. So under Openbox the dialogs say
// they are toolbars; every other window manager keeps their dialog type and
// follows the hints.
void TellWindowManager(QWidget& dialog) {
    auto* x11 = qApp ? qApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    if (!display) return;
    if (WindowManagerName(display) != "Openbox") return;
    const Window window = static_cast<Window>(dialog.winId());
    const Atom windowType = XInternAtom(display, "_NET_WM_WINDOW_TYPE", False);
    const Atom toolbar = XInternAtom(display, "_NET_WM_WINDOW_TYPE_TOOLBAR", False);
    XChangeProperty(display, window, windowType, XA_ATOM, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(&toolbar), 1);
    XSync(display, False);
}

#else

void TellWindowManager(QWidget&) {}

#endif

}  // namespace

int TitleRoom(const QString& title, const QFont& font) {
    QFont bold = font;
    bold.setBold(true);
    const QFontMetrics fm(bold);
    // Icon and close box, each about as wide as the title bar is high, and the
    // margins around and between them.
    return fm.horizontalAdvance(title) + 4 * fm.height() + 24;
}

void PrepareDialogWindow(QWidget& dialog, QWidget* owner) {
    if (!owner && dialog.parentWidget()) owner = dialog.parentWidget()->window();
    Qt::WindowFlags flags = dialog.windowFlags();
    const Qt::WindowFlags was = flags;
    // Spelt out, the buttons are what the flags say and no more.
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    flags &= ~(Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint | Qt::WindowContextHelpButtonHint |
               Qt::WindowFullscreenButtonHint);
    // A dialog of a window that stays on top would open behind it.
    if (owner && (owner->windowFlags() & Qt::WindowStaysOnTopHint)) flags |= Qt::WindowStaysOnTopHint;
    if (flags != was && !dialog.isVisible()) dialog.setWindowFlags(flags);

    const int room = TitleRoom(dialog.windowTitle(), QApplication::font());
    if (dialog.maximumWidth() < room) dialog.setMaximumWidth(room);
    if (dialog.minimumWidth() < room) dialog.setMinimumWidth(room);
    if (dialog.width() < room) dialog.resize(room, dialog.height());

    if (QGuiApplication::platformName() == QLatin1String("xcb") && !dialog.isVisible()) TellWindowManager(dialog);
}

}  // namespace stallmark
