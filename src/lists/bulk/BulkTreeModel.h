#pragma once
// What the two bulk order trees show, kept as the orders themselves: the node texts and
// state pictures are made when the view asks for them, so tens of thousands of orders
// load without an item object per node.
//
// TLargeOrderModel: one top-level node per large order, with one child per piece of its
// kind (in the tree's piece order). TSmallOrderModel: one node per small order.
// Both answer StateRole with the node's state (BulkState as an int) and show it as the
// state picture of ImageList_16x16.

#include <QAbstractItemModel>
#include <QIcon>
#include <array>
#include <utility>
#include <vector>

#include "lists/bulk/BulkRecords.h"

namespace stallmark {

inline constexpr int kBulkStateRole = Qt::UserRole + 1;

class TBulkModelBase : public QAbstractItemModel {
    Q_OBJECT
public:
    using QAbstractItemModel::QAbstractItemModel;
    int columnCount(const QModelIndex& parent = {}) const override;

protected:
    static Qt::ItemFlags NodeFlags(const QModelIndex& index, bool leaf);
    // The runs of rows (first, last) whose state differs between before and after; many
    // runs are given as one from the first changed row to the last.
    static std::vector<std::pair<int, int>> ChangedRuns(const std::vector<BulkState>& before,
                                                        const std::vector<BulkState>& after);
    QVariant StateData(BulkState state, int role) const;

private:
    mutable std::array<QIcon, 4> icons_{};
};

class TLargeOrderModel final : public TBulkModelBase {
    Q_OBJECT
public:
    using TBulkModelBase::TBulkModelBase;

    // Replaces every node; no node has a state until SetStates.
    void SetOrders(std::vector<LargeOrder> orders);
    // Replaces every node, each with its state from match (made for these orders).
    void SetOrders(std::vector<LargeOrder> orders, const BulkMatch& match);
    // The states of the orders and of their pieces (as MatchBulkOrders gives them).
    void SetStates(const BulkMatch& match);
    const std::vector<LargeOrder>& Orders() const { return orders_; }

    // A node's large order (its parent's for a piece node); -1 for none.
    int OrderOf(const QModelIndex& index) const;
    bool IsPiece(const QModelIndex& index) const;
    QModelIndex OrderIndex(int order) const;
    QString Text(const QModelIndex& index) const;
    BulkState State(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<LargeOrder> orders_;
    std::vector<BulkState> states_;
    std::vector<std::uint32_t> firstPiece_;
    std::vector<BulkState> pieceStates_;
};

class TSmallOrderModel final : public TBulkModelBase {
    Q_OBJECT
public:
    using TBulkModelBase::TBulkModelBase;

    // Replaces every node; each one starts missing (a red cross) until matched.
    void SetOrders(std::vector<SmallOrder> orders);
    // Replaces every node, each with its state from match (made for these orders).
    void SetOrders(std::vector<SmallOrder> orders, const BulkMatch& match);
    void SetStates(const BulkMatch& match);
    const std::vector<SmallOrder>& Orders() const { return orders_; }

    QModelIndex OrderIndex(int order) const;
    QString Text(const QModelIndex& index) const;
    BulkState State(const QModelIndex& index) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    std::vector<SmallOrder> orders_;
    std::vector<BulkState> states_;
};

}  // namespace stallmark
