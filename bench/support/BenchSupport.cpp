#include "BenchSupport.h"

#include "store/BigMemory.h"
#include "store/Files.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string_view>

#ifndef _WIN32
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace stallmark::bench {

namespace {

std::string& ProgramName() {
    static std::string name;
    return name;
}

std::size_t lastFloorFields = 0;

std::string Trimmed(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

}  // namespace

std::vector<int> Sizes(const std::vector<int>& defaults) {
    const char* env = std::getenv("STALLMARK_BENCH_SIZES");
    if (env == nullptr || *env == '\0') return defaults;
    std::vector<int> sizes;
    const char* p = env;
    while (*p != '\0') {
        char* end = nullptr;
        const long n = std::strtol(p, &end, 10);
        if (end == p) {
            ++p;
            continue;
        }
        if (n > 0) sizes.push_back(static_cast<int>(n));
        p = end;
    }
    return sizes.empty() ? defaults : sizes;
}

int Runs() {
    const char* env = std::getenv("STALLMARK_BENCH_RUNS");
    const int runs = env != nullptr ? std::atoi(env) : 5;
    return std::max(5, runs);
}

double NowMs() {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

Stats StatsOf(std::vector<double> values) {
    Stats s;
    if (values.empty()) return s;
    s.runs = values;
    std::sort(values.begin(), values.end());
    s.min = values.front();
    const std::size_t n = values.size();
    s.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    return s;
}

void WriteOnDisk(const std::string& path, const std::string& bytes) { ReplaceFileAtomically(path, bytes); }

namespace {

// One read of the file and split of its lines, the bytes and the views kept in memory
// of the given allocator's kind; milliseconds.
template <template <typename> class Allocator>
double FloorRead(const std::string& path) {
    const double start = NowMs();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) throw std::runtime_error("cannot open " + path);
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    std::basic_string<char, std::char_traits<char>, Allocator<char>> bytes;
    bytes.resize(static_cast<std::size_t>(std::max(0L, size)));
    const std::size_t got = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    bytes.resize(got);
    // Every line cut into its fields, each a view into the bytes read, all kept.
    // Room for the views is taken once, for a field of six bytes on average (more
    // grows); taking far more would put the array in fresh pages at every run.
    std::vector<std::string_view, Allocator<std::string_view>> fields;
    fields.reserve(bytes.size() / 6 + 16);
    const char* p = bytes.data();
    const char* end = p + bytes.size();
    while (p < end) {
        const char* eol = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        const char* lineEnd = eol != nullptr ? eol : end;
        const char* stop = lineEnd > p && lineEnd[-1] == '\r' ? lineEnd - 1 : lineEnd;
        const char* f = p;
        for (;;) {
            const char* comma = static_cast<const char*>(std::memchr(f, ',', static_cast<std::size_t>(stop - f)));
            if (comma == nullptr) {
                fields.emplace_back(f, static_cast<std::size_t>(stop - f));
                break;
            }
            fields.emplace_back(f, static_cast<std::size_t>(comma - f));
            f = comma + 1;
        }
        p = lineEnd + 1;
    }
    lastFloorFields = fields.size();
    return NowMs() - start;
}

}  // namespace

double FloorOnce(const std::string& path) {
    // Which memory is cheaper depends on the size: a few megabytes come back warm
    // from the heap at every read, while buffers past the heap's largest threshold
    // are new pages each time, far fewer faults where they are large pages (as the
    // lists' own big buffers are). The floor is the lesser of the two.
    const double heap = FloorRead<std::allocator>(path);
    const double big = FloorRead<BigAllocator>(path);
    return std::min(heap, big);
}

std::size_t LastFloorFields() { return lastFloorFields; }

Measured MeasureAgainstFloor(const std::string& floorPath, int runs, const std::function<void()>& setup,
                             const std::function<void()>& action, bool warmUp) {
    return MeasureAgainstFloor(std::vector<std::string>{floorPath}, runs, setup, action, warmUp);
}

Measured MeasureAgainstFloor(const std::vector<std::string>& floorPaths, int runs, const std::function<void()>& setup,
                             const std::function<void()>& action, bool warmUp) {
    // F of a run: FloorOnce, the better of two reads, so that a read made slow by what
    // the setup left behind (cold caches, memory just given back) does not raise the
    // yardstick.
    auto floor = [&] {
        double total = 0;
        for (const std::string& path : floorPaths) total += FloorOnce(path);
        return total;
    };
    if (warmUp) {
        setup();
        floor();
        action();
    }
    std::vector<double> floors, actions;
    for (int i = 0; i < runs; ++i) {
        setup();
        floors.push_back(floor());
        const double start = NowMs();
        action();
        actions.push_back(NowMs() - start);
    }
    return {StatsOf(actions), StatsOf(floors)};
}

Stats Measure(int runs, const std::function<void()>& setup, const std::function<void()>& action) {
    std::vector<double> values;
    for (int i = 0; i < runs; ++i) {
        setup();
        const double start = NowMs();
        action();
        values.push_back(NowMs() - start);
    }
    return StatsOf(values);
}

std::string Target::Text() const {
    switch (kind) {
        case TimesF: return "<= " + Trimmed(factor) + " F";
        case TimesFPlusMs: return "<= " + Trimmed(factor) + " F + " + Trimmed(plus) + " ms";
        case Ms: return "<= " + Trimmed(factor) + " ms";
        case AtMost: return "<= " + Trimmed(factor);
        case None: break;
    }
    return "-";
}

bool Target::Holds(double median, double floorMedian) const {
    switch (kind) {
        case TimesF: return median <= factor * floorMedian;
        case TimesFPlusMs: return median <= factor * floorMedian + plus;
        case Ms:
        case AtMost: return median <= factor;
        case None: break;
    }
    return true;
}

Target TimesF(double factor) { return {Target::TimesF, factor, 0}; }
Target TimesFPlus(double factor, double ms) { return {Target::TimesFPlusMs, factor, ms}; }
Target AtMostMs(double ms) { return {Target::Ms, ms, 0}; }
Target AtMost(double value) { return {Target::AtMost, value, 0}; }

void SetProgramName(const std::string& name) { ProgramName() = name; }

namespace {

const char* GrowthName(Growth g) {
    switch (g) {
        case Growth::Linear: return "linear";
        case Growth::NLogN: return "nlogn";
        case Growth::Flat: return "flat";
        case Growth::None: break;
    }
    return "none";
}

std::string Clean(std::string text) {
    for (char& c : text)
        if (c == '\t' || c == '\n' || c == '\r') c = ' ';
    return text;
}

std::string Joined(const std::vector<double>& values) {
    std::string out;
    for (double v : values) {
        char text[32];
        std::snprintf(text, sizeof text, "%s%.4f", out.empty() ? "" : ",", v);
        out += text;
    }
    return out;
}

}  // namespace

void Record(const Row& row) {
    const bool hasF = !row.floor.runs.empty();
    const double ratio = hasF && row.floor.median > 0 ? row.value.median / row.floor.median : 0;
    const bool holds = row.target.Holds(row.value.median, row.floor.median);
    std::printf("%-52s %8ld  min %10.3f  median %10.3f %-6s", row.action.c_str(), row.size, row.value.min,
                row.value.median, row.unit.c_str());
    if (hasF) std::printf("  F %8.3f  = %6.2f F", row.floor.median, ratio);
    std::printf("  target %-16s %s\n", row.target.Text().c_str(),
                row.target.kind == Target::None ? ""
                : holds                         ? "holds"
                                                : "MISSED");
    if (!row.note.empty()) std::printf("    %s\n", row.note.c_str());
    std::fflush(stdout);

    const char* out = std::getenv("STALLMARK_BENCH_OUT");
    if (out == nullptr || *out == '\0') return;
    std::string name = ProgramName().empty() ? "bench" : ProgramName();
    std::filesystem::create_directories(out);
    const std::string path = std::string(out) + "/" + name + ".tsv";
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) return;
    // action, size, unit, runs, F runs, target kind, factor, plus, growth, note
    std::fprintf(file, "%s\t%ld\t%s\t%s\t%s\t%d\t%g\t%g\t%s\t%s\n", Clean(row.action).c_str(), row.size,
                 Clean(row.unit).c_str(), Joined(row.value.runs).c_str(), Joined(row.floor.runs).c_str(),
                 static_cast<int>(row.target.kind), row.target.factor, row.target.plus, GrowthName(row.growth),
                 Clean(row.note).c_str());
    std::fclose(file);
}

long ResidentBytes() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
#ifdef __linux__
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (statm == nullptr) return 0;
    long size = 0, resident = 0;
    const int got = std::fscanf(statm, "%ld %ld", &size, &resident);
    std::fclose(statm);
    return got == 2 ? resident * sysconf(_SC_PAGESIZE) : 0;
#else
    return 0;
#endif
}

int RunEachSize(int argc, char** argv, const std::vector<int>& defaults, const std::function<void(int)>& body) {
    if (ProgramName().empty() && argc > 0) ProgramName() = std::filesystem::path(argv[0]).filename().string();
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0) {
            body(std::atoi(argv[i + 1]));
            return 0;
        }
    }
    int failures = 0;
    for (int size : Sizes(defaults)) {
#ifdef _WIN32
        body(size);
#else
        std::vector<std::string> args(argv, argv + argc);
        args.push_back("--size");
        args.push_back(std::to_string(size));
        std::vector<char*> raw;
        for (std::string& a : args) raw.push_back(a.data());
        raw.push_back(nullptr);
        pid_t pid = -1;
        if (posix_spawn(&pid, "/proc/self/exe", nullptr, nullptr, raw.data(), environ) != 0) {
            std::fprintf(stderr, "cannot start %s again\n", argv[0]);
            return 1;
        }
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            std::fprintf(stderr, "%s --size %d failed\n", argv[0], size);
            ++failures;
        }
#endif
    }
    return failures == 0 ? 0 : 1;
}

ScratchFolder::ScratchFolder() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    for (;;) {
        const auto candidate = base / ("stallmark-bench-" + std::to_string(random()));
        if (std::filesystem::create_directory(candidate)) {
            path_ = candidate.string();
            return;
        }
    }
}

ScratchFolder::~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

void ScratchFolder::Write(const std::string& name, const std::string& bytes) const {
    const std::string path = File(name);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) throw std::runtime_error("cannot write " + path);
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !ok) throw std::runtime_error("cannot write " + path);
}

}  // namespace stallmark::bench
