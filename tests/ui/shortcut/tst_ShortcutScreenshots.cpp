// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the shortcut dialog, with two schedules in its group "Zeitplan", into PNG files for a visual check.
// It runs only when TRX_SCREENSHOT_DIR names the directory for the pictures and is skipped otherwise.
#include "ScheduleTestSupport.h"
#include "ui/shortcut/ScheduleUnits.h"
#include "ui/shortcut/TForm3.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
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
        cSchedule daily;
        daily.ProjectPath = QStringLiteral("/home/benutzer/Sicherungen/Daily.buf");
        cSchedule weekly;
        weekly.ProjectPath = QStringLiteral("/home/benutzer/Sicherungen/Fotos auf dem Stick.buf");
        weekly.When = cSchedule::Kind::Weekly;
        weekly.Weekday = 6;
        weekly.Time = QTime(10, 0);
        QString failure;
        QVERIFY(schedules.store.Save(daily, QStringLiteral("/usr/bin/trxmain"), failure));
        QVERIFY(schedules.store.Save(weekly, QStringLiteral("/usr/bin/trxmain"), failure));
        // Switched on, as the service manager does it: a link beside the timers.
        const QString wants = schedules.UnitFolder() + QStringLiteral("/timers.target.wants/");
        QVERIFY(QDir().mkpath(wants));
        for (const cSchedule& schedule : {daily, weekly}) {
            const QString timer = ScheduleUnitName(schedule.ProjectPath) + kTimerSuffix;
            QVERIFY(QFile::link(schedules.UnitFolder() + u'/' + timer, wants + timer));
        }
        TForm3 dialog(schedules.fs, schedules.store);
        dialog.Edit_Dir->setText(QStringLiteral("/home/benutzer/Schreibtisch"));
        QTimer::singleShot(0, &dialog, [&] {
            Save(dialog, QStringLiteral("TForm3.png"));
            dialog.CheckBox_Silent->setChecked(true);
            dialog.CheckBox_Hidden->setChecked(true);
            dialog.ComboBox_AfterFinishing->setCurrentIndex(TForm3::kRunCommand);
            dialog.Edit_ExecLine->setText(QStringLiteral("notify-send \"Sicherung fertig\""));
            Save(dialog, QStringLiteral("TForm3_Command.png"));
            dialog.ComboBox_ScheduleKind->setCurrentIndex(TForm3::kWeekly);
            Save(dialog, QStringLiteral("TForm3_Schedule.png"));
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
