// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/preview/KindIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace trx {

namespace {

using Kind = cPlannedAction::Kind;

void Draw(QPainter& p, Kind kind) {
    const QColor green(0x2E, 0x8B, 0x3A), blue(0x1F, 0x6F, 0xC5), red(0xC6, 0x28, 0x28),
        amber(0xE0, 0x8A, 0x00);
    switch (kind) {
        case Kind::Copy:
            p.setPen(QPen(green, 3.2, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
            p.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
            break;
        case Kind::Replace: {
            p.setPen(QPen(blue, 2, Qt::SolidLine, Qt::RoundCap));
            p.drawArc(QRectF(2.5, 2.5, 11, 11), 30 * 16, 150 * 16);
            p.drawArc(QRectF(2.5, 2.5, 11, 11), 210 * 16, 150 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(blue);
            p.drawPolygon(QPolygonF({QPointF(13.8, 1.5), QPointF(14.5, 7), QPointF(9.5, 5.5)}));
            p.drawPolygon(QPolygonF({QPointF(2.2, 14.5), QPointF(1.5, 9), QPointF(6.5, 10.5)}));
            break;
        }
        case Kind::Delete:
            p.setPen(QPen(red, 3, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
            p.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
            break;
        case Kind::HoldBack:
            p.setPen(Qt::NoPen);
            p.setBrush(amber);
            p.drawRoundedRect(QRectF(3.5, 2.5, 3.3, 11), 1, 1);
            p.drawRoundedRect(QRectF(9.2, 2.5, 3.3, 11), 1, 1);
            break;
        case Kind::Problem: {
            QPainterPath sign;
            sign.addPolygon(
                QPolygonF({QPointF(8, 1.2), QPointF(15, 14.5), QPointF(1, 14.5), QPointF(8, 1.2)}));
            p.setPen(QPen(red, 1.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            p.setBrush(QColor(0xFF, 0xD5, 0x4F));
            p.drawPath(sign);
            p.setPen(QPen(Qt::black, 1.8, Qt::SolidLine, Qt::RoundCap));
            p.drawLine(QPointF(8, 5.8), QPointF(8, 9.8));
            p.drawPoint(QPointF(8, 12.3));
            break;
        }
    }
}

}  // namespace

QIcon KindIcon(cPlannedAction::Kind kind) {
    QIcon icon;
    for (const int size : {16, 32}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / 16.0, size / 16.0);
        Draw(painter, kind);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

QString KindName(cPlannedAction::Kind kind) {
    switch (kind) {
        case Kind::Copy:
            return QStringLiteral("Kopieren");
        case Kind::Replace:
            return QStringLiteral("Ersetzen");
        case Kind::Delete:
            return QStringLiteral("Löschen");
        case Kind::HoldBack:
            return QStringLiteral("Zurückgehalten");
        case Kind::Problem:
            return QStringLiteral("Problem");
    }
    return {};
}

}  // namespace trx
