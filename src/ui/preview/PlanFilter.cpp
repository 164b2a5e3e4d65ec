// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preview/PlanFilter.h"

#include "ui/common/ModelText.h"
#include "ui/preview/PlanModel.h"

#include <algorithm>
#include <cctype>
#include <tuple>

namespace trx {

namespace {

using Kind = cPlannedAction::Kind;

bool Earlier(const platform::FileTime& a, const platform::FileTime& b) {
    return std::tie(a.Seconds, a.Nanoseconds) < std::tie(b.Seconds, b.Nanoseconds);
}

// -1, 0 or 1 as `a` sorts before, with or after `b`, ASCII letters without regard to case: cheap enough
// for a million comparisons, where turning every name into a QString is not.
int CompareNoCase(const std::string& a, const std::string& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        const int x = std::tolower(static_cast<unsigned char>(a[i]));
        const int y = std::tolower(static_cast<unsigned char>(b[i]));
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

}  // namespace

cPlanFilter::cPlanFilter(cPlanModel& model, QObject* parent) : QSortFilterProxyModel(parent), model_(model) {
    setSourceModel(&model);
    setDynamicSortFilter(false);  // the plan never changes while it is shown
}

void cPlanFilter::SetKindShown(cPlannedAction::Kind kind, bool shown) {
    if (KindShown(kind) != shown) {
        shown_[static_cast<std::size_t>(kind)] = shown;
        invalidate();
    }
}

void cPlanFilter::SetSearch(const QString& text) {
    if (text != search_) {
        search_ = text;
        invalidate();
    }
}

void cPlanFilter::ClickColumn(int column) {
    if (column != sortColumn_) {
        sortColumn_ = column;
        order_ = Qt::AscendingOrder;
    } else if (order_ == Qt::AscendingOrder) {
        order_ = Qt::DescendingOrder;
    } else {
        sortColumn_ = -1;
        order_ = Qt::AscendingOrder;
    }
    sort(sortColumn_, order_);
}

bool cPlanFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const cPlannedAction* action = model_.ActionAt(model_.index(sourceRow, 0, sourceParent));
    if (action == nullptr) {
        return true;
    }
    if (!KindShown(action->What)) {
        return false;
    }
    if (search_.isEmpty()) {
        return true;
    }
    const bool told = action->What == Kind::HoldBack || action->What == Kind::Problem;
    const QString name = told ? FromModel(action->Text) : model_.RelativePath(*action);
    return name.contains(search_, Qt::CaseInsensitive);
}

bool cPlanFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const cPlannedAction* a = model_.ActionAt(left);
    const cPlannedAction* b = model_.ActionAt(right);
    if (a == nullptr || b == nullptr) {
        // Destinations and sources stay in the run's order, whichever way their actions are sorted.
        return order_ == Qt::AscendingOrder ? left.row() < right.row() : left.row() > right.row();
    }
    if (ActionLess(*a, *b, left.column())) {
        return true;
    }
    // Equal keys keep the run's order (the proxy's sort is stable, but descending reverses ties too).
    return !ActionLess(*b, *a, left.column()) && (order_ == Qt::AscendingOrder ? a < b : a > b);
}

bool cPlanFilter::ActionLess(const cPlannedAction& a, const cPlannedAction& b, int column) const {
    switch (column) {
        case cPlanModel::ColumnName: {
            // Folder by folder, the files of one folder together.
            const cRunPlan& plan = *model_.Plan();
            const int folders = CompareNoCase(plan.Folders[a.Where].Relative, plan.Folders[b.Where].Relative);
            return folders != 0 ? folders < 0 : CompareNoCase(a.Name, b.Name) < 0;
        }
        case cPlanModel::ColumnKind:
            return a.What < b.What;
        case cPlanModel::ColumnSize:
            return a.Size < b.Size;
        case cPlanModel::ColumnSourceTime:
            return Earlier(a.SourceModified, b.SourceModified);
        case cPlanModel::ColumnCopyTime:
            return Earlier(a.CopyModified, b.CopyModified);
        default:
            return false;
    }
}

}  // namespace trx
