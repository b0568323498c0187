#pragma once
// A private X server for the X11 game link's tests and benchmark: Xvfb on a
// free display (found through -displayfd), optionally openbox on it, and
// receiver windows (x11_receiver) that log the bytes they are typed. Every
// process is started here and stopped by its PID.

#include <sys/types.h>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace stallmark::testing {

// A child process, stopped (SIGTERM, then SIGKILL) when this goes away.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess() { Stop(); }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Starts argv[0] (searched in PATH) with extra "NAME=value" entries in its
    // environment; false, with the reason in error, when it cannot start.
    bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment, std::string& error,
               int inheritFd = -1);
    void Stop();
    pid_t Pid() const { return pid_; }
    bool Running() const;

private:
    pid_t pid_ = -1;
};

struct ReceiverOptions {
    std::string windowClass;  // empty: "X11Receiver"
    std::string title;        // UTF-8
    bool legacyTitle = false;
    bool iconic = false;
};

class Receiver {
public:
    unsigned long window = 0;
    std::string logPath;
    ChildProcess process;

    // What the window has received so far.
    std::string Log() const;
    // Waits until the log holds at least size bytes, or the deadline passes.
    std::string WaitForLog(std::size_t size, std::chrono::milliseconds deadline = std::chrono::seconds(15)) const;
};

class X11Session {
public:
    // Starts Xvfb; with windowManager, openbox as well. On failure Ok() is false
    // and Error() says why (a missing program is named).
    explicit X11Session(bool windowManager);
    ~X11Session();

    bool Ok() const { return error_.empty(); }
    const std::string& Error() const { return error_; }
    const std::string& DisplayName() const { return displayName_; }

    // Starts a receiver window and waits until it is up; null on failure.
    std::unique_ptr<Receiver> StartReceiver(const ReceiverOptions& options);

private:
    std::string error_;
    std::string displayName_;
    std::string directory_;
    ChildProcess xvfb_;
    ChildProcess openbox_;
    int receivers_ = 0;
};

// Polls until check() holds or the deadline passes; returns the last result.
template <typename Check>
bool WaitUntil(Check check, std::chrono::milliseconds deadline = std::chrono::seconds(15)) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        if (check()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        struct timespec pause = {0, 5 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
}

}  // namespace stallmark::testing
