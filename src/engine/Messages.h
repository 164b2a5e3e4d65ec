// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

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

// Deletions in the destination.
std::string DirectoryDeleted(const std::string& path);
std::string FileDeleted(const std::string& path);
std::string DirectoryNotDeleted(const std::string& path);
std::string FileNotDeleted(const std::string& path);

}  // namespace trx::messages
