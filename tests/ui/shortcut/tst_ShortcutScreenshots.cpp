// Renders the shortcut dialog into PNG files for a visual check. It runs only when TRX_SCREENSHOT_DIR
// names the directory for the pictures and is skipped otherwise.
#include "ScheduleTestSupport.h"
#include "ui/shortcut/TForm3.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QTimer>
#include <QtTest>

using namespace trx;

class TestShortcutScreenshots : public QObject {
    Q_OBJECT

private slots:
    void init() {
        dir_ = qEnvironmentVariable("TRX_SCREENSHOT_DIR");
        if (dir_.isEmpty()) {
            QSKIP("TRX_SCREENSHOT_DIR is not set");
        }
        QVERIFY(QDir().mkpath(dir_));
    }

    void shortcutDialog() {
        test::ScheduleFixture schedules;
        TForm3 dialog(schedules.store);
        dialog.Edit_Dir->setText(QStringLiteral("/home/benutzer/Schreibtisch"));
        QTimer::singleShot(0, &dialog, [&] {
            Save(dialog, QStringLiteral("TForm3.png"));
            dialog.CheckBox_Silent->setChecked(true);
            dialog.CheckBox_Hidden->setChecked(true);
            dialog.ComboBox_AfterFinishing->setCurrentIndex(TForm3::kRunCommand);
            dialog.Edit_ExecLine->setText(QStringLiteral("notify-send \"Sicherung fertig\""));
            Save(dialog, QStringLiteral("TForm3_Command.png"));
            dialog.reject();
        });
        dialog.Execute(QStringLiteral("/home/benutzer/Sicherungen/Daily.buf"), QStringLiteral("Weekly"));
    }

private:
    void Save(QWidget& widget, const QString& name) {
        QVERIFY(QTest::qWaitForWindowExposed(&widget));
        QCoreApplication::processEvents();
        const QString path = QDir(dir_).filePath(name);
        QVERIFY2(widget.grab().save(path), qPrintable(path));
    }

    QString dir_;
};

QTEST_MAIN(TestShortcutScreenshots)
#include "tst_ShortcutScreenshots.moc"
