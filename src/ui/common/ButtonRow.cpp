// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/ButtonRow.h"

#include <QHBoxLayout>
#include <QPushButton>

namespace trx {

QHBoxLayout* RightAlignedButtons(std::initializer_list<QPushButton*> buttons) {
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QPushButton* button : buttons) {
        row->addWidget(button);
    }
    return row;
}

}  // namespace trx
