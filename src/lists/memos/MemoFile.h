#pragma once
// The memo file and the playback items of a memo, as bytes (Windows-1252).
//
// "Memos.dat" is a run of sections. A section starts with a header line, "[" + name + "]",
// and holds the memo's lines up to the next header or the end of the file. A line is a
// header when it is not empty, starts with "[" and holds a "]" anywhere; its name is the
// line without its first and last character. Lines before the first header belong to no
// memo. Two sections may carry the same name: the first one is the memo, and saving or
// deleting acts on it alone.
//
// Saving and deleting work on the file's bytes: the section is cut out and the new one
// put in its place, so every other byte of the file, line ends included, stays as it was.
//
// A memo plays as items, one per timer tick: a text item is typed followed by Enter; a
// pause item, «n» in the memo (bytes 171, the seconds, 187), holds the next item back.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace stallmark::memos {

inline constexpr char kPauseOpen = '\xAB';   // «
inline constexpr char kPauseClose = '\xBB';  // »
inline constexpr int kMaxPauseSeconds = 99999;
inline constexpr int kMaxNameLength = 40;
inline constexpr int kTicksPerSecond = 2;  // the timer runs every 500 ms

// Lines of a text as the readers take them: the end is LF with an optional CR before it;
// the last line may lack its end.
class LineCursor {
public:
    explicit LineCursor(std::string_view text) : text_(text) {}
    // The next line without its end; false at the end of the text.
    bool Next(std::string_view& line);
    // Where the line Next gave last starts, and where the line after it starts.
    std::size_t LineBegin() const { return begin_; }
    std::size_t NextBegin() const { return next_; }

private:
    std::string_view text_;
    std::size_t begin_ = 0;
    std::size_t next_ = 0;
};

bool IsHeaderLine(std::string_view line);
// Empty, or blanks and control characters only.
bool IsBlankLine(std::string_view line);
// The name a header line gives its memo: the line without its first and last character,
// trimmed of blanks.
std::string HeaderName(std::string_view line);

// Where each section of a file's content starts, so that one memo can be found, read
// or replaced without going through the whole file again.
class MemoIndex {
public:
    struct Section {
        std::string name;  // trimmed; empty for a header with a blank name
        std::size_t begin = 0;
    };

    MemoIndex() = default;
    static MemoIndex Of(std::string_view content);

    // The first section named name (a blank name finds none); null when there is none.
    const Section* Find(std::string_view name) const;
    // Where a section ends: where the next one starts, or the end of the content.
    std::size_t End(const Section& section) const;
    // The names of the sections, each once, blank ones left out.
    std::vector<std::string> Names() const;
    const std::vector<Section>& Sections() const { return sections_; }
    std::size_t ContentSize() const { return size_; }

    // Follows a change of the content: its bytes from begin to end (both at the start
    // of a line, or at the end) replaced by text, which ends with a line end or is empty.
    void Splice(std::size_t begin, std::size_t end, std::string_view text);

private:
    void IndexNames();

    std::vector<Section> sections_;  // in file order
    std::unordered_map<std::string, std::size_t> first_;
    std::size_t size_ = 0;
};

// The lines of the first memo named name, read from lines (anything with
// bool Next(std::string_view&): a LineCursor, a LineReader) up to the end of the memo; a
// blank line (blanks and control characters only) comes back empty. found tells whether
// the memo exists.
template <typename Lines>
std::vector<std::string> ReadMemoLines(Lines& lines, std::string_view name, bool* found = nullptr) {
    std::vector<std::string> out;
    bool inMemo = false;
    std::string_view line;
    while (lines.Next(line)) {
        if (IsHeaderLine(line)) {
            if (inMemo) break;
            inMemo = HeaderName(line) == name;
        } else if (inMemo) {
            out.emplace_back(IsBlankLine(line) ? std::string_view() : line);
        }
    }
    if (found != nullptr) *found = inMemo;
    return out;
}
std::vector<std::string> MemoLines(std::string_view content, std::string_view name, bool* found = nullptr);

// The section of a memo as written: its header and its lines, each ended by CR LF.
std::string SectionText(std::string_view name, const std::vector<std::string>& lines);
// content with the first memo named name replaced by lines, or the memo added at the end
// when there is none.
std::string WithMemo(std::string_view content, std::string_view name, const std::vector<std::string>& lines);
// content without the first memo named name (unchanged when there is none).
std::string WithoutMemo(std::string_view content, std::string_view name);

// A change to content: the first memo named name replaced by lines (added at the end when
// there is none), or removed when deleting. index is content's and follows the change.
// changed is false when there was nothing to change (deleting a memo that isn't there).
struct MemoEdit {
    std::string content;
    bool changed = false;
};
MemoEdit EditMemo(std::string_view content, MemoIndex& index, std::string_view name,
                  const std::vector<std::string>* lines);

// The whole file, and bytes of it from offset; StoreError when they can't be read.
std::string ReadWholeFile(const std::string& path);
std::string ReadFilePart(const std::string& path, std::size_t offset, std::size_t length);

// What tells whether a file was changed since it was last read: its size and the time
// of its last change. Unreadable (equal to no other) when the file can't be looked at.
struct FileStamp {
    bool readable = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type time{};
    bool operator==(const FileStamp& other) const {
        return readable && other.readable && size == other.size && time == other.time;
    }
};
FileStamp StampOf(const std::string& path);

// "Memos.dat" made from the single memo of an older "Profile.dat": the header
// "[My Profile]" and every line of the profile.
std::string ProfileAsMemos(std::string_view profile);

// The keystrokes a memo takes in the game: each character and each line end; 0 for none.
int MemoLength(const std::vector<std::string>& lines);

// The memo's lines as playback items (see above). An open « makes everything up to its »
// the pause's text, across line ends too.
std::vector<std::string> BuildPlayList(const std::vector<std::string>& lines);
// Whether an item is a pause item.
bool IsPauseItem(std::string_view item);
// A pause length as the player writes it: an optional sign and decimal digits. 0 for
// anything else and for lengths not above 0; lengths above kMaxPauseSeconds, however
// many digits they have, are held to it.
int PauseLength(std::string_view text);
// The seconds of a pause item (its text after «), read by PauseLength.
int PauseSeconds(std::string_view item);

}  // namespace stallmark::memos
