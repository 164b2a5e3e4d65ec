// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectExtras.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>

namespace trx {
namespace {

TEST(ProjectExtras, TheFileSitsBesideTheProject) {
    EXPECT_EQ(ProjectExtrasPath("/a/Täglich.buf"), "/a/Täglich.tresorix");
    EXPECT_EQ(ProjectExtrasPath("/a.b/Täglich"), "/a.b/Täglich.tresorix");
    EXPECT_EQ(ProjectExtrasPath("Daten.BUF"), "Daten.tresorix");
}

TEST(ProjectExtras, MountPointsTravelWithTheProjectWhateverTheirNames) {
    test::TestDir dir;
    platform::PosixFileSystem fs;
    cProject project;
    auto* source = new cBackUpSource("/home/a\tb/", *new cBackUpDestination(project, "/media/Sich\\erung/"));
    const std::vector<std::string> folders = {"NAS/", "Musik/Extern\nPlatte/", "x\\t/y\r/"};
    for (const std::string& folder : folders) {
        source->Catalogue.GetChild(folder)->MountPoint = true;
    }
    const std::string path = dir / "P.buf";
    SaveProject(project, path, fs);
    cProject loaded;
    LoadProject(loaded, path, fs);
    cSubDir& catalogue = loaded.Destinations[0]->Sources[0]->Catalogue;
    for (const std::string& folder : folders) {
        EXPECT_TRUE(catalogue.GetChild(folder)->MountPoint) << folder;
    }
    EXPECT_FALSE(catalogue.GetChild("Musik/")->MountPoint);

    // Records of sources the project does not have, unknown records and broken lines are passed over.
    ParseProjectExtras(loaded, "mount\t/x/\t/y/\tZ/\nlater-record\t1\nmount\n\tbroken\n");

    // Nothing to keep: no file, and an earlier one goes.
    source->ClearCatalogue();
    SaveProject(project, path, fs);
    EXPECT_FALSE(dir.Exists("P.tresorix"));
}

TEST(ProjectExtras, TheVersionSettingTravelsBesideTheUnchangedProjectFile) {
    test::TestDir dir;
    platform::PosixFileSystem fs;
    const std::string path = dir / "P.buf";
    cProject project;
    new cBackUpSource("/home/a/", *new cBackUpDestination(project, "/media/b/"));
    SaveProject(project, path, fs);
    const std::string withoutVersions = test::ReadWholeFile(path);

    struct Case {
        cVersionSettings saved;
        cVersionSettings loaded;
    };
    for (const Case& c : {Case{{true, 30, 0}, {true, 30, 0}}, Case{{true, 7, 3}, {true, 7, 3}},
                          Case{{false, 12, 4}, {}}}) {
        project.Versions = c.saved;
        SaveProject(project, path, fs);
        EXPECT_EQ(test::ReadWholeFile(path), withoutVersions) << "the project file itself never changes";
        cProject loaded;
        loaded.Versions = cVersionSettings::ForNewProject();
        LoadProject(loaded, path, fs);
        EXPECT_EQ(loaded.Versions, c.loaded) << c.saved.Days;
    }

    // A project without the record (saved before the setting existed) keeps none; broken records are
    // passed over.
    for (const char* text : {"", "versions\t0\t1\n", "versions\t-3\t0\n", "versions\t30\n",
                             "versions\tdreißig\t0\n", "versions\t30\t99999\n"}) {
        cProject loaded;
        new cBackUpSource("/home/a/", *new cBackUpDestination(loaded, "/media/b/"));
        ParseProjectExtras(loaded, text);
        EXPECT_FALSE(loaded.Versions.Keep) << text;
    }
}

}  // namespace
}  // namespace trx
