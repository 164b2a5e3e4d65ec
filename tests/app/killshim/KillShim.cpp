// SPDX-License-Identifier: GPL-3.0-or-later
// Preloaded into the program by the kill tests: counts the calls at which a run changes something on disk
// (a copy chunk, a rename, a link, a deletion, a flush) and kills the process with SIGKILL at the chosen one.
//   TRX_KILL_AT=N        kill right before the N-th counted call
//   TRX_KILL_COUNT=FILE  write the number of counted calls to FILE when the process ends normally
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>

namespace {

std::atomic<long> calls{0};

void Count() {
    static const long killAt = [] {
        const char* value = std::getenv("TRX_KILL_AT");
        return value != nullptr ? std::atol(value) : 0L;
    }();
    const long n = ++calls;
    if (killAt > 0 && n == killAt) {
        ::raise(SIGKILL);
    }
}

template <class F>
F Next(const char* name) {
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}

struct Reporter {
    ~Reporter() {
        if (const char* file = std::getenv("TRX_KILL_COUNT")) {
            if (FILE* out = std::fopen(file, "w")) {
                std::fprintf(out, "%ld\n", calls.load());
                std::fclose(out);
            }
        }
    }
} reporter;

}  // namespace

extern "C" {

ssize_t copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset, size_t length,
                        unsigned flags) {
    Count();
    static auto next = Next<ssize_t (*)(int, off64_t*, int, off64_t*, size_t, unsigned)>("copy_file_range");
    return next(in, inOffset, out, outOffset, length, flags);
}

int renameat(int fromDir, const char* from, int toDir, const char* to) {
    Count();
    static auto next = Next<int (*)(int, const char*, int, const char*)>("renameat");
    return next(fromDir, from, toDir, to);
}

int rename(const char* from, const char* to) {
    Count();
    static auto next = Next<int (*)(const char*, const char*)>("rename");
    return next(from, to);
}

int linkat(int fromDir, const char* from, int toDir, const char* to, int flags) {
    Count();
    static auto next = Next<int (*)(int, const char*, int, const char*, int)>("linkat");
    return next(fromDir, from, toDir, to, flags);
}

int unlinkat(int dir, const char* name, int flags) {
    Count();
    static auto next = Next<int (*)(int, const char*, int)>("unlinkat");
    return next(dir, name, flags);
}

int fsync(int fd) {
    Count();
    static auto next = Next<int (*)(int)>("fsync");
    return next(fd);
}

}  // extern "C"
