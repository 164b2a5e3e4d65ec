// SPDX-License-Identifier: GPL-3.0-or-later
// What a copy keeps besides its data, on real trees: folder bits (never wider open than the source, not
// even during the run), folder times, owners, holes, extended attributes and ACLs, hard links.
#include "RunFixture.h"

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <cstdint>
#include <fstream>
#include <tuple>

namespace trx {
namespace {

using test::ReadWholeFile;
using test::RunFixture;

constexpr std::time_t kOld = 1600000000;

struct stat Stat(const std::string& path) {
    struct stat st {};
    ::lstat(path.c_str(), &st);
    return st;
}

unsigned Mode(const std::string& path) {
    return Stat(path).st_mode & 07777;
}

std::string Attribute(const std::string& path, const char* name) {
    char value[256];
    const ssize_t n = ::lgetxattr(path.c_str(), name, value, sizeof value);
    return n < 0 ? std::string("<none>") : std::string(value, static_cast<std::size_t>(n));
}

// A POSIX ACL in the form the kernel takes as an attribute: tag, permissions, id.
std::string Acl(const std::vector<std::tuple<std::uint16_t, std::uint16_t, std::uint32_t>>& entries) {
    std::string acl("\x02\x00\x00\x00", 4);
    for (const auto& [tag, perm, id] : entries) {
        const unsigned char entry[8] = {
            static_cast<unsigned char>(tag),      static_cast<unsigned char>(tag >> 8),
            static_cast<unsigned char>(perm),     0,
            static_cast<unsigned char>(id),       static_cast<unsigned char>(id >> 8),
            static_cast<unsigned char>(id >> 16), static_cast<unsigned char>(id >> 24)};
        acl.append(reinterpret_cast<const char*>(entry), sizeof entry);
    }
    return acl;
}

// rw for the owner, r for user 4242 (masked to r), nothing for group and others.
const std::string kUserAcl =
    Acl({{0x01, 6, ~0u}, {0x02, 4, 4242}, {0x04, 0, ~0u}, {0x10, 4, ~0u}, {0x20, 0, ~0u}});

class FidelityTest : public RunFixture {
protected:
    // Entries below dst/ whose group or other bits go beyond their source's, or that are open while the
    // source is closed.
    std::vector<std::string> WiderThanSource(const std::vector<std::string>& folders) const {
        std::vector<std::string> wider;
        for (const std::string& folder : folders) {
            struct stat copy {};
            if (::lstat((dst + folder).c_str(), &copy) == 0 &&
                (copy.st_mode & 077 & ~Mode(src + folder)) != 0) {
                wider.push_back(folder);
            }
        }
        return wider;
    }
};

TEST_F(FidelityTest, FoldersAreNeverWiderOpenThanTheirSourceNotEvenDuringTheRun) {
    tmp.WriteFile("src/private/letter.txt", "secret");
    tmp.WriteFile("src/private/inner/note.txt", "note");
    tmp.WriteFile("src/open/readme", "r");
    ::chmod((src + "private/inner").c_str(), 0750);
    ::chmod((src + "private").c_str(), 0700);
    ::chmod((src + "open").c_str(), 0755);
    const std::vector<std::string> folders{"private", "private/inner", "open"};
    std::vector<std::string> seen;
    const auto check = [&](const std::string&) {
        for (const std::string& folder : WiderThanSource(folders)) {
            seen.push_back(folder);
        }
    };
    fs.AfterMakeDirectory = check;
    fs.AfterChunk = [&](const std::string& file, std::uint64_t) { check(file); };
    Run();
    EXPECT_TRUE(seen.empty()) << seen.front();
    EXPECT_EQ(Mode(dst + "private"), 0700u);
    EXPECT_EQ(Mode(dst + "private/inner"), 0750u);
    EXPECT_EQ(Mode(dst + "open"), 0755u);

    // A copy someone opened wide is closed before anything is copied into it, and gets the source's bits
    // back only at the end; a source folder opened later is followed.
    ::chmod((dst + "private").c_str(), 0777);
    tmp.WriteFile("src/private/letter.txt", "secret, second version");
    ::chmod((src + "open").c_str(), 0750);
    Run();
    EXPECT_TRUE(seen.empty()) << seen.front();
    EXPECT_EQ(Mode(dst + "private"), 0700u);
    EXPECT_EQ(Mode(dst + "open"), 0750u);
    EXPECT_EQ(tmp.ReadFile("dst/private/letter.txt"), "secret, second version");
    EXPECT_EQ(run.ProblemCount, 0);
}

TEST_F(FidelityTest, FolderTimesFollowTheSourceAtTheEndOfEveryRun) {
    tmp.WriteFile("src/Sub/Deep/a.txt", "a");
    tmp.WriteFile("src/Sub/b.txt", "b");
    const auto settle = [&] {
        tmp.SetTimes("src/Sub/Deep", kOld, 123456789);
        tmp.SetTimes("src/Sub", kOld + 60, 987654321);
    };
    const auto sameTimes = [&] {
        for (const char* folder : {"Sub", "Sub/Deep"}) {
            const struct stat copy = Stat(dst + folder);
            const struct stat original = Stat(src + folder);
            EXPECT_EQ(copy.st_mtim.tv_sec, original.st_mtim.tv_sec) << folder;
            EXPECT_EQ(copy.st_mtim.tv_nsec, original.st_mtim.tv_nsec) << folder;
        }
    };
    settle();
    Run();
    sameTimes();
    // Deletions carried over after the walk change the folder again: it still ends with the source's time.
    ::unlink((src + "Sub/b.txt").c_str());
    settle();
    const auto lines = Run();
    EXPECT_TRUE(Contains(lines, "Die Datei \"" + dst + "Sub/B.TXT\" wurde gelöscht.") ||
                Contains(lines, "Die Datei \"" + dst + "Sub/b.txt\" wurde gelöscht."));
    EXPECT_FALSE(tmp.Exists("dst/Sub/b.txt"));
    sameTimes();
    // A run that changes nothing puts back what someone else changed.
    tmp.SetTimes("dst/Sub", kOld - 1000);
    Run();
    sameTimes();
}

TEST_F(FidelityTest, OwnersTravelAsRootAndGroupsAsAUserWhereTheyMay) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving files other owners needs root";
    }
    tmp.WriteFile("src/Theirs/file", "f");
    tmp.WriteFile("src/member", "m");
    tmp.WriteFile("src/stranger", "s");
    ::symlink("file", (src + "Theirs/link").c_str());
    ::chown((src + "Theirs/file").c_str(), 1234, 5678);
    ::lchown((src + "Theirs/link").c_str(), 1234, 5678);
    ::chown((src + "Theirs").c_str(), 1234, 5678);
    ::chown((src + "member").c_str(), 1234, 5678);
    ::chown((src + "stranger").c_str(), 1234, 4321);
    Run();
    for (const char* entry : {"Theirs", "Theirs/file", "Theirs/link", "member"}) {
        EXPECT_EQ(Stat(dst + entry).st_uid, 1234u) << entry;
        EXPECT_EQ(Stat(dst + entry).st_gid, 5678u) << entry;
    }
    EXPECT_EQ(run.ProblemCount, 0);

    // An ordinary user in group 5678 gives that group, keeps other groups alone and owners always.
    const std::string other = tmp / "other/";
    new cBackUpSource(src, *new cBackUpDestination(project, other));
    fs.FakeIdentity = platform::ProcessIdentity{1000, 1000, {1000, 5678}};
    Run(project.Destinations[1]);
    EXPECT_EQ(Stat(other + "member").st_uid, 0u);
    EXPECT_EQ(Stat(other + "member").st_gid, 5678u);
    EXPECT_EQ(Stat(other + "stranger").st_gid, 0u);
    EXPECT_EQ(run.ProblemCount, 0);
}

TEST_F(FidelityTest, SparseFilesKeepTheirHolesAndTheirData) {
    const std::string path = src + "sparse.img";
    {
        std::ofstream out(path, std::ios::binary);
        out.seekp(16 << 20);
        out << "in the middle";
        out.seekp(40 << 20);
        out << "at the end";
    }
    if (Stat(path).st_blocks * 512 >= Stat(path).st_size) {
        GTEST_SKIP() << "the temporary folder's file system keeps no holes";
    }
    tmp.WriteFile("src/dense", std::string(100000, 'x'));
    Run();
    EXPECT_EQ(ReadWholeFile(dst + "sparse.img"), ReadWholeFile(path));
    EXPECT_EQ(Stat(dst + "sparse.img").st_size, Stat(path).st_size);
    EXPECT_LE(Stat(dst + "sparse.img").st_blocks, Stat(path).st_blocks + 16);
    EXPECT_EQ(tmp.ReadFile("dst/dense"), std::string(100000, 'x'));
}

TEST_F(FidelityTest, AttributesAndAclsTravelWithFilesAndFolders) {
    tmp.WriteFile("src/Shared/plain.txt", "p");
    tmp.WriteFile("src/Shared/granted.txt", "g");
    if (::setxattr((src + "Shared/plain.txt").c_str(), "user.origin", "scan", 4, 0) != 0 ||
        ::setxattr((src + "Shared/granted.txt").c_str(), "system.posix_acl_access", kUserAcl.data(),
                   kUserAcl.size(), 0) != 0) {
        GTEST_SKIP() << "the temporary folder's file system keeps no attributes or ACLs";
    }
    // The folder hands a default ACL to what is made in it: a copy whose source has no ACL must not get one.
    ::setxattr((src + "Shared").c_str(), "system.posix_acl_default", kUserAcl.data(), kUserAcl.size(), 0);
    ::setxattr((src + "Shared").c_str(), "user.folder", "f", 1, 0);
    Run();
    EXPECT_EQ(Attribute(dst + "Shared/plain.txt", "user.origin"), "scan");
    EXPECT_EQ(Attribute(dst + "Shared/plain.txt", "system.posix_acl_access"), "<none>");
    EXPECT_EQ(Attribute(dst + "Shared/granted.txt", "system.posix_acl_access"),
              Attribute(src + "Shared/granted.txt", "system.posix_acl_access"));
    EXPECT_EQ(Mode(dst + "Shared/plain.txt"), Mode(src + "Shared/plain.txt"));
    EXPECT_EQ(Attribute(dst + "Shared", "system.posix_acl_default"),
              Attribute(src + "Shared", "system.posix_acl_default"));
    EXPECT_EQ(Attribute(dst + "Shared", "user.folder"), "f");

    // New files in the copied folder inherit nothing their sources lack; a folder attribute removed at the
    // source goes from the copy too.
    tmp.WriteFile("src/Shared/later.txt", "l");
    ::removexattr((src + "Shared/later.txt").c_str(), "system.posix_acl_access");
    ::chmod((src + "Shared/later.txt").c_str(), 0640);
    ::removexattr((src + "Shared").c_str(), "user.folder");
    Run();
    EXPECT_EQ(Attribute(dst + "Shared/later.txt", "system.posix_acl_access"), "<none>");
    EXPECT_EQ(Mode(dst + "Shared/later.txt"), 0640u);
    EXPECT_EQ(Attribute(dst + "Shared", "user.folder"), "<none>");
    EXPECT_EQ(run.ProblemCount, 0);
}

TEST_F(FidelityTest, HardLinksStayOneFileAndAreNotCopiedAgain) {
    tmp.WriteFile("src/a.txt", "shared content");
    tmp.MakeDir("src/Sub");
    ::link((src + "a.txt").c_str(), (src + "Sub/b.txt").c_str());
    ::link((src + "a.txt").c_str(), (src + "c.txt").c_str());
    tmp.WriteFile("src/single.txt", "s");
    Run();
    const ino_t inode = Stat(dst + "a.txt").st_ino;
    EXPECT_EQ(Stat(dst + "Sub/b.txt").st_ino, inode);
    EXPECT_EQ(Stat(dst + "c.txt").st_ino, inode);
    EXPECT_EQ(Stat(dst + "a.txt").st_nlink, 3u);

    // Nothing changed: nothing is copied or linked again.
    auto lines = Run();
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(),
                      [](const std::string& line) { return line.find("erfolgreich") != std::string::npos; }),
        0);
    EXPECT_EQ(Stat(dst + "c.txt").st_ino, inode);

    // Changed through one name: every name of the copy has the new content, still as one file; a copy that
    // an earlier run made on its own becomes a further name of its partner.
    ::unlink((dst + "c.txt").c_str());
    tmp.WriteFile("dst/c.txt", "shared content");
    std::ofstream(src + "Sub/b.txt", std::ios::app) << ", changed";
    lines = Run();
    EXPECT_EQ(tmp.ReadFile("dst/a.txt"), "shared content, changed");
    EXPECT_EQ(Stat(dst + "Sub/b.txt").st_ino, Stat(dst + "a.txt").st_ino);
    EXPECT_EQ(Stat(dst + "c.txt").st_ino, Stat(dst + "a.txt").st_ino);
    EXPECT_EQ(run.ProblemCount, 0);
}

TEST_F(FidelityTest, AChangeOfBitsAloneReachesTheCopyWithoutCopyingIt) {
    tmp.WriteFile("src/script.sh", "#!/bin/sh\n");
    ::chmod((src + "script.sh").c_str(), 0644);
    Run();
    const ino_t inode = Stat(dst + "script.sh").st_ino;
    ::chmod((src + "script.sh").c_str(), 0755);
    const auto lines = Run();
    EXPECT_EQ(Mode(dst + "script.sh"), 0755u);
    EXPECT_EQ(Stat(dst + "script.sh").st_ino, inode);  // not copied again
    EXPECT_FALSE(Contains(lines, "Die Datei \"" + src + "script.sh\" wurde erfolgreich nach \"" + dst +
                                     "\" kopiert. (10 Byte)"));
}

}  // namespace
}  // namespace trx
