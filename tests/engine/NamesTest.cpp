// SPDX-License-Identifier: GPL-3.0-or-later
// Names Linux allows and a backup must carry: copied, catalogued and deleted like any other.
#include "RunFixture.h"

#include "model/ProjectFile.h"
#include "model/ProjectFileError.h"

#include <unistd.h>
#include <filesystem>
#include <fstream>

namespace trx {
namespace {

using test::RunFixture;
namespace fs = std::filesystem;

class NamesTest : public RunFixture {
protected:
    // Copies `name` into a backup, then deletes it at the source: it must leave the backup too.
    void RoundTrip(const std::string& relative) {
        SCOPED_TRACE(relative);
        tmp.WriteFile("src/stays", "s");  // a source that lists empty would hold its deletions back
        tmp.WriteFile("src/" + relative, "content");
        Run();
        EXPECT_EQ(tmp.ReadFile("dst/" + relative), "content");
        fs::remove(src + relative);
        Run();
        EXPECT_FALSE(tmp.Exists("dst/" + relative));
        EXPECT_EQ(run.ProblemCount, 0);
    }
};

TEST_F(NamesTest, UnusualNamesTravelAndLeave) {
    RoundTrip(std::string("bytes-\xFF\xFE-\xC3(.txt"));  // not UTF-8
    RoundTrip(std::string(255, 'L'));
    RoundTrip("line\nbreak.txt");
    RoundTrip("back\\slash\\.txt");
    RoundTrip(" leading and trailing blanks ");
    RoundTrip("-dash");
    RoundTrip("Sub/" + std::string(255, 'x'));
}

TEST_F(NamesTest, PathsNearThePlatformLimit) {
    // Sixteen levels of 250 bytes: the source paths pass 4000 bytes; the walk works relative to open
    // folders, so it never hands the whole path to the system.
    std::string relative;
    for (int level = 0; level < 16; ++level) {
        relative += std::string(250, static_cast<char>('a' + level)) + "/";
    }
    fs::create_directories(src + relative);
    const std::string file = relative + "deep.txt";
    std::ofstream(src + file) << "deep";
    Run();
    EXPECT_TRUE(fs::exists(dst + file));
    fs::remove(src + file);
    Run();
    EXPECT_FALSE(fs::exists(dst + file));
}

TEST_F(NamesTest, NamesThatDifferOnlyInCase) {
    tmp.WriteFile("src/stays", "s");
    tmp.WriteFile("src/Report.txt", "mixed");
    tmp.WriteFile("src/REPORT.TXT", "upper");
    Run();
    EXPECT_EQ(tmp.ReadFile("dst/Report.txt"), "mixed");
    EXPECT_EQ(tmp.ReadFile("dst/REPORT.TXT"), "upper");
    EXPECT_EQ(Sorted(source->Catalogue.Files), (std::vector<std::string>{"REPORT.TXT", "STAYS"}));

    // The catalogue keeps one upper-cased name for both: while one of them is there, the name counts as
    // seen and neither copy is deleted.
    fs::remove(src + "Report.txt");
    Run();
    EXPECT_TRUE(tmp.Exists("dst/Report.txt"));
    fs::remove(src + "REPORT.TXT");
    Run();
    EXPECT_FALSE(tmp.Exists("dst/Report.txt"));
    EXPECT_FALSE(tmp.Exists("dst/REPORT.TXT"));
}

// Project files built to reach outside the destination: each one loads and deletes nothing outside it,
// or fails to load with its message.
TEST_F(NamesTest, HostileProjectFilesDeleteNothingOutsideTheDestination) {
    tmp.WriteFile("victim.txt", "v");
    tmp.WriteFile("etc/passwd", "p");
    tmp.WriteFile("dst/keep.txt", "k");
    tmp.MakeDir("src/a");
    source->TotalSize = 1;
    source->Catalogue.Files = {
        "..", ".", "", "/ETC", "A/../../VICTIM.TXT", std::string("VICTIM.TXT\0", 11), "../VICTIM.TXT"};
    source->Catalogue.GetChild("/etc")->Files = {"PASSWD"};
    source->Catalogue.GetChild("a/../../")->Files = {"VICTIM.TXT", "ETC"};
    source->Catalogue.GetChild("..")->GetChild("..")->Files = {"VICTIM.TXT"};
    SaveProject(project, tmp / "hostile.buf", posix);

    cProject loaded;
    LoadProject(loaded, tmp / "hostile.buf", posix);
    cBackUpDestination& loadedDestination = *loaded.Destinations[0];
    cRunContext loadedRun(fs, formats);
    for (int i = 0; i < 2; ++i) {
        cDestinationRun(loadedRun, loadedDestination).BackUp();
    }
    EXPECT_EQ(tmp.ReadFile("victim.txt"), "v");
    EXPECT_EQ(tmp.ReadFile("etc/passwd"), "p");
    EXPECT_EQ(tmp.ReadFile("dst/keep.txt"), "k");
    for (const std::string& name : loadedDestination.Sources[0]->Catalogue.Files) {
        EXPECT_TRUE(name == "A") << name;  // every name that was not plain has left the catalogue
    }

    // Files that cannot be real projects do not load at all.
    const std::string bytes = SerializeProject(project);
    for (const std::string& broken :
         {bytes.substr(0, bytes.size() / 2), std::string("\x01\x01\x0C\xFF\xFF\xFF\xFF", 7)}) {
        tmp.WriteFile("broken.buf", broken);
        cProject target;
        EXPECT_THROW(LoadProject(target, tmp / "broken.buf", posix), cProjectFileError);
    }
}

}  // namespace
}  // namespace trx
