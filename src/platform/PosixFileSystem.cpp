// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PosixFileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace trx::platform {

namespace {

int Errno() {
    return errno != 0 ? errno : EIO;
}

// A change of permission bits that the file system does not do (FAT, exFAT, some network shares).
bool IsRefusal(int error) {
    return error == EPERM || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP;
}

int Result(int rc) {
    return rc == 0 ? 0 : Errno();
}

int SetTimesOf(int fd, const FileTime& accessed, const FileTime& modified) {
    const struct timespec times[2] = {{static_cast<time_t>(accessed.Seconds), accessed.Nanoseconds},
                                      {static_cast<time_t>(modified.Seconds), modified.Nanoseconds}};
    return Result(::futimens(fd, times));
}

int SetOwnerOf(int fd, std::uint32_t owner, std::uint32_t group) {
    return Result(::fchown(fd, static_cast<uid_t>(owner), static_cast<gid_t>(group)));
}

// The names first into a buffer on the stack, which holds the usual few; only a longer list asks the size.
int ListAttributeNames(int fd, std::vector<std::string>& names) {
    names.clear();
    char small[1024];
    std::vector<char> large;
    char* buffer = small;
    ssize_t n = ::flistxattr(fd, small, sizeof small);
    while (n < 0 && errno == ERANGE) {
        const ssize_t needed = ::flistxattr(fd, nullptr, 0);
        if (needed < 0) {
            return Errno();
        }
        large.resize(static_cast<std::size_t>(needed) + 1);
        buffer = large.data();
        n = ::flistxattr(fd, buffer, large.size());
    }
    if (n < 0) {
        return Errno();
    }
    for (ssize_t i = 0; i < n;) {
        const std::string name(buffer + i);
        i += static_cast<ssize_t>(name.size()) + 1;
        names.push_back(name);
    }
    return 0;
}

int ReadAttributesOf(int fd, std::vector<ExtendedAttribute>& out) {
    out.clear();
    std::vector<std::string> names;
    if (const int error = ListAttributeNames(fd, names); error != 0) {
        return error;
    }
    for (std::string& name : names) {
        std::string value;
        for (;;) {
            const ssize_t size = ::fgetxattr(fd, name.c_str(), nullptr, 0);
            if (size < 0) {
                break;  // gone meanwhile, or not readable by this process: not copied
            }
            value.resize(static_cast<std::size_t>(size));
            const ssize_t got = ::fgetxattr(fd, name.c_str(), value.data(), value.size());
            if (got >= 0) {
                value.resize(static_cast<std::size_t>(got));
                out.push_back({std::move(name), std::move(value)});
                break;
            }
            if (errno != ERANGE) {
                break;
            }
        }
    }
    return 0;
}

int WriteAttributeOf(int fd, const ExtendedAttribute& attribute) {
    return Result(::fsetxattr(fd, attribute.Name.c_str(), attribute.Value.data(), attribute.Value.size(), 0));
}

int RemoveAttributeOf(int fd, const std::string& name) {
    return Result(::fremovexattr(fd, name.c_str()));
}

class PosixDirectory : public Directory {
public:
    PosixDirectory(std::string path, int fd) : Directory(std::move(path)), fd_(fd) {}
    ~PosixDirectory() override { ::close(fd_); }
    int Fd() const { return fd_; }

private:
    int fd_;
};

class PosixReadableFile : public ReadableFile {
public:
    explicit PosixReadableFile(int fd) : fd_(fd) {}
    ~PosixReadableFile() override { ::close(fd_); }
    int Fd() const { return fd_; }

    int Read(void* data, std::size_t size, std::size_t& done) override {
        for (;;) {
            const ssize_t n = ::read(fd_, data, size);
            if (n >= 0) {
                done = static_cast<std::size_t>(n);
                return 0;
            }
            if (errno != EINTR) {
                done = 0;
                return Errno();
            }
        }
    }

    int Status(EntryInfo& info) override;
    int ReadAttributes(std::vector<ExtendedAttribute>& out) override { return ReadAttributesOf(fd_, out); }

    int NextData(std::uint64_t from, std::uint64_t& start, std::uint64_t& end) override {
        const off_t data = ::lseek(fd_, static_cast<off_t>(from), SEEK_DATA);
        if (data < 0) {
            if (errno != ENXIO) {
                return Errno();
            }
            // Only a hole up to the end.
            const off_t size = ::lseek(fd_, 0, SEEK_END);
            start = end = size < 0 ? from : static_cast<std::uint64_t>(size);
            return 0;
        }
        const off_t hole = ::lseek(fd_, data, SEEK_HOLE);
        if (hole < 0 || ::lseek(fd_, data, SEEK_SET) < 0) {
            return Errno();
        }
        start = static_cast<std::uint64_t>(data);
        end = static_cast<std::uint64_t>(hole);
        return 0;
    }

private:
    int fd_;
};

class PosixWritableFile : public WritableFile {
public:
    explicit PosixWritableFile(int fd) : fd_(fd) {}
    ~PosixWritableFile() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int Fd() const { return fd_; }

    int Write(const void* data, std::size_t size) override {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t n = ::write(fd_, p, size);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                return Errno();
            }
            p += n;
            size -= static_cast<std::size_t>(n);
        }
        return 0;
    }

    int SetMode(std::uint32_t mode) override { return ::fchmod(fd_, mode & 07777) == 0 ? 0 : Errno(); }

    int SetTimes(const FileTime& accessed, const FileTime& modified) override {
        return SetTimesOf(fd_, accessed, modified);
    }
    int SetOwner(std::uint32_t owner, std::uint32_t group) override { return SetOwnerOf(fd_, owner, group); }
    int WriteAttribute(const ExtendedAttribute& attribute) override {
        return WriteAttributeOf(fd_, attribute);
    }
    int RemoveAttribute(const std::string& name) override { return RemoveAttributeOf(fd_, name); }
    int Seek(std::uint64_t offset) override {
        return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0 ? Errno() : 0;
    }
    int SetSize(std::uint64_t size) override { return Result(::ftruncate(fd_, static_cast<off_t>(size))); }

    int Sync() override { return ::fsync(fd_) == 0 ? 0 : Errno(); }

    int Close() override {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : Errno();
    }

private:
    int fd_;
};

// flock belongs to the open file description: a descriptor of its own per lock, so that two locks in one
// process exclude each other as locks of two processes do.
class PosixFileLock : public FileLock {
public:
    explicit PosixFileLock(int fd) : fd_(fd) {}
    ~PosixFileLock() override { ::close(fd_); }

private:
    int fd_;
};

int LockDescriptor(int fd, std::unique_ptr<FileLock>& out) {
    if (fd < 0) {
        return Errno();
    }
    int rc = 0;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int error = Errno();
        ::close(fd);
        return error;
    }
    out = std::make_unique<PosixFileLock>(fd);
    return 0;
}

FileKind KindOf(mode_t mode) {
    if (S_ISREG(mode)) {
        return FileKind::Regular;
    }
    if (S_ISDIR(mode)) {
        return FileKind::Directory;
    }
    if (S_ISLNK(mode)) {
        return FileKind::SymLink;
    }
    return FileKind::Other;
}

FileKind KindOfDirent(unsigned char type) {
    switch (type) {
        case DT_REG:
            return FileKind::Regular;
        case DT_DIR:
            return FileKind::Directory;
        case DT_LNK:
            return FileKind::SymLink;
        case DT_UNKNOWN:
            return FileKind::None;
        default:
            return FileKind::Other;
    }
}

FileTime TimeOf(const struct statx_timestamp& t) {
    return {t.tv_sec, static_cast<long>(t.tv_nsec)};
}

int StatxAt(int fd, const char* name, int flags, EntryInfo& info) {
    struct statx st {};
    const unsigned mask = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_MTIME | STATX_ATIME | STATX_CTIME |
                          STATX_BTIME | STATX_INO | STATX_UID | STATX_GID | STATX_NLINK | STATX_BLOCKS;
    if (::statx(fd, name, flags, mask, &st) != 0) {
        return Errno();
    }
    info.Kind = KindOf(st.stx_mode);
    info.Mode = st.stx_mode & 07777;
    info.Size = st.stx_size;
    info.Modified = TimeOf(st.stx_mtime);
    info.Accessed = TimeOf(st.stx_atime);
    info.Changed = TimeOf(st.stx_ctime);
    info.Created = (st.stx_mask & STATX_BTIME) != 0 ? TimeOf(st.stx_btime) : info.Modified;
    info.Device = (static_cast<std::uint64_t>(st.stx_dev_major) << 32) | st.stx_dev_minor;
    info.Inode = st.stx_ino;
    info.Owner = st.stx_uid;
    info.Group = st.stx_gid;
    info.Links = st.stx_nlink;
    // A file system that does not count blocks says nothing about holes: taken as dense.
    info.Blocks = (st.stx_mask & STATX_BLOCKS) != 0 ? st.stx_blocks : (st.stx_size + 511) / 512;
    return 0;
}

int PosixReadableFile::Status(EntryInfo& info) {
    return StatxAt(fd_, "", AT_EMPTY_PATH, info);
}

int DirFd(Directory& dir) {
    return static_cast<PosixDirectory&>(dir).Fd();
}

int OpenDirectoryFd(int base, const char* path, bool followLastLink) {
    return ::openat(base, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLastLink ? 0 : O_NOFOLLOW));
}

std::string WithSlash(std::string path) {
    if (path.empty() || path.back() != '/') {
        path.push_back('/');
    }
    return path;
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

// ---- whole files by path ----

int PosixFileSystem::ReadWholeFile(const std::string& path, std::string& out) {
    // O_NONBLOCK so that a FIFO given as a project never blocks the open; it is refused below.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return Errno();
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = Errno();
        ::close(fd);
        return error;
    }
    if (!S_ISREG(st.st_mode)) {
        ::close(fd);
        return S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    }
    PosixReadableFile file(fd);
    out.clear();
    out.reserve(static_cast<std::size_t>(st.st_size));
    char buffer[65536];
    for (;;) {
        std::size_t n = 0;
        if (const int error = file.Read(buffer, sizeof buffer, n); error != 0) {
            return error;
        }
        if (n == 0) {
            return 0;
        }
        out.append(buffer, n);
    }
}

int PosixFileSystem::Status(const std::string& path, FileStatus& status, bool followLinks) {
    struct stat st {};
    const int rc = followLinks ? ::stat(path.c_str(), &st) : ::lstat(path.c_str(), &st);
    if (rc != 0) {
        status = FileStatus{};
        return Errno();
    }
    status.kind = KindOf(st.st_mode);
    status.mode = st.st_mode & 07777;
    status.size = static_cast<std::uint64_t>(st.st_size);
    return 0;
}

int PosixFileSystem::RealPath(const std::string& path, std::string& out) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return Errno();
    }
    out = resolved;
    std::free(resolved);
    return 0;
}

int PosixFileSystem::CreateExclusive(const std::string& path, std::uint32_t mode,
                                     std::unique_ptr<WritableFile>& file) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode & 07777);
    if (fd < 0) {
        return Errno();
    }
    file = std::make_unique<PosixWritableFile>(fd);
    return 0;
}

namespace {

// Opens `path` with `flags`, refusing anything but a regular file before a write could block.
int OpenRegularForWriting(const std::string& path, int flags, std::unique_ptr<WritableFile>& file) {
    const int fd = ::open(path.c_str(), flags | O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        return Errno();
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return EINVAL;  // never write into a FIFO or a device
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    file = std::make_unique<PosixWritableFile>(fd);
    return 0;
}

}  // namespace

int PosixFileSystem::OpenForWriting(const std::string& path, std::unique_ptr<WritableFile>& file) {
    return OpenRegularForWriting(path, O_TRUNC, file);
}

int PosixFileSystem::OpenForAppending(const std::string& path, std::unique_ptr<WritableFile>& file) {
    return OpenRegularForWriting(path, O_APPEND, file);
}

int PosixFileSystem::Rename(const std::string& from, const std::string& to) {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : Errno();
}

int PosixFileSystem::RemoveFile(const std::string& path) {
    return ::unlink(path.c_str()) == 0 ? 0 : Errno();
}

int PosixFileSystem::SyncDirectory(const std::string& path) {
    const int fd = OpenDirectoryFd(AT_FDCWD, path.empty() ? "." : path.c_str(), true);
    if (fd < 0) {
        return Errno();
    }
    const int rc = ::fsync(fd) == 0 ? 0 : Errno();
    ::close(fd);
    return rc;
}

int PosixFileSystem::LockFile(const std::string& path, std::unique_ptr<FileLock>& out) {
    // O_NONBLOCK: a FIFO of that name must not hold up the run; flock then fails on it.
    return LockDescriptor(
        ::open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644), out);
}

// ---- directories ----

int PosixFileSystem::MakeDirectory(const std::string& path) {
    return ::mkdir(path.c_str(), 0777) == 0 ? 0 : Errno();
}

int PosixFileSystem::OpenDirectory(const std::string& path, std::unique_ptr<Directory>& out) {
    const int fd = OpenDirectoryFd(AT_FDCWD, path.c_str(), true);
    if (fd < 0) {
        return Errno();
    }
    out = std::make_unique<PosixDirectory>(WithSlash(path), fd);
    return 0;
}

int PosixFileSystem::OpenSubDirectory(Directory& parent, const std::string& name,
                                      std::unique_ptr<Directory>& out) {
    const int fd = OpenDirectoryFd(DirFd(parent), name.c_str(), false);
    if (fd < 0) {
        return Errno();
    }
    out = std::make_unique<PosixDirectory>(parent.Path() + name + "/", fd);
    return 0;
}

int PosixFileSystem::List(Directory& dir, std::vector<ListedEntry>& entries) {
    entries.clear();
    // A descriptor of its own: readdir moves the position, and the directory stays usable for *at calls.
    const int fd = ::openat(DirFd(dir), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return Errno();
    }
    DIR* stream = ::fdopendir(fd);
    if (stream == nullptr) {
        const int error = Errno();
        ::close(fd);
        return error;
    }
    int error = 0;
    for (;;) {
        errno = 0;
        const struct dirent* entry = ::readdir(stream);
        if (entry == nullptr) {
            error = errno;
            break;
        }
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
            continue;
        }
        FileKind kind = KindOfDirent(entry->d_type);
        if (kind == FileKind::None) {
            struct stat st {};
            if (::fstatat(DirFd(dir), name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                continue;  // gone already
            }
            kind = KindOf(st.st_mode);
        }
        if (kind == FileKind::Other) {
            continue;  // FIFOs, sockets and devices are never part of a backup
        }
        entries.push_back({name, kind});
    }
    ::closedir(stream);
    return error;
}

int PosixFileSystem::StatAt(Directory& dir, const std::string& name, EntryInfo& info) {
    return StatxAt(DirFd(dir), name.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, info);
}

int PosixFileSystem::MakeDirectoryAt(Directory& dir, const std::string& name, std::uint32_t mode) {
    return ::mkdirat(DirFd(dir), name.c_str(), mode & 07777) == 0 ? 0 : Errno();
}

int PosixFileSystem::OpenFileAt(Directory& dir, const std::string& name, std::unique_ptr<ReadableFile>& out) {
    // O_NONBLOCK keeps a FIFO that took a file's place from blocking the open; it is refused right after.
    // On a regular file the flag changes nothing, so it stays.
    const int fd = ::openat(DirFd(dir), name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        return Errno();
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return EINVAL;
    }
    out = std::make_unique<PosixReadableFile>(fd);
    return 0;
}

int PosixFileSystem::CreateFileAt(Directory& dir, const std::string& name, std::uint32_t mode,
                                  std::unique_ptr<WritableFile>& out) {
    const int fd = ::openat(DirFd(dir), name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                            mode & 07777);
    if (fd < 0) {
        return Errno();
    }
    auto file = std::make_unique<PosixWritableFile>(fd);
    // The umask took bits away: give them back, since the caller asked for exactly these.
    if ((mode & umask_ & 07777) != 0) {
        if (const int error = file->SetMode(mode); error != 0 && !IsRefusal(error)) {
            file.reset();
            ::unlinkat(DirFd(dir), name.c_str(), 0);
            return error;
        }
    }
    out = std::move(file);
    return 0;
}

int PosixFileSystem::CreateUnnamedFileAt(Directory& dir, const std::string&, std::uint32_t mode,
                                         std::unique_ptr<WritableFile>& out) {
    const int fd = ::openat(DirFd(dir), ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode & 07777);
    if (fd < 0) {
        return Errno();
    }
    auto file = std::make_unique<PosixWritableFile>(fd);
    if ((mode & umask_ & 07777) != 0) {
        if (const int error = file->SetMode(mode); error != 0 && !IsRefusal(error)) {
            return error;
        }
    }
    out = std::move(file);
    return 0;
}

int PosixFileSystem::LinkFileAt(WritableFile& file, Directory& dir, const std::string& name) {
    // Linking the descriptor itself needs a privilege (CAP_DAC_READ_SEARCH) that users lack; for them the
    // same is done through its name under /proc.
    const int fd = static_cast<PosixWritableFile&>(file).Fd();
    if (::linkat(fd, "", DirFd(dir), name.c_str(), AT_EMPTY_PATH) == 0) {
        return 0;
    }
    if (errno != ENOENT && errno != EPERM) {
        return Errno();
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    return ::linkat(AT_FDCWD, self.c_str(), DirFd(dir), name.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0 : Errno();
}

int PosixFileSystem::CopyData(ReadableFile& from, WritableFile& to, std::uint64_t maxBytes,
                              std::uint64_t& copied) {
    const int in = static_cast<PosixReadableFile&>(from).Fd();
    const int out = static_cast<PosixWritableFile&>(to).Fd();
    copied = 0;
    const std::size_t wanted = static_cast<std::size_t>(maxBytes);
    const ssize_t n = ::copy_file_range(in, nullptr, out, nullptr, wanted, 0);
    if (n >= 0) {
        copied = static_cast<std::uint64_t>(n);
        return 0;
    }
    if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP && errno != EPERM) {
        return Errno();
    }
    // Another file system or a kernel without the call: plain reads and writes with a large buffer.
    static constexpr std::size_t kBuffer = 1 << 20;
    thread_local std::unique_ptr<char[]> buffer(new char[kBuffer]);
    std::size_t done = 0;
    if (const int error = from.Read(buffer.get(), std::min(wanted, kBuffer), done); error != 0) {
        return error;
    }
    if (done > 0) {
        if (const int error = to.Write(buffer.get(), done); error != 0) {
            return error;
        }
    }
    copied = done;
    return 0;
}

int PosixFileSystem::ReadLinkAt(Directory& dir, const std::string& name, std::string& target) {
    char buffer[PATH_MAX + 1];
    const ssize_t n = ::readlinkat(DirFd(dir), name.c_str(), buffer, sizeof buffer);
    if (n < 0) {
        return Errno();
    }
    if (static_cast<std::size_t>(n) >= sizeof buffer) {
        return ENAMETOOLONG;
    }
    target.assign(buffer, static_cast<std::size_t>(n));
    return 0;
}

int PosixFileSystem::CreateLinkAt(Directory& dir, const std::string& name, const std::string& target) {
    return ::symlinkat(target.c_str(), DirFd(dir), name.c_str()) == 0 ? 0 : Errno();
}

int PosixFileSystem::SetLinkTimesAt(Directory& dir, const std::string& name, const FileTime& accessed,
                                    const FileTime& modified) {
    const struct timespec times[2] = {{static_cast<time_t>(accessed.Seconds), accessed.Nanoseconds},
                                      {static_cast<time_t>(modified.Seconds), modified.Nanoseconds}};
    return Result(::utimensat(DirFd(dir), name.c_str(), times, AT_SYMLINK_NOFOLLOW));
}

int PosixFileSystem::RenameAt(Directory& fromDir, const std::string& from, Directory& toDir,
                              const std::string& to) {
    return ::renameat(DirFd(fromDir), from.c_str(), DirFd(toDir), to.c_str()) == 0 ? 0 : Errno();
}

int PosixFileSystem::RemoveAt(Directory& dir, const std::string& name, bool directory) {
    return ::unlinkat(DirFd(dir), name.c_str(), directory ? AT_REMOVEDIR : 0) == 0 ? 0 : Errno();
}

int PosixFileSystem::LockDirectory(Directory& dir, std::unique_ptr<FileLock>& out) {
    return LockDescriptor(::openat(DirFd(dir), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC), out);
}

int PosixFileSystem::HardLinkAt(Directory& fromDir, const std::string& from, Directory& toDir,
                                const std::string& to) {
    return Result(::linkat(DirFd(fromDir), from.c_str(), DirFd(toDir), to.c_str(), 0));
}

int PosixFileSystem::SetModeAt(Directory& dir, const std::string& name, std::uint32_t mode) {
    return Result(::fchmodat(DirFd(dir), name.c_str(), mode & 07777, AT_SYMLINK_NOFOLLOW));
}

int PosixFileSystem::SetOwnerAt(Directory& dir, const std::string& name, std::uint32_t owner,
                                std::uint32_t group) {
    return Result(::fchownat(DirFd(dir), name.c_str(), static_cast<uid_t>(owner), static_cast<gid_t>(group),
                             AT_SYMLINK_NOFOLLOW));
}

int PosixFileSystem::SetDirectoryMode(Directory& dir, std::uint32_t mode) {
    return Result(::fchmod(DirFd(dir), mode & 07777));
}

int PosixFileSystem::SetDirectoryOwner(Directory& dir, std::uint32_t owner, std::uint32_t group) {
    return SetOwnerOf(DirFd(dir), owner, group);
}

int PosixFileSystem::SetDirectoryTimes(Directory& dir, const FileTime& accessed, const FileTime& modified) {
    return SetTimesOf(DirFd(dir), accessed, modified);
}

int PosixFileSystem::ReadDirectoryAttributes(Directory& dir, std::vector<ExtendedAttribute>& out) {
    return ReadAttributesOf(DirFd(dir), out);
}

int PosixFileSystem::WriteDirectoryAttribute(Directory& dir, const ExtendedAttribute& attribute) {
    return WriteAttributeOf(DirFd(dir), attribute);
}

int PosixFileSystem::RemoveDirectoryAttribute(Directory& dir, const std::string& name) {
    return RemoveAttributeOf(DirFd(dir), name);
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
