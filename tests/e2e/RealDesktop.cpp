#include "e2e/RealInput.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <QWindow>
#include <string>

#include "controls/StringGrid.h"

// Xlib after Qt: its macros (Bool, Status, KeyRelease ...) clash with Qt's names.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

namespace stallmark::e2e {

namespace {

RealDesktop* g_desktop = nullptr;

}  // namespace

bool RealDesktop::Start(std::string& error) {
    if (g_desktop) return true;
    auto* desktop = new RealDesktop;
    desktop->session_ = std::make_unique<testing::X11Session>(true);
    if (!desktop->session_->Ok()) {
        error = desktop->session_->Error();
        delete desktop;
        return false;
    }
    desktop->display_ = XOpenDisplay(desktop->session_->DisplayName().c_str());
    int event = 0, errorBase = 0, major = 0, minor = 0;
    if (!desktop->display_ || !XTestQueryExtension(desktop->display_, &event, &errorBase, &major, &minor)) {
        error = "the X server offers no XTEST extension";
        if (desktop->display_) XCloseDisplay(desktop->display_);
        delete desktop;
        return false;
    }
    detail::InstallWarningCollector();
    g_desktop = desktop;
    return true;
}

RealDesktop& RealDesktop::Get() { return *g_desktop; }

void RealDesktop::Stop() {
    if (!g_desktop) return;
    if (g_desktop->display_) XCloseDisplay(g_desktop->display_);
    delete g_desktop;
    g_desktop = nullptr;
}

bool RealDesktop::WaitActive(QWidget* window) {
    return WaitFor([&] { return window->isVisible() && window->isActiveWindow(); });
}

bool RealDesktop::ShowAndActivate(QWidget* window) {
    detail::Releases();  // counting from now on
    window->show();
    window->raise();
    window->activateWindow();
    return WaitFor([&] {
        QWindow* handle = window->windowHandle();
        return handle && handle->isExposed() && window->isActiveWindow();
    });
}

bool RealDesktop::WaitReleases(long target, const char* what) {
    if (WaitFor([&] { return detail::Releases() >= target; })) return true;
    ADD_FAILURE() << "the " << what << " never reached the program (" << detail::Releases() << " of " << target
                  << " releases seen)";
    return false;
}

std::string RealDesktop::FocusReport() {
    auto describe = [](const QWidget* w) {
        if (!w) return std::string("none");
        const QString name =
            w->objectName().isEmpty() ? QString::fromLatin1(w->metaObject()->className()) : w->objectName();
        return name.toStdString() + " \"" + w->window()->windowTitle().toStdString() + "\"";
    };
    std::string report;
    if (g_desktop) {
        Window focus = 0;
        int revert = 0;
        XGetInputFocus(g_desktop->display_, &focus, &revert);
        report = "the X server's keyboard focus: " + g_desktop->WindowName(focus) + "; ";
    }
    return report + "the program's active window: " + describe(QApplication::activeWindow()) +
           "; its modal window: " + describe(QApplication::activeModalWidget()) +
           "; its popup: " + describe(QApplication::activePopupWidget()) +
           "; its focus widget: " + describe(QApplication::focusWidget());
}

std::string RealDesktop::WindowName(unsigned long window) {
    if (window == 0) return "none";
    if (window == PointerRoot) return "the root window (pointer root)";
    std::string name = "window " + std::to_string(window);
    // The title is on the client window: the focus window itself or one of its parents.
    Window current = static_cast<Window>(window);
    for (int depth = 0; depth < 8 && current != 0; ++depth) {
        char* title = nullptr;
        if (XFetchName(display_, current, &title) && title) {
            name += " \"" + std::string(title) + "\"";
            XFree(title);
            return name;
        }
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display_, current, &root, &parent, &children, &count)) break;
        if (children) XFree(children);
        if (parent == root) break;
        current = parent;
    }
    return name;
}

bool RealDesktop::Key(unsigned long keysym, unsigned modifiers, bool wait) {
    detail::Releases();  // counting from now on
    KeyCode code = XKeysymToKeycode(display_, keysym);
    if (code == 0) return false;
    if (XkbKeycodeToKeysym(display_, code, 0, 0) != keysym && XkbKeycodeToKeysym(display_, code, 0, 1) == keysym)
        modifiers |= kShift;
    std::vector<KeyCode> held;
    if (modifiers & kControl) held.push_back(XKeysymToKeycode(display_, XK_Control_L));
    if (modifiers & kAlt) held.push_back(XKeysymToKeycode(display_, XK_Alt_L));
    if (modifiers & kShift) held.push_back(XKeysymToKeycode(display_, XK_Shift_L));
    // Qt sees the modifier keys' releases too.
    const long target = detail::Releases() + static_cast<long>(held.size()) + 1;
    for (KeyCode m : held) XTestFakeKeyEvent(display_, m, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    for (auto m = held.rbegin(); m != held.rend(); ++m) XTestFakeKeyEvent(display_, *m, False, CurrentTime);
    XSync(display_, False);
    return !wait || WaitReleases(target, "key");
}

bool RealDesktop::Type(const QString& text) {
    for (const QChar ch : text) {
        unsigned long keysym = ch.unicode();
        if (ch == QLatin1Char('\t')) keysym = XK_Tab;
        if (ch == QLatin1Char('\n')) keysym = XK_Return;
        if (ch == QLatin1Char(' ')) keysym = XK_space;
        if (!Key(keysym)) return false;
    }
    return true;
}

bool RealDesktop::Button(QWidget* widget, QPoint at, unsigned button, int clicks) {
    detail::Releases();  // counting from now on
    if (!widget || !widget->isVisible()) {
        ADD_FAILURE() << "nothing to click: "
                      << (widget ? widget->objectName().toStdString() + " is hidden" : "no widget");
        return false;
    }
    if (at == QPoint(-1, -1)) at = widget->rect().center();
    const QPoint global = widget->mapToGlobal(at);
    // The point must show this widget's window: a window just closed may
    // still cover it until the window manager has taken its frame away.
    const Window target = FrameWindow(widget);
    if (!WaitFor([&] { return TopWindowAt(global) == target; })) {
        ADD_FAILURE() << "the point to click shows " << WindowName(TopWindowAt(global)) << ", not the window of "
                      << widget->objectName().toStdString() << " (" << WindowName(target) << ")";
        return false;
    }
    XTestFakeMotionEvent(display_, -1, global.x(), global.y(), CurrentTime);
    XSync(display_, False);
    for (int i = 0; i < clicks; ++i) {
        const long target = detail::Releases() + 1;
        XTestFakeButtonEvent(display_, button, True, CurrentTime);
        XTestFakeButtonEvent(display_, button, False, CurrentTime);
        XSync(display_, False);
        if (!WaitReleases(target, "click")) return false;
    }
    return true;
}

bool RealDesktop::Click(QWidget* widget, QPoint at) { return Button(widget, at, 1, 1); }

bool RealDesktop::DoubleClick(QWidget* widget, QPoint at) { return Button(widget, at, 1, 2); }

bool RealDesktop::RightClick(QWidget* widget, QPoint at) { return Button(widget, at, 3, 1); }

bool RealDesktop::ClickCell(TStringGrid* grid, int col, int row) {
    const QRect cell = grid->CellRect(col, row);
    if (cell.isEmpty()) return false;
    return Click(grid, cell.center());
}

bool RealDesktop::DoubleClickCell(TStringGrid* grid, int col, int row) {
    const QRect cell = grid->CellRect(col, row);
    if (cell.isEmpty()) return false;
    return DoubleClick(grid, cell.center());
}

unsigned long RealDesktop::FrameWindow(QWidget* window) {
    Window current = static_cast<Window>(window->window()->winId());
    for (;;) {
        Window root = 0, parent = 0;
        Window* children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display_, current, &root, &parent, &children, &count)) return 0;
        if (children) XFree(children);
        if (parent == root || parent == 0) return current;
        current = parent;
    }
}

unsigned long RealDesktop::TopWindowAt(QPoint global) {
    Window child = 0;
    int x = 0, y = 0;
    const Window root = DefaultRootWindow(display_);
    if (!XTranslateCoordinates(display_, root, root, global.x(), global.y(), &x, &y, &child)) return 0;
    return child;
}

QRect RealDesktop::FrameGeometry(QWidget* window) {
    const Window frame = FrameWindow(window);
    Window root = 0;
    int x = 0, y = 0;
    unsigned width = 0, height = 0, border = 0, depth = 0;
    if (!frame || !XGetGeometry(display_, frame, &root, &x, &y, &width, &height, &border, &depth)) return QRect();
    return QRect(x, y, static_cast<int>(width), static_cast<int>(height));
}

bool RealDesktop::IsAbove(QWidget* upper, QWidget* lower) {
    const Window up = FrameWindow(upper), down = FrameWindow(lower);
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display_, DefaultRootWindow(display_), &root, &parent, &children, &count)) return false;
    int upAt = -1, downAt = -1;  // bottom first
    for (unsigned i = 0; i < count; ++i) {
        if (children[i] == up) upAt = static_cast<int>(i);
        if (children[i] == down) downAt = static_cast<int>(i);
    }
    if (children) XFree(children);
    return upAt >= 0 && downAt >= 0 && upAt > downAt;
}

QStringList RealDesktop::AllowedActions(QWidget* window) {
    const Atom allowed = XInternAtom(display_, "_NET_WM_ALLOWED_ACTIONS", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0, after = 0;
    unsigned char* data = nullptr;
    QStringList out;
    if (XGetWindowProperty(display_, static_cast<Window>(window->window()->winId()), allowed, 0, 64, False, XA_ATOM,
                           &type, &format, &count, &after, &data) == Success &&
        data && format == 32) {
        const auto* atoms = reinterpret_cast<const Atom*>(data);
        for (unsigned long i = 0; i < count; ++i) {
            char* name = XGetAtomName(display_, atoms[i]);
            if (!name) continue;
            out << QString::fromLatin1(name).remove(QStringLiteral("_NET_WM_ACTION_"));
            XFree(name);
        }
    }
    if (data) XFree(data);
    return out;
}

QStringList RealDesktop::TakeWarnings() { return detail::TakeWarnings(); }

}  // namespace stallmark::e2e
