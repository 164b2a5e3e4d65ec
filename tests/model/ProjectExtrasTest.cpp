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

}  // namespace
}  // namespace trx
