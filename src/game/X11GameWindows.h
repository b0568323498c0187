#pragma once
// The game link on X11 (Linux; Wayland sessions through XWayland). Windows are
// the clients that a window manager manages (found below their frames) or,
// without one, the top-level windows that name a class; typing goes through
// XTest into the game window while it holds the input focus.

#include <memory>
#include <string>

#include "game/GameWindows.h"

namespace stallmark {

class X11GameWindows final : public GameWindows {
public:
    // Opens a connection of its own to the display (empty: $DISPLAY); null when
    // the display cannot be opened.
    static std::unique_ptr<X11GameWindows> Open(const std::string& displayName = std::string());
    ~X11GameWindows() override;
    X11GameWindows(const X11GameWindows&) = delete;
    X11GameWindows& operator=(const X11GameWindows&) = delete;
    X11GameWindows(X11GameWindows&&) = delete;
    X11GameWindows& operator=(X11GameWindows&&) = delete;

    WindowHandle FindByClass(const std::string& windowClass) override;
    std::vector<WindowHandle> TopLevelWindows() override;
    std::string Title(WindowHandle window) override;
    bool IsVisible(WindowHandle window) override;
    bool HasOwner(WindowHandle window) override;
    bool HasParent(WindowHandle window) override;
    bool IsToolWindow(WindowHandle window) override;
    bool IsMinimised(WindowHandle window) override;
    void Restore(WindowHandle window) override;
    void BringToTop(WindowHandle window) override;
    void SetForeground(WindowHandle window) override;
    void PostChar(WindowHandle window, std::uint8_t code) override;
    void BringProgramForward() override;
    void SetProgramWindow(WindowHandle window) override;
    void Flush() override;
    int SettleMs() override;
    void FinishSend() override;

    // Whether keystrokes can be typed at all (the XTEST extension is there).
    bool CanType() const;

private:
    struct Impl;
    explicit X11GameWindows(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace stallmark
