// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/LocalFiles.h"

#include <QMimeData>
#include <QUrl>

namespace trx {

QStringList LocalFiles(const QMimeData* data) {
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            paths.append(url.toLocalFile());
        }
    }
    return paths;
}

}  // namespace trx
