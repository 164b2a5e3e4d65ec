// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace trx {

namespace platform {
class FileSystem;
}
class cProject;

// The project file: a flat stream of tagged values without header or version.

// The file's bytes for `project`.
std::string SerializeProject(const cProject& project);

// Writes `project` to `path` so that a failure never destroys the previous file. Throws
// cProjectFileError: "Cannot create file %s" when the file cannot be created, "Stream write error" when
// writing fails (a full disk, for example); the old file is then exactly as it was. The project's extras
// file (ProjectExtras.h) is written right after it; a failure there is a "Stream write error" as well.
void SaveProject(const cProject& project, const std::string& path, platform::FileSystem& fs);

// Reads the project from `data` into `project`, replacing its destinations and overwriting the defaults
// and texts in place. Throws cProjectFileError ("Invalid property value", "Stream read error",
// "List index out of bounds (%d)"); the project then holds what was read up to the fault.
void ParseProject(cProject& project, std::string_view data);

// A deep copy of `project` in `copy` (destinations, sources, option sets, catalogues, texts, path and
// extras), as a save and a load would give it; `copy` is replaced. A preview runs on such a copy, so that
// nothing it does reaches the project.
void CloneProject(const cProject& project, cProject& copy);

// Loads `path` and the extras beside it. Throws "Cannot open file %s" when it cannot be opened, else as
// ParseProject.
void LoadProject(cProject& project, const std::string& path, platform::FileSystem& fs);

// A catalogue nested deeper than this cannot be a real directory tree (every level takes at least one
// name character and a "/" of the longest path the platform allows); such a file is refused.
int MaxCatalogueDepth();

}  // namespace trx
