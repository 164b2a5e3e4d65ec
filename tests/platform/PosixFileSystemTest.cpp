// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PosixFileSystem.h"

#include "support/TestDir.h"

#include <algorithm>
#include <cerrno>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace trx::platform {
namespace {

class PosixFileSystemTest : public ::testing::Test {
protected:
    std::unique_ptr<Directory> Open(const std::string& relative = "") {
        std::unique_ptr<Directory> dir;
        EXPECT_EQ(fs.OpenDirectory(tmp / relative, dir), 0);
        return dir;
    }
    std::vector<std::string> Names(Directory& dir) {
        std::vector<ListedEntry> entries;
        EXPECT_EQ(fs.List(dir, entries), 0);
        std::vector<std::string> names;
        for (const auto& e : entries) {
            names.push_back(e.Name);
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TestDir tmp;
    PosixFileSystem fs;
};

TEST_F(PosixFileSystemTest, ListsFilesDirectoriesAndLinksOnly) {
    tmp.WriteFile("a.txt", "x");
    tmp.WriteFile(".hidden", "");
    tmp.MakeDir("sub");
    ASSERT_EQ(::symlink("a.txt", (tmp / "link").c_str()), 0);
    ASSERT_EQ(::mkfifo((tmp / "fifo").c_str(), 0600), 0);
    auto dir = Open();
    EXPECT_EQ(Names(*dir), (std::vector<std::string>{".hidden", "a.txt", "link", "sub"}));
    EXPECT_EQ(dir->Path(), tmp.Path());
}

TEST_F(PosixFileSystemTest, StatNeverFollowsALink) {
    tmp.WriteFile("data.bin", std::string(1000, 'd'));
    ASSERT_EQ(::symlink("data.bin", (tmp / "link").c_str()), 0);
    auto dir = Open();
    EntryInfo info;
    ASSERT_EQ(fs.StatAt(*dir, "link", info), 0);
    EXPECT_EQ(info.Kind, FileKind::SymLink);
    EXPECT_EQ(info.Size, 8u);  // the length of "data.bin"
    ASSERT_EQ(fs.StatAt(*dir, "data.bin", info), 0);
    EXPECT_EQ(info.Kind, FileKind::Regular);
    EXPECT_EQ(info.Size, 1000u);
    EXPECT_EQ(fs.StatAt(*dir, "gone", info), ENOENT);

    std::unique_ptr<Directory> sub;
    tmp.MakeDir("real");
    ASSERT_EQ(::symlink("real", (tmp / "dirlink").c_str()), 0);
    EXPECT_NE(fs.OpenSubDirectory(*dir, "dirlink", sub), 0);
    EXPECT_EQ(fs.OpenSubDirectory(*dir, "real", sub), 0);
    EXPECT_EQ(sub->Path(), tmp / "real/");
    std::unique_ptr<ReadableFile> file;
    EXPECT_NE(fs.OpenFileAt(*dir, "link", file), 0);
}

TEST_F(PosixFileSystemTest, AttributesFollowModeAndName) {
    EXPECT_EQ(AttributesOf("a", FileKind::Regular, 0644), kAttributeArchive);
    EXPECT_EQ(AttributesOf(".a", FileKind::Regular, 0444), kAttributeArchive | kAttributeHidden | kAttributeReadOnly);
    EXPECT_EQ(AttributesOf("d", FileKind::Directory, 0755), kAttributeDirectory);
    EXPECT_EQ(AttributesOf("l", FileKind::SymLink, 0777), kAttributeArchive);
}

TEST_F(PosixFileSystemTest, CopiesDataInChunksAndCreatesLinks) {
    std::string content(3 * 1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < content.size(); ++i) {
        content[i] = static_cast<char>(i * 7);
    }
    tmp.WriteFile("big", content);
    auto dir = Open();
    std::unique_ptr<ReadableFile> in;
    std::unique_ptr<WritableFile> out;
    ASSERT_EQ(fs.OpenFileAt(*dir, "big", in), 0);
    ASSERT_EQ(fs.CreateFileAt(*dir, "copy", 0644, out), 0);
    EXPECT_EQ(fs.CreateFileAt(*dir, "copy", 0644, out), EEXIST);
    ASSERT_EQ(fs.CreateFileAt(*dir, "copy2", 0644, out), 0);
    int chunks = 0;
    for (std::uint64_t copied = 1; copied > 0; ++chunks) {
        ASSERT_EQ(fs.CopyData(*in, *out, 1 << 20, copied), 0);
    }
    EXPECT_EQ(chunks, 5);  // four chunks and the end
    ASSERT_EQ(out->SetTimes({1000000000, 5}, {1200000000, 123456789}), 0);
    ASSERT_EQ(out->Close(), 0);
    EXPECT_EQ(tmp.ReadFile("copy2"), content);
    EntryInfo info;
    ASSERT_EQ(fs.StatAt(*dir, "copy2", info), 0);
    EXPECT_EQ(info.Modified.Seconds, 1200000000);
    EXPECT_EQ(info.Modified.Nanoseconds, 123456789);

    ASSERT_EQ(fs.CreateLinkAt(*dir, "l", "../somewhere"), 0);
    std::string target;
    ASSERT_EQ(fs.ReadLinkAt(*dir, "l", target), 0);
    EXPECT_EQ(target, "../somewhere");
    ASSERT_EQ(fs.RenameAt(*dir, "copy2", *dir, "copy"), 0);
    EXPECT_EQ(tmp.ReadFile("copy"), content);
    EXPECT_EQ(fs.RemoveAt(*dir, "l", false), 0);
    EXPECT_FALSE(tmp.Exists("l"));
}

TEST_F(PosixFileSystemTest, MakeDirectoriesCreatesParentsAndAcceptsExisting) {
    EXPECT_EQ(fs.MakeDirectories(tmp / "a/b/c/"), 0);
    EXPECT_TRUE(fs.IsDirectory(tmp / "a/b/c"));
    EXPECT_EQ(fs.MakeDirectories(tmp / "a/b/c/"), 0);
    tmp.WriteFile("file", "");
    EXPECT_NE(fs.MakeDirectories(tmp / "file/x/"), 0);
    EXPECT_EQ(fs.MakeDirectories(tmp / "file/"), EEXIST);
}

}  // namespace
}  // namespace trx::platform
