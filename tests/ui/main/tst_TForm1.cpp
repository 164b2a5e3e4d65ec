#include "model/Project.h"
#include "ui/main/TForm1.h"

#include <QtTest>

using namespace trx;

class TestTForm1 : public QObject {
    Q_OBJECT

private slots:
    void startsAsANewUnsavedProject() {
        cProject project;
        new cBackUpDestination(project, "/alt/");
        project.ProjectPath = "/alt.buf";
        TForm1 window(project);
        QCOMPARE(window.windowTitle(), QStringLiteral("Tresorix"));
        QCOMPARE(project.Destinations.Count(), 0);
        QVERIFY(project.ProjectPath.empty());
    }

    void captionNamesTheProjectPath() {
        cProject project;
        TForm1 window(project);
        window.SetProjectPath(QStringLiteral("/home/anna/Sicherung/Daten.buf"));
        QCOMPARE(window.windowTitle(), QStringLiteral("Tresorix - [/home/anna/Sicherung/Daten.buf]"));
        QCOMPARE(project.ProjectPath, std::string("/home/anna/Sicherung/Daten.buf"));
        window.SetProjectPath(QString());
        QCOMPARE(window.windowTitle(), QStringLiteral("Tresorix"));
    }
};

QTEST_MAIN(TestTForm1)
#include "tst_TForm1.moc"
