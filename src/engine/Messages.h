// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

// The engine's protocol lines. Paths are shown as they are: directories with their trailing "/".
namespace trx::messages {

// The destination run.
std::string DestinationUnreachable(const std::string& destination);
std::string DirectoryUnreachable(const std::string& directory);
std::string SourceCancelled(const std::string& source);
std::string SourceDone(const std::string& source, const std::string& size);
std::string SourceFailed(const std::string& source);

// The walk and the copy.
std::string TargetUnreachable(const std::string& targetDirectory);
std::string FileCopied(const std::string& sourceFile, const std::string& targetDirectory,
                       const std::string& size);
std::string FileNotCopied(const std::string& sourceFile, const std::string& targetDirectory);
std::string FileChangedWhileCopied(const std::string& sourceFile, const std::string& targetDirectory);
// On a destination that folds case: `source` (a file, or a folder with its trailing "/") was left out
// because `kept`, which differs from it only in case, has that name in the target directory.
std::string CaseClash(const std::string& source, const std::string& targetDirectory, const std::string& kept);
// On a destination that drops trailing dots and blanks from names: `source` was left out.
std::string NameNotHeld(const std::string& source, const std::string& targetDirectory);
// Once per run: what the destination's file system does not keep (`missing`, from MissingAbilities).
std::string DestinationKeepsLess(const std::string& destination, const std::string& missing);

// Work held back because it looks like a medium that is not mounted. `entries` is how many catalogued
// names (files and folders) keep their copies.
std::string DestinationMissingHeldBack(const std::string& destination);
std::string DestinationEmptyHeldBack(const std::string& destination, std::uint64_t entries);
std::string SourceEmptyHeldBack(const std::string& source, std::uint64_t entries);
std::string FolderEmptyHeldBack(const std::string& folder, std::uint64_t entries);
std::string FolderGoneHeldBack(const std::string& folder, std::uint64_t entries);
std::string FolderReplacedHeldBack(const std::string& sourceFile, const std::string& targetFolder,
                                   std::uint64_t entries);
std::string ManyDeletionsHeldBack(const std::string& source, std::uint64_t deletions, std::uint64_t known);
// Once at the end of a run that held something back: how the user lets it go ahead.
std::string HowToRelease();
// Another run (of this or another project) is writing into the destination.
std::string DestinationBusy(const std::string& destination);

// The protocol file could not be written to the end; `reason` is the system's text.
std::string ProtocolIncomplete(const std::string& protocolFile, const std::string& reason);

// Deletions in the destination.
std::string DirectoryDeleted(const std::string& path);
std::string FileDeleted(const std::string& path);
// The copy `path` was moved (or linked) into the versions folder as `version` instead of being lost.
std::string VersionKept(const std::string& path, const std::string& version);
std::string VersionNotKept(const std::string& path);
// The end of a run that kept versions.
std::string VersionsKept(int count);
// A run folder of versions past the project's limits went.
std::string VersionsRemoved(const std::string& folder);
// A source claims the usual versions folder's name at the destination's top: another name is used.
std::string VersionsFolderMoved(const std::string& destination, const std::string& folder);
std::string DirectoryNotDeleted(const std::string& path);
std::string FileNotDeleted(const std::string& path);

}  // namespace trx::messages
