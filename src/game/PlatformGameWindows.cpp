#include "game/PlatformGameWindows.h"

#if defined(_WIN32)
#include "game/Win32GameWindows.h"
#elif defined(STALLMARK_HAVE_X11)
#include "game/X11GameWindows.h"
#endif

namespace stallmark {

std::unique_ptr<GameWindows> CreatePlatformGameWindows() {
#if defined(_WIN32)
    return std::make_unique<Win32GameWindows>();
#else
#if defined(STALLMARK_HAVE_X11)
    if (std::unique_ptr<X11GameWindows> x11 = X11GameWindows::Open()) return x11;
#endif
    return std::make_unique<NullGameWindows>();
#endif
}

}  // namespace stallmark
