#include "lists/bulk/BulkTreeModel.h"

#include <algorithm>

#include "controls/Icons.h"
#include "store/GameNames.h"

namespace stallmark {

namespace {

// Top-level nodes carry 0; a piece node carries its order's row + 1.
constexpr quintptr kTopLevel = 0;

}  // namespace

// --- both models ----------------------------------------------------------------------

int TBulkModelBase::columnCount(const QModelIndex&) const { return 1; }

Qt::ItemFlags TBulkModelBase::NodeFlags(const QModelIndex& index, bool leaf) {
    if (!index.isValid()) return Qt::NoItemFlags;
    // Telling the view which nodes never have children spares it a look-up per node.
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | (leaf ? Qt::ItemNeverHasChildren : Qt::NoItemFlags);
}

Qt::ItemFlags TLargeOrderModel::flags(const QModelIndex& index) const { return NodeFlags(index, IsPiece(index)); }

Qt::ItemFlags TSmallOrderModel::flags(const QModelIndex& index) const { return NodeFlags(index, true); }

std::vector<std::pair<int, int>> TBulkModelBase::ChangedRuns(const std::vector<BulkState>& before,
                                                             const std::vector<BulkState>& after) {
    // A tree view looks each changed row up among the rows it shows and asks every row of
    // a range again: a few short runs cost little; many runs become one range.
    constexpr std::size_t kMostRuns = 8;
    std::vector<std::pair<int, int>> runs;
    const std::size_t n = std::min(before.size(), after.size());
    for (std::size_t row = 0; row < n; ++row) {
        if (before[row] == after[row]) continue;
        const int r = static_cast<int>(row);
        if (!runs.empty() && runs.back().second == r - 1)
            runs.back().second = r;
        else
            runs.emplace_back(r, r);
    }
    if (runs.size() > kMostRuns) runs = {{runs.front().first, runs.back().second}};
    return runs;
}

QVariant TBulkModelBase::StateData(BulkState state, int role) const {
    const int picture = static_cast<int>(state);
    if (role == kBulkStateRole) return picture;
    if (role == Qt::DecorationRole && state != BulkState::None) {
        QIcon& icon = icons_[static_cast<std::size_t>(picture)];
        if (icon.isNull()) icon = ImageList_16x16().Icon(picture);
        return icon;
    }
    return {};
}

// --- large orders ---------------------------------------------------------------------

void TLargeOrderModel::SetOrders(std::vector<LargeOrder> orders, const BulkMatch& match) {
    beginResetModel();
    orders_ = std::move(orders);
    firstPiece_.clear();
    std::uint32_t first = 0;
    for (const LargeOrder& order : orders_) {
        firstPiece_.push_back(first);
        first += static_cast<std::uint32_t>(LargeOrderPieceCount(order.kind));
    }
    const bool fits = match.large.size() == orders_.size() && match.pieces.size() == first;
    states_ = fits ? match.large : std::vector<BulkState>(orders_.size(), BulkState::None);
    pieceStates_ = fits ? match.pieces : std::vector<BulkState>(first, BulkState::None);
    endResetModel();
}

void TLargeOrderModel::SetOrders(std::vector<LargeOrder> orders) {
    beginResetModel();
    orders_ = std::move(orders);
    states_.assign(orders_.size(), BulkState::None);
    firstPiece_.clear();
    pieceStates_.clear();
    std::uint32_t first = 0;
    for (const LargeOrder& order : orders_) {
        firstPiece_.push_back(first);
        first += static_cast<std::uint32_t>(LargeOrderPieceCount(order.kind));
    }
    pieceStates_.assign(first, BulkState::None);
    endResetModel();
}

void TLargeOrderModel::SetStates(const BulkMatch& match) {
    if (match.large.size() != orders_.size() || match.pieces.size() != pieceStates_.size()) return;
    // Only what changed is told: a tree view looks every changed item up among the rows
    // it shows, so telling it each collapsed order's pieces would cost a search per order.
    const std::vector<std::pair<int, int>> runs = ChangedRuns(states_, match.large);
    std::vector<int> changedParents;
    for (std::size_t row = 0; row < orders_.size(); ++row) {
        const std::size_t begin = firstPiece_[row];
        const std::size_t end = row + 1 < orders_.size() ? firstPiece_[row + 1] : pieceStates_.size();
        if (!std::equal(pieceStates_.begin() + static_cast<std::ptrdiff_t>(begin),
                        pieceStates_.begin() + static_cast<std::ptrdiff_t>(end),
                        match.pieces.begin() + static_cast<std::ptrdiff_t>(begin)))
            changedParents.push_back(static_cast<int>(row));
    }
    const QList<int> roles = {Qt::DecorationRole, kBulkStateRole};
    // Many orders' pieces at once (a new load): every node is asked again, in one pass.
    constexpr std::size_t kPieceSignals = 16;
    const bool relayout = changedParents.size() > kPieceSignals;
    if (relayout) emit layoutAboutToBeChanged({}, QAbstractItemModel::NoLayoutChangeHint);
    states_ = match.large;
    pieceStates_ = match.pieces;
    if (relayout) {
        emit layoutChanged({}, QAbstractItemModel::NoLayoutChangeHint);
        return;
    }
    for (const auto& [first, last] : runs) emit dataChanged(index(first, 0), index(last, 0), roles);
    for (int row : changedParents) {
        const QModelIndex parent = index(row, 0);
        emit dataChanged(index(0, 0, parent), index(rowCount(parent) - 1, 0, parent), roles);
    }
}

int TLargeOrderModel::OrderOf(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) return -1;
    const int row = index.internalId() == kTopLevel ? index.row() : static_cast<int>(index.internalId() - 1);
    return row >= 0 && row < static_cast<int>(orders_.size()) ? row : -1;
}

bool TLargeOrderModel::IsPiece(const QModelIndex& index) const {
    return index.isValid() && index.model() == this && index.internalId() != kTopLevel;
}

QModelIndex TLargeOrderModel::OrderIndex(int order) const {
    return order >= 0 && order < static_cast<int>(orders_.size()) ? index(order, 0) : QModelIndex();
}

QString TLargeOrderModel::Text(const QModelIndex& index) const {
    const int order = OrderOf(index);
    if (order < 0) return {};
    const LargeOrder& o = orders_[static_cast<std::size_t>(order)];
    if (!IsPiece(index)) return QString::fromLatin1(LargeOrderText(o));
    const std::span<const std::string_view> pieces = LargeOrderPieces(o.kind);
    if (index.row() < 0 || static_cast<std::size_t>(index.row()) >= pieces.size()) return {};
    const std::string_view name = pieces[static_cast<std::size_t>(index.row())];
    return QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size()));
}

BulkState TLargeOrderModel::State(const QModelIndex& index) const {
    const int order = OrderOf(index);
    if (order < 0) return BulkState::None;
    if (!IsPiece(index)) return states_[static_cast<std::size_t>(order)];
    const std::size_t at = firstPiece_[static_cast<std::size_t>(order)] + static_cast<std::size_t>(index.row());
    return at < pieceStates_.size() ? pieceStates_[at] : BulkState::None;
}

QModelIndex TLargeOrderModel::index(int row, int column, const QModelIndex& parent) const {
    if (column != 0 || row < 0) return {};
    if (!parent.isValid())
        return row < static_cast<int>(orders_.size()) ? createIndex(row, 0, kTopLevel) : QModelIndex();
    if (IsPiece(parent) || OrderOf(parent) < 0) return {};
    if (row >= LargeOrderPieceCount(orders_[static_cast<std::size_t>(parent.row())].kind)) return {};
    return createIndex(row, 0, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex TLargeOrderModel::parent(const QModelIndex& child) const {
    if (!IsPiece(child)) return {};
    return createIndex(static_cast<int>(child.internalId() - 1), 0, kTopLevel);
}

int TLargeOrderModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return static_cast<int>(orders_.size());
    if (IsPiece(parent) || OrderOf(parent) < 0) return 0;
    return LargeOrderPieceCount(orders_[static_cast<std::size_t>(parent.row())].kind);
}

QVariant TLargeOrderModel::data(const QModelIndex& index, int role) const {
    if (OrderOf(index) < 0) return {};
    if (role == Qt::DisplayRole) return Text(index);
    return StateData(State(index), role);
}

// --- small orders ---------------------------------------------------------------------

void TSmallOrderModel::SetOrders(std::vector<SmallOrder> orders, const BulkMatch& match) {
    beginResetModel();
    orders_ = std::move(orders);
    states_ =
        match.small.size() == orders_.size() ? match.small : std::vector<BulkState>(orders_.size(), BulkState::Missing);
    endResetModel();
}

void TSmallOrderModel::SetOrders(std::vector<SmallOrder> orders) {
    beginResetModel();
    orders_ = std::move(orders);
    states_.assign(orders_.size(), BulkState::Missing);
    endResetModel();
}

void TSmallOrderModel::SetStates(const BulkMatch& match) {
    if (match.small.size() != orders_.size()) return;
    const std::vector<std::pair<int, int>> runs = ChangedRuns(states_, match.small);
    states_ = match.small;
    for (const auto& [first, last] : runs)
        emit dataChanged(index(first, 0), index(last, 0), {Qt::DecorationRole, kBulkStateRole});
}

QModelIndex TSmallOrderModel::OrderIndex(int order) const {
    return order >= 0 && order < static_cast<int>(orders_.size()) ? index(order, 0) : QModelIndex();
}

QString TSmallOrderModel::Text(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this || index.row() >= static_cast<int>(orders_.size())) return {};
    return QString::fromLatin1(SmallOrderText(orders_[static_cast<std::size_t>(index.row())]));
}

BulkState TSmallOrderModel::State(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this || index.row() >= static_cast<int>(states_.size()))
        return BulkState::None;
    return states_[static_cast<std::size_t>(index.row())];
}

QModelIndex TSmallOrderModel::index(int row, int column, const QModelIndex& parent) const {
    if (parent.isValid() || column != 0 || row < 0 || row >= static_cast<int>(orders_.size())) return {};
    return createIndex(row, 0);
}

QModelIndex TSmallOrderModel::parent(const QModelIndex&) const { return {}; }

int TSmallOrderModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(orders_.size());
}

QVariant TSmallOrderModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.model() != this || index.row() >= static_cast<int>(orders_.size())) return {};
    if (role == Qt::DisplayRole) return Text(index);
    return StateData(State(index), role);
}

}  // namespace stallmark
