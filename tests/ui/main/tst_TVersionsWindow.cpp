// SPDX-License-Identifier: GPL-3.0-or-later
// The window of kept versions: what it lists for a destination, and a version copied back, over a newer
// file only when the user agrees. Questions are real message boxes answered as the user would.
#include "MainWindowTestSupport.h"
#include "engine/RunController.h"
#include "ui/main/ExtrasCommands.h"
#include "ui/main/TVersionsWindow.h"
#include "ui/run/RunOutcomeText.h"

#include <QAbstractButton>
#include <QAction>
#include <QListWidget>
#include <QMenu>
#include <QTreeWidget>

using namespace trx;
using trx::test::Q;

namespace {

// Asks with real message boxes; the folder browser is scripted.
class RealQuestions : public test::ScriptedDialogs {
public:
    QMessageBox::StandardButton Ask(QWidget* parent, QMessageBox::Icon icon, const QString& caption,
                                    const QString& text, QMessageBox::StandardButtons buttons) override {
        Asked.append({icon, caption, text, buttons});
        return cUserDialogs::Ask(parent, icon, caption, text, buttons);
    }
};

// Presses `button` in the message box that opens next, once its event loop runs.
void Press(QMessageBox::StandardButton button, int triesLeft = 200) {
    QTimer::singleShot(0, [button, triesLeft] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr && triesLeft > 0) {
            Press(button, triesLeft - 1);
        } else if (box != nullptr) {
            box->button(button)->click();
        }
    });
}

}  // namespace

class TestVersionsWindow : public QObject {
    Q_OBJECT

private slots:
    void init() {
        tmp = std::make_unique<test::TestDir>();
        project = std::make_unique<cProject>();
        destination = tmp->MakeDir("Ziel");
        new cBackUpDestination(*project, destination);
        tmp->WriteFile("Ziel/.tresorix-versionen/2026-12-01 10-00-00/Briefe/Brief.odt", "erste");
        tmp->WriteFile("Ziel/.tresorix-versionen/2026-12-05 10-00-00/Briefe/Brief.odt", "zweite Fassung");
        tmp->WriteFile("Ziel/.tresorix-versionen/2026-12-05 10-00-00/Alt/weg.txt", "gelöscht");
        tmp->WriteFile("Ziel/Briefe/Brief.odt", "aktuell");
        tmp->SetTimes("Ziel/.tresorix-versionen/2026-12-01 10-00-00/Briefe/Brief.odt", 1700000000);
        tmp->SetTimes("Ziel/Briefe/Brief.odt", 1800000000);
    }

    void listsThePathsAndTheirVersionsNewestFirst() {
        TVersionsWindow window(*project, fs, dialogs);
        window.show();
        QCOMPARE(Items(window), (QStringList{"Alt/", "Alt/weg.txt", "Briefe/", "Briefe/Brief.odt"}));
        window.Edit_Search->setText(QStringLiteral("brief.ODT"));
        QCOMPARE(Items(window), QStringList{"Briefe/Brief.odt"});
        window.List_Paths->setCurrentRow(0);
        QCOMPARE(window.List_Versions->topLevelItemCount(), 2);
        QVERIFY(window.List_Versions->topLevelItem(0)->text(1).startsWith(QStringLiteral("14")));
        QVERIFY(window.List_Versions->topLevelItem(1)->text(1).startsWith(QStringLiteral("5")));
        QVERIFY(window.Button_Restore->isEnabled());
    }

    void restoresOverANewerFileOnlyWhenTheUserAgrees() {
        TVersionsWindow window(*project, fs, dialogs);
        window.show();
        window.Edit_Search->setText(QStringLiteral("Brief.odt"));
        window.List_Paths->setCurrentRow(0);
        window.List_Versions->setCurrentItem(window.List_Versions->topLevelItem(1));  // the older one
        const QString original = Q(destination + "Briefe/");
        struct Step {
            QMessageBox::StandardButton answer;
            const char* content;
        };
        for (const Step& step : {Step{QMessageBox::No, "aktuell"}, Step{QMessageBox::Yes, "erste"}}) {
            dialogs.Asked.clear();
            dialogs.Directories = {original};
            Press(step.answer);
            if (step.answer == QMessageBox::Yes) {
                Press(QMessageBox::Ok);  // the box that tells it is done
            }
            window.Button_Restore->click();
            QCOMPARE(dialogs.DirectoryStarts.last(), original);
            QVERIFY(dialogs.Asked.first().text.contains(QStringLiteral("neueren Stand")));
            QCOMPARE(QString::fromStdString(tmp->ReadFile("Ziel/Briefe/Brief.odt")), QString(step.content));
        }
        QCOMPARE(QString::fromStdString(
                     tmp->ReadFile("Ziel/.tresorix-versionen/2026-12-01 10-00-00/Briefe/Brief.odt")),
                 QStringLiteral("erste"));

        // Into a folder without such a file: no question, only the word that it is done.
        const std::string elsewhere = tmp->MakeDir("Anderswo");
        dialogs.Asked.clear();
        dialogs.Directories = {Q(elsewhere)};
        Press(QMessageBox::Ok);
        window.Button_Restore->click();
        QCOMPARE(dialogs.Asked.size(), 1);
        QCOMPARE(dialogs.Asked.first().icon, QMessageBox::Information);
        QCOMPARE(QString::fromStdString(tmp->ReadFile("Anderswo/Brief.odt")), QStringLiteral("erste"));
    }

    void theExtrasMenuOpensIt() {
        test::ScriptedDialogs scripted;
        test::StartServices services;
        cProject shown;
        TForm1 main(shown, services.MainWindow(scripted));
        QAction* item = main.Extras().Action_Versions;
        QCOMPARE(item->text(), QStringLiteral("Frühere Versionen …"));
        emit main.Menu_Extras->aboutToShow();
        QVERIFY(!item->isEnabled());
        new cBackUpDestination(shown, destination);
        emit main.Menu_Extras->aboutToShow();
        QVERIFY(item->isEnabled());
        scripted.ExecuteResults = {QDialog::Rejected};
        item->trigger();
        QCOMPARE(scripted.Executed, 1);
    }

    void theEndOfARunCountsTheKeptVersions() {
        cRunResult result;
        result.Ran = true;
        for (const auto& [count, line] : {std::pair{1, "1 frühere Version wurde aufbewahrt."},
                                          std::pair{3, "3 frühere Versionen wurden aufbewahrt."}}) {
            result.VersionsKept = count;
            const auto width = [](const QString& text) { return static_cast<int>(text.size()); };
            QVERIFY(OutcomeDetails(result, width, 400).contains(QString::fromUtf8(line)));
        }
    }

private:
    static QStringList Items(const TVersionsWindow& window) {
        QStringList items;
        for (int i = 0; i < window.List_Paths->count(); ++i) {
            items.append(window.List_Paths->item(i)->text());
        }
        return items;
    }

    std::unique_ptr<test::TestDir> tmp;
    std::unique_ptr<cProject> project;
    std::string destination;
    platform::PosixFileSystem fs;
    RealQuestions dialogs;
};

QTEST_MAIN(TestVersionsWindow)
#include "tst_TVersionsWindow.moc"
