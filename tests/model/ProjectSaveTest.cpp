// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "model/ProjectFileError.h"
#include "platform/PosixFileSystem.h"
#include "support/FaultyFileSystem.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <cerrno>
#include <filesystem>

namespace trx {
namespace {

using test::FaultyFileSystem;

class ProjectSaveTest : public ::testing::Test {
protected:
    std::string SaveError(const std::string& path, platform::FileSystem& fs) {
        try {
            SaveProject(project, path, fs);
        } catch (const cProjectFileError& error) {
            return error.what();
        }
        return "";
    }
    std::string LoadError(const std::string& path) {
        cProject target;
        try {
            LoadProject(target, path, posix);
        } catch (const cProjectFileError& error) {
            return error.what();
        }
        return "";
    }
    int EntriesInDir() {
        int count = 0;
        for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
            ++count;
        }
        return count;
    }

    test::TestDir dir;
    platform::PosixFileSystem posix;
    FaultyFileSystem faulty{posix};
    cProject project;
};

TEST_F(ProjectSaveTest, SavedProjectLoadsBack) {
    auto* dest = new cBackUpDestination(project, dir / "ziel/");
    new cBackUpSource(dir / "quelle/", *dest);
    project.Description = "Beschreibung";
    const std::string path = dir / "Daten.buf";
    EXPECT_EQ(SaveError(path, posix), "");
    EXPECT_EQ(dir.ReadFile("Daten.buf"), SerializeProject(project));

    cProject loaded;
    LoadProject(loaded, path, posix);
    EXPECT_EQ(loaded.Destinations[0]->Sources[0]->Path, dir / "quelle/");
    EXPECT_EQ(loaded.Description, "Beschreibung");
}

TEST_F(ProjectSaveTest, AFullDiskKeepsThePreviousProject) {
    const std::string path = dir / "Daten.buf";
    ASSERT_EQ(SaveError(path, posix), "");
    const std::string previous = dir.ReadFile("Daten.buf");

    project.Comments = std::string(100000, 'c');  // the new project is larger than the room left
    faulty.Fail(FaultyFileSystem::Op::Write, "Daten.buf", ENOSPC, 4096);
    EXPECT_EQ(SaveError(path, faulty), "Stream write error");
    EXPECT_EQ(dir.ReadFile("Daten.buf"), previous);
    EXPECT_EQ(EntriesInDir(), 1);

    faulty.Clear();
    faulty.Fail(FaultyFileSystem::Op::Sync, "Daten.buf", EIO);
    EXPECT_EQ(SaveError(path, faulty), "Stream write error");
    EXPECT_EQ(dir.ReadFile("Daten.buf"), previous);

    faulty.Clear();
    EXPECT_EQ(SaveError(path, faulty), "");
    EXPECT_EQ(dir.ReadFile("Daten.buf").size(), previous.size() + 100000 + 3);
}

TEST_F(ProjectSaveTest, AFileThatCannotBeCreatedNamesThePath) {
    const std::string path = dir / "fehlt/Daten.buf";
    EXPECT_EQ(SaveError(path, posix), "Cannot create file " + path);
    faulty.Fail(FaultyFileSystem::Op::CreateFileAt, "Daten.buf", EACCES);
    EXPECT_EQ(SaveError(dir / "Daten.buf", faulty), "Cannot create file " + dir / "Daten.buf");
    EXPECT_EQ(EntriesInDir(), 0);
}

TEST_F(ProjectSaveTest, LoadFailuresNameTheirCause) {
    EXPECT_EQ(LoadError(dir / "fehlt.buf"), "Cannot open file " + dir / "fehlt.buf");
    dir.MakeDir("ordner.buf");
    EXPECT_EQ(LoadError(dir / "ordner.buf"), "Cannot open file " + dir / "ordner.buf");
    // A FIFO must neither block the load nor be read.
    ASSERT_EQ(::mkfifo((dir / "fifo.buf").c_str(), 0600), 0);
    EXPECT_EQ(LoadError(dir / "fifo.buf"), "Cannot open file " + dir / "fifo.buf");
    dir.WriteFile("kaputt.buf", "\x02");
    EXPECT_EQ(LoadError(dir / "kaputt.buf"), "Invalid property value");
}

}  // namespace
}  // namespace trx
