// SPDX-License-Identifier: GPL-3.0-or-later
// Runs whose file system calls go to worker threads say and do exactly what a run on one thread does.
#include "RunFixture.h"

#include "engine/WorkerPool.h"
#include "support/TreeSnapshot.h"

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>

namespace trx::test {
namespace {

class WorkerRunTest : public RunFixture {
protected:
    WorkerRunTest() {
        dst2 = tmp / "dst2/";
        dest2 = new cBackUpDestination(project, dst2);
        new cBackUpSource(src, *dest2);
        Record(*dest, events);
        Record(*dest2, events2);
    }

    static void Record(cBackUpDestination& destination, std::vector<std::string>& into) {
        destination.OnDirEntered = [&into](cBackUpDestination&, const std::string& path) {
            into.push_back("dir " + path);
        };
        destination.OnProgress = [&into](cBackUpDestination&, int at, int count) {
            into.push_back("at " + std::to_string(at) + "/" + std::to_string(count));
        };
        destination.OnFileCompared = [&into](cBackUpDestination&, cBackUpSource&) {
            into.push_back("compared");
        };
        destination.OnFileProgress = [&into](cBackUpDestination&, std::uint64_t done, std::uint64_t size,
                                             const std::string* name) {
            into.push_back((name != nullptr ? "start " + *name + " " : "chunk ") + std::to_string(done) +
                           "/" + std::to_string(size));
        };
    }

    // Runs the first destination on the run's thread and the second with workers; both must say the same.
    void RunBothAndCompare() {
        events.clear();
        events2.clear();
        run.Workers = nullptr;
        const std::vector<std::string> alone = Run(dest);
        run.Workers = &workers;
        std::vector<std::string> parallel = Run(dest2);
        for (std::string& line : parallel) {
            for (std::size_t at = line.find(dst2); at != std::string::npos; at = line.find(dst2)) {
                line.replace(at, dst2.size(), dst);
            }
        }
        EXPECT_EQ(alone, parallel);
        EXPECT_EQ(events, events2);
        EXPECT_EQ(Differences(Relative(TreeSnapshot(dst), dst), Relative(TreeSnapshot(dst2), dst2)),
                  std::vector<std::string>{});
    }

    // Folders left closed (0700) were made by the run and never given a source folder's times: the
    // versions folders, and the copy of a folder that could not be read. Their times are the run's own.
    static std::map<std::string, std::string> Relative(const std::map<std::string, std::string>& tree,
                                                       const std::string& root) {
        std::map<std::string, std::string> relative;
        for (const auto& [path, state] : tree) {
            const std::string name = path.substr(root.size());
            relative[name] = state.starts_with("16832 ") ? state.substr(0, state.rfind(' ')) : state;
        }
        return relative;
    }

    static std::vector<std::string> Differences(const std::map<std::string, std::string>& one,
                                                const std::map<std::string, std::string>& other) {
        std::vector<std::string> differ;
        std::map<std::string, std::string> rest = other;
        for (const auto& [path, state] : one) {
            const auto it = rest.find(path);
            if (it == rest.end() || it->second != state) {
                differ.push_back(path + ": " + state + " | " + (it == rest.end() ? "missing" : it->second));
            }
            if (it != rest.end()) {
                rest.erase(it);
            }
        }
        for (const auto& [path, state] : rest) {
            differ.push_back(path + ": missing | " + state);
        }
        return differ;
    }

    void MakeTree() {
        for (const char* folder : {"a/", "b/", "b/c/", "b/c/d/"}) {
            tmp.MakeDir("src/" + std::string(folder));
            for (int i = 0; i < 40; ++i) {
                tmp.WriteFile("src/" + std::string(folder) + "f" + std::to_string(i),
                              std::string(static_cast<std::size_t>(i * 97), 'x'));
            }
        }
        tmp.WriteFile("src/a/big", std::string(700u << 10, 'b'));  // copied in chunks on the run's thread
        tmp.WriteFile("src/b/linked", "one file, two names");
        ASSERT_EQ(::link((src + "b/linked").c_str(), (src + "b/c/partner").c_str()), 0);
        ASSERT_EQ(::symlink("f1", (src + "a/link").c_str()), 0);
        tmp.WriteFile("src/b/zz-bad", "cannot be read");
        tmp.WriteFile("src/b/c/empty", "");
    }

    cWorkerPool workers{3};
    std::string dst2;
    cBackUpDestination* dest2 = nullptr;
    std::vector<std::string> events;
    std::vector<std::string> events2;
};

TEST_F(WorkerRunTest, FirstAndLaterRunsSayAndCopyWhatOneThreadDoes) {
    MakeTree();
    fs.Fail(FaultyFileSystem::Op::CopyData, "zz-bad", EIO);
    project.DefaultOptions.DelDeletedFiles = true;
    RunBothAndCompare();
    EXPECT_GT(run.ProblemCount, 0);

    // The nightly run: some files grow, some go, some come, a file becomes a folder.
    for (int i = 0; i < 40; i += 7) {
        tmp.WriteFile("src/b/c/f" + std::to_string(i),
                      std::string(static_cast<std::size_t>(i * 97 + 5), 'y'));
        ASSERT_EQ(::unlink((src + "a/f" + std::to_string(i + 1)).c_str()), 0);
        tmp.WriteFile("src/b/new" + std::to_string(i), "new");
    }
    ASSERT_EQ(::unlink((src + "b/c/d/f3").c_str()), 0);
    tmp.MakeDir("src/b/c/d/f3");
    tmp.WriteFile("src/b/c/d/f3/inside", "now a folder");
    RunBothAndCompare();
}

// Many small folders, deeper and wider than the workers read ahead at a time, one of them unreadable;
// then replaced copies are kept as versions.
TEST_F(WorkerRunTest, FoldersReadAheadAndVersionsKeptOnWorkersChangeNothingSaid) {
    for (int i = 0; i < 50; ++i) {
        const std::string folder = "src/w/" + std::to_string(i) + "/";
        tmp.MakeDir(folder + "deep/er/");
        tmp.WriteFile(folder + "deep/er/file", std::to_string(i));
        tmp.WriteFile(folder + "file", std::string(static_cast<std::size_t>(i), 'w'));
    }
    fs.Fail(FaultyFileSystem::Op::OpenDirectory, "w/7/deep/", EACCES);
    project.DefaultOptions.DelDeletedFiles = true;
    RunBothAndCompare();

    run.Versions = {true, 30, 0};
    run.VersionStamp = "2026-12-09 02-30-00";
    for (int i = 0; i < 50; i += 3) {
        tmp.WriteFile("src/w/" + std::to_string(i) + "/file", "changed " + std::to_string(i));
    }
    // A folder's bits and attributes reach copies the workers read ahead of the walk.
    ASSERT_EQ(::chmod((src + "w/6").c_str(), 0750), 0);
    const bool attributes = ::setxattr((src + "w/5/deep").c_str(), "user.note", "neu", 3, 0) == 0;
    run.VersionsKept = 0;
    RunBothAndCompare();
    EXPECT_EQ(run.VersionsKept, 2 * 17);  // in each destination
    for (const std::string& copy : {dst, dst2}) {
        char value[8] = {};
        EXPECT_TRUE(!attributes || ::getxattr((copy + "w/5/deep").c_str(), "user.note", value, sizeof value) == 3);
        EXPECT_EQ(std::string(value), attributes ? "neu" : "");
    }
}

TEST_F(WorkerRunTest, ACancelledRunSaysEveryCopyItPlacedAndNoOther) {
    MakeTree();
    // Slow copies, so that many wait in the queue when the cancel comes during the fifth copy of a folder.
    std::atomic<int> copiesBeforeCancel{-1};
    fs.AfterChunk = [&](const std::string& file, std::uint64_t) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        if (file.find("b/c/d/") != std::string::npos &&
            fs.Calls(FaultyFileSystem::Op::CopyData, "b/c/d/") >= 5 && copiesBeforeCancel.load() < 0) {
            copiesBeforeCancel = fs.Calls(FaultyFileSystem::Op::CopyData);
            run.CancelRequested = true;
        }
    };
    run.Workers = &workers;
    protocol.Open(tmp / "p.buf");
    cDestinationRun(run, *dest2).BackUp();
    protocol.Close();
    const std::vector<std::string> lines = Lines();

    int placed = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dst2)) {
        if (!entry.is_directory()) {
            ++placed;
            const std::string path = entry.path().string().substr(dst2.size());
            if (!entry.is_symlink()) {
                EXPECT_EQ(tmp.ReadFile("dst2/" + path), tmp.ReadFile("src/" + path)) << path;
            }
        }
    }
    const auto copiedLines = std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("erfolgreich") != std::string::npos;
    });
    EXPECT_GT(placed, 0);
    EXPECT_EQ(copiedLines, placed);
    // Only copies a worker had already begun may finish; those still waiting are dropped.
    ASSERT_GE(copiesBeforeCancel.load(), 0);
    EXPECT_LE(fs.Calls(FaultyFileSystem::Op::CopyData) - copiesBeforeCancel.load(), workers.Size());
}

}  // namespace
}  // namespace trx::test
