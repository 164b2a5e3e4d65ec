// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/PlanRecorder.h"

#include "platform/FileTypes.h"

namespace trx {

namespace {
std::string Key(std::uint32_t index, const std::string& text) {
    return std::to_string(index) + '\0' + text;
}
}  // namespace

void cPlanRecorder::BeginGroup(const std::string& destination, const std::string& source,
                               const std::string& target) {
    const auto [it, added] =
        groups_.try_emplace(destination + '\0' + source, static_cast<std::uint32_t>(plan_.Groups.size()));
    if (added) {
        plan_.Groups.push_back({destination, source, target});
    }
    group_ = it->second;
    grouped_ = true;
}

std::uint32_t cPlanRecorder::Folder(const std::string& relative) {
    if (!grouped_) {
        BeginGroup({}, {}, {});  // what a destination decides before any of its sources
    }
    const auto [it, added] =
        folders_.try_emplace(Key(group_, relative), static_cast<std::uint32_t>(plan_.Folders.size()));
    if (added) {
        plan_.Folders.push_back({group_, relative});
    }
    return it->second;
}

std::string cPlanRecorder::Relative(const std::string& path) const {
    if (!grouped_) {
        return {};
    }
    const cPlanGroup& group = plan_.Groups[group_];
    for (const std::string* base : {&group.Target, &group.Source}) {
        if (!base->empty() && path.starts_with(*base)) {
            return path.substr(base->size());
        }
    }
    return {};
}

void cPlanRecorder::Copy(const std::string& relative, const std::string& name, const platform::EntryInfo& source,
                         const platform::EntryInfo* copy) {
    cPlannedAction action;
    action.What = copy != nullptr ? cPlannedAction::Kind::Replace : cPlannedAction::Kind::Copy;
    action.Where = Folder(relative);
    action.Name = name;
    action.Size = source.Size;
    action.SourceModified = source.Modified;
    if (copy != nullptr) {
        action.CopyModified = copy->Modified;
    }
    plan_.Actions.push_back(std::move(action));
}

void cPlanRecorder::Delete(const std::string& targetFolder, const std::string& name, bool folder,
                           std::uint64_t size, platform::FileTime modified) {
    cPlannedAction action;
    action.What = cPlannedAction::Kind::Delete;
    action.Folder = folder;
    action.Where = Folder(Relative(targetFolder));
    action.Name = name;
    action.Size = size;
    action.CopyModified = modified;
    plan_.Actions.push_back(std::move(action));
}

void cPlanRecorder::HoldBack(const std::string& path, std::uint64_t entries, const std::string& text) {
    cPlannedAction action;
    action.What = cPlannedAction::Kind::HoldBack;
    action.Folder = true;
    action.Where = Folder(Relative(path));
    action.Size = entries;
    action.Text = text;
    plan_.Actions.push_back(std::move(action));
}

void cPlanRecorder::Problem(const std::string& text) {
    cPlannedAction action;
    action.What = cPlannedAction::Kind::Problem;
    action.Where = Folder({});
    action.Text = text;
    plan_.Actions.push_back(std::move(action));
}

}  // namespace trx
