#pragma once
// A scripted desktop for tests of the sender and of every layer that sends:
// windows with a class, a title and the flags the lookups read, in a Z order
// (topmost first), and a log of every operation, every posted code per window
// and, through CountingPacer, every event-processing call and pause.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "game/GameWindows.h"

namespace stallmark {

struct FakeWindow {
    std::string windowClass;
    std::string title;
    bool visible = true;
    bool owned = false;  // has an owner window
    bool child = false;  // has a parent window
    bool tool = false;   // tool window (WS_EX_TOOLWINDOW)
    bool minimised = false;
};

enum class FakeOp {
    Restore,
    BringToTop,
    SetForeground,
    PostChar,
    BringProgramForward,
    Flush,
    FinishSend,
    ProcessEvents,  // logged by a CountingPacer attached to the fake
    Sleep,          // the same; value = milliseconds
};

struct FakeOperation {
    FakeOp op;
    WindowHandle window = 0;  // Restore, BringToTop, SetForeground, PostChar
    int value = 0;            // PostChar: the code; Sleep: milliseconds
    bool operator==(const FakeOperation&) const = default;
};

class FakeGameWindows final : public GameWindows {
public:
    FakeGameWindows() = default;
    FakeGameWindows(const FakeGameWindows&) = delete;
    FakeGameWindows& operator=(const FakeGameWindows&) = delete;
    FakeGameWindows(FakeGameWindows&&) = delete;
    FakeGameWindows& operator=(FakeGameWindows&&) = delete;

    // The program's window until SetProgramWindow names another.
    static constexpr WindowHandle kDefaultProgramWindow = 0x5000;

    // Adds a window below all others (last in the enumeration) or on top of
    // them; returns its handle (1, 2, 3, ...).
    WindowHandle Add(FakeWindow window);
    WindowHandle AddOnTop(FakeWindow window);
    WindowHandle AddWindow(const std::string& windowClass, const std::string& title);
    // The window goes away: it is no longer found, and posts to it are lost.
    void Remove(WindowHandle window);
    FakeWindow& Window(WindowHandle window);
    bool Exists(WindowHandle window) const;
    // Handles in Z order, topmost first.
    const std::vector<WindowHandle>& ZOrder() const { return zOrder_; }

    // The foreground window: a game window, ProgramWindow() after
    // BringProgramForward, or 0 before either.
    WindowHandle Foreground() const { return foreground_; }
    WindowHandle ProgramWindow() const { return programWindow_; }

    // Everything that happened, in order.
    const std::vector<FakeOperation>& Operations() const { return operations_; }
    // The same as short lines ("restore 2", "top 2", "foreground 2", "char 2 72",
    // "program", "events", "sleep 5"; with delivery also "flush", "finish").
    std::vector<std::string> Trace(bool withDelivery = false) const;
    // The bytes delivered to one window, or to any window, in order.
    std::string PostedText(WindowHandle window) const;
    std::string AllPosted() const;
    int Count(FakeOp op, WindowHandle window = 0) const;  // window 0: any
    void ClearLog();

    // Called after each operation is logged (also the pacer's): tests use it to
    // throw, to remove a window mid-send or to start a second send.
    std::function<void(const FakeOperation&)> onOperation;

    // Successive answers of SettleMs (then 0), as a typing backend would give
    // them while the game takes its keys.
    std::vector<int> settleReplies;

    // Used by CountingPacer.
    void Log(FakeOperation operation);

    // GameWindows
    WindowHandle FindByClass(const std::string& windowClass) override;
    std::vector<WindowHandle> TopLevelWindows() override;
    std::string Title(WindowHandle window) override;
    bool IsVisible(WindowHandle window) override;
    bool HasOwner(WindowHandle window) override;
    bool HasParent(WindowHandle window) override;
    bool IsToolWindow(WindowHandle window) override;
    bool IsMinimised(WindowHandle window) override;
    void Restore(WindowHandle window) override;
    void BringToTop(WindowHandle window) override;
    void SetForeground(WindowHandle window) override;
    void PostChar(WindowHandle window, std::uint8_t code) override;
    void BringProgramForward() override;
    void SetProgramWindow(WindowHandle window) override { programWindow_ = window; }
    void Flush() override;
    int SettleMs() override;
    void FinishSend() override;

private:
    struct Entry {
        WindowHandle handle;
        FakeWindow window;
    };
    Entry* Find(WindowHandle window);
    const Entry* Find(WindowHandle window) const;
    void MoveToTop(WindowHandle window);

    std::vector<Entry> windows_;
    std::vector<WindowHandle> zOrder_;
    std::vector<FakeOperation> operations_;
    std::vector<bool> delivered_;  // per operation: a PostChar that reached its window
    WindowHandle nextHandle_ = 1;
    WindowHandle foreground_ = 0;
    WindowHandle programWindow_ = kDefaultProgramWindow;
};

// A Pacer that never waits: it counts event processing and records each pause.
// Given a FakeGameWindows, it also logs into that fake's operation list, so the
// order of posts, event processing and pauses can be checked as one trace.
class CountingPacer : public Pacer {
public:
    explicit CountingPacer(FakeGameWindows* log = nullptr) : log_(log) {}

    void ProcessEvents() override;
    void Sleep(int milliseconds) override;

    int ProcessEventsCalls() const { return processEventsCalls_; }
    const std::vector<int>& Sleeps() const { return sleeps_; }
    long long TotalSleepMs() const;
    void Reset();

    // Runs inside ProcessEvents, as the program's own events would.
    std::function<void()> onProcessEvents;

private:
    FakeGameWindows* log_;
    int processEventsCalls_ = 0;
    std::vector<int> sleeps_;
};

}  // namespace stallmark
