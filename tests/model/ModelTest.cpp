// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/SizeUnits.h"

#include <gtest/gtest.h>

namespace trx {
namespace {

// Counts live objects of a type through its destructor side effect: a source leaves its destination.
TEST(Ownership, DestroyingADestinationDestroysItsSources) {
    cProject project;
    auto* keep = new cBackUpDestination(project, "/keep/");
    auto* dest = new cBackUpDestination(project, "/b/");
    new cBackUpSource("/a1/", *dest);
    new cBackUpSource("/a2/", *dest);
    new cBackUpSource("/a3/", *dest);
    auto* group = new cBackUpOptions;
    dest->Sources[1]->SetOptions(group);
    dest->Sources[2]->SetOptions(group);
    new cBackUpSource("/k/", *keep);
    keep->Sources[0]->SetOptions(group);
    EXPECT_EQ(group->RefCount, 3);

    project.Destinations.Remove(dest);
    delete dest;  // its three sources go, two of them releasing the group set
    EXPECT_EQ(project.Destinations.Count(), 1);
    EXPECT_EQ(group->RefCount, 1);
    EXPECT_EQ(keep->Sources.Count(), 1);
}

TEST(Ownership, ASourceLeavesItsDestinationWhenDestroyed) {
    cProject project;
    auto* dest = new cBackUpDestination(project, "/b/");
    auto* first = new cBackUpSource("/a1/", *dest);
    auto* second = new cBackUpSource("/a2/", *dest);
    EXPECT_EQ(dest->Sources.IndexOf(second), 1);
    delete first;
    EXPECT_EQ(dest->Sources.Count(), 1);
    EXPECT_EQ(dest->Sources[0], second);
    EXPECT_EQ(dest->Sources.IndexOf(first), -1);
}

TEST(Ownership, NewObjectsAreWiredUp) {
    cProject project;
    auto* dest = new cBackUpDestination(project, "/b/");
    auto* source = new cBackUpSource("/a/", *dest);
    EXPECT_EQ(project.Destinations[0], dest);
    EXPECT_EQ(dest->Tree.Destination, dest);
    EXPECT_EQ(dest->Tree.Source, nullptr);
    EXPECT_FALSE(dest->OnSourceStart || dest->OnDirEntered || dest->OnProgress || dest->OnFileCompared ||
                 dest->OnFileProgress);
    EXPECT_EQ(source->Destination, dest);
    EXPECT_EQ(source->Options, &project.DefaultOptions);
    EXPECT_EQ(source->Catalogue.Source, source);
    EXPECT_EQ(source->Catalogue.Destination, nullptr);
    EXPECT_EQ(source->TotalSize, 0u);
    EXPECT_EQ(project.DefaultOptions.RefCount, 0);
}

TEST(Ownership, AMovedSourceKeepsOptionsCatalogueAndSize) {
    cProject project;
    auto* from = new cBackUpDestination(project, "/b1/");
    auto* to = new cBackUpDestination(project, "/b2/");
    new cBackUpSource("/x/", *to);
    auto* source = new cBackUpSource("/a/", *from);
    auto* group = new cBackUpOptions;
    source->SetOptions(group);
    source->Catalogue.GetChild("sub")->Files.push_back("F.TXT");
    source->TotalSize = 1234;

    source->MoveTo(*to);
    EXPECT_EQ(from->Sources.Count(), 0);
    ASSERT_EQ(to->Sources.Count(), 2);
    EXPECT_EQ(to->Sources[1], source);
    EXPECT_EQ(source->Destination, to);
    EXPECT_EQ(source->Options, group);
    EXPECT_EQ(group->RefCount, 1);
    EXPECT_EQ(source->TotalSize, 1234u);
    EXPECT_EQ(source->Catalogue.FindChild("sub")->Files.at(0), "F.TXT");
}

TEST(OptionSets, AGroupSetLivesWhileASourceUsesIt) {
    cProject project;
    auto* dest = new cBackUpDestination(project, "/b/");
    auto* a = new cBackUpSource("/a/", *dest);
    auto* b = new cBackUpSource("/c/", *dest);
    auto* group = new cBackUpOptions;
    a->SetOptions(group);
    b->SetOptions(group);
    EXPECT_EQ(group->RefCount, 2);

    a->SetOptions(&project.DefaultOptions);
    EXPECT_EQ(group->RefCount, 1);
    b->SetOptions(b->Options);  // giving a source its own set again must not destroy it
    EXPECT_EQ(group->RefCount, 1);
    EXPECT_EQ(b->Options, group);
    b->SetOptions(&project.DefaultOptions);  // destroys the set; a leak checker would see it otherwise
    EXPECT_EQ(b->Options, &project.DefaultOptions);
}

TEST(OptionSets, TheDefaultSetIsNeverCounted) {
    cProject project;
    project.RetainOptions(&project.DefaultOptions);
    project.RetainOptions(&project.DefaultOptions);
    project.ReleaseOptions(&project.DefaultOptions);
    EXPECT_EQ(project.DefaultOptions.RefCount, 0);
    project.ReleaseOptions(&project.DefaultOptions);
    project.ReleaseOptions(&project.DefaultOptions);
    EXPECT_EQ(project.DefaultOptions.RefCount, 0);
    EXPECT_TRUE(project.DefaultOptions.SubFolders);  // still alive and intact
}

TEST(OptionSets, TransferFlagsDecodeUnsigned) {
    cBackUpOptions options;
    options.TransferFlags = 0xFF;
    EXPECT_EQ(options.TransferDirNameLevel(), 63u);
    EXPECT_TRUE(options.TransferDirNames());
    EXPECT_TRUE(options.TransferDriveName());
    options.TransferFlags = 0xFD;
    EXPECT_EQ(options.TransferDirNameLevel(), 63u);
    EXPECT_TRUE(options.TransferDirNames());
    EXPECT_FALSE(options.TransferDriveName());
    options.TransferFlags = 0x06;  // level and drive bits stay while names are off
    EXPECT_FALSE(options.TransferDirNames());
    EXPECT_EQ(options.TransferDirNameLevel(), 1u);
    options.TransferFlags = 0x01;
    EXPECT_TRUE(options.TransferAllDirNames());

    EXPECT_EQ(EncodeTransferFlags(false, false, 1, false), 0x04);
    EXPECT_EQ(EncodeTransferFlags(true, false, 63, true), 0xFF);
    EXPECT_EQ(EncodeTransferFlags(true, true, 5, false), 0x01);
    EXPECT_EQ(EncodeTransferFlags(true, false, 33, false), 0x85);
}

TEST(OptionSets, NewProjectDefaultsResetInPlace) {
    cProject project;
    cBackUpOptions* const defaults = &project.DefaultOptions;
    new cBackUpDestination(project, "/b/");
    project.ProjectPath = "/p.buf";
    project.Description = "d";
    project.Comments = "c";
    defaults->SubFolders = defaults->OnlyNewFiles = defaults->DelDeletedFiles = defaults->TimeOriginal =
        false;
    defaults->TransferFlags = 0x85;
    defaults->Protocol = 2;
    defaults->Filters[1].Mask = "*.tmp";
    defaults->Filters[1].Types = {".TMP"};
    defaults->Filters[0].Size2 = {true, 5};

    project.Reset();
    EXPECT_EQ(&project.DefaultOptions, defaults);
    EXPECT_EQ(project.Destinations.Count(), 0);
    EXPECT_TRUE(project.ProjectPath.empty() && project.Description.empty() && project.Comments.empty());
    EXPECT_TRUE(defaults->SubFolders && defaults->OnlyNewFiles && defaults->DelDeletedFiles &&
                defaults->TimeOriginal);
    EXPECT_EQ(defaults->TransferFlags, 0);
    EXPECT_EQ(defaults->Protocol, 1);
    EXPECT_TRUE(defaults->Filters[0] == cFileFilter(false));
    EXPECT_TRUE(defaults->Filters[1] == cFileFilter(true));
    EXPECT_TRUE(defaults->Filters[1].Exclude);
}

TEST(SizeUnits, SplitIntoNumberAndUnit) {
    const auto split = [](std::uint64_t bytes) {
        const cSizeInUnit s = SplitSize(bytes);
        return std::make_pair(s.Number, s.Unit);
    };
    EXPECT_EQ(split(3145728), std::make_pair(std::uint64_t{3}, 2));
    EXPECT_EQ(split(1536), std::make_pair(std::uint64_t{1536}, 0));
    EXPECT_EQ(split(0), std::make_pair(std::uint64_t{0}, 0));
    EXPECT_EQ(split(1024), std::make_pair(std::uint64_t{1}, 1));
    EXPECT_EQ(split(std::uint64_t{1} << 40), std::make_pair(std::uint64_t{1024}, 3));  // no unit above GB
    EXPECT_EQ(JoinSize(3, 2), 3145728u);
    EXPECT_EQ(JoinSize(8191, 3), 8191ull << 30);
}

TEST(SubDir, GetChildFindsOrCreatesByExactNameAndCaseVariantsAreFoldersOfTheirOwn) {
    cProject project;
    auto* dest = new cBackUpDestination(project, "/backup/");
    cSubDir& root = dest->Tree;
    EXPECT_EQ(root.GetChild(""), &root);

    cSubDir* muster = root.GetChild("Briefe/Muster/");
    EXPECT_EQ(muster->Name, "Muster");
    EXPECT_EQ(muster->Parent->Name, "Briefe");
    EXPECT_EQ(muster->Destination, dest);
    EXPECT_EQ(root.GetChild("Briefe/Muster"), muster);
    EXPECT_EQ(root.GetChild("/Briefe//Muster//"), muster);  // empty components add no nameless nodes
    EXPECT_EQ(root.SubDirs.Count(), 1);
    EXPECT_EQ(muster->GetPath(false), "Briefe/Muster/");
    EXPECT_EQ(muster->GetPath(true), "/backup/Briefe/Muster/");
    EXPECT_EQ(root.GetPath(true), "/backup/");
    EXPECT_EQ(muster->Depth(), 2);

    // "BRIEFE" is another folder on Linux; both stand for the catalogued name "BRIEFE", umlauts folded too.
    cSubDir* upper = root.GetChild("BRIEFE");
    EXPECT_NE(upper, muster->Parent);
    EXPECT_EQ(root.FindChildrenUpper("BRIEFE"), (std::vector<cSubDir*>{muster->Parent, upper}));
    cSubDir* buecher = root.GetChild(
        "B\xC3\xBC"
        "cher");
    EXPECT_EQ(root.FindChildrenUpper("B\xC3\x9C"
                                     "CHER"),
              std::vector<cSubDir*>{buecher});
    EXPECT_NE(root.GetChild("x\xFF"), root.GetChild("x\xFE"));
}

TEST(Directory, PathsAreCleanedWhereTheyEnterTheModel) {
    for (const auto& [typed, clean] : std::vector<std::pair<std::string, std::string>>{
             {"/home/anna/", "/home/anna/"},
             {"/home/anna", "/home/anna/"},
             {"//home///anna//", "/home/anna/"},
             {"/home/./anna/.", "/home/anna/"},
             {"/home/../etc/", "/home/../etc/"},  // refused later, never resolved to somewhere else
             {"/", "/"},
             {"C:\\Daten\\", "C:\\Daten\\"},
         }) {
        cProject project;
        EXPECT_EQ((new cBackUpDestination(project, typed))->Path, clean) << typed;
    }
}

TEST(SubDir, TheChildIndexFollowsChangesOfTheList) {
    cProject project;
    auto* dest = new cBackUpDestination(project, "/d/");
    auto* source = new cBackUpSource("/s/", *dest);
    cSubDir& root = source->Catalogue;
    for (int i = 0; i < 5000; ++i) {
        root.GetChild("dir" + std::to_string(i));
    }
    EXPECT_EQ(root.SubDirs.Count(), 5000);
    EXPECT_EQ(root.FindChild("dir4321")->Name, "dir4321");
    EXPECT_EQ(root.FindChild("DIR4321"), nullptr);
    EXPECT_EQ(root.FindChild("dir4321")->Source, source);

    source->ClearCatalogue();
    EXPECT_EQ(root.FindChild("dir1"), nullptr);
    EXPECT_EQ(root.SubDirs.Count(), 0);
    cSubDir* again = root.GetChild("dir1");
    EXPECT_EQ(root.FindChildrenUpper("DIR1"), std::vector<cSubDir*>{again});
}

TEST(SubDir, ClearFilesEmptiesTheWholeTreeButKeepsTheNodes) {
    cSubDir root;
    root.Files = {"A"};
    root.GetChild("x/y")->Files = {"B", "C"};
    root.ClearFiles();
    EXPECT_TRUE(root.Files.empty());
    EXPECT_TRUE(root.GetChild("x/y")->Files.empty());
    EXPECT_EQ(root.SubDirs.Count(), 1);
}

}  // namespace
}  // namespace trx
