// SPDX-License-Identifier: GPL-3.0-or-later
// Every change at a source reaches the backup, and the catalogue forgets nothing it needs to carry
// deletions over later.
#include "RunFixture.h"

#include "engine/Messages.h"
#include "model/ProjectFile.h"

#include <unistd.h>
#include <filesystem>

namespace trx {
namespace {

namespace fs = std::filesystem;
using test::FaultyFileSystem;
using test::RunFixture;

class EveryChangeTest : public RunFixture {
protected:
    fs::file_type TypeIn(const std::string& relative) { return fs::symlink_status(dst + relative).type(); }
};

TEST_F(EveryChangeTest, TypeChangesAtTheSourceAreFollowedInOneRun) {
    tmp.WriteFile("src/stays", "s");
    tmp.WriteFile("src/FileToFolder", "f");
    tmp.WriteFile("src/FolderToFile/inner", "i");
    tmp.WriteFile("src/FolderToLink/inner", "i");
    ASSERT_EQ(::symlink("stays", (src + "LinkToFolder").c_str()), 0);
    Run();

    fs::remove(src + "FileToFolder");
    tmp.WriteFile("src/FileToFolder/now", "n");
    fs::remove_all(src + "FolderToFile");
    tmp.WriteFile("src/FolderToFile", "now a file");
    fs::remove_all(src + "FolderToLink");
    ASSERT_EQ(::symlink("stays", (src + "FolderToLink").c_str()), 0);
    fs::remove(src + "LinkToFolder");
    tmp.WriteFile("src/LinkToFolder/now", "n");
    const auto lines = Run();

    EXPECT_EQ(run.ProblemCount, 0);
    EXPECT_EQ(tmp.ReadFile("dst/FileToFolder/now"), "n");
    EXPECT_EQ(tmp.ReadFile("dst/FolderToFile"), "now a file");
    EXPECT_EQ(TypeIn("FolderToLink"), fs::file_type::symlink);
    EXPECT_EQ(tmp.ReadFile("dst/LinkToFolder/now"), "n");
    // The old copies went by the deletion rules, with their protocol lines.
    EXPECT_TRUE(Contains(lines, messages::FileDeleted(dst + "FileToFolder")));
    EXPECT_TRUE(Contains(lines, messages::FileDeleted(dst + "FolderToFile/inner")));
    EXPECT_TRUE(Contains(lines, messages::DirectoryDeleted(dst + "FolderToLink")));
}

TEST_F(EveryChangeTest, AFolderThatCannotMakeRoomKeepsItsCopiesAndTheNewFileIsReported) {
    tmp.WriteFile("src/stays", "s");
    tmp.WriteFile("src/Becomes/inner", "i");
    Run();
    fs::remove_all(src + "Becomes");
    tmp.WriteFile("src/Becomes", "a file");
    fs.Fail(FaultyFileSystem::Op::RemoveAt, dst + "Becomes/inner", EACCES);
    const auto lines = Run();
    EXPECT_EQ(tmp.ReadFile("dst/Becomes/inner"), "i");
    EXPECT_TRUE(Contains(lines, messages::FileNotCopied(src + "Becomes", dst)));
    fs.Clear();
    Run();
    EXPECT_EQ(tmp.ReadFile("dst/Becomes"), "a file");
}

TEST_F(EveryChangeTest, FoldersThatDifferOnlyInCaseAreFoldersOfTheirOwn) {
    tmp.WriteFile("src/stays", "s");
    tmp.WriteFile("src/Data/a", "a");
    tmp.WriteFile("src/DATA/b", "b");
    tmp.WriteFile("src/DATA/c", "c");
    auto lines = Run();
    EXPECT_EQ(tmp.ReadFile("dst/Data/a"), "a");
    EXPECT_EQ(tmp.ReadFile("dst/DATA/b"), "b");
    EXPECT_TRUE(Contains(lines, messages::FileCopied(src + "DATA/b", dst + "DATA/", "1 Byte")));
    fs::remove(src + "DATA/b");
    fs::remove(src + "Data/a");
    lines = Run();
    EXPECT_FALSE(tmp.Exists("dst/DATA/b"));
    EXPECT_FALSE(tmp.Exists("dst/Data/a"));
    EXPECT_TRUE(tmp.Exists("dst/DATA/c"));
    EXPECT_TRUE(Contains(lines, messages::FileDeleted(dst + "DATA/b")));
}

TEST_F(EveryChangeTest, ASourceThatFailsKeepsItsCatalogueInTheSavedProject) {
    tmp.WriteFile("src/a.txt", "a");
    tmp.WriteFile("src/Sub/b.txt", "b");
    Run();
    const std::uint64_t total = source->TotalSize;
    // An invalid mask, a source folder that cannot be opened, a target folder that cannot be made.
    for (int fault = 0; fault < 3; ++fault) {
        SCOPED_TRACE(fault);
        fs.Clear();
        project.DefaultOptions.Filters[0].Mask = fault == 0 ? "[abc" : "";
        if (fault == 1) {
            fs.Fail(FaultyFileSystem::Op::OpenDirectory, src, EACCES);
        } else if (fault == 2) {
            fs.Fail(FaultyFileSystem::Op::MakeDirectoryAt, dst + "src", EACCES);
            project.DefaultOptions.TransferFlags = EncodeTransferFlags(true, false, 1, false);
        }
        Run();
        project.DefaultOptions.TransferFlags = 0;
        EXPECT_TRUE(source->Failed);
        EXPECT_EQ(source->TotalSize, total);
        cProject reloaded;
        ParseProject(reloaded, SerializeProject(project));
        EXPECT_EQ(reloaded.Destinations[0]->Sources[0]->Catalogue.Files.size(), 2u);
    }
}

TEST_F(EveryChangeTest, CatalogueNamesFromAFileAndPathsWithEmptyPartsAreTakenAsTheyMean) {
    tmp.WriteFile("src/Keep.txt", "k");
    tmp.WriteFile("src/Gone.txt", "g");
    Run();
    // A file that wrote its names in another case, and a source path typed with "//" and "/./".
    source->Catalogue.Files = {"keep.txt", "Gone.Txt"};
    cProject loaded;
    ParseProject(loaded, SerializeProject(project));
    cBackUpSource& reread = *loaded.Destinations[0]->Sources[0];
    EXPECT_EQ(Sorted(reread.Catalogue.Files), (std::vector<std::string>{"GONE.TXT", "KEEP.TXT"}));
    auto* typed = new cBackUpSource(tmp.Path() + "/./src//", *loaded.Destinations[0]);
    EXPECT_EQ(typed->Path, src);
    delete typed;

    fs::remove(src + "Gone.txt");
    cRunContext loadedRun(fs, formats);
    cDestinationRun(loadedRun, *loaded.Destinations[0]).BackUp();
    EXPECT_EQ(loadedRun.ProblemCount, 0);
    EXPECT_FALSE(tmp.Exists("dst/Gone.txt"));
    EXPECT_TRUE(tmp.Exists("dst/Keep.txt"));
}

}  // namespace
}  // namespace trx
