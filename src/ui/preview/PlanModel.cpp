// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preview/PlanModel.h"

#include "engine/FormatSize.h"
#include "engine/TextFormats.h"
#include "platform/LocalTime.h"
#include "ui/common/ModelText.h"
#include "ui/preview/KindIcons.h"

#include <QIcon>
#include <algorithm>

namespace trx {

namespace {

using Kind = cPlannedAction::Kind;

// The first line of a protocol text: the list has one line per row; the line below it shows the rest.
QString FirstLine(const std::string& text) {
    const QString whole = FromModel(text);
    const qsizetype end = whole.indexOf(u'\n');
    return end < 0 ? whole : whole.left(end) + QStringLiteral(" …");
}

}  // namespace

cPlanModel::cPlanModel(const cTextFormats& formats, QObject* parent)
    : QAbstractItemModel(parent), formats_(formats) {
    for (const Kind kind : {Kind::Copy, Kind::Replace, Kind::Delete, Kind::HoldBack, Kind::Problem}) {
        icons_[static_cast<std::size_t>(kind)] = KindIcon(kind);
    }
}

void cPlanModel::SetPlan(const cRunPlan* plan) {
    beginResetModel();
    plan_ = plan;
    destinations_.clear();
    groupsOf_.clear();
    actionsOf_.assign(plan != nullptr ? plan->Groups.size() : 0, {});
    destinationOf_.assign(actionsOf_.size(), 0);
    rowOf_.assign(actionsOf_.size(), 0);
    if (plan != nullptr) {
        for (std::size_t i = 0; i < plan->Actions.size(); ++i) {
            actionsOf_[plan->Folders[plan->Actions[i].Where].Group].push_back(static_cast<std::uint32_t>(i));
        }
        for (std::uint32_t g = 0; g < plan->Groups.size(); ++g) {
            const std::string& destination = plan->Groups[g].Destination;
            auto it = std::find(destinations_.begin(), destinations_.end(), destination);
            if (it == destinations_.end()) {
                it = destinations_.insert(destinations_.end(), destination);
                groupsOf_.emplace_back();
            }
            const auto d = static_cast<std::uint32_t>(it - destinations_.begin());
            destinationOf_[g] = d;
            if (!actionsOf_[g].empty()) {
                rowOf_[g] = static_cast<std::uint32_t>(groupsOf_[d].size());
                groupsOf_[d].push_back(g);
            }
        }
    }
    endResetModel();
}

cPlanModel::Level cPlanModel::LevelOf(const QModelIndex& index) const {
    const quintptr id = index.internalId();
    return id == 0 ? Level::Destination : id <= destinations_.size() ? Level::Group : Level::Action;
}

const cPlannedAction* cPlanModel::ActionAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this || LevelOf(index) != Level::Action) {
        return nullptr;
    }
    const std::size_t group = index.internalId() - 1 - destinations_.size();
    return &plan_->Actions[actionsOf_[group][static_cast<std::size_t>(index.row())]];
}

int cPlanModel::GroupAt(const QModelIndex& index) const {
    if (!index.isValid() || index.model() != this) {
        return -1;
    }
    switch (LevelOf(index)) {
        case Level::Destination:
            return -1;
        case Level::Group:
            return static_cast<int>(groupsOf_[index.internalId() - 1][static_cast<std::size_t>(index.row())]);
        case Level::Action:
            return static_cast<int>(index.internalId() - 1 - destinations_.size());
    }
    return -1;
}

QModelIndex cPlanModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column < 0 || column >= ColumnCount || row >= rowCount(parent)) {
        return {};
    }
    if (!parent.isValid()) {
        return createIndex(row, column, quintptr{0});
    }
    if (LevelOf(parent) == Level::Destination) {
        return createIndex(row, column, quintptr{1} + static_cast<quintptr>(parent.row()));
    }
    const auto group = static_cast<quintptr>(GroupAt(parent));
    return createIndex(row, column, quintptr{1} + destinations_.size() + group);
}

QModelIndex cPlanModel::parent(const QModelIndex& child) const {
    if (!child.isValid()) {
        return {};
    }
    switch (LevelOf(child)) {
        case Level::Destination:
            return {};
        case Level::Group:
            return createIndex(static_cast<int>(child.internalId() - 1), 0, quintptr{0});
        case Level::Action: {
            const std::size_t group = child.internalId() - 1 - destinations_.size();
            const std::uint32_t destination = destinationOf_[group];
            return createIndex(static_cast<int>(rowOf_[group]), 0, quintptr{1} + destination);
        }
    }
    return {};
}

int cPlanModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) {
        return static_cast<int>(destinations_.size());
    }
    if (parent.column() != 0) {
        return 0;
    }
    switch (LevelOf(parent)) {
        case Level::Destination:
            return static_cast<int>(groupsOf_[static_cast<std::size_t>(parent.row())].size());
        case Level::Group:
            return static_cast<int>(actionsOf_[static_cast<std::size_t>(GroupAt(parent))].size());
        case Level::Action:
            return 0;
    }
    return 0;
}

int cPlanModel::columnCount(const QModelIndex&) const {
    return ColumnCount;
}

QVariant cPlanModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return {};
    }
    static const char* const kTitles[] = {"Name", "Aktion", "Größe", "Original geändert", "Kopie geändert"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(kTitles[section]) : QVariant();
}

QVariant cPlanModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || plan_ == nullptr) {
        return {};
    }
    if (const cPlannedAction* action = ActionAt(index)) {
        return ActionData(*action, index.column(), role);
    }
    if (LevelOf(index) == Level::Group) {
        return GroupData(GroupAt(index), index.column(), role);
    }
    if (index.column() == ColumnName && (role == Qt::DisplayRole || role == Qt::ToolTipRole)) {
        return QStringLiteral("Ziel ") + FromModel(destinations_[static_cast<std::size_t>(index.row())]);
    }
    return {};
}

QVariant cPlanModel::GroupData(int group, int column, int role) const {
    const cPlanGroup& g = plan_->Groups[static_cast<std::size_t>(group)];
    if (column != ColumnName || (role != Qt::DisplayRole && role != Qt::ToolTipRole)) {
        return {};
    }
    // A destination's own decisions (its folder missing, for example) come before any source.
    return g.Source.empty() ? QStringLiteral("Ziel selbst") : QStringLiteral("Quelle ") + FromModel(g.Source);
}

QString cPlanModel::RelativePath(const cPlannedAction& action) const {
    const cPlanFolder& folder = plan_->Folders[action.Where];
    QString path = FromModel(folder.Relative + action.Name);
    if (action.Folder && !action.Name.empty()) {
        path += u'/';
    }
    return path;
}

QVariant cPlanModel::ActionData(const cPlannedAction& action, int column, int role) const {
    if (role == Qt::DecorationRole && column == ColumnName) {
        return icons_[static_cast<std::size_t>(action.What)];
    }
    if (role == Qt::TextAlignmentRole && column == ColumnSize) {
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) {
        return {};
    }
    const bool told = action.What == Kind::HoldBack || action.What == Kind::Problem;
    switch (column) {
        case ColumnName:
            return told ? FirstLine(action.Text) : RelativePath(action);
        case ColumnKind:
            return KindName(action.What);
        case ColumnSize:
            return SizeText(action);
        case ColumnSourceTime:
            return TimeText(action.SourceModified);
        case ColumnCopyTime:
            return TimeText(action.CopyModified);
        default:
            return {};
    }
}

QString cPlanModel::SizeText(const cPlannedAction& action) const {
    switch (action.What) {
        case Kind::Copy:
        case Kind::Replace:
            return FromModel(FormatSize(action.Size, formats_));
        case Kind::Delete:
            return action.Folder ? QString() : FromModel(FormatSize(action.Size, formats_));
        case Kind::HoldBack:
            return action.Size == 1 ? QStringLiteral("1 Eintrag")
                                    : QStringLiteral("%1 Einträge").arg(action.Size);
        case Kind::Problem:
            break;
    }
    return {};
}

QString cPlanModel::TimeText(const platform::FileTime& time) const {
    if (time.Seconds == 0 && time.Nanoseconds == 0) {
        return {};
    }
    const platform::cLocalTime local = platform::ToLocalTime(time.Seconds, time.Nanoseconds);
    return FromModel(formats_.ShortDate(local) + " " + formats_.LongTime(local));
}

QString cPlanModel::FullText(const QModelIndex& index) const {
    const cPlannedAction* action = ActionAt(index);
    if (action == nullptr) {
        const int group = GroupAt(index);
        if (group < 0) {
            return index.isValid() ? data(index.siblingAtColumn(ColumnName)).toString() : QString();
        }
        const cPlanGroup& g = plan_->Groups[static_cast<std::size_t>(group)];
        return data(index.siblingAtColumn(ColumnName)).toString() + QStringLiteral(" nach ") +
               FromModel(g.Target);
    }
    switch (action->What) {
        case Kind::Copy:
        case Kind::Replace:
            return KindName(action->What) + QStringLiteral(": ") + FromModel(plan_->SourcePath(*action)) +
                   QStringLiteral(" → ") + FromModel(plan_->TargetPath(*action));
        case Kind::Delete:
            return KindName(action->What) + QStringLiteral(": ") + FromModel(plan_->TargetPath(*action));
        case Kind::HoldBack:
        case Kind::Problem:
            break;
    }
    return KindName(action->What) + QStringLiteral(": ") + FromModel(action->Text);
}

}  // namespace trx
