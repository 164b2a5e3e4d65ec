// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/editors/TForm4.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using namespace trx;

class TestTForm4 : public QObject {
    Q_OBJECT

private slots:
    void isAQuestionInTheDesktopFont() {
        TForm4 dialog;
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Verzeichnisse hinzufügen"));
        QVERIFY(dialog.Button_OK->isDefault());
        QCOMPARE(dialog.font(), QApplication::font());
        QCOMPARE(dialog.Image->pixmap().deviceIndependentSize().toSize(), QSize(32, 32));
    }

    // Enter goes to the default button, which must not answer before a choice is made.
    void okNeedsAChoiceEvenForEnter() {
        TForm4 dialog;
        dialog.show();
        QVERIFY(!dialog.Button_OK->isEnabled());
        QTest::keyClick(&dialog, Qt::Key_Return);
        QTest::keyClick(&dialog, Qt::Key_Enter);
        QVERIFY(dialog.isVisible());
        dialog.RadioButton_Destination->click();
        QVERIFY(dialog.Button_OK->isEnabled());
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), TForm4::kResultAddAsDestinations);
    }

    void resultsNameTheChoice_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("result");
        QTest::newRow("destinations") << "destination" << 3;
        QTest::newRow("sources") << "source" << 4;
        QTest::newRow("sources after destinations") << "destination,source" << 4;
        QTest::newRow("cancel button") << "cancel" << 2;
        QTest::newRow("escape after a choice") << "source,escape" << 2;
        QTest::newRow("window closed") << "close" << 2;
    }

    void resultsNameTheChoice() {
        QFETCH(QString, action);
        QFETCH(int, result);
        TForm4 dialog;
        QTimer::singleShot(0, &dialog, [&] {
            for (const QString& step : action.split(u',')) {
                if (step == "destination") {
                    dialog.RadioButton_Destination->click();
                } else if (step == "source") {
                    dialog.RadioButton_Source->click();
                } else if (step == "cancel") {
                    dialog.Button_Cancel->click();
                } else if (step == "escape") {
                    QTest::keyClick(&dialog, Qt::Key_Escape);
                } else if (step == "close") {
                    dialog.close();
                }
            }
            if (dialog.isVisible()) {
                dialog.Button_OK->click();
            }
        });
        QCOMPARE(dialog.exec(), result);
    }

    void everyShowingStartsWithoutAChoice() {
        TForm4 dialog;
        QTimer::singleShot(0, &dialog, [&] {
            dialog.RadioButton_Source->click();
            dialog.Button_OK->click();
        });
        QCOMPARE(dialog.exec(), TForm4::kResultAddAsSources);

        bool clearedAgain = false;
        QTimer::singleShot(0, &dialog, [&] {
            clearedAgain = !dialog.RadioButton_Source->isChecked() &&
                           !dialog.RadioButton_Destination->isChecked() && !dialog.Button_OK->isEnabled();
            dialog.Button_OK->click();  // refused: no choice yet
            dialog.reject();
        });
        QCOMPARE(dialog.exec(), TForm4::kResultCancel);
        QVERIFY(clearedAgain);
    }
};

QTEST_MAIN(TestTForm4)
#include "tst_TForm4.moc"
