// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/TestDir.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace trx::test {

// trxmain started without DISPLAY, WAYLAND_DISPLAY and QT_QPA_PLATFORM, its standard error in a file.
class Headless {
public:
    Headless(const std::vector<std::string>& args, const std::string& errPath,
             const std::string& outPath = "/dev/null") {
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WAYLAND_DISPLAY=", 0) != 0 &&
                entry.rfind("QT_QPA_PLATFORM=", 0) != 0) {
                env.push_back(entry);
            }
        }
        std::vector<std::string> argv{TRXMAIN_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        std::vector<char*> argp;
        for (std::string& a : argv) {
            argp.push_back(a.data());
        }
        argp.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (posix_spawn(&pid_, argp[0], &actions, nullptr, argp.data(), envp.data()) != 0) {
            pid_ = -1;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Headless() {
        if (pid_ > 0 && !waited_) {
            ::kill(pid_, SIGKILL);
            Wait();
        }
    }
    Headless(const Headless&) = delete;
    Headless& operator=(const Headless&) = delete;

    pid_t Pid() const { return pid_; }

    // The exit status; -1 when the program did not exit normally (a signal ended it) or within 60 s.
    int Wait() {
        int status = 0;
        for (int i = 0; i < 6000; ++i) {
            const pid_t done = ::waitpid(pid_, &status, WNOHANG);
            if (done == pid_) {
                waited_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return -1;
    }

private:
    pid_t pid_ = -1;
    bool waited_ = false;
};

struct Outcome {
    int status = -1;
    std::string err;
    std::string out;
};

// Runs the program to its end; its standard output and error land in `dir` (outside any tree a test
// compares).
inline Outcome RunHeadless(const std::vector<std::string>& args, const TestDir& dir) {
    Headless program(args, dir / "stderr.txt", dir / "stdout.txt");
    Outcome outcome;
    outcome.status = program.Wait();
    outcome.err = dir.ReadFile("stderr.txt");
    outcome.out = dir.ReadFile("stdout.txt");
    return outcome;
}

}  // namespace trx::test
