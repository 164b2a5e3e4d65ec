// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FileInputs.h"

#include "platform/Text.h"

namespace trx {

void cFileInputs::SetName(std::string_view name) {
    Name.assign(name);
    const std::size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        Extension.clear();
        return;
    }
    Extension.assign(name.substr(dot));
    for (char& c : Extension) {
        c = text::AsciiUpper(c);
    }
}

}  // namespace trx
