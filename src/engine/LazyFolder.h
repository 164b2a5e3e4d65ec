// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>
#include <string>

namespace trx {

namespace platform {
class Directory;
}

// A target folder that is opened only when someone needs it, and its folders above it with it: the
// comparison after a run goes through every folder of the catalogue, and most of them delete nothing.
class cLazyFolder {
public:
    // A folder open already (null: one that is not there).
    explicit cLazyFolder(platform::Directory* open) : open_(open), tried_(true) {}
    // The sub-folder `name` of `parent`, which MUST outlive it.
    cLazyFolder(cLazyFolder& parent, std::string name) : parent_(&parent), name_(std::move(name)) {}
    ~cLazyFolder();
    cLazyFolder(const cLazyFolder&) = delete;
    cLazyFolder& operator=(const cLazyFolder&) = delete;

    // The folder, opened at the first call; null when it cannot be had.
    platform::Directory* Get();

private:
    cLazyFolder* parent_ = nullptr;
    std::string name_;
    std::unique_ptr<platform::Directory> owned_;
    platform::Directory* open_ = nullptr;
    bool tried_ = false;
};

}  // namespace trx
