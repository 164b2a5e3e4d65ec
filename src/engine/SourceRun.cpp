// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/SourceRun.h"

#include "engine/FileFilterTests.h"
#include "engine/FileInputs.h"
#include "engine/FormatSize.h"
#include "engine/Messages.h"
#include "engine/PackedTime.h"
#include "engine/RunContext.h"
#include "engine/SafeCopy.h"
#include "engine/TargetDirectory.h"
#include "engine/TargetPath.h"
#include "model/BackUpDestination.h"
#include "model/BackUpOptions.h"
#include "model/BackUpSource.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

#include <cerrno>
#include <memory>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace trx {

cSourceRun::cSourceRun(cRunContext& run, cBackUpSource& source, cDestinationRunState& state)
    : run_(run),
      source_(source),
      destination_(*source.Destination),
      options_(*source.Options),
      state_(state) {
    // Without an attribute test the walk needs no stat in its first pass.
    needAttributes_ = options_.Filters[0].Attributes != 0 || options_.Filters[1].Attributes != 0;
}

void cSourceRun::BackUp() {
    source_.TotalSize = 0;
    source_.TargetSubPath = GetTargetSubPath(source_.Path, options_.TransferFlags);
    const std::string targetPath = destination_.Path + source_.TargetSubPath;

    // A target path that would climb out of the destination ("..") is as unreachable as a missing one.
    std::unique_ptr<platform::Directory> destinationDir;
    std::unique_ptr<platform::Directory> targetDir;
    if (IsPlainRelativePath(source_.TargetSubPath) && run_.Fs.MakeDirectories(targetPath) == 0 &&
        run_.Fs.OpenDirectory(destination_.Path, destinationDir) == 0) {
        targetDir = OpenBelow(run_.Fs, *destinationDir, source_.TargetSubPath);
    }
    if (!targetDir) {
        run_.ReportProblem(messages::TargetUnreachable(targetPath), nullptr);
        return;
    }
    std::unique_ptr<platform::Directory> sourceDir;
    if (run_.Fs.OpenDirectory(source_.Path, sourceDir) != 0) {
        sourceUnreachable_ = true;
        MarkUnreachable(source_.Catalogue, source_.Path);
        return;
    }
    BackUpDir(source_.Catalogue, *destination_.Tree.GetChild(source_.TargetSubPath), *sourceDir, *targetDir,
              false);
}

void cSourceRun::BackUpDir(cSubDir& catalogueNode, cSubDir& targetNode, platform::Directory& sourceDir,
                           platform::Directory& targetDir, bool targetFresh) {
    const std::string targetPath = targetNode.GetPath(true);
    const std::string relative = catalogueNode.GetPath(false);
    if (destination_.OnDirEntered) {
        destination_.OnDirEntered(destination_, relative);
    }
    run_.Pump();
    const std::string sourcePath = source_.Path + relative;

    std::vector<platform::ListedEntry> entries;
    if (run_.Fs.List(sourceDir, entries) != 0) {
        // Never let a directory that cannot be read look empty: the comparison would delete its copies.
        if (&catalogueNode == &source_.Catalogue) {
            sourceUnreachable_ = true;
        }
        MarkUnreachable(catalogueNode, sourcePath);
        return;
    }

    // Pass 1: name tests, candidates and the catalogue. One listing serves both passes; the second pass
    // stats every candidate afresh, so an entry that vanished in between is neither copied nor counted.
    std::vector<int> position(entries.size(), 0);  // 1-based place among the candidates, 0 for none
    int candidates = 0;
    std::vector<std::string> candidateNames;  // kept only when stale copies are to be removed
    // Views into Files, whose strings never move: the room for every entry is made before the first one.
    catalogueNode.Files.reserve(catalogueNode.Files.size() + entries.size());
    std::unordered_set<std::string_view> catalogued(catalogueNode.Files.begin(), catalogueNode.Files.end());
    cFileInputs inputs;
    for (std::size_t i = 0; i < entries.size() && !run_.Cancelled(); ++i) {
        const platform::ListedEntry& entry = entries[i];
        if (entry.Kind == platform::FileKind::Directory) {
            if (IsDestination(sourceDir, entry.Name)) {
                continue;  // the run's own output is never copied into itself
            }
        } else {
            inputs.SetName(entry.Name);
            if (needAttributes_) {
                platform::EntryInfo info;
                if (run_.Fs.StatAt(sourceDir, entry.Name, info) != 0) {
                    continue;  // gone already
                }
                inputs.Attributes = platform::AttributesOf(entry.Name, info.Kind, info.Mode);
            }
            if (!PassesNameTests(options_, inputs)) {
                continue;
            }
        }
        std::string upper = text::UpperCase(entry.Name);
        position[i] = ++candidates;
        if (state_.RemoveStaleCopies) {
            candidateNames.push_back(upper);
        }
        if (options_.DelDeletedFiles) {
            targetNode.Files.push_back(upper);
        }
        if (catalogued.count(upper) == 0) {
            catalogueNode.Files.push_back(std::move(upper));
            catalogued.insert(catalogueNode.Files.back());
        }
    }
    if (run_.Cancelled()) {
        return;
    }
    if (state_.RemoveStaleCopies && !targetFresh) {
        RemoveStaleCopies(targetDir, candidateNames);
    }

    // Pass 2: sub-directories, the change test, date and size tests, copying.
    for (std::size_t i = 0; i < entries.size() && !run_.Cancelled(); ++i) {
        if (position[i] == 0) {
            continue;
        }
        const std::string& name = entries[i].Name;
        platform::EntryInfo info;
        if (run_.Fs.StatAt(sourceDir, name, info) != 0) {
            continue;
        }
        if (info.Kind == platform::FileKind::Directory) {
            if (options_.SubFolders) {
                const int made = run_.Fs.MakeDirectoryAt(targetDir, name, 0777);
                std::unique_ptr<platform::Directory> targetSub;
                if (made == 0 || made == EEXIST) {
                    run_.Fs.OpenSubDirectory(targetDir, name, targetSub);
                }
                cSubDir& catalogueChild = *catalogueNode.GetChild(name);
                if (!targetSub) {
                    // Said aloud, not skipped in silence: a whole sub-tree is missing from the backup. The
                    // comparison leaves it out, so that nothing of it is deleted on the strength of a walk
                    // that never happened.
                    state_.Unreachable.insert(&catalogueChild);
                    run_.ReportProblem(messages::TargetUnreachable(targetPath + name + "/"), nullptr);
                } else {
                    std::unique_ptr<platform::Directory> sourceSub;
                    if (run_.Fs.OpenSubDirectory(sourceDir, name, sourceSub) != 0) {
                        MarkUnreachable(catalogueChild, sourcePath + name + "/");
                    } else {
                        BackUpDir(catalogueChild, *targetNode.GetChild(name), *sourceSub, *targetSub,
                                  made == 0);
                    }
                }
            }
        } else {
            if (destination_.OnFileCompared) {
                destination_.OnFileCompared(destination_, source_);
            }
            source_.TotalSize += info.Size;
            bool copy = true;
            bool targetAbsent = targetFresh;
            const std::uint32_t packed = PackLocalTime(info.Modified);
            if (options_.OnlyNewFiles && !targetFresh) {
                platform::EntryInfo existing;
                const int found = run_.Fs.StatAt(targetDir, name, existing);
                targetAbsent = found == ENOENT;
                if (found == 0 && existing.Kind != platform::FileKind::Directory) {
                    // Unsigned: packed dates after 2043 set the top bit and must still count as newer.
                    copy = PackLocalTime(existing.Modified) < packed;
                }
            }
            if (copy) {
                inputs.SetName(name);
                inputs.ModificationDate = PackedToDayNumber(packed);
                inputs.CreationDate = LocalDayNumber(info.Created);
                inputs.Size = info.Size;
                copy = PassesDateAndSizeTests(options_, inputs);
            }
            if (copy) {
                if (destination_.OnFileProgress) {
                    destination_.OnFileProgress(destination_, 0, info.Size, &name);
                }
                if (!CopyFileData(sourceDir, targetDir, name, info, sourcePath + name, targetPath,
                                  targetAbsent)) {
                    run_.ReportProblem(messages::FileNotCopied(sourcePath + name, targetPath),
                                       source_.Options);
                }
            }
        }
        if (destination_.OnProgress && &catalogueNode == &source_.Catalogue) {
            destination_.OnProgress(destination_, position[i], candidates);
        }
        run_.Pump();
    }
}

bool cSourceRun::CopyFileData(platform::Directory& sourceDir, platform::Directory& targetDir,
                              const std::string& name, const platform::EntryInfo& info,
                              const std::string& sourceFile, const std::string& targetPath,
                              bool writeUnnamed) {
    const CopyOutcome outcome = CopyEntrySafely(
        run_.Fs, sourceDir, targetDir, name, info, options_.TimeOriginal,
        [&](std::uint64_t done) {
            if (destination_.OnFileProgress) {
                destination_.OnFileProgress(destination_, done, info.Size, nullptr);
            }
            run_.Pump();
        },
        [&] { return run_.Cancelled(); }, writeUnnamed);
    if (outcome != CopyOutcome::Copied) {
        return false;
    }
    LogForSource(messages::FileCopied(sourceFile, targetPath, FormatSize(info.Size, run_.Formats)), 2);
    return true;
}

void cSourceRun::LogForSource(const std::string& text, int level) {
    run_.WriteProtocol(text, level, source_.Options);
}

void cSourceRun::RemoveStaleCopies(platform::Directory& targetDir,
                                   const std::vector<std::string>& candidates) {
    std::vector<platform::ListedEntry> entries;
    if (run_.Fs.List(targetDir, entries) != 0) {
        return;
    }
    const std::unordered_set<std::string> current(candidates.begin(), candidates.end());
    for (const platform::ListedEntry& entry : entries) {
        if (entry.Kind != platform::FileKind::Directory && IsTemporaryCopyName(entry.Name) &&
            current.count(text::UpperCase(entry.Name)) == 0) {
            run_.Fs.RemoveAt(targetDir, entry.Name, false);
        }
    }
}

void cSourceRun::MarkUnreachable(const cSubDir& node, const std::string& path) {
    state_.Unreachable.insert(&node);
    run_.ReportProblem(messages::DirectoryUnreachable(path), nullptr);
}

bool cSourceRun::IsDestination(platform::Directory& dir, const std::string& name) {
    if (!state_.DestinationKnown) {
        return false;
    }
    platform::EntryInfo info;
    return run_.Fs.StatAt(dir, name, info) == 0 && info.Device == state_.DestinationDevice &&
           info.Inode == state_.DestinationInode;
}

}  // namespace trx
