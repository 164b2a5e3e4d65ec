// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/extra/TQVImageButtonStyle.h"

#include "ui/extra/TQVImageButton.h"

#include <QImage>
#include <QRect>
#include <cstring>

namespace trx {

TQVImageButtonStyle::TQVImageButtonStyle(QObject* parent) : QObject(parent) {
}

TQVImageButtonStyle::~TQVImageButtonStyle() {
    // Each button takes itself off the list while it lets go, so walk a copy.
    const QList<TQVImageButton*> attached = buttons_;
    for (TQVImageButton* button : attached) {
        button->SetStyle(nullptr);
    }
}

void TQVImageButtonStyle::SetDefaultPicture(const QPixmap& picture) {
    defaultPicture_ = picture;
    createBtnRgn();
    refreshButtons();
}

void TQVImageButtonStyle::SetHoverPicture(const QPixmap& picture) {
    hoverPicture_ = picture;
    refreshButtons();
}

void TQVImageButtonStyle::SetClickPicture(const QPixmap& picture) {
    clickPicture_ = picture;
}

void TQVImageButtonStyle::Assign(const TQVImageButtonStyle& source) {
    if (&source == this) {
        return;
    }
    defaultPicture_ = source.defaultPicture_;
    hoverPicture_ = source.hoverPicture_;
    clickPicture_ = source.clickPicture_;
    btnRgn_ = source.btnRgn_;
    refreshButtons();
}

void TQVImageButtonStyle::createBtnRgn() {
    btnRgn_.reset();
    if (defaultPicture_.isNull()) {
        return;
    }
    // Three bytes per pixel, so that only the colour counts, compared byte for byte.
    const QImage image = defaultPicture_.toImage().convertToFormat(QImage::Format_RGB888);
    const int width = image.width();
    const int height = image.height();
    unsigned char transparent[3];
    std::memcpy(transparent, image.constScanLine(height - 1), 3);

    // Collecting the runs of other colours row by row gives the same region as cutting the transparent
    // runs out of the whole rectangle, without reshaping a growing region once per run. Rows are united
    // pairwise so that large pictures stay cheap.
    QList<QRegion> rows;
    rows.reserve(height);
    QList<QRect> runs;
    for (int y = 0; y < height; ++y) {
        const unsigned char* line = image.constScanLine(y);
        const auto isTransparent = [&](int x) { return std::memcmp(line + 3 * x, transparent, 3) == 0; };
        runs.clear();
        int x = 0;
        while (x < width) {
            if (isTransparent(x)) {
                ++x;
                continue;
            }
            const int start = x;
            while (x < width && !isTransparent(x)) {
                ++x;
            }
            runs.append(QRect(start, y, x - start, 1));
        }
        QRegion row;
        row.setRects(runs.constData(), static_cast<int>(runs.size()));
        rows.append(row);
    }
    while (rows.size() > 1) {
        QList<QRegion> merged;
        merged.reserve(rows.size() / 2 + 1);
        for (qsizetype i = 0; i + 1 < rows.size(); i += 2) {
            merged.append(rows[i].united(rows[i + 1]));
        }
        if (rows.size() % 2 != 0) {
            merged.append(rows.last());
        }
        rows.swap(merged);
    }
    btnRgn_ = rows.isEmpty() ? QRegion() : rows.first();
}

void TQVImageButtonStyle::appendButton(TQVImageButton* button) {
    if (button != nullptr && !buttons_.contains(button)) {
        buttons_.append(button);
    }
}

void TQVImageButtonStyle::deleteButton(TQVImageButton* button) {
    buttons_.removeAll(button);
}

void TQVImageButtonStyle::refreshButtons() {
    for (TQVImageButton* button : buttons_) {
        button->refreshStyle();
    }
}

}  // namespace trx
