#include "lists/memos/MemoFile.h"

#include <algorithm>

#include "store/Fields.h"

namespace stallmark::memos {

bool LineCursor::Next(std::string_view& line) {
    if (next_ >= text_.size()) return false;
    begin_ = next_;
    const std::size_t lf = text_.find('\n', begin_);
    std::size_t end = lf == std::string_view::npos ? text_.size() : lf;
    next_ = lf == std::string_view::npos ? text_.size() : lf + 1;
    if (lf != std::string_view::npos && end > begin_ && text_[end - 1] == '\r') --end;
    line = text_.substr(begin_, end - begin_);
    return true;
}

bool IsHeaderLine(std::string_view line) {
    return !line.empty() && line.front() == '[' && line.find(']') != std::string_view::npos;
}

bool IsBlankLine(std::string_view line) { return IsBlank(line); }

std::string HeaderName(std::string_view line) {
    if (line.size() < 2) return {};
    return Trim(line.substr(1, line.size() - 2));
}

std::vector<std::string> SectionNames(std::string_view content) {
    std::vector<std::string> names;
    LineCursor lines(content);
    std::string_view line;
    while (lines.Next(line)) {
        if (!IsHeaderLine(line)) continue;
        std::string name = HeaderName(line);
        if (!name.empty()) names.push_back(std::move(name));
    }
    return names;
}

SectionSpan FindSection(std::string_view content, std::string_view name) {
    SectionSpan span;
    LineCursor lines(content);
    std::string_view line;
    while (lines.Next(line)) {
        if (!IsHeaderLine(line)) continue;
        if (span.found) {
            span.end = lines.LineBegin();
            return span;
        }
        if (HeaderName(line) == name) {
            span.found = true;
            span.begin = lines.LineBegin();
        }
    }
    if (span.found) span.end = content.size();
    return span;
}

std::vector<std::string> MemoLines(std::string_view content, std::string_view name, bool* found) {
    LineCursor lines(content);
    return ReadMemoLines(lines, name, found);
}

std::string SectionText(std::string_view name, const std::vector<std::string>& lines) {
    std::size_t size = name.size() + 4;
    for (const std::string& line : lines) size += line.size() + 2;
    std::string text;
    text.reserve(size);
    text += '[';
    text += name;
    text += "]\r\n";
    for (const std::string& line : lines) {
        text += line;
        text += "\r\n";
    }
    return text;
}

std::string WithMemo(std::string_view content, std::string_view name, const std::vector<std::string>& lines) {
    const std::string section = SectionText(name, lines);
    const SectionSpan span = FindSection(content, name);
    std::string out;
    if (span.found) {
        out.reserve(content.size() - (span.end - span.begin) + section.size());
        out.append(content.substr(0, span.begin));
        out.append(section);
        out.append(content.substr(span.end));
        return out;
    }
    // A new memo goes to the end, on a line of its own.
    out.reserve(content.size() + 2 + section.size());
    out.append(content);
    if (!out.empty() && out.back() != '\n') out += "\r\n";
    out.append(section);
    return out;
}

std::string WithoutMemo(std::string_view content, std::string_view name) {
    const SectionSpan span = FindSection(content, name);
    if (!span.found) return std::string(content);
    std::string out;
    out.reserve(content.size() - (span.end - span.begin));
    out.append(content.substr(0, span.begin));
    out.append(content.substr(span.end));
    return out;
}

std::string ProfileAsMemos(std::string_view profile) {
    std::vector<std::string> lines;
    LineCursor cursor(profile);
    std::string_view line;
    while (cursor.Next(line)) lines.emplace_back(line);
    return SectionText("My Profile", lines);
}

int MemoLength(const std::vector<std::string>& lines) {
    long long length = 0;
    for (const std::string& line : lines) length += static_cast<long long>(line.size()) + 1;
    return static_cast<int>(std::min<long long>(length, 0x7fffffff));
}

std::vector<std::string> BuildPlayList(const std::vector<std::string>& lines) {
    std::vector<std::string> items;
    std::string prefix;  // « while a pause marker is open, across line ends too
    for (const std::string& line : lines) {
        std::string buffer;
        for (const char c : line) {
            if (c == kPauseOpen) {
                // What an earlier « left open is that pause's text.
                if (!IsBlank(buffer)) items.push_back(prefix + buffer);
                buffer.clear();
                prefix.assign(1, kPauseOpen);
            } else if (c == kPauseClose) {
                if (prefix.empty()) continue;  // a » with no open marker is dropped
                if (!IsBlank(buffer)) items.push_back(prefix + buffer);
                buffer.clear();
                prefix.clear();
            } else {
                buffer += c;
            }
        }
        if (!IsBlank(buffer)) items.push_back(prefix + buffer);
    }
    return items;
}

bool IsPauseItem(std::string_view item) { return !item.empty() && item.front() == kPauseOpen; }

int PauseSeconds(std::string_view item) {
    if (!IsPauseItem(item)) return 0;
    const long long seconds = ToInt64OrZero(item.substr(1));
    if (seconds <= 0) return 0;
    return static_cast<int>(std::min<long long>(seconds, kMaxPauseSeconds));
}

}  // namespace stallmark::memos
