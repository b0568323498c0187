#pragma once
// A main window on a temporary data folder, memory settings, a fixed clock,
// scripted dialogs and game windows that record what they are sent.

#include <memory>

#include "app/AppContext.h"
#include "app/StallmarkForm.h"
#include "game/FakeGameWindows.h"
#include "settings/MemorySettings.h"
#include "store/Clock.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace stallmark::test {

struct AppFixture {
    TempDir dir;
    MemorySettings settings;
    FixedClock clock{EncodeDateTime(2026, 12, 8, 10, 30, 0)};
    ScriptedDialogs dialogs;
    FakeGameWindows windows;
    CountingPacer pacer{&windows};

    AppContext Context() { return AppContext{dialogs, clock, settings, dir.Folder(), windows, pacer}; }
    std::unique_ptr<TStallmarkForm> Start() { return std::make_unique<TStallmarkForm>(Context()); }
    // Starts the window and shows it, as the program entry does.
    std::unique_ptr<TStallmarkForm> StartShown() {
        auto form = Start();
        form->show();
        return form;
    }
};

template <typename T>
T* Find(QWidget* root, const char* name) {
    return root->findChild<T*>(QString::fromLatin1(name));
}

}  // namespace stallmark::test
