#include "game/GameLink.h"

#include <climits>
#include <utility>

namespace stallmark {

namespace {

// Upper case of a Windows-1252 byte: ASCII, the Latin-1 letters and the
// three pairs of 0x80-0x9F (Š/š, Œ/œ, Ž/ž) plus ÿ/Ÿ.
unsigned char Upper1252(unsigned char c) {
    if (c >= 'a' && c <= 'z') return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<unsigned char>(c - 32);
    switch (c) {
        case 0x9A: return 0x8A;
        case 0x9C: return 0x8C;
        case 0x9E: return 0x8E;
        case 0xFF: return 0x9F;
        default: return c;
    }
}

bool EqualIgnoringCase(const char* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        if (Upper1252(static_cast<unsigned char>(a[i])) != Upper1252(static_cast<unsigned char>(b[i]))) return false;
    }
    return true;
}

// Blanks and control characters trimmed from both ends.
std::pair<std::size_t, std::size_t> TrimmedRange(const std::string& s) {
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && static_cast<unsigned char>(s[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(s[end - 1]) <= ' ') --end;
    return {begin, end};
}

// Calls FinishSend when a send ends, however it ends; what it raises is dropped
// (it runs while an error may be on its way out).
class FinishOnExit {
public:
    explicit FinishOnExit(GameWindows& windows) : windows_(windows) {}
    ~FinishOnExit() {
        try {
            windows_.FinishSend();
        } catch (...) {
        }
    }
    FinishOnExit(const FinishOnExit&) = delete;
    FinishOnExit& operator=(const FinishOnExit&) = delete;

private:
    GameWindows& windows_;
};

}  // namespace

GameLink::GameLink(GameWindows& windows, Pacer& pacer, GameLinkOptions options)
    : windows_(windows), pacer_(pacer), options_(std::move(options)) {}

int GameLink::CharDelayValue(const std::string& text) {
    const auto [begin, end] = TrimmedRange(text);
    std::size_t i = begin;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == end) return 0;
    long long value = 0;
    for (; i < end; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return 0;
        value = value * 10 + (c - '0');
        if (value > INT_MAX) return 0;  // not an integer the option could hold
    }
    if (negative || value == 0) return 0;
    return value > kMaxCharDelay ? kMaxCharDelay : static_cast<int>(value);
}

bool GameLink::TitleMatches(const std::string& windowTitle, const std::string& title, bool exact) {
    if (exact) {
        const auto [begin, end] = TrimmedRange(windowTitle);
        return end - begin == title.size() && EqualIgnoringCase(windowTitle.data() + begin, title.data(), title.size());
    }
    if (title.empty() || windowTitle.size() < title.size()) return false;
    return EqualIgnoringCase(windowTitle.data(), title.data(), title.size());
}

bool GameLink::MemoPlaying() const { return options_.memoPlaying && options_.memoPlaying(); }

WindowHandle GameLink::FindGameWindow(bool bringGameForward) {
    const bool memoPlaying = MemoPlaying();
    if (!bringGameForward) {
        if (!memoPlaying) windows_.BringProgramForward();
        return 0;
    }
    WindowHandle window = windows_.FindByClass(kGameClass);
    if (window == 0) window = windows_.FindByClass(kThirdDawnClass);
    if (window == 0) {
        const std::string name = options_.windowName ? options_.windowName() : std::string();
        // While a memo plays nothing may change the foreground, and restoring or
        // raising a window activates it: the lookup then only looks.
        window = SearchTitle(name, false, !memoPlaying);
    }
    if (window != 0 && !memoPlaying) windows_.SetForeground(window);
    return window;
}

WindowHandle GameLink::FindWindowByTitle(const std::string& title, bool exact) {
    return SearchTitle(title, exact, true);
}

WindowHandle GameLink::SearchTitle(const std::string& title, bool exact, bool showMatches) {
    if (!exact && title.empty()) return 0;
    WindowHandle found = 0;
    for (const WindowHandle window : windows_.TopLevelWindows()) {
        std::string windowTitle = windows_.Title(window);
        if (windowTitle.size() > kMaxTitle) windowTitle.resize(kMaxTitle);
        if (!TitleMatches(windowTitle, title, exact)) continue;
        found = window;  // the last match wins; the enumeration is never cut short
        if (!showMatches) continue;
        if (windows_.IsMinimised(window)) windows_.Restore(window);
        if (windows_.IsVisible(window) && !windows_.HasOwner(window) && !windows_.HasParent(window) &&
            !windows_.IsToolWindow(window)) {
            windows_.BringToTop(window);
        }
    }
    return found;
}

void GameLink::SendBackspaces(int count) {
    {
        FinishOnExit finish(windows_);
        const WindowHandle window = FindGameWindow(true);
        if (window != 0) {
            for (int i = 0; i < count; ++i) {
                windows_.PostChar(window, 8);
                pacer_.ProcessEvents();
            }
            Settle();
        }
    }
    FindGameWindow(false);
}

void GameLink::PostPaced(WindowHandle window, std::uint8_t code, int delay) {
    windows_.PostChar(window, code);
    pacer_.ProcessEvents();
    if (delay > 0) {
        windows_.Flush();  // the pause follows the character into the game
        pacer_.Sleep(delay);
    }
}

// Where the backend needs the game to take the keys before the send may end
// (typing backends), the program stays responsive meanwhile.
void GameLink::Settle() {
    windows_.Flush();
    for (int ms = windows_.SettleMs(); ms > 0; ms = windows_.SettleMs()) {
        pacer_.ProcessEvents();
        pacer_.Sleep(ms < kSettleSliceMs ? ms : kSettleSliceMs);
    }
}

void GameLink::SendToGame(const std::string& text, bool sendEnter, int backspaces) {
    bool completed = false;
    {
        FinishOnExit finish(windows_);
        try {
            const int delay = CharDelayValue(options_.charDelayText ? options_.charDelayText() : std::string());
            const WindowHandle window = FindGameWindow(true);
            if (window != 0) {
                if (backspaces > 0) {
                    // One more than asked for: a count of 20 posts 21.
                    for (long long i = 0; i <= backspaces; ++i) PostPaced(window, 8, delay);
                }
                if (!text.empty()) {
                    for (const char c : text) PostPaced(window, static_cast<std::uint8_t>(c), delay);
                    if (sendEnter) windows_.PostChar(window, 13);
                }
                Settle();
            }
            completed = true;
        } catch (...) {
            // Dropped without a message; the game window keeps the foreground.
        }
    }
    if (completed) FindGameWindow(false);
}

}  // namespace stallmark
