// SPDX-License-Identifier: GPL-3.0-or-later
// The tab "Protokoll": in the tab row exactly while the project's protocol file exists, refreshed with
// every change of the project path, its view and shortened path label, and "Protokoll löschen".
#include "MainWindowTestSupport.h"
#include "engine/Protocol.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"
#include "support/FaultyFileSystem.h"
#include "ui/main/ProjectCommands.h"
#include "ui/main/ProtocolTab.h"

#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <cerrno>
#include <cstdio>

using namespace trx;
using trx::test::MainWindowFixture;
using trx::test::Q;

namespace {

const std::string kProtocol =
    "07.12.2026 19:00:01 Der Sicherungsvorgang hat begonnen.\r\n"
    "07.12.2026 19:00:02 Das Verzeichnis \"/home/anna/Bücher/\" wird gesichert.\r\n"
    "07.12.2026 19:00:05 Der Sicherungsvorgang ist beendet.\r\n";

void WriteProject(const std::string& path) {
    cProject project;
    new cBackUpSource("/q/", *new cBackUpDestination(project, "/z/"));
    platform::PosixFileSystem fs;
    SaveProject(project, path, fs);
}

// A window whose project "Projekt.buf" lies beside its protocol.
struct ProtocolFixture : MainWindowFixture {
    ProtocolFixture() {
        WriteProject(path);
        tmp.WriteFile("Projekt_Protocol.txt", kProtocol);
    }
    QTabWidget& Pages() { return *window.PageControl; }
    TProtocolTab& Tab() { return *window.TabSheet_Protocol; }

    const std::string path = tmp / "Projekt.buf";
    const std::string protocol = tmp / "Projekt_Protocol.txt";
};

}  // namespace

class TestProtocolTab : public QObject {
    Q_OBJECT

private slots:
    void theTabShowsAnExistingProtocolAfterTheOtherFour() {
        ProtocolFixture f;
        QCOMPARE(f.Pages().count(), 4);
        QVERIFY(!f.Tab().IsShown());

        f.window.Commands().OpenProject(Q(f.path));
        QCOMPARE(f.Pages().count(), 5);
        QCOMPARE(f.Pages().widget(4), &f.Tab());
        QCOMPARE(f.Pages().tabText(4), QStringLiteral("Protokoll"));
        QCOMPARE(f.Pages().currentIndex(), 0);
        QPlainTextEdit& view = *f.Tab().Memo_Protocol;
        QCOMPARE(view.toPlainText(),
                 QStringLiteral("07.12.2026 19:00:01 Der Sicherungsvorgang hat begonnen.\n"
                                "07.12.2026 19:00:02 Das Verzeichnis \"/home/anna/Bücher/\" wird gesichert.\n"
                                "07.12.2026 19:00:05 Der Sicherungsvorgang ist beendet."));
        QVERIFY(view.isReadOnly());
        QCOMPARE(view.font(), QFontDatabase::systemFont(QFontDatabase::FixedFont));
        QCOMPARE(view.horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(view.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(view.lineWrapMode(), QPlainTextEdit::NoWrap);
        QCOMPARE(f.Tab().Button_DelProtocol->text(), QStringLiteral("Protokoll löschen"));
        QCOMPARE(f.Tab().ProtocolPath(), Q(f.protocol));
        QCOMPARE(f.Tab().Label_ProtocolFile->toolTip(), Q(f.protocol));

        // "Neu" takes it away again, "Speichern unter" next to a protocol brings it back.
        f.dialogs.Answers = {QMessageBox::No};
        f.window.Action_New->trigger();
        QCOMPARE(f.Pages().count(), 4);
        const std::string other = f.tmp / "Andere.buf";
        f.tmp.WriteFile("Andere_Protocol.txt", "07.12.2026 Andere\r\n");
        f.dialogs.SaveAnswers = {Q(other)};
        f.window.Action_SaveAs->trigger();
        QVERIFY(f.Tab().IsShown());
        QCOMPARE(f.Tab().Memo_Protocol->toPlainText(), QStringLiteral("07.12.2026 Andere"));
    }

    void aProtocolDeletedOutsideIsGoneAfterTheNextOpen() {
        ProtocolFixture f;
        f.window.Commands().OpenProject(Q(f.path));
        QVERIFY(f.Tab().IsShown());
        f.Pages().setCurrentWidget(&f.Tab());
        QCOMPARE(std::remove(f.protocol.c_str()), 0);
        f.dialogs.Answers = {QMessageBox::No};
        f.dialogs.OpenAnswers = {Q(f.path)};
        f.window.Action_Open->trigger();
        QCOMPARE(f.Pages().count(), 4);
        QVERIFY(f.Pages().currentWidget() != &f.Tab());
        QVERIFY(!f.Tab().isVisible());
        // Hidden, the view keeps what it showed.
        QVERIFY(f.Tab().Memo_Protocol->toPlainText().startsWith(QStringLiteral("07.12.2026 19:00:01")));
    }

    void aDirectoryOfTheProtocolsNameIsNoProtocol() {
        ProtocolFixture f;
        const std::string path = f.tmp / "Ordner.buf";
        WriteProject(path);
        f.tmp.MakeDir("Ordner_Protocol.txt");
        f.window.Commands().OpenProject(Q(path));
        QVERIFY(f.dialogs.Errors.isEmpty());
        QVERIFY(!f.Tab().IsShown());
    }

    void deletingRemovesTheFileAndTheTabWithoutAsking() {
        ProtocolFixture f;
        f.window.Commands().OpenProject(Q(f.path));
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.Pages().setCurrentWidget(&f.Tab());
        f.Tab().Button_DelProtocol->click();
        QVERIFY(!f.tmp.Exists("Projekt_Protocol.txt"));
        QVERIFY(f.tmp.Exists("Projekt.buf"));
        QCOMPARE(f.Pages().count(), 4);
        QVERIFY(f.dialogs.Asked.isEmpty());
        QVERIFY(f.dialogs.Errors.isEmpty());
    }

    void aProtocolThatCannotBeDeletedStaysOnShow() {
        test::TestDir tmp;
        const std::string project = tmp / "P.buf";
        tmp.WriteFile("P_Protocol.txt", "Zeile\r\n");
        platform::PosixFileSystem real;
        test::FaultyFileSystem fs(real);
        fs.Fail(test::FaultyFileSystem::Op::RemoveFile, "P_Protocol.txt", EACCES);
        QTabWidget pages;
        pages.addTab(new QWidget, QStringLiteral("Verzeichnisauswahl"));
        TProtocolTab tab(pages, fs);
        tab.Refresh(project);
        QVERIFY(tab.IsShown());
        tab.Button_DelProtocol->click();
        QCOMPARE(fs.Calls(test::FaultyFileSystem::Op::RemoveFile, "P_Protocol.txt"), 1);
        QVERIFY(tmp.Exists("P_Protocol.txt"));
        QVERIFY(tab.IsShown());
        QCOMPARE(pages.count(), 2);

        // An unsaved project has no protocol, and deleting touches nothing.
        tab.Refresh("");
        QVERIFY(!tab.IsShown());
        tab.Button_DelProtocolClick();
        QCOMPARE(fs.Calls(test::FaultyFileSystem::Op::RemoveFile), 1);
    }

    void theLabelShortensTheFoldersToFitAndKeepsTheFileName() {
        MainWindowFixture f;
        std::string folder = "Sicherungen";
        for (int level = 0; level < 12; ++level) {
            folder += "/Ebene " + std::to_string(level) + " mit einem langen Namen";
        }
        const std::string path = f.tmp.MakeDir(folder) + "Täglich.buf";
        WriteProject(path);
        const std::string protocol = ProtocolFileName(path);
        f.tmp.WriteFile(protocol.substr(f.tmp.Path().size()), "x\r\n");
        f.window.Commands().OpenProject(Q(path));
        f.window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f.window));
        f.window.PageControl->setCurrentWidget(f.window.TabSheet_Protocol);
        QCoreApplication::processEvents();

        const QLabel& label = *f.window.TabSheet_Protocol->Label_ProtocolFile;
        const auto fits = [&label] {
            return label.fontMetrics().horizontalAdvance(label.text()) <= label.contentsRect().width();
        };
        QVERIFY(label.width() < label.fontMetrics().horizontalAdvance(Q(protocol)));
        QVERIFY2(label.text().startsWith(QStringLiteral("/...")), qPrintable(label.text()));
        QVERIFY(label.text().endsWith(QStringLiteral("/Täglich_Protocol.txt")));
        QVERIFY(fits());
        // Wider, it shows more of the path, and still fits.
        const QString narrow = label.text();
        f.window.resize(f.window.width() + 400, f.window.height());
        QCoreApplication::processEvents();
        QVERIFY(label.text().size() > narrow.size());
        QVERIFY(fits());
    }
};

QTEST_MAIN(TestProtocolTab)
#include "tst_ProtocolTab.moc"
