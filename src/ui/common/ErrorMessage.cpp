// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/ErrorMessage.h"

#include "platform/Desktop.h"
#include "ui/common/ApplicationTitle.h"
#include "ui/common/CaptionWidth.h"

#include <QMessageBox>
#include <cstdio>

namespace trx {

QString WithFullStop(const QString& message) {
    if (!message.isEmpty() && message.back().unicode() > u'.') {
        return message + QLatin1Char('.');
    }
    return message;
}

void ShowErrorMessage(QWidget* parent, const QString& message) {
    const QString text = WithFullStop(message);
    if (!platform::GraphicalDisplayAvailable()) {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        std::fflush(stderr);
        return;
    }
    QMessageBox box(QMessageBox::Critical, kApplicationTitle, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);  // paths may hold "<" or "&"
    FitCaption(box);
    box.exec();
}

}  // namespace trx
