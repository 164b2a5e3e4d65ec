// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

class QMimeData;

namespace trx {

// The local paths among the URLs a drag carries, in their order; anything not local is left out.
QStringList LocalFiles(const QMimeData* data);

}  // namespace trx
