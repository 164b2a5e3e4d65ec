// SPDX-License-Identifier: GPL-3.0-or-later
// The preview takes exactly the decisions the run then carries out, and writes nothing anywhere.
#include "QuietRunView.h"
#include "RunFixture.h"
#include "support/TreeSnapshot.h"

#include "engine/PlanRecorder.h"
#include "engine/RunController.h"
#include "engine/RunPlan.h"
#include "model/ProjectExtras.h"
#include "model/ProjectFile.h"

#include <sys/stat.h>
#include <filesystem>
#include <map>

namespace trx {
namespace {

namespace fs = std::filesystem;
using test::FaultyFileSystem;
using test::RunFixture;

std::map<std::string, std::string> Snapshot(const std::string& root) {
    return test::TreeSnapshot(root);
}

// One line per action, as a person would compare them.
std::vector<std::string> PlanLines(const cRunPlan& plan) {
    static const char* const kKinds[] = {"copy", "replace", "delete", "hold back", "problem"};
    std::vector<std::string> lines;
    for (const cPlannedAction& action : plan.Actions) {
        std::string line = std::string(kKinds[static_cast<int>(action.What)]) + " " + plan.TargetPath(action);
        if (action.What == cPlannedAction::Kind::Copy || action.What == cPlannedAction::Kind::Replace) {
            line += " from " + plan.SourcePath(action) + " " + std::to_string(action.Size);
        }
        lines.push_back(line + (action.Text.empty() ? "" : " | " + action.Text));
    }
    return lines;
}

class PreviewTest : public RunFixture {
protected:
    PreviewTest() { project.ProjectPath = tmp / "p.buf"; }

    cRunPlan Preview() {
        test::QuietRunView view;
        cRunController controller(project, view, fs, formats);
        cRunPlan plan;
        controller.Preview(plan);
        return plan;
    }

    // A real run whose decisions are written into a plan as it carries them out.
    cRunPlan RunRecorded() {
        cRunPlan plan;
        cPlanRecorder recorder(plan);
        run.Plan = &recorder;
        run.HeldBack.clear();
        Run();
        run.Plan = nullptr;
        return plan;
    }

    // The preview lists exactly what the run then does, and the run does it.
    std::vector<std::string> ExpectPreviewEqualsRun() {
        const std::vector<std::string> previewed = PlanLines(Preview());
        const std::vector<std::string> done = PlanLines(RunRecorded());
        EXPECT_EQ(previewed, done);
        return done;
    }
};

TEST_F(PreviewTest, ThePreviewListsWhatTheRunThenDoes) {
    tmp.WriteFile("src/keep.txt", "k");
    tmp.WriteFile("src/change.txt", "old");
    tmp.WriteFile("src/gone.txt", "g");
    tmp.WriteFile("src/Gone/a", "a");
    tmp.WriteFile("src/work.tmp", "t");
    tmp.WriteFile("src/Folder", "a file that becomes a folder");
    // The first run: everything is new, the destination folder is made.
    EXPECT_EQ(ExpectPreviewEqualsRun().size(), 6u);

    tmp.WriteFile("src/change.txt", "new!");
    tmp.WriteFile("src/new/deep/n.txt", "n");
    fs::remove(src + "gone.txt");
    fs::remove_all(src + "Gone");
    fs::remove(src + "Folder");
    tmp.WriteFile("src/Folder/inside", "i");
    project.DefaultOptions.Filters[1].Mask = "*.tmp";  // filtered out now: its copy goes
    const std::vector<std::string> done = ExpectPreviewEqualsRun();
    EXPECT_TRUE(std::find(done.begin(), done.end(), "delete " + dst + "gone.txt") != done.end());
    EXPECT_TRUE(std::find(done.begin(), done.end(), "delete " + dst + "Gone/") != done.end());
    EXPECT_TRUE(std::find(done.begin(), done.end(), "delete " + dst + "work.tmp") != done.end());
    EXPECT_TRUE(std::find(done.begin(), done.end(), "delete " + dst + "Folder") != done.end());
    EXPECT_EQ(tmp.ReadFile("dst/new/deep/n.txt"), "n");

    EXPECT_TRUE(ExpectPreviewEqualsRun().empty());  // nothing left to do
}

TEST_F(PreviewTest, HeldBackWorkAndProblemsAreListedAsTheRunMeetsThem) {
    for (int i = 0; i < 12; ++i) {
        tmp.WriteFile("src/f" + std::to_string(i), "x");
    }
    tmp.WriteFile("src/Locked/a", "a");
    Run();
    for (int i = 0; i < 11; ++i) {
        fs::remove(src + "f" + std::to_string(i));
    }
    fs.Fail(FaultyFileSystem::Op::OpenDirectory, src + "Locked/", EACCES);
    const std::vector<std::string> done = ExpectPreviewEqualsRun();
    ASSERT_EQ(done.size(), 2u);
    EXPECT_EQ(done[0].rfind("problem", 0), 0u);
    EXPECT_EQ(done[1].rfind("hold back", 0), 0u);
    EXPECT_TRUE(tmp.Exists("dst/f0"));
}

TEST_F(PreviewTest, ADeletedFileCarriesTheTimeOfItsCopy) {
    tmp.WriteFile("src/keep.txt", "k");  // an emptied source would hold everything back
    tmp.WriteFile("src/gone.txt", "gone");
    tmp.WriteFile("src/Gone/a", "a");
    Run();
    tmp.SetTimes("dst/gone.txt", 1'000'000'000, 5);
    fs::remove(src + "gone.txt");
    fs::remove_all(src + "Gone");
    cRunPlan plan = Preview();
    ASSERT_EQ(plan.Actions.size(), 2u);
    std::sort(plan.Actions.begin(), plan.Actions.end(),
              [](const cPlannedAction& a, const cPlannedAction& b) { return a.Folder < b.Folder; });
    EXPECT_EQ(plan.Actions[0].Size, 4u);
    EXPECT_EQ(plan.Actions[0].CopyModified.Seconds, 1'000'000'000);
    EXPECT_EQ(plan.Actions[0].CopyModified.Nanoseconds, 5);
    EXPECT_TRUE(plan.Actions[1].Folder);
    EXPECT_EQ(plan.Actions[1].CopyModified.Seconds, 0);  // a folder has no one time for all in it
}

TEST_F(PreviewTest, AMissingSourcesProblemIsItsOwn) {
    tmp.WriteFile("src/a", "a");
    new cBackUpSource(tmp / "fehlt/", *dest);
    const cRunPlan plan = Preview();
    ASSERT_EQ(plan.Actions.size(), 2u);
    EXPECT_EQ(plan.Actions[1].What, cPlannedAction::Kind::Problem);
    EXPECT_EQ(plan.GroupOf(plan.Actions[1]).Source, tmp / "fehlt/");
}

TEST_F(PreviewTest, APreviewWritesNothingAnywhere) {
    tmp.WriteFile("src/a.txt", "a");
    tmp.WriteFile("src/Sub/b.txt", "b");
    test::QuietRunView view;
    {
        cRunController controller(project, view, fs, formats);
        controller.Run();  // a saved project with a protocol, a lock file and extras
    }
    tmp.WriteFile("src/a.txt", "changed");
    tmp.WriteFile("src/new.txt", "n");
    fs::remove(src + "Sub/b.txt");
    const std::string projectBefore = SerializeProject(project);
    const std::string extrasBefore = SerializeProjectExtras(project);
    const auto before = Snapshot(tmp.Path());

    const cRunPlan plan = Preview();
    EXPECT_EQ(PlanLines(plan).size(), 3u);
    EXPECT_EQ(Snapshot(tmp.Path()), before);
    EXPECT_EQ(SerializeProject(project), projectBefore);  // also the project in memory
    EXPECT_EQ(SerializeProjectExtras(project), extrasBefore);

    // A destination the run would make is not made either.
    fs::remove_all(dst);
    source->ClearCatalogue();
    const auto without = Snapshot(tmp.Path());
    EXPECT_EQ(PlanLines(Preview()).size(), 2u);
    EXPECT_EQ(Snapshot(tmp.Path()), without);
}

}  // namespace
}  // namespace trx
