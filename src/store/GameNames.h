#pragma once
// The game's names of ores, qualities, armour kinds and armour pieces, shared by the smith
// price table and the bulk orders. The bulk order files store indexes into these tables, so
// their order is part of the file format. No name holds a blank, so each is one item of
// comma text.
//
// Indexes read from a file can be anything: look them up with NameAt (or the named lookups
// below), which give an empty name outside a table instead of reading past it.

#include <array>
#include <cstddef>
#include <span>
#include <string_view>

namespace stallmark {

// Ores in price-row order; the second spelt as the game spells it.
inline constexpr std::array<std::string_view, 9> OreNames = {
    "Iron", "Dull-Copper", "Shadow", "Copper", "Bronze", "Gold", "Agapite", "Verite", "Valorite",
};
// The same ores as the smith page names them in its warnings.
inline constexpr std::array<std::string_view, 9> SmithOreNames = {
    "Iron", "Dull Copper", "Shadow", "Copper", "Bronze", "Gold", "Agapite", "Verite", "Valorite",
};
inline constexpr std::array<std::string_view, 2> QualityNames = {"Normal", "Exceptional"};
// The kinds of a large bulk order. A small order's kind is 0 Ringmail, 1 Chainmail, 2 Plate.
inline constexpr std::array<std::string_view, 4> ArmourKinds = {"Ringmail", "Chainmail", "Plate-Male", "Plate-Female"};

// Piece slots per row of ArmourPieces.
inline constexpr int kArmourPieceSlots = 7;
// The pieces of a small bulk order: one row of seven slots per small-order kind (Ringmail,
// Chainmail, Plate), read by the flat index kind * 7 + slot; unused slots are empty.
inline constexpr std::array<std::string_view, 3 * kArmourPieceSlots> ArmourPieces = {
    "Gloves", "Leggings", "Sleeves", "Tunic", "",     "",           "",              // 0 Ringmail (0-3)
    "Coif",   "Leggings", "Tunic",   "",      "",     "",           "",              // 1 Chainmail (7-9)
    "Arms",   "Gloves",   "Gorget",  "Helm",  "Legs", "Tunic-Male", "Tunic-Female",  // 2 Plate (14-20)
};

// table[index], or an empty name when index is outside the table.
template <std::size_t N>
constexpr std::string_view NameAt(const std::array<std::string_view, N>& table, long long index) {
    return index >= 0 && static_cast<unsigned long long>(index) < N ? table[static_cast<std::size_t>(index)]
                                                                    : std::string_view();
}

// The index of name in table (exact, case-sensitive); -1 when it is not there. An empty name
// is never found.
template <std::size_t N>
constexpr int IndexOfName(const std::array<std::string_view, N>& table, std::string_view name) {
    if (name.empty()) return -1;
    for (std::size_t i = 0; i < N; ++i)
        if (table[i] == name) return static_cast<int>(i);
    return -1;
}

// The piece in slot of row kind of ArmourPieces; empty outside the table or for a slot
// outside 0 to 6.
constexpr std::string_view ArmourPieceName(long long kind, long long slot) {
    if (slot < 0 || slot >= kArmourPieceSlots) return {};
    if (kind < 0 || kind >= static_cast<long long>(ArmourPieces.size() / kArmourPieceSlots)) return {};
    return ArmourPieces[static_cast<std::size_t>(kind * kArmourPieceSlots + slot)];
}

// A kind's short name: the name up to its first "-" ("Plate" for Plate-Male and
// Plate-Female); empty outside ArmourKinds.
constexpr std::string_view ArmourKindShortName(long long kind) {
    const std::string_view name = NameAt(ArmourKinds, kind);
    return name.substr(0, name.find('-'));
}

// The pieces of a large order of kind (an index into ArmourKinds), in the order its tree
// shows them; none for a kind outside the table.
std::span<const std::string_view> LargeOrderPieces(long long kind);

// The number of pieces of a large order of kind: Ringmail 4, Chainmail 3, Plate-Male 6,
// Plate-Female 6; 0 for any other kind.
inline int LargeOrderPieceCount(long long kind) { return static_cast<int>(LargeOrderPieces(kind).size()); }

}  // namespace stallmark
