#include "controls/CellStore.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <stdexcept>

#include "controls/Text1252.h"
#include "store/Prefetch.h"

namespace stallmark {

namespace {

// Bytes 0 .. n - 1 of data (4 <= n <= 8) as the low bytes of a number, byte 0 lowest
// (on a little-endian machine), reading no byte past data + n: two 4-byte loads that
// overlap.
inline uint64_t LoadLow(const char* data, uint32_t n) {
    uint32_t lo = 0, hi = 0;
    std::memcpy(&lo, data, 4);
    std::memcpy(&hi, data + n - 4, 4);
    return static_cast<uint64_t>(lo) | static_cast<uint64_t>(hi) << ((n - 4) * 8);
}

// The same for 1 <= n <= 3.
inline uint64_t LoadShort(const char* data, uint32_t n) {
    const auto byte = [&](uint32_t i) { return static_cast<uint64_t>(static_cast<unsigned char>(data[i])) << (i * 8); };
    return byte(0) | byte(n / 2) | byte(n - 1);
}

// n >= 8 bytes from `from` to `to`; the short texts of a fill without a call.
inline void CopyText(char* to, const char* from, size_t n) {
    if (n > 32) {
        std::memcpy(to, from, n);
        return;
    }
    uint64_t a = 0, b = 0;
    if (n > 16) {
        uint64_t c = 0, d = 0;
        std::memcpy(&c, from + 8, 8);
        std::memcpy(&d, from + n - 16, 8);
        std::memcpy(to + 8, &c, 8);
        std::memcpy(to + n - 16, &d, 8);
    }
    std::memcpy(&a, from, 8);
    std::memcpy(&b, from + n - 8, 8);
    std::memcpy(to, &a, 8);
    std::memcpy(to + n - 8, &b, 8);
}

// n slots of a row from `from` to `to`, without a call for rows of a few columns.
template <typename Slot>
inline void CopySlots(Slot* to, const Slot* from, size_t n) {
    if (n > 8) {
        std::memcpy(to, from, n * sizeof(Slot));
        return;
    }
    switch (n) {
        case 8: to[7] = from[7]; [[fallthrough]];
        case 7: to[6] = from[6]; [[fallthrough]];
        case 6: to[5] = from[5]; [[fallthrough]];
        case 5: to[4] = from[4]; [[fallthrough]];
        case 4: to[3] = from[3]; [[fallthrough]];
        case 3: to[2] = from[2]; [[fallthrough]];
        case 2: to[1] = from[1]; [[fallthrough]];
        case 1: to[0] = from[0]; [[fallthrough]];
        default: break;
    }
}

void UnpackInline(uint32_t offset, uint32_t length, char* buf) {
    std::memcpy(buf, &offset, 4);
    buf[4] = static_cast<char>(length & 0xFF);
    buf[5] = static_cast<char>((length >> 8) & 0xFF);
    buf[6] = static_cast<char>((length >> 16) & 0xFF);
}

}  // namespace

inline CellStore::Cell CellStore::Packed(const char* data, uint32_t bytes) {
    Cell cell{};
    if constexpr (std::endian::native == std::endian::little) {
        // Bytes 0-6 of the slot are the text, byte 7 the marker (the top byte of length),
        // gathered in a register: loads that overlap rather than a copy through memory.
        const uint64_t text = bytes >= 4 ? LoadLow(data, bytes) : LoadShort(data, bytes);
        const uint64_t packed = text | static_cast<uint64_t>(0x40u + bytes) << 56;
        cell.offset = static_cast<uint32_t>(packed);
        cell.length = static_cast<uint32_t>(packed >> 32);
    } else {
        char buf[8] = {};
        std::memcpy(buf, data, bytes);
        std::memcpy(&cell.offset, buf, 4);
        cell.length = (static_cast<uint32_t>(static_cast<unsigned char>(buf[4])) |
                       static_cast<uint32_t>(static_cast<unsigned char>(buf[5])) << 8 |
                       static_cast<uint32_t>(static_cast<unsigned char>(buf[6])) << 16) |
                      (0x40u + bytes) << 24;
    }
    return cell;
}

void CellStore::Resize(int cols, int rows) {
    ++changes_;
    AllColumnsSet();
    cols = std::max(cols, 0);
    rows = std::max(rows, 0);
    // Rows added at the end are new rows set; anything else moves or takes rows away.
    if (cols != cols_ || rows < rows_)
        marked_ = false;
    else
        NoteSet(rows_, rows);
    if (rows > rows_) {
        // Virtual room only: pages not written to cost nothing, and a growing
        // pool is not copied again and again during a fill.
        ReservePool(static_cast<size_t>(rows - rows_) * static_cast<size_t>(cols) * 16);
    }
    if (cols == cols_) {
        if (rows < rows_) {
            // The text of the rows cut off becomes garbage. Every pool byte is either
            // garbage or a cell's, so the rows kept tell it as well as the rows cut off:
            // count whichever are fewer (a reload cuts a long list to a row or two).
            const size_t keep = static_cast<size_t>(rows) * cols_;
            if (keep < cells_.size() - keep) {
                size_t live = 0;
                for (size_t i = 0; i < keep; ++i) live += PoolBytes(cells_[i]);
                garbage_ = pool_.size() - live;
            } else {
                for (size_t i = keep; i < cells_.size(); ++i) garbage_ += PoolBytes(cells_[i]);
            }
        }
        cells_.resize(static_cast<size_t>(rows) * cols);
        rows_ = rows;
        MaybeCompact();
        return;
    }
    Cells next(static_cast<size_t>(rows) * cols);
    for (int r = 0; r < rows_; ++r) {
        for (int c = 0; c < cols_; ++c) {
            Cell& cell = At(c, r);
            if (r < rows && c < cols)
                next[static_cast<size_t>(r) * cols + c] = cell;
            else
                Release(cell);
        }
    }
    cells_.swap(next);
    cols_ = cols;
    rows_ = rows;
    MaybeCompact();
}

QString CellStore::Get(int col, int row) const {
    const Cell& cell = At(col, row);
    if (cell.length == 0) return QString();
    if (IsInline(cell)) {
        char buf[8];
        UnpackInline(cell.offset, cell.length, buf);
        return FromBytes(buf, (cell.length >> 24) - 0x40);
    }
    const char* data = pool_.data() + cell.offset;
    if (cell.length & kWide) {
        const qsizetype units = (cell.length & ~kWide) / 2;
        QString out(units, Qt::Uninitialized);
        std::memcpy(out.data(), data, static_cast<size_t>(units) * 2);
        return out;
    }
    return FromBytes(data, cell.length);
}

std::string CellStore::GetBytes(int col, int row) const {
    const Cell& cell = At(col, row);
    if (cell.length == 0) return std::string();
    if (IsInline(cell)) {
        char buf[8];
        UnpackInline(cell.offset, cell.length, buf);
        return std::string(buf, (cell.length >> 24) - 0x40);
    }
    if (cell.length & kWide) return ToBytes(Get(col, row));
    return std::string(pool_.data() + cell.offset, cell.length);
}

bool CellStore::AppendBytes(int col, int row, std::string& out) const {
    const Cell& cell = At(col, row);
    if (cell.length == 0) return true;
    if (IsInline(cell)) {
        char buf[8];
        UnpackInline(cell.offset, cell.length, buf);
        out.append(buf, (cell.length >> 24) - 0x40);
        return true;
    }
    if (cell.length & kWide) {
        const QString text = Get(col, row);
        const std::string bytes = ToBytes(text);
        out += bytes;
        return FromBytes(bytes) == text;
    }
    out.append(pool_.data() + cell.offset, cell.length);
    return true;
}

bool CellStore::CopyBytes(int col, int row, char* out) const {
    const Cell& cell = At(col, row);
    if (cell.length == 0) return true;
    if (IsInline(cell)) {
        char buf[8];
        UnpackInline(cell.offset, cell.length, buf);
        std::memcpy(out, buf, (cell.length >> 24) - 0x40);
        return true;
    }
    if (cell.length & kWide) {
        const QString text = Get(col, row);
        const std::string bytes = ToBytes(text);
        std::memcpy(out, bytes.data(), bytes.size());
        return FromBytes(bytes) == text;
    }
    std::memcpy(out, pool_.data() + cell.offset, cell.length);
    return true;
}

bool CellStore::HasWideText() const {
    // Told again only after a change (a slot short enough to be inline never has the
    // wide bit).
    if (wideToldAt_ != changes_) {
        wide_ = std::any_of(cells_.begin(), cells_.end(), [](const Cell& c) { return (c.length & kWide) != 0; });
        wideToldAt_ = changes_;
    }
    return wide_;
}

int CellStore::Length(int col, int row) const {
    const Cell& cell = At(col, row);
    if (IsInline(cell)) return static_cast<int>((cell.length >> 24) - 0x40);
    return static_cast<int>(cell.length & kWide ? (cell.length & ~kWide) / 2 : cell.length);
}

void CellStore::Set(int col, int row, const QString& text) {
    ++changes_;
    ColumnSet(col);
    NoteSet(row, row + 1);
    Cell& cell = At(col, row);
    const qsizetype n = text.size();
    if (n == 0) {
        Release(cell);
        return;
    }
    // Most texts fit the 8-bit form; try that first on the stack.
    char small[256];
    std::string big;
    char* bytes = small;
    if (n > static_cast<qsizetype>(sizeof small)) {
        big.resize(static_cast<size_t>(n));
        bytes = big.data();
    }
    const QChar* src = text.constData();
    bool narrow = true;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t u = src[i].unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            bytes[i] = static_cast<char>(u);
        } else {
            const int b = ByteOf(src[i]);
            if (b < 0) {
                narrow = false;
                break;
            }
            bytes[i] = static_cast<char>(b);
        }
    }
    if (narrow)
        Store(cell, bytes, static_cast<uint32_t>(n), false);
    else
        Store(cell, reinterpret_cast<const char*>(src), static_cast<uint32_t>(n * 2), true);
}

void CellStore::SetBytes(int col, int row, std::string_view bytes) {
    ++changes_;
    ColumnSet(col);
    NoteSet(row, row + 1);
    Cell& cell = At(col, row);
    if (bytes.empty()) {
        Release(cell);
        return;
    }
    Store(cell, bytes.data(), static_cast<uint32_t>(bytes.size()), false);
}

void CellStore::Store(Cell& cell, const char* data, uint32_t bytes, bool wide) {
    if (bytes > kMaxPooled) throw std::length_error("cell text too long");
    if (!wide && bytes <= 7) {
        garbage_ += PoolBytes(cell);
        cell = Packed(data, bytes);
        return;
    }
    const uint32_t oldBytes = PoolBytes(cell);
    if (oldBytes != 0 && bytes <= oldBytes) {
        // Reuse the old place; the tail becomes garbage.
        std::memcpy(pool_.data() + cell.offset, data, bytes);
        garbage_ += oldBytes - bytes;
        cell.length = bytes | (wide ? kWide : 0);
        return;
    }
    Release(cell);
    if (pool_.size() + bytes > 0xFFFFFFF0u) {
        Compact();
        if (pool_.size() + bytes > 0xFFFFFFF0u) throw std::length_error("grid text pool full");
    }
    cell.offset = static_cast<uint32_t>(pool_.size());
    pool_.append(data, bytes);
    cell.length = bytes | (wide ? kWide : 0);
    MaybeCompact();
}

void CellStore::SetRowBytes(int row, const std::string_view* fields, int count) {
    ++changes_;
    AllColumnsSet();
    NoteSet(row, row + 1);
    count = std::min(count, cols_);
    // The usual fill writes empty cells: short texts into their slots, longer ones at the
    // pool's end while it has room, with the pool's end and the garbage kept in
    // registers. Anything else (a cell that held pool text, a full pool) goes through
    // Store, with the pool brought up to date around it.
    char* pool = pool_.data();
    size_t end = pool_.size();
    size_t room = pool_.capacity() - end;
    size_t garbage = 0;
    Cell* cell = &At(0, row);
    for (int c = 0; c < count; ++c, ++cell) {
        const std::string_view f = fields[c];
        const size_t bytes = f.size();
        const uint32_t old = PoolBytes(*cell);
        if (bytes <= 7) {
            garbage += old;
            *cell = bytes == 0 ? Cell{} : Packed(f.data(), static_cast<uint32_t>(bytes));
        } else if (old == 0 && bytes <= room && end + bytes <= 0xFFFFFFF0u) {
            CopyText(pool + end, f.data(), bytes);
            *cell = Cell{static_cast<uint32_t>(end), static_cast<uint32_t>(bytes)};
            end += bytes;
            room -= bytes;
        } else {
            pool_.SetSize(end);
            garbage_ += garbage;
            garbage = 0;
            if (bytes > kMaxPooled) throw std::length_error("cell text too long");
            Store(*cell, f.data(), static_cast<uint32_t>(bytes), false);
            pool = pool_.data();
            end = pool_.size();
            room = pool_.capacity() - end;
        }
    }
    pool_.SetSize(end);
    garbage_ += garbage;
    if (garbage != 0) MaybeCompact();
}

void CellStore::Release(Cell& cell) {
    garbage_ += PoolBytes(cell);
    cell = Cell{};
}

void CellStore::ClearAll() {
    ++changes_;
    AllColumnsSet();
    marked_ = false;
    std::fill(cells_.begin(), cells_.end(), Cell{});
    pool_.clear();  // the capacity stays for the next fill
    garbage_ = 0;
}

void CellStore::Swap(CellStore& other) noexcept {
    std::swap(cols_, other.cols_);
    std::swap(rows_, other.rows_);
    cells_.swap(other.cells_);
    pool_.swap(other.pool_);
    std::swap(garbage_, other.garbage_);
    ++changes_;
    ++other.changes_;
    AllColumnsSet();
    other.AllColumnsSet();
    // Neither store's rows are those its mark was made on.
    marked_ = false;
    other.marked_ = false;
}

CellStore::Pool& CellStore::Pool::operator=(const Pool& other) {
    if (this == &other) return *this;
    size_ = 0;
    append(other.data_, other.size_);
    return *this;
}

void CellStore::Pool::reserve(size_t bytes) {
    if (bytes <= capacity_) return;
    auto* next = static_cast<char*>(BigMemory::Allocate(bytes));
    if (size_ != 0) std::memcpy(next, data_, size_);
    BigMemory::Free(data_, capacity_);
    data_ = next;
    capacity_ = bytes;
}

void CellStore::ReservePool(size_t bytes) {
    const size_t want = pool_.size() + bytes;
    if (want > pool_.capacity() && want < kMaxPooled) pool_.reserve(want);
}

void CellStore::InsertRows(int at, int count) {
    ++changes_;
    AllColumnsSet();
    marked_ = false;
    if (count <= 0) return;
    at = std::clamp(at, 0, rows_);
    cells_.insert(cells_.begin() + static_cast<ptrdiff_t>(at) * cols_, static_cast<size_t>(count) * cols_, Cell{});
    rows_ += count;
}

void CellStore::RemoveRows(int at, int count) {
    ++changes_;
    AllColumnsSet();
    marked_ = false;
    if (at < 0 || at >= rows_ || count <= 0) return;
    count = std::min(count, rows_ - at);
    auto first = cells_.begin() + static_cast<ptrdiff_t>(at) * cols_;
    auto last = first + static_cast<ptrdiff_t>(count) * cols_;
    for (auto it = first; it != last; ++it) Release(*it);
    cells_.erase(first, last);
    rows_ -= count;
    MaybeCompact();
}

void CellStore::MoveRow(int from, int to) {
    KeepWideTold();
    ++changes_;
    marked_ = false;
    if (from == to || from < 0 || to < 0 || from >= rows_ || to >= rows_) return;
    auto base = cells_.begin();
    const ptrdiff_t c = cols_;
    if (from < to)
        std::rotate(base + from * c, base + (from + 1) * c, base + (to + 1) * c);
    else
        std::rotate(base + to * c, base + from * c, base + (from + 1) * c);
}

void CellStore::PermuteRows(int first, const std::vector<int>& order) {
    KeepWideTold();
    ++changes_;
    marked_ = false;
    const int n = static_cast<int>(order.size());
    if (n == 0 || first < 0 || first + n > rows_) return;
    std::vector<std::uint8_t> seen(static_cast<size_t>(n), 0);
    size_t away = 0;  // rows not where they were
    for (int i = 0; i < n; ++i) {
        const int src = order[static_cast<size_t>(i)];
        if (src < first || src >= first + n || seen[static_cast<size_t>(src - first)])
            throw std::invalid_argument("row order is not a permutation");
        seen[static_cast<size_t>(src - first)] = 1;
        away += src != first + i;
    }
    if (away * 8 < static_cast<size_t>(n) || pool_.size() <= kPoolKeptInPlace) {
        // A few rows move, or the pool is small: their slots only, the pool stays as it is.
        const size_t cols = static_cast<size_t>(cols_);
        const size_t bytes = static_cast<size_t>(n) * cols * sizeof(Cell);
        if (bytes == 0) return;
        // The rows' slots copied aside to take them from (into memory not cleared first).
        Pool copy;
        copy.reserve(bytes);
        Cell* to = cells_.data() + static_cast<size_t>(first) * cols;
        copy.append(reinterpret_cast<const char*>(to), bytes);
        const auto* rows = reinterpret_cast<const Cell*>(copy.data());
        for (int i = 0; i < n; ++i, to += cols) {
            const Cell* from = rows + static_cast<size_t>(order[static_cast<size_t>(i)] - first) * cols;
            CopySlots(to, from, cols);
        }
        return;
    }
    // The slots in their new order, and the pooled texts laid out again in that order
    // (the garbage left behind): whoever reads the rows from the first to the last then
    // reads the pool from its start to its end.
    Cells moved(cells_.size());
    Pool pool;
    pool.reserve(pool_.size() - std::min(garbage_, pool_.size()));
    const size_t poolSize = pool_.size();
    auto place = [&](int from, int to) {
        const Cell* src = &At(0, from);
        Cell* dst = moved.data() + static_cast<size_t>(to) * cols_;
        for (int c = 0; c < cols_; ++c) {
            Cell cell = src[c];
            if (const uint32_t bytes = PoolBytes(cell); bytes != 0) {
                const auto offset = static_cast<uint32_t>(pool.size());
                char* at = pool.Extend(bytes);
                const char* from = pool_.data() + cell.offset;
                // A short text is copied as 32 bytes when both pools have them (the
                // bytes past its end are overwritten by the next text or left unused).
                if (bytes <= 32 && cell.offset + 32 <= poolSize && offset + 32 <= pool.capacity()) {
                    std::memcpy(at, from, 16);
                    std::memcpy(at + 16, from + 16, 16);
                } else {
                    std::memcpy(at, from, bytes);
                }
                cell.offset = offset;
            }
            dst[c] = cell;
        }
    };
    // The rows come from all over the table and the pool: each row's slots are fetched
    // well ahead of it, and its texts a little ahead, so that the waits overlap.
    constexpr int kSlotsAhead = 16, kTextsAhead = 8;
    auto fetchTexts = [&](int row) {
        const Cell* src = &At(0, row);
        for (int c = 0; c < cols_; ++c)
            if (PoolBytes(src[c]) != 0) Prefetch(pool_.data() + src[c].offset);
    };
    for (int r = 0; r < first; ++r) place(r, r);
    for (int i = 0; i < n; ++i) {
        if (i + kSlotsAhead < n) Prefetch(&At(0, order[static_cast<size_t>(i + kSlotsAhead)]));
        if (i + kTextsAhead < n) fetchTexts(order[static_cast<size_t>(i + kTextsAhead)]);
        place(order[static_cast<size_t>(i)], first + i);
    }
    for (int r = first + n; r < rows_; ++r) place(r, r);
    cells_.swap(moved);
    pool_.swap(pool);
    garbage_ = 0;
}

void CellStore::MaybeCompact() {
    if (garbage_ > 64 * 1024 && garbage_ * 2 > pool_.size()) Compact();
}

void CellStore::Compact() {
    std::string live;
    live.reserve(pool_.size() - std::min(garbage_, pool_.size()));
    for (Cell& cell : cells_) {
        const uint32_t bytes = PoolBytes(cell);
        if (bytes == 0) continue;
        const auto offset = static_cast<uint32_t>(live.size());
        live.append(pool_.data() + cell.offset, bytes);
        cell.offset = offset;
    }
    pool_.assign(live);  // keeps the pool's capacity
    garbage_ = 0;
}

}  // namespace stallmark
