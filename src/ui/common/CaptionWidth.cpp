// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/CaptionWidth.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>
#include <QWidget>

namespace trx {

int CaptionWidth(const QWidget& window) {
    QFont title = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    title.setBold(true);
    const QFontMetrics metrics(title);
    // A title bar holds the window icon and up to three buttons of about the text's height each, with
    // padding around every one of them and the text.
    const int decoration = 5 * metrics.height() + 40;
    return metrics.horizontalAdvance(window.windowTitle()) + decoration;
}

void FitCaption(QMessageBox& box) {
    WidenTo(box, CaptionWidth(box));
}

void WidenTo(QMessageBox& box, int width) {
    // QMessageBox fixes its size from its layout's minimum when it is shown; a spacer across the whole grid
    // is the one way to raise that minimum.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

}  // namespace trx
