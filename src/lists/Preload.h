#pragma once
// Work begun on a thread of its own before it is needed, and its result taken once where
// it is: a list's file read and cut into rows while the window is still being built.
// Whoever takes the result checks that it still holds (the file unchanged since); a
// failed or missing result means the work is simply done again where it is needed.

#include <exception>
#include <functional>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

namespace stallmark {

template <typename Result>
class Preload {
public:
    // Starts work on a thread of its own; where no thread can be had, nothing is done ahead.
    explicit Preload(std::function<Result()> work) : work_(std::move(work)) {
        try {
            thread_ = std::thread([this] { Run(); });
        } catch (const std::system_error&) {
        }
    }
    // Waits for the work, whose result goes unused.
    ~Preload() {
        if (thread_.joinable()) thread_.join();
    }
    Preload(const Preload&) = delete;
    Preload& operator=(const Preload&) = delete;

    // The result, once, after the work has ended; nothing when it failed or never began.
    std::optional<Result> Take() {
        if (thread_.joinable()) thread_.join();
        return std::exchange(result_, std::nullopt);
    }

private:
    void Run() {
        try {
            result_ = work_();
        } catch (...) {
            result_.reset();  // done again where it is needed, which says what went wrong
        }
    }

    std::function<Result()> work_;
    std::optional<Result> result_;
    std::thread thread_;  // last: started once the rest is in place
};

}  // namespace stallmark
