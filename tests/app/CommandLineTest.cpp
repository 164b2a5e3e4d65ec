// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include <gtest/gtest.h>
#include <set>

namespace trx {
namespace {

// Files that "exist" for these tests.
const std::set<std::string> kFiles = {"Proj.buf", "proj.BuF", "Proj.txt", "/home/a b/Projekt.buf",
                                      "/ordner.buf/datei"};

cStartOptions Parse(std::vector<std::string> args) {
    args.insert(args.begin(), "trxmain");
    return ParseCommandLine(args, [](const std::string& path) { return kFiles.count(path) != 0; });
}

TEST(CommandLine, WithoutAValidProjectFileEverythingIsIgnored) {
    for (const auto& args : std::vector<std::vector<std::string>>{
             {}, {"/s"}, {"Proj.txt", "/s"}, {"Fehlt.buf", "/h"}, {"/ordner.buf/datei", "/s"}}) {
        const cStartOptions start = Parse(args);
        EXPECT_FALSE(start.Unattended);
        EXPECT_FALSE(start.Run.Silent);
        EXPECT_TRUE(start.ShowMainWindow);
        EXPECT_EQ(start.Run.Action, AfterFinishing::None);
        EXPECT_TRUE(start.ProjectPath.empty());
        EXPECT_TRUE(start.OpenPath.empty());
    }
}

TEST(CommandLine, AProjectAloneIsAShownRunWithoutAction) {
    const cStartOptions start = Parse({"Proj.buf"});
    EXPECT_TRUE(start.Unattended);
    EXPECT_EQ(start.ProjectPath, "Proj.buf");
    EXPECT_FALSE(start.Run.Silent);
    EXPECT_TRUE(start.ShowMainWindow);
    EXPECT_EQ(start.Run.Action, AfterFinishing::None);
}

TEST(CommandLine, ExtensionAndSwitchesIgnoreCase) {
    const cStartOptions start = Parse({"proj.BuF", "/S"});
    EXPECT_TRUE(start.Unattended);
    EXPECT_TRUE(start.Run.Silent);
    EXPECT_TRUE(Parse({"/home/a b/Projekt.buf", "/H", "/s"}).Unattended);
    EXPECT_FALSE(Parse({"/home/a b/Projekt.buf", "/H"}).ShowMainWindow);
}

TEST(CommandLine, SwitchesInAnyOrderAndUnknownOnesIgnored) {
    const cStartOptions start = Parse({"Proj.buf", "/x", "/h", "egal", "/s"});
    EXPECT_TRUE(start.Run.Silent);
    EXPECT_FALSE(start.ShowMainWindow);
    EXPECT_EQ(start.Run.Action, AfterFinishing::None);
    EXPECT_FALSE(start.Run.ReleaseHeldBack);  // never without being asked for
    EXPECT_TRUE(Parse({"Proj.buf", "/h", "/F"}).Run.ReleaseHeldBack);
}

TEST(CommandLine, AfterFinishingAction) {
    EXPECT_EQ(Parse({"Proj.buf", "/a"}).Run.Action, AfterFinishing::ShutDown);

    const cStartOptions command = Parse({"Proj.buf", "/a", "\"/opt/Tool/tool\" /x \"a b\""});
    EXPECT_EQ(command.Run.Action, AfterFinishing::RunCommand);
    EXPECT_EQ(command.Run.Command, "\"/opt/Tool/tool\" /x \"a b\"");

    // The argument after "/a" is also looked at as a switch.
    const cStartOptions silentCommand = Parse({"Proj.buf", "/h", "/a", "/s"});
    EXPECT_EQ(silentCommand.Run.Action, AfterFinishing::RunCommand);
    EXPECT_EQ(silentCommand.Run.Command, "/s");
    EXPECT_TRUE(silentCommand.Run.Silent);

    // Only the first "/a" counts; an empty command still selects the command action.
    const cStartOptions twice = Parse({"Proj.buf", "/A", "", "/a"});
    EXPECT_EQ(twice.Run.Action, AfterFinishing::RunCommand);
    EXPECT_EQ(twice.Run.Command, "");
}

TEST(CommandLine, OpenSwitchStartsInteractivelyWithTheProject) {
    // Switches after it are no backup switches here; the file is handed on as given, even one that does
    // not exist, so that the main window can say what is wrong with it.
    for (const std::string file : {"Proj.buf", "Fehlt.buf", "Proj.txt", "/home/a b/Projekt.buf"}) {
        const cStartOptions start = Parse({"--open", file, "/s", "/h", "/a"});
        EXPECT_FALSE(start.Unattended) << file;
        EXPECT_EQ(start.OpenPath, file);
        EXPECT_TRUE(start.ProjectPath.empty());
        EXPECT_FALSE(start.Run.Silent);
        EXPECT_TRUE(start.ShowMainWindow);
        EXPECT_EQ(start.Run.Action, AfterFinishing::None);
    }
    // The launcher's "%f" expands to nothing when the menu entry is started without a file.
    EXPECT_TRUE(Parse({"--open"}).OpenPath.empty());
    EXPECT_FALSE(Parse({"--open"}).Unattended);
}

TEST(CommandLine, OpenSwitchChangesNoOtherCommandLine) {
    // Only as argument 1 and only in this spelling: everywhere else it is an ordinary argument.
    const cStartOptions run = Parse({"Proj.buf", "--open", "proj.BuF"});
    EXPECT_TRUE(run.Unattended);
    EXPECT_EQ(run.ProjectPath, "Proj.buf");
    EXPECT_TRUE(run.OpenPath.empty());

    const cStartOptions command = Parse({"Proj.buf", "/a", "--open"});
    EXPECT_EQ(command.Run.Action, AfterFinishing::RunCommand);
    EXPECT_EQ(command.Run.Command, "--open");

    EXPECT_TRUE(Parse({"/s", "--open", "Proj.buf"}).OpenPath.empty());
    EXPECT_TRUE(Parse({"--OPEN", "Proj.buf"}).OpenPath.empty());
    EXPECT_TRUE(Parse({"--open=Proj.buf"}).OpenPath.empty());
}

TEST(CommandLine, PreviewSwitches) {
    const struct {
        std::vector<std::string> args;
        bool preview, tabs, release;
    } kCases[] = {
        {{"Proj.buf"}, false, false, false},
        {{"Proj.buf", "/p"}, true, false, false},
        {{"Proj.buf", "/h", "/P", "/s", "/a"}, true, false, false},
        {{"Proj.buf", "/t"}, true, true, false},  // a switch meant for a preview never starts a run
        {{"Proj.buf", "/p", "/T", "/f"}, true, true, true},
        {{"Proj.txt", "/p"}, false, false, false},
        {{"/p", "Proj.buf"}, false, false, false},
    };
    for (const auto& c : kCases) {
        const cStartOptions start = Parse(c.args);
        EXPECT_EQ(start.Preview, c.preview) << c.args.back();
        EXPECT_EQ(start.PreviewTabs, c.tabs) << c.args.back();
        EXPECT_EQ(start.Run.ReleaseHeldBack, c.release) << c.args.back();
    }
}

TEST(CommandLine, SwitchLookupStartsAtTheSecondArgument) {
    EXPECT_EQ(FindSwitch({"trxmain", "/s", "/s"}, "/s"), 2u);
    EXPECT_EQ(FindSwitch({"trxmain", "/s"}, "/s"), 0u);
    EXPECT_EQ(FindSwitch({"trxmain", "p.buf", "x", "/A"}, "/a"), 3u);
}

TEST(CommandLine, ProjectExtensionIsTheLastComponents) {
    EXPECT_TRUE(HasProjectExtension("/a.b/Daten.BUF"));
    EXPECT_TRUE(HasProjectExtension("Daten.buf"));
    EXPECT_FALSE(HasProjectExtension("/a.buf/Daten"));
    EXPECT_FALSE(HasProjectExtension("Daten.buf.bak"));
    EXPECT_FALSE(HasProjectExtension("Daten.bu"));
}

}  // namespace
}  // namespace trx
