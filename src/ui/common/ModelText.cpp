// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/ModelText.h"

namespace trx {

QString FromModel(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToModel(const QString& text) {
    return text.toUtf8().toStdString();
}

}  // namespace trx
