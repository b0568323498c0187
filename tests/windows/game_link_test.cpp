// The game link's Windows backend (run under Wine): the sender finds windows
// this program creates, by class, by the second class and by title prefix, in
// that order, restores a minimised one, and posts exactly the expected WM_CHAR
// codes, which each window's procedure records as its message loop takes them.
//
// Wine's null display driver (the fixture's prefix) is enough: user32 creates
// and enumerates windows, tracks minimised state and the foreground window and
// queues posted messages without any X display.

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "game/GameLink.h"
#include "game/PlatformGameWindows.h"
#include "game/Win32GameWindows.h"
#include "windows/WineCheck.h"

using namespace stallmark;

namespace {

std::map<HWND, std::string>& Received() {
    static std::map<HWND, std::string> received;
    return received;
}

LRESULT CALLBACK RecordChars(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CHAR) {
        Received()[window].push_back(static_cast<char>(wParam & 0xFF));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Register(const char* className) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = RecordChars;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
}

HWND Create(const char* className, const char* title, int show = SW_SHOWNORMAL) {
    HWND window = CreateWindowExA(0, className, title, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window, show);
    return window;
}

void Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

// Processes this program's messages (so every posted character is taken by
// its window procedure) and counts what the sender asks for.
class PumpingPacer : public Pacer {
public:
    void ProcessEvents() override {
        ++events;
        Pump();
    }
    void Sleep(int milliseconds) override {
        sleeps.push_back(milliseconds);
        ::Sleep(static_cast<DWORD>(milliseconds));
    }
    int events = 0;
    std::vector<int> sleeps;
};

struct Desk {
    Win32GameWindows windows;
    PumpingPacer pacer;
    std::string windowName = "Ultima Online -";
    std::string charDelay = "0";
    bool memoPlaying = false;
    GameLink link{
        windows, pacer,
        GameLinkOptions{[this] { return windowName; }, [this] { return charDelay; }, [this] { return memoPlaying; }}};

    void Send(const std::string& text, bool enter, int backspaces) {
        Received().clear();
        link.SendToGame(text, enter, backspaces);
        Pump();  // the characters after the last processing, and Enter
    }
};

// The last window, in the system's order, whose title starts with the prefix.
HWND LastByTitle(const std::string& prefix) {
    struct Search {
        std::string prefix;
        HWND found = nullptr;
    } search{prefix};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<Search*>(data);
            char title[261] = {};
            GetWindowTextA(window, title, sizeof title);
            if (std::string(title).rfind(s->prefix, 0) == 0) s->found = window;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

int main() {
    Register("Ultima Online");
    Register("Ultima Online Third Dawn");
    Register("Stallmark Test Other");

    wine::RunCase("guillemets, backspaces and Enter arrive as the exact codes", [] {
        Desk desk;
        HWND game = Create("Ultima Online", "UO");
        desk.Send(
            "\xAB"
            "Katana\xBB",
            true, 2);
        CHECK_BYTES(Received()[game], std::string(3, '\b') +
                                          "\xAB"
                                          "Katana\xBB\r");
        CHECK(desk.pacer.events == 11);
        CHECK(desk.pacer.sleeps.empty());
        DestroyWindow(game);
    });

    wine::RunCase("every byte of the upper half keeps its code", [] {
        Desk desk;
        HWND game = Create("Ultima Online", "UO");
        std::string text;
        for (int b = 0xA0; b <= 0xFF; ++b) text.push_back(static_cast<char>(b));
        for (const char b : {'\x80', '\x8A', '\x8C', '\x99', '\x9F'}) text.push_back(b);
        text += "\r\n";
        desk.Send(text, false, 0);
        CHECK_BYTES(Received()[game], text);
        DestroyWindow(game);
    });

    wine::RunCase("SendBackspaces posts exactly the count, CharDelay paces SendToGame", [] {
        Desk desk;
        HWND game = Create("Ultima Online", "UO");
        Received().clear();
        desk.link.SendBackspaces(20);
        Pump();
        CHECK_BYTES(Received()[game], std::string(20, '\b'));
        desk.charDelay = "2";
        desk.Send("Hi", true, 0);
        CHECK_BYTES(Received()[game], "Hi\r");
        CHECK(desk.pacer.sleeps == std::vector<int>({2, 2}));
        DestroyWindow(game);
    });

    wine::RunCase("class, then the Third Dawn class, then the title prefix", [] {
        Desk desk;
        HWND byTitle = Create("Stallmark Test Other", "Ultima Online - Bob");
        HWND thirdDawn = Create("Ultima Online Third Dawn", "TD");
        desk.Send("a", false, 0);
        CHECK_BYTES(Received()[thirdDawn], "a");
        CHECK_BYTES(Received()[byTitle], "");

        HWND classic = Create("Ultima Online", "Classic");
        desk.Send("b", false, 0);
        CHECK_BYTES(Received()[classic], "b");
        CHECK_BYTES(Received()[thirdDawn], "");
        CHECK_BYTES(Received()[byTitle], "");
        CHECK(desk.link.FindGameWindow(true) == reinterpret_cast<WindowHandle>(classic));

        DestroyWindow(classic);
        DestroyWindow(thirdDawn);
        desk.windowName = "ultima ONLINE -";  // any case, only the beginning
        desk.Send("c", true, 0);
        CHECK_BYTES(Received()[byTitle], "c\r");
        DestroyWindow(byTitle);
    });

    wine::RunCase("the last title match is used and every match is restored", [] {
        Desk desk;
        HWND ann = Create("Stallmark Test Other", "Ultima Online - Ann", SW_SHOWMINIMIZED);
        HWND bob = Create("Stallmark Test Other", "Ultima Online - Bob", SW_SHOWMINIMIZED);
        CHECK(IsIconic(ann) && IsIconic(bob));
        HWND last = LastByTitle("Ultima Online -");
        CHECK(last == ann || last == bob);
        desk.Send("hi", false, 0);
        CHECK_BYTES(Received()[last], "hi");
        CHECK_BYTES(Received()[last == ann ? bob : ann], "");
        CHECK(!IsIconic(ann));
        CHECK(!IsIconic(bob));
        CHECK(desk.link.FindWindowByTitle("Ultima Online - Bob", true) == reinterpret_cast<WindowHandle>(bob));
        CHECK(desk.link.FindWindowByTitle("Ultima Online - B", true) == 0);
        DestroyWindow(ann);
        DestroyWindow(bob);
    });

    wine::RunCase("the game comes forward, then the program", [] {
        Desk desk;
        HWND program = Create("Stallmark Test Other", "Stallmark");
        HWND game = Create("Ultima Online", "UO");
        desk.windows.SetProgramWindow(reinterpret_cast<WindowHandle>(program));
        CHECK(desk.link.FindGameWindow(true) == reinterpret_cast<WindowHandle>(game));
        CHECK(GetForegroundWindow() == game);
        desk.Send("x", false, 0);
        CHECK(GetForegroundWindow() == program);

        // During memo playback neither moves.
        desk.memoPlaying = true;
        desk.Send("y", true, 0);
        CHECK_BYTES(Received()[game], "y\r");
        CHECK(GetForegroundWindow() == program);
        DestroyWindow(game);
        DestroyWindow(program);
    });

    wine::RunCase("the platform's game windows are the user32 ones", [] {
        CHECK(dynamic_cast<Win32GameWindows*>(OpenPlatformGameWindows().get()) != nullptr);
        // The program's own link, opened at its first lookup.
        std::unique_ptr<GameWindows> windows = CreatePlatformGameWindows();
        HWND game = Create("Ultima Online", "UO");
        CHECK(windows->FindByClass("Ultima Online") == reinterpret_cast<WindowHandle>(game));
        CHECK(windows->Title(reinterpret_cast<WindowHandle>(game)) == "UO");
        DestroyWindow(game);
    });

    wine::RunCase("no game window: nothing is posted", [] {
        Desk desk;
        desk.Send("hello", true, 20);
        CHECK(Received().empty());
        CHECK(desk.pacer.events == 0);
    });

    return wine::WineCheckSummary();
}
