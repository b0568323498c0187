#include "store/BigMemory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "store/Files.h"
#include "support/TempDir.h"

using namespace stallmark;
using test::TempDir;

namespace {

// Every byte of a buffer can be written and read back, whichever way it was placed.
TEST(BigMemory, BuffersOnEitherSideOfTheLargePageHoldTheirBytes) {
    for (const std::size_t bytes : {std::size_t{1}, std::size_t{4095}, BigMemory::kLargePage - 1,
                                    BigMemory::kLargePage, BigMemory::kLargePage + 1, 3 * BigMemory::kLargePage + 12345}) {
        auto* p = static_cast<unsigned char*>(BigMemory::Allocate(bytes));
        ASSERT_NE(p, nullptr) << bytes;
        for (std::size_t i = 0; i < bytes; ++i) p[i] = static_cast<unsigned char>(i * 31 + 7);
        std::size_t wrong = 0;
        for (std::size_t i = 0; i < bytes; ++i) wrong += p[i] != static_cast<unsigned char>(i * 31 + 7);
        EXPECT_EQ(wrong, 0u) << bytes;
        if (BigMemory::UsesLargePages(bytes)) {
            // Placed on a boundary, so that its first large page is whole.
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(p) % BigMemory::kLargePage, 0u) << bytes;
        }
        BigMemory::Free(p, bytes);
    }
    EXPECT_EQ(BigMemory::Allocate(0), nullptr);
    BigMemory::Free(nullptr, 0);
    EXPECT_FALSE(BigMemory::UsesLargePages(BigMemory::kLargePage - 1));
}

// Containers that grow through the threshold keep what they held, and give it back.
TEST(BigMemory, ContainersGrowingPastTheThresholdKeepTheirContent) {
    BigBytes text;
    std::string reference;
    for (int i = 0; reference.size() < 3 * BigMemory::kLargePage; ++i) {
        const std::string piece = "line " + std::to_string(i) + ",\x80\xE9\r\n";
        text.append(piece);
        reference += piece;
    }
    EXPECT_EQ(std::string_view(text), reference);
    BigBytes copy = text;
    text.clear();
    text.shrink_to_fit();
    EXPECT_EQ(std::string_view(copy), reference);

    std::vector<std::uint64_t, BigAllocator<std::uint64_t>> slots;
    for (std::uint64_t i = 0; i < BigMemory::kLargePage; ++i) slots.push_back(i * i);
    slots.resize(slots.size() / 3);
    slots.shrink_to_fit();
    std::uint64_t wrong = 0;
    for (std::uint64_t i = 0; i < slots.size(); ++i) wrong += slots[i] != i * i;
    EXPECT_EQ(wrong, 0u);
}

// A whole file read into large-file memory is the file, byte for byte.
TEST(BigMemory, ReadBigFileBytesIsTheFile) {
    TempDir dir;
    std::string bytes;
    for (int i = 0; bytes.size() < BigMemory::kLargePage + 100; ++i)
        bytes += "Bow,Vanquishing " + std::to_string(i) + ",\xA3\x39\r\n";
    dir.Write("MWStock.dat", bytes);
    EXPECT_EQ(std::string_view(ReadBigFileBytes(dir.File("MWStock.dat"))), bytes);
    dir.Write("Empty.dat", "");
    EXPECT_TRUE(ReadBigFileBytes(dir.File("Empty.dat")).empty());
    EXPECT_THROW(ReadBigFileBytes(dir.File("Missing.dat")), StoreError);
}

}  // namespace
