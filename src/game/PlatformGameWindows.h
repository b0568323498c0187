#pragma once
// The game link of the platform the program runs on.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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

// A backend opened when first used rather than when made: reaching the window
// system (on X11 a connection of the program's own) would otherwise hold up the
// program's start, for a link most starts use much later or never.
class LazyGameWindows final : public GameWindows {
public:
    using Opener = std::function<std::unique_ptr<GameWindows>()>;
    explicit LazyGameWindows(Opener open) : open_(std::move(open)) {}

    bool IsOpen() const { return opened_ != nullptr; }

    WindowHandle FindByClass(const std::string& windowClass) override { return Opened().FindByClass(windowClass); }
    std::vector<WindowHandle> TopLevelWindows() override { return Opened().TopLevelWindows(); }
    std::string Title(WindowHandle window) override { return Opened().Title(window); }
    bool IsVisible(WindowHandle window) override { return Opened().IsVisible(window); }
    bool HasOwner(WindowHandle window) override { return Opened().HasOwner(window); }
    bool HasParent(WindowHandle window) override { return Opened().HasParent(window); }
    bool IsToolWindow(WindowHandle window) override { return Opened().IsToolWindow(window); }
    bool IsMinimised(WindowHandle window) override { return Opened().IsMinimised(window); }
    void Restore(WindowHandle window) override { Opened().Restore(window); }
    void BringToTop(WindowHandle window) override { Opened().BringToTop(window); }
    void SetForeground(WindowHandle window) override { Opened().SetForeground(window); }
    void PostChar(WindowHandle window, std::uint8_t code) override { Opened().PostChar(window, code); }
    void BringProgramForward() override { Opened().BringProgramForward(); }
    // Kept until the backend opens, and passed on to it then.
    void SetProgramWindow(WindowHandle window) override;
    // Nothing is held back before the backend opens: nothing was posted.
    void Flush() override {
        if (opened_) opened_->Flush();
    }
    int SettleMs() override { return opened_ ? opened_->SettleMs() : 0; }
    void FinishSend() override {
        if (opened_) opened_->FinishSend();
    }

private:
    GameWindows& Opened();

    Opener open_;
    std::unique_ptr<GameWindows> opened_;
    WindowHandle program_ = 0;
    bool programSet_ = false;
};

// The platform's backend, opened now. Windows: user32. Linux: X11 when a display
// opens ($DISPLAY; Wayland sessions through XWayland). Otherwise NullGameWindows.
std::unique_ptr<GameWindows> OpenPlatformGameWindows();

// The same, opened at its first use (LazyGameWindows).
std::unique_ptr<GameWindows> CreatePlatformGameWindows();

}  // namespace stallmark
