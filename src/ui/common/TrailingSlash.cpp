// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/TrailingSlash.h"

namespace trx {

QString WithTrailingSlash(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

std::string WithTrailingSlash(std::string folder) {
    if (folder.empty() || folder.back() != '/') {
        folder += '/';
    }
    return folder;
}

}  // namespace trx
