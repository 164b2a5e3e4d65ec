// SPDX-License-Identifier: GPL-3.0-or-later
// Soak test: many consecutive unattended runs of the real program over a tree that changes between runs.
//
//   trxsoak WORKDIR RUNS TRXMAIN [SEED]
//
// Before every run a generator adds, edits, renames and deletes files and folders in WORKDIR/source and now
// and then changes the name filters of the project. After every run the destination is compared with what
// the backup rules require, by a check written from those rules alone (not from the engine): every file
// the filters let through is in the destination with the same bytes; nothing else is there, except a file
// whose upper-cased name a current source file shares (the catalogue keeps upper-cased names); every
// folder of the destination is a folder of the source. Prints the number of runs and of mismatches.
//
// Deletions that look like a missing medium are held back by the program (exit status 2): the check then
// requires that the run deleted nothing at all, and the run is repeated with "/f", which lets them go ahead
// and must satisfy the rules above. Every 25th run the source's medium goes away (the folder is emptied,
// as a mount point without its disk looks) and must be held back, then comes back for an ordinary run.
// Every 7th run is first started and cancelled after a few milliseconds. The generator also saves files
// again within the same second with the same size, turns files into folders and back, and makes folders
// whose names differ only in case.
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::mt19937 random_;

std::string Upper(std::string s) {
    // ASCII and the German umlauts are all the generator uses; enough for an independent check.
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 32);
        }
    }
    const std::pair<const char*, const char*> umlauts[] = {
        {"\xC3\xA4", "\xC3\x84"}, {"\xC3\xB6", "\xC3\x96"}, {"\xC3\xBC", "\xC3\x9C"}};
    for (const auto& [lower, upper] : umlauts) {
        for (auto at = s.find(lower); at != std::string::npos; at = s.find(lower, at)) {
            s.replace(at, 2, upper);
        }
    }
    return s;
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

int Pick(int n) {
    return static_cast<int>(random_() % static_cast<unsigned>(n));
}

std::string NewName(const fs::path& dir, bool file) {
    static const char* const kStems[] = {"brief", "Bericht", "notiz",        "M\xC3\xBCller", "a b",
                                         "x",     "Daten",   "\xC3\xA4rger", "foto",          "liste"};
    static const char* const kExtensions[] = {".txt", ".dat", ".tmp", ".doc", ""};
    std::set<std::string> taken;
    if (fs::exists(dir)) {
        for (const auto& entry : fs::directory_iterator(dir)) {
            taken.insert(Upper(entry.path().filename().string()));
        }
    }
    for (;;) {
        std::string name = std::string(kStems[Pick(10)]) + std::to_string(Pick(1000));
        if (file) {
            name += kExtensions[Pick(5)];
        }
        if (taken.count(Upper(name)) == 0) {
            return name;
        }
    }
}

void WriteFile(const fs::path& path, int run) {
    std::string content(static_cast<std::size_t>(Pick(3000)), '\0');
    for (char& c : content) {
        c = static_cast<char>(random_());
    }
    std::ofstream(path, std::ios::binary) << content;
    // Most changes get a time of their own run, ten seconds after the last one; SameSizeEdit makes the
    // changes a coarse change test would miss.
    const fs::file_time_type base = fs::file_time_type::clock::now() - std::chrono::hours(24 * 30);
    fs::last_write_time(path, base + std::chrono::seconds(10 * run));
}

// A second save within the same second, with the same size and other bytes.
void SameSizeEdit(const fs::path& file) {
    const auto size = fs::file_size(file);
    const fs::file_time_type before = fs::last_write_time(file);
    std::string content(static_cast<std::size_t>(size), '\0');
    for (char& c : content) {
        c = static_cast<char>(random_());
    }
    std::ofstream(file, std::ios::binary | std::ios::trunc) << content;
    fs::last_write_time(file, before + std::chrono::milliseconds(300));
}

std::vector<fs::path> Collect(const fs::path& root, bool directories);

// A file becomes a folder, or a folder a file, under the same name.
void TypeChange(const fs::path& path, int run) {
    const bool wasFolder = fs::is_directory(path);
    fs::remove_all(path);
    if (wasFolder) {
        WriteFile(path, run);
    } else {
        fs::create_directory(path);
        WriteFile(path / "inhalt.txt", run);
    }
}

// A sibling of `dir` whose name differs only in case: a folder of its own on Linux.
void CaseVariant(const fs::path& dir, int run) {
    std::string name = dir.filename().string();
    for (char& c : name) {
        c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : (c >= 'A' && c <= 'Z' ? c + 32 : c));
    }
    const fs::path variant = dir.parent_path() / name;
    if (variant != dir && !fs::exists(variant)) {
        fs::create_directory(variant);
        WriteFile(variant / NewName(variant, true), run);
    }
}

std::vector<fs::path> Collect(const fs::path& root, bool directories) {
    std::vector<fs::path> found;
    if (!fs::exists(root)) {
        return found;
    }
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_directory() == directories) {
            found.push_back(entry.path());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

void Mutate(const fs::path& source, int run) {
    std::vector<fs::path> dirs = Collect(source, true);
    dirs.insert(dirs.begin(), source);
    const int operations = 1 + Pick(12);
    for (int i = 0; i < operations; ++i) {
        std::vector<fs::path> files = Collect(source, false);
        dirs = Collect(source, true);
        dirs.insert(dirs.begin(), source);
        const fs::path dir = dirs[static_cast<std::size_t>(Pick(static_cast<int>(dirs.size())))];
        switch (Pick(11)) {
            case 0:
            case 1:
                WriteFile(dir / NewName(dir, true), run);
                break;
            case 2:
                if (!files.empty()) {
                    WriteFile(files[static_cast<std::size_t>(Pick(static_cast<int>(files.size())))], run);
                }
                break;
            case 3:
                if (!files.empty()) {
                    fs::remove(files[static_cast<std::size_t>(Pick(static_cast<int>(files.size())))]);
                }
                break;
            case 4:
                if (!files.empty()) {
                    const fs::path from =
                        files[static_cast<std::size_t>(Pick(static_cast<int>(files.size())))];
                    fs::rename(from, dir / NewName(dir, true));
                }
                break;
            case 5:
                if (dir.string().size() < source.string().size() + 60) {
                    const fs::path made = dir / NewName(dir, false);
                    fs::create_directory(made);
                    WriteFile(made / NewName(made, true), run);
                }
                break;
            case 6:
                if (dir != source && Pick(3) == 0) {
                    fs::remove_all(dir);
                }
                break;
            case 7:
                if (dir != source) {
                    const fs::path parent = dir.parent_path();
                    fs::rename(dir, parent / NewName(parent, false));
                }
                break;
            case 8:
                if (!files.empty()) {
                    SameSizeEdit(files[static_cast<std::size_t>(Pick(static_cast<int>(files.size())))]);
                }
                break;
            case 9:
                if (dir != source) {
                    TypeChange(dir, run);
                } else if (!files.empty()) {
                    TypeChange(files[static_cast<std::size_t>(Pick(static_cast<int>(files.size())))], run);
                }
                break;
            case 10:
                if (dir != source) {
                    CaseVariant(dir, run);
                }
                break;
        }
    }
}

// The project's name filters at the moment: the include and the exclude mask, each "" or a list of
// "*.ext" parts.
struct Masks {
    std::string include;
    std::string exclude;
};

bool MatchesList(const std::string& list, const std::string& name) {
    std::stringstream parts(list);
    for (std::string part; std::getline(parts, part, ';');) {
        const std::string extension = part.substr(1);  // "*.txt" -> ".txt"
        if (name.size() >= extension.size() &&
            Upper(name.substr(name.size() - extension.size())) == Upper(extension)) {
            return true;
        }
    }
    return false;
}

bool LetThrough(const Masks& masks, const std::string& name) {
    const bool included = masks.include.empty() || MatchesList(masks.include, name);
    const bool excluded = !masks.exclude.empty() && MatchesList(masks.exclude, name);
    return included && !excluded;
}

int Check(const fs::path& source, const fs::path& destination, const Masks& masks) {
    int mismatches = 0;
    const auto report = [&](const std::string& what, const fs::path& path) {
        ++mismatches;
        std::fprintf(stderr, "  mismatch: %s %s\n", what.c_str(), path.c_str());
    };
    for (const fs::path& file : Collect(source, false)) {
        if (!LetThrough(masks, file.filename().string())) {
            continue;
        }
        const fs::path copy = destination / fs::relative(file, source);
        if (!fs::exists(copy)) {
            report("missing", copy);
        } else if (ReadAll(copy) != ReadAll(file)) {
            report("different", copy);
        }
    }
    for (const fs::path& copy : Collect(destination, false)) {
        const fs::path original = source / fs::relative(copy, destination);
        if (fs::is_regular_file(original) && LetThrough(masks, original.filename().string())) {
            continue;
        }
        bool sharesUpperName = false;
        if (fs::is_directory(original.parent_path())) {
            for (const auto& entry : fs::directory_iterator(original.parent_path())) {
                // Folders are always catalogued; files only when the filters let them through.
                const std::string name = entry.path().filename().string();
                sharesUpperName |= Upper(name) == Upper(copy.filename().string()) &&
                                   (entry.is_directory() || LetThrough(masks, name));
            }
        }
        if (!sharesUpperName) {
            report("left over", copy);
        }
    }
    for (const fs::path& dir : Collect(destination, true)) {
        const fs::path original = source / fs::relative(dir, destination);
        if (fs::is_directory(original)) {
            continue;
        }
        // As for files: a catalogued name stands for every entry that upper-cases to it, whatever its kind.
        bool sharesUpperName = false;
        if (fs::is_directory(original.parent_path())) {
            for (const auto& entry : fs::directory_iterator(original.parent_path())) {
                sharesUpperName |= Upper(entry.path().filename().string()) == Upper(dir.filename().string());
            }
        }
        if (!sharesUpperName) {
            report("folder left over", dir);
        }
    }
    return mismatches;
}

int RunProgram(const std::string& program, const std::string& projectPath, const std::string& switches) {
    const std::string command = "'" + program + "' '" + projectPath + "' " + switches + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A run cancelled (SIGTERM, as "Abbrechen" or a timer's stop) a moment after its start; the next run must
// set everything right. True when it was still running to be cancelled.
bool CancelledRun(const std::string& program, const std::string& projectPath) {
    char delay[16];
    std::snprintf(delay, sizeof delay, "%.3f", 0.005 + 0.001 * Pick(60));
    const std::string command = std::string("timeout -s TERM ") + delay + " '" + program + "' '" + projectPath +
                                "' /h /s >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    return WIFEXITED(status) && WEXITSTATUS(status) != 0;
}

// The protocol's lines that say what the last run held back.
std::vector<std::string> HeldBackLines(const fs::path& work) {
    std::vector<std::string> lines;
    std::istringstream protocol(ReadAll(work / "soak_Protocol.txt"));
    for (std::string line; std::getline(protocol, line);) {
        if (line.find("zurückgehalten;") != std::string::npos || line.find("wurden zurückgehalten") != std::string::npos) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::string HeldBackLine(const fs::path& work) {
    const std::vector<std::string> lines = HeldBackLines(work);
    return lines.empty() ? std::string() : lines.front();
}

bool ProtocolHoldsBack(const fs::path& work) {
    return !HeldBackLines(work).empty();
}

// The quoted paths of a protocol line, in order.
std::vector<std::string> QuotedPaths(const std::string& line) {
    std::vector<std::string> paths;
    for (auto open = line.find('"'); open != std::string::npos; open = line.find('"', open)) {
        const auto close = line.find('"', open + 1);
        if (close == std::string::npos) {
            break;
        }
        paths.push_back(line.substr(open + 1, close - open - 1));
        open = close + 1;
    }
    return paths;
}

// The folders of the destination, relative to it, in which the last run must have deleted nothing: the
// whole destination for a source held back as a whole, else the folders named by the held-back lines.
std::vector<fs::path> HeldBackScopes(const fs::path& work, const fs::path& source, const fs::path& destination) {
    std::vector<fs::path> scopes;
    for (const std::string& line : HeldBackLines(work)) {
        const std::vector<std::string> paths = QuotedPaths(line);
        if (paths.empty()) {
            continue;
        }
        if (line.find("An die Stelle des Verzeichnisses") != std::string::npos && paths.size() > 1) {
            scopes.push_back(fs::relative(fs::path(paths[1]), destination));  // the replaced folder's copy
        } else {
            const fs::path folder = fs::relative(fs::path(paths[0]), source);
            scopes.push_back(folder == "." ? fs::path() : folder);
        }
    }
    return scopes;
}

bool Within(const fs::path& relative, const std::vector<fs::path>& scopes) {
    for (const fs::path& scope : scopes) {
        const std::string prefix = scope.string();
        if (prefix.empty() || relative.string() == prefix || relative.string().rfind(prefix + "/", 0) == 0) {
            return true;
        }
    }
    return false;
}

// True when the file `copy` (below `destination`) made way for a folder of its name at the source, or a
// folder above it for a file or link: a replacement, not one of the deletions a run holds back.
bool Replaced(const fs::path& source, const fs::path& destination, const fs::path& copy) {
    const fs::path relative = fs::relative(copy, destination);
    if (fs::is_directory(fs::symlink_status(source / relative))) {
        return true;
    }
    fs::path original = source;
    for (const fs::path& part : relative) {
        original /= part;
        const fs::file_status status = fs::symlink_status(original);
        if (fs::exists(status) && !fs::is_directory(status) && original != source / relative) {
            return true;
        }
    }
    return false;
}

// A run that held deletions back must not have deleted a single copy where it held them back (type
// changes aside).
int CheckNothingDeleted(const fs::path& work, const fs::path& source, const fs::path& destination,
                        const std::vector<fs::path>& before) {
    const std::vector<fs::path> scopes = HeldBackScopes(work, source, destination);
    int mismatches = 0;
    for (const fs::path& copy : before) {
        if (!fs::exists(fs::symlink_status(copy)) && Within(fs::relative(copy, destination), scopes) &&
            !Replaced(source, destination, copy)) {
            ++mismatches;
            std::fprintf(stderr, "  mismatch: deleted although held back %s\n", copy.c_str());
        }
    }
    return mismatches;
}

// The source's medium goes away: its folder lists empty. The run must hold back and delete nothing.
int MediumAway(const fs::path& work, const fs::path& source, const fs::path& destination,
               const std::string& program, const std::string& projectPath) {
    const fs::path aside = work / "source-away";
    fs::rename(source, aside);
    fs::create_directory(source);
    const std::vector<fs::path> before = Collect(destination, false);
    const int status = RunProgram(program, projectPath, "/h /s");
    int mismatches = CheckNothingDeleted(work, source, destination, before);
    if (status != 2 || !ProtocolHoldsBack(work)) {
        ++mismatches;
        std::fprintf(stderr, "  mismatch: an empty source was not held back (status %d)\n", status);
    }
    fs::remove(source);
    fs::rename(aside, source);
    return mismatches;
}

void SetMasks(const std::string& projectPath, const Masks& masks) {
    trx::platform::PosixFileSystem posix;
    trx::cProject project;
    trx::LoadProject(project, projectPath, posix);
    project.DefaultOptions.Filters[0].Mask = masks.include;
    project.DefaultOptions.Filters[1].Mask = masks.exclude;
    trx::SaveProject(project, projectPath, posix);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: trxsoak WORKDIR RUNS TRXMAIN [SEED]\n");
        return 64;
    }
    const fs::path work = fs::absolute(argv[1]);
    const int runs = std::atoi(argv[2]);
    const std::string program = argv[3];
    random_.seed(argc > 4 ? static_cast<unsigned>(std::atoi(argv[4])) : 2026u);

    fs::remove_all(work);
    const fs::path source = work / "source";
    const fs::path destination = work / "destination";
    fs::create_directories(source);
    const std::string projectPath = (work / "soak.buf").string();
    {
        trx::platform::PosixFileSystem posix;
        trx::cProject project;
        project.Reset();
        auto* dest = new trx::cBackUpDestination(project, destination.string() + "/");
        new trx::cBackUpSource(source.string() + "/", *dest);
        trx::SaveProject(project, projectPath, posix);
    }

    Masks masks;
    int mismatches = 0;
    int failedRuns = 0;
    int heldBackRuns = 0;
    int cancelledRuns = 0;
    for (int run = 1; run <= runs; ++run) {
        Mutate(source, run);
        if (run % 10 == 0) {
            masks.include = Pick(2) == 0 ? "" : "*.txt;*.dat;*.doc";
            masks.exclude = Pick(2) == 0 ? "" : "*.tmp";
            SetMasks(projectPath, masks);
        }
        if (run % 25 == 0 && !Collect(source, false).empty()) {
            mismatches += MediumAway(work, source, destination, program, projectPath);
        }
        if (run % 7 == 0 && CancelledRun(program, projectPath)) {
            ++cancelledRuns;
        }
        const std::vector<fs::path> before = Collect(destination, false);
        int status = RunProgram(program, projectPath, "/h /s");
        if (status == 2 && ProtocolHoldsBack(work)) {
            ++heldBackRuns;
            std::fprintf(stderr, "run %d held back: %s\n", run, HeldBackLine(work).c_str());
            mismatches += CheckNothingDeleted(work, source, destination, before);
            status = RunProgram(program, projectPath, "/h /s /f");
        }
        if (status != 0) {
            ++failedRuns;
            std::fprintf(stderr, "run %d: exit status %d\n", run, status);
        }
        const int found = Check(source, destination, masks);
        if (found != 0) {
            std::fprintf(stderr, "run %d: %d mismatches\n", run, found);
        }
        mismatches += found;
    }
    std::printf("runs: %d, failed runs: %d, mismatches: %d, runs that held deletions back: %d, cancelled "
                "runs: %d\n",
                runs, failedRuns, mismatches, heldBackRuns, cancelledRuns);
    return mismatches == 0 && failedRuns == 0 ? 0 : 1;
}
