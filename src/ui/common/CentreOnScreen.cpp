// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/CentreOnScreen.h"

#include <QScreen>
#include <QWidget>

namespace trx {

void CentreOnScreen(QWidget& window) {
    if (const QScreen* display = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(display->availableGeometry().center());
        window.move(frame.topLeft());
    }
}

}  // namespace trx
