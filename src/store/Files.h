#pragma once
// Reading and writing the data files. Lines end with CR LF on write; reading accepts
// CR LF and LF and a last line without an end, and keeps every other byte as it is (a
// lone CR inside a line is data).
// Every rewrite is atomic: the new content goes to a sibling working copy that is
// flushed to disk and then renamed over the file, so the file is always whole.
// A file the player made read-only is never rewritten, and a file that is a symbolic
// link is rewritten where the link points, so the link stays a link.
// Failures throw StoreError with the system's text and the path.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "store/BigMemory.h"

namespace stallmark {

// A failed file operation. what() is the system's error text followed by the path,
// e.g. "Permission denied: /home/ann/.local/share/Stallmark/MWStock.dat".
class StoreError : public std::runtime_error {
public:
    explicit StoreError(const std::string& message, int code = 0) : std::runtime_error(message), code_(code) {}
    // errno (or the Windows error code); 0 for the program's own messages.
    int Code() const { return code_; }

private:
    int code_;
};

// The most bytes of one line that a list loads: 64 KiB, far more than anything a player
// types into a line or a field (a field never holds more than its line). A list loads its
// file with LineReader(path, kMaxLineBytes): a longer line comes cut to its first
// kMaxLineBytes bytes, the rest of it is skipped without being read into memory, and the
// reader tells which lines were cut (CutLines, FirstCutLine, CutLinesMessage), so that the
// list can say so once. The file itself is left as it is.
inline constexpr std::size_t kMaxLineBytes = 64 * 1024;

// Reads a file line by line without copying: each view stays valid until the next call.
class LineReader {
public:
    // No limit: every line whole, however long.
    static constexpr std::size_t kWholeLines = SIZE_MAX;

    // Every line whole, however long: for copying a file line by line, which must never
    // cut a line.
    explicit LineReader(const std::string& path) : LineReader(path, kWholeLines) {}
    // Lines of at most maxLineBytes bytes (at least 1); a list loads with kMaxLineBytes.
    LineReader(const std::string& path, std::size_t maxLineBytes);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its end; false at the end of the file. A line longer than the
    // limit comes as its first MaxLineBytes() bytes.
    bool Next(std::string_view& line);
    bool Next(std::string& line);

    std::size_t MaxLineBytes() const { return limit_; }
    // The number (from 1) of the line Next gave last; 0 before the first.
    std::size_t LineNumber() const { return lineNumber_; }
    // Whether the line Next gave last was cut.
    bool LastLineCut() const { return lastCut_; }
    // How many lines were cut so far, and the number of the first of them (0: none).
    std::size_t CutLines() const { return cutLines_; }
    std::size_t FirstCutLine() const { return firstCut_; }
    // For the list that loads the file, to show once after loading: "" when no line was cut,
    // otherwise CutLinesMessage(FileNameOf(path), FirstCutLine(), CutLines(), MaxLineBytes()).
    std::string CutLinesMessage() const;

private:
    void Fill();
    void SkipRestOfLine();
    void Deliver(std::string_view& line, const char* data, std::size_t length);

    std::string path_;
    std::FILE* file_ = nullptr;
    std::vector<char> buf_;
    size_t begin_ = 0;  // start of the current line
    size_t scan_ = 0;   // where the search for its end goes on
    size_t end_ = 0;    // end of the bytes read
    bool eof_ = false;
    std::size_t limit_ = kMaxLineBytes;
    bool skipping_ = false;  // the rest of a cut line is still to be skipped
    bool lastCut_ = false;
    std::size_t lineNumber_ = 0;
    std::size_t cutLines_ = 0;
    std::size_t firstCut_ = 0;
};

// The notice that lines of a file were cut on loading, e.g. "Line 12 of MWStock.dat is
// longer than 65536 characters and was cut on loading; the file itself is unchanged." (with
// more than one: "Line 12 of MWStock.dat and 2 more lines are longer than ...").
std::string CutLinesMessage(const std::string& fileName, std::size_t firstLine, std::size_t count,
                            std::size_t maxLineBytes = kMaxLineBytes);

// Every line of the file (no lines for an empty file), each cut to maxLineBytes bytes (by
// default whole).
std::vector<std::string> ReadLines(const std::string& path, std::size_t maxLineBytes = LineReader::kWholeLines);
// How many LF bytes text holds (memchr runs, not a byte at a time).
std::size_t CountLineFeeds(std::string_view text);

// The whole file as bytes.
std::string ReadFileBytes(const std::string& path);
// The same in memory meant for a large file (see BigMemory.h): for a list's whole file.
BigBytes ReadBigFileBytes(const std::string& path);
// Cuts text into lines the way the readers above do; the views point into text.
void SplitLines(std::string_view text, std::vector<std::string_view>& lines);

class FileWriter;
struct FileContent;

// Replaces the file at path by what write produces: the bytes go to tempPath (by default
// the working copy WorkingCopyPath(path, "tmp")), which is flushed, synced and renamed over
// path. A leftover working copy is overwritten. On failure the working copy is removed, the
// file at path is left as it was, and StoreError is thrown.
// When path is a symbolic link, the file it points to (LinkTarget) is replaced instead,
// through the working copy WorkingCopyPath(target, "tmp") beside it; the link stays.
// A read-only file (IsReadOnlyFile) is not replaced: StoreError "File is read-only: "
// followed by its path, and nothing is written.
void ReplaceFileAtomically(const std::string& path, const std::function<void(FileWriter&)>& write,
                           const std::string& tempPath = {});

// Output to the working copy of a file being replaced (see ReplaceFileAtomically).
class FileWriter {
public:
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    void Write(std::string_view bytes) {
        // The usual piece fits the buffer: copied, with no call.
        if (bytes.size() <= kBufferBytes - used_) {
            if (!bytes.empty()) std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
            used_ += bytes.size();
            return;
        }
        WriteLong(bytes);
    }
    // The pieces one after another, with one look at the buffer's room.
    void WritePieces(std::initializer_list<std::string_view> pieces) {
        size_t total = 0;
        for (const std::string_view piece : pieces) total += piece.size();
        if (total <= kBufferBytes - used_) {
            for (const std::string_view piece : pieces) {
                if (!piece.empty()) std::memcpy(buffer_.get() + used_, piece.data(), piece.size());
                used_ += piece.size();
            }
            return;
        }
        for (const std::string_view piece : pieces) Write(piece);
    }
    // Room for n more bytes, for the caller to write at once; nullptr when n is more
    // than the buffer holds (Write takes such a run).
    char* Room(std::size_t n) {
        if (n > kBufferBytes - used_) {
            if (n > kBufferBytes) return nullptr;
            Flush();
        }
        char* at = buffer_.get() + used_;
        used_ += n;
        return at;
    }
    // line followed by CR LF.
    void WriteLine(std::string_view line);
    const std::string& Path() const { return path_; }

private:
    static constexpr std::size_t kBufferBytes = std::size_t{1} << 20;
    void WriteLong(std::string_view bytes);
    void WriteOut(const char* data, std::size_t size);
    friend void ReplaceFileAtomically(const std::string&, const std::function<void(FileWriter&)>&, const std::string&);
    friend void ReplaceFilesAtomically(const std::vector<FileContent>&, std::size_t*);
    FileWriter(std::string path, const std::string& modeFrom);
    void Flush();
    void Commit();   // flush, sync to disk, close
    void Abandon();  // close without syncing

    std::string path_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

void ReplaceFileAtomically(const std::string& path, std::string_view content, const std::string& tempPath = {});
// Replaces the file with lines, each ended with CR LF.
void WriteLines(const std::string& path, const std::vector<std::string>& lines, const std::string& tempPath = {});

// A file and the whole content it is to hold.
struct FileContent {
    std::string path;
    std::string content;
};
// Replaces files that only make sense together (two files of one list, line for line):
// every new content goes to its file's working copy WorkingCopyPath(path, "tmp") first,
// flushed and synced, and only when all of them are written are they renamed over their
// files, in order. A failure before the renames (a full disk, a read-only file, a working
// copy that cannot be made) removes the working copies, leaves every file as it was and
// throws StoreError. Links and read-only files are treated as by ReplaceFileAtomically.
// Only a failed rename (a file another program holds locked) can leave the files before it
// replaced and those after it not; replaced, when given, then tells how many of the files,
// from the first, were replaced (0 for any failure before the renames, and on success all).
void ReplaceFilesAtomically(const std::vector<FileContent>& files, std::size_t* replaced = nullptr);

// path with its last three characters replaced by ending ("MWStock.dat" -> "MWStock.tmp").
// When that would name path itself, "." and ending are appended instead.
std::string WorkingCopyPath(const std::string& path, const std::string& ending);
// The part of path after its last folder separator ("/", "\" or ":").
std::string FileNameOf(const std::string& path);

// True when something (file or folder) exists at path.
bool FileExists(const std::string& path);
// The file a symbolic link at path points to, following links to links (relative targets
// are taken from the link's folder); path itself when it is no link. StoreError when the
// links go round in a loop.
std::string LinkTarget(const std::string& path);
// Whether path names a file that the player made read-only: a file (through links) with
// no write permission for anyone, or with the read-only attribute on Windows. A missing
// file is not read-only.
bool IsReadOnlyFile(const std::string& path);
// Creates an empty file at path; an existing file is emptied, unless it is read-only
// (StoreError "File is read-only: ...").
void CreateEmptyFile(const std::string& path);
// Removes the file (or empty folder) at path; a missing file is no error.
void RemoveFile(const std::string& path);
// Renames from to to, replacing a file at to.
void RenameFile(const std::string& from, const std::string& to);

}  // namespace stallmark
