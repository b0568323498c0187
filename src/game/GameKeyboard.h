#pragma once
// One typist at a time. A send types character by character and processes the
// program's events between characters, so a click, a short cut or a timer tick can
// start another send in the middle of one. Every send goes through here: a single
// send holds the keyboard for its own length, and a run of sends (a listing, a memo,
// one playback item) holds it with a TypingSession from its first key to its last.
// While the keyboard is held, any other send is refused: nothing of it is typed.

#include <optional>
#include <string>

namespace stallmark {

class GameLink;
class GameKeyboard;

class TypingSession {
public:
    TypingSession(TypingSession&& other) noexcept : keyboard_(other.keyboard_) { other.keyboard_ = nullptr; }
    TypingSession& operator=(TypingSession&&) = delete;
    TypingSession(const TypingSession&) = delete;
    TypingSession& operator=(const TypingSession&) = delete;
    ~TypingSession();

    // As GameLink's, typed while this session holds the keyboard.
    void SendToGame(const std::string& text, bool sendEnter, int backspaces);
    void SendBackspaces(int count);

private:
    friend class GameKeyboard;
    explicit TypingSession(GameKeyboard* keyboard) : keyboard_(keyboard) {}
    GameKeyboard* keyboard_;
};

class GameKeyboard final {
public:
    explicit GameKeyboard(GameLink& link) : link_(link) {}
    GameKeyboard(const GameKeyboard&) = delete;
    GameKeyboard& operator=(const GameKeyboard&) = delete;

    // One whole send; false (nothing typed) while the keyboard is held.
    bool SendToGame(const std::string& text, bool sendEnter, int backspaces);
    bool SendBackspaces(int count);
    // Holds the keyboard for a run of sends; nothing while it is held already.
    std::optional<TypingSession> BeginTyping();
    bool Busy() const { return busy_; }
    GameLink& Link() { return link_; }

private:
    friend class TypingSession;
    GameLink& link_;
    bool busy_ = false;
};

}  // namespace stallmark
