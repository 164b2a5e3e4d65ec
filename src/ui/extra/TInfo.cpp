// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extra/TInfo.h"

#include "ui/common/DesktopServices.h"
#include "ui/common/FixedDialogFrame.h"
#include "ui/extra/ApplicationIcon.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFontMetrics>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QUrl>
#include <QUrlQuery>
#include <algorithm>

namespace trx {

namespace {

// The box's measures in a small font; a larger desktop font makes the banner, the rows of text and the
// box as much larger as its lines need.
constexpr int kClientWidth = 435;
constexpr int kClientHeight = 132;
constexpr int kBannerHeight = 65;
constexpr int kMargin = 8;  // the labels under the banner end this far from the right edge
constexpr int kIconSize = 32;
constexpr int kLogoTop = 4;
const QColor kBannerStart(74, 160, 255);

}  // namespace

TInfo::TInfo(cDesktopServices& desktop, QWidget* parent) : QDialog(parent), desktop_(desktop) {
    setObjectName(QStringLiteral("Info"));
    setWindowTitle(QStringLiteral("Info"));
    UseFixedDialogFrame(*this);

    PaintBox_Logo = new QWidget(this);
    PaintBox_Logo->setObjectName(QStringLiteral("PaintBox_Logo"));
    PaintBox_Logo->installEventFilter(this);

    Label_Info = new QLabel(this);
    Label_Info->setObjectName(QStringLiteral("Label_Info"));
    Label_EMail = new QLabel(this);
    Label_EMail->setObjectName(QStringLiteral("Label_EMail"));
    Label_URL = new QLabel(this);
    Label_URL->setObjectName(QStringLiteral("Label_URL"));
    for (QLabel* link : {Label_EMail, Label_URL}) {
        link->setCursor(Qt::PointingHandCursor);
        link->installEventFilter(this);
        SetLinkColour(link, kLinkColour);
    }

    Button_OK = new QPushButton(QStringLiteral("OK"), this);
    Button_OK->setObjectName(QStringLiteral("Button_OK"));
    Button_OK->setDefault(true);
    connect(Button_OK, &QPushButton::clicked, this, &QDialog::accept);

    // FormCreate
    logo_ = LogoImage();
    Label_Info->setText(kCreditLine);
    Label_EMail->setText(kEMailAddress);
    Label_URL->setText(kWebAddress);
    Label_License = new QLabel(kLicense, this);
    Label_License->setObjectName(QStringLiteral("Label_License"));
    Label_License->setToolTip(kLicenseName);
    LayOut();
}

void TInfo::LayOut() {
    const int line = fontMetrics().height();
    // The banner holds the title and two lines; the three labels below it come one under the other, the
    // licence stands on the left above the button.
    const int banner = std::max(kBannerHeight, 3 * line + 16);
    const int infoTop = banner + 8;
    const int eMailTop = infoTop + std::max(20, line + 6);
    const int urlTop = eMailTop + std::max(16, line + 2);
    const QSize button = Button_OK->sizeHint().expandedTo(QSize(75, 25));
    int labels = 0;
    for (QLabel* label : {Label_Info, Label_EMail, Label_URL}) {
        // Underlining on hover must not change the width, so the label keeps the size of its plain text.
        label->adjustSize();
        labels = std::max(labels, label->width());
    }
    Label_License->adjustSize();
    const int left = std::max(button.width(), Label_License->width());
    const int width = std::max(kClientWidth, kMargin + left + 2 * kMargin + labels + kMargin);
    const int height = std::max(kClientHeight, urlTop + Label_URL->height() + kMargin);
    setFixedSize(width, height);  // a fixed dialog border
    PaintBox_Logo->setGeometry(0, 0, width, banner);
    Label_Info->move(width - kMargin - Label_Info->width(), infoTop);
    Label_EMail->move(width - kMargin - Label_EMail->width(), eMailTop);
    Label_URL->move(width - kMargin - Label_URL->width(), urlTop);
    Label_License->move(kMargin, infoTop);
    Button_OK->setGeometry(kMargin, height - kMargin - button.height(), button.width(), button.height());
}

int TInfo::ShowAbout(const QString& title, const QString& developmentPeriod) {
    SetTexts(title, developmentPeriod);
    return exec();
}

void TInfo::SetTexts(const QString& title, const QString& developmentPeriod) {
    title_ = title;
    developmentPeriod_ = developmentPeriod;
    PaintBox_Logo->update();
}

QColor TInfo::BannerBlend(double fraction) {
    const auto channel = [fraction](int start) { return start + static_cast<int>((255 - start) * fraction); };
    return QColor(channel(kBannerStart.red()), channel(kBannerStart.green()), channel(kBannerStart.blue()));
}

QImage TInfo::PaintBanner(QSize size, qreal devicePixelRatio) const {
    const int w = size.width();
    const int h = size.height();
    QImage banner(size * devicePixelRatio, QImage::Format_RGB32);
    banner.setDevicePixelRatio(devicePixelRatio);
    banner.fill(Qt::white);
    QPainter painter(&banner);

    // From the start colour at the left edge to white at three quarters of the width, and back to the
    // start colour at the right edge. One-pixel columns, so scaling never leaves gaps between them.
    const int n = static_cast<int>(0.75 * w);
    for (int x = 0; x <= n; ++x) {
        painter.fillRect(QRect(x, 0, 1, h), BannerBlend(n == 0 ? 1.0 : static_cast<double>(x) / n));
    }
    const int m = static_cast<int>(0.25 * w);
    for (int i = 0; i <= m; ++i) {
        painter.fillRect(QRect(w - i, 0, 1, h), BannerBlend(m == 0 ? 1.0 : static_cast<double>(i) / m));
    }

    // The logo's white lets the gradient through; its ink darkens what lies beneath.
    const QImage logo =
        qFuzzyCompare(logo_.devicePixelRatio(), devicePixelRatio) ? logo_ : LogoImage(devicePixelRatio);
    const int logoWidth = static_cast<int>(logo.deviceIndependentSize().width());
    painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
    painter.drawImage(QPoint(w - m - logoWidth / 2, kLogoTop), logo);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    const int iconTop = (h - kIconSize) / 2;
    ApplicationIcon().paint(&painter, QRect(8, iconTop, kIconSize, kIconSize));
    painter.setPen(QPen(Qt::black, 1));
    painter.setBrush(Qt::NoBrush);
    // Corners (7, top - 1) and (icon width + 8, (h + icon height) / 2): one pixel around the icon.
    painter.drawRect(QRect(7, iconTop - 1, kIconSize + 1, kIconSize + 1));

    // Text lines are placed by their top edge.
    const auto write = [&painter](int x, int top, const QString& text) {
        painter.drawText(x, top + painter.fontMetrics().ascent(), text);
    };
    const int textLeft = kIconSize + 16;
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(Qt::black);
    write(textLeft, static_cast<int>(h / 2 - 1.5 * painter.fontMetrics().height()), title_);

    painter.setFont(font());
    const QFontMetrics regular = painter.fontMetrics();
    const QString versionLabel = QStringLiteral("Version: ");
    const QString periodLabel = QStringLiteral("Entwicklungszeit: ");
    // "Version: " ends where "Entwicklungszeit: " ends, so both values start in one column.
    write(textLeft + regular.horizontalAdvance(periodLabel) - regular.horizontalAdvance(versionLabel),
          static_cast<int>(h / 2 - 0.5 * regular.height()),
          versionLabel + QCoreApplication::applicationVersion());
    write(textLeft, static_cast<int>(h / 2 + 0.5 * regular.height()), periodLabel + developmentPeriod_);
    return banner;
}

void TInfo::PaintBox_LogoPaint() {
    QPainter painter(PaintBox_Logo);
    painter.drawImage(QPoint(0, 0), PaintBanner(PaintBox_Logo->size(), PaintBox_Logo->devicePixelRatioF()));
}

void TInfo::Label_LinkMouseEnter(QLabel* label) {
    QFont underlined = label->font();
    underlined.setUnderline(true);
    label->setFont(underlined);
}

void TInfo::Label_LinkMouseLeave(QLabel* label) {
    QFont plain = label->font();
    plain.setUnderline(false);
    label->setFont(plain);
}

void TInfo::Label_LinkMouseDown(QLabel* label) {
    SetLinkColour(label, kLinkPressedColour);
}

void TInfo::Label_LinkMouseUp(QLabel* label) {
    SetLinkColour(label, kLinkColour);
}

void TInfo::Label_EMailClick() {
    // The subject travels as a query item, so a title holding "&", "?" or "#" stays one subject.
    QUrl url(QStringLiteral("mailto:") + kEMailAddress);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"), QStringLiteral("Anwendung: ") + title_);
    url.setQuery(query);
    desktop_.OpenUrl(url);
}

void TInfo::Label_URLClick() {
    desktop_.OpenUrl(QUrl(QStringLiteral("https://") + kWebAddress));
}

bool TInfo::eventFilter(QObject* watched, QEvent* event) {
    if (watched == PaintBox_Logo && event->type() == QEvent::Paint) {
        PaintBox_LogoPaint();
        return true;
    }
    auto* label = qobject_cast<QLabel*>(watched);
    if (label == nullptr || (label != Label_EMail && label != Label_URL)) {
        return QDialog::eventFilter(watched, event);
    }
    switch (event->type()) {
        case QEvent::Enter:
            Label_LinkMouseEnter(label);
            break;
        case QEvent::Leave:
            Label_LinkMouseLeave(label);
            break;
        case QEvent::MouseButtonPress:
            Label_LinkMouseDown(label);
            break;
        case QEvent::MouseButtonRelease: {
            Label_LinkMouseUp(label);
            // A click is a left-button release over the label, as for a button.
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint())) {
                if (label == Label_EMail) {
                    Label_EMailClick();
                } else {
                    Label_URLClick();
                }
            }
            break;
        }
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

void TInfo::SetLinkColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

}  // namespace trx
