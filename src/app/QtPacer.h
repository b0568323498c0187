#pragma once
// Waiting between keystrokes on the user-interface thread: pending events
// are processed so the window stays responsive, sleeps are plain sleeps.

#include "game/GameWindows.h"

namespace stallmark {

class QtPacer final : public Pacer {
public:
    void ProcessEvents() override;
    void Sleep(int milliseconds) override;
};

}  // namespace stallmark
