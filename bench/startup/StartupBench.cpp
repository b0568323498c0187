// Start-up seen from outside: starts the real program under a private Xvfb and
// times from its exec to its first paint, as the X server sees it (the Damage
// extension reports every drawing on the screen; the first one that puts more than
// one colour into the screen is the program's first paint). Each run on data is
// paired with a run on an empty data folder; the figure is the difference, against
// F on the same data file.
//
// The program finds its data and settings through the environment: the data in
// $XDG_DATA_HOME/Stallmark, the settings in $XDG_CONFIG_HOME/Orvanel/Stallmark.ini.
//
// Usage:
//   startup_bench [--program PATH]                 generated data, each size (make bench)
//   startup_bench [--program PATH] --data FOLDER [--page general|weapons]
//                                                  the data files in FOLDER

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "BenchData.h"
#include "BenchSupport.h"
#include "store/RecordFile.h"

// Last: Xlib's macros (None among them) would clash with the names above.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/Xdamage.h>
#undef None

extern char** environ;

using namespace stallmark;
using namespace stallmark::bench;
namespace fs = std::filesystem;

namespace {

#ifndef STALLMARK_PROGRAM
#define STALLMARK_PROGRAM "stallmark"
#endif

constexpr int kWeaponsPage = 0;
constexpr int kGeneralPage = 4;

pid_t Spawn(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv, int keepFd = -1) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const std::string& extra : extraEnv)
            if (entry.compare(0, extra.find('=') + 1, extra, 0, extra.find('=') + 1) == 0) replaced = true;
        if (!replaced) env.push_back(entry);
    }
    env.insert(env.end(), extraEnv.begin(), extraEnv.end());
    std::vector<char*> args, envp;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (keepFd >= 0) posix_spawn_file_actions_adddup2(&actions, keepFd, 3);
    pid_t pid = -1;
    const int rc = posix_spawnp(&pid, argv[0].c_str(), &actions, nullptr, args.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0) throw std::runtime_error("cannot start " + argv[0] + ": " + std::strerror(rc));
    return pid;
}

// Ends a process this program started: SIGTERM, then SIGKILL after five seconds.
void Stop(pid_t pid) {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    const double end = NowMs() + 5000;
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (NowMs() > end) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return;
        }
        poll(nullptr, 0, 5);
    }
}

// A private X server with a black root window.
class Server {
public:
    Server() {
        int fds[2];
        if (pipe(fds) != 0) throw std::runtime_error("pipe failed");
        fcntl(fds[0], F_SETFD, FD_CLOEXEC);
        pid_ = Spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-br"}, {}, fds[1]);
        close(fds[1]);
        std::string number;
        const double end = NowMs() + 20000;
        while (number.find('\n') == std::string::npos && NowMs() < end) {
            pollfd p{fds[0], POLLIN, 0};
            if (poll(&p, 1, 100) > 0) {
                char buffer[32];
                const ssize_t n = read(fds[0], buffer, sizeof buffer);
                if (n <= 0) break;
                number.append(buffer, static_cast<std::size_t>(n));
            }
        }
        close(fds[0]);
        if (number.find('\n') == std::string::npos) throw std::runtime_error("Xvfb did not report its display");
        name_ = ":" + number.substr(0, number.find('\n'));
        display_ = XOpenDisplay(name_.c_str());
        if (display_ == nullptr) throw std::runtime_error("cannot open " + name_);
        int error = 0;
        if (!XDamageQueryExtension(display_, &damageEvent_, &error))
            throw std::runtime_error("the X server has no Damage extension");
        damage_ = XDamageCreate(display_, DefaultRootWindow(display_), XDamageReportRawRectangles);
        XSync(display_, False);
    }
    ~Server() {
        if (display_ != nullptr) XCloseDisplay(display_);
        Stop(pid_);
    }
    const std::string& Name() const { return name_; }

    // Forgets the drawing reported so far.
    void Drain() {
        XSync(display_, False);
        while (XPending(display_) > 0) {
            XEvent event;
            XNextEvent(display_, &event);
        }
    }

    // Waits for the first drawing that leaves more than one colour in its area;
    // the time it was reported, or a negative number after timeoutMs.
    double WaitForPaint(double timeoutMs) {
        const double end = NowMs() + timeoutMs;
        for (;;) {
            while (XPending(display_) > 0) {
                XEvent event;
                XNextEvent(display_, &event);
                const double at = NowMs();
                if (event.type != damageEvent_ + XDamageNotify) continue;
                const auto* damage = reinterpret_cast<XDamageNotifyEvent*>(&event);
                if (Painted(damage->area)) return at;
            }
            const double left = end - NowMs();
            if (left <= 0) return -1;
            pollfd p{ConnectionNumber(display_), POLLIN, 0};
            poll(&p, 1, static_cast<int>(left < 100 ? left + 1 : 100));
        }
    }

private:
    bool Painted(const XRectangle& area) {
        if (area.width == 0 || area.height == 0) return false;
        XImage* image = XGetImage(display_, DefaultRootWindow(display_), area.x, area.y, area.width, area.height,
                                  AllPlanes, ZPixmap);
        if (image == nullptr) return false;
        const unsigned long first = XGetPixel(image, 0, 0);
        bool varied = false;
        if (image->bits_per_pixel == 32 && image->format == ZPixmap) {
            // The usual 24-bit screen, read straight from the image's rows: a whole window
            // of one colour (its background, before the program paints) is looked over
            // quickly, so that this program takes as little as it can of the processors
            // the program being timed and the X server need.
            const auto colour = static_cast<std::uint32_t>(image->red_mask | image->green_mask | image->blue_mask);
            std::uint32_t firstPixel = 0;
            std::memcpy(&firstPixel, image->data, 4);
            firstPixel &= colour;
            for (int y = 0; y < area.height && !varied; ++y) {
                const char* row = image->data + static_cast<std::ptrdiff_t>(y) * image->bytes_per_line;
                for (int x = 0; x < area.width; ++x) {
                    std::uint32_t pixel;
                    std::memcpy(&pixel, row + static_cast<std::ptrdiff_t>(x) * 4, 4);
                    if ((pixel & colour) != firstPixel) {
                        varied = true;
                        break;
                    }
                }
            }
        } else {
            for (int y = 0; y < area.height && !varied; ++y)
                for (int x = 0; x < area.width && !varied; ++x) varied = XGetPixel(image, x, y) != first;
        }
        XDestroyImage(image);
        return varied;
    }

    pid_t pid_ = -1;
    std::string name_;
    Display* display_ = nullptr;
    int damageEvent_ = 0;
    Damage damage_ = 0;
};

// One start of the program on a data folder: milliseconds from exec to first paint.
double StartOnce(Server& server, const std::string& program, const fs::path& home, const fs::path& data, int page) {
    const fs::path config = home / "config";
    fs::permissions(home, fs::perms::owner_all);
    fs::remove_all(config);
    fs::create_directories(config / "Orvanel");
    {  // settings written fresh each time: the page to show first
        std::FILE* ini = std::fopen((config / "Orvanel" / "Stallmark.ini").c_str(), "wb");
        if (ini == nullptr) throw std::runtime_error("cannot write the settings");
        std::fprintf(ini, "[Stallmark]\nLastPage=%d\n", page);
        std::fclose(ini);
    }
    server.Drain();
    const double start = NowMs();
    const pid_t pid = Spawn(
        {program}, {"DISPLAY=" + server.Name(), "QT_QPA_PLATFORM=xcb", "XDG_DATA_HOME=" + data.string(),
                    "XDG_CONFIG_HOME=" + config.string(), "HOME=" + home.string(), "XDG_RUNTIME_DIR=" + home.string()});
    const double painted = server.WaitForPaint(60000);
    Stop(pid);
    if (painted < 0) throw std::runtime_error("no paint within a minute");
    return painted - start;
}

// A data folder as the program keeps it: $XDG_DATA_HOME/Stallmark/<files>.
void CopyFolder(const fs::path& from, const fs::path& to) {
    fs::remove_all(to);
    fs::create_directories(to);
    for (const auto& e : fs::directory_iterator(from))
        if (e.is_regular_file()) fs::copy_file(e.path(), to / e.path().filename());
}

struct Case {
    std::string action;
    fs::path source;  // the data files
    std::string floorFile;
    int page;
    double targetF;
    long size;
};

void Measure(Server& server, const std::string& program, const Case& c) {
    ScratchFolder home;
    const fs::path emptyData = fs::path(home.Path()) / "empty";
    const fs::path fullData = fs::path(home.Path()) / "full";
    fs::create_directories(emptyData / "Stallmark");
    // The first start loads the program's libraries into the cache.
    StartOnce(server, program, home.Path(), emptyData, c.page);
    std::vector<double> empties, fulls, differences, floors;
    // A start of the program varies by tens of milliseconds from one to the next (the
    // X server, the loader, the machine), far more than the data's share of it: at least
    // kLeastPairs pairs, so that their median is steady from one run of the bench to the next.
    constexpr int kLeastPairs = 31;
    const int pairs = std::max(Runs(), kLeastPairs);
    for (int i = 0; i < pairs; ++i) {
        fs::remove_all(emptyData / "Stallmark");
        fs::create_directories(emptyData / "Stallmark");
        CopyFolder(c.source, fullData / "Stallmark");
        const double empty = StartOnce(server, program, home.Path(), emptyData, c.page);
        floors.push_back(FloorOnce((fullData / "Stallmark" / c.floorFile).string()));
        const double full = StartOnce(server, program, home.Path(), fullData, c.page);
        empties.push_back(empty);
        fulls.push_back(full);
        differences.push_back(full - empty);
    }
    Row emptyRow;
    emptyRow.action = "Start-up from outside: exec to first paint, no data, " + c.action + " page";
    emptyRow.size = c.size;  // the size of the data its runs were paired with
    emptyRow.value = StatsOf(empties);
    emptyRow.growth = Growth::None;
    emptyRow.note = "the real program under Xvfb, first paint seen through the Damage extension";
    Record(emptyRow);
    Row fullRow;
    fullRow.action = "Start-up from outside: exec to first paint, " + c.action;
    fullRow.size = c.size;
    fullRow.value = StatsOf(fulls);
    fullRow.floor = StatsOf(floors);
    fullRow.growth = Growth::None;
    Record(fullRow);
    Row row;
    row.action = "Start-up from outside: " + c.action + ", minus no data";
    row.size = c.size;
    row.value = StatsOf(differences);
    row.floor = StatsOf(floors);
    row.target = TimesF(c.targetF);
    // Its growth is not judged: up to a few hundred thousand lines the file is read while
    // the window is built, so most of the data's share is hidden at 10k and 100k lines and
    // none of it at 1M; the rows of the start-up in process judge how that work grows.
    row.growth = Growth::None;
    row.note = "each start on data paired with one on an empty data folder; F on " + c.floorFile +
               "; growth judged on the start-up in process (here the read hides behind the window's building "
               "until it outlasts it)";
    Record(row);
}

void GeneratedCases(Server& server, const std::string& program, int lines) {
    ScratchFolder general;
    general.Write("General.dat", JoinLines(GeneralLines(lines)));
    Measure(server, program, {"General", general.Path(), "General.dat", kGeneralPage, 3, lines});

    ScratchFolder weapons;
    std::vector<std::string> stock = WeaponStockLines(lines), prices = WeaponPriceLines(lines);
    SortRecordLines(stock);
    SortRecordLines(prices);
    weapons.Write("MWStock.dat", JoinLines(stock));
    weapons.Write("MWPrice.dat", JoinLines(prices));
    for (const NamedFile& f : WeaponPickLists()) weapons.Write(f.name, f.bytes);
    Measure(server, program, {"weapons", weapons.Path(), "MWStock.dat", kWeaponsPage, 5, lines});
}

}  // namespace

int main(int argc, char** argv) {
    std::string program = STALLMARK_PROGRAM;
    std::string data;
    std::string page = "general";
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "--program" && i + 1 < argc) {
            program = argv[++i];
        } else if (a == "--data" && i + 1 < argc) {
            data = argv[++i];
        } else if (a == "--page" && i + 1 < argc) {
            page = argv[++i];
        }
    }
    try {
        if (!data.empty()) {
            Server server;
            const bool general = page != "weapons";
            const std::string file = general ? "General.dat" : "MWStock.dat";
            long lines = 0;
            if (std::FILE* f = std::fopen((fs::path(data) / file).c_str(), "rb")) {
                for (int ch; (ch = std::fgetc(f)) != EOF;) lines += ch == '\n';
                std::fclose(f);
            }
            Measure(server, program,
                    {general ? "General" : "weapons", data, file, general ? kGeneralPage : kWeaponsPage,
                     general ? 3.0 : 5.0, lines});
            return 0;
        }
        return RunEachSize(argc, argv, kListSizes, [&](int lines) {
            Server server;
            GeneratedCases(server, program, lines);
        });
    } catch (const std::exception& e) {
        std::fprintf(stderr, "startup_bench: %s\n", e.what());
        return 1;
    }
}
