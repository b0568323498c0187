#include "lists/memos/MemoFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <system_error>

#include "store/Fields.h"
#include "store/Files.h"

namespace stallmark::memos {

namespace {

[[noreturn]] void ThrowFileError(int code, const std::string& path) {
    throw StoreError(std::generic_category().message(code) + ": " + path, code);
}

// Closes the file however the reading ends.
struct OpenFile {
    std::FILE* file;
    explicit OpenFile(const std::string& path) : file(std::fopen(path.c_str(), "rb")) {
        if (file == nullptr) ThrowFileError(errno, path);
    }
    ~OpenFile() { std::fclose(file); }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
};

// Reads up to length bytes from where the file stands; fewer only at its end.
std::string ReadBytes(OpenFile& in, std::size_t length, const std::string& path) {
    std::string bytes(length, '\0');
    std::size_t got = 0;
    while (got < length) {
        const std::size_t n = std::fread(bytes.data() + got, 1, length - got, in.file);
        if (n == 0) break;
        got += n;
    }
    if (std::ferror(in.file)) ThrowFileError(errno != 0 ? errno : EIO, path);
    bytes.resize(got);
    return bytes;
}

}  // namespace

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

// --- the index --------------------------------------------------------------------------

MemoIndex MemoIndex::Of(std::string_view content) {
    MemoIndex index;
    index.Splice(0, 0, content);
    return index;
}

const MemoIndex::Section* MemoIndex::Find(std::string_view name) const {
    if (name.empty()) return nullptr;
    const auto it = first_.find(std::string(name));
    return it == first_.end() ? nullptr : &sections_[it->second];
}

std::size_t MemoIndex::End(const Section& section) const {
    const std::size_t i = static_cast<std::size_t>(&section - sections_.data());
    return i + 1 < sections_.size() ? sections_[i + 1].begin : size_;
}

std::vector<std::string> MemoIndex::Names() const {
    std::vector<std::string> names;
    names.reserve(first_.size());
    for (const Section& section : sections_) {
        const auto it = first_.find(section.name);
        if (it != first_.end() && &sections_[it->second] == &section) names.push_back(section.name);
    }
    return names;
}

void MemoIndex::Splice(std::size_t begin, std::size_t end, std::string_view text) {
    // The first section that starts at or after an offset.
    const auto firstFrom = [this](std::size_t at) {
        return std::lower_bound(sections_.begin(), sections_.end(), at,
                                [](const Section& s, std::size_t offset) { return s.begin < offset; });
    };
    // Headers are found by their "[": rare in memo text, so most lines are never looked at.
    std::vector<Section> inserted;
    for (std::size_t at = text.find('['); at != std::string_view::npos; at = text.find('[', at + 1)) {
        if (at > 0 && text[at - 1] != '\n') continue;  // not at the start of a line
        std::size_t lineEnd = text.find('\n', at);
        if (lineEnd == std::string_view::npos)
            lineEnd = text.size();
        else if (lineEnd > at && text[lineEnd - 1] == '\r')
            --lineEnd;
        const std::string_view line = text.substr(at, lineEnd - at);
        if (IsHeaderLine(line)) inserted.push_back({HeaderName(line), begin + at});
    }

    const auto from = firstFrom(begin);
    const auto to = firstFrom(end);
    const std::ptrdiff_t delta = static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(end - begin);
    for (auto it = to; it != sections_.end(); ++it)
        it->begin = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(it->begin) + delta);
    const auto at = sections_.erase(from, to);
    sections_.insert(at, std::make_move_iterator(inserted.begin()), std::make_move_iterator(inserted.end()));
    size_ = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(size_) + delta);
    IndexNames();
}

void MemoIndex::IndexNames() {
    first_.clear();
    first_.reserve(sections_.size());
    for (std::size_t i = 0; i < sections_.size(); ++i)
        if (!sections_[i].name.empty()) first_.emplace(sections_[i].name, i);  // keeps the first
}

// --- reading and changing memos -----------------------------------------------------------

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

MemoEdit EditMemo(std::string_view content, MemoIndex& index, std::string_view name,
                  const std::vector<std::string>* lines) {
    MemoEdit edit;
    std::size_t begin = content.size(), end = content.size();
    std::string text;
    if (const MemoIndex::Section* section = index.Find(name)) {
        begin = section->begin;
        end = index.End(*section);
    } else if (lines == nullptr) {
        edit.content.assign(content);  // nothing to delete
        return edit;
    } else if (!content.empty() && content.back() != '\n') {
        text = "\r\n";  // a new memo goes to the end, on a line of its own
    }
    if (lines != nullptr) text += SectionText(name, *lines);
    edit.content.reserve(content.size() - (end - begin) + text.size());
    edit.content.append(content.substr(0, begin));
    edit.content.append(text);
    edit.content.append(content.substr(end));
    edit.changed = true;
    index.Splice(begin, end, text);
    return edit;
}

std::string WithMemo(std::string_view content, std::string_view name, const std::vector<std::string>& lines) {
    MemoIndex index = MemoIndex::Of(content);
    return EditMemo(content, index, name, &lines).content;
}

std::string WithoutMemo(std::string_view content, std::string_view name) {
    MemoIndex index = MemoIndex::Of(content);
    return EditMemo(content, index, name, nullptr).content;
}

std::string ProfileAsMemos(std::string_view profile) {
    std::vector<std::string> lines;
    LineCursor cursor(profile);
    std::string_view line;
    while (cursor.Next(line)) lines.emplace_back(line);
    return SectionText("My Profile", lines);
}

// --- files ----------------------------------------------------------------------------------

std::string ReadWholeFile(const std::string& path) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    OpenFile in(path);
    // The size is only a hint: a file that grows meanwhile is read to its end.
    std::string bytes = ReadBytes(in, error ? 0 : static_cast<std::size_t>(size), path);
    for (;;) {
        std::string more = ReadBytes(in, 1 << 16, path);
        if (more.empty()) break;
        bytes += more;
    }
    return bytes;
}

std::string ReadFilePart(const std::string& path, std::size_t offset, std::size_t length) {
    OpenFile in(path);
    if (std::fseek(in.file, static_cast<long>(offset), SEEK_SET) != 0) ThrowFileError(errno, path);
    return ReadBytes(in, length, path);
}

FileStamp StampOf(const std::string& path) {
    FileStamp stamp;
    std::error_code error;
    stamp.size = std::filesystem::file_size(path, error);
    if (error) return stamp;
    stamp.time = std::filesystem::last_write_time(path, error);
    stamp.readable = !error;
    return stamp;
}

// --- length and playback --------------------------------------------------------------------

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

int PauseLength(std::string_view text) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size()) return 0;
    // Gathered up to just past the longest pause, so no number of digits overflows.
    int seconds = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return 0;
        seconds = std::min(seconds * 10 + (c - '0'), kMaxPauseSeconds + 1);
    }
    if (negative) return 0;
    return std::min(seconds, kMaxPauseSeconds);
}

int PauseSeconds(std::string_view item) { return IsPauseItem(item) ? PauseLength(item.substr(1)) : 0; }

}  // namespace stallmark::memos
