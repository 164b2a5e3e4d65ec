// SPDX-License-Identifier: GPL-3.0-or-later
// A medium that is not mounted must never cost the backup: what looks like one holds its deletions (and
// copies into a bare mount point) back, while a user's ordinary deletions still go ahead.
#include "RunFixture.h"

#include "engine/Messages.h"
#include "support/ScopedMount.h"

#include <filesystem>

namespace trx {
namespace {

namespace fs = std::filesystem;
using test::RunFixture;
using Reason = cHeldBack::Reason;

class MissingMediumTest : public RunFixture {
protected:
    // `count` files "f0".."fN" below `folder` of the source.
    void Files(const std::string& folder, int count) {
        for (int i = 0; i < count; ++i) {
            tmp.WriteFile("src/" + folder + "f" + std::to_string(i), "x");
        }
    }
    // Empties a folder of the source but keeps the folder, as an unmounted medium leaves its mount point.
    void Empty(const std::string& folder) {
        for (const auto& entry : fs::directory_iterator(src + folder)) {
            fs::remove_all(entry.path());
        }
    }
    std::vector<std::string> RunAgain(bool release = false) {
        run.HeldBack.clear();
        run.ProblemCount = 0;
        run.ReleaseHeldBack = release;
        return Run();
    }
    std::vector<Reason> HeldReasons() const {
        std::vector<Reason> reasons;
        for (const cHeldBack& held : run.HeldBack) {
            reasons.push_back(held.Why);
        }
        return reasons;
    }
};

TEST_F(MissingMediumTest, AnEmptySourceDeletesNothingUntilItsMediumIsBackOrReleased) {
    Files("", 3);
    Files("Sub/", 2);
    Run();
    const std::vector<std::string> catalogue = source->Catalogue.Files;
    const std::uint64_t total = source->TotalSize;
    Empty("");

    const auto lines = RunAgain();
    EXPECT_EQ(HeldReasons(), std::vector<Reason>{Reason::SourceEmpty});
    EXPECT_EQ(run.HeldBack[0].Entries, 6u);  // four files and a folder's name with its two files
    EXPECT_TRUE(Contains(lines, messages::SourceEmptyHeldBack(src, 6)));
    EXPECT_EQ(run.ProblemCount, 1);
    EXPECT_TRUE(tmp.Exists("dst/f0") && tmp.Exists("dst/Sub/f1"));
    EXPECT_EQ(source->Catalogue.Files, catalogue);
    EXPECT_EQ(source->TotalSize, total);  // so that the saved project keeps the catalogue

    Files("", 3);  // the medium is back: an ordinary run
    Files("Sub/", 2);
    RunAgain();
    EXPECT_TRUE(run.HeldBack.empty());
    EXPECT_EQ(run.ProblemCount, 0);

    Empty("");  // meant: released, the deletions go ahead
    RunAgain(true);
    EXPECT_TRUE(run.HeldBack.empty());
    EXPECT_FALSE(tmp.Exists("dst/f0") || tmp.Exists("dst/Sub"));
}

TEST_F(MissingMediumTest, OrdinaryDeletionsGoAheadAndMassDeletionsWait) {
    Files("", 20);
    Files("Small/", 4);
    Files("Big/", 12);
    Run();
    // A few files, a small folder emptied, a folder deleted: tidying, not a missing medium.
    fs::remove(src + "f0");
    fs::remove(src + "f1");
    Empty("Small/");
    fs::remove_all(src + "Big");
    RunAgain();
    EXPECT_TRUE(run.HeldBack.empty());
    EXPECT_FALSE(tmp.Exists("dst/f0") || tmp.Exists("dst/Small/f0") || tmp.Exists("dst/Big"));

    // More than half of what the catalogue knows, and many: held back until released.
    for (int i = 2; i < 20; ++i) {
        fs::remove(src + "f" + std::to_string(i));
    }
    RunAgain();
    EXPECT_EQ(HeldReasons(), std::vector<Reason>{Reason::ManyDeletions});
    EXPECT_TRUE(tmp.Exists("dst/f2") && tmp.Exists("dst/f19"));
    RunAgain(true);
    EXPECT_FALSE(tmp.Exists("dst/f2") || tmp.Exists("dst/f19"));
}

TEST_F(MissingMediumTest, AnEmptiedFolderWithManyNamesLooksLikeAMissingMedium) {
    Files("", 30);
    Files("Musik/", 12);
    Run();
    Empty("Musik/");
    const auto lines = RunAgain();
    EXPECT_EQ(HeldReasons(), std::vector<Reason>{Reason::FolderEmpty});
    EXPECT_TRUE(Contains(lines, messages::FolderEmptyHeldBack(src + "Musik/", 12)));
    EXPECT_TRUE(tmp.Exists("dst/Musik/f11"));
    EXPECT_EQ(source->Catalogue.FindChild("Musik")->Files.size(), 12u);
}

TEST_F(MissingMediumTest, AFolderAMediumWasMountedOnHoldsItsCopiesWhenEmptyOrGone) {
    Files("", 30);
    tmp.MakeDir("src/NAS");
    test::ScopedMount medium(src + "NAS");
    if (!medium.Mounted()) {
        GTEST_SKIP() << medium.Why();
    }
    Files("NAS/", 3);
    Run();
    EXPECT_TRUE(source->Catalogue.FindChild("NAS")->MountPoint);

    medium.Unmount();  // the bare mount point lists empty
    RunAgain();
    EXPECT_EQ(HeldReasons(), std::vector<Reason>{Reason::FolderEmpty});
    EXPECT_TRUE(tmp.Exists("dst/NAS/f2"));

    fs::remove(src + "NAS");  // the desktop removes the folders it mounts media on
    RunAgain();
    EXPECT_EQ(HeldReasons(), std::vector<Reason>{Reason::FolderGone});
    EXPECT_TRUE(tmp.Exists("dst/NAS/f2"));
}

TEST_F(MissingMediumTest, CopiesAnotherSourceKeepsAreNeverDeleted) {
    // "Projekt" moves from the first source into a source of its own whose target is that folder.
    Files("", 30);
    Files("Projekt/", 5);
    Run();
    const std::string moved = tmp / "moved/Projekt/";
    fs::create_directories(tmp / "moved");
    fs::rename(src + "Projekt", moved);
    auto* own = new cBackUpSource(moved, *dest);
    auto* options = new cBackUpOptions;
    options->TransferFlags = EncodeTransferFlags(true, false, 1, false);
    own->SetOptions(options);
    RunAgain();
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(tmp.Exists("dst/Projekt/f" + std::to_string(i)));
    }

    // A source that cannot be reached in this run keeps what its catalogue knows, also against the
    // deletions of another source that shares its target folder.
    auto* shared = new cBackUpSource(tmp.MakeDir("third"), *dest);
    tmp.WriteFile("third/common", "c");
    tmp.WriteFile("src/common", "c");
    RunAgain();
    fs::remove_all(tmp / "third");
    fs::remove(src + "common");
    RunAgain();
    EXPECT_TRUE(shared->Failed);
    EXPECT_TRUE(tmp.Exists("dst/common"));
}

TEST_F(MissingMediumTest, ADestinationBackedUpBeforeIsNeitherRecreatedNorFilledWhenMissingOrEmpty) {
    Files("", 2);
    Run();
    for (const bool remove : {true, false}) {
        SCOPED_TRACE(remove ? "missing" : "empty");
        fs::remove_all(dst);
        if (!remove) {
            fs::create_directory(dst);
        }
        RunAgain();
        EXPECT_EQ(HeldReasons(),
                  std::vector<Reason>{remove ? Reason::DestinationMissing : Reason::DestinationEmpty});
        EXPECT_EQ(run.ProblemCount, 1);
        EXPECT_EQ(fs::exists(dst), !remove);
        EXPECT_FALSE(tmp.Exists("dst/f0"));
        EXPECT_EQ(source->Catalogue.Files.size(), 2u);
    }
    RunAgain(true);  // released: a full backup into the new folder
    EXPECT_TRUE(tmp.Exists("dst/f0"));

    fs::remove_all(dst);  // a cleared catalogue is a new start as well
    source->ClearCatalogue();
    RunAgain();
    EXPECT_TRUE(run.HeldBack.empty());
    EXPECT_TRUE(tmp.Exists("dst/f1"));
}

TEST_F(MissingMediumTest, TwoRunsNeverWriteIntoOneDestinationAtOnce) {
    Files("", 1);
    fs::create_directory(dst);
    auto other = posix.OpenDirectory(dst);
    ASSERT_TRUE(other);
    auto otherRun = (*other)->Lock();
    ASSERT_TRUE(otherRun);
    const auto lines = RunAgain();
    EXPECT_EQ(lines, std::vector<std::string>{messages::DestinationBusy(dst)});
    EXPECT_EQ(run.ProblemCount, 1);
    EXPECT_FALSE(tmp.Exists("dst/f0"));
    otherRun->reset();
    RunAgain();
    EXPECT_TRUE(tmp.Exists("dst/f0"));
}

}  // namespace
}  // namespace trx
