#pragma once
// Record files kept in order: the weapon and armour lists change them one line at a
// time, and any data file can be sorted whole. Both rewrite the file atomically through
// its working copy (the name with "dat" replaced by "tmp").

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "store/BigMemory.h"

namespace stallmark {

// Ordered insert (del = false) or delete (del = true) of one line in the file at path.
// Adding puts line in front of the first line that does not sort before it
// (CompareRecordLines), or last; a blank line is never added. Deleting removes the first
// line exactly equal to line. A missing file is created (holding just the added line).
// Every other line is kept as it is (lines are rewritten with CR LF).
void WriteRecordLine(const std::string& path, const std::string& line, bool del);

// WriteRecordLine on a file whose content is known: text, read before and not changed
// since. The same bytes are written, without reading the file again; what was written
// comes back with where the change lies.
struct RecordLineWritten {
    BigBytes content;       // the file's new content
    bool changed = false;   // a line was added or removed
    std::size_t index = 0;  // the number (from 0) of the line added or removed
    bool crLf = true;       // every line of text already ended with CR LF (else all were rewritten)
};
RecordLineWritten WriteRecordLineOver(const std::string& path, std::string_view text, const std::string& line,
                                      bool del);

// Sorts lines by CompareRecordLines, equal lines keeping their order: the order that
// repeated passes swapping neighbours that sort the wrong way round would give.
void SortRecordLines(std::vector<std::string>& lines);

// A key whose byte order is the order of CompareRecordLines: equal keys for
// lines that compare equal, and a < b exactly when CompareRecordLines(a, b) < 0.
std::string RecordSortKey(std::string_view line);

// Sorts the lines of the file at path by CompareRecordLines, equal lines keeping their
// order. Nothing happens when the file does not exist; otherwise it is always rewritten.
void SortRecordFileAt(const std::string& path);

// SortRecordFileAt(first) and then SortRecordFileAt(second), with the same files in the
// end and the same failures: the second file is never written when the first fails, and
// stays as it was when it fails itself. The second file's lines are read and put in order
// while the first's are (on a thread of their own), and the files are then written one
// after the other. Returns what each file holds now (empty for a missing file).
struct SortedFiles {
    BigBytes first, second;
};
SortedFiles SortRecordFilesAt(const std::string& first, const std::string& second);

// What tells one content of a file from another without reading it: the file's identity
// (device and inode, or volume and file index), its size, and the times of its last
// write and last change, as finely as the system keeps them. A rewrite through a working
// copy gives the file a new identity; a write in place changes the change time, which no
// program can set back.
struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds (Windows: 100 ns steps)
    std::int64_t changed = 0;
    bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at path (exists false when there is no file to stat).
FileStamp StampOf(const std::string& path);

}  // namespace stallmark
