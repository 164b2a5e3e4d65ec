// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileTypes.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Everything Tresorix does on disk goes through this interface, so tests can put a fault-injecting
// decorator in front of the real file system. Calls return 0 or an errno value; they never throw.
// Calls that take a Directory work relative to it and never follow a link in the name they are given.
namespace trx::platform {

// An open directory. Keeping it open lets a walk reach its entries without building paths.
class Directory {
public:
    explicit Directory(std::string path) : path_(std::move(path)) {}
    virtual ~Directory() = default;
    Directory(const Directory&) = delete;
    Directory& operator=(const Directory&) = delete;

    // The path it was opened with, ending with "/".
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// A file being read.
class ReadableFile {
public:
    virtual ~ReadableFile() = default;
    // Reads up to `size` bytes; `done` 0 means the end of the file.
    virtual int Read(void* data, std::size_t size, std::size_t& done) = 0;
    // The file's status as it is now (what changed while it was read shows here).
    virtual int Status(EntryInfo& info) = 0;
    // Its extended attributes (ACLs among them); ENOTSUP where the file system keeps none.
    virtual int ReadAttributes(std::vector<ExtendedAttribute>& out) = 0;
    // The next stretch of data at or after `from`, [start, end); start == end when only a hole follows.
    // Reading goes on at `start`.
    virtual int NextData(std::uint64_t from, std::uint64_t& start, std::uint64_t& end) = 0;
};

// A file being written. Write either writes everything or fails; Close is called once (the destructor
// closes without reporting when nobody did).
class WritableFile {
public:
    virtual ~WritableFile() = default;
    virtual int Write(const void* data, std::size_t size) = 0;
    virtual int SetMode(std::uint32_t mode) = 0;
    virtual int SetTimes(const FileTime& accessed, const FileTime& modified) = 0;
    // kUnchangedId leaves the owner or the group as it is.
    virtual int SetOwner(std::uint32_t owner, std::uint32_t group) = 0;
    virtual int WriteAttribute(const ExtendedAttribute& attribute) = 0;
    virtual int RemoveAttribute(const std::string& name) = 0;
    // Moves the write position; what is skipped stays a hole where the file system keeps holes.
    virtual int Seek(std::uint64_t offset) = 0;
    virtual int SetSize(std::uint64_t size) = 0;
    virtual int Sync() = 0;
    virtual int Close() = 0;
};

// An exclusive lock that the kernel holds for its owner until the object goes, and drops by itself when the
// process dies in any way (so a killed run never blocks the next one).
class FileLock {
public:
    virtual ~FileLock() = default;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // ---- whole files by path (the project file) ----

    // Reads a whole regular file (never a FIFO or device: those fail with EINVAL before any read blocks).
    virtual int ReadWholeFile(const std::string& path, std::string& out) = 0;

    // Status of `path`; with followLinks false a symbolic link is reported as such.
    virtual int Status(const std::string& path, FileStatus& status, bool followLinks) = 0;

    // The absolute path with every symbolic link resolved.
    virtual int RealPath(const std::string& path, std::string& out) = 0;

    // Creates a new file that must not exist yet (O_EXCL), opened for writing.
    virtual int CreateExclusive(const std::string& path, std::uint32_t mode,
                                std::unique_ptr<WritableFile>& file) = 0;

    // Opens a file for writing, creating it or cutting it to length 0 (the umask applies to 0666).
    virtual int OpenForWriting(const std::string& path, std::unique_ptr<WritableFile>& file) = 0;

    // Opens a file for appending, creating it where missing (the umask applies to 0666); never a FIFO or
    // a device.
    virtual int OpenForAppending(const std::string& path, std::unique_ptr<WritableFile>& file) = 0;

    // Renames within one file system, replacing an existing target atomically.
    virtual int Rename(const std::string& from, const std::string& to) = 0;

    // Removes a file or a link (never what a link points to).
    virtual int RemoveFile(const std::string& path) = 0;

    // Makes a directory's entries (a rename, a new file) durable.
    virtual int SyncDirectory(const std::string& path) = 0;

    // Locks the file `path` (created empty with mode 0644 where missing) without waiting. EWOULDBLOCK when
    // another lock object holds it, in this process or any other.
    virtual int LockFile(const std::string& path, std::unique_ptr<FileLock>& out) = 0;

    // ---- directories (the backup walk) ----

    // Creates one directory; its parent must exist. EEXIST when something of that name is there.
    virtual int MakeDirectory(const std::string& path) = 0;

    // Opens a directory by path, following links in the path (the user chose it).
    virtual int OpenDirectory(const std::string& path, std::unique_ptr<Directory>& out) = 0;

    // Opens the sub-directory `name` of `parent`; a link of that name is refused (ENOTDIR/ELOOP).
    virtual int OpenSubDirectory(Directory& parent, const std::string& name,
                                 std::unique_ptr<Directory>& out) = 0;

    // The entries of `dir` in the order the file system gives them, without "." and "..", FIFOs,
    // sockets and devices.
    virtual int List(Directory& dir, std::vector<ListedEntry>& entries) = 0;

    // Stat of one entry, never following a link.
    virtual int StatAt(Directory& dir, const std::string& name, EntryInfo& info) = 0;

    // Creates the sub-directory `name`.
    virtual int MakeDirectoryAt(Directory& dir, const std::string& name, std::uint32_t mode) = 0;

    // Opens a regular file for reading (a link or anything else is refused).
    virtual int OpenFileAt(Directory& dir, const std::string& name, std::unique_ptr<ReadableFile>& out) = 0;

    // Creates a new file that must not exist yet, with exactly the permission bits `mode` (whatever the
    // umask says: a copy keeps the bits of its original). Where the file system refuses to change the bits
    // (FAT, exFAT) the file keeps those it got: no reason to fail.
    virtual int CreateFileAt(Directory& dir, const std::string& name, std::uint32_t mode,
                             std::unique_ptr<WritableFile>& out) = 0;

    // Creates a file without a name in `dir` with exactly the permission bits `mode`; it appears only
    // when LinkFileAt gives it one, and vanishes if the program dies before. ENOTSUP (or EISDIR, EINVAL)
    // where the file system cannot do this. `name` is the name it is meant to get, for diagnostics only.
    virtual int CreateUnnamedFileAt(Directory& dir, const std::string& name, std::uint32_t mode,
                                    std::unique_ptr<WritableFile>& out) = 0;

    // Gives a file made by CreateUnnamedFileAt the name `name` in `dir`; EEXIST when the name is taken.
    virtual int LinkFileAt(WritableFile& file, Directory& dir, const std::string& name) = 0;

    // Copies up to `maxBytes` from the current position of `from` to `to`; `copied` 0 means the end of
    // `from`. Uses the kernel's copy where it can.
    virtual int CopyData(ReadableFile& from, WritableFile& to, std::uint64_t maxBytes,
                         std::uint64_t& copied) = 0;

    virtual int ReadLinkAt(Directory& dir, const std::string& name, std::string& target) = 0;
    virtual int CreateLinkAt(Directory& dir, const std::string& name, const std::string& target) = 0;
    // Sets access and modification time of a link itself.
    virtual int SetLinkTimesAt(Directory& dir, const std::string& name, const FileTime& accessed,
                               const FileTime& modified) = 0;

    // Renames `from` in `fromDir` to `to` in `toDir`, replacing an existing entry that is not a directory.
    virtual int RenameAt(Directory& fromDir, const std::string& from, Directory& toDir,
                         const std::string& to) = 0;

    // Removes the entry itself: a file or link, or with `directory` an empty directory.
    virtual int RemoveAt(Directory& dir, const std::string& name, bool directory) = 0;

    // Locks the directory itself without waiting and without writing anything into it; EWOULDBLOCK as for
    // LockFile.
    virtual int LockDirectory(Directory& dir, std::unique_ptr<FileLock>& out) = 0;

    // Gives the entry `from` of `fromDir` the further name `to` in `toDir` (a hard link; a link is linked
    // itself, never what it points to). EEXIST when the name is taken.
    virtual int HardLinkAt(Directory& fromDir, const std::string& from, Directory& toDir,
                           const std::string& to) = 0;
    // Permission bits and owners of the entry `name` itself (a link's owner is the link's own; a link has
    // no permission bits of its own and is refused).
    virtual int SetModeAt(Directory& dir, const std::string& name, std::uint32_t mode) = 0;
    virtual int SetOwnerAt(Directory& dir, const std::string& name, std::uint32_t owner,
                           std::uint32_t group) = 0;

    // The same for the open directory itself.
    virtual int SetDirectoryMode(Directory& dir, std::uint32_t mode) = 0;
    virtual int SetDirectoryOwner(Directory& dir, std::uint32_t owner, std::uint32_t group) = 0;
    virtual int SetDirectoryTimes(Directory& dir, const FileTime& accessed, const FileTime& modified) = 0;
    virtual int ReadDirectoryAttributes(Directory& dir, std::vector<ExtendedAttribute>& out) = 0;
    virtual int WriteDirectoryAttribute(Directory& dir, const ExtendedAttribute& attribute) = 0;
    virtual int RemoveDirectoryAttribute(Directory& dir, const std::string& name) = 0;

    // Who this process is; asked once per run.
    virtual ProcessIdentity Identity() = 0;

    // ---- helpers built on the calls above ----

    // True when `path` names a regular file, following links.
    bool IsRegularFile(const std::string& path);
    // True when `path` names a directory, following links.
    bool IsDirectory(const std::string& path);
    // Creates `path` and every missing parent; an existing directory counts as success.
    int MakeDirectories(const std::string& path);
};

// Splits at the last "/": the folder with its trailing "/" ("" when there is none) and the name.
std::string DirectoryPart(std::string_view path);
std::string NamePart(std::string_view path);

}  // namespace trx::platform
