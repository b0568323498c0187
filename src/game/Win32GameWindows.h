#pragma once
// The game link on Windows (user32): window lookups, activation and WM_CHAR
// messages posted to the game window.

#include "game/GameWindows.h"

namespace stallmark {

class Win32GameWindows final : public GameWindows {
public:
    Win32GameWindows() = default;
    Win32GameWindows(const Win32GameWindows&) = delete;
    Win32GameWindows& operator=(const Win32GameWindows&) = delete;
    Win32GameWindows(Win32GameWindows&&) = delete;
    Win32GameWindows& operator=(Win32GameWindows&&) = delete;

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
    void SetProgramWindow(WindowHandle window) override { program_ = window; }

private:
    WindowHandle program_ = 0;
};

}  // namespace stallmark
