#include "game/PlatformGameWindows.h"

#if defined(_WIN32)
#include "game/Win32GameWindows.h"
#elif defined(STALLMARK_HAVE_X11)
#include "game/X11GameWindows.h"
#endif

namespace stallmark {

void LazyGameWindows::SetProgramWindow(WindowHandle window) {
    program_ = window;
    programSet_ = true;
    if (opened_) opened_->SetProgramWindow(window);
}

GameWindows& LazyGameWindows::Opened() {
    if (!opened_) {
        opened_ = open_ ? open_() : nullptr;
        if (!opened_) opened_ = std::make_unique<NullGameWindows>();
        if (programSet_) opened_->SetProgramWindow(program_);
    }
    return *opened_;
}

std::unique_ptr<GameWindows> OpenPlatformGameWindows() {
#if defined(_WIN32)
    return std::make_unique<Win32GameWindows>();
#else
#if defined(STALLMARK_HAVE_X11)
    if (std::unique_ptr<X11GameWindows> x11 = X11GameWindows::Open()) return x11;
#endif
    return std::make_unique<NullGameWindows>();
#endif
}

std::unique_ptr<GameWindows> CreatePlatformGameWindows() {
    return std::make_unique<LazyGameWindows>(OpenPlatformGameWindows);
}

}  // namespace stallmark
