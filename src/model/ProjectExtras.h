// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace trx {

namespace platform {
class FileSystem;
}
class cProject;

// What a project keeps beside its project file: facts the project file's fixed format has no room for.
// Today these are the folders inside sources on which a medium was mounted when a run saw them.
//
// The file is the project path with its extension replaced by ".tresorix" (appended to a name without
// one). It is UTF-8 text, one record per line, fields separated by tabs; a backslash, tab, line feed or
// carriage return inside a field is written as "\\", "\t", "\n" or "\r". Records:
//   mount <destination path> <source path> <folder relative to the source, ending with "/">
//   abilities <destination path> <what the last run found out about its file system, as the engine says it>
//   catalogue <destination path> <source path> <folder relative to the source> <name> <name> ...
//   versions <days> <largest number of versions per file, 0 for no limit>
// The versions record is there only when the project keeps earlier versions; a file without it (or a
// project without the file) keeps none.
// A catalogue record is what a run that is under way adds to a catalogue, appended as it goes: a run
// that is cancelled or killed before the project file is written again thus leaves the names of the
// copies it made, and the next load adds them. Every save writes the file anew without them. Lines a
// reader does not know are skipped, so that later records never break an older program, and so is a last
// line without its line end (a record cut short).

// The extras file that belongs to `projectPath`.
std::string ProjectExtrasPath(const std::string& projectPath);

// The catalogue record (with its line end) for `names` added to the catalogue node of `relativeFolder`.
std::string CatalogueRecord(const std::string& destination, const std::string& source,
                            const std::string& relativeFolder, const std::vector<std::string>& names);

// The file's text for `project`; "" when the project has nothing to keep there.
std::string SerializeProjectExtras(const cProject& project);

// Applies what `data` says to `project`, whose destinations and sources are already loaded. Records for
// sources the project does not have, and broken lines, are skipped: the extras never stop a load.
void ParseProjectExtras(cProject& project, std::string_view data);

// Writes the extras of `project` beside `projectPath` fail-safe, or removes a file left from earlier when
// there is nothing to keep. False when that failed; the earlier file is then as it was.
bool SaveProjectExtras(const cProject& project, const std::string& projectPath, platform::FileSystem& fs);

// Reads the extras beside `projectPath` into `project` where there are any.
void LoadProjectExtras(cProject& project, const std::string& projectPath, platform::FileSystem& fs);

}  // namespace trx
