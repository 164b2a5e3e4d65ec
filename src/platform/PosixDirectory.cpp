// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PosixDirectory.h"

#include "platform/PosixCalls.h"
#include "platform/PosixFiles.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <climits>

namespace trx::platform::posix {

namespace {

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

bool IsDotOrDotDot(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

}  // namespace

PosixDirectory::~PosixDirectory() {
    ::close(fd_);
}

Result<std::vector<ListedEntry>> PosixDirectory::List() {
    // A descriptor of its own: readdir moves the position, and the directory stays usable for *at calls.
    const int fd = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return LastError();
    }
    DIR* stream = ::fdopendir(fd);
    if (stream == nullptr) {
        const Failure failure = LastError();
        ::close(fd);
        return failure;
    }
    std::vector<ListedEntry> entries;
    int error = 0;
    for (;;) {
        errno = 0;
        const struct dirent* entry = ::readdir(stream);
        if (entry == nullptr) {
            error = errno;
            break;
        }
        if (IsDotOrDotDot(entry->d_name)) {
            continue;
        }
        FileKind kind = KindOfDirent(entry->d_type);
        if (kind == FileKind::None) {
            struct stat st {};
            if (::fstatat(fd_, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
                continue;  // gone already
            }
            kind = KindOfMode(st.st_mode);
        }
        if (kind != FileKind::Other) {  // FIFOs, sockets and devices are never part of a backup
            entries.push_back({entry->d_name, kind});
        }
    }
    ::closedir(stream);
    if (error != 0) {
        return Failure{error};
    }
    return entries;
}

Result<EntryInfo> PosixDirectory::Stat(const std::string& name) {
    return StatxAt(fd_, name.c_str(), AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT);
}

Result<std::unique_ptr<Directory>> PosixDirectory::OpenSub(const std::string& name) {
    const int fd = OpenDirectoryFd(fd_, name.c_str(), false);
    if (fd < 0) {
        return LastError();
    }
    return std::make_unique<PosixDirectory>(Path() + name + "/", fd, umask_);
}

Result<std::unique_ptr<Directory>> PosixDirectory::Reopen() {
    const int fd = OpenDirectoryFd(fd_, ".", false);
    if (fd < 0) {
        return LastError();
    }
    return std::make_unique<PosixDirectory>(Path(), fd, umask_);
}

Status PosixDirectory::MakeSub(const std::string& name, std::uint32_t mode) {
    return Checked(::mkdirat(fd_, name.c_str(), mode & 07777));
}

Result<std::unique_ptr<ReadableFile>> PosixDirectory::OpenFile(const std::string& name) {
    // O_NONBLOCK keeps a FIFO that took a file's place from blocking the open; it is refused right after.
    // On a regular file the flag changes nothing, so it stays.
    const int fd = ::openat(fd_, name.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (fd < 0) {
        return LastError();
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Failure{EINVAL};
    }
    return std::make_unique<PosixReadableFile>(fd);
}

Status PosixDirectory::RestoreBits(WritableFile& file, std::uint32_t mode) const {
    if ((mode & umask_ & 07777) == 0) {
        return {};
    }
    Status set = file.SetMode(mode);
    return set || IsRefusal(set.Error()) ? Status() : set;
}

Result<std::unique_ptr<WritableFile>> PosixDirectory::CreateFile(const std::string& name, std::uint32_t mode,
                                                                 NewBits bits) {
    const int fd =
        ::openat(fd_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode & 07777);
    if (fd < 0) {
        return LastError();
    }
    auto file = std::make_unique<PosixWritableFile>(fd);
    if (Status restored = bits == NewBits::Exact ? RestoreBits(*file, mode) : Status(); !restored) {
        file.reset();
        ::unlinkat(fd_, name.c_str(), 0);
        return Failure{restored.Error()};
    }
    return file;
}

Result<std::unique_ptr<WritableFile>> PosixDirectory::CreateUnnamedFile(const std::string&,
                                                                        std::uint32_t mode) {
    const int fd = ::openat(fd_, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, mode & 07777);
    if (fd < 0) {
        return LastError();
    }
    auto file = std::make_unique<PosixWritableFile>(fd);
    if (Status bits = RestoreBits(*file, mode); !bits) {
        return Failure{bits.Error()};
    }
    return file;
}

Result<std::string> PosixDirectory::ReadLink(const std::string& name) {
    char buffer[PATH_MAX + 1];
    const ssize_t n = ::readlinkat(fd_, name.c_str(), buffer, sizeof buffer);
    if (n < 0) {
        return LastError();
    }
    if (static_cast<std::size_t>(n) >= sizeof buffer) {
        return Failure{ENAMETOOLONG};
    }
    return std::string(buffer, static_cast<std::size_t>(n));
}

Status PosixDirectory::CreateLink(const std::string& name, const std::string& target) {
    return Checked(::symlinkat(target.c_str(), fd_, name.c_str()));
}

Status PosixDirectory::SetLinkTimes(const std::string& name, const FileTime& accessed,
                                    const FileTime& modified) {
    const struct timespec times[2] = {{static_cast<time_t>(accessed.Seconds), accessed.Nanoseconds},
                                      {static_cast<time_t>(modified.Seconds), modified.Nanoseconds}};
    return Checked(::utimensat(fd_, name.c_str(), times, AT_SYMLINK_NOFOLLOW));
}

Status PosixDirectory::Rename(const std::string& from, Directory& toDir, const std::string& to) {
    return Checked(::renameat(fd_, from.c_str(), toDir.Descriptor(), to.c_str()));
}

Status PosixDirectory::HardLink(const std::string& from, Directory& toDir, const std::string& to) {
    return Checked(::linkat(fd_, from.c_str(), toDir.Descriptor(), to.c_str(), 0));
}

Status PosixDirectory::Remove(const std::string& name, bool directory) {
    return Checked(::unlinkat(fd_, name.c_str(), directory ? AT_REMOVEDIR : 0));
}

Status PosixDirectory::SetModeOf(const std::string& name, std::uint32_t mode) {
    return Checked(::fchmodat(fd_, name.c_str(), mode & 07777, AT_SYMLINK_NOFOLLOW));
}

Status PosixDirectory::SetOwnerOf(const std::string& name, std::uint32_t owner, std::uint32_t group) {
    return Checked(::fchownat(fd_, name.c_str(), static_cast<uid_t>(owner), static_cast<gid_t>(group),
                              AT_SYMLINK_NOFOLLOW));
}

Status PosixDirectory::SetMode(std::uint32_t mode) {
    return Checked(::fchmod(fd_, mode & 07777));
}

Status PosixDirectory::SetOwner(std::uint32_t owner, std::uint32_t group) {
    return posix::SetOwnerOf(fd_, owner, group);
}

Status PosixDirectory::SetTimes(const FileTime& accessed, const FileTime& modified) {
    return SetTimesOf(fd_, accessed, modified);
}

Result<std::vector<ExtendedAttribute>> PosixDirectory::ReadAttributes() {
    return ReadAttributesOf(fd_);
}

Status PosixDirectory::WriteAttribute(const ExtendedAttribute& attribute) {
    return WriteAttributeOf(fd_, attribute);
}

Status PosixDirectory::RemoveAttribute(const std::string& name) {
    return RemoveAttributeOf(fd_, name);
}

Status PosixDirectory::Sync() {
    return Checked(::fsync(fd_));
}

Result<std::unique_ptr<FileLock>> PosixDirectory::Lock() {
    return LockDescriptor(::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

}  // namespace trx::platform::posix
