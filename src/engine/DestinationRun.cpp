// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DestinationRun.h"

#include "engine/Catalogue.h"
#include "engine/FormatSize.h"
#include "engine/Messages.h"
#include "engine/RunContext.h"
#include "engine/SourceRun.h"
#include "engine/TargetDirectory.h"
#include "model/BackUpDestination.h"
#include "model/BackUpOptions.h"
#include "model/BackUpSource.h"
#include "platform/FileSystem.h"

#include <exception>
#include <memory>

namespace trx {

void cDestinationRun::BackUp() {
    platform::FileSystem& fs = run_.Fs;
    const std::string& path = destination_.Path;
    if (!fs.IsDirectory(path)) {
        // One level only: a destination on a missing drive must not be built anew below the mount point.
        std::string trimmed = path;
        while (trimmed.size() > 1 && trimmed.back() == '/') {
            trimmed.pop_back();
        }
        if (fs.MakeDirectory(trimmed) != 0) {
            run_.ReportProblem(messages::DestinationUnreachable(path), nullptr);
            return;
        }
    }

    cDestinationRunState state;
    std::unique_ptr<platform::Directory> destinationDir;
    if (fs.OpenDirectory(path, destinationDir) == 0) {
        platform::EntryInfo info;
        if (fs.StatAt(*destinationDir, ".", info) == 0) {
            state.DestinationKnown = true;
            state.DestinationDevice = info.Device;
            state.DestinationInode = info.Inode;
        }
        // The mark stays only when a run of this destination is killed; the next run then clears away
        // the temporary copies that run could not remove itself.
        state.RemoveStaleCopies = fs.StatAt(*destinationDir, kRunMarkName, info) == 0;
        std::unique_ptr<platform::WritableFile> mark;
        if (!state.RemoveStaleCopies && fs.CreateFileAt(*destinationDir, kRunMarkName, 0644, mark) == 0) {
            mark->Close();
        }
    }

    cBackUpSource* previous = nullptr;
    for (int i = 0; i < destination_.Sources.Count() && !run_.Cancelled(); ++i) {
        cBackUpSource& source = *destination_.Sources[i];
        if (destination_.OnSourceStart) {
            destination_.OnSourceStart(destination_, previous, source);
        }
        previous = &source;
        if (!fs.IsDirectory(source.Path)) {
            source.Failed = true;
            run_.ReportProblem(messages::DirectoryUnreachable(source.Path), nullptr);
            continue;
        }
        source.Failed = false;
        try {
            cSourceRun sourceRun(run_, source, state);
            sourceRun.BackUp();
            if (sourceRun.SourceUnreachable()) {
                source.Failed = true;  // already reported; its catalogue stays as it was
            } else if (run_.Cancelled()) {
                run_.WriteProtocol(messages::SourceCancelled(source.Path), 1, nullptr);
            } else {
                run_.WriteProtocol(
                    messages::SourceDone(source.Path, FormatSize(source.TotalSize, run_.Formats)), 1,
                    nullptr);
            }
        } catch (...) {
            // An invalid mask or anything the platform raised: what was copied stays, the next source runs.
            run_.ReportProblem(messages::SourceFailed(source.Path), nullptr);
            source.Failed = true;
        }
    }

    if (!run_.Cancelled() && destinationDir) {
        // After all sources, so that a name seen by any source protects the file of that name.
        cCatalogueSync sync(run_, state.Unreachable);
        for (cBackUpSource* source : destination_.Sources) {
            if (source->Failed || !IsPlainRelativePath(source->TargetSubPath)) {
                continue;
            }
            std::unique_ptr<platform::Directory> targetDir =
                OpenBelow(fs, *destinationDir, source->TargetSubPath);
            sync.SyncCatalogue(*destination_.Tree.GetChild(source->TargetSubPath), source->Catalogue,
                               !source->Options->DelDeletedFiles, targetDir.get());
        }
    }
    destination_.Tree.ClearFiles();
    if (destinationDir) {
        fs.RemoveAt(*destinationDir, kRunMarkName, false);
    }
}

}  // namespace trx
