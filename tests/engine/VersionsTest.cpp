// SPDX-License-Identifier: GPL-3.0-or-later
// Earlier versions: what a run replaces or deletes moves into the destination's versions folder, and the
// end of a run that went well removes what is past the project's limits.
#include "QuietRunView.h"
#include "RunFixture.h"
#include "engine/KeptVersions.h"
#include "engine/Messages.h"
#include "engine/RunController.h"
#include "engine/VersionFolders.h"
#include "model/ProjectFile.h"

#include <cerrno>
#include <ctime>
#include <filesystem>

namespace trx {
namespace {

namespace fs = std::filesystem;
constexpr char kStamp[] = "2026-12-08 02-30-00";

class VersionsTest : public test::RunFixture {
protected:
    VersionsTest() {
        run.Versions = {true, 30, 0};
        run.VersionStamp = kStamp;
    }

    void Write(const std::string& relative, const std::string& content, std::time_t when) {
        tmp.WriteFile("src/" + relative, content);
        tmp.SetTimes("src/" + relative, when);
    }

    std::string Kept(const std::string& relative, const std::string& folder = ".tresorix-versionen") const {
        return tmp.ReadFile("dst/" + folder + "/" + kStamp + "/" + relative);
    }

    // Five kinds of change at once; the run after them keeps every earlier copy.
    void ChangeEverything() {
        Write("a.txt", "alt", 1700000000);
        Write("Briefe/b.txt", "b", 1700000000);
        Write("Fotos/x/y.jpg", "y", 1700000000);
        Write("c", "c", 1700000000);
        Write("e/f", "f", 1700000000);
        Run();
        Write("a.txt", "neuer Inhalt", 1700000100);
        fs::remove(src + "Briefe/b.txt");
        fs::remove_all(src + "Fotos");
        fs::remove(src + "c");
        Write("c/d", "d", 1700000100);
        fs::remove_all(src + "e");
        Write("e", "e", 1700000100);
    }

    void ExpectEverythingKept(const std::vector<std::string>& lines) {
        struct Case {
            const char* copy;     // in the destination after the run ("" for none)
            const char* content;  // of that copy
            const char* kept;     // the earlier version
            const char* keptContent;
        };
        for (const Case& c :
             {Case{"a.txt", "neuer Inhalt", "a.txt", "alt"}, Case{"", "", "Briefe/b.txt", "b"},
              Case{"", "", "Fotos/x/y.jpg", "y"}, Case{"c/d", "d", "c", "c"}, Case{"e", "e", "e/f", "f"}}) {
            SCOPED_TRACE(c.kept);
            EXPECT_EQ(Kept(c.kept), c.keptContent);
            if (*c.copy != 0) {
                EXPECT_EQ(tmp.ReadFile(std::string("dst/") + c.copy), c.content);
            }
        }
        EXPECT_FALSE(tmp.Exists("dst/Briefe/b.txt"));
        EXPECT_FALSE(tmp.Exists("dst/Fotos"));
        EXPECT_EQ(run.VersionsKept, 5);
        EXPECT_TRUE(Contains(
            lines, messages::VersionKept(dst + "a.txt", dst + ".tresorix-versionen/" + kStamp + "/a.txt")));
        EXPECT_EQ(run.VersionFolders.back(), dst + ".tresorix-versionen/");
    }
};

TEST_F(VersionsTest, ReplacedAndDeletedCopiesAreKeptNotLost) {
    ChangeEverything();
    ExpectEverythingKept(Run());
    // The replaced copy got a further name first: the version is the very file that stood there.
    EXPECT_EQ(run.ProblemCount, 0);
}

TEST_F(VersionsTest, WithoutHardLinksTheOldCopyIsMovedAside) {
    ChangeEverything();
    fs.Fail(test::FaultyFileSystem::Op::HardLinkAt, ".tresorix-versionen", EPERM);
    ExpectEverythingKept(Run());
}

TEST_F(VersionsTest, AVersionThatCannotBeKeptLeavesTheCopyAsItIs) {
    ChangeEverything();
    fs.Fail(test::FaultyFileSystem::Op::MakeDirectoryAt, ".tresorix-versionen", EACCES);
    Run();
    EXPECT_EQ(tmp.ReadFile("dst/a.txt"), "alt");
    EXPECT_EQ(tmp.ReadFile("dst/Briefe/b.txt"), "b");
    EXPECT_EQ(tmp.ReadFile("dst/Fotos/x/y.jpg"), "y");
    EXPECT_GE(run.ProblemCount, 3);
    EXPECT_EQ(run.VersionsKept, 0);
}

TEST_F(VersionsTest, OffOrInAPreviewNothingIsKept) {
    for (const bool preview : {false, true}) {
        SCOPED_TRACE(preview);
        const std::string name = preview ? "b.txt" : "a.txt";
        run.Versions.Keep = true;
        run.DryRun = false;
        Write(name, "alt", 1700000000);
        Run();
        Write(name, "neuer Inhalt", 1700000100);
        run.Versions.Keep = preview;
        run.DryRun = preview;
        Run();
        EXPECT_FALSE(tmp.Exists("dst/.tresorix-versionen"));
        EXPECT_EQ(tmp.ReadFile("dst/" + name), preview ? "alt" : "neuer Inhalt");
    }
}

// The name is reserved at the destination's top only, and there a source's entry of that name wins: it
// is backed up as usual, and the versions go to a stand-in, also after the source dropped the entry.
TEST_F(VersionsTest, ASourceEntryNamedLikeTheVersionsFolderIsBackedUp) {
    Write(".tresorix-versionen/mine.txt", "mein alt", 1700000000);
    Write("a.txt", "alt", 1700000000);
    Run();
    Write(".tresorix-versionen/mine.txt", "mein neu!", 1700000100);
    Write("a.txt", "neuer Inhalt", 1700000100);
    const std::vector<std::string> lines = Run();
    EXPECT_EQ(tmp.ReadFile("dst/.tresorix-versionen/mine.txt"), "mein neu!");
    EXPECT_EQ(Kept("a.txt", ".tresorix-versionen-2"), "alt");
    EXPECT_EQ(Kept(".tresorix-versionen/mine.txt", ".tresorix-versionen-2"), "mein alt");
    EXPECT_TRUE(Contains(lines, messages::VersionsFolderMoved(dst, dst + ".tresorix-versionen-2/")));

    fs::remove_all(src + ".tresorix-versionen");
    run.VersionStamp = "2026-12-09 02-30-00";
    Run();
    EXPECT_FALSE(tmp.Exists("dst/.tresorix-versionen"));
    EXPECT_EQ(tmp.ReadFile("dst/.tresorix-versionen-2/2026-12-09 02-30-00/.tresorix-versionen/mine.txt"),
              "mein neu!");
    const std::vector<cKeptVersion> versions = VersionsOf(posix, dst, ".tresorix-versionen/mine.txt");
    ASSERT_EQ(versions.size(), 2u);
    EXPECT_EQ(versions[0].Stamp, "2026-12-09 02-30-00");
}

TEST_F(VersionsTest, AKeptVersionComesBackWhereTheUserWantsIt) {
    ChangeEverything();
    Run();
    EXPECT_EQ(KeptPaths(posix, dst),
              (std::vector<std::string>{"Briefe/", "Briefe/b.txt", "Fotos/", "Fotos/x/", "Fotos/x/y.jpg",
                                        "a.txt", "c", "e/", "e/f"}));
    const std::string back = tmp.MakeDir("back");
    for (const char* path : {"a.txt", "Fotos/"}) {
        const std::vector<cKeptVersion> versions = VersionsOf(posix, dst, path);
        ASSERT_EQ(versions.size(), 1u) << path;
        EXPECT_TRUE(RestoreVersion(posix, versions[0], back, versions[0].Name));
    }
    EXPECT_EQ(tmp.ReadFile("back/a.txt"), "alt");
    EXPECT_EQ(tmp.ReadFile("back/Fotos/x/y.jpg"), "y");
    EXPECT_EQ(Kept("a.txt"), "alt") << "a restored version stays kept";
}

// Whole runs: pruning at the end, only of a run that went well.
class VersionPruningTest : public ::testing::Test {
protected:
    VersionPruningTest() {
        project.Reset();
        project.Versions = {true, 30, 2};
        src = tmp.MakeDir("src");
        dst = tmp.MakeDir("dst");
        new cBackUpSource(src, *new cBackUpDestination(project, dst));
        project.ProjectPath = tmp / "p.buf";
        tmp.WriteFile("src/a.txt", "neuer Inhalt");
        tmp.WriteFile("dst/a.txt", "alt");
        tmp.WriteFile(Run("2000-01-01 00-00-00") + "old.txt", "alt");
        tmp.WriteFile("dst/.tresorix-versionen/Notizen.txt", "not a run folder");
        for (int daysAgo = 1; daysAgo <= 3; ++daysAgo) {
            recent.push_back(
                Run(VersionStamp(platform::ToLocalTime(std::time(nullptr) - daysAgo * 86400, 0))));
            tmp.WriteFile(recent.back() + "f.txt", std::to_string(daysAgo));
        }
    }

    static std::string Run(const std::string& stamp) { return "dst/.tresorix-versionen/" + stamp + "/"; }

    test::TestDir tmp;
    platform::PosixFileSystem posix;
    cDefaultTextFormats formats;
    test::QuietRunView view;
    cProject project;
    std::string src;
    std::string dst;
    std::vector<std::string> recent;  // newest first
};

TEST_F(VersionPruningTest, OnlyARunThatWentWellRemovesWhatIsPastTheLimits) {
    enum class End { WentWell, Cancelled, Problem };
    for (const End end : {End::Cancelled, End::Problem, End::WentWell}) {
        SCOPED_TRACE(static_cast<int>(end));
        cProject& p = project;
        tmp.WriteFile("dst/a.txt", "alt");
        if (end == End::Problem) {
            new cBackUpSource(tmp / "fehlt/", *p.Destinations[0]);
        }
        cRunController controller(p, view, posix, formats);
        view.OnFileCopied = [&](int) {
            if (end == End::Cancelled) {
                controller.Cancel();
            }
        };
        controller.PrepareTotals(1000, 100);
        const cRunResult result = controller.Run();
        EXPECT_EQ(result.VersionsKept, 1);
        const bool pruned = end == End::WentWell;
        EXPECT_NE(tmp.Exists(Run("2000-01-01 00-00-00")), pruned);
        EXPECT_NE(tmp.Exists(recent[2]), pruned) << "the third version of f.txt";
        EXPECT_TRUE(tmp.Exists(recent[0] + "f.txt") && tmp.Exists(recent[1] + "f.txt"));
        EXPECT_TRUE(tmp.Exists("dst/.tresorix-versionen/Notizen.txt"));
        if (end == End::Problem) {
            delete p.Destinations[0]->Sources[1];
        }
    }
    EXPECT_NE(tmp.ReadFile("p_Protocol.txt").find(messages::VersionsKept(1)), std::string::npos);
}

}  // namespace
}  // namespace trx
