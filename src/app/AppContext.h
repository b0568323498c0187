#pragma once
// Everything the main window is given from outside: the seams that tests
// replace (boxes, clock, settings, data folder, game windows, pacing).

#include <string>

namespace stallmark {

class Dialogs;
class Clock;
class SettingsStore;
class GameWindows;
class Pacer;

struct AppContext {
    Dialogs& dialogs;
    Clock& clock;
    SettingsStore& settings;
    std::string dataFolder;  // ends with a separator
    GameWindows& gameWindows;
    Pacer& pacer;
};

}  // namespace stallmark
