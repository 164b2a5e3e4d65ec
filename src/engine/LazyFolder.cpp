// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/LazyFolder.h"

#include "engine/TargetDirectory.h"
#include "platform/FileSystem.h"

namespace trx {

cLazyFolder::~cLazyFolder() = default;

platform::Directory* cLazyFolder::Get() {
    if (!tried_) {
        tried_ = true;
        if (platform::Directory* parent = parent_ != nullptr ? parent_->Get() : nullptr) {
            owned_ = OpenBelow(*parent, name_);
            open_ = owned_.get();
        }
    }
    return open_;
}

}  // namespace trx
