// SPDX-License-Identifier: GPL-3.0-or-later
#include "DesktopRecorder.h"
#include "ui/extra/ApplicationIcon.h"
#include "ui/extra/TInfo.h"

#include <QEnterEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QUrlQuery>
#include <QtTest>

using namespace trx;

namespace {

constexpr int kW = 435;
constexpr int kH = 65;

// The gradient alone at column x of the banner.
QRgb GradientAt(int x) {
    const int n = static_cast<int>(0.75 * kW);
    const int m = static_cast<int>(0.25 * kW);
    const double fraction = x <= n ? static_cast<double>(x) / n : static_cast<double>(kW - x) / m;
    return TInfo::BannerBlend(fraction).rgb();
}

bool IsDark(QRgb pixel) {
    return qRed(pixel) < 100 && qGreen(pixel) < 100 && qBlue(pixel) < 140;
}

// The leftmost column in [from, to) of rows [top, bottom) that holds a dark pixel; -1 when none does.
int FirstInkColumn(const QImage& image, int from, int to, int top, int bottom) {
    for (int x = from; x < to; ++x) {
        for (int y = top; y < bottom; ++y) {
            if (IsDark(image.pixel(x, y))) {
                return x;
            }
        }
    }
    return -1;
}

}  // namespace

class TestTInfo : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3")); }

    void init() { desktop_.Opened.clear(); }

    void labelsStandRightAlignedUnderTheBanner() {
        TInfo info(desktop_);
        QCOMPARE(info.size(), QSize(435, 132));
        QCOMPARE(info.PaintBox_Logo->geometry(), QRect(0, 0, 435, 65));
        int top = 65;
        for (QLabel* label : {info.Label_Info, info.Label_EMail, info.Label_URL}) {
            QCOMPARE(label->geometry().right() + 1, 427);
            QVERIFY(label->y() >= top);
            top = label->geometry().bottom();
            QVERIFY(top < 132);
        }
        for (QLabel* link : {info.Label_EMail, info.Label_URL}) {
            QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
            QCOMPARE(link->palette().color(QPalette::WindowText), TInfo::kLinkColour);
        }
        // The licence on the left, clear of the credit line and the button.
        QCOMPARE(info.Label_License->text(), QStringLiteral("Lizenz: GNU GPL 3 oder später"));
        QVERIFY(info.Label_License->toolTip().contains(QStringLiteral("GPL-3.0-or-later")));
        QVERIFY(!info.Label_License->geometry().intersects(info.Label_Info->geometry()));
        QVERIFY(info.Label_License->geometry().bottom() < info.Button_OK->y());
    }

    void showAboutKeepsTheTextsAndClosesWithOk() {
        TInfo info(desktop_);
        QTimer::singleShot(0, &info, [&] {
            QVERIFY(info.isModal());
            info.Button_OK->click();
        });
        QCOMPARE(info.ShowAbout(QStringLiteral("Tresorix"), QStringLiteral("2006")), int(QDialog::Accepted));
        QCOMPARE(info.Title(), QStringLiteral("Tresorix"));
        QCOMPARE(info.DevelopmentPeriod(), QStringLiteral("2006"));
    }

    void gradientRunsFromTheStartColourToWhiteAndBack() {
        QCOMPARE(TInfo::BannerBlend(0.0), QColor(74, 160, 255));
        QCOMPARE(TInfo::BannerBlend(1.0), QColor(255, 255, 255));
        QCOMPARE(TInfo::BannerBlend(0.5), QColor(164, 207, 255));  // each channel cut, never rounded

        TInfo info(desktop_);
        info.SetTexts(QStringLiteral("Tresorix"), QStringLiteral("2006"));
        const QImage banner = info.PaintBanner(QSize(kW, kH));
        QCOMPARE(banner.size(), QSize(kW, kH));
        const int bottom = kH - 1;  // below the logo, the icon and the text
        QCOMPARE(banner.pixel(0, 0), QColor(74, 160, 255).rgb());
        QCOMPARE(banner.pixel(0, bottom), QColor(74, 160, 255).rgb());
        QCOMPARE(banner.pixel(326, bottom), qRgb(255, 255, 255));  // n = 326: white
        QCOMPARE(banner.pixel(327, bottom), qRgb(255, 255, 255));  // i = m = 108: white again
        QCOMPARE(banner.pixel(163, bottom), QColor(164, 207, 255).rgb());
        QCOMPARE(banner.pixel(434, bottom), QColor(75, 160, 255).rgb());  // i = 1 of 108
        for (int x = 0; x < kW; ++x) {
            QCOMPARE(banner.pixel(x, bottom), GradientAt(x));
        }
    }

    // The logo's white shows the gradient, its ink is ANDed with it: nothing is drawn over it.
    void logoIsAndedOntoTheGradient() {
        TInfo info(desktop_);
        info.SetTexts(QStringLiteral("Tresorix"), QStringLiteral("2006"));
        const QImage banner = info.PaintBanner(QSize(kW, kH));
        const QImage logo = info.Logo();
        QVERIFY(!logo.isNull());
        QVERIFY(logo.height() <= kH - 8);
        const int left = kW - 108 - logo.width() / 2;
        QVERIFY(left > 200);  // clear of the text
        QVERIFY(left + logo.width() <= kW);
        int ink = 0;
        for (int y = 0; y < logo.height(); ++y) {
            for (int x = 0; x < logo.width(); ++x) {
                const QRgb expected = (logo.pixel(x, y) & GradientAt(left + x)) | 0xFF000000u;
                if (banner.pixel(left + x, 4 + y) != expected) {
                    QFAIL(qPrintable(QStringLiteral("logo pixel %1,%2").arg(x).arg(y)));
                }
                ink += logo.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
            }
        }
        QVERIFY(ink > 500);
        // Above the logo, only the gradient.
        for (int x = left; x < left + logo.width(); ++x) {
            QCOMPARE(banner.pixel(x, 3), GradientAt(x));
        }
    }

    void iconSitsInAOnePixelFrame() {
        TInfo info(desktop_);
        const QImage banner = info.PaintBanner(QSize(kW, kH));
        const int top = (kH - 32) / 2;  // 16
        const QRgb black = qRgb(0, 0, 0);
        for (int i = 7; i <= 40; ++i) {
            QCOMPARE(banner.pixel(i, top - 1), black);
            QCOMPARE(banner.pixel(i, (kH + 32) / 2), black);  // 48
        }
        for (int y = top - 1; y <= (kH + 32) / 2; ++y) {
            QCOMPARE(banner.pixel(7, y), black);
            QCOMPARE(banner.pixel(40, y), black);
        }
        // Outside the frame the gradient; inside it the icon.
        QCOMPARE(banner.pixel(6, 30), GradientAt(6));
        QCOMPARE(banner.pixel(41, 30), GradientAt(41));
        QImage expected(32, 32, QImage::Format_RGB32);
        QPainter painter(&expected);
        for (int x = 0; x < 32; ++x) {
            painter.fillRect(QRect(x, 0, 1, 32), QColor::fromRgb(GradientAt(8 + x)));
        }
        ApplicationIcon().paint(&painter, QRect(0, 0, 32, 32));
        painter.end();
        QCOMPARE(banner.copy(8, top, 32, 32), expected);
    }

    void textsStandWhereTheyShould() {
        TInfo info(desktop_);
        info.SetTexts(QStringLiteral("Tresorix"), QStringLiteral("2006"));
        const QImage banner = info.PaintBanner(QSize(kW, kH));
        QFont bold = info.font();
        bold.setBold(true);
        const QFontMetrics boldMetrics(bold);
        const QFontMetrics regular(info.font());
        const int titleTop = static_cast<int>(kH / 2 - 1.5 * boldMetrics.height());
        const int versionTop = static_cast<int>(kH / 2 - 0.5 * regular.height());
        const int periodTop = static_cast<int>(kH / 2 + 0.5 * regular.height());
        QVERIFY(titleTop >= 0 && periodTop + regular.height() <= kH);

        // The title and the period begin at icon width + 16; "Version: " is indented so that it ends where
        // "Entwicklungszeit: " ends.
        const int left = 48;
        const int versionLeft = left + regular.horizontalAdvance(QStringLiteral("Entwicklungszeit: ")) -
                                regular.horizontalAdvance(QStringLiteral("Version: "));
        const int title = FirstInkColumn(banner, 42, 200, titleTop, versionTop);
        const int version = FirstInkColumn(banner, 42, 200, versionTop + 1, periodTop);
        const int period = FirstInkColumn(banner, 42, 200, periodTop + 1, periodTop + regular.height());
        QVERIFY2(title >= left && title <= left + 3, qPrintable(QString::number(title)));
        QVERIFY2(period >= left && period <= left + 3, qPrintable(QString::number(period)));
        QVERIFY2(version >= versionLeft && version <= versionLeft + 3, qPrintable(QString::number(version)));
        QVERIFY(versionLeft > left + 10);
    }

    // The version line shows the build's version and changes with it; an empty version leaves
    // "Version: " alone.
    void versionComesFromTheApplication() {
        TInfo info(desktop_);
        info.SetTexts(QStringLiteral("Tresorix"), QStringLiteral("2006"));
        const QImage withVersion = info.PaintBanner(QSize(kW, kH));
        QCoreApplication::setApplicationVersion(QString());
        const QImage withoutVersion = info.PaintBanner(QSize(kW, kH));
        QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3"));
        const QFontMetrics regular(info.font());
        const int versionTop = static_cast<int>(kH / 2 - 0.5 * regular.height());
        const int versionEnd = 48 + regular.horizontalAdvance(QStringLiteral("Entwicklungszeit: "));
        const QRect before(40, versionTop, versionEnd - 2 - 40, regular.ascent());
        const QRect value(versionEnd, versionTop, 60, regular.ascent());
        QCOMPARE(withVersion.copy(before), withoutVersion.copy(before));
        QVERIFY(withVersion.copy(value) != withoutVersion.copy(value));
        QCOMPARE(
            FirstInkColumn(withoutVersion, versionEnd, 200, versionTop + 1, versionTop + regular.ascent()),
            -1);
    }

    void paintBoxShowsTheBanner() {
        TInfo info(desktop_);
        info.SetTexts(QStringLiteral("Tresorix"), QStringLiteral("2006"));
        info.show();
        QVERIFY(QTest::qWaitForWindowExposed(&info));
        const QImage painted = info.PaintBox_Logo->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(painted, info.PaintBanner(QSize(kW, kH)));
    }

    void linkLabelsUnderlineOnHoverAndTurnRedWhilePressed() {
        TInfo info(desktop_);
        info.show();
        for (QLabel* link : {info.Label_EMail, info.Label_URL}) {
            QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
            QCoreApplication::sendEvent(link, &enter);
            QVERIFY(link->font().underline());
            QTest::mousePress(link, Qt::LeftButton, {}, QPoint(2, 2));
            QCOMPARE(link->palette().color(QPalette::WindowText), TInfo::kLinkPressedColour);
            QTest::mouseRelease(link, Qt::LeftButton, {}, QPoint(2, 2));
            QCOMPARE(link->palette().color(QPalette::WindowText), TInfo::kLinkColour);
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(link, &leave);
            QVERIFY(!link->font().underline());
            // Any button turns it red.
            QTest::mousePress(link, Qt::RightButton, {}, QPoint(2, 2));
            QCOMPARE(link->palette().color(QPalette::WindowText), TInfo::kLinkPressedColour);
            QTest::mouseRelease(link, Qt::RightButton, {}, QPoint(2, 2));
            QCOMPARE(link->palette().color(QPalette::WindowText), TInfo::kLinkColour);
        }
        // Only the left-button clicks count.
        QCOMPARE(desktop_.Opened.size(), 2);
    }

    void mailLinkOpensAMessageWithTheSubject() {
        TInfo info(desktop_);
        info.SetTexts(QStringLiteral("Tresorix"), QStringLiteral("2006"));
        info.show();
        QTest::mouseClick(info.Label_EMail, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(desktop_.Opened.size(), 1);
        const QUrl url = desktop_.Opened.front();
        QCOMPARE(url.scheme(), QStringLiteral("mailto"));
        QCOMPARE(url.path(), TInfo::kEMailAddress);
        QCOMPARE(QUrlQuery(url).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
                 QStringLiteral("Anwendung: Tresorix"));

        // A title with URL syntax in it stays one subject.
        info.SetTexts(QStringLiteral("Sicherung & Co?#1"), QStringLiteral("2006"));
        info.Label_EMailClick();
        const QUrlQuery query(desktop_.Opened.back());
        QCOMPARE(query.queryItems().size(), 1);
        QCOMPARE(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
                 QStringLiteral("Anwendung: Sicherung & Co?#1"));
        QCOMPARE(desktop_.Opened.back().fragment(), QString());
    }

    void webLinkOpensTheAddress() {
        TInfo info(desktop_);
        info.show();
        QTest::mouseClick(info.Label_URL, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(desktop_.Opened, QList<QUrl>({QUrl(QStringLiteral("https://") + TInfo::kWebAddress)}));
    }

    // A press that ends outside the label is no click.
    void releaseOutsideTheLabelOpensNothing() {
        TInfo info(desktop_);
        info.show();
        QTest::mousePress(info.Label_URL, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseRelease(info.Label_URL, Qt::LeftButton, {}, QPoint(-20, 40));
        QVERIFY(desktop_.Opened.isEmpty());
        QCOMPARE(info.Label_URL->palette().color(QPalette::WindowText), TInfo::kLinkColour);
    }

private:
    test::DesktopRecorder desktop_;
};

QTEST_MAIN(TestTInfo)
#include "tst_TInfo.moc"
