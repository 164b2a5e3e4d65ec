// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/RunPlan.h"

#include <QSortFilterProxyModel>
#include <array>

namespace trx {

class cPlanModel;

// The preview's list as the user narrows and orders it: kinds shown or hidden, a name search, and a sort
// by any column whose third click on the same column returns to the run's order. Destinations and
// sources always stay, in the run's order; only actions are filtered and sorted. A change of filter rebuilds
// the whole mapping at once: refiltering row by row costs seconds at a hundred thousand rows.
class cPlanFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit cPlanFilter(cPlanModel& model, QObject* parent = nullptr);

    void SetKindShown(cPlannedAction::Kind kind, bool shown);
    bool KindShown(cPlannedAction::Kind kind) const { return shown_[static_cast<std::size_t>(kind)]; }
    // Actions whose name or path below the source (or whose text) holds `text`, regardless of case.
    void SetSearch(const QString& text);

    // A click on a column's header: ascending, then descending, then the run's order again.
    void ClickColumn(int column);
    // The sorted column, -1 in the run's order; and its order.
    int SortColumn() const { return sortColumn_; }
    Qt::SortOrder Order() const { return order_; }

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    bool ActionLess(const cPlannedAction& a, const cPlannedAction& b, int column) const;

    cPlanModel& model_;
    std::array<bool, 5> shown_{true, true, true, true, true};
    QString search_;
    int sortColumn_ = -1;
    Qt::SortOrder order_ = Qt::AscendingOrder;
};

}  // namespace trx
