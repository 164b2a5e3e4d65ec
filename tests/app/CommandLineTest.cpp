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
        EXPECT_FALSE(start.Silent);
        EXPECT_TRUE(start.ShowMainWindow);
        EXPECT_EQ(start.Action, AfterFinishing::None);
        EXPECT_TRUE(start.ProjectPath.empty());
    }
}

TEST(CommandLine, AProjectAloneIsAShownRunWithoutAction) {
    const cStartOptions start = Parse({"Proj.buf"});
    EXPECT_TRUE(start.Unattended);
    EXPECT_EQ(start.ProjectPath, "Proj.buf");
    EXPECT_FALSE(start.Silent);
    EXPECT_TRUE(start.ShowMainWindow);
    EXPECT_EQ(start.Action, AfterFinishing::None);
}

TEST(CommandLine, ExtensionAndSwitchesIgnoreCase) {
    const cStartOptions start = Parse({"proj.BuF", "/S"});
    EXPECT_TRUE(start.Unattended);
    EXPECT_TRUE(start.Silent);
    EXPECT_TRUE(Parse({"/home/a b/Projekt.buf", "/H", "/s"}).Unattended);
    EXPECT_FALSE(Parse({"/home/a b/Projekt.buf", "/H"}).ShowMainWindow);
}

TEST(CommandLine, SwitchesInAnyOrderAndUnknownOnesIgnored) {
    const cStartOptions start = Parse({"Proj.buf", "/x", "/h", "egal", "/s"});
    EXPECT_TRUE(start.Silent);
    EXPECT_FALSE(start.ShowMainWindow);
    EXPECT_EQ(start.Action, AfterFinishing::None);
}

TEST(CommandLine, AfterFinishingAction) {
    EXPECT_EQ(Parse({"Proj.buf", "/a"}).Action, AfterFinishing::ShutDown);

    const cStartOptions command = Parse({"Proj.buf", "/a", "\"/opt/Tool/tool\" /x \"a b\""});
    EXPECT_EQ(command.Action, AfterFinishing::RunCommand);
    EXPECT_EQ(command.Command, "\"/opt/Tool/tool\" /x \"a b\"");

    // The argument after "/a" is also looked at as a switch.
    const cStartOptions silentCommand = Parse({"Proj.buf", "/h", "/a", "/s"});
    EXPECT_EQ(silentCommand.Action, AfterFinishing::RunCommand);
    EXPECT_EQ(silentCommand.Command, "/s");
    EXPECT_TRUE(silentCommand.Silent);

    // Only the first "/a" counts; an empty command still selects the command action.
    const cStartOptions twice = Parse({"Proj.buf", "/A", "", "/a"});
    EXPECT_EQ(twice.Action, AfterFinishing::RunCommand);
    EXPECT_EQ(twice.Command, "");
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
