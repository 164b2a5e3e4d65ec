// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <string>

namespace trx {

// `folder` ending with "/": unchanged when it already does, and "/" for an empty one.
QString WithTrailingSlash(const QString& folder);
std::string WithTrailingSlash(std::string folder);

}  // namespace trx
