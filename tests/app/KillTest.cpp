// SPDX-License-Identifier: GPL-3.0-or-later
// Kills the real program (SIGKILL) at many points of an unattended run that replaces changed files,
// deletes vanished ones and rewrites the project: whatever the moment, every file in the destination is
// its old or its complete new version, the project file always loads, and the next run repairs the rest.
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "model/ProjectFileError.h"
#include "platform/PosixFileSystem.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <cstdlib>
#include <filesystem>
#include <map>

namespace trx {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> Snapshot(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (entry.is_regular_file()) {
            files[fs::relative(entry.path(), root).string()] = test::ReadWholeFile(entry.path().string());
        }
    }
    return files;
}

bool LooksTemporary(const std::string& relative) {
    const std::string name = fs::path(relative).filename().string();
    return name[0] == '.' && name.find(".trx-") != std::string::npos;
}

// Runs trxmain on the project without display; returns the exit status, or -signal when it was killed.
int RunProgram(const std::string& project, const std::string& environment,
               const std::string& switches = "/h /s") {
    const std::string command = "env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + environment + " '" +
                                TRXMAIN_PATH "' '" + project + "' " + switches + " >/dev/null 2>&1";
    const int status = std::system(command.c_str());
    if (WIFEXITED(status)) {
        const int code = WEXITSTATUS(status);
        return code > 128 ? -(code - 128) : code;  // the shell reports a killed child as 128 + signal
    }
    return WIFSIGNALED(status) ? -WTERMSIG(status) : -1000;
}

std::string Pattern(char c, std::size_t size) {
    std::string content(size, c);
    for (std::size_t i = 0; i < size; i += 4096) {
        content[i] = static_cast<char>('0' + (i / 4096) % 10);
    }
    return content;
}

class KillTest : public ::testing::Test {
protected:
    void SetUp() override {
        source = tmp.MakeDir("source");
        destination = tmp / "destination/";
        project = tmp / "Projekt.buf";
        {
            cProject p;
            p.Reset();
            auto* dest = new cBackUpDestination(p, destination);
            new cBackUpSource(source, *dest);
            platform::PosixFileSystem posix;
            SaveProject(p, project, posix);
        }
        // The first state: two large files, many small ones, some to be deleted later.
        tmp.WriteFile("source/big1.bin", Pattern('a', 9 << 20));
        tmp.WriteFile("source/Ordner/big2.bin", Pattern('b', 9 << 20));
        for (int i = 0; i < 40; ++i) {
            tmp.WriteFile("source/small/f" + std::to_string(i) + ".txt", "old " + std::to_string(i));
        }
        for (int i = 0; i < 8; ++i) {
            tmp.WriteFile("source/gone/g" + std::to_string(i), "to be deleted");
        }
        SetAllTimes(1700000000);
        ASSERT_EQ(RunProgram(project, ""), 0);

        // The second state, which the killed runs try to reach.
        tmp.WriteFile("source/big1.bin", Pattern('A', 9 << 20));
        tmp.WriteFile("source/Ordner/big2.bin", Pattern('B', 9 << 20));
        for (int i = 0; i < 40; ++i) {
            tmp.WriteFile("source/small/f" + std::to_string(i) + ".txt", "new content " + std::to_string(i));
        }
        fs::remove_all(source + "gone");
        tmp.WriteFile("source/added.txt", "added");
        SetAllTimes(1700000100);

        // Copies of the first state by hard links: the program never writes into an existing file, so the
        // links keep the old contents however far a run gets.
        fs::create_directory(tmp / "old");
        ASSERT_EQ(std::system(("cp -al '" + destination + "' '" + tmp / "old/destination" + "'").c_str()), 0);
        fs::copy_file(project, tmp / "old/Projekt.buf");
        oldFiles = Snapshot(destination);
        newFiles = Snapshot(source);
    }

    void SetAllTimes(std::time_t when) {
        for (const auto& entry : fs::recursive_directory_iterator(source)) {
            if (entry.is_regular_file()) {
                tmp.SetTimes(fs::relative(entry.path(), tmp.Path()).string(), when);
            }
        }
    }

    void RestoreFirstState() {
        fs::remove_all(destination);
        fs::remove(project);
        ASSERT_EQ(std::system(("cp -al '" + tmp / "old/destination" + "' '" + destination + "'").c_str()), 0);
        fs::copy_file(tmp / "old/Projekt.buf", project);
    }

    test::TestDir tmp;
    std::string source;
    std::string destination;
    std::string project;
    std::map<std::string, std::string> oldFiles;
    std::map<std::string, std::string> newFiles;
};

TEST_F(KillTest, EveryFileIsOldOrNewAndTheNextRunRepairsEverything) {
    const std::string shim = std::string("LD_PRELOAD='") + KILLSHIM_PATH + "'";
    RestoreFirstState();
    ASSERT_EQ(RunProgram(project, shim + " TRX_KILL_COUNT='" + tmp / "count" + "'"), 0);
    const long calls = std::atol(tmp.ReadFile("count").c_str());
    ASSERT_GE(calls, 50) << "too few points to kill at";

    constexpr int kPoints = 50;
    int killed = 0;
    for (int i = 0; i < kPoints; ++i) {
        const long at = 1 + i * (calls - 1) / (kPoints - 1);
        SCOPED_TRACE("killed at call " + std::to_string(at) + " of " + std::to_string(calls));
        RestoreFirstState();
        const int status = RunProgram(project, shim + " TRX_KILL_AT=" + std::to_string(at));
        killed += status == -SIGKILL;

        for (const auto& [relative, content] : Snapshot(destination)) {
            if (LooksTemporary(relative)) {
                continue;
            }
            const auto before = oldFiles.find(relative);
            const auto after = newFiles.find(relative);
            const bool isOld = before != oldFiles.end() && before->second == content;
            const bool isNew = after != newFiles.end() && after->second == content;
            ASSERT_TRUE(isOld || isNew) << relative << " is neither its old nor its new version";
        }
        for (const auto& [relative, content] : oldFiles) {
            if (newFiles.count(relative) != 0) {
                ASSERT_TRUE(fs::exists(destination + relative)) << relative << " vanished";
            }
        }
        cProject loaded;
        platform::PosixFileSystem posix;
        ASSERT_NO_THROW(LoadProject(loaded, project, posix));

        ASSERT_EQ(RunProgram(project, ""), 0) << "the run after the kill";
        const auto repaired = Snapshot(destination);
        ASSERT_EQ(repaired, newFiles) << "the destination after the repairing run";
        for (const auto& entry : fs::directory_iterator(tmp.Path())) {
            ASSERT_EQ(entry.path().filename().string().find(".Projekt.buf.trx-"), std::string::npos);
        }
    }
    EXPECT_GE(killed, kPoints - 1);  // the last point may fall after the last counted call
}

// With earlier versions kept, a kill at any moment leaves every old copy in place or among the versions:
// the replaced copy gets its further name before the new one takes its place, and a deletion is a rename.
TEST_F(KillTest, WithVersionsNoOldCopyIsEverLost) {
    {
        cProject p;
        platform::PosixFileSystem posix;
        LoadProject(p, project, posix);
        p.Versions = {true, 30, 0};
        SaveProject(p, project, posix);
        fs::copy_file(project, tmp / "old/Projekt.buf", fs::copy_options::overwrite_existing);
    }
    const std::string shim = std::string("LD_PRELOAD='") + KILLSHIM_PATH + "'";
    RestoreFirstState();
    ASSERT_EQ(RunProgram(project, shim + " TRX_KILL_COUNT='" + tmp / "count" + "'"), 0);
    const long calls = std::atol(tmp.ReadFile("count").c_str());
    const auto kept = [](const std::map<std::string, std::string>& now, const std::string& relative,
                         const std::string& content) {
        for (const auto& [path, copy] : now) {
            if (path.starts_with(".tresorix-versionen/") && path.ends_with("/" + relative) && copy == content) {
                return true;
            }
        }
        return false;
    };
    constexpr int kPoints = 20;
    for (int i = 0; i < kPoints; ++i) {
        const long at = 1 + i * (calls - 1) / (kPoints - 1);
        SCOPED_TRACE("killed at call " + std::to_string(at) + " of " + std::to_string(calls));
        RestoreFirstState();
        RunProgram(project, shim + " TRX_KILL_AT=" + std::to_string(at));
        for (int pass = 0; pass < 2; ++pass) {
            const auto now = Snapshot(destination);
            for (const auto& [relative, content] : oldFiles) {
                const auto copy = now.find(relative);
                const bool inPlace = copy != now.end() && copy->second == content;
                ASSERT_TRUE(inPlace || kept(now, relative, content)) << relative << " lost its old copy";
            }
            if (pass == 0) {
                ASSERT_EQ(RunProgram(project, ""), 0) << "the run after the kill";
            }
        }
        auto repaired = Snapshot(destination);
        std::erase_if(repaired, [](const auto& entry) { return entry.first.starts_with(".tresorix-versionen/"); });
        ASSERT_EQ(repaired, newFiles) << "the destination after the repairing run";
    }
}

// New files are copied into files without a name: killed at any moment, such a copy leaves nothing, and
// whatever has a name is complete.
TEST(KillNewFiles, AppearOnlyComplete) {
    test::TestDir tmp;
    const std::string source = tmp.MakeDir("source");
    const std::string destination = tmp / "destination/";
    const std::string project = tmp / "Gross.buf";
    {
        cProject p;
        p.Reset();
        new cBackUpSource(source, *new cBackUpDestination(p, destination));
        platform::PosixFileSystem posix;
        SaveProject(p, project, posix);
    }
    for (int i = 0; i < 600; ++i) {
        tmp.WriteFile("source/many/n" + std::to_string(i),
                      std::string(3000, static_cast<char>('a' + i % 26)));
    }
    const std::string shim = std::string("LD_PRELOAD='") + KILLSHIM_PATH + "'";
    ASSERT_EQ(RunProgram(project, shim + " TRX_KILL_COUNT='" + tmp / "count" + "'"), 0);
    const long calls = std::atol(tmp.ReadFile("count").c_str());
    for (const long at : {calls / 5, calls / 3, calls / 2, 2 * calls / 3, 9 * calls / 10}) {
        SCOPED_TRACE("killed at call " + std::to_string(at) + " of " + std::to_string(calls));
        fs::remove_all(destination);
        // A destination that was backed up and is gone looks like a disk that is not mounted: the full
        // backup into a new one goes ahead only when released ("/f").
        EXPECT_EQ(RunProgram(project, shim + " TRX_KILL_AT=" + std::to_string(at), "/h /s /f"), -SIGKILL);
        int complete = 0;
        for (const auto& [relative, content] : Snapshot(destination)) {
            ASSERT_EQ(content, test::ReadWholeFile(source + relative)) << relative;
            ++complete;
        }
        EXPECT_GT(complete, 0);
        EXPECT_LT(complete, 600);
    }
    ASSERT_EQ(RunProgram(project, ""), 0);
    EXPECT_EQ(Snapshot(destination).size(), 600u);
}

}  // namespace
}  // namespace trx
