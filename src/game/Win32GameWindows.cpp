#include "game/Win32GameWindows.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace stallmark {

namespace {

HWND H(WindowHandle window) { return reinterpret_cast<HWND>(window); }

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<WindowHandle>*>(list)->push_back(reinterpret_cast<WindowHandle>(window));
    return TRUE;
}

}  // namespace

WindowHandle Win32GameWindows::FindByClass(const std::string& windowClass) {
    return reinterpret_cast<WindowHandle>(FindWindowA(windowClass.c_str(), nullptr));
}

std::vector<WindowHandle> Win32GameWindows::TopLevelWindows() {
    std::vector<WindowHandle> windows;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::string Win32GameWindows::Title(WindowHandle window) {
    char buffer[261] = {};
    const int length = GetWindowTextA(H(window), buffer, static_cast<int>(sizeof buffer));
    return std::string(buffer, length > 0 ? static_cast<std::size_t>(length) : 0);
}

bool Win32GameWindows::IsVisible(WindowHandle window) { return IsWindowVisible(H(window)) != FALSE; }

bool Win32GameWindows::HasOwner(WindowHandle window) { return GetWindow(H(window), GW_OWNER) != nullptr; }

bool Win32GameWindows::HasParent(WindowHandle window) { return GetParent(H(window)) != nullptr; }

bool Win32GameWindows::IsToolWindow(WindowHandle window) {
    return (GetWindowLongA(H(window), GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0;
}

bool Win32GameWindows::IsMinimised(WindowHandle window) { return IsIconic(H(window)) != FALSE; }

void Win32GameWindows::Restore(WindowHandle window) { ShowWindow(H(window), SW_RESTORE); }

void Win32GameWindows::BringToTop(WindowHandle window) { BringWindowToTop(H(window)); }

void Win32GameWindows::SetForeground(WindowHandle window) { SetForegroundWindow(H(window)); }

void Win32GameWindows::PostChar(WindowHandle window, std::uint8_t code) {
    PostMessageA(H(window), WM_CHAR, static_cast<WPARAM>(code), 0);
}

void Win32GameWindows::BringProgramForward() {
    if (program_ == 0) return;
    HWND program = H(program_);
    if (IsIconic(program)) ShowWindow(program, SW_RESTORE);
    SetForegroundWindow(program);
}

}  // namespace stallmark
