#include "game/X11Session.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#ifndef STALLMARK_X11_RECEIVER
#error "STALLMARK_X11_RECEIVER must name the receiver program"
#endif

extern char** environ;

namespace stallmark::testing {

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool WmRunning(Display* display) {
    const Window root = DefaultRootWindow(display);
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    bool running = false;
    if (XGetWindowProperty(display, root, check, 0, 1, False, XA_WINDOW, &type, &format, &count, &after, &data) ==
            Success &&
        data != nullptr && count == 1) {
        running = true;
    }
    if (data != nullptr) XFree(data);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    return running && (attributes.all_event_masks & SubstructureRedirectMask) != 0;
}

bool HasWmState(Display* display, Window window) {
    const Atom wmState = XInternAtom(display, "WM_STATE", False);
    Atom type = 0;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const bool ok = XGetWindowProperty(display, window, wmState, 0, 2, False, wmState, &type, &format, &count, &after,
                                       &data) == Success &&
                    count > 0;
    if (data != nullptr) XFree(data);
    return ok;
}

}  // namespace

bool ChildProcess::Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                         std::string& error, int inheritFd) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        bool replaced = false;
        for (const std::string& extra : environment) {
            if (entry.compare(0, extra.find('=') + 1, extra, 0, extra.find('=') + 1) == 0) replaced = true;
        }
        if (!replaced) env.push_back(entry);
    }
    env.insert(env.end(), environment.begin(), environment.end());
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env) envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);

    // The child dies with this process (PR_SET_PDEATHSIG): a test that aborts must not
    // leave an X server behind holding the test runner's output open until its timeout.
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid < 0) {
        error = argv[0] + ": " + std::strerror(errno);
        return false;
    }
    if (pid == 0) {
        // Only async-signal-safe calls from here to exec.
        if (prctl(PR_SET_PDEATHSIG, SIGKILL) != 0 || getppid() != parent) _exit(126);
        if (inheritFd >= 0 && dup2(inheritFd, 3) < 0) _exit(126);
        execvpe(args[0], args.data(), envp.data());
        _exit(127);
    }
    pid_ = pid;
    // A program that cannot be started exits at once with 127.
    int status = 0;
    if (WaitUntil([&] { return waitpid(pid_, &status, WNOHANG) != 0; }, std::chrono::milliseconds(50)) &&
        WIFEXITED(status) && WEXITSTATUS(status) >= 126) {
        pid_ = -1;
        error = argv[0] + ": cannot be started";
        return false;
    }
    return true;
}

bool ChildProcess::Running() const {
    if (pid_ <= 0) return false;
    int status = 0;
    return waitpid(pid_, &status, WNOHANG) == 0;
}

void ChildProcess::Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    const bool exited = WaitUntil([&] { return waitpid(pid_, &status, WNOHANG) != 0; }, std::chrono::seconds(5));
    if (!exited) {
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    pid_ = -1;
}

std::string Receiver::Log() const { return ReadFile(logPath); }

std::string Receiver::WaitForLog(std::size_t size, std::chrono::milliseconds deadline) const {
    std::string log;
    WaitUntil([&] { return (log = Log()).size() >= size; }, deadline);
    return log;
}

X11Session::X11Session(bool windowManager) {
    char pattern[] = "/tmp/stallmark-x11-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
        error_ = "cannot make a temporary folder";
        return;
    }
    directory_ = pattern;

    int fds[2];
    if (pipe(fds) != 0) {
        error_ = "pipe failed";
        return;
    }
    fcntl(fds[0], F_SETFD, FD_CLOEXEC);
    std::string error;
    const bool started =
        xvfb_.Start({"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"}, {}, error, fds[1]);
    close(fds[1]);
    if (!started) {
        close(fds[0]);
        error_ = "cannot start Xvfb (Debian package xvfb): " + error;
        return;
    }
    std::string number;
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (number.find('\n') == std::string::npos && std::chrono::steady_clock::now() < end) {
        pollfd p{fds[0], POLLIN, 0};
        if (poll(&p, 1, 100) > 0) {
            char buffer[32];
            const ssize_t n = read(fds[0], buffer, sizeof buffer);
            if (n <= 0) break;
            number.append(buffer, static_cast<std::size_t>(n));
        }
    }
    close(fds[0]);
    if (number.find('\n') == std::string::npos) {
        error_ = "Xvfb did not report its display";
        return;
    }
    displayName_ = ":" + number.substr(0, number.find('\n'));

    if (!windowManager) return;
    const std::string config = directory_ + "/config";
    std::filesystem::create_directories(config);
    if (!openbox_.Start(
            {"openbox", "--sm-disable"},
            {"DISPLAY=" + displayName_, "XDG_CONFIG_HOME=" + config, "XDG_CACHE_HOME=" + config, "HOME=" + directory_},
            error)) {
        error_ = "cannot start openbox (Debian package openbox): " + error;
        return;
    }
    Display* display = XOpenDisplay(displayName_.c_str());
    if (display == nullptr) {
        error_ = "cannot open " + displayName_;
        return;
    }
    bool up = WaitUntil([&] { return WmRunning(display) || !openbox_.Running(); }) && openbox_.Running();
    if (up) {
        // Running is not yet managing: openbox may drop a map request that
        // comes in while it starts. Map a probe window until it is managed.
        const Window probe = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 10, 10, 0, 0, 0);
        up = WaitUntil(
            [&] {
                XMapWindow(display, probe);
                XFlush(display);
                return WaitUntil([&] { return HasWmState(display, probe); }, std::chrono::milliseconds(300));
            },
            std::chrono::seconds(15));
        XDestroyWindow(display, probe);
        XSync(display, False);
    }
    XCloseDisplay(display);
    if (!up) error_ = "openbox did not start managing the display";
}

X11Session::~X11Session() {
    openbox_.Stop();
    xvfb_.Stop();
    if (!directory_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(directory_, ignored);
    }
}

std::unique_ptr<Receiver> X11Session::StartReceiver(const ReceiverOptions& options) {
    auto receiver = std::make_unique<Receiver>();
    const std::string base = directory_ + "/receiver" + std::to_string(++receivers_);
    receiver->logPath = base + ".log";
    const std::string readyPath = base + ".ready";
    std::vector<std::string> argv = {STALLMARK_X11_RECEIVER, "--log", receiver->logPath, "--ready", readyPath};
    if (!options.windowClass.empty()) argv.insert(argv.end(), {"--class", options.windowClass});
    if (!options.title.empty()) argv.insert(argv.end(), {"--title", options.title});
    if (options.legacyTitle) argv.push_back("--legacy-title");
    if (options.iconic) argv.push_back("--iconic");
    std::string error;
    if (!receiver->process.Start(argv, {"DISPLAY=" + displayName_}, error)) return nullptr;
    std::string ready;
    if (!WaitUntil([&] { return !(ready = ReadFile(readyPath)).empty() || !receiver->process.Running(); })) {
        return nullptr;
    }
    if (ready.empty()) return nullptr;
    receiver->window = std::strtoul(ready.c_str(), nullptr, 10);
    return receiver;
}

}  // namespace stallmark::testing
