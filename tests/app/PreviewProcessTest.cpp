// SPDX-License-Identifier: GPL-3.0-or-later
// The preview of the real program from the command line: what it prints, its statuses, and that it leaves
// everything under the project's folder as it was, to the byte and the nanosecond.
#include "HeadlessProgram.h"
#include "model/BackUpDestination.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "platform/FileSystem.h"
#include "platform/PosixFileSystem.h"
#include "support/TestDir.h"
#include "support/TreeSnapshot.h"

#include <gtest/gtest.h>
#include <filesystem>

namespace trx {
namespace {

using test::RunHeadless;

// A project below "p/" with two destinations, backed up once, then changed: one file changed, one new,
// one gone, and the source "leer" emptied as an unmounted disk looks. Output files stay outside "p/".
class PreviewProcess : public ::testing::Test {
protected:
    void SetUp() override {
        dir.WriteFile("p/quelle/a.txt", "aaa");
        dir.WriteFile("p/quelle/b.txt", "bb");
        dir.WriteFile("p/leer/x.txt", "x");
        cProject project;
        auto* first = new cBackUpDestination(project, dir / "p/ziel1/");
        new cBackUpSource(dir / "p/quelle/", *first);
        new cBackUpSource(dir / "p/leer/", *first);
        auto* second = new cBackUpDestination(project, dir / "p/ziel2/");
        new cBackUpSource(dir / "p/quelle/", *second);
        platform::PosixFileSystem fs;
        SaveProject(project, path, fs);
        ASSERT_EQ(RunHeadless({path, "/h", "/s"}, dir).status, 0);

        dir.WriteFile("p/quelle/a.txt", "a, neu");
        dir.SetTimes("p/quelle/a.txt", 2'000'000'000);
        dir.WriteFile("p/quelle/neu.txt", "n");
        std::filesystem::remove(dir / "p/quelle/b.txt");
        std::filesystem::remove(dir / "p/leer/x.txt");
    }

    test::TestDir dir;
    const std::string path = dir / "p/Projekt.buf";
};

TEST_F(PreviewProcess, PrintsThePlanInBothFormsAndChangesNothing) {
    const auto before = test::TreeSnapshot(dir / "p");
    const std::string q = dir / "p/quelle/", z1 = dir / "p/ziel1/", z2 = dir / "p/ziel2/";

    const test::Outcome text = RunHeadless({path, "/p", "/s", "/h"}, dir);
    EXPECT_EQ(text.status, 2);  // the emptied source is held back
    EXPECT_EQ(text.err, "");
    for (const std::string& line :
         {"Ersetzen          6 Byte  " + q + "a.txt -> " + z1 + "a.txt\n",
          "Kopieren          1 Byte  " + q + "neu.txt -> " + z2 + "neu.txt\n",
          "Löschen           2 Byte  " + z2 + "b.txt\n", std::string("Zurückgehalten  "),
          "\nZiel " + z1 +
              "\n  zu kopieren:     1 Datei, 1 Byte\n  zu ersetzen:     1 Datei, 6 Byte\n"
              "  zu löschen:      1 Eintrag\n  zurückgehalten:  1\n"}) {
        EXPECT_NE(text.out.find(line), std::string::npos) << line << "\nin:\n" << text.out;
    }

    const test::Outcome tabs = RunHeadless({path, "/t", "/f"}, dir);  // released: the copy of x.txt goes
    EXPECT_EQ(tabs.status, 0);
    for (const std::string& line :
         {"Löschen\t1\t\t" + z1 + "x.txt\t\n", "Summe\t" + z1 + "\t1\t1\t1\t6\t2\t0\t0\n",
          "Summe\t" + z2 + "\t1\t1\t1\t6\t1\t0\t0\n"}) {
        EXPECT_NE(tabs.out.find(line), std::string::npos) << line << "\nin:\n" << tabs.out;
    }
    EXPECT_EQ(test::TreeSnapshot(dir / "p"), before);

    EXPECT_EQ(RunHeadless({path, "/h", "/s", "/f"}, dir).status, 0);
    const test::Outcome nothing = RunHeadless({path, "/P"}, dir);
    EXPECT_EQ(nothing.status, 0);
    EXPECT_EQ(nothing.out.find("Kopieren"), std::string::npos) << nothing.out;
}

TEST_F(PreviewProcess, ALockedOrBrokenProjectPrintsNothingAndSaysWhy) {
    platform::PosixFileSystem fs;
    auto runUnderWay = fs.LockFile(dir / "p/.Projekt.buf.lock");
    ASSERT_TRUE(runUnderWay);
    const auto before = test::TreeSnapshot(dir / "p");
    const test::Outcome refused = RunHeadless({path, "/p"}, dir);
    EXPECT_EQ(refused.status, 2);
    EXPECT_EQ(refused.out, "");
    EXPECT_NE(refused.err.find("wird bereits von einem anderen Sicherungsvorgang gesichert"),
              std::string::npos);
    EXPECT_EQ(test::TreeSnapshot(dir / "p"), before);
    runUnderWay->reset();

    dir.WriteFile("p/Kaputt.buf", "kein Projekt");
    const test::Outcome broken = RunHeadless({dir / "p/Kaputt.buf", "/t"}, dir);
    EXPECT_EQ(broken.status, 1);
    EXPECT_EQ(broken.out, "");
    EXPECT_NE(broken.err.find("kann nicht geladen werden"), std::string::npos) << broken.err;
}

}  // namespace
}  // namespace trx
