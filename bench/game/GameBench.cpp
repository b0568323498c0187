// The keystroke sender: the time to send 1,000 characters with CharDelay 0 into the
// fake desktop and, end to end, into a receiver window on a private Xvfb through the
// X11 backend; and the longest stretch during a send in which the program's events
// would not be handled (the longest gap between two Pacer::ProcessEvents calls, the
// start and the end of the send counting as calls).

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "BenchSupport.h"
#include "game/FakeGameWindows.h"
#include "game/GameLink.h"

#if defined(STALLMARK_BENCH_X11)
#include "game/X11GameWindows.h"
#include "game/X11Session.h"
#endif

namespace stallmark {
namespace {

using SteadyClock = std::chrono::steady_clock;

// Records the longest gap between two event-processing calls. With CharDelay 0
// the sender pauses only while a typing backend waits for the game.
class GapPacer : public Pacer {
public:
    void ProcessEvents() override { Mark(); }
    void Sleep(int milliseconds) override { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
    void Start() { last_ = SteadyClock::now(); }
    void Mark() {
        const auto now = SteadyClock::now();
        maxGap_ = std::max(maxGap_, now - last_);
        last_ = now;
    }
    double MaxGapMs() const { return std::chrono::duration<double, std::milli>(maxGap_).count(); }
    void ResetGap() { maxGap_ = {}; }

private:
    SteadyClock::time_point last_{};
    SteadyClock::duration maxGap_{};
};

std::string Text(std::size_t length, bool accented) {
    const std::string ascii = "Vanquishing Katana of Power, 1,250gp; ";
    const std::string latin = "\xAB\xE9p\xE9\xE9 de pr\xE9\x63ision\xBB \xE0 vendre, 1.250po; ";
    const std::string& pattern = accented ? latin : ascii;
    std::string text;
    while (text.size() < length) text += pattern;
    text.resize(length);
    return text;
}

GameLinkOptions Options() {
    return GameLinkOptions{[] { return std::string("Ultima Online -"); }, [] { return std::string("0"); }, nullptr};
}

constexpr std::size_t kChars = 1000;

void Report(const std::string& action, const std::vector<double>& sendMs, const std::vector<double>& gaps) {
    bench::Row row;
    row.action = action;
    row.size = static_cast<long>(kChars);
    row.value = bench::StatsOf(sendMs);
    row.growth = bench::Growth::None;
    Record(row);
    bench::Row gap;
    gap.action = action + ", longest wait for events";
    gap.size = static_cast<long>(kChars);
    gap.value = bench::StatsOf(gaps);
    gap.growth = bench::Growth::None;
    gap.note = "the longest stretch in which the window could not handle its events";
    Record(gap);
}

void SendToFake() {
    FakeGameWindows desk;
    desk.AddWindow("Ultima Online", "UO");
    GapPacer pacer;
    GameLink link(desk, pacer, Options());
    const std::string text = Text(kChars, false);
    std::vector<double> sendMs, gaps;
    for (int i = 0; i < bench::Runs(); ++i) {
        desk.ClearLog();
        pacer.ResetGap();
        const double start = bench::NowMs();
        pacer.Start();
        link.SendToGame(text, true, 20);
        pacer.Mark();
        sendMs.push_back(bench::NowMs() - start);
        gaps.push_back(pacer.MaxGapMs());
    }
    Report("Game link: send 1000 characters (fake desktop)", sendMs, gaps);
}

#if defined(STALLMARK_BENCH_X11)

struct X11Bench {
    std::unique_ptr<testing::X11Session> session;
    std::unique_ptr<testing::Receiver> game;
    std::unique_ptr<X11GameWindows> windows;
    std::string error;
};

X11Bench& Bench(bool windowManager) {
    static X11Bench benches[2];
    X11Bench& b = benches[windowManager ? 1 : 0];
    if (b.session == nullptr && b.error.empty()) {
        b.session = std::make_unique<testing::X11Session>(windowManager);
        if (!b.session->Ok()) {
            b.error = b.session->Error();
            return b;
        }
        testing::ReceiverOptions options;
        options.windowClass = "Ultima Online";
        options.title = "UO";
        b.game = b.session->StartReceiver(options);
        b.windows = X11GameWindows::Open(b.session->DisplayName());
        if (b.game == nullptr || b.windows == nullptr) b.error = "no receiver window or display";
    }
    return b;
}

void SendToX11Receiver(bool accented, bool windowManager) {
    const std::string action = std::string("Game link: send 1000 ") + (accented ? "accented " : "") +
                               "characters to a window on Xvfb" + (windowManager ? " with openbox" : "");
    X11Bench& b = Bench(windowManager);
    if (!b.error.empty()) {
        std::printf("%s: skipped, %s\n", action.c_str(), b.error.c_str());
        return;
    }
    GapPacer pacer;
    GameLink link(*b.windows, pacer, Options());
    const std::string text = Text(kChars, accented);
    std::vector<double> sendMs, gaps;
    for (int i = 0; i < bench::Runs(); ++i) {
        const std::size_t before = b.game->Log().size();
        pacer.ResetGap();
        const double start = bench::NowMs();
        pacer.Start();
        link.SendToGame(text, false, 0);
        pacer.Mark();
        sendMs.push_back(bench::NowMs() - start);
        gaps.push_back(pacer.MaxGapMs());
        if (b.game->WaitForLog(before + text.size()).size() != before + text.size()) {
            std::printf("%s: the receiver did not get every character\n", action.c_str());
            return;
        }
    }
    Report(action, sendMs, gaps);
}

#endif

}  // namespace
}  // namespace stallmark

int main() {
    stallmark::SendToFake();
#if defined(STALLMARK_BENCH_X11)
    for (const bool windowManager : {false, true})
        for (const bool accented : {false, true}) stallmark::SendToX11Receiver(accented, windowManager);
#endif
    return 0;
}
