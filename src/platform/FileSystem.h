// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileTypes.h"
#include "platform/Result.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Everything Tresorix does on disk goes through these interfaces, so tests can put a fault-injecting
// decorator in front of the real file system. Calls return a Result (the value, or the errno value that
// kept them from making it) and never throw. Calls on a Directory work relative to it and MUST never
// follow a link in the name they are given.
namespace trx::platform {

class Directory;
class FileLock;

// Whether a new file's permission bits are the ones asked for, or what the umask leaves of them.
enum class NewBits { Exact, UmaskApplies };

// A file being read.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;
    // Reads up to `size` bytes; 0 bytes means the end of the file.
    virtual Result<std::size_t> Read(void* data, std::size_t size) = 0;
    // The file's status as it is now (what changed while it was read shows here).
    virtual Result<EntryInfo> Info() = 0;
    // Its extended attributes (ACLs among them); ENOTSUP where the file system keeps none.
    virtual Result<std::vector<ExtendedAttribute>> ReadAttributes() = 0;
    // The next stretch of data at or after `from`, [Start, End); Start == End when only a hole follows.
    // Reading goes on at Start.
    virtual Result<DataStretch> NextData(std::uint64_t from) = 0;
    // The kernel's number for the open file, for calls that join two handles (a decorator MUST hand on
    // its inner file's).
    virtual int Descriptor() const = 0;
};

// A file being written. Write either writes everything or fails; Close is called once (the destructor
// closes without reporting when nobody did).
class WritableFile {
public:
    virtual ~WritableFile() = default;
    virtual Status Write(const void* data, std::size_t size) = 0;
    // Copies up to `maxBytes` from the current position of `from` to this file; 0 bytes means the end of
    // `from`. Uses the kernel's copy where it can.
    virtual Result<std::uint64_t> CopyFrom(ReadableFile& from, std::uint64_t maxBytes) = 0;
    virtual Status SetMode(std::uint32_t mode) = 0;
    virtual Status SetTimes(const FileTime& accessed, const FileTime& modified) = 0;
    // kUnchangedId leaves the owner or the group as it is.
    virtual Status SetOwner(std::uint32_t owner, std::uint32_t group) = 0;
    virtual Status WriteAttribute(const ExtendedAttribute& attribute) = 0;
    virtual Status RemoveAttribute(const std::string& name) = 0;
    // Moves the write position; what is skipped stays a hole where the file system keeps holes.
    virtual Status Seek(std::uint64_t offset) = 0;
    virtual Status SetSize(std::uint64_t size) = 0;
    virtual Status Sync() = 0;
    virtual Status Close() = 0;
    // Gives a file made by Directory::CreateUnnamedFile the name `name` in `dir`; EEXIST when the name is
    // taken.
    virtual Status LinkAs(Directory& dir, const std::string& name) = 0;
};

// An exclusive lock that the kernel holds for its owner until the object goes, and drops by itself when the
// process dies in any way (so a killed run never blocks the next one).
class FileLock {
public:
    virtual ~FileLock() = default;
};

// An open directory. Keeping it open lets a walk reach its entries without building paths.
class Directory {
public:
    explicit Directory(std::string path) : path_(std::move(path)) {}
    virtual ~Directory() = default;
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;

    // The path it was opened with, ending with "/".
    const std::string& Path() const { return path_; }
    // The kernel's number for it, for calls that join two handles (a decorator MUST hand on its inner
    // directory's).
    virtual int Descriptor() const = 0;

    // The entries in the order the file system gives them, without "." and "..", FIFOs, sockets and
    // devices.
    virtual Result<std::vector<ListedEntry>> List() = 0;
    // Status of one entry, never following a link.
    virtual Result<EntryInfo> Stat(const std::string& name) = 0;
    // The sub-directory `name`; a link of that name is refused (ENOTDIR/ELOOP).
    virtual Result<std::unique_ptr<Directory>> OpenSub(const std::string& name) = 0;
    // A second handle of this directory, of its own.
    virtual Result<std::unique_ptr<Directory>> Reopen() = 0;
    // Creates the sub-directory `name`.
    virtual Status MakeSub(const std::string& name, std::uint32_t mode) = 0;
    // Opens a regular file for reading (a link or anything else is refused).
    virtual Result<std::unique_ptr<ReadableFile>> OpenFile(const std::string& name) = 0;
    // Creates a new file that must not exist yet. With NewBits::Exact it gets exactly the permission bits
    // `mode`, whatever the umask says (a copy keeps the bits of its original; where the file system refuses
    // to change the bits, FAT or exFAT, the file keeps those it got: no reason to fail); with
    // NewBits::UmaskApplies what the umask leaves of `mode`, as any program's new file.
    virtual Result<std::unique_ptr<WritableFile>> CreateFile(const std::string& name, std::uint32_t mode,
                                                             NewBits bits) = 0;
    // Creates a file without a name here with exactly the permission bits `mode`; it appears only when
    // WritableFile::LinkAs gives it one, and vanishes if the program dies before. ENOTSUP (or EISDIR,
    // EINVAL) where the file system cannot do this. `name` is the name it is meant to get, for diagnostics.
    virtual Result<std::unique_ptr<WritableFile>> CreateUnnamedFile(const std::string& name,
                                                                    std::uint32_t mode) = 0;
    virtual Result<std::string> ReadLink(const std::string& name) = 0;
    virtual Status CreateLink(const std::string& name, const std::string& target) = 0;
    // Sets access and modification time of a link itself.
    virtual Status SetLinkTimes(const std::string& name, const FileTime& accessed,
                                const FileTime& modified) = 0;
    // Renames `from` here to `to` in `toDir`, replacing an existing entry that is not a directory.
    virtual Status Rename(const std::string& from, Directory& toDir, const std::string& to) = 0;
    // Gives the entry `from` here the further name `to` in `toDir` (a hard link; a link is linked itself,
    // never what it points to). EEXIST when the name is taken.
    virtual Status HardLink(const std::string& from, Directory& toDir, const std::string& to) = 0;
    // Removes the entry itself: a file or link, or with `directory` an empty directory.
    virtual Status Remove(const std::string& name, bool directory) = 0;
    // Permission bits and owners of the entry `name` itself (a link's owner is the link's own; a link has
    // no permission bits of its own and is refused).
    virtual Status SetModeOf(const std::string& name, std::uint32_t mode) = 0;
    virtual Status SetOwnerOf(const std::string& name, std::uint32_t owner, std::uint32_t group) = 0;

    // The same for the directory itself.
    virtual Status SetMode(std::uint32_t mode) = 0;
    virtual Status SetOwner(std::uint32_t owner, std::uint32_t group) = 0;
    virtual Status SetTimes(const FileTime& accessed, const FileTime& modified) = 0;
    virtual Result<std::vector<ExtendedAttribute>> ReadAttributes() = 0;
    virtual Status WriteAttribute(const ExtendedAttribute& attribute) = 0;
    virtual Status RemoveAttribute(const std::string& name) = 0;
    // Makes the directory's entries (a rename, a new file) durable.
    virtual Status Sync() = 0;
    // Locks the directory itself without waiting and without writing anything into it; EWOULDBLOCK when
    // another lock object holds it, in this process or any other.
    virtual Result<std::unique_ptr<FileLock>> Lock() = 0;

private:
    std::string path_;
};

// What is reached by path: the project file and its neighbours, and the directories a walk starts from.
class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Reads a whole regular file (never a FIFO or device: those fail with EINVAL before any read blocks).
    virtual Result<std::string> ReadWholeFile(const std::string& path) = 0;
    // Status of `path`; with followLinks false a symbolic link is reported as such.
    virtual Result<FileStatus> Stat(const std::string& path, bool followLinks) = 0;
    // The absolute path with every symbolic link resolved.
    virtual Result<std::string> RealPath(const std::string& path) = 0;
    // Creates a new file that must not exist yet (O_EXCL), opened for writing.
    virtual Result<std::unique_ptr<WritableFile>> CreateExclusive(const std::string& path,
                                                                  std::uint32_t mode) = 0;
    // Opens a file for writing, creating it or cutting it to length 0 (the umask applies to 0666).
    virtual Result<std::unique_ptr<WritableFile>> OpenForWriting(const std::string& path) = 0;
    // Opens a file for appending, creating it where missing (the umask applies to 0666); never a FIFO or
    // a device.
    virtual Result<std::unique_ptr<WritableFile>> OpenForAppending(const std::string& path) = 0;
    // Renames within one file system, replacing an existing target atomically.
    virtual Status Rename(const std::string& from, const std::string& to) = 0;
    // Removes a file or a link (never what a link points to).
    virtual Status RemoveFile(const std::string& path) = 0;
    // Makes a directory's entries (a rename, a new file) durable.
    virtual Status SyncDirectory(const std::string& path) = 0;
    // Locks the file `path` (created empty with mode 0644 where missing) without waiting. EWOULDBLOCK when
    // another lock object holds it, in this process or any other.
    virtual Result<std::unique_ptr<FileLock>> LockFile(const std::string& path) = 0;
    // Creates one directory; its parent must exist. EEXIST when something of that name is there.
    virtual Status MakeDirectory(const std::string& path) = 0;
    // Opens a directory by path, following links in the path (the user chose it).
    virtual Result<std::unique_ptr<Directory>> OpenDirectory(const std::string& path) = 0;
    // Who this process is; asked once per run.
    virtual ProcessIdentity Identity() = 0;

    // ---- helpers built on the calls above ----

    // True when `path` names a regular file, following links.
    bool IsRegularFile(const std::string& path);
    // True when `path` names a directory, following links.
    bool IsDirectory(const std::string& path);
    // Creates `path` and every missing parent; an existing directory counts as success.
    Status MakeDirectories(const std::string& path);
};

// Splits at the last "/": the folder with its trailing "/" ("" when there is none) and the name.
std::string DirectoryPart(std::string_view path);
std::string NamePart(std::string_view path);

}  // namespace trx::platform
