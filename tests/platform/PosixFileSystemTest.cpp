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
        auto dir = fs.OpenDirectory(tmp / relative);
        EXPECT_TRUE(dir) << dir.Error();
        return dir ? std::move(*dir) : nullptr;
    }
    std::vector<std::string> Names(Directory& dir) {
        const auto entries = dir.List();
        EXPECT_TRUE(entries);
        std::vector<std::string> names;
        for (const auto& e : *entries) {
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
    auto info = dir->Stat("link");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->Kind, FileKind::SymLink);
    EXPECT_EQ(info->Size, 8u);  // the length of "data.bin"
    info = dir->Stat("data.bin");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->Kind, FileKind::Regular);
    EXPECT_EQ(info->Size, 1000u);
    EXPECT_EQ(dir->Stat("gone").Error(), ENOENT);

    tmp.MakeDir("real");
    ASSERT_EQ(::symlink("real", (tmp / "dirlink").c_str()), 0);
    EXPECT_FALSE(dir->OpenSub("dirlink"));
    auto sub = dir->OpenSub("real");
    ASSERT_TRUE(sub);
    EXPECT_EQ((*sub)->Path(), tmp / "real/");
    EXPECT_FALSE(dir->OpenFile("link"));
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
    auto in = dir->OpenFile("big");
    ASSERT_TRUE(in);
    ASSERT_TRUE(dir->CreateFile("copy", 0644, NewBits::Exact));
    EXPECT_EQ(dir->CreateFile("copy", 0644, NewBits::Exact).Error(), EEXIST);
    auto out = dir->CreateFile("copy2", 0644, NewBits::Exact);
    ASSERT_TRUE(out);
    int chunks = 0;
    for (std::uint64_t copied = 1; copied > 0; ++chunks) {
        const auto moved = (*out)->CopyFrom(**in, 1 << 20);
        ASSERT_TRUE(moved);
        copied = *moved;
    }
    EXPECT_EQ(chunks, 5);  // four chunks and the end
    ASSERT_TRUE((*out)->SetTimes({1000000000, 5}, {1200000000, 123456789}));
    ASSERT_TRUE((*out)->Close());
    EXPECT_EQ(tmp.ReadFile("copy2"), content);
    const auto info = dir->Stat("copy2");
    ASSERT_TRUE(info);
    EXPECT_EQ(info->Modified.Seconds, 1200000000);
    EXPECT_EQ(info->Modified.Nanoseconds, 123456789);

    ASSERT_TRUE(dir->CreateLink("l", "../somewhere"));
    const auto target = dir->ReadLink("l");
    ASSERT_TRUE(target);
    EXPECT_EQ(*target, "../somewhere");
    ASSERT_TRUE(dir->Rename("copy2", *dir, "copy"));
    EXPECT_EQ(tmp.ReadFile("copy"), content);
    EXPECT_TRUE(dir->Remove("l", false));
    EXPECT_FALSE(tmp.Exists("l"));
}

TEST_F(PosixFileSystemTest, MakeDirectoriesCreatesParentsAndAcceptsExisting) {
    EXPECT_TRUE(fs.MakeDirectories(tmp / "a/b/c/"));
    EXPECT_TRUE(fs.IsDirectory(tmp / "a/b/c"));
    EXPECT_TRUE(fs.MakeDirectories(tmp / "a/b/c/"));
    tmp.WriteFile("file", "");
    EXPECT_FALSE(fs.MakeDirectories(tmp / "file/x/"));
    EXPECT_EQ(fs.MakeDirectories(tmp / "file/").Error(), EEXIST);
}

}  // namespace
}  // namespace trx::platform
