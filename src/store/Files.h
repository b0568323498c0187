#pragma once
// Reading and writing the data files. Lines end with CR LF on write; reading accepts
// CR LF and LF and a last line without an end, and keeps every other byte as it is.
// Every rewrite is atomic: the new content goes to a sibling working copy that is
// flushed to disk and then renamed over the file, so the file is always whole.
// Failures throw StoreError with the system's text and the path.

#include <cstdio>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

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

// Reads a file line by line without copying: each view stays valid until the next call.
class LineReader {
public:
    explicit LineReader(const std::string& path);
    ~LineReader();
    LineReader(const LineReader&) = delete;
    LineReader& operator=(const LineReader&) = delete;

    // The next line without its end; false at the end of the file.
    bool Next(std::string_view& line);
    bool Next(std::string& line);

private:
    void Fill();

    std::string path_;
    std::FILE* file_ = nullptr;
    std::vector<char> buf_;
    size_t begin_ = 0;  // start of the current line
    size_t scan_ = 0;   // where the search for its end goes on
    size_t end_ = 0;    // end of the bytes read
    bool eof_ = false;
};

// Every line of the file (no lines for an empty file).
std::vector<std::string> ReadLines(const std::string& path);
// The whole file as bytes.
std::string ReadFileBytes(const std::string& path);
// Cuts text into lines the way the readers above do; the views point into text.
void SplitLines(std::string_view text, std::vector<std::string_view>& lines);

class FileWriter;

// Replaces the file at path by what write produces: the bytes go to tempPath (by default
// the working copy WorkingCopyPath(path, "tmp")), which is flushed, synced and renamed over
// path. A leftover working copy is overwritten. On failure the working copy is removed, the
// file at path is left as it was, and StoreError is thrown.
void ReplaceFileAtomically(const std::string& path, const std::function<void(FileWriter&)>& write,
                           const std::string& tempPath = {});

// Output to the working copy of a file being replaced (see ReplaceFileAtomically).
class FileWriter {
public:
    ~FileWriter();
    FileWriter(const FileWriter&) = delete;
    FileWriter& operator=(const FileWriter&) = delete;

    void Write(std::string_view bytes);
    // line followed by CR LF.
    void WriteLine(std::string_view line);
    const std::string& Path() const { return path_; }

private:
    friend void ReplaceFileAtomically(const std::string&, const std::function<void(FileWriter&)>&, const std::string&);
    FileWriter(std::string path, const std::string& modeFrom);
    void Flush();
    void Commit();   // flush, sync to disk, close
    void Abandon();  // close without syncing

    std::string path_;
    std::string buffer_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

void ReplaceFileAtomically(const std::string& path, std::string_view content, const std::string& tempPath = {});
// Replaces the file with lines, each ended with CR LF.
void WriteLines(const std::string& path, const std::vector<std::string>& lines, const std::string& tempPath = {});

// path with its last three characters replaced by ending ("MWStock.dat" -> "MWStock.tmp").
// When that would name path itself, "." and ending are appended instead.
std::string WorkingCopyPath(const std::string& path, const std::string& ending);
// The part of path after its last folder separator ("/", "\" or ":").
std::string FileNameOf(const std::string& path);

// True when something (file or folder) exists at path.
bool FileExists(const std::string& path);
// Creates an empty file at path; an existing file is emptied.
void CreateEmptyFile(const std::string& path);
// Removes the file (or empty folder) at path; a missing file is no error.
void RemoveFile(const std::string& path);
// Renames from to to, replacing a file at to.
void RenameFile(const std::string& from, const std::string& to);

}  // namespace stallmark
