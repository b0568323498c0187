#pragma once
// Record files kept in order: the weapon and armour lists change them one line at a
// time, and any data file can be sorted whole. Both rewrite the file atomically through
// its working copy (the name with "dat" replaced by "tmp").

#include <string>
#include <vector>

namespace stallmark {

// Ordered insert (del = false) or delete (del = true) of one line in the file at path.
// Adding puts line in front of the first line that does not sort before it
// (CompareRecordLines), or last; a blank line is never added. Deleting removes the first
// line exactly equal to line. A missing file is created (holding just the added line).
// Every other line is kept as it is (lines are rewritten with CR LF).
void WriteRecordLine(const std::string& path, const std::string& line, bool del);

// Sorts lines by CompareRecordLines, equal lines keeping their order: the order that
// repeated passes swapping neighbours that sort the wrong way round would give.
void SortRecordLines(std::vector<std::string>& lines);

// A key whose byte order is the order of CompareRecordLines: equal keys for
// lines that compare equal, and a < b exactly when CompareRecordLines(a, b) < 0.
std::string RecordSortKey(std::string_view line);

// Sorts the lines of the file at path by CompareRecordLines, equal lines keeping their
// order. Nothing happens when the file does not exist; otherwise it is always rewritten.
void SortRecordFileAt(const std::string& path);

}  // namespace stallmark
