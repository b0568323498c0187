#include "game/FakeGameWindows.h"

#include <algorithm>
#include <stdexcept>

namespace stallmark {

namespace {

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool ClassEquals(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
}

}  // namespace

WindowHandle FakeGameWindows::Add(FakeWindow window) {
    const WindowHandle handle = nextHandle_++;
    windows_.push_back({handle, std::move(window)});
    zOrder_.push_back(handle);
    return handle;
}

WindowHandle FakeGameWindows::AddOnTop(FakeWindow window) {
    const WindowHandle handle = Add(std::move(window));
    MoveToTop(handle);
    return handle;
}

WindowHandle FakeGameWindows::AddWindow(const std::string& windowClass, const std::string& title) {
    FakeWindow window;
    window.windowClass = windowClass;
    window.title = title;
    return Add(std::move(window));
}

void FakeGameWindows::Remove(WindowHandle window) {
    windows_.erase(std::remove_if(windows_.begin(), windows_.end(), [&](const Entry& e) { return e.handle == window; }),
                   windows_.end());
    zOrder_.erase(std::remove(zOrder_.begin(), zOrder_.end(), window), zOrder_.end());
}

FakeWindow& FakeGameWindows::Window(WindowHandle window) {
    Entry* entry = Find(window);
    if (entry == nullptr) throw std::out_of_range("no such fake window");
    return entry->window;
}

bool FakeGameWindows::Exists(WindowHandle window) const { return Find(window) != nullptr; }

FakeGameWindows::Entry* FakeGameWindows::Find(WindowHandle window) {
    for (Entry& e : windows_) {
        if (e.handle == window) return &e;
    }
    return nullptr;
}

const FakeGameWindows::Entry* FakeGameWindows::Find(WindowHandle window) const {
    for (const Entry& e : windows_) {
        if (e.handle == window) return &e;
    }
    return nullptr;
}

void FakeGameWindows::MoveToTop(WindowHandle window) {
    auto it = std::find(zOrder_.begin(), zOrder_.end(), window);
    if (it != zOrder_.end()) std::rotate(zOrder_.begin(), it, it + 1);
}

void FakeGameWindows::Log(FakeOperation operation) {
    bool delivered = false;
    if (operation.op == FakeOp::PostChar) delivered = Exists(operation.window);
    operations_.push_back(operation);
    delivered_.push_back(delivered);
    if (onOperation) onOperation(operation);
}

std::vector<std::string> FakeGameWindows::Trace(bool withDelivery) const {
    std::vector<std::string> lines;
    for (const FakeOperation& o : operations_) {
        const std::string w = std::to_string(o.window);
        switch (o.op) {
            case FakeOp::Restore: lines.push_back("restore " + w); break;
            case FakeOp::BringToTop: lines.push_back("top " + w); break;
            case FakeOp::SetForeground: lines.push_back("foreground " + w); break;
            case FakeOp::PostChar: lines.push_back("char " + w + " " + std::to_string(o.value)); break;
            case FakeOp::BringProgramForward: lines.push_back("program"); break;
            case FakeOp::ProcessEvents: lines.push_back("events"); break;
            case FakeOp::Sleep: lines.push_back("sleep " + std::to_string(o.value)); break;
            case FakeOp::Flush:
                if (withDelivery) lines.push_back("flush");
                break;
            case FakeOp::FinishSend:
                if (withDelivery) lines.push_back("finish");
                break;
        }
    }
    return lines;
}

std::string FakeGameWindows::PostedText(WindowHandle window) const {
    std::string text;
    for (std::size_t i = 0; i < operations_.size(); ++i) {
        const FakeOperation& o = operations_[i];
        if (o.op == FakeOp::PostChar && delivered_[i] && o.window == window) text.push_back(static_cast<char>(o.value));
    }
    return text;
}

std::string FakeGameWindows::AllPosted() const {
    std::string text;
    for (std::size_t i = 0; i < operations_.size(); ++i) {
        const FakeOperation& o = operations_[i];
        if (o.op == FakeOp::PostChar && delivered_[i]) text.push_back(static_cast<char>(o.value));
    }
    return text;
}

int FakeGameWindows::Count(FakeOp op, WindowHandle window) const {
    return static_cast<int>(std::count_if(operations_.begin(), operations_.end(), [&](const FakeOperation& o) {
        return o.op == op && (window == 0 || o.window == window);
    }));
}

void FakeGameWindows::ClearLog() {
    operations_.clear();
    delivered_.clear();
}

WindowHandle FakeGameWindows::FindByClass(const std::string& windowClass) {
    for (const WindowHandle handle : zOrder_) {
        if (ClassEquals(Find(handle)->window.windowClass, windowClass)) return handle;
    }
    return 0;
}

std::vector<WindowHandle> FakeGameWindows::TopLevelWindows() { return zOrder_; }

std::string FakeGameWindows::Title(WindowHandle window) {
    const Entry* entry = Find(window);
    if (entry == nullptr) return {};
    return entry->window.title.substr(0, 260);
}

bool FakeGameWindows::IsVisible(WindowHandle window) {
    const Entry* entry = Find(window);
    return entry != nullptr && entry->window.visible;
}

bool FakeGameWindows::HasOwner(WindowHandle window) {
    const Entry* entry = Find(window);
    return entry != nullptr && entry->window.owned;
}

bool FakeGameWindows::HasParent(WindowHandle window) {
    const Entry* entry = Find(window);
    return entry != nullptr && entry->window.child;
}

bool FakeGameWindows::IsToolWindow(WindowHandle window) {
    const Entry* entry = Find(window);
    return entry != nullptr && entry->window.tool;
}

bool FakeGameWindows::IsMinimised(WindowHandle window) {
    const Entry* entry = Find(window);
    return entry != nullptr && entry->window.minimised;
}

void FakeGameWindows::Restore(WindowHandle window) {
    if (Entry* entry = Find(window)) {
        entry->window.minimised = false;
        entry->window.visible = true;
    }
    Log({FakeOp::Restore, window, 0});
}

void FakeGameWindows::BringToTop(WindowHandle window) {
    MoveToTop(window);
    Log({FakeOp::BringToTop, window, 0});
}

void FakeGameWindows::SetForeground(WindowHandle window) {
    if (Exists(window)) {
        foreground_ = window;
        MoveToTop(window);
    }
    Log({FakeOp::SetForeground, window, 0});
}

void FakeGameWindows::PostChar(WindowHandle window, std::uint8_t code) { Log({FakeOp::PostChar, window, code}); }

void FakeGameWindows::BringProgramForward() {
    foreground_ = programWindow_;
    Log({FakeOp::BringProgramForward, 0, 0});
}

void FakeGameWindows::Flush() { Log({FakeOp::Flush, 0, 0}); }

int FakeGameWindows::SettleMs() {
    if (settleReplies.empty()) return 0;
    const int ms = settleReplies.front();
    settleReplies.erase(settleReplies.begin());
    return ms;
}

void FakeGameWindows::FinishSend() { Log({FakeOp::FinishSend, 0, 0}); }

void CountingPacer::ProcessEvents() {
    ++processEventsCalls_;
    if (log_ != nullptr) log_->Log({FakeOp::ProcessEvents, 0, 0});
    if (onProcessEvents) onProcessEvents();
}

void CountingPacer::Sleep(int milliseconds) {
    sleeps_.push_back(milliseconds);
    if (log_ != nullptr) log_->Log({FakeOp::Sleep, 0, milliseconds});
}

long long CountingPacer::TotalSleepMs() const {
    long long total = 0;
    for (const int ms : sleeps_) total += ms;
    return total;
}

void CountingPacer::Reset() {
    processEventsCalls_ = 0;
    sleeps_.clear();
}

}  // namespace stallmark
