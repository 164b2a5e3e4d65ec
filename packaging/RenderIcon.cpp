// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: renders the scalable application icon into the fixed-size PNGs of the hicolor icon theme,
// so that menus and panels that do not draw SVG, or draw it blurred at small sizes, still show the icon.
// Usage: trx_render_icon <icon.svg> <output folder> <size> [size ...]
// Writes <output folder>/<size>x<size>/apps/<icon name>.png for each size; exit status 1 on any failure.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cstdio>
#include <cstdlib>

namespace {

int Fail(const QString& message) {
    std::fprintf(stderr, "trx_render_icon: %s\n", qPrintable(message));
    return 1;
}

// The icon centred on a transparent square, keeping its proportions should the drawing not be square.
QImage Render(QSvgRenderer& renderer, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(0, 0, size, size));
    painter.end();
    return image;
}

}  // namespace

int main(int argc, char** argv) {
    // A build has no display; the drawing needs none.
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QGuiApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() < 4) {
        return Fail(QStringLiteral("usage: trx_render_icon <icon.svg> <output folder> <size> [size ...]"));
    }
    const QString svgPath = args[1];
    const QDir output(args[2]);
    QSvgRenderer renderer(svgPath);
    if (!renderer.isValid()) {
        return Fail(QStringLiteral("%1 is no readable SVG drawing").arg(svgPath));
    }
    renderer.setAspectRatioMode(Qt::KeepAspectRatio);
    const QString name = QFileInfo(svgPath).completeBaseName() + QStringLiteral(".png");
    for (qsizetype i = 3; i < args.size(); ++i) {
        bool ok = false;
        const int size = args[i].toInt(&ok);
        if (!ok || size <= 0 || size > 4096) {
            return Fail(QStringLiteral("invalid size %1").arg(args[i]));
        }
        const QString folder = QStringLiteral("%1x%1/apps").arg(size);
        if (!output.mkpath(folder)) {
            return Fail(QStringLiteral("cannot create %1").arg(output.filePath(folder)));
        }
        const QString target = output.filePath(folder + u'/' + name);
        if (!Render(renderer, size).save(target, "PNG")) {
            return Fail(QStringLiteral("cannot write %1").arg(target));
        }
    }
    return 0;
}
