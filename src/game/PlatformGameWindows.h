#pragma once
// The game link of the platform the program runs on.

#include <memory>

#include "game/GameWindows.h"

namespace stallmark {

// A desktop without game windows: every lookup finds nothing, so every send
// posts nothing and simply ends. Used where no window system can be reached.
class NullGameWindows : public GameWindows {
public:
    WindowHandle FindByClass(const std::string&) override { return 0; }
    std::vector<WindowHandle> TopLevelWindows() override { return {}; }
    std::string Title(WindowHandle) override { return {}; }
    bool IsVisible(WindowHandle) override { return false; }
    bool HasOwner(WindowHandle) override { return false; }
    bool HasParent(WindowHandle) override { return false; }
    bool IsToolWindow(WindowHandle) override { return false; }
    bool IsMinimised(WindowHandle) override { return false; }
    void Restore(WindowHandle) override {}
    void BringToTop(WindowHandle) override {}
    void SetForeground(WindowHandle) override {}
    void PostChar(WindowHandle, std::uint8_t) override {}
    void BringProgramForward() override {}
};

// Windows: user32. Linux: X11 when a display opens ($DISPLAY; Wayland sessions
// through XWayland). Otherwise NullGameWindows.
std::unique_ptr<GameWindows> CreatePlatformGameWindows();

}  // namespace stallmark
