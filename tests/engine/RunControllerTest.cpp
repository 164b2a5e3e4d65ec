// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/DefaultTextFormats.h"
#include "engine/RunController.h"
#include "engine/RunView.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"
#include "support/TestDir.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace trx {
namespace {

constexpr std::uint64_t kBar = 1200;  // a bar width that divides into thirds and quarters
constexpr std::uint64_t kFileBar = 200;

// Records what the controller shows, one string per call, and lets a test act inside a call.
class RecordingView : public cRunView {
public:
    std::vector<std::string> Calls;
    std::vector<std::uint64_t> OverallAtSourceStart;  // bar position at each ShowSource after the first
    std::uint64_t Overall = 0;
    std::string Elapsed;
    std::string Remaining;
    std::function<void(const std::string& call)> OnCall;

    void ShowTimes(const std::string& elapsed, const std::string& remaining) override {
        Elapsed = elapsed;
        Remaining = remaining;
        Note("times " + elapsed + " " + remaining);
    }
    void StartTimeDisplay() override { Note("timer"); }
    void ShowDestination(const cBackUpDestination& d) override { Note("destination " + d.Path); }
    void ShowSource(const cBackUpSource& s) override {
        sourceShown_ = true;
        Note("source " + s.Path);
    }
    void ShowOverallProgress(std::uint64_t position) override {
        if (sourceShown_ && !Calls.empty() && Calls.back().rfind("source ", 0) == 0) {
            OverallAtSourceStart.push_back(position);
        }
        Overall = position;
        Note("overall " + std::to_string(position));
    }
    void ShowSubDirectory(const std::string& path) override { Note("dir " + path); }
    void ShowFilesCompared(int count) override { Note("compared " + std::to_string(count)); }
    void ShowFileStarted(const std::string& name) override { Note("file " + name); }
    void ShowFileProgress(std::uint64_t position) override { Note("filebar " + std::to_string(position)); }
    void ShowFileCopied(int count) override { Note("copied " + std::to_string(count)); }
    void ShowEndOfRun(const cRunResult& result) override {
        Note(std::string("end ") + (result.Cancelled ? "cancelled" : "finished") +
             (result.ProtocolOpened ? " protocol" : "") +
             (result.ProblemCount > 0 ? " problems " + std::to_string(result.ProblemCount) : "") +
             (result.SaveError.empty() ? "" : " unsaved"));
    }
    void ReportRunRefused(const std::string& message) override { Note("refused " + message); }
    void ReportSaveFailure(const std::string& message) override { Note("save failed " + message); }
    void ReportRunMessage(const std::string& text) override { Note("message " + text); }
    void CarryOutAfterFinishing() override { Note("action"); }
    void CloseWindow() override { Note("close"); }

    bool Has(const std::string& call) const {
        return std::find(Calls.begin(), Calls.end(), call) != Calls.end();
    }
    // Index of the first call starting with `prefix`; -1 when there is none.
    int IndexOf(const std::string& prefix) const {
        for (std::size_t i = 0; i < Calls.size(); ++i) {
            if (Calls[i].rfind(prefix, 0) == 0) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

private:
    void Note(const std::string& call) {
        Calls.push_back(call);
        if (OnCall) {
            OnCall(call);
        }
    }
    bool sourceShown_ = false;
};

class RunControllerTest : public ::testing::Test {
protected:
    RunControllerTest() { project.Reset(); }

    cBackUpDestination* AddDestination(const std::string& name) {
        return new cBackUpDestination(project, tmp / (name + "/"));
    }
    cBackUpSource* AddSource(cBackUpDestination* destination, const std::string& name, std::size_t bytes) {
        if (bytes > 0) {
            tmp.WriteFile(name + "/data.bin", std::string(bytes, 'x'));
        } else {
            tmp.MakeDir(name);
        }
        return new cBackUpSource(tmp / (name + "/"), *destination);
    }
    cRunResult PrepareAndRun() {
        controller.PrepareTotals(kBar, kFileBar);
        return controller.Run();
    }
    std::string Protocol() const { return tmp.ReadFile("p_Protocol.txt"); }

    test::TestDir tmp;
    platform::PosixFileSystem fs;
    cDefaultTextFormats formats;
    cProject project;
    RecordingView view;
    std::uint32_t ticks = 5000;
    cRunController controller{project, view, fs, formats, [this] { return ticks; }};
};

TEST_F(RunControllerTest, CountWeightingPlacesTheBarAtThirdsAndSizeWeightingAtTheByteShares) {
    cBackUpDestination* destination = AddDestination("dst");
    AddSource(destination, "one", 1 << 20);
    AddSource(destination, "two", 2 << 20);
    AddSource(destination, "three", 1 << 20);

    // Never run before: no byte totals, every source counts 1000.
    const cRunResult first = PrepareAndRun();
    EXPECT_FALSE(controller.SizeWeighting());
    EXPECT_EQ(controller.ProgressTotal(), 3000u);
    EXPECT_EQ(view.OverallAtSourceStart, (std::vector<std::uint64_t>{kBar / 3, 2 * kBar / 3}));
    EXPECT_FALSE(first.Cancelled);

    // The byte totals of that run weigh the next one: 4 MiB in all, the second source starts at a quarter.
    view.OverallAtSourceStart.clear();
    PrepareAndRun();
    EXPECT_TRUE(controller.SizeWeighting());
    EXPECT_EQ(controller.ProgressTotal(), 4u << 20);
    EXPECT_EQ(view.OverallAtSourceStart, (std::vector<std::uint64_t>{kBar / 4, 3 * kBar / 4}));
    EXPECT_EQ(controller.ProgressDone(), 3u << 20);
}

TEST_F(RunControllerTest, OneSourceWithoutByteTotalOrADestinationWithoutSourcesMeansCountWeighting) {
    cBackUpDestination* first = AddDestination("d1");
    cBackUpSource* a = AddSource(first, "a", 0);
    cBackUpSource* b = AddSource(first, "b", 0);
    cBackUpDestination* second = AddDestination("d2");
    cBackUpSource* c = AddSource(second, "c", 0);
    a->TotalSize = 10;
    b->TotalSize = 20;
    c->TotalSize = 30;
    controller.PrepareTotals(kBar, kFileBar);
    EXPECT_TRUE(controller.SizeWeighting());
    EXPECT_EQ(controller.ProgressTotal(), 60u);

    b->TotalSize = 0;  // re-catalogued
    controller.PrepareTotals(kBar, kFileBar);
    EXPECT_FALSE(controller.SizeWeighting());
    EXPECT_EQ(controller.ProgressTotal(), 3000u);
    EXPECT_EQ(controller.SourceWeight(), 1000u);

    b->TotalSize = 20;
    AddDestination("empty");
    controller.PrepareTotals(kBar, kFileBar);
    EXPECT_FALSE(controller.SizeWeighting());
    EXPECT_EQ(controller.ProgressTotal(), 3000u);
}

TEST_F(RunControllerTest, ProgressTakesEveryProductBeforeItsDivisionIn64Bits) {
    cBackUpDestination* destination = AddDestination("dst");
    cBackUpSource* big = AddSource(destination, "big", 0);
    cBackUpSource* small = AddSource(destination, "small", 0);
    // Sizes whose product with the bar width needs more than 32 bits.
    big->TotalSize = 6'000'000'000ull;
    small->TotalSize = 3'000'000'000ull;
    controller.PrepareTotals(kBar, kFileBar);
    ASSERT_TRUE(controller.SizeWeighting());
    // The engine recounts a source's bytes from 0 once it has announced it.
    controller.SourceStart(*destination, nullptr, *big);
    big->TotalSize = 0;
    controller.Progress(*destination, 1, 3);
    EXPECT_EQ(view.Overall, 2'000'000'000ull * kBar / 9'000'000'000ull);  // 266
    controller.SourceStart(*destination, big, *small);
    small->TotalSize = 0;
    EXPECT_EQ(view.Overall, 800u);
    controller.Progress(*destination, 2, 3);
    EXPECT_EQ(view.Overall, (6'000'000'000ull + 2'000'000'000ull) * kBar / 9'000'000'000ull);

    // Count weighting: 1000 * 1 / 3 is truncated to 333 before it is scaled to the bar.
    big->TotalSize = 0;
    controller.PrepareTotals(kBar, kFileBar);
    controller.SourceStart(*destination, nullptr, *big);
    controller.Progress(*destination, 1, 3);
    EXPECT_EQ(view.Overall, 333u * kBar / 2000u);
}

TEST_F(RunControllerTest, FileReportsStartMoveTheFileBarAndCountACompleteFileOnce) {
    cBackUpDestination* destination = AddDestination("dst");
    const std::string name = "Bericht.pdf";
    controller.FileProgress(*destination, 0, 0, &name);
    controller.FileProgress(*destination, 0, 0, nullptr);  // an empty file completes at its first report
    EXPECT_EQ(controller.FilesCopied(), 1);
    EXPECT_TRUE(view.Has("copied 1"));

    controller.PrepareTotals(kBar, kFileBar);
    controller.FileProgress(*destination, 0, 3000, &name);
    controller.FileProgress(*destination, 1000, 3000, nullptr);
    EXPECT_EQ(view.Calls.back(), "filebar 66");
    controller.FileProgress(*destination, 3000, 3000, nullptr);
    controller.FileProgress(*destination, 4000, 3000, nullptr);  // the file grew while it was copied
    EXPECT_EQ(controller.FilesCopied(), 2);
    EXPECT_EQ(view.Calls.back(), "copied 2");
}

TEST_F(RunControllerTest, TimesShowADashUntilASourceIsDoneAndSurviveTheTickCounterWrap) {
    cBackUpDestination* destination = AddDestination("dst");
    cBackUpSource* a = AddSource(destination, "a", 0);
    cBackUpSource* b = AddSource(destination, "b", 0);
    cBackUpSource* c = AddSource(destination, "c", 0);
    controller.PrepareTotals(kBar, kFileBar);
    ticks = 0xFFFFF000u;  // 4096 ms before the counter wraps
    view.OnCall = [&](const std::string& call) {
        if (call == "timer") {
            controller.SourceStart(*destination, nullptr, *a);
            ticks += 2000;
            controller.ShowTimes();
            EXPECT_EQ(view.Remaining, "-");
            controller.SourceStart(*destination, a, *b);
            ticks += 8000;  // wraps
            controller.ShowTimes();
            EXPECT_EQ(controller.Elapsed(), 10000u);
            EXPECT_EQ(view.Elapsed, "00:00:10");
            // A third done after 10 s: twice that again.
            EXPECT_EQ(view.Remaining, "00:00:20");
            controller.Cancel();
        }
    };
    controller.Run();
    (void)c;
    EXPECT_EQ(view.Calls.front(), "times 00:00:00 -");
}

TEST_F(RunControllerTest, ABigFileMovesTheBarWhileItIsCopiedByCountAndBySize) {
    cBackUpDestination* destination = AddDestination("dst");
    AddSource(destination, "small", 10);
    AddSource(destination, "big", 0);
    tmp.WriteFile("big/gross.bin", std::string(3 * (4 << 20), 'g'));  // more than one copy chunk
    std::vector<std::uint64_t> fromTheBigFile;  // the overall bar from the start of its copy to the end
    view.OnCall = [&](const std::string& call) {
        if (call == "file gross.bin") {
            fromTheBigFile = {view.Overall};
        } else if (!fromTheBigFile.empty() && call.rfind("overall ", 0) == 0) {
            fromTheBigFile.push_back(view.Overall);
        }
    };
    // The bar moves on with every chunk, never back; how many chunks there are depends on the speed.
    const auto expectMoving = [&](std::uint64_t from, std::uint64_t before) {
        ASSERT_GE(fromTheBigFile.size(), 3u);
        EXPECT_EQ(fromTheBigFile.front(), from);
        EXPECT_TRUE(std::is_sorted(fromTheBigFile.begin(), fromTheBigFile.end()));
        EXPECT_GT(fromTheBigFile[1], from);
        EXPECT_LE(fromTheBigFile[fromTheBigFile.size() - 2], before);
        EXPECT_EQ(fromTheBigFile.back(), kBar);
    };
    // Count weighting: the last source starts at half the bar; its one file moves the bar on with every
    // chunk (over half of the source's share, up to 900: the walk has not yet said that it is the only
    // entry).
    PrepareAndRun();
    ASSERT_FALSE(controller.SizeWeighting());
    expectMoving(600, 900);

    // Size weighting: the file is nearly all of the bytes, and the bar follows them.
    std::remove((tmp / "dst/gross.bin").c_str());
    PrepareAndRun();
    ASSERT_TRUE(controller.SizeWeighting());
    expectMoving(0, kBar);
}

TEST_F(RunControllerTest, TheEstimateWaitsForAFewPerCentAndCountsWhatIsDoneWithinASource) {
    cBackUpDestination* destination = AddDestination("dst");
    cBackUpSource* a = AddSource(destination, "a", 0);
    cBackUpSource* b = AddSource(destination, "b", 0);
    a->TotalSize = 100;
    b->TotalSize = 9900;
    controller.PrepareTotals(kBar, kFileBar);
    ASSERT_TRUE(controller.SizeWeighting());
    ticks = 0;
    controller.SourceStart(*destination, nullptr, *a);
    a->TotalSize = 100;  // recounted
    controller.Progress(*destination, 1, 1);
    controller.SourceStart(*destination, a, *b);
    b->TotalSize = 0;
    ticks = 2000;
    // 1 % done: the time so far is mostly the start of the run; 99 times it would be no estimate.
    controller.ShowTimes();
    EXPECT_EQ(view.Remaining, "-");
    b->TotalSize = 2400;
    controller.FileCompared(*destination, *b);
    controller.ShowTimes();
    EXPECT_EQ(view.Remaining, "00:00:06");  // a quarter done in 2 s
}

TEST_F(RunControllerTest, TimeTextIsATimeOfDayThatWrapsAfter24Hours) {
    EXPECT_EQ(TimeText(0, formats), "00:00:00");
    EXPECT_EQ(TimeText(197'999, formats), "00:03:17");
    EXPECT_EQ(TimeText(25ull * 3'600'000, formats), "01:00:00");
}

TEST_F(RunControllerTest, ASavedProjectGetsItsProtocolAndIsRewrittenWithTheNewCatalogues) {
    cBackUpDestination* destination = AddDestination("dst");
    AddSource(destination, "src", 100);
    project.ProjectPath = tmp / "p.buf";
    SaveProject(project, project.ProjectPath, fs);
    view.OnCall = [&](const std::string& call) {
        if (call == "action") {
            // The protocol is complete and the project written before the action runs.
            EXPECT_NE(Protocol().find("Der Sicherungsvorgang ist beendet.\r\n"), std::string::npos);
            cProject reloaded;
            LoadProject(reloaded, project.ProjectPath, fs);
            ASSERT_EQ(reloaded.Destinations.Count(), 1);
            EXPECT_EQ(reloaded.Destinations[0]->Sources[0]->TotalSize, 100u);
            ASSERT_EQ(reloaded.Destinations[0]->Sources[0]->Catalogue.Files.size(), 1u);
            EXPECT_EQ(reloaded.Destinations[0]->Sources[0]->Catalogue.Files[0], "DATA.BIN");
        }
    };
    const cRunResult result = PrepareAndRun();
    EXPECT_TRUE(result.ProtocolOpened);
    EXPECT_EQ(result.ProblemCount, 0);
    EXPECT_EQ(result.SaveError, "");
    EXPECT_TRUE(view.Has("action"));
    EXPECT_NE(Protocol().find(" Der Sicherungsvorgang hat begonnen.\r\n"), std::string::npos);
    EXPECT_TRUE(view.Has("end finished protocol"));
    EXPECT_LT(view.IndexOf("timer"), view.IndexOf("destination "));
    EXPECT_LT(view.IndexOf("end "), view.IndexOf("action"));
    EXPECT_EQ(view.IndexOf("close"), -1);
}

TEST_F(RunControllerTest, ACancelledRunIsNotSavedButItsActionStillRuns) {
    cBackUpDestination* destination = AddDestination("dst");
    AddSource(destination, "src", 5 << 20);  // more than one copy chunk
    AddSource(destination, "more", 100);
    project.ProjectPath = tmp / "p.buf";
    SaveProject(project, project.ProjectPath, fs);
    const std::string before = tmp.ReadFile("p.buf");
    view.OnCall = [&](const std::string& call) {
        if (call.rfind("file ", 0) == 0) {
            controller.Cancel();
        }
    };
    const cRunResult result = PrepareAndRun();
    EXPECT_TRUE(result.Cancelled);
    EXPECT_EQ(tmp.ReadFile("p.buf"), before);
    EXPECT_NE(Protocol().find("Der Sicherungsvorgang wurde abgebrochen.\r\n"), std::string::npos);
    EXPECT_NE(view.IndexOf("end cancelled protocol"), -1);  // the interrupted copy counts as a problem
    EXPECT_TRUE(view.Has("action"));
    EXPECT_FALSE(tmp.Exists("dst/data.bin"));
    EXPECT_EQ(view.IndexOf("source " + tmp / "more/"), -1);
}

TEST_F(RunControllerTest, AnUnsavedProjectRunsWithoutProtocolAndIsNotWritten) {
    cBackUpDestination* destination = AddDestination("dst");
    AddSource(destination, "src", 10);
    const cRunResult result = PrepareAndRun();
    EXPECT_FALSE(result.ProtocolOpened);
    EXPECT_TRUE(view.Has("end finished"));
    EXPECT_TRUE(tmp.Exists("dst/data.bin"));
    EXPECT_FALSE(tmp.Exists("_Protocol.txt"));
}

TEST_F(RunControllerTest, ASilentRunShowsOnlyItsStartTimesAndClosesTheWindowAfterTheAction) {
    cBackUpDestination* destination = AddDestination("dst");
    AddSource(destination, "src", 10);
    cRunOptions silent;
    silent.Silent = true;
    controller.SetOptions(silent);
    PrepareAndRun();
    EXPECT_EQ(view.IndexOf("timer"), -1);
    EXPECT_EQ(view.IndexOf("end "), -1);
    EXPECT_EQ(view.Calls.back(), "close");
    EXPECT_EQ(view.Calls[view.Calls.size() - 2], "action");
}

TEST_F(RunControllerTest, ProblemsAndAFailedSaveAreInTheResult) {
    cBackUpDestination* destination = AddDestination("dst");
    AddSource(destination, "src", 10);
    new cBackUpSource(tmp / "missing/", *destination);
    // The project's folder does not exist: neither protocol nor project can be written.
    project.ProjectPath = tmp / "gone/p.buf";
    const cRunResult result = PrepareAndRun();
    EXPECT_EQ(result.ProblemCount, 1);
    EXPECT_EQ(result.SaveError, "Cannot create file " + project.ProjectPath);
    EXPECT_TRUE(view.Has("save failed Cannot create file " + project.ProjectPath));
    EXPECT_LT(view.IndexOf("save failed"), view.IndexOf("action"));

    // The count starts afresh with every run.
    project.Destinations[0]->Sources[1]->Path = tmp / "src/";
    project.ProjectPath.clear();
    EXPECT_EQ(PrepareAndRun().ProblemCount, 0);
}

}  // namespace
}  // namespace trx
