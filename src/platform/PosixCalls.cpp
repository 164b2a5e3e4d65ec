// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PosixCalls.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <cerrno>

namespace trx::platform::posix {

Failure LastError() {
    return Failure{errno != 0 ? errno : EIO};
}

Status Checked(int rc) {
    return rc == 0 ? Status() : Status(LastError());
}

bool IsRefusal(int error) {
    return error == EPERM || error == ENOSYS || error == EOPNOTSUPP || error == ENOTSUP;
}

Status SetTimesOf(int fd, const FileTime& accessed, const FileTime& modified) {
    const struct timespec times[2] = {{static_cast<time_t>(accessed.Seconds), accessed.Nanoseconds},
                                      {static_cast<time_t>(modified.Seconds), modified.Nanoseconds}};
    return Checked(::futimens(fd, times));
}

Status SetOwnerOf(int fd, std::uint32_t owner, std::uint32_t group) {
    return Checked(::fchown(fd, static_cast<uid_t>(owner), static_cast<gid_t>(group)));
}

namespace {

// The names first into a buffer on the stack, which holds the usual few; only a longer list asks the size.
Result<std::vector<std::string>> ListAttributeNames(int fd) {
    char small[1024];
    std::vector<char> large;
    char* buffer = small;
    ssize_t n = ::flistxattr(fd, small, sizeof small);
    while (n < 0 && errno == ERANGE) {
        const ssize_t needed = ::flistxattr(fd, nullptr, 0);
        if (needed < 0) {
            return LastError();
        }
        large.resize(static_cast<std::size_t>(needed) + 1);
        buffer = large.data();
        n = ::flistxattr(fd, buffer, large.size());
    }
    if (n < 0) {
        return LastError();
    }
    std::vector<std::string> names;
    for (ssize_t i = 0; i < n;) {
        names.emplace_back(buffer + i);
        i += static_cast<ssize_t>(names.back().size()) + 1;
    }
    return names;
}

// The value of one attribute; none when it went meanwhile or this process may not read it (not copied).
bool ReadAttributeValue(int fd, const std::string& name, std::string& value) {
    for (;;) {
        const ssize_t size = ::fgetxattr(fd, name.c_str(), nullptr, 0);
        if (size < 0) {
            return false;
        }
        value.resize(static_cast<std::size_t>(size));
        const ssize_t got = ::fgetxattr(fd, name.c_str(), value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE) {
            return false;
        }
    }
}

FileTime TimeOf(const struct statx_timestamp& t) {
    return {t.tv_sec, static_cast<long>(t.tv_nsec)};
}

}  // namespace

Result<std::vector<ExtendedAttribute>> ReadAttributesOf(int fd) {
    auto names = ListAttributeNames(fd);
    if (!names) {
        return Failure{names.Error()};
    }
    std::vector<ExtendedAttribute> attributes;
    for (std::string& name : *names) {
        std::string value;
        if (ReadAttributeValue(fd, name, value)) {
            attributes.push_back({std::move(name), std::move(value)});
        }
    }
    return attributes;
}

Status WriteAttributeOf(int fd, const ExtendedAttribute& attribute) {
    return Checked(
        ::fsetxattr(fd, attribute.Name.c_str(), attribute.Value.data(), attribute.Value.size(), 0));
}

Status RemoveAttributeOf(int fd, const std::string& name) {
    return Checked(::fremovexattr(fd, name.c_str()));
}

FileKind KindOfMode(unsigned mode) {
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

Result<EntryInfo> StatxAt(int fd, const char* name, int flags) {
    struct statx st {};
    const unsigned mask = STATX_TYPE | STATX_MODE | STATX_SIZE | STATX_MTIME | STATX_ATIME | STATX_CTIME |
                          STATX_BTIME | STATX_INO | STATX_UID | STATX_GID | STATX_NLINK | STATX_BLOCKS;
    if (::statx(fd, name, flags, mask, &st) != 0) {
        return LastError();
    }
    EntryInfo info;
    info.Kind = KindOfMode(st.stx_mode);
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
    return info;
}

int OpenDirectoryFd(int base, const char* path, bool followLastLink) {
    return ::openat(base, path, O_RDONLY | O_DIRECTORY | O_CLOEXEC | (followLastLink ? 0 : O_NOFOLLOW));
}

}  // namespace trx::platform::posix
