// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/FixedDialogFrame.h"

#include <QWidget>

namespace trx {

void UseFixedDialogFrame(QWidget& dialog, bool minimise) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (minimise) {
        flags |= Qt::WindowMinimizeButtonHint;
    }
    dialog.setWindowFlags(flags);
}

}  // namespace trx
