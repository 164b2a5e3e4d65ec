// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the main window on each of its tabs with a real project loaded and backed up once, so that the
// tab "Protokoll" shows the protocol of that run. The pictures are saved into the directory named by
// TRX_SCREENSHOT_DIR (the build's screenshot target sets it); without it the test only checks that every
// tab renders.
#include "MainWindowTestSupport.h"
#include "model/BackUpOptions.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"
#include "ui/main/ProjectCommands.h"
#include "ui/main/ProtocolTab.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QTabWidget>

using namespace trx;
using trx::test::MainWindowFixture;
using trx::test::Q;
using trx::test::RunWindowDriver;

class TestMainScreenshots : public QObject {
    Q_OBJECT

private slots:
    void everyTabWithALoadedProject() {
        MainWindowFixture f;
        f.window.CreateDialogs();
        // The project lies in real folders, so that the tree shows the desktop's folder icons; one
        // source is missing and shows the question mark.
        cProject project;
        auto* daily = new cBackUpDestination(project, f.tmp.MakeDir("Sicherungen/Täglich"));
        new cBackUpSource(f.tmp.MakeDir("Eigene Dateien/Briefe"), *daily);
        new cBackUpSource(f.tmp.MakeDir("Eigene Dateien/Bilder"), *daily);
        f.tmp.WriteFile("Eigene Dateien/Briefe/Antrag.odt", "Sehr geehrte Damen und Herren,");
        f.tmp.WriteFile("Eigene Dateien/Briefe/Kündigung.txt", "Hiermit kündige ich");
        f.tmp.WriteFile("Eigene Dateien/Briefe/~Entwurf.txt", "wird ausgeschlossen");
        f.tmp.WriteFile("Eigene Dateien/Bilder/Urlaub/Strand.jpg", std::string(3000, 'j'));
        auto* weekly = new cBackUpDestination(project, f.tmp.MakeDir("Sicherungen/Wöchentlich"));
        new cBackUpSource(f.tmp / "Eigene Dateien/Archiv (fehlt)/", *weekly);
        project.DefaultOptions.Filters[0].AllNoTypes = false;
        project.DefaultOptions.Filters[0].Types = {".DOC", ".ODT", ".TXT"};
        project.DefaultOptions.Filters[1].Mask = "~*;*.bak";
        project.DefaultOptions.TransferFlags = 0x09;
        project.DefaultOptions.Protocol = 2;  // every copied file in the protocol
        project.Description = "Briefe und Bilder";
        project.Comments = "Läuft jeden Abend um 19 Uhr.\r\nDas Archiv liegt auf dem USB-Laufwerk.";
        const std::string path = f.tmp / "Sicherung.buf";
        platform::PosixFileSystem fs;
        SaveProject(project, path, fs);

        f.window.Commands().OpenProject(Q(path));
        QVERIFY(f.dialogs.Errors.isEmpty());
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        // One real run writes the protocol; the window shows it when the run window closes.
        RunWindowDriver driver(*f.window.RunWindow());
        f.window.Action_StartBackup->trigger();
        QVERIFY(driver.SawModalRun);
        QVERIFY(!driver.TimedOut);
        QVERIFY(f.window.TabSheet_Protocol->IsShown());
        QVERIFY(f.window.TabSheet_Protocol->Memo_Protocol->toPlainText().contains(
            QStringLiteral("Der Sicherungsvorgang ist beendet.")));
        f.Tree().SelectOnly(f.Node(f.tmp / "Eigene Dateien/Bilder/"));

        const QString dir = qEnvironmentVariable("TRX_SCREENSHOT_DIR");
        if (!dir.isEmpty()) {
            QVERIFY(QDir().mkpath(dir));
        }
        const QStringList names{"Verzeichnisauswahl", "Filter", "Standard-Einstellungen", "Beschreibung",
                                "Protokoll"};
        QCOMPARE(f.window.PageControl->count(), names.size());
        for (int tab = 0; tab < f.window.PageControl->count(); ++tab) {
            f.window.PageControl->setCurrentIndex(tab);
            QCoreApplication::processEvents();
            const QPixmap picture = f.window.grab();
            QVERIFY(!picture.isNull());
            QCOMPARE(picture.size(), f.window.size());
            if (!dir.isEmpty()) {
                const QString file = QDir(dir).filePath(QStringLiteral("TForm1_%1.png").arg(names[tab]));
                QVERIFY2(picture.save(file), qPrintable(file));
            }
        }
    }
};

QTEST_MAIN(TestMainScreenshots)
#include "tst_MainScreenshots.moc"
