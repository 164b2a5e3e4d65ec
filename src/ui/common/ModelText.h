// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

namespace trx {

// The model holds its texts and paths as UTF-8; the windows show them as QString.
QString FromModel(const std::string& text);
std::string ToModel(const QString& text);

}  // namespace trx
