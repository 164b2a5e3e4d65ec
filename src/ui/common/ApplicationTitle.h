// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

namespace trx {

// The program's name in captions and message boxes.
inline const QString kApplicationTitle = QStringLiteral("Tresorix");

}  // namespace trx
