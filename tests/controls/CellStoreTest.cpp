#include <gtest/gtest.h>

#include <bit>
#include <functional>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "controls/CellStore.h"

namespace stallmark {

TEST(CellStore, KeepsNarrowAndWideTextAndBytes) {
    CellStore s;
    s.Resize(3, 2);
    s.Set(0, 0, QStringLiteral("Longsword"));
    s.Set(1, 0, QStringLiteral("\u20AC 5"));      // euro has a 1252 byte
    s.Set(2, 0, QStringLiteral("\u4E2D\u6587"));  // no 1252 byte: kept as UTF-16
    s.SetBytes(0, 1, "\x80\xAB\xBB");
    EXPECT_EQ(s.Get(0, 0), QStringLiteral("Longsword"));
    EXPECT_EQ(s.Get(1, 0), QStringLiteral("\u20AC 5"));
    EXPECT_EQ(s.GetBytes(1, 0), "\x80 5");
    EXPECT_EQ(s.Get(2, 0), QStringLiteral("\u4E2D\u6587"));
    EXPECT_EQ(s.Length(2, 0), 2);
    EXPECT_EQ(s.GetBytes(2, 0), "??");
    EXPECT_EQ(s.Get(0, 1), QStringLiteral("\u20AC\u00AB\u00BB"));
    EXPECT_TRUE(s.IsEmpty(1, 1));
    EXPECT_TRUE(s.Get(1, 1).isEmpty());
}

// Appending gives GetBytes after what is there, and tells the cells whose text has no
// Windows-1252 bytes.
TEST(CellStore, AppendsTheBytesOfEveryKindOfCell) {
    CellStore s;
    s.Resize(5, 1);
    s.Set(0, 0, QStringLiteral("Katana"));                     // in the slot
    s.Set(1, 0, QStringLiteral("Supremely Accurate \u20AC"));  // in the pool
    s.Set(2, 0, QStringLiteral("\u4E2D?"));                    // UTF-16
    s.Set(3, 0, QStringLiteral("a?"));                         // a real question mark
    std::string out = "x";
    for (int c = 0; c < 5; ++c) EXPECT_EQ(s.AppendBytes(c, 0, out), c != 2) << c;
    EXPECT_EQ(out, "xKatanaSupremely Accurate \x80??a?");
    for (int c = 0; c < 5; ++c) {
        std::string one;
        s.AppendBytes(c, 0, one);
        EXPECT_EQ(one, s.GetBytes(c, 0)) << c;
        std::string copied(static_cast<size_t>(s.Length(c, 0)) + 1, '#');
        EXPECT_EQ(s.CopyBytes(c, 0, copied.data()), c != 2) << c;
        EXPECT_EQ(copied, one + "#") << c;
    }
}

// A row from bytes replaces whatever its cells held (empty, in the slot, in the pool,
// UTF-16), and columns past the fields given keep their text.
TEST(CellStore, RowFromBytesReplacesEveryKindOfCell) {
    CellStore s;
    s.Resize(5, 2);
    s.Set(0, 0, QStringLiteral("Katana"));
    s.Set(1, 0, QStringLiteral("Supremely Accurate"));
    s.Set(2, 0, QStringLiteral("\u4E2D\u6587"));
    s.Set(4, 0, QStringLiteral("kept as it was"));
    const std::string_view fields[] = {"a pooled text", "", "short", "\x80 longer than seven"};
    s.SetRowBytes(0, fields, 4);
    EXPECT_EQ(s.GetBytes(0, 0), "a pooled text");
    EXPECT_TRUE(s.IsEmpty(1, 0));
    EXPECT_EQ(s.GetBytes(2, 0), "short");
    EXPECT_EQ(s.Get(3, 0), QStringLiteral("\u20AC longer than seven"));
    EXPECT_EQ(s.Get(4, 0), QStringLiteral("kept as it was"));
    // Filled again and again: the old texts become garbage that is compacted away.
    for (int round = 0; round < 2000; ++round) {
        const std::string text = "round " + std::to_string(round) + std::string(40, 'x');
        const std::string_view again[] = {text, std::string_view(text).substr(0, 3)};
        s.SetRowBytes(round % 2, again, 2);
        EXPECT_EQ(s.GetBytes(0, round % 2), text);
        EXPECT_EQ(s.GetBytes(1, round % 2), text.substr(0, 3));
    }
    EXPECT_LT(s.GarbageBytes(), 64u * 1024u + 64u);
    EXPECT_EQ(s.GetBytes(0, 0), "round 1998" + std::string(40, 'x'));
    EXPECT_EQ(s.Get(4, 0), QStringLiteral("kept as it was"));
}

// Rows filled again and again over what earlier fills left (longer and shorter texts,
// pool and slot, a pool that must grow in the middle of a row) read back exactly, and
// the garbage they leave is what the replaced texts held.
TEST(CellStore, FillsOverEarlierFillsKeepTextAndCountGarbage) {
    std::mt19937 rng(11);
    CellStore s;  // no pool yet: the first rows make it grow
    const int cols = 6, rows = 300;
    s.Resize(cols, rows);
    std::vector<std::string> texts(static_cast<size_t>(cols * rows));
    size_t garbage = 0;
    const auto pooled = [](const std::string& t) { return t.size() > 7 ? t.size() : 0; };
    for (int round = 0; round < 6; ++round) {
        for (int r = 0; r < rows; ++r) {
            std::vector<std::string> row(static_cast<size_t>(cols));
            std::vector<std::string_view> views;
            for (int c = 0; c < cols; ++c) {
                std::string& t = row[static_cast<size_t>(c)];
                t.assign(rng() % 4 == 0 ? rng() % 8 : rng() % 90, static_cast<char>('a' + (r + c + round) % 26));
                views.push_back(t);
            }
            const int count = r % 7 == 0 ? cols - 2 : cols;  // columns past count keep their text
            s.SetRowBytes(r, views.data(), count);
            for (int c = 0; c < count; ++c) {
                std::string& old = texts[static_cast<size_t>(r * cols + c)];
                const std::string& now = row[static_cast<size_t>(c)];
                // A shorter pool text takes the old place; the rest of it is garbage.
                garbage += pooled(old) != 0 && pooled(now) != 0 && now.size() <= old.size() ? old.size() - now.size()
                                                                                            : pooled(old);
                old = now;
            }
        }
        for (int r = 0; r < rows; ++r)
            for (int c = 0; c < cols; ++c)
                ASSERT_EQ(s.GetBytes(c, r), texts[static_cast<size_t>(r * cols + c)]) << round << " " << r << " " << c;
        if (s.GarbageBytes() < garbage) garbage = s.GarbageBytes();  // compacted on the way
        EXPECT_EQ(s.GarbageBytes(), garbage) << round;
    }
    s.Compact();
    EXPECT_EQ(s.GarbageBytes(), 0u);
    EXPECT_EQ(s.GetBytes(5, 299), texts.back());
}

// Cutting rows off makes their pool text garbage, whether the rows kept or the rows cut
// are the fewer; rows added again are empty.
TEST(CellStore, RowsCutOffBecomeGarbageAndComeBackEmpty) {
    for (const int keep : {2, 250}) {
        CellStore s;
        s.Resize(3, 300);
        size_t cut = 0;
        for (int r = 0; r < 300; ++r) {
            const std::string a = "row " + std::to_string(r) + " first", b = "x" + std::to_string(r % 10);
            const std::string_view row[] = {a, b, a};
            s.SetRowBytes(r, row, 3);
            if (r >= keep) cut += 2 * a.size();
        }
        s.Resize(3, keep);
        EXPECT_EQ(s.GarbageBytes(), cut) << keep;
        s.Resize(3, 300);
        EXPECT_TRUE(s.IsEmpty(0, keep));
        EXPECT_TRUE(s.IsEmpty(2, 299));
        EXPECT_EQ(s.GetBytes(0, keep - 1), "row " + std::to_string(keep - 1) + " first");
        s.ClearAll();
        EXPECT_EQ(s.GarbageBytes(), 0u);
        EXPECT_TRUE(s.IsEmpty(0, 0));
    }
}

// A copy holds its own text: changing either leaves the other as it was.
TEST(CellStore, CopiesKeepTheirOwnText) {
    CellStore s;
    s.Resize(2, 2);
    s.Set(0, 0, QStringLiteral("a text in the pool"));
    s.Set(1, 1, QStringLiteral("short"));
    CellStore copy = s;
    copy.Set(0, 0, QStringLiteral("another text in the pool"));
    EXPECT_EQ(s.Get(0, 0), QStringLiteral("a text in the pool"));
    EXPECT_EQ(copy.Get(0, 0), QStringLiteral("another text in the pool"));
    EXPECT_EQ(copy.Get(1, 1), QStringLiteral("short"));
    s = copy;
    copy.ClearAll();
    EXPECT_EQ(s.Get(0, 0), QStringLiteral("another text in the pool"));
    CellStore empty;
    s = empty;  // a store that never had a pool
    s.Resize(1, 1);
    EXPECT_TRUE(s.IsEmpty(0, 0));
}

TEST(CellStore, OverwritesInPlaceOrAppendsAndCompacts) {
    CellStore s;
    s.Resize(1, 1);
    s.Set(0, 0, QStringLiteral("Supremely Accurate"));  // in the pool
    s.Set(0, 0, QStringLiteral("Massive Sword"));       // shorter: reuses its place
    EXPECT_EQ(s.Get(0, 0), QStringLiteral("Massive Sword"));
    EXPECT_EQ(s.GarbageBytes(), 5u);
    s.Set(0, 0, QStringLiteral("Katana"));  // short texts live in the slot itself
    EXPECT_EQ(s.Get(0, 0), QStringLiteral("Katana"));
    EXPECT_EQ(s.Length(0, 0), 6);
    EXPECT_EQ(s.GarbageBytes(), 18u);
    s.Set(0, 0, QStringLiteral("1234567"));
    EXPECT_EQ(s.GetBytes(0, 0), "1234567");
    s.Set(0, 0, QStringLiteral("a much longer text"));
    EXPECT_EQ(s.Get(0, 0), QStringLiteral("a much longer text"));
    // Many rewrites: the pool is compacted and the text survives.
    s.Resize(4, 1000);
    for (int round = 0; round < 40; ++round)
        for (int r = 0; r < 1000; ++r)
            s.Set(round % 4, r, QString::number(r * 1000 + round) + QStringLiteral("-growing-") + QString(round, 'x'));
    EXPECT_EQ(s.Get(3, 999), QString::number(999 * 1000 + 39) + QStringLiteral("-growing-") + QString(39, 'x'));
    EXPECT_LT(s.GarbageBytes(), 1000u * 4 * 100);
}

TEST(CellStore, ResizeInsertRemoveMoveAndPermuteRows) {
    CellStore s;
    s.Resize(2, 4);
    for (int r = 0; r < 4; ++r) {
        s.Set(0, r, QString::number(r));
        s.Set(1, r, QStringLiteral("r%1").arg(r));
    }
    s.MoveRow(3, 1);  // 0 3 1 2
    EXPECT_EQ(s.Get(0, 1), QStringLiteral("3"));
    EXPECT_EQ(s.Get(1, 3), QStringLiteral("r2"));
    s.MoveRow(1, 3);  // back: 0 1 2 3
    EXPECT_EQ(s.Get(0, 3), QStringLiteral("3"));
    s.InsertRows(2, 1);
    EXPECT_EQ(s.Rows(), 5);
    EXPECT_TRUE(s.IsEmpty(0, 2));
    EXPECT_EQ(s.Get(0, 3), QStringLiteral("2"));
    s.RemoveRows(2, 1);
    EXPECT_EQ(s.Get(0, 2), QStringLiteral("2"));
    s.PermuteRows(1, {3, 1, 2});  // rows 1..3 become old 3, 1, 2
    EXPECT_EQ(s.Get(0, 1), QStringLiteral("3"));
    EXPECT_EQ(s.Get(1, 2), QStringLiteral("r1"));
    EXPECT_THROW(s.PermuteRows(1, {1, 1, 2}), std::invalid_argument);
    s.Resize(3, 2);  // a column more, rows cut
    EXPECT_EQ(s.Get(0, 1), QStringLiteral("3"));
    EXPECT_TRUE(s.IsEmpty(2, 1));
    s.Resize(1, 2);
    EXPECT_EQ(s.Get(0, 0), QStringLiteral("0"));
}

// Rows put in a new order carry every one of their cells, whatever the number of columns
// (each row's slots are copied by a path chosen by that number).
TEST(CellStore, PermutingRowsCarriesEveryColumn) {
    for (int cols = 1; cols <= 10; ++cols) {
        CellStore s;
        s.Resize(cols, 5);
        const auto text = [](int c, int r) { return "cell " + std::to_string(c) + "," + std::to_string(r); };
        for (int r = 0; r < 5; ++r)
            for (int c = 0; c < cols; ++c) s.SetBytes(c, r, c % 2 ? text(c, r) : std::to_string(r));
        const std::vector<int> order = {4, 1, 3, 2};
        s.PermuteRows(1, order);
        for (int r = 0; r < 5; ++r) {
            const int from = r == 0 ? 0 : order[static_cast<size_t>(r - 1)];
            for (int c = 0; c < cols; ++c)
                EXPECT_EQ(s.GetBytes(c, r), c % 2 ? text(c, from) : std::to_string(from)) << cols << " columns, " << c << "," << r;
        }
    }
}

// A cell's bytes are viewed where they lie (in the pool or the slot), and text kept as
// UTF-16 is refused (and told).
TEST(CellStore, ViewsTheBytesOfEveryKindOfCell) {
    CellStore s;
    s.Resize(4, 1);
    s.SetBytes(0, 0, "Katana");                         // in the slot
    s.SetBytes(1, 0, "Blessed Katana of Vanquishing");  // in the pool
    std::string_view view = "stale";
    if constexpr (std::endian::native == std::endian::little) {
        ASSERT_TRUE(s.View(0, 0, view));
        EXPECT_EQ(view, "Katana");
    }
    ASSERT_TRUE(s.View(1, 0, view));
    EXPECT_EQ(view, "Blessed Katana of Vanquishing");
    ASSERT_TRUE(s.View(3, 0, view));
    EXPECT_TRUE(view.empty());
    EXPECT_FALSE(s.HasWideText());
    if constexpr (std::endian::native == std::endian::little) {
        // Without text kept as UTF-16, the branchless view gives the same bytes for a slot
        // of every length, the pool, an empty cell and one cleared after holding pool text.
        s.SetBytes(2, 0, "Cleared text of the pool");
        s.Clear(2, 0);
        for (const std::string text : {"", "a", "ab", "abc", "abcd", "abcde", "abcdef", "abcdefg", "abcdefgh"}) {
            s.SetBytes(0, 0, text);
            ASSERT_TRUE(s.View(0, 0, view));
            EXPECT_EQ(s.ViewNarrow(0, 0), view);
            EXPECT_EQ(s.ViewNarrow(0, 0), text);
        }
        EXPECT_EQ(s.ViewNarrow(1, 0), "Blessed Katana of Vanquishing");
        EXPECT_TRUE(s.ViewNarrow(2, 0).empty());
        EXPECT_TRUE(s.ViewNarrow(3, 0).empty());
    }
    s.Set(2, 0, QStringLiteral("\u4E2D"));  // UTF-16
    EXPECT_FALSE(s.View(2, 0, view));
    EXPECT_TRUE(s.HasWideText());
}

// After the rows of a pool larger than the cache are put in a new order, the pooled
// texts lie in that order, with no garbage, so that reading the rows in order reads the
// pool in order.
TEST(CellStore, PermutingRowsLaysThePoolOutInTheNewOrder) {
    CellStore s;
    s.Resize(2, 6);
    const std::string tail(CellStore::kPoolKeptInPlace / 5, '.');  // six of them: a pool laid out again
    for (int r = 0; r < 6; ++r) {
        s.SetBytes(0, r, "row " + std::to_string(r) + " of the list" + tail);
        s.SetBytes(1, r, std::to_string(r));
    }
    s.SetBytes(0, 2, "short");  // the pool text it had is garbage now
    s.SetBytes(0, 5, "row five, written again and longer than it was before" + tail);
    ASSERT_GT(s.GarbageBytes(), 0u);
    s.PermuteRows(1, {5, 3, 1, 4, 2});
    const std::vector<std::string> expected = {
        "row 0 of the list" + tail, "row five, written again and longer than it was before" + tail,
        "row 3 of the list" + tail, "row 1 of the list" + tail,
        "row 4 of the list" + tail, "short"};
    const char* last = nullptr;
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(s.GetBytes(0, r), expected[static_cast<size_t>(r)]) << r;
        std::string_view view;
        ASSERT_TRUE(s.View(0, r, view));
        if (view.size() < 8) continue;  // kept in its slot
        if (last) {
            EXPECT_GT(view.data(), last) << r;
        }
        last = view.data();
    }
    EXPECT_EQ(s.GetBytes(1, 1), "5");
    EXPECT_EQ(s.GarbageBytes(), 0u);
    // Texts written afterwards still land in the pool and read back.
    s.SetBytes(0, 3, "a new text for the third row, in the pool");
    EXPECT_EQ(s.GetBytes(0, 3), "a new text for the third row, in the pool");
    EXPECT_EQ(s.GetBytes(0, 4), "row 4 of the list" + tail);
}

// Whether some cell is wide follows every change, and moving rows keeps what was told.
TEST(CellStore, TellsWideTextAfterEveryChange) {
    CellStore s;
    s.Resize(2, 4);
    s.SetBytes(0, 1, "plain bytes, long enough for the pool");
    EXPECT_FALSE(s.HasWideText());
    s.Set(1, 2, QStringLiteral("wide \u03A9 text"));
    EXPECT_TRUE(s.HasWideText());
    s.PermuteRows(0, {3, 2, 1, 0});
    EXPECT_TRUE(s.HasWideText());
    s.MoveRow(0, 3);
    EXPECT_TRUE(s.HasWideText());
    s.Set(1, 0, QStringLiteral("narrow again"));  // the wide cell, moved to row 1, then 0
    EXPECT_FALSE(s.HasWideText());
    s.Set(0, 0, QStringLiteral("\u03A9"));
    EXPECT_TRUE(s.HasWideText());
    s.ClearAll();
    EXPECT_FALSE(s.HasWideText());
}

// The rows set since a mark are told as one range that holds each of them; anything
// that takes rows away or moves them leaves nothing to tell until the next mark.
TEST(CellStore, TellsTheRowsSetSinceTheMark) {
    CellStore s;
    s.Resize(3, 20);
    int first = -1, end = -1;
    EXPECT_FALSE(s.RowsSetSinceMark(first, end));  // no mark yet
    s.MarkRows();
    ASSERT_TRUE(s.RowsSetSinceMark(first, end));
    EXPECT_EQ(first, end);
    s.SetBytes(1, 7, "seven");
    s.Set(0, 4, QStringLiteral("four"));
    const std::string_view row[] = {"a", "b", "c"};
    s.SetRowBytes(9, row, 3);
    s.Clear(2, 5);
    ASSERT_TRUE(s.RowsSetSinceMark(first, end));
    EXPECT_EQ(first, 4);
    EXPECT_EQ(end, 10);
    s.Resize(3, 23);  // rows added at the end
    ASSERT_TRUE(s.RowsSetSinceMark(first, end));
    EXPECT_EQ(first, 4);
    EXPECT_EQ(end, 23);
    const std::function<void(CellStore&)> losing[] = {
        [](CellStore& c) { c.Resize(3, 10); },
        [](CellStore& c) { c.Resize(4, 20); },
        [](CellStore& c) { c.RemoveRows(3, 1); },
        [](CellStore& c) { c.InsertRows(3, 1); },
        [](CellStore& c) { c.MoveRow(2, 8); },
        [](CellStore& c) {
            c.PermuteRows(0, {1, 0});
        },
        [](CellStore& c) { c.ClearAll(); },
        [](CellStore& c) {
            CellStore other;
            other.Resize(3, 20);
            c.Swap(other);
        },
    };
    for (const auto& lose : losing) {
        CellStore c;
        c.Resize(3, 20);
        c.MarkRows();
        lose(c);
        EXPECT_FALSE(c.RowsSetSinceMark(first, end));
        c.SetBytes(0, 1, "x");  // setting a cell brings no range back without a mark
        EXPECT_FALSE(c.RowsSetSinceMark(first, end));
    }
}

namespace {

void PermuteEveryRowOf(int rows) {
    SCOPED_TRACE(rows);
    CellStore s;
    s.Resize(2, rows);
    auto text = [](int r, int col) {
        std::string t = (col == 0 ? "type " : "description ") + std::to_string(r) + ":";
        t.resize(static_cast<size_t>(8 + (r * 7 + col * 3) % 40), static_cast<char>('a' + r % 26));
        return t;
    };
    for (int r = 0; r < rows; ++r)
        for (int col = 0; col < 2; ++col) s.SetBytes(col, r, text(r, col));
    std::vector<int> order(rows);
    for (int i = 0; i < rows; ++i) order[static_cast<size_t>(i)] = (i * 37 + 11) % rows;  // every row moves
    s.PermuteRows(0, order);
    for (int i = 0; i < rows; ++i)
        for (int col = 0; col < 2; ++col)
            ASSERT_EQ(s.GetBytes(col, i), text(order[static_cast<size_t>(i)], col)) << i << "," << col;
}

}  // namespace

// Short pooled texts are copied in fixed-size blocks: every length around the block's
// size, and the last texts of the pool, come back whole and leave their neighbours be.
TEST(CellStore, PermutingKeepsTextsOfEveryLengthWhole) {
    // A small pool keeps its texts where they are; a large one (rows of about 56 bytes) is
    // laid out again.
    for (const int rows : {300, static_cast<int>(CellStore::kPoolKeptInPlace / 40)}) PermuteEveryRowOf(rows);
}

// A few rows moving among many move their slots only; the texts are all where they should be.
TEST(CellStore, PermutingAFewRowsKeepsEveryText) {
    CellStore s;
    s.Resize(2, 41);
    for (int r = 0; r < 41; ++r) {
        s.SetBytes(0, r, "a text of row " + std::to_string(r) + " in the pool");
        s.SetBytes(1, r, std::to_string(r));
    }
    std::vector<int> order(40);
    std::iota(order.begin(), order.end(), 1);
    std::swap(order[3], order[30]);  // two of forty rows change places
    s.PermuteRows(1, order);
    for (int r = 1; r <= 40; ++r) {
        const int from = order[static_cast<size_t>(r - 1)];
        EXPECT_EQ(s.GetBytes(0, r), "a text of row " + std::to_string(from) + " in the pool");
        EXPECT_EQ(s.GetBytes(1, r), std::to_string(from));
    }
    EXPECT_EQ(s.GetBytes(0, 0), "a text of row 0 in the pool");
    EXPECT_THROW(s.PermuteRows(1, std::vector<int>(40, 1)), std::invalid_argument);
}

// Two stores trade everything they hold, and both count it as a change.
TEST(CellStore, SwapTradesCellsTextAndCountsAChange) {
    CellStore a, b;
    a.Resize(2, 3);
    a.SetBytes(1, 2, "a text long enough for the pool");
    a.SetBytes(0, 1, "short");
    b.Resize(3, 1);
    b.Set(2, 0, QStringLiteral("wide \u0101"));
    const std::uint64_t changesA = a.Changes(), changesB = b.Changes();
    a.Swap(b);
    EXPECT_GT(a.Changes(), changesA);
    EXPECT_GT(b.Changes(), changesB);
    EXPECT_EQ(a.Cols(), 3);
    EXPECT_EQ(a.Rows(), 1);
    EXPECT_EQ(a.Get(2, 0), QStringLiteral("wide \u0101"));
    EXPECT_TRUE(a.HasWideText());
    EXPECT_EQ(b.Cols(), 2);
    EXPECT_EQ(b.Rows(), 3);
    EXPECT_EQ(b.GetBytes(1, 2), "a text long enough for the pool");
    EXPECT_EQ(b.GetBytes(0, 1), "short");
    EXPECT_FALSE(b.HasWideText());
    // Each goes on as a store of its own.
    b.SetBytes(1, 2, "another text long enough for the pool");
    EXPECT_EQ(b.GetBytes(1, 2), "another text long enough for the pool");
    EXPECT_EQ(a.Get(2, 0), QStringLiteral("wide \u0101"));
}

// Every change of a text, of the rows or of their order is counted; reading is not.
TEST(CellStore, CountsEveryChangeAndNoRead) {
    CellStore s;
    std::uint64_t last = s.Changes();
    auto changed = [&](const char* what) {
        EXPECT_GT(s.Changes(), last) << what;
        last = s.Changes();
    };
    s.Resize(2, 3);
    changed("resize");
    s.Set(0, 0, QStringLiteral("a text long enough for the pool"));
    changed("set");
    s.SetBytes(0, 0, "a text long enough for the pool");  // the same text again
    changed("set bytes");
    const std::string_view fields[] = {"row", "two"};
    s.SetRowBytes(1, fields, 2);
    changed("set row bytes");
    s.Clear(1, 1);
    changed("clear");
    s.InsertRows(1, 1);
    changed("insert");
    s.MoveRow(1, 2);
    changed("move");
    s.PermuteRows(1, {2, 1});
    changed("permute");
    s.RemoveRows(1, 1);
    changed("remove");
    s.ClearAll();
    changed("clear all");
    std::string_view view;
    (void)s.Get(0, 0);
    (void)s.GetBytes(0, 1);
    (void)s.View(0, 1, view);
    s.Compact();
    EXPECT_EQ(s.Changes(), last);
}

// A column's count changes with its own texts and with the rows, never with another
// column's texts or with the rows' order, and never comes back to a count it had.
TEST(CellStore, CountsTheChangesOfEachColumnsTexts) {
    CellStore s;
    s.Resize(3, 4);
    std::uint64_t seen[3];
    auto look = [&] {
        for (int c = 0; c < 3; ++c) seen[c] = s.ColumnChanges(c);
    };
    // Which columns changed since look(), as a string of 0s and 1s.
    auto changed = [&] {
        std::string out;
        for (int c = 0; c < 3; ++c) out += s.ColumnChanges(c) != seen[c] ? '1' : '0';
        look();
        return out;
    };
    look();
    s.Set(1, 1, QStringLiteral("a text long enough for the pool"));
    EXPECT_EQ(changed(), "010") << "set";
    s.SetBytes(2, 3, "7");
    EXPECT_EQ(changed(), "001") << "set bytes";
    s.Clear(0, 2);
    EXPECT_EQ(changed(), "100") << "clear";
    s.MoveRow(1, 3);
    s.PermuteRows(1, {3, 1, 2});
    EXPECT_EQ(changed(), "000") << "rows moved and permuted";
    const std::string_view fields[] = {"row", "two"};
    s.SetRowBytes(1, fields, 2);
    EXPECT_EQ(changed(), "111") << "set row bytes";
    s.InsertRows(1, 1);
    EXPECT_EQ(changed(), "111") << "insert";
    s.RemoveRows(1, 1);
    EXPECT_EQ(changed(), "111") << "remove";
    s.SetRows(6);
    EXPECT_EQ(changed(), "111") << "rows added";
    s.ClearAll();
    EXPECT_EQ(changed(), "111") << "clear all";
    CellStore other;
    other.Resize(3, 2);
    s.Swap(other);
    EXPECT_EQ(changed(), "111") << "swap";
    // Fewer columns, then more again, then a cell set: the count is a new one.
    std::vector<std::uint64_t> before;
    for (int c = 0; c < 3; ++c) before.push_back(s.ColumnChanges(c));
    s.Resize(1, 2);
    s.Resize(3, 2);
    s.Set(2, 1, QStringLiteral("x"));
    for (int c = 0; c < 3; ++c) EXPECT_GT(s.ColumnChanges(c), before[static_cast<size_t>(c)]) << c;
    look();
    (void)s.Get(2, 1);
    s.Compact();
    EXPECT_EQ(changed(), "000") << "reads and compaction";
}

}  // namespace stallmark
