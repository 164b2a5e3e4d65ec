// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/RunPlan.h"

#include <QAbstractItemModel>
#include <QIcon>
#include <array>
#include <cstdint>
#include <vector>

namespace trx {

class cTextFormats;

// The plan of a preview as a tree: destinations, below each its sources, below each source its actions in
// the run's order. No item is made per row: every index is worked out from the plan, which the window
// keeps while the model shows it.
class cPlanModel : public QAbstractItemModel {
    Q_OBJECT

public:
    enum Column { ColumnName, ColumnKind, ColumnSize, ColumnSourceTime, ColumnCopyTime, ColumnCount };

    explicit cPlanModel(const cTextFormats& formats, QObject* parent = nullptr);

    // Shows `plan` (nullptr: nothing). Sources without any action are left out.
    void SetPlan(const cRunPlan* plan);
    const cRunPlan* Plan() const { return plan_; }

    // The action of an action row; nullptr for a destination or source row.
    const cPlannedAction* ActionAt(const QModelIndex& index) const;
    // The plan's group of a source row, or of the source an action row belongs to; -1 otherwise.
    int GroupAt(const QModelIndex& index) const;
    // Everything about the row at once, for the line under the list: whole paths and whole texts.
    QString FullText(const QModelIndex& index) const;
    // The path of an action below its source (of the copy's folder for a deletion), as the list shows it.
    QString RelativePath(const cPlannedAction& action) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // The internal id of an index names its parent: 0 the root, 1 + d destination d, 1 + D + g group g.
    enum class Level { Destination, Group, Action };
    Level LevelOf(const QModelIndex& index) const;
    QVariant ActionData(const cPlannedAction& action, int column, int role) const;
    QVariant GroupData(int group, int column, int role) const;
    QString TimeText(const platform::FileTime& time) const;
    QString SizeText(const cPlannedAction& action) const;

    const cTextFormats& formats_;
    std::array<QIcon, 5> icons_;  // per kind, drawn once
    const cRunPlan* plan_ = nullptr;
    std::vector<std::string> destinations_;
    std::vector<std::vector<std::uint32_t>> groupsOf_;   // per destination: its groups in the run's order
    std::vector<std::vector<std::uint32_t>> actionsOf_;  // per group: its actions in the run's order
    std::vector<std::uint32_t> destinationOf_;           // per group
    std::vector<std::uint32_t> rowOf_;                   // per group: its row below the destination
};

}  // namespace trx
