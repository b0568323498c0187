#pragma once
// Running store operations in a folder that cannot be written.

#include <functional>
#include <string>

#include "store/Files.h"
#include "support/TempDir.h"

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace stallmark::test {

// Runs action where dir cannot be written and returns the text of the StoreError it throws
// ("" when it throws none). An ordinary user gets dir made read-only; the super-user, whom
// permissions do not stop, runs action in a child process that has become the user "nobody".
inline std::string FailureInReadOnlyFolder(const TempDir& dir, const std::function<void()>& action) {
    auto attempt = [&]() -> std::string {
        try {
            action();
            return "";
        } catch (const StoreError& e) {
            return e.what();
        } catch (...) {
            return "an error other than StoreError";
        }
    };
    if (::geteuid() != 0) {
        ::chmod(dir.Path().c_str(), 0555);
        const std::string result = attempt();
        ::chmod(dir.Path().c_str(), 0755);
        return result;
    }
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    const pid_t pid = ::fork();
    if (pid < 0) return "fork failed";
    if (pid == 0) {
        ::close(fds[0]);
        const std::string result =
            ::setgid(65534) == 0 && ::setuid(65534) == 0 ? attempt() : std::string("cannot become nobody");
        const ssize_t ignored = ::write(fds[1], result.data(), result.size());
        (void)ignored;
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string result;
    char buf[512];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;) result.append(buf, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return result;
}

}  // namespace stallmark::test
#endif
