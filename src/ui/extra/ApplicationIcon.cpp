// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extra/ApplicationIcon.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

// The resource initialiser lives in the global namespace; a static library drops the resource object
// file unless something calls it.
static void InitExtraResourcesOnce() {
    Q_INIT_RESOURCE(extra_resources);
}

namespace trx {

void InitExtraResources() {
    static const bool done = (InitExtraResourcesOnce(), true);
    (void)done;
}

QIcon ApplicationIcon() {
    // Rendered here rather than left to an icon engine plugin, so the icon does not depend on what the
    // Qt installation carries. Not cached: pixmaps must not outlive the application object.
    InitExtraResources();
    QSvgRenderer renderer(kApplicationIconResource);
    QIcon icon;
    for (const int size : {16, 20, 22, 24, 32, 40, 48, 64, 96, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        renderer.render(&painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

QImage LogoImage(qreal devicePixelRatio) {
    InitExtraResources();
    QSvgRenderer renderer(kLogoResource);
    QImage image(renderer.defaultSize() * devicePixelRatio, QImage::Format_RGB32);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(renderer.defaultSize())));
    return image;
}

}  // namespace trx
