// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunFixture.h"

#include <cerrno>
#include <filesystem>
#include <unistd.h>

namespace trx {
namespace {

using test::FaultyFileSystem;
using test::RunFixture;

class CatalogueTest : public RunFixture {};

TEST_F(CatalogueTest, AFileDeletedAtTheSourceIsDeletedInTheDestination) {
    tmp.WriteFile("src/keep.txt", "k");
    tmp.WriteFile("src/gone.txt", "g");
    Run();
    ::unlink((src + "gone.txt").c_str());
    const auto lines = Run();
    EXPECT_FALSE(tmp.Exists("dst/gone.txt"));
    EXPECT_TRUE(tmp.Exists("dst/keep.txt"));
    EXPECT_TRUE(Contains(lines, "Die Datei \"" + dst + "gone.txt\" wurde gelöscht."));
    EXPECT_EQ(source->Catalogue.Files, std::vector<std::string>{"KEEP.TXT"});
}

TEST_F(CatalogueTest, WithoutDelDeletedFilesTheCopyStaysAndTheCatalogueEmpties) {
    project.DefaultOptions.DelDeletedFiles = false;
    tmp.WriteFile("src/gone.txt", "g");
    tmp.WriteFile("src/keep.txt", "k");
    Run();
    EXPECT_TRUE(source->Catalogue.Files.empty());
    ::unlink((src + "gone.txt").c_str());
    Run();
    EXPECT_TRUE(tmp.Exists("dst/gone.txt"));
}

TEST_F(CatalogueTest, ADeletedDirectoryGoesWithEverythingInItDeepestFirst) {
    tmp.WriteFile("src/stays.txt", "s");
    tmp.WriteFile("src/Old/a.txt", "a");
    tmp.WriteFile("src/Old/Inner/b.txt", "b");
    Run();
    std::filesystem::remove_all(src + "Old");
    const auto lines = Run();
    EXPECT_FALSE(tmp.Exists("dst/Old"));
    const auto at = [&](const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) - lines.begin();
    };
    const auto inner = at("Das Verzeichnis \"" + dst + "Old/Inner\" wurde gelöscht.");
    const auto old = at("Das Verzeichnis \"" + dst + "Old\" wurde gelöscht.");
    EXPECT_LT(at("Die Datei \"" + dst + "Old/Inner/b.txt\" wurde gelöscht."), inner);
    EXPECT_LT(inner, old);
    EXPECT_LT(old, static_cast<long>(lines.size()));
    // The node stays with the names of its files; they find nothing and say nothing from now on.
    EXPECT_NE(source->Catalogue.FindChild("Old"), nullptr);
    EXPECT_EQ(Run().size(), 1u);
}

TEST_F(CatalogueTest, AFailedDeletionKeepsTheNameAndStopsItsDirectory) {
    tmp.WriteFile("src/stays", "s");
    tmp.WriteFile("src/Dir/a", "a");
    Run();
    std::filesystem::remove_all(src + "Dir");
    fs.Fail(FaultyFileSystem::Op::RemoveAt, dst + "Dir/a", EACCES);
    auto lines = Run();
    EXPECT_TRUE(Contains(lines, "Die Datei \"" + dst + "Dir/a\" konnte nicht gelöscht werden."));
    EXPECT_TRUE(tmp.Exists("dst/Dir/a"));
    // Once for the directory's name, once for the file name its own node keeps.
    EXPECT_EQ(run.ProblemCount, 2);
    EXPECT_EQ(Sorted(source->Catalogue.Files), (std::vector<std::string>{"DIR", "STAYS"}));
    fs.Clear();
    lines = Run();  // tried again after the next run
    EXPECT_FALSE(tmp.Exists("dst/Dir"));
    EXPECT_EQ(source->Catalogue.Files, std::vector<std::string>{"STAYS"});
}

TEST_F(CatalogueTest, AFilterThatNowRejectsANameDeletesItsCopy) {
    tmp.WriteFile("src/work.tmp", "t");
    tmp.WriteFile("src/work.txt", "t");
    Run();
    project.DefaultOptions.Filters[1].Mask = "*.tmp";
    Run();
    EXPECT_FALSE(tmp.Exists("dst/work.tmp"));
    EXPECT_TRUE(tmp.Exists("dst/work.txt"));
    // Too old for the date test: still catalogued, so never deleted.
    project.DefaultOptions.Filters[0].Dates[kModificationTime].EarlierThan = 1000;
    Run();
    EXPECT_TRUE(tmp.Exists("dst/work.txt"));
}

TEST_F(CatalogueTest, TwoSourcesSharingATargetProtectEachOthersFiles) {
    const std::string second = tmp.MakeDir("src2");
    auto* other = new cBackUpSource(second, *dest);
    tmp.WriteFile("src/own.txt", "o");
    tmp.WriteFile("src/common.txt", "from one");
    tmp.WriteFile("src2/common.txt", "from two");
    Run();
    ::unlink((src + "common.txt").c_str());
    Run();
    EXPECT_TRUE(tmp.Exists("dst/common.txt"));  // the second source still has it

    // Also when the source that still has it carries no deletions over: its copy is its own.
    auto* own = new cBackUpOptions;
    own->DelDeletedFiles = false;
    other->SetOptions(own);
    tmp.WriteFile("src/common.txt", "back");
    Run();
    ::unlink((src + "common.txt").c_str());
    Run();
    EXPECT_TRUE(tmp.Exists("dst/common.txt"));
}

TEST_F(CatalogueTest, SubFoldersSwitchedOffDeletesTheFilesInsideButKeepsTheFolders) {
    tmp.WriteFile("src/Sub/inner.txt", "i");
    Run();
    project.DefaultOptions.SubFolders = false;
    Run();
    EXPECT_TRUE(std::filesystem::is_directory(dst + "Sub"));
    EXPECT_FALSE(tmp.Exists("dst/Sub/inner.txt"));
}

TEST_F(CatalogueTest, ACatalogueNameStandsForEveryCaseVariant) {
    tmp.WriteFile("src/stays.txt", "s");
    tmp.WriteFile("src/Report.txt", "r");
    Run();
    tmp.WriteFile("dst/REPORT.TXT", "another case in the backup");
    ::unlink((src + "Report.txt").c_str());
    Run();
    EXPECT_FALSE(tmp.Exists("dst/Report.txt"));
    EXPECT_FALSE(tmp.Exists("dst/REPORT.TXT"));
}

}  // namespace
}  // namespace trx
