// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/HardLinks.h"

namespace trx {

const cHardLinks::cCopy* cHardLinks::Find(const platform::EntryInfo& source) const {
    const auto it = copies_.find({source.Device, source.Inode});
    return it == copies_.end() ? nullptr : &it->second;
}

void cHardLinks::Remember(const platform::EntryInfo& source, cCopy copy) {
    copies_.insert_or_assign({source.Device, source.Inode}, std::move(copy));
}

}  // namespace trx
