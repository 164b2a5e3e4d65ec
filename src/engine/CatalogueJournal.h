// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace trx {

namespace platform {
class FileSystem;
class WritableFile;
}  // namespace platform
class cBackUpSource;
class cSubDir;

// Appends to the project's extras file, as a run goes, the names it adds to the catalogues (the
// "catalogue" records of ProjectExtras.h). A run that is cancelled, or killed, before the project file is
// written again thereby leaves the next load knowing every copy it may have made, so that their
// originals' deletions are carried over later. Each record reaches the system before the copies it
// announces are made. Without an open file (an unsaved project, a folder that cannot be written) nothing
// is kept: the run goes on.
class cCatalogueJournal {
public:
    explicit cCatalogueJournal(platform::FileSystem& fs);
    ~cCatalogueJournal();
    cCatalogueJournal(const cCatalogueJournal&) = delete;
    cCatalogueJournal& operator=(const cCatalogueJournal&) = delete;

    // Starts appending to the extras file of the project at `projectPath`; false when it cannot.
    bool Open(const std::string& projectPath);

    // `names` (upper-cased) were just added to `node` of `source`'s catalogue.
    void Added(const cBackUpSource& source, const cSubDir& node, const std::vector<std::string>& names);

    // Ends the journal; a save of the project afterwards writes the file anew without its records.
    void Close();

private:
    platform::FileSystem& fs_;
    std::unique_ptr<platform::WritableFile> file_;
};

}  // namespace trx
