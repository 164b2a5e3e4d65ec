// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileTypes.h"
#include "platform/Result.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace trx {

namespace platform {
class Directory;
}
class cWorkerPool;

// The stats of one folder's candidates, taken by the workers a little ahead of the walk, which takes
// them in order: the kernel's lookups of many files overlap on all cores, while every decision stays on
// the walk's thread. A stat no worker has begun yet when the walk needs it is taken by the walk itself,
// so without workers this is the plain stat of every entry as it comes. Only a window of entries is
// taken ahead: the walk sees each entry moments before it decides, and memory stays small in huge folders.
class cStatPrefetch {
public:
    struct cRequest {
        const std::string* Name;
        bool WithTarget;  // the target folder's entry of that name is stat'ed too
    };
    struct cStats {
        platform::Result<platform::EntryInfo> Source{platform::Failure(ENOENT)};
        platform::Result<platform::EntryInfo> Target{platform::Failure(ENOENT)};
    };

    // `pool` may be null or have no threads; `targetDir` null where no target entry is asked for. Both
    // folders stay open until this object is gone.
    cStatPrefetch(cWorkerPool* pool, platform::Directory& sourceDir, platform::Directory* targetDir,
                  std::vector<cRequest> requests);
    // Waits for the stats that workers are taking; those not begun are never taken.
    ~cStatPrefetch();
    cStatPrefetch(const cStatPrefetch&) = delete;
    cStatPrefetch& operator=(const cStatPrefetch&) = delete;

    // The stats of the k-th request; k only ever grows from one call to the next.
    const cStats& Get(std::size_t k);

    static constexpr std::size_t kWindow = 128;

private:
    struct cWindow;
    std::shared_ptr<cWindow> StartWindow(std::size_t first);
    // Takes the stats of that slot unless someone else has begun them; true when it did.
    bool TryTake(cWindow& window, std::size_t slot) const;
    void Take(cWindow& window, std::size_t slot) const;

    cWorkerPool* pool_;
    platform::Directory& sourceDir_;
    platform::Directory* targetDir_;
    std::vector<cRequest> requests_;
    std::shared_ptr<cWindow> current_;
    std::shared_ptr<cWindow> next_;
};

}  // namespace trx
