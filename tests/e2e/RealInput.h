#pragma once
// Real input for the real window: a private Xvfb with openbox, the program's
// widgets shown on Qt's xcb platform, and keys and clicks sent through the X
// server with XTest, as a player's keyboard and mouse would send them.
//
// One desktop per test process (RealDesktop::Get(), started by the test
// main). Every key or click waits until Qt has taken it in: the X server
// carries it to the window that has the X input focus (or under the
// pointer), and Qt's window receives its release. So a test types one key
// after the other as a player does, and what follows sees its effect. Waits
// are on conditions with deadlines; nothing sleeps for a fixed time.

#include <QPoint>
#include <QRect>
#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

#include "game/X11Session.h"

class QWidget;
class QDialog;
struct _XDisplay;

namespace stallmark {

class TStringGrid;

namespace e2e {

using namespace std::chrono_literals;

constexpr std::chrono::milliseconds kDeadline = 10s;

// Processes Qt's events until check() holds or the deadline passes; returns
// whether it held.
bool WaitFor(const std::function<bool()>& check, std::chrono::milliseconds deadline = kDeadline);

enum Modifier : unsigned { kNoModifier = 0, kShift = 1, kControl = 2, kAlt = 4 };

class RealDesktop {
public:
    // Starts Xvfb and openbox and opens the typing connection; false with
    // the reason in error when any of it fails.
    static bool Start(std::string& error);
    static RealDesktop& Get();
    static void Stop();

    const std::string& DisplayName() const { return session_->DisplayName(); }
    testing::X11Session& Session() { return *session_; }

    // Shows a top-level widget and waits until the window manager has it on
    // screen and it holds the focus.
    bool ShowAndActivate(QWidget* window);
    // Waits until this top-level window holds the focus.
    bool WaitActive(QWidget* window);

    // One key with modifiers (an X keysym: 'a', XK_Tab, XK_F2 ...). Waits
    // until Qt has received it unless wait is false (for a key that closes
    // the window that would receive its release).
    bool Key(unsigned long keysym, unsigned modifiers = kNoModifier, bool wait = true);
    // Each character of text as its key (ASCII; capitals and symbols with Shift).
    bool Type(const QString& text);

    // A left click at the point (the widget's centre by default) of a widget
    // on screen; the point is mapped to the screen from the widget's geometry.
    bool Click(QWidget* widget, QPoint at = QPoint(-1, -1));
    bool DoubleClick(QWidget* widget, QPoint at = QPoint(-1, -1));
    bool RightClick(QWidget* widget, QPoint at = QPoint(-1, -1));
    // Clicks at the centre of a grid cell (scrolled into view first is the
    // caller's business: a cell not shown fails).
    bool ClickCell(TStringGrid* grid, int col, int row);
    bool DoubleClickCell(TStringGrid* grid, int col, int row);

    // Where the X server sends the keyboard, and which of the program's windows and
    // widgets hold the focus: said by every wait that runs out.
    static std::string FocusReport();

    // What the X server says about a top-level window of ours.
    unsigned long FrameWindow(QWidget* window);
    unsigned long TopWindowAt(QPoint global);     // the top-level (frame) window shown there
    QRect FrameGeometry(QWidget* window);         // the window manager's frame, on screen
    QStringList AllowedActions(QWidget* window);  // _NET_WM_ALLOWED_ACTIONS, short names
    // Whether window `upper` is stacked above window `lower`.
    bool IsAbove(QWidget* upper, QWidget* lower);

    // Qt warnings seen since the last call (the message handler collects them).
    static QStringList TakeWarnings();

private:
    RealDesktop() = default;
    bool Button(QWidget* widget, QPoint at, unsigned button, int clicks);
    // Waits until Qt has seen `target` releases; when it does not, the test is told so.
    bool WaitReleases(long target, const char* what);
    std::string WindowName(unsigned long window);

    std::unique_ptr<testing::X11Session> session_;
    _XDisplay* display_ = nullptr;
};

namespace detail {
long Releases();  // key and button releases Qt's windows have received
void InstallWarningCollector();
QStringList TakeWarnings();
}  // namespace detail

// Runs the script as soon as the next modal window is up and holds the
// focus, from inside that window's own event loop (the program's exec()),
// then closes the window if the script left it open. A modal window that
// does not come up within the deadline is reported as a test failure.
void WhenModalShown(std::function<void(QWidget* modal)> script);

}  // namespace e2e
}  // namespace stallmark
