// SPDX-License-Identifier: GPL-3.0-or-later
#include "RunFixture.h"

#include <filesystem>

namespace trx {
namespace {

using test::RunFixture;

class DestinationRunTest : public RunFixture {};

TEST_F(DestinationRunTest, SourcesAreReportedInOrderAndAMissingOneIsSkipped) {
    const std::string missing = tmp / "missing/";
    const std::string third = tmp.MakeDir("src3");
    new cBackUpSource(missing, *dest);
    new cBackUpSource(third, *dest);
    tmp.WriteFile("src/a", "aaa");
    std::vector<std::string> started;
    dest->OnSourceStart = [&](cBackUpDestination&, cBackUpSource* previous, cBackUpSource& current) {
        started.push_back((previous ? previous->Path : "-") + ">" + current.Path);
    };
    const auto lines = Run();
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "Die Datei \"" + src + "a\" wurde erfolgreich nach \"" + dst + "\" kopiert. (3 Byte)",
                         "Das Verzeichnis \"" + src + "\" wurde gesichert. (3 Byte)",
                         "Auf das Verzeichnis \"" + missing + "\" kann nicht zugegriffen werden.",
                         "Das Verzeichnis \"" + third + "\" wurde gesichert. (0 Byte)"}));
    EXPECT_EQ(started, (std::vector<std::string>{"->" + src, src + ">" + missing, missing + ">" + third}));
    EXPECT_TRUE(dest->Sources[1]->Failed);
    EXPECT_EQ(run.ProblemCount, 1);
}

TEST_F(DestinationRunTest, ADestinationOnlyOneLevelAwayIsCreatedOthersAreReported) {
    tmp.WriteFile("src/a", "a");
    Run();
    EXPECT_TRUE(tmp.Exists("dst/a"));

    auto* far = new cBackUpDestination(project, tmp / "no/such/dst/");
    new cBackUpSource(src, *far);
    bool called = false;
    far->OnSourceStart = [&](cBackUpDestination&, cBackUpSource*, cBackUpSource&) { called = true; };
    const auto lines = Run(far);
    EXPECT_EQ(lines, (std::vector<std::string>{"Einige Daten können nicht gesichert werden, da auf das "
                                               "Zielverzeichnis \"" + tmp / "no/such/dst/" +
                                               "\" nicht zugegriffen werden kann."}));
    EXPECT_FALSE(called);
}

TEST_F(DestinationRunTest, AnInvalidMaskFailsItsSourceOnly) {
    const std::string second = tmp.MakeDir("src2");
    auto* masked = new cBackUpOptions;
    masked->Filters[0].Mask = "[abc";
    source->SetOptions(masked);
    new cBackUpSource(second, *dest);
    tmp.WriteFile("src/a.txt", "a");
    tmp.WriteFile("src2/b.txt", "b");
    const auto lines = Run();
    EXPECT_TRUE(Contains(lines, "Beim Sichern des Verzeichnisses \"" + src + "\" ist ein Fehler aufgetreten."));
    EXPECT_TRUE(source->Failed);
    EXPECT_TRUE(tmp.Exists("dst/b.txt"));
}

TEST_F(DestinationRunTest, CancellingInTheSecondSourceStopsTheRestAndDeletesNothing) {
    const std::string second = tmp.MakeDir("src2");
    const std::string third = tmp.MakeDir("src3");
    new cBackUpSource(second, *dest);
    new cBackUpSource(third, *dest);
    tmp.WriteFile("src/one", "1");
    tmp.WriteFile("src2/two", "2");
    tmp.WriteFile("src3/three", "3");
    tmp.WriteFile("dst/stale", "s");
    source->TotalSize = 1;
    source->Catalogue.Files = {"STALE"};
    dest->OnFileCompared = [&](cBackUpDestination&, cBackUpSource& current) {
        if (current.Path == second) {
            run.CancelRequested = true;
        }
    };
    const auto lines = Run();
    EXPECT_TRUE(Contains(lines, "Das Verzeichnis \"" + src + "\" wurde gesichert. (1 Byte)"));
    EXPECT_EQ(lines.back(), "Das Verzeichnis \"" + second +
                                "\" konnte nicht vollständig gesichert werden, da der Vorgang vom Benutzer "
                                "abgebrochen wurde.");
    EXPECT_FALSE(tmp.Exists("dst/three"));
    EXPECT_TRUE(tmp.Exists("dst/stale"));
}

TEST_F(DestinationRunTest, TheDefaultLevelDecidesRunLinesAndTheSourceLevelItsFileLines) {
    project.DefaultOptions.Protocol = 0;
    auto* detailed = new cBackUpOptions;
    detailed->Protocol = 2;
    source->SetOptions(detailed);
    tmp.WriteFile("src/a", "a");
    const auto lines = Run();
    EXPECT_EQ(lines, (std::vector<std::string>{"Die Datei \"" + src + "a\" wurde erfolgreich nach \"" + dst +
                                               "\" kopiert. (1 Byte)"}));
}

TEST_F(DestinationRunTest, TransferredDirectoryNamesBuildTheTargetPath) {
    auto* names = new cBackUpOptions;
    names->TransferFlags = 0x01 | (2 << 2);  // the last two directory names
    source->SetOptions(names);
    tmp.WriteFile("src/a", "a");
    Run();
    const std::string leaf = std::filesystem::path(tmp.Path()).parent_path().filename().string();
    EXPECT_EQ(source->TargetSubPath, leaf + "/src/");
    EXPECT_TRUE(tmp.Exists("dst/" + leaf + "/src/a"));
}

}  // namespace
}  // namespace trx
