// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the window of kept versions with a few versions of a letter chosen, saved into the directory
// named by TRX_SCREENSHOT_DIR (the build's screenshot target sets it); without it the test only checks
// that the window renders.
#include "MainWindowTestSupport.h"
#include "ui/main/TVersionsWindow.h"

#include <QDir>
#include <QListWidget>
#include <QTreeWidget>

using namespace trx;

class TestVersionsScreenshots : public QObject {
    Q_OBJECT

private slots:
    void theVersionsOfALetter() {
        test::TestDir tmp;
        cProject project;
        new cBackUpDestination(project, tmp.MakeDir("Sicherungen/Täglich"));
        const char* runs[] = {"2026-11-20 19-00-00", "2026-12-01 19-00-00", "2026-12-07 19-00-00"};
        int size = 1200;
        for (const char* run : runs) {
            const std::string kept = std::string("Sicherungen/Täglich/.tresorix-versionen/") + run + "/";
            tmp.WriteFile(kept + "Briefe/Antrag.odt", std::string(size += 900, 'a'));
            tmp.WriteFile(kept + "Bilder/Urlaub/Strand.jpg", std::string(48000, 'j'));
        }
        tmp.WriteFile("Sicherungen/Täglich/.tresorix-versionen/2026-12-07 19-00-00/Briefe/Kündigung.txt",
                      "x");
        platform::PosixFileSystem fs;
        test::ScriptedDialogs dialogs;
        TVersionsWindow window(project, fs, dialogs);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.Edit_Search->setText(QStringLiteral("Briefe/"));
        window.List_Paths->setCurrentRow(1);
        QCOMPARE(window.List_Versions->topLevelItemCount(), 3);
        window.List_Versions->setCurrentItem(window.List_Versions->topLevelItem(1));
        QCoreApplication::processEvents();
        const QPixmap picture = window.grab();
        QVERIFY(!picture.isNull());
        const QString dir = qEnvironmentVariable("TRX_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QVERIFY(QDir().mkpath(dir));
            const QString file = QDir(dir).filePath(QStringLiteral("TVersionsWindow.png"));
            QVERIFY2(picture.save(file), qPrintable(file));
        }
    }
};

QTEST_MAIN(TestVersionsScreenshots)
#include "tst_VersionsScreenshots.moc"
