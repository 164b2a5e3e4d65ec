// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PosixFiles.h"

#include "platform/PosixCalls.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>

namespace trx::platform::posix {

PosixReadableFile::~PosixReadableFile() {
    ::close(fd_);
}

Result<std::size_t> PosixReadableFile::Read(void* data, std::size_t size) {
    for (;;) {
        const ssize_t n = ::read(fd_, data, size);
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            return LastError();
        }
    }
}

Result<EntryInfo> PosixReadableFile::Info() {
    return StatxAt(fd_, "", AT_EMPTY_PATH);
}

Result<std::vector<ExtendedAttribute>> PosixReadableFile::ReadAttributes() {
    return ReadAttributesOf(fd_);
}

Result<DataStretch> PosixReadableFile::NextData(std::uint64_t from) {
    const off_t data = ::lseek(fd_, static_cast<off_t>(from), SEEK_DATA);
    if (data < 0) {
        if (errno != ENXIO) {
            return LastError();
        }
        // Only a hole up to the end.
        const off_t size = ::lseek(fd_, 0, SEEK_END);
        const std::uint64_t end = size < 0 ? from : static_cast<std::uint64_t>(size);
        return DataStretch{end, end};
    }
    const off_t hole = ::lseek(fd_, data, SEEK_HOLE);
    if (hole < 0 || ::lseek(fd_, data, SEEK_SET) < 0) {
        return LastError();
    }
    return DataStretch{static_cast<std::uint64_t>(data), static_cast<std::uint64_t>(hole)};
}

PosixWritableFile::~PosixWritableFile() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

Status PosixWritableFile::Write(const void* data, std::size_t size) {
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t n = ::write(fd_, p, size);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return LastError();
        }
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return {};
}

Result<std::uint64_t> PosixWritableFile::CopyFrom(ReadableFile& from, std::uint64_t maxBytes) {
    const std::size_t wanted = static_cast<std::size_t>(maxBytes);
    const ssize_t n = ::copy_file_range(from.Descriptor(), nullptr, fd_, nullptr, wanted, 0);
    if (n >= 0) {
        return static_cast<std::uint64_t>(n);
    }
    if (errno != EXDEV && errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP && errno != EPERM) {
        return LastError();
    }
    // Another file system or a kernel without the call: plain reads and writes with a large buffer.
    static constexpr std::size_t kBuffer = 1 << 20;
    thread_local std::unique_ptr<char[]> buffer(new char[kBuffer]);
    ssize_t done = 0;
    do {
        done = ::read(from.Descriptor(), buffer.get(), std::min(wanted, kBuffer));
    } while (done < 0 && errno == EINTR);
    if (done < 0) {
        return LastError();
    }
    if (done > 0) {
        if (Status written = Write(buffer.get(), static_cast<std::size_t>(done)); !written) {
            return Failure{written.Error()};
        }
    }
    return static_cast<std::uint64_t>(done);
}

Status PosixWritableFile::SetMode(std::uint32_t mode) {
    return Checked(::fchmod(fd_, mode & 07777));
}

Status PosixWritableFile::SetTimes(const FileTime& accessed, const FileTime& modified) {
    return SetTimesOf(fd_, accessed, modified);
}

Status PosixWritableFile::SetOwner(std::uint32_t owner, std::uint32_t group) {
    return SetOwnerOf(fd_, owner, group);
}

Status PosixWritableFile::WriteAttribute(const ExtendedAttribute& attribute) {
    return WriteAttributeOf(fd_, attribute);
}

Status PosixWritableFile::RemoveAttribute(const std::string& name) {
    return RemoveAttributeOf(fd_, name);
}

Status PosixWritableFile::Seek(std::uint64_t offset) {
    return ::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0 ? Status(LastError()) : Status();
}

Status PosixWritableFile::SetSize(std::uint64_t size) {
    return Checked(::ftruncate(fd_, static_cast<off_t>(size)));
}

Status PosixWritableFile::Sync() {
    return Checked(::fsync(fd_));
}

Status PosixWritableFile::Close() {
    const int fd = fd_;
    fd_ = -1;
    return Checked(::close(fd));
}

Status PosixWritableFile::LinkAs(Directory& dir, const std::string& name) {
    // Linking the descriptor itself needs a privilege (CAP_DAC_READ_SEARCH) that users lack; for them the
    // same is done through its name under /proc.
    if (::linkat(fd_, "", dir.Descriptor(), name.c_str(), AT_EMPTY_PATH) == 0) {
        return {};
    }
    if (errno != ENOENT && errno != EPERM) {
        return LastError();
    }
    const std::string self = "/proc/self/fd/" + std::to_string(fd_);
    return Checked(::linkat(AT_FDCWD, self.c_str(), dir.Descriptor(), name.c_str(), AT_SYMLINK_FOLLOW));
}

namespace {

// flock belongs to the open file description: a descriptor of its own per lock, so that two locks in one
// process exclude each other as locks of two processes do.
class PosixFileLock : public FileLock {
public:
    explicit PosixFileLock(int fd) : fd_(fd) {}
    ~PosixFileLock() override { ::close(fd_); }

private:
    int fd_;
};

}  // namespace

Result<std::unique_ptr<FileLock>> LockDescriptor(int fd) {
    if (fd < 0) {
        return LastError();
    }
    int rc = 0;
    do {
        rc = ::flock(fd, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const Failure failure = LastError();
        ::close(fd);
        return failure;
    }
    return std::unique_ptr<FileLock>(std::make_unique<PosixFileLock>(fd));
}

Result<std::unique_ptr<WritableFile>> OpenRegularForWriting(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_WRONLY | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) {
        return LastError();
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return Failure{EINVAL};  // never write into a FIFO or a device
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return std::unique_ptr<WritableFile>(std::make_unique<PosixWritableFile>(fd));
}

}  // namespace trx::platform::posix
