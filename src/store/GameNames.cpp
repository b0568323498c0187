#include "store/GameNames.h"

namespace stallmark {

namespace {

constexpr std::string_view kRingmail[] = {"Gloves", "Sleeves", "Leggings", "Tunic"};
constexpr std::string_view kChainmail[] = {"Coif", "Leggings", "Tunic"};
constexpr std::string_view kPlate[] = {"Arms", "Gorget", "Gloves", "Helm", "Legs", "Tunic"};

}  // namespace

std::span<const std::string_view> LargeOrderPieces(long long kind) {
    switch (kind) {
        case 0: return kRingmail;
        case 1: return kChainmail;
        case 2:
        case 3: return kPlate;
        default: return {};
    }
}

}  // namespace stallmark
