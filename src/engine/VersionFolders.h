// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/LocalTime.h"

#include <string>
#include <string_view>

namespace trx {

namespace platform {
class FileSystem;
}
class cBackUpDestination;

// Where a destination keeps the earlier versions of its copies:
//   <destination>/.tresorix-versionen/<run start as "YYYY-MM-DD HH-MM-SS">/<path relative to the destination>
// The name is reserved only at the destination's top level. A source whose entry would land there under
// that name keeps it: the entry is backed up like any other, and the destination keeps its versions in
// ".tresorix-versionen-2" (or the first of "-3", "-4", ... that no source takes) instead.
inline constexpr std::string_view kVersionsFolder = ".tresorix-versionen";

// True for kVersionsFolder and the names that stand in for it ("-2" to "-99").
bool IsVersionsFolderName(std::string_view name);

// The name of a run folder for a run that started at `time`, and back (false for any other name). A run
// that finds the folder of its second taken adds "-2", "-3", ...; such names sort after the first.
std::string VersionStamp(const platform::cLocalTime& time);
bool ParseVersionStamp(std::string_view name, platform::cLocalTime& time);

// The versions folder name this run of `destination` uses: the first of kVersionsFolder, "-2", "-3", ...
// that no source of it puts (or put, by its catalogue) at the destination's top level, compared without
// regard to case so that a destination that folds case cannot mix them either. Empty when all are taken.
std::string ChooseVersionsFolder(const cBackUpDestination& destination, platform::FileSystem& fs);

}  // namespace trx
