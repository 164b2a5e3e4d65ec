// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the about box into PNG files for a visual check. It runs only when TRX_SCREENSHOT_DIR names the
// directory for the pictures and checks that the box renders otherwise.
#include "DesktopRecorder.h"
#include "ui/extra/ApplicationIcon.h"
#include "ui/extra/TInfo.h"

#include <QDir>
#include <QEnterEvent>
#include <QLabel>
#include <QPainter>
#include <QtTest>

using namespace trx;

class TestTInfoScreenshots : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QCoreApplication::setApplicationVersion(QStringLiteral("1.0.0"));
        dir_ = qEnvironmentVariable("TRX_SCREENSHOT_DIR");
        if (!dir_.isEmpty()) {
            QVERIFY(QDir().mkpath(dir_));
        }
    }

    void aboutBox() {
        TInfo info(desktop_);
        info.SetTexts(QStringLiteral("Tresorix"), QStringLiteral("2006"));
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        Save(info.grab().toImage(), QStringLiteral("TInfo.png"));

        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QCoreApplication::sendEvent(info.Label_EMail, &enter);
        QTest::mousePress(info.Label_URL, Qt::LeftButton, {}, QPoint(-5, -5));
        Save(info.grab().toImage(), QStringLiteral("TInfo_Links.png"));
        QTest::mouseRelease(info.Label_URL, Qt::LeftButton, {}, QPoint(-5, -5));
    }

    // The program's icon at the sizes the desktop uses, on light and dark ground.
    void applicationIcon() {
        const QIcon icon = ApplicationIcon();
        QImage sheet(16 + 24 + 32 + 48 + 64 + 128 + 256 + 8 * 8, 2 * (256 + 16), QImage::Format_RGB32);
        sheet.fill(Qt::white);
        QPainter painter(&sheet);
        painter.fillRect(0, 256 + 16, sheet.width(), 256 + 16, QColor(48, 48, 48));
        int x = 8;
        for (const int size : {16, 24, 32, 48, 64, 128, 256}) {
            QCOMPARE(icon.pixmap(size, size).size(), QSize(size, size));
            icon.paint(&painter, QRect(x, 8, size, size));
            icon.paint(&painter, QRect(x, 256 + 24, size, size));
            x += size + 8;
        }
        painter.end();
        Save(sheet, QStringLiteral("ApplicationIcon.png"));
    }

private:
    void Save(const QImage& picture, const QString& name) {
        QVERIFY(!picture.isNull());
        if (!dir_.isEmpty()) {
            const QString path = QDir(dir_).filePath(name);
            QVERIFY2(picture.save(path), qPrintable(path));
        }
    }

    QString dir_;
    test::DesktopRecorder desktop_;  // opens nothing
};

QTEST_MAIN(TestTInfoScreenshots)
#include "tst_TInfoScreenshots.moc"
