// SPDX-License-Identifier: GPL-3.0-or-later
// "--open FILE": the main window of an interactive start loads the project it is given.
#include "app/OpenAtStart.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"
#include "support/TestDir.h"
#include "ui/main/MainWindowTestSupport.h"
#include "ui/main/TForm1.h"
#include "ui/main/UserDialogs.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <cstdlib>

#include <QApplication>
#include <QStringList>

namespace trx {
namespace {

// Records the window's error messages instead of showing them modally.
class RecordedDialogs : public cUserDialogs {
public:
    void ShowError(QWidget*, const QString& message) override { Errors.append(message); }
    QStringList Errors;
};

class OpenAtStart : public ::testing::Test {
protected:
    OpenAtStart() : app_(argc_, argv_) {}

    // A saved project with one destination and one source.
    void SaveExampleProject(const std::string& path) {
        cProject saved;
        auto* destination = new cBackUpDestination(saved, dir_ / "ziel/");
        new cBackUpSource(dir_.MakeDir("quelle"), *destination);
        platform::PosixFileSystem fs;
        SaveProject(saved, path, fs);
    }

    int argc_ = 1;
    char program_[8] = "trxmain";
    char* argv_[2] = {program_, nullptr};
    QApplication app_;
    test::TestDir dir_;
    cProject project_;
    test::StartServices services_;
    RecordedDialogs dialogs_;
};

TEST_F(OpenAtStart, ARelativePathIsOpenedFromTheCurrentFolder) {
    SaveExampleProject(dir_ / "Täglich.buf");
    TForm1 window(project_, services_.MainWindow(dialogs_));
    window.show();

    char* previous = ::getcwd(nullptr, 0);
    ASSERT_EQ(::chdir(dir_.Path().c_str()), 0);
    OpenProjectAtStart(window, "Täglich.buf");
    ASSERT_EQ(::chdir(previous), 0);
    std::free(previous);

    // The caption and the next save name the file by its full path.
    EXPECT_EQ(project_.ProjectPath, dir_ / "Täglich.buf");
    EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Tresorix - [" + (dir_ / "Täglich.buf") + "]"));
    ASSERT_EQ(project_.Destinations.Count(), 1);
    EXPECT_EQ(project_.Destinations[0]->Path, dir_ / "ziel/");
    EXPECT_TRUE(dialogs_.Errors.isEmpty());
}

TEST_F(OpenAtStart, WithoutAFileTheNewProjectStays) {
    TForm1 window(project_, services_.MainWindow(dialogs_));
    window.show();
    OpenProjectAtStart(window, "");
    EXPECT_TRUE(project_.ProjectPath.empty());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tresorix"));
    EXPECT_EQ(project_.Destinations.Count(), 0);
}

TEST_F(OpenAtStart, AProjectThatCannotBeLoadedIsReportedAndTheWindowStays) {
    dir_.WriteFile("kaputt.buf", "\x05 kein Projekt");
    TForm1 window(project_, services_.MainWindow(dialogs_));
    window.show();
    OpenProjectAtStart(window, dir_ / "kaputt.buf");
    OpenProjectAtStart(window, dir_ / "fehlt.buf");
    const QString broken = QString::fromUtf8(dir_ / "kaputt.buf");
    const QString missing = QString::fromUtf8(dir_ / "fehlt.buf");
    EXPECT_EQ(
        dialogs_.Errors,
        QStringList(
            {QStringLiteral("Das Projekt »%1« kann nicht geladen werden: Invalid property value").arg(broken),
             QStringLiteral("Das Projekt »%1« kann nicht geladen werden: Cannot open file %1")
                 .arg(missing)}));
    EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace trx
