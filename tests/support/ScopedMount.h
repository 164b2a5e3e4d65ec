// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace trx::test {

// A small tmpfs mounted on an existing folder for as long as the object lives (or until Unmount), for
// tests of what a run sees when a medium is there and when it is not. Mounting needs root; where it fails,
// Mounted() is false and Why() says why, so that the test can skip with that reason.
class ScopedMount {
public:
    explicit ScopedMount(std::string folder);
    ~ScopedMount();
    ScopedMount(const ScopedMount&) = delete;
    ScopedMount& operator=(const ScopedMount&) = delete;

    bool Mounted() const { return mounted_; }
    const std::string& Why() const { return why_; }
    // Takes the medium away, as pulling a USB disk or a share that drops does; the bare folder stays.
    void Unmount();

private:
    std::string folder_;
    std::string why_;
    bool mounted_ = false;
};

}  // namespace trx::test
