// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <initializer_list>

class QHBoxLayout;
class QPushButton;

namespace trx {

// A dialog's row of buttons on its right-hand side, in the order given ("OK" before "Abbrechen").
QHBoxLayout* RightAlignedButtons(std::initializer_list<QPushButton*> buttons);

}  // namespace trx
