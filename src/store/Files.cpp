#include "store/Files.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <system_error>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#endif

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace stallmark {

namespace {

constexpr size_t kChunk = 1 << 20;

std::string ErrnoText(int code) { return std::generic_category().message(code); }

[[noreturn]] void ThrowErrno(int code, const std::string& path) {
    throw StoreError(ErrnoText(code) + ": " + path, code);
}

#ifdef _WIN32
std::string WindowsErrorText(DWORD code) {
    char buf[512];
    DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buf,
                             sizeof buf, nullptr);
    while (n > 0 && (buf[n - 1] == '\r' || buf[n - 1] == '\n' || buf[n - 1] == ' ' || buf[n - 1] == '.')) --n;
    if (n == 0) return "Error " + std::to_string(code);
    return std::string(buf, n);
}

[[noreturn]] void ThrowLastError(const std::string& path) {
    const DWORD code = GetLastError();
    throw StoreError(WindowsErrorText(code) + ": " + path, static_cast<int>(code));
}
#else
// Makes a rename in the folder of path lasting.
void SyncFolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    const int rc = ::fsync(fd);
    const int code = errno;
    ::close(fd);
    // Some file systems cannot sync a folder (EINVAL); only a real write failure counts.
    if (rc != 0 && code == EIO) ThrowErrno(code, folder);
}
#endif

}  // namespace

// ---------------------------------------------------------------- reading

namespace {

// The open file's size plus one (room for the end-of-file test after it); 0 when it is
// not a regular file or its size cannot be told.
unsigned long long SizePlusOne(std::FILE* file) {
#ifdef _WIN32
    struct _stat64 st {};
    if (_fstat64(_fileno(file), &st) != 0 || st.st_size < 0) return 0;
#else
    struct stat st {};
    if (::fstat(::fileno(file), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) return 0;
#endif
    return static_cast<unsigned long long>(st.st_size) + 1;
}

// A buffer for reading the open file: the whole of a small file (and the end-of-file test
// after it) in one piece, at most kChunk; it grows only for a line longer than that.
size_t InitialBufferSize(std::FILE* file) {
    constexpr size_t kSmallest = 4096;
    const unsigned long long size = SizePlusOne(file);
    if (size == 0) return kChunk;
    return size < kSmallest ? kSmallest : size > kChunk ? kChunk : static_cast<size_t>(size);
}

// A buffer for reading the whole open file at once: its size and one byte for the
// end-of-file test, so that a large file is neither copied nor zeroed again while it
// is read; kChunk for what is not a regular file (it grows as it must).
size_t WholeFileBufferSize(std::FILE* file) {
    const unsigned long long size = SizePlusOne(file);
    return size == 0 || size >= SIZE_MAX / 2 ? kChunk : static_cast<size_t>(size);
}

}  // namespace

LineReader::LineReader(const std::string& path, std::size_t maxLineBytes)
    : path_(path), limit_(maxLineBytes == 0 ? 1 : maxLineBytes) {
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) ThrowErrno(errno, path);
    buf_.resize(InitialBufferSize(file_));
}

LineReader::~LineReader() {
    if (file_ != nullptr) std::fclose(file_);
}

void LineReader::Fill() {
    if (begin_ > 0) {
        std::memmove(buf_.data(), buf_.data() + begin_, end_ - begin_);
        end_ -= begin_;
        scan_ -= begin_;
        begin_ = 0;
    }
    if (end_ == buf_.size()) buf_.resize(buf_.size() * 2);  // a whole line longer than the buffer
    const size_t got = std::fread(buf_.data() + end_, 1, buf_.size() - end_, file_);
    if (got == 0) {
        if (std::ferror(file_)) ThrowErrno(errno != 0 ? errno : EIO, path_);
        eof_ = true;
    }
    end_ += got;
}

void LineReader::SkipRestOfLine() {
    for (;;) {
        if (scan_ < end_) {
            const void* found = std::memchr(buf_.data() + scan_, '\n', end_ - scan_);
            if (found != nullptr) {
                begin_ = scan_ = static_cast<size_t>(static_cast<const char*>(found) - buf_.data()) + 1;
                skipping_ = false;
                return;
            }
        }
        begin_ = scan_ = end_;  // all of it belongs to the cut line
        if (eof_) {
            skipping_ = false;
            return;
        }
        Fill();
    }
}

void LineReader::Deliver(std::string_view& line, const char* data, std::size_t length) {
    ++lineNumber_;
    lastCut_ = length > limit_;
    if (lastCut_) {
        length = limit_;
        if (cutLines_++ == 0) firstCut_ = lineNumber_;
    }
    line = std::string_view(data, length);
}

bool LineReader::Next(std::string_view& line) {
    lastCut_ = false;
    if (skipping_) SkipRestOfLine();
    for (;;) {
        const char* base = buf_.data();
        if (scan_ < end_) {
            const void* found = std::memchr(base + scan_, '\n', end_ - scan_);
            if (found != nullptr) {
                const size_t pos = static_cast<size_t>(static_cast<const char*>(found) - base);
                size_t length = pos - begin_;
                if (length > 0 && base[pos - 1] == '\r') --length;
                Deliver(line, base + begin_, length);
                begin_ = scan_ = pos + 1;
                return true;
            }
            scan_ = end_;
        }
        const size_t have = end_ - begin_;
        if (have > limit_ && have - limit_ > 1) {
            // Longer than the limit whatever its end turns out to be (a CR before the LF at
            // most): deliver its beginning now and skip the rest at the next call.
            Deliver(line, base + begin_, have);
            begin_ = scan_ = end_;
            skipping_ = true;
            return true;
        }
        if (eof_) {
            if (begin_ == end_) return false;
            Deliver(line, base + begin_, have);  // last line without an end
            begin_ = scan_ = end_;
            return true;
        }
        Fill();
    }
}

bool LineReader::Next(std::string& line) {
    std::string_view view;
    if (!Next(view)) return false;
    line.assign(view);
    return true;
}

std::string LineReader::CutLinesMessage() const {
    if (cutLines_ == 0) return {};
    return stallmark::CutLinesMessage(FileNameOf(path_), firstCut_, cutLines_, limit_);
}

std::string CutLinesMessage(const std::string& fileName, std::size_t firstLine, std::size_t count,
                            std::size_t maxLineBytes) {
    std::string text = "Line " + std::to_string(firstLine) + " of " + fileName;
    if (count > 1)
        text += " and " + std::to_string(count - 1) + (count == 2 ? " more line are" : " more lines are");
    else
        text += " is";
    text += " longer than " + std::to_string(maxLineBytes) + " characters and ";
    text += count > 1 ? "were" : "was";
    text += " cut on loading; the file itself is unchanged.";
    return text;
}

std::vector<std::string> ReadLines(const std::string& path, std::size_t maxLineBytes) {
    std::vector<std::string> lines;
    LineReader reader(path, maxLineBytes);
    std::string_view line;
    while (reader.Next(line)) lines.emplace_back(line);
    return lines;
}

std::size_t CountLineFeeds(std::string_view text) {
    std::size_t count = 0;
    const char* at = text.data();
    const char* const end = at + text.size();
#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
    // Sixteen bytes at a time: each byte lane counts its line feeds for up to 255 blocks,
    // then the lanes are summed.
    const __m128i feed = _mm_set1_epi8('\n');
    while (end - at >= 16) {
        const std::size_t blocks = std::min<std::size_t>(255, static_cast<std::size_t>(end - at) / 16);
        const char* const stop = at + blocks * 16;
        __m128i lanes = _mm_setzero_si128();
        for (; at < stop; at += 16)
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)), feed));
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        count +=
            static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) + static_cast<std::size_t>(_mm_extract_epi16(sums, 4));
    }
#endif
    while (at < end) {
        const void* lf = std::memchr(at, '\n', static_cast<std::size_t>(end - at));
        if (!lf) break;
        ++count;
        at = static_cast<const char*>(lf) + 1;
    }
    return count;
}

namespace {

template <typename Bytes>
Bytes ReadWholeFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) ThrowErrno(errno, path);
    Bytes bytes;
    bytes.resize(WholeFileBufferSize(file));
    size_t size = 0;
    for (;;) {
        if (size == bytes.size()) bytes.resize(size + kChunk);
        const size_t got = std::fread(bytes.data() + size, 1, bytes.size() - size, file);
        size += got;
        if (got == 0) break;
    }
    const bool failed = std::ferror(file) != 0;
    const int code = errno;
    std::fclose(file);
    if (failed) ThrowErrno(code != 0 ? code : EIO, path);
    bytes.resize(size);
    return bytes;
}

}  // namespace

std::string ReadFileBytes(const std::string& path) { return ReadWholeFile<std::string>(path); }

BigBytes ReadBigFileBytes(const std::string& path) { return ReadWholeFile<BigBytes>(path); }

void SplitLines(std::string_view text, std::vector<std::string_view>& lines) {
    lines.clear();
    size_t begin = 0;
    while (begin < text.size()) {
        size_t pos = text.find('\n', begin);
        if (pos == std::string_view::npos) {
            lines.push_back(text.substr(begin));
            return;
        }
        size_t length = pos - begin;
        if (length > 0 && text[pos - 1] == '\r') --length;
        lines.push_back(text.substr(begin, length));
        begin = pos + 1;
    }
}

// ---------------------------------------------------------------- writing

FileWriter::FileWriter(std::string path, const std::string& modeFrom) : path_(std::move(path)) {
#ifdef _WIN32
    (void)modeFrom;
    HANDLE h = CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) ThrowLastError(path_);
    handle_ = h;
#else
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd_ < 0) ThrowErrno(errno, path_);
    // The new file keeps the permissions of the one it replaces.
    struct stat st {};
    if (::stat(modeFrom.c_str(), &st) == 0 && S_ISREG(st.st_mode)) (void)::fchmod(fd_, st.st_mode & 07777);
#endif
    buffer_ = std::make_unique_for_overwrite<char[]>(kBufferBytes);
}

FileWriter::~FileWriter() { Abandon(); }

void FileWriter::WriteLong(std::string_view bytes) {
    Flush();
    if (bytes.size() <= kBufferBytes) {
        std::memcpy(buffer_.get(), bytes.data(), bytes.size());
        used_ = bytes.size();
        return;
    }
    // A long run goes out directly.
    WriteOut(bytes.data(), bytes.size());
}

void FileWriter::WriteLine(std::string_view line) {
    Write(line);
    Write("\r\n");
}

void FileWriter::Flush() {
    WriteOut(buffer_.get(), used_);
    used_ = 0;
}

void FileWriter::WriteOut(const char* data, size_t left) {
    while (left > 0) {
#ifdef _WIN32
        DWORD written = 0;
        const DWORD part = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
        if (!WriteFile(static_cast<HANDLE>(handle_), data, part, &written, nullptr)) ThrowLastError(path_);
#else
        const ssize_t written = ::write(fd_, data, left);
        if (written < 0) {
            if (errno == EINTR) continue;
            ThrowErrno(errno, path_);
        }
#endif
        data += written;
        left -= static_cast<size_t>(written);
    }
}

void FileWriter::Commit() {
    Flush();
#ifdef _WIN32
    if (!FlushFileBuffers(static_cast<HANDLE>(handle_))) ThrowLastError(path_);
    HANDLE h = static_cast<HANDLE>(handle_);
    handle_ = nullptr;
    if (!CloseHandle(h)) ThrowLastError(path_);
#else
    if (::fsync(fd_) != 0) ThrowErrno(errno, path_);
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) ThrowErrno(errno, path_);
#endif
}

void FileWriter::Abandon() {
#ifdef _WIN32
    if (handle_ != nullptr) CloseHandle(static_cast<HANDLE>(handle_));
    handle_ = nullptr;
#else
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
#endif
}

namespace {

[[noreturn]] void ThrowReadOnly(const std::string& path) {
#ifdef _WIN32
    throw StoreError("File is read-only: " + path, ERROR_ACCESS_DENIED);
#else
    throw StoreError("File is read-only: " + path, EACCES);
#endif
}

}  // namespace

void ReplaceFileAtomically(const std::string& path, const std::function<void(FileWriter&)>& write,
                           const std::string& tempPath) {
    // A link stays a link: the file it points to is replaced, through a working copy beside
    // that file (a rename cannot cross into another folder's file system).
    const std::string target = LinkTarget(path);
    const std::string temp = target != path     ? WorkingCopyPath(target, "tmp")
                             : tempPath.empty() ? WorkingCopyPath(path, "tmp")
                                                : tempPath;
    if (IsReadOnlyFile(target)) ThrowReadOnly(target);
    {
        FileWriter writer(temp, target);
        try {
            write(writer);
            writer.Commit();
        } catch (...) {
            writer.Abandon();
#ifdef _WIN32
            DeleteFileA(temp.c_str());
#else
            ::unlink(temp.c_str());
#endif
            throw;
        }
    }
#ifdef _WIN32
    if (!MoveFileExA(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        DeleteFileA(temp.c_str());
        throw StoreError(WindowsErrorText(code) + ": " + target, static_cast<int>(code));
    }
#else
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        ThrowErrno(code, target);
    }
    SyncFolderOf(target);
#endif
}

void ReplaceFileAtomically(const std::string& path, std::string_view content, const std::string& tempPath) {
    ReplaceFileAtomically(
        path, [content](FileWriter& out) { out.Write(content); }, tempPath);
}

void WriteLines(const std::string& path, const std::vector<std::string>& lines, const std::string& tempPath) {
    ReplaceFileAtomically(
        path,
        [&lines](FileWriter& out) {
            for (const std::string& line : lines) out.WriteLine(line);
        },
        tempPath);
}

void ReplaceFilesAtomically(const std::vector<FileContent>& files, std::size_t* replaced) {
    if (replaced) *replaced = 0;
    struct Staged {
        std::string target;
        std::string temp;
    };
    std::vector<Staged> staged;
    staged.reserve(files.size());
    // Every file is checked before anything is written.
    for (const FileContent& file : files) {
        const std::string target = LinkTarget(file.path);
        if (IsReadOnlyFile(target)) ThrowReadOnly(target);
        staged.push_back({target, WorkingCopyPath(target, "tmp")});
    }
    auto removeTemps = [&staged](size_t from) {
        for (size_t i = from; i < staged.size(); ++i) {
#ifdef _WIN32
            DeleteFileA(staged[i].temp.c_str());
#else
            ::unlink(staged[i].temp.c_str());
#endif
        }
    };
    size_t written = 0;
    try {
        for (; written < files.size(); ++written) {
            FileWriter writer(staged[written].temp, staged[written].target);
            writer.Write(files[written].content);
            writer.Commit();
        }
    } catch (...) {
        // The copy being written when it failed is removed too (if it was made at all).
        removeTemps(0);
        throw;
    }
    for (size_t i = 0; i < staged.size(); ++i) {
#ifdef _WIN32
        if (!MoveFileExA(staged[i].temp.c_str(), staged[i].target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            const DWORD code = GetLastError();
            removeTemps(i);
            throw StoreError(WindowsErrorText(code) + ": " + staged[i].target, static_cast<int>(code));
        }
#else
        if (::rename(staged[i].temp.c_str(), staged[i].target.c_str()) != 0) {
            const int code = errno;
            removeTemps(i);
            ThrowErrno(code, staged[i].target);
        }
#endif
        if (replaced) *replaced = i + 1;
    }
#ifndef _WIN32
    for (const Staged& file : staged) SyncFolderOf(file.target);
#endif
}

// ---------------------------------------------------------------- names and folder entries

std::string WorkingCopyPath(const std::string& path, const std::string& ending) {
    std::string out = path.size() >= 3 ? path.substr(0, path.size() - 3) + ending : path + "." + ending;
    if (out == path) out = path + "." + ending;
    return out;
}

std::string FileNameOf(const std::string& path) {
#ifdef _WIN32
    const size_t cut = path.find_last_of("\\/:");
#else
    const size_t cut = path.find_last_of('/');
#endif
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

bool FileExists(const std::string& path) {
#ifdef _WIN32
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
#else
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
#endif
}

std::string LinkTarget(const std::string& path) {
    constexpr int kMaxHops = 40;  // as the system allows
    std::string current = path;
    for (int hop = 0; hop < kMaxHops; ++hop) {
        std::string text;
#ifdef _WIN32
        std::error_code ec;
        const std::filesystem::path p(current);
        if (!std::filesystem::is_symlink(p, ec) || ec) return current;
        const std::filesystem::path to = std::filesystem::read_symlink(p, ec);
        if (ec) return current;
        text = to.string();
        const bool absolute = to.is_absolute();
#else
        struct stat st {};
        if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
        std::vector<char> buf(static_cast<size_t>(st.st_size > 0 ? st.st_size : 255) + 1);
        for (;;) {
            const ssize_t n = ::readlink(current.c_str(), buf.data(), buf.size());
            if (n < 0) ThrowErrno(errno, current);
            if (static_cast<size_t>(n) < buf.size()) {
                text.assign(buf.data(), static_cast<size_t>(n));
                break;
            }
            buf.resize(buf.size() * 2);  // the link changed since lstat
        }
        const bool absolute = !text.empty() && text[0] == '/';
#endif
        if (absolute) {
            current = text;
        } else {
#ifdef _WIN32
            const size_t cut = current.find_last_of("\\/:");
#else
            const size_t cut = current.find_last_of('/');
#endif
            current = (cut == std::string::npos ? std::string() : current.substr(0, cut + 1)) + text;
        }
    }
#ifdef _WIN32
    throw StoreError("Too many levels of symbolic links: " + path, ERROR_CANT_RESOLVE_FILENAME);
#else
    ThrowErrno(ELOOP, path);
#endif
}

bool IsReadOnlyFile(const std::string& path) {
#ifdef _WIN32
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0 &&
           (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
#else
    // The permission bits, not access(): the super-user may write anything, but a file that
    // nobody may write was made read-only on purpose.
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && (st.st_mode & 0222) == 0;
#endif
}

void CreateEmptyFile(const std::string& path) {
    if (IsReadOnlyFile(path)) ThrowReadOnly(path);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) ThrowErrno(errno, path);
    if (std::fclose(file) != 0) ThrowErrno(errno, path);
}

void RemoveFile(const std::string& path) {
#ifdef _WIN32
    if (DeleteFileA(path.c_str())) return;
    DWORD code = GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return;
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        if (RemoveDirectoryA(path.c_str())) return;
        code = GetLastError();
    }
    throw StoreError(WindowsErrorText(code) + ": " + path, static_cast<int>(code));
#else
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return;
    int code = errno;
    if (code == EISDIR || code == EPERM) {
        if (::rmdir(path.c_str()) == 0) return;
        code = errno == ENOTDIR ? code : errno;
    }
    ThrowErrno(code, path);
#endif
}

void RenameFile(const std::string& from, const std::string& to) {
#ifdef _WIN32
    if (!MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ThrowLastError(from);
#else
    if (::rename(from.c_str(), to.c_str()) != 0) ThrowErrno(errno, from);
    SyncFolderOf(to);
#endif
}

}  // namespace stallmark
