// SPDX-License-Identifier: GPL-3.0-or-later
// The rules that keep a run from deleting or overwriting anything it must not.
#include "RunFixture.h"

#include <cerrno>
#include <filesystem>
#include <unistd.h>

namespace trx {
namespace {

using test::FaultyFileSystem;
using test::RunFixture;

class SafetyTest : public RunFixture {};

TEST_F(SafetyTest, ADirectoryThatCannotBeListedDeletesNothing) {
    tmp.WriteFile("src/Locked/a.txt", "a");
    tmp.WriteFile("src/Locked/Deeper/b.txt", "b");
    tmp.WriteFile("src/free.txt", "f");
    Run();
    fs.Fail(FaultyFileSystem::Op::List, src + "Locked/", EACCES);
    const auto lines = Run();
    EXPECT_TRUE(tmp.Exists("dst/Locked/a.txt"));
    EXPECT_TRUE(tmp.Exists("dst/Locked/Deeper/b.txt"));
    EXPECT_TRUE(Contains(lines, "Auf das Verzeichnis \"" + src + "Locked/\" kann nicht zugegriffen werden."));
    EXPECT_EQ(run.ProblemCount, 1);
    EXPECT_EQ(Sorted(source->Catalogue.FindChild("Locked")->Files), (std::vector<std::string>{"A.TXT", "DEEPER"}));

    // A source directory that cannot be opened at all counts as unreachable too.
    fs.Clear();
    fs.Fail(FaultyFileSystem::Op::OpenDirectory, src, EACCES);
    Run();
    EXPECT_TRUE(tmp.Exists("dst/free.txt"));
    EXPECT_TRUE(source->Failed);
}

TEST_F(SafetyTest, DeletionNeverFollowsALink) {
    tmp.WriteFile("elsewhere/precious.txt", "p");
    tmp.WriteFile("src/stays", "s");
    tmp.MakeDir("src/Link");
    Run();
    // In the destination the folder has become a link to somewhere else; at the source it is gone.
    std::filesystem::remove_all(dst + "Link");
    ASSERT_EQ(::symlink((tmp / "elsewhere").c_str(), (dst + "Link").c_str()), 0);
    std::filesystem::remove_all(src + "Link");
    source->Catalogue.GetChild("Link")->Files = {"PRECIOUS.TXT"};
    Run();
    EXPECT_EQ(tmp.ReadFile("elsewhere/precious.txt"), "p");
    EXPECT_FALSE(tmp.Exists("dst/Link"));  // the link itself went, as the catalogue asked
}

TEST_F(SafetyTest, HostileCatalogueNamesNeverLeaveTheTarget) {
    tmp.WriteFile("victim.txt", "v");
    tmp.WriteFile("dst/sub/x", "x");
    tmp.MakeDir("src/sub");
    source->TotalSize = 1;
    source->Catalogue.Files = {"..", ".", "", "../VICTIM.TXT", std::string("A\0B", 3)};
    cSubDir* up = source->Catalogue.GetChild("..");
    up->Files = {"VICTIM.TXT"};
    source->Catalogue.GetChild("sub")->GetChild("..")->Files = {"SUB"};
    Run();
    EXPECT_TRUE(tmp.Exists("victim.txt"));
    EXPECT_TRUE(tmp.Exists("dst/sub/x"));
    EXPECT_TRUE(source->Catalogue.Files.empty() ||
                std::all_of(source->Catalogue.Files.begin(), source->Catalogue.Files.end(),
                            [](const std::string& n) { return n == "SUB"; }));
}

TEST_F(SafetyTest, ATargetPathThatClimbsOutIsRefused) {
    project.Destinations.Remove(dest);
    delete dest;
    dest = new cBackUpDestination(project, tmp / "dst/");
    source = new cBackUpSource(tmp / "src/../../", *dest);  // all names carried over: "../../"
    auto* options = new cBackUpOptions;
    options->TransferFlags = 0x01;
    source->SetOptions(options);
    tmp.WriteFile("src/f", "f");
    const auto lines = Run();
    EXPECT_EQ(run.ProblemCount, 1);
    EXPECT_NE(lines.at(0).find("nicht zugegriffen werden kann"), std::string::npos);
}

TEST_F(SafetyTest, TheWalkNeverEntersTheRunsOwnDestination) {
    project.Destinations.Remove(dest);
    delete dest;
    dest = new cBackUpDestination(project, src + "Backup/");
    source = new cBackUpSource(src, *dest);
    tmp.WriteFile("src/doc.txt", "d");
    Run();
    Run();
    EXPECT_TRUE(tmp.Exists("src/Backup/doc.txt"));
    EXPECT_FALSE(tmp.Exists("src/Backup/Backup"));
    EXPECT_EQ(source->Catalogue.Files, std::vector<std::string>{"DOC.TXT"});
}

TEST_F(SafetyTest, AMissingSourceKeepsItsCatalogueAndCopies) {
    tmp.WriteFile("src/a", "a");
    Run();
    std::filesystem::remove_all(src);
    const auto lines = Run();
    EXPECT_TRUE(tmp.Exists("dst/a"));
    EXPECT_EQ(source->Catalogue.Files, std::vector<std::string>{"A"});
    EXPECT_EQ(lines, std::vector<std::string>{"Auf das Verzeichnis \"" + src + "\" kann nicht zugegriffen werden."});
}

}  // namespace
}  // namespace trx
