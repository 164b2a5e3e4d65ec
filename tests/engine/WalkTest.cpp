// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunFixture.h"

#include "engine/SafeCopy.h"

#include <cerrno>
#include <filesystem>
#include <unistd.h>

namespace trx {
namespace {

using test::RunFixture;

constexpr std::time_t kNoon2025 = 1750000000;  // 15 June 2025, an even second

class WalkTest : public RunFixture {};

TEST_F(WalkTest, AFirstRunCopiesTheWholeTreeAndCataloguesIt) {
    tmp.WriteFile("src/a.txt", "alpha");
    tmp.WriteFile("src/.hidden", "h");
    tmp.WriteFile("src/empty.dat", "");
    tmp.WriteFile("src/Sub/Deep/b.txt", "beta");
    tmp.MakeDir("src/EmptyDir");
    const auto lines = Run();

    EXPECT_EQ(tmp.ReadFile("dst/a.txt"), "alpha");
    EXPECT_EQ(tmp.ReadFile("dst/.hidden"), "h");
    EXPECT_TRUE(tmp.Exists("dst/empty.dat"));
    EXPECT_EQ(tmp.ReadFile("dst/Sub/Deep/b.txt"), "beta");
    EXPECT_TRUE(std::filesystem::is_directory(tmp / "dst/EmptyDir"));
    EXPECT_EQ(source->TotalSize, 10u);
    EXPECT_EQ(Sorted(source->Catalogue.Files),
              (std::vector<std::string>{".HIDDEN", "A.TXT", "EMPTY.DAT", "EMPTYDIR", "SUB"}));
    EXPECT_EQ(source->Catalogue.FindChild("Sub")->FindChild("Deep")->Files, std::vector<std::string>{"B.TXT"});
    EXPECT_TRUE(Contains(lines, "Die Datei \"" + src + "empty.dat\" wurde erfolgreich nach \"" + dst +
                                    "\" kopiert. (0 Byte)"));
    EXPECT_TRUE(Contains(lines, "Die Datei \"" + src + "Sub/Deep/b.txt\" wurde erfolgreich nach \"" + dst +
                                    "Sub/Deep/\" kopiert. (4 Byte)"));
    EXPECT_EQ(lines.back(), "Das Verzeichnis \"" + src + "\" wurde gesichert. (10 Byte)");
    EXPECT_EQ(run.ProblemCount, 0);
    EXPECT_TRUE(dest->Tree.Seen.empty());  // emptied after every destination run
}

// "Only new or changed files" on real files: every change a user makes reaches the backup, and nothing
// unchanged is copied again.
TEST_F(WalkTest, OnlyNewFilesSeesEveryRealChange) {
    tmp.WriteFile("src/other.txt", "o");  // an emptied backup would be held back as a missing disk
    struct Step {
        const char* what;
        std::string content;
        std::time_t seconds;
        long nanoseconds;
        bool copied;
    };
    const std::time_t before1980 = 100'000'000;  // 1973
    const std::time_t after2107 = 4'400'000'000;  // 2109
    for (const Step& step : std::vector<Step>{
             {"first copy", "v1", kNoon2025, 0, true},
             {"unchanged", "v1", kNoon2025, 0, false},
             {"saved again within the same second, same size", "v2", kNoon2025, 400'000'000, true},
             {"saved again within two seconds, other size", "v3!", kNoon2025 + 1, 0, true},
             {"an older version put back", "v1", kNoon2025 - 100, 0, true},
             {"older, same size: the newer copy stays", "xy", kNoon2025 - 200, 0, false},
             {"before 1980", "old", before1980, 0, true},
             {"before 1980, a second later", "olt", before1980 + 1, 0, true},
             {"after 2107", "far", after2107, 0, true},
             {"after 2107, a second later", "fat", after2107 + 1, 0, true},
         }) {
        SCOPED_TRACE(step.what);
        tmp.WriteFile("src/f.txt", step.content);
        tmp.SetTimes("src/f.txt", step.seconds, step.nanoseconds);
        const auto lines = Run();
        const bool copied = Contains(lines, "Die Datei \"" + src + "f.txt\" wurde erfolgreich nach \"" + dst +
                                                "\" kopiert. (" + std::to_string(step.content.size()) + " Byte)");
        EXPECT_EQ(copied, step.copied);
        if (step.copied) {
            EXPECT_EQ(tmp.ReadFile("dst/f.txt"), step.content);
        }
    }
    // A torn copy (shorter than its source, with the source's time already set) is replaced.
    ASSERT_EQ(::truncate((dst + "f.txt").c_str(), 1), 0);
    tmp.SetTimes("dst/f.txt", after2107 + 1);
    Run();
    EXPECT_EQ(tmp.ReadFile("dst/f.txt"), "fat");
    ::unlink((dst + "f.txt").c_str());  // a missing copy is always made
    Run();
    EXPECT_EQ(tmp.ReadFile("dst/f.txt"), "fat");
}

TEST_F(WalkTest, WithoutOnlyNewFilesEveryRunCopiesAgain) {
    project.DefaultOptions.OnlyNewFiles = false;
    tmp.WriteFile("src/f.txt", "v1");
    tmp.SetTimes("src/f.txt", kNoon2025);
    Run();
    tmp.WriteFile("dst/f.txt", "changed in the backup");
    tmp.SetTimes("dst/f.txt", kNoon2025 + 1000);
    const auto lines = Run();
    EXPECT_EQ(tmp.ReadFile("dst/f.txt"), "v1");
    EXPECT_TRUE(Contains(lines, "Die Datei \"" + src + "f.txt\" wurde erfolgreich nach \"" + dst +
                                    "\" kopiert. (2 Byte)"));
}

TEST_F(WalkTest, CopiesWithoutOriginalTimesAreNotCopiedAgain) {
    project.DefaultOptions.TimeOriginal = false;
    tmp.WriteFile("src/f.txt", "x");
    tmp.SetTimes("src/f.txt", kNoon2025);
    Run();
    EXPECT_GT(MTime(dst + "f.txt"), kNoon2025 + 1000);  // the time of the run
    const auto lines = Run();
    EXPECT_EQ(lines.size(), 1u);  // only the source line: nothing copied
}

TEST_F(WalkTest, PermissionBitsTravelButNotSetIdBits) {
    const std::string path = tmp.WriteFile("src/tool", "#!/bin/sh\n");
    ASSERT_EQ(::chmod(path.c_str(), 04751), 0);
    Run();
    struct stat st {};
    ASSERT_EQ(::stat((dst + "tool").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0751u);
}

TEST_F(WalkTest, LinksAreCopiedAsLinksAndNeverFollowed) {
    tmp.WriteFile("outside/secret.txt", "s");
    ASSERT_EQ(::symlink((tmp / "outside").c_str(), (src + "dirlink").c_str()), 0);
    ASSERT_EQ(::symlink("../nowhere", (src + "dangling").c_str()), 0);
    Run();
    char buffer[256] = {};
    ASSERT_GT(::readlink((dst + "dirlink").c_str(), buffer, sizeof buffer), 0);
    EXPECT_EQ(std::string(buffer), tmp / "outside");
    EXPECT_FALSE(tmp.Exists("dst/dirlink/secret.txt.trx"));
    EXPECT_TRUE(std::filesystem::is_symlink(dst + "dangling"));
    EXPECT_EQ(source->TotalSize, (tmp / "outside").size() + 10);
    EXPECT_EQ(source->Catalogue.SubDirs.Count(), 0);  // the link was never walked into
}

TEST_F(WalkTest, FiltersDecideCandidatesAndCopies) {
    cFileFilter& include = project.DefaultOptions.Filters[0];
    cFileFilter& exclude = project.DefaultOptions.Filters[1];
    include.Mask = "*.txt";
    exclude.Size2 = {true, 3};  // smaller than 3 bytes: excluded from copying, still catalogued
    tmp.WriteFile("src/a.txt", "aaaa");
    tmp.WriteFile("src/b.txt", "b");
    tmp.WriteFile("src/c.doc", "cccc");
    tmp.WriteFile("src/Sub/d.doc", "dddd");  // the mask never keeps the walk out of sub-directories
    Run();
    EXPECT_TRUE(tmp.Exists("dst/a.txt"));
    EXPECT_FALSE(tmp.Exists("dst/b.txt"));
    EXPECT_FALSE(tmp.Exists("dst/c.doc"));
    EXPECT_TRUE(std::filesystem::is_directory(dst + "Sub"));
    EXPECT_FALSE(tmp.Exists("dst/Sub/d.doc"));
    EXPECT_EQ(Sorted(source->Catalogue.Files), (std::vector<std::string>{"A.TXT", "B.TXT", "SUB"}));
    EXPECT_EQ(source->TotalSize, 5u);

    project.DefaultOptions.SubFolders = false;
    ::unlink((src + "a.txt").c_str());
    Run();
    EXPECT_FALSE(tmp.Exists("dst/a.txt"));
}

TEST_F(WalkTest, HooksReportDirectoriesProgressAndChunks) {
    tmp.WriteFile("src/one", std::string(3 * kCopyChunk / 2, 'x'));
    tmp.WriteFile("src/zero", "");
    tmp.WriteFile("src/Sub/inner", "i");
    std::vector<std::string> entered;
    std::vector<std::pair<int, int>> progress;
    std::vector<std::string> fileProgress;
    int compared = 0;
    dest->OnDirEntered = [&](cBackUpDestination&, const std::string& relative) { entered.push_back(relative); };
    dest->OnProgress = [&](cBackUpDestination&, int position, int count) { progress.emplace_back(position, count); };
    dest->OnFileCompared = [&](cBackUpDestination&, cBackUpSource&) { ++compared; };
    dest->OnFileProgress = [&](cBackUpDestination&, std::uint64_t done, std::uint64_t total, const std::string* name) {
        fileProgress.push_back((name ? *name + ":" : std::string()) + std::to_string(done) + "/" +
                               std::to_string(total));
    };
    Run();
    EXPECT_EQ(entered, (std::vector<std::string>{"", "Sub/"}));
    EXPECT_EQ(compared, 3);
    ASSERT_EQ(progress.size(), 3u);  // the source directory's own entries only
    EXPECT_EQ(progress.back(), std::make_pair(3, 3));
    const std::string big = std::to_string(3 * kCopyChunk / 2);
    EXPECT_NE(std::find(fileProgress.begin(), fileProgress.end(), "zero:0/0"), fileProgress.end());
    EXPECT_NE(std::find(fileProgress.begin(), fileProgress.end(), "0/0"), fileProgress.end());
    const auto chunkBeforeTheLast = [&](const std::string& entry) {
        const std::string done = entry.substr(0, entry.find('/'));
        return entry == done + "/" + big && done != "0" && done != big;
    };
    EXPECT_TRUE(std::any_of(fileProgress.begin(), fileProgress.end(), chunkBeforeTheLast));
    EXPECT_NE(std::find(fileProgress.begin(), fileProgress.end(), big + "/" + big), fileProgress.end());
}

TEST_F(WalkTest, EntriesThatComeOrGoBetweenThePassesAreNeitherCopiedNorCounted) {
    tmp.WriteFile("src/stays", "1");
    tmp.WriteFile("src/goes", "22");
    fs.AfterList = [&](const std::string& directory) {
        if (directory == src) {
            ::unlink((src + "goes").c_str());
            tmp.WriteFile("src/comes", "333");
        }
    };
    Run();
    EXPECT_TRUE(tmp.Exists("dst/stays"));
    EXPECT_FALSE(tmp.Exists("dst/goes"));
    EXPECT_FALSE(tmp.Exists("dst/comes"));
    EXPECT_EQ(source->TotalSize, 1u);
    EXPECT_EQ(Sorted(source->Catalogue.Files), (std::vector<std::string>{"GOES", "STAYS"}));
}

TEST_F(WalkTest, AFailedCopyKeepsTheEarlierCopyAndIsReported) {
    tmp.WriteFile("src/big", std::string(100000, 'n'));
    tmp.WriteFile("dst/big", "the earlier copy");
    tmp.SetTimes("dst/big", kNoon2025);
    fs.Fail(test::FaultyFileSystem::Op::Write, dst, ENOSPC, 5000);
    auto lines = Run();
    EXPECT_EQ(tmp.ReadFile("dst/big"), "the earlier copy");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dst), std::filesystem::directory_iterator()), 1);
    EXPECT_TRUE(Contains(lines, "Die Datei \"" + src + "big\" konnte nicht nach \"" + dst + "\" kopiert werden."));
    EXPECT_EQ(run.ProblemCount, 1);

    fs.Clear();
    fs.Fail(test::FaultyFileSystem::Op::Read, src + "big", EIO, 3000);
    lines = Run();
    EXPECT_EQ(tmp.ReadFile("dst/big"), "the earlier copy");

    fs.Clear();
    Run();
    EXPECT_EQ(tmp.ReadFile("dst/big"), std::string(100000, 'n'));
}

TEST_F(WalkTest, CancellingDuringACopyDropsThePartialCopyAndComparesNothing) {
    tmp.WriteFile("src/big", std::string(3 * kCopyChunk, 'n'));
    tmp.WriteFile("src/later", "l");
    tmp.WriteFile("dst/big", "the earlier copy");
    tmp.SetTimes("dst/big", kNoon2025);
    tmp.WriteFile("dst/removed-at-source", "keep me while cancelled");
    source->TotalSize = 1;
    source->Catalogue.Files = {"REMOVED-AT-SOURCE"};
    dest->OnFileProgress = [&](cBackUpDestination&, std::uint64_t done, std::uint64_t, const std::string*) {
        if (done > 0 && done < 3 * kCopyChunk) {
            run.CancelRequested = true;
        }
    };
    const auto lines = Run();
    EXPECT_EQ(tmp.ReadFile("dst/big"), "the earlier copy");
    EXPECT_TRUE(tmp.Exists("dst/removed-at-source"));
    EXPECT_EQ(lines.back(), "Das Verzeichnis \"" + src +
                                "\" konnte nicht vollständig gesichert werden, da der Vorgang vom Benutzer "
                                "abgebrochen wurde.");
    for (const auto& entry : std::filesystem::directory_iterator(dst)) {
        EXPECT_NE(entry.path().filename().string()[0], '.') << "temporary file left behind";
    }
}

TEST_F(WalkTest, CancellingAfterTheLastChunkKeepsTheCopy) {
    tmp.WriteFile("src/small", "s");
    dest->OnFileProgress = [&](cBackUpDestination&, std::uint64_t done, std::uint64_t total, const std::string* name) {
        if (name == nullptr && done == total) {
            run.CancelRequested = true;
        }
    };
    const auto lines = Run();
    EXPECT_EQ(tmp.ReadFile("dst/small"), "s");
    EXPECT_TRUE(Contains(lines, "Die Datei \"" + src + "small\" wurde erfolgreich nach \"" + dst +
                                    "\" kopiert. (1 Byte)"));
}

TEST_F(WalkTest, NamesThatAreNotUtf8AreCopiedByteForByte) {
    const std::string odd = "caf\xE9-\xFF.txt";
    tmp.WriteFile("src/" + odd, "latin-1 name");
    Run();
    EXPECT_EQ(tmp.ReadFile("dst/" + odd), "latin-1 name");
    EXPECT_EQ(source->Catalogue.Files, std::vector<std::string>{"CAF\xE9-\xFF.TXT"});
}

TEST_F(WalkTest, ALongNameGetsAShortTemporaryName) {
    const std::string name(255, 'n');
    tmp.WriteFile("src/" + name, "long");
    Run();
    EXPECT_EQ(tmp.ReadFile("dst/" + name), "long");
}

TEST_F(WalkTest, AFifoNeverBlocksTheRun) {
    ASSERT_EQ(::mkfifo((src + "pipe").c_str(), 0600), 0);
    tmp.WriteFile("src/file", "f");
    Run();
    EXPECT_FALSE(tmp.Exists("dst/pipe"));
    EXPECT_TRUE(tmp.Exists("dst/file"));
}

}  // namespace
}  // namespace trx

namespace trx {
namespace {

TEST_F(WalkTest, AfterAKilledRunItsTemporaryCopiesAreRemovedButNoSourceFile) {
    tmp.WriteFile("src/a.txt", "a");
    tmp.WriteFile("src/.keep.trx-abcdefgh", "a source file that only looks like a temporary copy");
    Run();
    // What a run killed during two copies leaves: two temporary files, and its mark beside the project.
    tmp.WriteFile("src/.tresorix-run", "a source file named like the mark of earlier versions");
    run.PreviousRunKilled = true;
    tmp.WriteFile("dst/.a.txt.trx-0123abcd", "half a copy");
    tmp.WriteFile("dst/.trx-0123456789abcdef", "half a copy of a long name");
    tmp.WriteFile("dst/.a.txt.trx-NOTMINE1", "not one of ours");
    Run();
    EXPECT_FALSE(tmp.Exists("dst/.a.txt.trx-0123abcd"));
    EXPECT_FALSE(tmp.Exists("dst/.trx-0123456789abcdef"));
    EXPECT_TRUE(tmp.Exists("dst/.tresorix-run"));
    EXPECT_TRUE(tmp.Exists("dst/.a.txt.trx-NOTMINE1"));
    EXPECT_TRUE(tmp.Exists("dst/.keep.trx-abcdefgh"));

    // Without the mark nothing is looked for.
    run.PreviousRunKilled = false;
    tmp.WriteFile("dst/.a.txt.trx-0123abcd", "x");
    Run();
    EXPECT_TRUE(tmp.Exists("dst/.a.txt.trx-0123abcd"));
}

}  // namespace
}  // namespace trx
