// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/BackUpOptions.h"
#include "ui/editors/TFrame_Options.h"
#include "ui/editors/TSpinEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QtTest>
#include <cstdint>

using namespace trx;

namespace {

const QString kWinSource = QStringLiteral("C:\\Eigene Dateien\\Briefe\\Muster\\");
const QString kWinDestination = QStringLiteral("G:\\Sicherungen\\");

// Shows an option set of the project's defaults with `flags` as its transfer byte.
void ShowTransfer(TFrame_Options& frame, std::uint8_t flags) {
    cBackUpOptions options;
    options.TransferFlags = flags;
    frame.SetOptions(options);
}

void LoseFocus(QWidget* widget) {
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(widget, &focusOut);
}

}  // namespace

class TestTFrame_Options : public QObject {
    Q_OBJECT

private slots:
    void startsWithTheSamplePaths() {
        TFrame_Options frame;
        QCOMPARE(frame.Edit_ExSource->text(), QStringLiteral("/home/benutzer/Eigene Dateien/Briefe/Muster/"));
        QCOMPARE(frame.Edit_ExDestination->text(), QStringLiteral("/media/Sicherungen/"));
        QCOMPARE(frame.Edit_ExDestination2->text(), QStringLiteral("/media/Sicherungen/"));
        QVERIFY(frame.Label_Example->font().bold());
        QCOMPARE(frame.Label_Example->text(), QStringLiteral("Beispiel"));
    }

    // The byte composed from the controls, level and drive bits included while the transfer is off.
    void transferByteFromTheControls_data() {
        QTest::addColumn<bool>("transfer");
        QTest::addColumn<bool>("allNames");
        QTest::addColumn<int>("level");
        QTest::addColumn<bool>("drive");
        QTest::addColumn<int>("expected");
        QTest::newRow("off, level 1") << false << false << 1 << false << 0x04;
        QTest::newRow("on, level 1") << true << false << 1 << false << 0x05;
        QTest::newRow("on, level 2, drive") << true << false << 2 << true << 0x0B;
        QTest::newRow("on, all names") << true << true << 5 << false << 0x01;
        QTest::newRow("on, all names, drive") << true << true << 5 << true << 0x03;
        QTest::newRow("off, all names, drive") << false << true << 7 << true << 0x02;
        QTest::newRow("off, level 3, drive") << false << false << 3 << true << 0x0E;
        QTest::newRow("on, level 63, drive") << true << false << 63 << true << 0xFF;
        QTest::newRow("on, level 63") << true << false << 63 << false << 0xFD;
    }

    void transferByteFromTheControls() {
        QFETCH(bool, transfer);
        QFETCH(bool, allNames);
        QFETCH(int, level);
        QFETCH(bool, drive);
        QFETCH(int, expected);
        TFrame_Options frame;
        frame.CheckBox_TransferDirNames->setChecked(transfer);
        (allNames ? frame.RadioButton_TransferAllDirNames : frame.RadioButton_TransferDirNameLevel)
            ->setChecked(true);
        frame.SpinEdit_TransferDirNameLevel->setValue(level);
        frame.CheckBox_TransferDriveName->setChecked(drive);
        QCOMPARE(int{frame.GetTransferByte()}, expected);

        // Shown again from the stored byte, the same controls come back.
        cBackUpOptions options;
        frame.GetOptions(options);
        TFrame_Options shown;
        shown.SetOptions(options);
        QCOMPARE(int{shown.GetTransferByte()}, expected);
        QCOMPARE(shown.CheckBox_TransferDirNames->isChecked(), transfer);
        QCOMPARE(shown.CheckBox_TransferDriveName->isChecked(), drive);
    }

    void exampleForBothPathForms_data() {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("destination");
        QTest::addColumn<int>("flags");
        QTest::addColumn<QString>("expected");
        const QString src = TFrame_Options::kSampleSourcePath;
        const QString dst = TFrame_Options::kSampleDestinationPath;
        QTest::newRow("linux off") << src << dst << 0xFE << "/media/Sicherungen/";
        QTest::newRow("linux level 1") << src << dst << 0x05 << "/media/Sicherungen/Muster/";
        QTest::newRow("linux level 2") << src << dst << 0x09 << "/media/Sicherungen/Briefe/Muster/";
        QTest::newRow("linux level 3")
            << src << dst << 0x0D << "/media/Sicherungen/Eigene Dateien/Briefe/Muster/";
        QTest::newRow("linux level 5")
            << src << dst << 0x15 << "/media/Sicherungen/home/benutzer/Eigene Dateien/Briefe/Muster/";
        QTest::newRow("linux all") << src << dst << 0x01
                                   << "/media/Sicherungen/home/benutzer/Eigene Dateien/Briefe/Muster/";
        QTest::newRow("linux all, drive has no effect")
            << src << dst << 0x03 << "/media/Sicherungen/home/benutzer/Eigene Dateien/Briefe/Muster/";
        QTest::newRow("windows off") << kWinSource << kWinDestination << 0xFE << "G:\\Sicherungen\\";
        QTest::newRow("windows level 1")
            << kWinSource << kWinDestination << 0x05 << "G:\\Sicherungen\\Muster\\";
        QTest::newRow("windows level 2")
            << kWinSource << kWinDestination << 0x09 << "G:\\Sicherungen\\Briefe\\Muster\\";
        QTest::newRow("windows level 3")
            << kWinSource << kWinDestination << 0x0D << "G:\\Sicherungen\\Eigene Dateien\\Briefe\\Muster\\";
        QTest::newRow("windows all") << kWinSource << kWinDestination << 0x01
                                     << "G:\\Sicherungen\\Eigene Dateien\\Briefe\\Muster\\";
        QTest::newRow("windows level 4, drive") << kWinSource << kWinDestination << 0x13
                                                << "G:\\Sicherungen\\C\\Eigene Dateien\\Briefe\\Muster\\";
        QTest::newRow("windows all, drive") << kWinSource << kWinDestination << 0x03
                                            << "G:\\Sicherungen\\C\\Eigene Dateien\\Briefe\\Muster\\";
        QTest::newRow("windows level 1, drive")
            << kWinSource << kWinDestination << 0x07 << "G:\\Sicherungen\\Muster\\";
        QTest::newRow("empty source") << "" << dst << 0x01 << "/media/Sicherungen/";
    }

    void exampleForBothPathForms() {
        QFETCH(QString, source);
        QFETCH(QString, destination);
        QFETCH(int, flags);
        QFETCH(QString, expected);
        TFrame_Options frame;
        frame.Edit_ExSource->setText(source);
        frame.Edit_ExDestination->setText(destination);
        ShowTransfer(frame, static_cast<std::uint8_t>(flags));
        QCOMPARE(frame.Edit_ExDestination2->text(), expected);
    }

    void exampleFollowsEveryTransferControl() {
        TFrame_Options frame;
        frame.Edit_ExSource->setText(kWinSource);
        frame.Edit_ExDestination->setText(kWinDestination);
        ShowTransfer(frame, 0x04);
        QCOMPARE(frame.Edit_ExDestination2->text(), kWinDestination);
        frame.CheckBox_TransferDirNames->click();
        QCOMPARE(frame.Edit_ExDestination2->text(), QStringLiteral("G:\\Sicherungen\\Muster\\"));
        frame.RadioButton_TransferAllDirNames->click();
        QCOMPARE(frame.Edit_ExDestination2->text(),
                 QStringLiteral("G:\\Sicherungen\\Eigene Dateien\\Briefe\\Muster\\"));
        frame.CheckBox_TransferDriveName->click();
        QCOMPARE(frame.Edit_ExDestination2->text(),
                 QStringLiteral("G:\\Sicherungen\\C\\Eigene Dateien\\Briefe\\Muster\\"));
        frame.RadioButton_TransferDirNameLevel->click();
        QCOMPARE(frame.Edit_ExDestination2->text(), QStringLiteral("G:\\Sicherungen\\Muster\\"));
        // The owner changing the paths shows at once.
        frame.Edit_ExSource->setText(QStringLiteral("/srv/daten/"));
        QCOMPARE(frame.Edit_ExDestination2->text(), QStringLiteral("G:\\Sicherungen\\daten/"));
    }

    void enabledStatesFollowTheTransferBox() {
        TFrame_Options frame;
        ShowTransfer(frame, 0x01);
        QVERIFY(frame.RadioButton_TransferAllDirNames->isChecked());
        for (QWidget* widget : {static_cast<QWidget*>(frame.RadioButton_TransferDirNameLevel),
                                static_cast<QWidget*>(frame.SpinEdit_TransferDirNameLevel),
                                static_cast<QWidget*>(frame.RadioButton_TransferAllDirNames),
                                static_cast<QWidget*>(frame.CheckBox_TransferDriveName)}) {
            QVERIFY2(widget->isEnabled(),
                     qPrintable(widget->objectName()));  // the box stays usable under "all"
        }
        frame.CheckBox_TransferDirNames->click();
        for (QWidget* widget : {static_cast<QWidget*>(frame.RadioButton_TransferDirNameLevel),
                                static_cast<QWidget*>(frame.SpinEdit_TransferDirNameLevel),
                                static_cast<QWidget*>(frame.RadioButton_TransferAllDirNames),
                                static_cast<QWidget*>(frame.CheckBox_TransferDriveName)}) {
            QVERIFY2(!widget->isEnabled(), qPrintable(widget->objectName()));
        }
        QVERIFY(frame.Panel_TransferDirNameExample->isEnabled());
    }

    void freshSetShowsLevelOneAndGivesFour() {
        TFrame_Options frame;
        ShowTransfer(frame, 0x01);  // something else first
        frame.SetOptions(cBackUpOptions());
        QVERIFY(!frame.CheckBox_TransferDirNames->isChecked());
        QVERIFY(frame.RadioButton_TransferDirNameLevel->isChecked());
        QCOMPARE(frame.SpinEdit_TransferDirNameLevel->value(), 1);
        QVERIFY(!frame.CheckBox_TransferDriveName->isChecked());
        cBackUpOptions taken;
        taken.TransferFlags = 0x77;
        frame.GetOptions(taken);
        QCOMPARE(int{taken.TransferFlags}, 4);
    }

    void byteOneShowsAllNamesWithTheBoxAtOne() {
        TFrame_Options frame;
        ShowTransfer(frame, 0x15);  // level 5 first, so the box must be reset
        ShowTransfer(frame, 0x01);
        QVERIFY(frame.CheckBox_TransferDirNames->isChecked());
        QVERIFY(frame.RadioButton_TransferAllDirNames->isChecked());
        QCOMPARE(frame.SpinEdit_TransferDirNameLevel->value(), 1);
        QCOMPARE(int{frame.GetTransferByte()}, 1);
    }

    void level63RoundTripsAndCarries63Names() {
        TFrame_Options frame;
        QString source = QStringLiteral("/");
        for (int i = 1; i <= 70; ++i) {
            source += QStringLiteral("d%1/").arg(i);
        }
        frame.Edit_ExSource->setText(source);
        frame.Edit_ExDestination->setText(QStringLiteral("/z/"));
        ShowTransfer(frame, 0xFF);
        QCOMPARE(frame.SpinEdit_TransferDirNameLevel->value(), 63);
        QVERIFY(frame.CheckBox_TransferDriveName->isChecked());
        cBackUpOptions taken;
        frame.GetOptions(taken);
        QCOMPARE(int{taken.TransferFlags}, 0xFF);
        const QString example = frame.Edit_ExDestination2->text();
        QVERIFY(example.startsWith(QStringLiteral("/z/d8/d9/")));
        QCOMPARE(example.count(u'/') - 2, 63);
    }

    void plainOptionsRoundTripAndFiltersStayUntouched() {
        cBackUpOptions shown;
        shown.SubFolders = false;
        shown.OnlyNewFiles = true;
        shown.DelDeletedFiles = false;
        shown.TimeOriginal = false;
        shown.Protocol = 2;
        TFrame_Options frame;
        frame.SetOptions(shown);
        QVERIFY(frame.RadioButton_TimeBackup->isChecked());
        QCOMPARE(frame.ComboBox_Protocol->currentIndex(), 2);

        cBackUpOptions taken;
        taken.Filters[0].Mask = "*.txt";
        taken.Filters[1].AllNoTypes = false;
        frame.GetOptions(taken);
        QCOMPARE(taken.SubFolders, false);
        QCOMPARE(taken.OnlyNewFiles, true);
        QCOMPARE(taken.DelDeletedFiles, false);
        QCOMPARE(taken.TimeOriginal, false);
        QCOMPARE(int{taken.Protocol}, 2);
        QCOMPARE(taken.Filters[0].Mask, std::string("*.txt"));
        QCOMPARE(taken.Filters[1].AllNoTypes, false);

        frame.RadioButton_TimeOriginal->click();
        frame.ComboBox_Protocol->setCurrentIndex(0);
        frame.GetOptions(taken);
        QCOMPARE(taken.TimeOriginal, true);
        QCOMPARE(int{taken.Protocol}, 0);
    }

    // A level the list does not hold shows as the item the protocol writer treats it as.
    void protocolOutsideTheListShowsItsEffect() {
        TFrame_Options frame;
        cBackUpOptions options;
        options.Protocol = 7;
        frame.SetOptions(options);
        QCOMPARE(frame.ComboBox_Protocol->currentIndex(), 2);
        options.Protocol = -3;
        frame.SetOptions(options);
        QCOMPARE(frame.ComboBox_Protocol->currentIndex(), 0);
    }

    void typingUpdatesTheExampleAndLeavingBringsIntoRange() {
        TFrame_Options frame;
        frame.Edit_ExSource->setText(kWinSource);
        frame.Edit_ExDestination->setText(kWinDestination);
        ShowTransfer(frame, 0x05);
        QLineEdit* typing = frame.SpinEdit_TransferDirNameLevel->findChild<QLineEdit*>();
        QVERIFY(typing != nullptr);
        typing->selectAll();
        QTest::keyClick(frame.SpinEdit_TransferDirNameLevel, Qt::Key_2);
        QCOMPARE(frame.Edit_ExDestination2->text(), QStringLiteral("G:\\Sicherungen\\Briefe\\Muster\\"));
        QTest::keyClick(frame.SpinEdit_TransferDirNameLevel, Qt::Key_A);  // digits only
        QCOMPARE(typing->text(), QStringLiteral("2"));
        QTest::keyClick(frame.SpinEdit_TransferDirNameLevel, Qt::Key_0);
        QCOMPARE(frame.SpinEdit_TransferDirNameLevel->value(), 20);
        QCOMPARE(frame.Edit_ExDestination2->text(),
                 QStringLiteral("G:\\Sicherungen\\Eigene Dateien\\Briefe\\Muster\\"));
        typing->selectAll();
        QTest::keyClicks(frame.SpinEdit_TransferDirNameLevel, QStringLiteral("70"));  // out of range for now
        QCOMPARE(typing->text(), QStringLiteral("70"));
        QCOMPARE(frame.SpinEdit_TransferDirNameLevel->value(), 7);
        QCOMPARE(frame.Edit_ExDestination2->text(),
                 QStringLiteral("G:\\Sicherungen\\Eigene Dateien\\Briefe\\Muster\\"));
        LoseFocus(frame.SpinEdit_TransferDirNameLevel);
        QCOMPARE(frame.SpinEdit_TransferDirNameLevel->value(), 63);
        QCOMPARE(typing->text(), QStringLiteral("63"));
        QCOMPARE(frame.Edit_ExDestination2->text(),
                 QStringLiteral("G:\\Sicherungen\\Eigene Dateien\\Briefe\\Muster\\"));
    }

    void leavingTheBoxRepairsItsText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("expected");
        QTest::newRow("zero") << "0" << 1;
        QTest::newRow("too large") << "64" << 63;
        QTest::newRow("far too large") << "99999999999999999999" << 63;
        QTest::newRow("not a number") << "abc" << 1;
        QTest::newRow("empty") << "" << 1;
        QTest::newRow("leading zeros") << "007" << 7;
    }

    void leavingTheBoxRepairsItsText() {
        QFETCH(QString, text);
        QFETCH(int, expected);
        TFrame_Options frame;
        ShowTransfer(frame, 0x15);
        QLineEdit* typing = frame.SpinEdit_TransferDirNameLevel->findChild<QLineEdit*>();
        typing->setText(text);  // bypasses the digit check, as pasting through the menu would not
        LoseFocus(frame.SpinEdit_TransferDirNameLevel);
        QCOMPARE(frame.SpinEdit_TransferDirNameLevel->value(), expected);
        QCOMPARE(typing->text(), QString::number(expected));
    }

    // An owner taking the options while a number is still being typed stores what the box then shows.
    void takingTheOptionsFinishesTheTyping() {
        TFrame_Options frame;
        ShowTransfer(frame, 0x05);
        QLineEdit* typing = frame.SpinEdit_TransferDirNameLevel->findChild<QLineEdit*>();
        typing->selectAll();
        QTest::keyClicks(frame.SpinEdit_TransferDirNameLevel, QStringLiteral("90"));
        cBackUpOptions taken;
        frame.GetOptions(taken);
        QCOMPARE(taken.TransferDirNameLevel(), 63u);
        QCOMPARE(frame.SpinEdit_TransferDirNameLevel->value(), 63);
    }
};

QTEST_MAIN(TestTFrame_Options)
#include "tst_TFrame_Options.moc"
