// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extra/TQVImageButton.h"
#include "ui/extra/TQVImageButtonStyle.h"

#include <QEnterEvent>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

using namespace trx;

namespace {

const QColor kMagenta(255, 0, 255);

// A 12 x 8 picture: a two-pixel border of `border` round a red body that has a hole of `border` at
// (6, 4) and, beside it, one pixel only one step away from magenta.
QPixmap FramedPicture(const QColor& border = kMagenta, const QColor& body = Qt::red) {
    QImage image(12, 8, QImage::Format_RGB32);
    image.fill(border);
    for (int y = 2; y < 6; ++y) {
        for (int x = 2; x < 10; ++x) {
            image.setPixelColor(x, y, body);
        }
    }
    image.setPixelColor(6, 4, border);
    image.setPixelColor(7, 4, QColor(254, 0, 255));
    return QPixmap::fromImage(image);
}

QPixmap Plain(const QColor& colour) {
    QPixmap pixmap(12, 8);
    pixmap.fill(colour);
    return pixmap;
}

bool Shows(const TQVImageButton& button, const QPixmap& picture) {
    return !picture.isNull() && button.Picture().cacheKey() == picture.cacheKey();
}

// Mouse messages straight to the button, as the window would deliver them.
void Send(QWidget& widget, QEvent::Type type, QPoint position, Qt::MouseButton button,
          Qt::MouseButtons buttons) {
    QMouseEvent event(type, position, widget.mapToGlobal(position), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}
void Move(QWidget& widget, QPoint position) {
    Send(widget, QEvent::MouseMove, position, Qt::NoButton, Qt::NoButton);
}
void Press(QWidget& widget, QPoint position) {
    Send(widget, QEvent::MouseButtonPress, position, Qt::LeftButton, Qt::LeftButton);
}
void Release(QWidget& widget, QPoint position) {
    Send(widget, QEvent::MouseButtonRelease, position, Qt::LeftButton, Qt::NoButton);
}
void Enter(QWidget& widget, QPoint position) {
    QEnterEvent event(position, position, widget.mapToGlobal(position));
    QApplication::sendEvent(&widget, &event);
}
void Leave(QWidget& widget) {
    QEvent event(QEvent::Leave);
    QApplication::sendEvent(&widget, &event);
}

// A style with three distinct pictures, the default one framed in magenta.
struct ThreePictureStyle {
    ThreePictureStyle() {
        style.SetDefaultPicture(FramedPicture());
        style.SetHoverPicture(FramedPicture(kMagenta, Qt::yellow));
        style.SetClickPicture(FramedPicture(kMagenta, Qt::blue));
    }
    TQVImageButtonStyle style;
};

}  // namespace

class TestTQVImageButton : public QObject {
    Q_OBJECT

private slots:
    void theRegionLeavesOutExactlyTheTransparentColour() {
        TQVImageButtonStyle style;
        QVERIFY(!style.BtnRgn().has_value());
        style.SetDefaultPicture(FramedPicture());
        QVERIFY(style.BtnRgn().has_value());
        const QRegion& region = *style.BtnRgn();
        const QImage image = style.DefaultPicture().toImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const bool opaque = image.pixelColor(x, y) != kMagenta;
                QVERIFY2(region.contains(QPoint(x, y)) == opaque,
                         qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
            }
        }
        QCOMPARE(region.boundingRect(), QRect(2, 2, 8, 4));
        QVERIFY(region.contains(QPoint(7, 4)));  // one step from the transparent colour is not it

        // The colour comes from the picture: here blue is cut out and magenta stays.
        style.SetDefaultPicture(FramedPicture(Qt::blue, kMagenta));
        QVERIFY(!style.BtnRgn()->contains(QPoint(0, 0)));
        QVERIFY(style.BtnRgn()->contains(QPoint(2, 2)));
        QVERIFY(!style.BtnRgn()->contains(QPoint(6, 4)));

        // A picture of one colour leaves nothing; an empty one leaves no region at all.
        style.SetDefaultPicture(Plain(Qt::green));
        QVERIFY(style.BtnRgn()->isEmpty());
        style.SetDefaultPicture(QPixmap());
        QVERIFY(!style.BtnRgn().has_value());
    }

    void aTransparentButtonReactsOnlyInsideItsRegion() {
        ThreePictureStyle pictures;
        QWidget parent;
        auto* button = new TQVImageButton(&parent);
        button->SetTransparent(true);
        button->SetCursor(Qt::PointingHandCursor);
        button->SetStyle(&pictures.style);
        QCOMPARE(button->size(), QSize(12, 8));
        parent.show();
        QSignalSpy clicks(button, &TQVImageButton::OnClick);
        QSignalSpy enters(button, &TQVImageButton::OnMouseEnter);
        QSignalSpy leaves(button, &TQVImageButton::OnMouseLeave);
        QSignalSpy moves(button, &TQVImageButton::OnMouseMove);

        Enter(*button, QPoint(0, 0));
        Move(*button, QPoint(0, 0));
        QCOMPARE(enters.count(), 1);
        QVERIFY(!button->IsHovering());
        QVERIFY(!button->testAttribute(Qt::WA_SetCursor));  // the parent's cursor
        QVERIFY(Shows(*button, pictures.style.DefaultPicture()));

        // Transparent pixels, the border and the hole inside, take no click.
        for (const QPoint pixel : {QPoint(1, 1), QPoint(6, 4)}) {
            Move(*button, pixel);
            Press(*button, pixel);
            QVERIFY(Shows(*button, pictures.style.DefaultPicture()));
            Release(*button, pixel);
        }
        QCOMPARE(clicks.count(), 0);
        QVERIFY(!button->IsHovering());

        Move(*button, QPoint(3, 3));
        QVERIFY(button->IsHovering());
        QCOMPARE(button->cursor().shape(), Qt::PointingHandCursor);
        QVERIFY(Shows(*button, pictures.style.HoverPicture()));
        Press(*button, QPoint(3, 3));
        QVERIFY(Shows(*button, pictures.style.ClickPicture()));
        Release(*button, QPoint(3, 3));
        QCOMPARE(clicks.count(), 1);
        QVERIFY(Shows(*button, pictures.style.HoverPicture()));

        Move(*button, QPoint(6, 4));  // into the hole
        QVERIFY(!button->IsHovering());
        QVERIFY(!button->testAttribute(Qt::WA_SetCursor));
        QVERIFY(Shows(*button, pictures.style.DefaultPicture()));
        Move(*button, QPoint(5, 4));
        Leave(*button);
        QVERIFY(!button->IsHovering());
        QVERIFY(Shows(*button, pictures.style.DefaultPicture()));
        QCOMPARE(leaves.count(), 1);
        QCOMPARE(moves.count(), 6);
    }

    void releasingOutsideGivesNoClickAndTheDefaultPicture() {
        ThreePictureStyle pictures;
        QWidget parent;
        auto* solid = new TQVImageButton(&parent);
        auto* shaped = new TQVImageButton(&parent);
        shaped->SetTransparent(true);
        solid->SetStyle(&pictures.style);
        shaped->SetStyle(&pictures.style);
        parent.show();
        QSignalSpy solidClicks(solid, &TQVImageButton::OnClick);
        QSignalSpy solidUps(solid, &TQVImageButton::OnMouseUp);
        QSignalSpy shapedClicks(shaped, &TQVImageButton::OnClick);

        // The whole rectangle of a solid button is clickable, its transparent border too.
        Enter(*solid, QPoint(0, 0));
        QVERIFY(solid->IsHovering());
        QVERIFY(Shows(*solid, pictures.style.HoverPicture()));
        Press(*solid, QPoint(0, 0));
        QVERIFY(Shows(*solid, pictures.style.ClickPicture()));
        Release(*solid, QPoint(20, 3));  // dragged off before letting go
        QVERIFY(Shows(*solid, pictures.style.DefaultPicture()));
        QCOMPARE(solidClicks.count(), 0);
        QCOMPARE(solidUps.count(), 1);
        Press(*solid, QPoint(0, 0));
        Release(*solid, QPoint(11, 7));
        QCOMPARE(solidClicks.count(), 1);

        // A shaped button let go of on a transparent pixel.
        Move(*shaped, QPoint(4, 4));
        Press(*shaped, QPoint(4, 4));
        QVERIFY(Shows(*shaped, pictures.style.ClickPicture()));
        Release(*shaped, QPoint(0, 4));
        QVERIFY(Shows(*shaped, pictures.style.DefaultPicture()));
        QCOMPARE(shapedClicks.count(), 0);
    }

    void everyButtonFollowsItsStyle() {
        ThreePictureStyle pictures;
        QWidget parent;
        TQVImageButton* buttons[3];
        for (auto*& button : buttons) {
            button = new TQVImageButton(&parent);
            button->SetStyle(&pictures.style);
        }
        QCOMPARE(pictures.style.Buttons(), (QList<TQVImageButton*>{buttons[0], buttons[1], buttons[2]}));
        Enter(*buttons[0], QPoint(1, 1));
        Enter(*buttons[1], QPoint(1, 1));

        const QPixmap hover = Plain(Qt::cyan);
        pictures.style.SetHoverPicture(hover);
        QVERIFY(Shows(*buttons[0], hover));
        QVERIFY(Shows(*buttons[1], hover));
        QVERIFY(Shows(*buttons[2], pictures.style.DefaultPicture()));

        const QPixmap larger = QPixmap::fromImage(FramedPicture().toImage().scaled(24, 16));
        pictures.style.SetDefaultPicture(larger);
        QVERIFY(Shows(*buttons[2], larger));
        QCOMPARE(buttons[2]->size(), QSize(24, 16));
        QCOMPARE(pictures.style.BtnRgn()->boundingRect(), QRect(4, 4, 16, 8));

        // A new click picture waits for the next press.
        const QPixmap click = Plain(Qt::darkGreen);
        pictures.style.SetClickPicture(click);
        QVERIFY(Shows(*buttons[0], hover));
        Press(*buttons[0], QPoint(1, 1));
        QVERIFY(Shows(*buttons[0], click));
        Release(*buttons[0], QPoint(1, 1));

        // Taking another style's pictures and region reaches every button as well.
        TQVImageButtonStyle other;
        other.SetDefaultPicture(FramedPicture(Qt::blue, Qt::white));
        other.SetHoverPicture(Plain(Qt::gray));
        pictures.style.Assign(other);
        QVERIFY(Shows(*buttons[0], other.HoverPicture()));
        QVERIFY(Shows(*buttons[2], other.DefaultPicture()));
        QCOMPARE(*pictures.style.BtnRgn(), *other.BtnRgn());

        // A destroyed button leaves the list; a destroyed style leaves its buttons without pictures.
        delete buttons[1];
        QCOMPARE(pictures.style.Buttons(), (QList<TQVImageButton*>{buttons[0], buttons[2]}));
        auto doomed = std::make_unique<TQVImageButtonStyle>();
        doomed->SetDefaultPicture(FramedPicture());
        buttons[2]->SetStyle(doomed.get());
        QCOMPARE(pictures.style.Buttons(), QList<TQVImageButton*>{buttons[0]});
        doomed.reset();
        QCOMPARE(buttons[2]->QVImageButtonStyle(), nullptr);
        QVERIFY(buttons[2]->Picture().isNull());
        QVERIFY(buttons[2]->GetBtnRgn() == nullptr);

        // Without a style a transparent button has nothing to hover over or click.
        QSignalSpy clicks(buttons[2], &TQVImageButton::OnClick);
        buttons[2]->SetTransparent(true);
        Move(*buttons[2], QPoint(4, 4));
        Press(*buttons[2], QPoint(4, 4));
        Release(*buttons[2], QPoint(4, 4));
        QVERIFY(!buttons[2]->IsHovering());
        QCOMPARE(clicks.count(), 0);
    }

    void aTransparentButtonDrawsNothingOfItsTransparentColour() {
        ThreePictureStyle pictures;
        QWidget parent;
        parent.setAutoFillBackground(true);
        QPalette palette = parent.palette();
        palette.setColor(QPalette::Window, Qt::white);
        parent.setPalette(palette);
        auto* button = new TQVImageButton(&parent);
        button->SetTransparent(true);
        button->SetStyle(&pictures.style);
        parent.resize(40, 40);
        const QImage drawn = parent.grab().toImage();
        QCOMPARE(drawn.pixelColor(0, 0), QColor(Qt::white));
        QCOMPARE(drawn.pixelColor(6, 4), QColor(Qt::white));
        QCOMPARE(drawn.pixelColor(3, 3), QColor(Qt::red));
        button->SetTransparent(false);
        QCOMPARE(parent.grab().toImage().pixelColor(0, 0), kMagenta);
    }
};

QTEST_MAIN(TestTQVImageButton)
#include "tst_TQVImageButton.moc"
