#pragma once
// The keystroke sender: finds the game client's window, brings it forward and
// posts text into it one character at a time, then brings the program back.
// Every list's Send ends here. The algorithm is written once, over the
// GameWindows primitives of the platform and a Pacer for the waits.

#include <functional>
#include <string>

#include "game/GameWindows.h"

namespace stallmark {

// Where the sender reads the options. Each function is called at the moment
// its value is needed, never cached; an empty function reads as an empty
// text (or false).
struct GameLinkOptions {
    std::function<std::string()> windowName;     // "Window Name": title prefix of the game window (bytes)
    std::function<std::string()> charDelayText;  // "CharDelay": pause after each character, in ms
    std::function<bool()> memoPlaying;           // memo playback runs: leave the foreground alone
};

class GameLink {
public:
    // Window classes of the game client, tried in this order before the title.
    static constexpr const char* kGameClass = "Ultima Online";
    static constexpr const char* kThirdDawnClass = "Ultima Online Third Dawn";
    // Titles are read and compared up to this many characters.
    static constexpr std::size_t kMaxTitle = 260;
    // The "CharDelay" box takes two digits; larger stored values are held to this.
    static constexpr int kMaxCharDelay = 99;
    // The longest pause while the backend waits for the game to take its keys.
    static constexpr int kSettleSliceMs = 10;

    GameLink(GameWindows& windows, Pacer& pacer, GameLinkOptions options);

    // With bringGameForward: the game window (by class, then the other class,
    // then by the "Window Name" title prefix), made the foreground window unless
    // memo playback runs; 0 when none. While memo playback runs the title lookup
    // also leaves the windows it matches as they are (restoring or raising one
    // would activate it). Without bringGameForward: brings the program forward
    // (unless memo playback runs) and returns 0.
    WindowHandle FindGameWindow(bool bringGameForward);

    // The last top-level window, in the system's order, whose title begins with
    // (exact = false) or, trimmed, equals (exact = true) the given title, ignoring
    // case; 0 when none. Every match is restored when minimised and raised when it
    // is a plain visible top-level window. An empty title never matches with
    // exact = false.
    WindowHandle FindWindowByTitle(const std::string& title, bool exact);

    // Exactly count backspaces into the game window, no pauses.
    void SendBackspaces(int count);

    // backspaces + 1 backspaces (when backspaces > 0), then every byte of text,
    // then Enter when sendEnter and the text is not empty; "CharDelay" ms after
    // each backspace and character. Errors are dropped silently, and the program
    // then stays behind the game.
    void SendToGame(const std::string& text, bool sendEnter, int backspaces);

    // The integer value of a "CharDelay" text: 0 when it is not an integer or
    // negative, at most kMaxCharDelay.
    static int CharDelayValue(const std::string& text);

    // Title comparison, ignoring case in Windows-1252.
    static bool TitleMatches(const std::string& windowTitle, const std::string& title, bool exact);

private:
    WindowHandle SearchTitle(const std::string& title, bool exact, bool showMatches);
    void PostPaced(WindowHandle window, std::uint8_t code, int delay);
    void Settle();
    bool MemoPlaying() const;

    GameWindows& windows_;
    Pacer& pacer_;
    GameLinkOptions options_;
};

}  // namespace stallmark
