#include "game/GameKeyboard.h"

#include "game/GameLink.h"

namespace stallmark {

namespace {

// Holds the flag for the length of one send, also when the send throws.
struct Hold {
    bool& flag;
    explicit Hold(bool& f) : flag(f) { flag = true; }
    ~Hold() { flag = false; }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
};

}  // namespace

TypingSession::~TypingSession() {
    if (keyboard_ != nullptr) keyboard_->busy_ = false;
}

void TypingSession::SendToGame(const std::string& text, bool sendEnter, int backspaces) {
    if (keyboard_ != nullptr) keyboard_->link_.SendToGame(text, sendEnter, backspaces);
}

void TypingSession::SendBackspaces(int count) {
    if (keyboard_ != nullptr) keyboard_->link_.SendBackspaces(count);
}

bool GameKeyboard::SendToGame(const std::string& text, bool sendEnter, int backspaces) {
    if (busy_) return false;
    Hold hold(busy_);
    link_.SendToGame(text, sendEnter, backspaces);
    return true;
}

bool GameKeyboard::SendBackspaces(int count) {
    if (busy_) return false;
    Hold hold(busy_);
    link_.SendBackspaces(count);
    return true;
}

std::optional<TypingSession> GameKeyboard::BeginTyping() {
    if (busy_) return std::nullopt;
    busy_ = true;
    return TypingSession(this);
}

}  // namespace stallmark
