#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Everything Tresorix does on disk goes through this interface, so tests can put a fault-injecting
// decorator in front of the real file system. Calls return 0 or an errno value; they never throw.
namespace trx::platform {

// The longest path Linux hands to a system call (PATH_MAX); nothing deeper can be a real directory tree.
inline constexpr std::size_t kMaxPathLength = 4096;

enum class FileKind { None, Regular, Directory, SymLink, Other };

struct FileStatus {
    FileKind kind = FileKind::None;
    std::uint32_t mode = 0;  // permission bits only
    std::uint64_t size = 0;
};

// A file being written. Write either writes everything or fails; Close is called once (the destructor
// closes without reporting when nobody did).
class WritableFile {
public:
    virtual ~WritableFile() = default;
    virtual int Write(const void* data, std::size_t size) = 0;
    virtual int SetMode(std::uint32_t mode) = 0;
    virtual int Sync() = 0;
    virtual int Close() = 0;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

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

    // Renames within one file system, replacing an existing target atomically.
    virtual int Rename(const std::string& from, const std::string& to) = 0;

    // Removes a file or a link (never what a link points to).
    virtual int RemoveFile(const std::string& path) = 0;

    // Makes a directory's entries (a rename, a new file) durable.
    virtual int SyncDirectory(const std::string& path) = 0;

    // True when `path` names a regular file, following links.
    bool IsRegularFile(const std::string& path);
};

// Splits at the last "/": the folder with its trailing "/" ("" when there is none) and the name.
std::string DirectoryPart(std::string_view path);
std::string NamePart(std::string_view path);

}  // namespace trx::platform
