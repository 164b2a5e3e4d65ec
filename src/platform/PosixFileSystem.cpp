// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PosixFileSystem.h"

#include "platform/PosixCalls.h"
#include "platform/PosixDirectory.h"
#include "platform/PosixFiles.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace trx::platform {

using posix::Checked;
using posix::LastError;

namespace {

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') {
        path.push_back('/');
    }
    return path;
}

// Reads the open regular file `fd` of `size` bytes to its end; closes it.
Result<std::string> ReadToEnd(int fd, std::size_t size) {
    posix::PosixReadableFile file(fd);
    std::string out;
    out.reserve(size);
    char buffer[65536];
    for (;;) {
        auto n = file.Read(buffer, sizeof buffer);
        if (!n) {
            return Failure{n.Error()};
        }
        if (*n == 0) {
            return out;
        }
        out.append(buffer, *n);
    }
}

}  // namespace

PosixFileSystem::PosixFileSystem() {
    // Read once: the umask can only be read by setting it.
    umask_ = ::umask(022);
    ::umask(umask_);
}

void RaiseOpenFileLimit() {
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_NOFILE, &limit) == 0 && limit.rlim_cur < limit.rlim_max) {
        limit.rlim_cur = limit.rlim_max;
        ::setrlimit(RLIMIT_NOFILE, &limit);
    }
}

Result<std::string> PosixFileSystem::ReadWholeFile(const std::string& path) {
    // O_NONBLOCK so that a FIFO given as a project never blocks the open; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return LastError();
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const Failure failure = S_ISDIR(st.st_mode) ? Failure{EISDIR}
                                : st.st_mode != 0   ? Failure{EINVAL}
                                                    : LastError();
        ::close(fd);
        return failure;
    }
    return ReadToEnd(fd, static_cast<std::size_t>(st.st_size));
}

Result<FileStatus> PosixFileSystem::Stat(const std::string& path, bool followLinks) {
    struct stat st {};
    const int rc = followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    if (rc != 0) {
        return LastError();
    }
    return FileStatus{posix::KindOfMode(st.st_mode), st.st_mode & 07777u,
                      static_cast<std::uint64_t>(st.st_size)};
}

Result<std::string> PosixFileSystem::RealPath(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return LastError();
    }
    std::string out = resolved;
    std::free(resolved);
    return out;
}

Result<std::unique_ptr<WritableFile>> PosixFileSystem::CreateExclusive(const std::string& path,
                                                                       std::uint32_t mode) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode & 07777);
    if (fd < 0) {
        return LastError();
    }
    return std::make_unique<posix::PosixWritableFile>(fd);
}

Result<std::unique_ptr<WritableFile>> PosixFileSystem::OpenForWriting(const std::string& path) {
    return posix::OpenRegularForWriting(path, O_TRUNC);
}

Result<std::unique_ptr<WritableFile>> PosixFileSystem::OpenForAppending(const std::string& path) {
    return posix::OpenRegularForWriting(path, O_APPEND);
}

Status PosixFileSystem::Rename(const std::string& from, const std::string& to) {
    return Checked(::rename(from.c_str(), to.c_str()));
}

Status PosixFileSystem::RemoveFile(const std::string& path) {
    return Checked(::unlink(path.c_str()));
}

Status PosixFileSystem::SyncDirectory(const std::string& path) {
    const int fd = posix::OpenDirectoryFd(AT_FDCWD, path.empty() ? "." : path.c_str(), true);
    if (fd < 0) {
        return LastError();
    }
    const Status synced = Checked(::fsync(fd));
    ::close(fd);
    return synced;
}

Result<std::unique_ptr<FileLock>> PosixFileSystem::LockFile(const std::string& path) {
    // O_NONBLOCK: a FIFO of that name must not hold up the run; flock then fails on it.
    return posix::LockDescriptor(
        ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644));
}

Status PosixFileSystem::MakeDirectory(const std::string& path) {
    return Checked(::mkdir(path.c_str(), 0777));
}

Result<std::unique_ptr<Directory>> PosixFileSystem::OpenDirectory(const std::string& path) {
    const int fd = posix::OpenDirectoryFd(AT_FDCWD, path.c_str(), true);
    if (fd < 0) {
        return LastError();
    }
    return std::make_unique<posix::PosixDirectory>(WithSlash(path), fd, umask_);
}

ProcessIdentity PosixFileSystem::Identity() {
    ProcessIdentity identity;
    identity.User = ::geteuid();
    identity.Group = ::getegid();
    const int count = ::getgroups(0, nullptr);
    if (count > 0) {
        std::vector<gid_t> groups(static_cast<std::size_t>(count));
        const int got = ::getgroups(count, groups.data());
        identity.Groups.assign(groups.begin(), groups.begin() + std::max(got, 0));
    }
    return identity;
}

}  // namespace trx::platform
