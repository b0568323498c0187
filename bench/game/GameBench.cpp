// The keystroke sender's speed: characters per second from SendToGame with
// CharDelay 0, into the fake desktop and, end to end, into a receiver window
// on a private Xvfb through the X11 backend; and the longest stretch during a
// 1,000-character send in which the program's events would not be processed
// (the longest gap between two Pacer::ProcessEvents calls, the start and the
// end of the send counting as calls).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <string>
#include <thread>

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

void BM_SendToFake(benchmark::State& state) {
    FakeGameWindows desk;
    desk.AddWindow("Ultima Online", "UO");
    GapPacer pacer;
    GameLink link(desk, pacer, Options());
    const std::string text = Text(static_cast<std::size_t>(state.range(0)), false);
    double worstGap = 0;
    double gapSum = 0;
    for (auto _ : state) {
        desk.ClearLog();
        pacer.ResetGap();
        pacer.Start();
        link.SendToGame(text, true, 20);
        pacer.Mark();
        worstGap = std::max(worstGap, pacer.MaxGapMs());
        gapSum += pacer.MaxGapMs();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(text.size()));
    // The worst includes the odd moment the machine took the thread away.
    state.counters["max_gap_ms"] = worstGap;
    state.counters["mean_max_gap_ms"] = gapSum / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SendToFake)->Arg(1000);

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

// args: length, accented text (keys lent for it), window manager.
void BM_SendToX11Receiver(benchmark::State& state) {
    X11Bench& b = Bench(state.range(2) != 0);
    if (!b.error.empty()) {
        state.SkipWithError(b.error.c_str());
        return;
    }
    GapPacer pacer;
    GameLink link(*b.windows, pacer, Options());
    const std::string text = Text(static_cast<std::size_t>(state.range(0)), state.range(1) != 0);
    double worstGap = 0;
    double sendMs = 0;
    for (auto _ : state) {
        const std::size_t before = b.game->Log().size();
        const auto start = SteadyClock::now();
        pacer.ResetGap();
        pacer.Start();
        link.SendToGame(text, false, 0);
        pacer.Mark();
        sendMs += std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
        worstGap = std::max(worstGap, pacer.MaxGapMs());
        if (b.game->WaitForLog(before + text.size()).size() != before + text.size()) {
            state.SkipWithError("the receiver did not get every character");
            return;
        }
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(text.size()));
    state.counters["max_gap_ms"] = worstGap;
    state.counters["send_ms"] = sendMs / static_cast<double>(state.iterations());
}
BENCHMARK(BM_SendToX11Receiver)
    ->ArgNames({"chars", "accented", "openbox"})
    ->Args({1000, 0, 0})
    ->Args({1000, 1, 0})
    ->Args({1000, 0, 1})
    ->Args({1000, 1, 1})
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

#endif

}  // namespace
}  // namespace stallmark

BENCHMARK_MAIN();
