#pragma once
// The platform primitives the keystroke sender needs. The sender's algorithm
// lives once in GameLink; each platform supplies one GameWindows backend.

#include <cstdint>
#include <string>
#include <vector>

namespace stallmark {

using WindowHandle = std::uintptr_t;  // 0: no window

class GameWindows {
public:
    virtual ~GameWindows() = default;

    // A top-level window of this window class, 0 when none.
    virtual WindowHandle FindByClass(const std::string& windowClass) = 0;
    // Every top-level window in the system's order, topmost first.
    virtual std::vector<WindowHandle> TopLevelWindows() = 0;
    // Title bytes (Windows-1252), at most 260 characters.
    virtual std::string Title(WindowHandle window) = 0;
    virtual bool IsVisible(WindowHandle window) = 0;
    virtual bool HasOwner(WindowHandle window) = 0;
    virtual bool HasParent(WindowHandle window) = 0;
    virtual bool IsToolWindow(WindowHandle window) = 0;
    virtual bool IsMinimised(WindowHandle window) = 0;

    virtual void Restore(WindowHandle window) = 0;
    virtual void BringToTop(WindowHandle window) = 0;
    virtual void SetForeground(WindowHandle window) = 0;
    // Posts one character message (WM_CHAR with this 8-bit code). A window
    // that has gone away takes nothing, silently.
    virtual void PostChar(WindowHandle window, std::uint8_t code) = 0;
    // Brings the program's own window back to the front.
    virtual void BringProgramForward() = 0;

    // The program's own top-level window, the one BringProgramForward raises.
    virtual void SetProgramWindow(WindowHandle /*window*/) {}

    // Backends that post messages deliver each character in PostChar and do
    // nothing here. A backend that types (X11) may hold posted characters back:
    // Flush delivers everything posted so far, in order, before it returns
    // (the sender calls it before each pause), and FinishSend is called once at
    // the end of every send, also when the send failed: it delivers the rest,
    // waits until the game has taken them and undoes whatever typing needed
    // (keyboard map entries, a focus it borrowed).
    // SettleMs, asked after the last Flush of a send, is how much longer the
    // game needs to take the keys delivered (0: nothing to wait for); the
    // sender keeps processing events while it waits, in short pauses.
    virtual void Flush() {}
    virtual int SettleMs() { return 0; }
    virtual void FinishSend() {}
};

// Waiting between keystrokes: processing pending events and sleeping.
class Pacer {
public:
    virtual ~Pacer() = default;
    virtual void ProcessEvents() = 0;
    virtual void Sleep(int milliseconds) = 0;
};

}  // namespace stallmark
