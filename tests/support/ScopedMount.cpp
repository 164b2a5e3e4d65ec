// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScopedMount.h"

#include <sys/mount.h>
#include <cerrno>
#include <cstring>

namespace trx::test {

ScopedMount::ScopedMount(std::string folder) : folder_(std::move(folder)) {
    if (::mount("tmpfs", folder_.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=4m,mode=0755") == 0) {
        mounted_ = true;
    } else {
        why_ = std::string("cannot mount a tmpfs for this test (") + std::strerror(errno) + "; needs root)";
    }
}

ScopedMount::~ScopedMount() {
    Unmount();
}

void ScopedMount::Unmount() {
    if (mounted_) {
        ::umount2(folder_.c_str(), MNT_DETACH);
        mounted_ = false;
    }
}

}  // namespace trx::test
