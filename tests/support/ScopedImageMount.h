// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace trx::test {

// A FAT or exFAT file system in an image file, mounted through FUSE on an existing folder for as long as
// the object lives: the usual USB disk, for tests of destinations that keep less than ext4. FAT goes
// through fusefat, exFAT through exfat-fuse on a loop device. Needs root, /dev/fuse and the tools of the
// packages dosfstools, fusefat, exfatprogs and exfat-fuse; where anything is missing, Mounted() is false
// and Why() says what, so that the test can skip with that reason. The mount and the loop device go
// away with the object, also when the test failed.
class ScopedImageMount {
public:
    enum class Kind { Fat, ExFat };

    ScopedImageMount(Kind kind, std::string image, std::string folder);
    ~ScopedImageMount();
    ScopedImageMount(const ScopedImageMount&) = delete;
    ScopedImageMount& operator=(const ScopedImageMount&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Why() const { return why_; }

private:
    bool Mount(Kind kind);

    std::string image_;
    std::string folder_;
    std::string loopDevice_;
    std::string why_;
    bool mounted_ = false;
};

}  // namespace trx::test
