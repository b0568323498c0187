#pragma once
// The text of a string grid, stored compactly: one 8-byte slot per cell in a
// row-major table. A text whose every character has a Windows-1252 byte is
// kept as those bytes (nearly all list data): up to 7 bytes inside the slot
// itself, longer ones in one shared pool; any other text is kept as UTF-16 in
// the pool. Empty cells take no pool space. Overwritten text leaves garbage
// in the pool, which is compacted once it outweighs the live text; the pool
// keeps its size across reloads, so that a list reloaded from its file reuses
// the memory it had.

#include <QString>
#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "store/BigMemory.h"

namespace stallmark {

class CellStore {
public:
    int Cols() const { return cols_; }
    int Rows() const { return rows_; }

    // Keeps the text of the cells that stay inside the new size; new cells are empty.
    void Resize(int cols, int rows);
    void SetRows(int rows) { Resize(cols_, rows); }

    QString Get(int col, int row) const;
    // The cell as Windows-1252 bytes (characters outside it become '?').
    std::string GetBytes(int col, int row) const;
    // GetBytes appended to out, with no string of its own; false when the cell holds
    // characters that Windows-1252 lacks (they are appended as '?').
    bool AppendBytes(int col, int row, std::string& out) const;
    // The same written to out, which has room for Length(col, row) bytes (one byte for
    // every character).
    bool CopyBytes(int col, int row, char* out) const;
    // The cell's bytes where they lie, with no copy: in the pool, or a short text in the
    // cell's own slot. The view holds until the next change to any cell. False, with
    // nothing viewed, for text kept as UTF-16 (AppendBytes converts it), and for a short
    // text on a machine whose slots keep it in another byte order.
    bool View(int col, int row, std::string_view& view) const {
        const Cell& cell = At(col, row);
        if (cell.length == 0) {
            view = {};
            return true;
        }
        if (IsInline(cell)) {
            if constexpr (std::endian::native != std::endian::little) return false;
            view = std::string_view(reinterpret_cast<const char*>(&cell), (cell.length >> 24) - 0x40);
            return true;
        }
        if (cell.length & kWide) return false;
        view = std::string_view(pool_.data() + cell.offset, cell.length);
        return true;
    }
    // View for a store that holds no text kept as UTF-16 (HasWideText() false) on a
    // little-endian machine: the same view, chosen without a branch between a text in the
    // slot and one in the pool (which a column of mixed lengths would mispredict).
    [[gnu::always_inline]] std::string_view ViewNarrow(int col, int row) const {
        const Cell& cell = At(col, row);
        const bool inSlot = IsInline(cell);
        const char* const slot = reinterpret_cast<const char*>(&cell);
        const char* const pooled = pool_.data() + (inSlot ? 0 : cell.offset);
        const size_t bytes = inSlot ? (cell.length >> 24) - 0x40 : cell.length;
        return {inSlot ? slot : pooled, bytes};
    }
    // Some cell holds text kept as UTF-16.
    bool HasWideText() const;
    int Length(int col, int row) const;
    bool IsEmpty(int col, int row) const { return At(col, row).length == 0; }
    void Set(int col, int row, const QString& text);
    void SetBytes(int col, int row, std::string_view bytes);
    // Columns 0 .. count - 1 of a row at once (the fast path of a fill).
    void SetRowBytes(int row, const std::string_view* fields, int count);
    void Clear(int col, int row) {
        ++changes_;
        ColumnSet(col);
        NoteSet(row, row + 1);
        Release(At(col, row));
    }
    // How many times the text of a cell, the rows or their order changed: equal counts
    // mean the same texts in the same places.
    std::uint64_t Changes() const { return changes_; }
    // The count of changes at the last one to column col's texts taken together: a cell of
    // it set or cleared, rows added or taken away, the store filled or cleared. Rows moved
    // or put in another order leave it. Equal counts mean the same texts in the column (in
    // whatever order).
    std::uint64_t ColumnChanges(int col) const {
        const std::uint64_t own =
            col >= 0 && static_cast<size_t>(col) < columnSetAt_.size() ? columnSetAt_[static_cast<size_t>(col)] : 0;
        return std::max(allSetAt_, own);
    }
    // From now on the rows whose cells are set are noted, as one range.
    void MarkRows() {
        marked_ = true;
        setFirst_ = setEnd_ = 0;
    }
    // The rows whose cells were set since MarkRows(): rows first .. end - 1 hold every one
    // (first == end: none). False when there is no mark, or rows were taken away, moved
    // or all cleared since (the rows' places no longer tell what changed).
    bool RowsSetSinceMark(int& first, int& end) const {
        if (!marked_) return false;
        first = setFirst_;
        end = setEnd_;
        return true;
    }

    void ClearAll();
    // Trades contents (cells, text and the memory holding them) with other; both count
    // it as a change.
    void Swap(CellStore& other) noexcept;
    void InsertRows(int at, int count);
    void RemoveRows(int at, int count);
    // Takes row `from` out and puts it back so that it ends up at index `to`.
    void MoveRow(int from, int to);
    // order[i] is the old index of the row that goes to index i; order is a
    // permutation of first .. first + order.size() - 1. When more than a few rows move
    // and the pool is larger than kPoolKeptInPlace, the pool is laid out again in the
    // rows' new order (views of it taken before no longer hold).
    void PermuteRows(int first, const std::vector<int>& order);
    // A pool of at most this many bytes stays in the processor's last-level cache
    // wherever its texts lie: a reorder moves the slots only.
    static constexpr size_t kPoolKeptInPlace = size_t{8} << 20;

    // Heap bytes held for the text and the slots (capacity, not size).
    size_t MemoryBytes() const { return pool_.capacity() + cells_.capacity() * sizeof(Cell); }
    size_t GarbageBytes() const { return garbage_; }
    void Compact();
    // Room for about this many more bytes of pool text (only touched memory counts).
    void ReservePool(size_t bytes);

private:
    // A slot: either offset + length into the pool, or up to 7 bytes inline.
    // The top byte of `length` (byte 7) tells them apart: 0x40 + n for n
    // inline bytes; otherwise bit 31 marks UTF-16 text in the pool.
    // Trivial, so that a table grows by a plain zero fill; Cell{} is the empty cell.
    struct Cell {
        uint32_t offset;
        uint32_t length;
    };
    // The pool's bytes: a buffer that keeps its capacity when cleared and whose room is
    // taken without being touched, so that a fill writes each text once, in place.
    class Pool {
    public:
        Pool() = default;
        Pool(const Pool& other) { *this = other; }
        Pool& operator=(const Pool& other);
        // A move hands the memory over whole.
        Pool(Pool&& other) noexcept { swap(other); }
        Pool& operator=(Pool&& other) noexcept {
            Pool gone;
            gone.swap(other);
            swap(gone);
            return *this;
        }
        ~Pool() { BigMemory::Free(data_, capacity_); }
        char* data() { return data_; }
        const char* data() const { return data_; }
        size_t size() const { return size_; }
        size_t capacity() const { return capacity_; }
        void clear() { size_ = 0; }
        void reserve(size_t bytes);
        // The size after the caller wrote bytes up to it (at most the capacity).
        void SetSize(size_t size) { size_ = size; }
        // n more bytes at the end, for the caller to write.
        char* Extend(size_t n) {
            if (capacity_ - size_ < n) reserve(std::max(size_ + n, capacity_ * 2));
            char* at = data_ + size_;
            size_ += n;
            return at;
        }
        void append(const char* bytes, size_t n) {
            if (n != 0) std::memcpy(Extend(n), bytes, n);
        }
        void assign(const std::string& bytes) {
            size_ = 0;
            append(bytes.data(), bytes.size());
        }
        void swap(Pool& other) noexcept {
            std::swap(data_, other.data_);
            std::swap(size_, other.size_);
            std::swap(capacity_, other.capacity_);
        }

    private:
        char* data_ = nullptr;
        size_t size_ = 0;
        size_t capacity_ = 0;
    };
    static constexpr uint32_t kWide = 0x80000000u;
    static constexpr uint32_t kInline = 0x40000000u;
    static constexpr uint32_t kMaxPooled = 0x3FFFFFFFu;
    static bool IsInline(const Cell& c) { return (c.length & 0xC0000000u) == kInline; }
    static uint32_t PoolBytes(const Cell& c) { return IsInline(c) ? 0 : c.length & ~kWide; }

    Cell& At(int col, int row) { return cells_[static_cast<size_t>(row) * cols_ + col]; }
    const Cell& At(int col, int row) const { return cells_[static_cast<size_t>(row) * cols_ + col]; }
    void Release(Cell& cell);
    void Store(Cell& cell, const char* data, uint32_t bytes, bool wide);
    // The slot of 1 .. 7 bytes kept inline.
    static Cell Packed(const char* data, uint32_t bytes);
    void MaybeCompact();
    // Rows first .. end - 1 set (a cell of theirs, or added).
    void NoteSet(int first, int end) {
        if (!marked_ || first >= end) return;
        if (setFirst_ == setEnd_) {
            setFirst_ = first;
            setEnd_ = end;
            return;
        }
        setFirst_ = std::min(setFirst_, first);
        setEnd_ = std::max(setEnd_, end);
    }

    int cols_ = 0;
    int rows_ = 0;
    using Cells = std::vector<Cell, BigAllocator<Cell>>;
    Cells cells_;
    Pool pool_;
    size_t garbage_ = 0;
    std::uint64_t changes_ = 0;
    // Whether some cell is wide, as told when the count of changes was wideToldAt_.
    mutable bool wide_ = false;
    mutable std::uint64_t wideToldAt_ = ~std::uint64_t{0};
    // Before a change that only moves rows: what was told stays told.
    void KeepWideTold() {
        if (wideToldAt_ == changes_) ++wideToldAt_;
    }
    bool marked_ = false;
    int setFirst_ = 0, setEnd_ = 0;
    // ColumnChanges: the count of changes when every column's texts last changed, and when
    // each column's own did (a cell of it set).
    std::uint64_t allSetAt_ = 0;
    std::vector<std::uint64_t> columnSetAt_;
    void AllColumnsSet() { allSetAt_ = changes_; }
    void ColumnSet(int col) {
        if (col < 0) return;
        if (static_cast<size_t>(col) >= columnSetAt_.size()) columnSetAt_.resize(static_cast<size_t>(col) + 1, 0);
        columnSetAt_[static_cast<size_t>(col)] = changes_;
    }
};

}  // namespace stallmark
