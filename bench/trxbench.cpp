// SPDX-License-Identifier: GPL-3.0-or-later
// Benchmark driver for Tresorix's engine.
//
//   trxbench backup  PROJECT.buf SRC DST   back SRC up into DST; the catalogue lives in PROJECT.buf, so
//                                          a second call with the same file is a no-change run
//   trxbench project PROJECT.buf SRC DST   only write a project that backs SRC up into DST (for trxmain)
//   trxbench walk    SRC DST               the bare walk: readdir and one stat per source and target file
//   trxbench small   DIR DIRS FILES MIN MAX  DIRS folders with FILES files of MIN..MAX bytes each
//   trxbench flat    DIR FILES             FILES files of 100 bytes in one folder
//   trxbench big     FILE MIB              one file of MIB mebibytes
//   trxbench preview PROJECT.buf           the preview of the project's run (nothing is written); prints the
//                                          seconds and, on standard error, the number of planned actions
//   trxbench loadsave PROJECT.buf          load the project and save it to PROJECT.buf.saved: prints the
//                                          seconds of each and the file's size in bytes
//   trxbench peak    COMMAND [ARGS...]     run COMMAND: prints its seconds and its peak resident memory in
//                                          KiB (the exit status is COMMAND's)
//   trxbench append  LIST BYTES            append BYTES bytes to every file named in LIST (one per line)
//
// Every command prints the seconds it took on standard output.
#include "engine/DefaultTextFormats.h"
#include "engine/DestinationRun.h"
#include "engine/PlanRecorder.h"
#include "engine/RunPlan.h"
#include "engine/RunContext.h"
#include "engine/WorkerPool.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "model/ProjectFile.h"
#include "platform/PosixFileSystem.h"

#include <dirent.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// TRX_THREADS sets the worker threads (0: the run's thread alone), else as the program chooses.
int Threads() {
    const char* threads = std::getenv("TRX_THREADS");
    return threads != nullptr ? std::atoi(threads) : trx::cWorkerPool::DefaultThreads();
}

double Since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Absolute, with a trailing "/": the project must name the same folders from wherever it is run.
std::string WithSlash(std::string path) {
    path = std::filesystem::absolute(path).string();
    if (path.back() != '/') {
        path.push_back('/');
    }
    return path;
}

int Backup(const std::string& projectPath, const std::string& src, const std::string& dst) {
    trx::platform::PosixFileSystem fs;
    trx::platform::RaiseOpenFileLimit();
    trx::cProject project;
    project.Reset();
    if (::access(projectPath.c_str(), F_OK) == 0) {
        trx::LoadProject(project, projectPath, fs);
    } else {
        auto* destination = new trx::cBackUpDestination(project, WithSlash(dst));
        new trx::cBackUpSource(WithSlash(src), *destination);
    }
    trx::cDefaultTextFormats formats;
    trx::cRunContext run(fs, formats);
    trx::cWorkerPool workers(Threads());
    run.Workers = &workers;
    const auto start = Clock::now();
    for (trx::cBackUpDestination* destination : project.Destinations) {
        trx::cDestinationRun(run, *destination).BackUp();
    }
    const double seconds = Since(start);
    trx::SaveProject(project, projectPath, fs);
    std::printf("%.3f\n", seconds);
    return run.ProblemCount == 0 ? 0 : 2;
}

int WriteProject(const std::string& projectPath, const std::string& src, const std::string& dst) {
    trx::platform::PosixFileSystem fs;
    trx::cProject project;
    project.Reset();
    auto* destination = new trx::cBackUpDestination(project, WithSlash(dst));
    new trx::cBackUpSource(WithSlash(src), *destination);
    trx::SaveProject(project, projectPath, fs);
    return 0;
}

// What any tool that compares two trees must do at least: list every source directory and stat every
// source entry and its counterpart in the target, relative to open directory descriptors.
void Walk(int sourceFd, int targetFd, long& entries) {
    DIR* dir = ::fdopendir(::dup(sourceFd));
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) {
            continue;
        }
        struct stat source {};
        struct stat target {};
        ::fstatat(sourceFd, name, &source, AT_SYMLINK_NOFOLLOW);
        ::fstatat(targetFd, name, &target, AT_SYMLINK_NOFOLLOW);
        ++entries;
        if (entry->d_type == DT_DIR) {
            const int subSource = ::openat(sourceFd, name, O_RDONLY | O_DIRECTORY);
            const int subTarget = ::openat(targetFd, name, O_RDONLY | O_DIRECTORY);
            Walk(subSource, subTarget, entries);
            ::close(subSource);
            ::close(subTarget);
        }
    }
    ::closedir(dir);
}

int BareWalk(const std::string& src, const std::string& dst) {
    const auto start = Clock::now();
    const int sourceFd = ::open(src.c_str(), O_RDONLY | O_DIRECTORY);
    const int targetFd = ::open(dst.c_str(), O_RDONLY | O_DIRECTORY);
    long entries = 0;
    Walk(sourceFd, targetFd, entries);
    std::printf("%.3f\n", Since(start));
    std::fprintf(stderr, "%ld entries\n", entries);
    return 0;
}

void WriteFile(const std::string& path, std::size_t size, std::mt19937& random) {
    std::string content(size, '\0');
    for (char& c : content) {
        c = static_cast<char>('a' + random() % 26);
    }
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size())) {
        std::perror(path.c_str());
        std::exit(1);
    }
    ::close(fd);
}

int MakeSmall(const std::string& root, int dirs, int files, std::size_t minSize, std::size_t maxSize) {
    const auto start = Clock::now();
    std::mt19937 random(42);
    ::mkdir(root.c_str(), 0755);
    for (int d = 0; d < dirs; ++d) {
        const std::string dir = WithSlash(root) + "dir" + std::to_string(d / 20) + "/";
        ::mkdir(dir.c_str(), 0755);
        const std::string leaf = dir + "sub" + std::to_string(d) + "/";
        ::mkdir(leaf.c_str(), 0755);
        for (int f = 0; f < files; ++f) {
            const std::size_t size = minSize + random() % (maxSize - minSize + 1);
            WriteFile(leaf + "file" + std::to_string(f) + ".dat", size, random);
        }
    }
    std::printf("%.3f\n", Since(start));
    return 0;
}

int MakeFlat(const std::string& root, int files) {
    const auto start = Clock::now();
    std::mt19937 random(7);
    ::mkdir(root.c_str(), 0755);
    for (int f = 0; f < files; ++f) {
        WriteFile(WithSlash(root) + "file" + std::to_string(f) + ".txt", 100, random);
    }
    std::printf("%.3f\n", Since(start));
    return 0;
}

int MakeBig(const std::string& path, long mebibytes) {
    const auto start = Clock::now();
    std::mt19937 random(1);
    std::string block(1 << 20, '\0');
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (long i = 0; i < mebibytes; ++i) {
        for (std::size_t j = 0; j < block.size(); j += 4096) {
            block[j] = static_cast<char>(random());
        }
        if (::write(fd, block.data(), block.size()) != static_cast<ssize_t>(block.size())) {
            std::perror(path.c_str());
            return 1;
        }
    }
    ::close(fd);
    std::printf("%.3f\n", Since(start));
    return 0;
}

int Preview(const std::string& projectPath) {
    trx::platform::PosixFileSystem fs;
    trx::platform::RaiseOpenFileLimit();
    trx::cProject project;
    trx::LoadProject(project, projectPath, fs);
    trx::cDefaultTextFormats formats;
    trx::cRunContext run(fs, formats);
    trx::cRunPlan plan;
    trx::cPlanRecorder recorder(plan);
    run.DryRun = true;
    run.Plan = &recorder;
    trx::cWorkerPool workers(Threads());
    run.Workers = &workers;
    const auto start = Clock::now();
    trx::cProject copy;  // as the program's preview does: the walk may change its copy, never the project
    trx::CloneProject(project, copy);
    for (trx::cBackUpDestination* destination : copy.Destinations) {
        trx::cDestinationRun(run, *destination).BackUp();
    }
    std::printf("%.3f\n", Since(start));
    std::fprintf(stderr, "%zu actions\n", plan.Actions.size());
    return 0;
}

int LoadSave(const std::string& projectPath) {
    trx::platform::PosixFileSystem fs;
    trx::cProject project;
    auto start = Clock::now();
    trx::LoadProject(project, projectPath, fs);
    const double load = Since(start);
    start = Clock::now();
    trx::SaveProject(project, projectPath + ".saved", fs);
    const double save = Since(start);
    struct stat st {};
    ::stat(projectPath.c_str(), &st);
    std::printf("%.3f %.3f %lld\n", load, save, static_cast<long long>(st.st_size));
    return 0;
}

int Peak(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& arg : command) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const auto start = Clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execvp(argv[0], argv.data());
        std::_Exit(127);
    }
    int status = 0;
    struct rusage usage {};
    ::wait4(child, &status, 0, &usage);
    std::printf("%.3f %ld\n", Since(start), usage.ru_maxrss);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
}

int Append(const std::string& list, std::size_t bytes) {
    const auto start = Clock::now();
    std::ifstream in(list);
    const std::string text(bytes, 'x');
    for (std::string path; std::getline(in, path);) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
        if (fd >= 0) {
            (void)!::write(fd, text.data(), text.size());
            ::close(fd);
        }
    }
    std::printf("%.3f\n", Since(start));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> a(argv, argv + argc);
    if (a.size() == 5 && a[1] == "backup") {
        return Backup(a[2], a[3], a[4]);
    }
    if (a.size() == 5 && a[1] == "project") {
        return WriteProject(a[2], a[3], a[4]);
    }
    if (a.size() == 4 && a[1] == "walk") {
        return BareWalk(a[2], a[3]);
    }
    if (a.size() == 7 && a[1] == "small") {
        return MakeSmall(a[2], std::atoi(a[3].c_str()), std::atoi(a[4].c_str()),
                         std::strtoul(a[5].c_str(), nullptr, 10), std::strtoul(a[6].c_str(), nullptr, 10));
    }
    if (a.size() == 4 && a[1] == "flat") {
        return MakeFlat(a[2], std::atoi(a[3].c_str()));
    }
    if (a.size() == 4 && a[1] == "big") {
        return MakeBig(a[2], std::atol(a[3].c_str()));
    }
    if (a.size() == 3 && a[1] == "preview") {
        return Preview(a[2]);
    }
    if (a.size() == 3 && a[1] == "loadsave") {
        return LoadSave(a[2]);
    }
    if (a.size() >= 3 && a[1] == "peak") {
        return Peak(std::vector<std::string>(a.begin() + 2, a.end()));
    }
    if (a.size() == 4 && a[1] == "append") {
        return Append(a[2], std::strtoul(a[3].c_str(), nullptr, 10));
    }
    std::fprintf(stderr, "usage: see the head of bench/trxbench.cpp\n");
    return 64;
}
