// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/DefaultTextFormats.h"
#include "engine/DestinationRun.h"
#include "engine/Protocol.h"
#include "engine/RunContext.h"
#include "model/BackUpSource.h"
#include "model/Project.h"
#include "platform/PosixFileSystem.h"
#include "support/FaultyFileSystem.h"
#include "support/TestDir.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace trx::test {

// A project with one destination and one source in a temporary folder, run by the engine with a real
// file system (behind the fault-injecting decorator) and a protocol at level 2 with a fixed clock.
class RunFixture : public ::testing::Test {
protected:
    RunFixture() {
        project.Reset();
        project.DefaultOptions.Protocol = 2;
        src = tmp.MakeDir("src");
        dst = tmp / "dst/";
        dest = new cBackUpDestination(project, dst);
        source = new cBackUpSource(src, *dest);
        run.Protocol = &protocol;
        run.PumpInterval = std::chrono::steady_clock::duration::zero();
    }

    // One destination run, with a fresh protocol; returns the protocol lines without time stamps.
    std::vector<std::string> Run(cBackUpDestination* which = nullptr) {
        run.CancelRequested = false;
        protocol.Open(tmp / "p.buf");
        cDestinationRun(run, which != nullptr ? *which : *dest).BackUp();
        protocol.Close();
        return Lines();
    }

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(tmp.ReadFile("p_Protocol.txt"));
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            lines.push_back(line.substr(std::string("01.01.2026 12:00:00 ").size()));
        }
        return lines;
    }

    static bool Contains(const std::vector<std::string>& lines, const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    }

    std::vector<std::string> Sorted(std::vector<std::string> names) const {
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::time_t MTime(const std::string& path) {
        struct stat st {};
        ::lstat(path.c_str(), &st);
        return st.st_mtime;
    }

    TestDir tmp;
    platform::PosixFileSystem posix;
    FaultyFileSystem fs{posix};
    cDefaultTextFormats formats;
    cProject project;
    cRunContext run{fs, formats};
    cProtocol protocol{project.DefaultOptions, posix, formats,
                       [] { return platform::cLocalTime{2026, 1, 1, 12, 0, 0, 0}; }};
    std::string src;
    std::string dst;
    cBackUpDestination* dest = nullptr;
    cBackUpSource* source = nullptr;
};

}  // namespace trx::test
