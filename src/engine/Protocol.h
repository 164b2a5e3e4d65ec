// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/TextFormats.h"
#include "model/BackUpOptions.h"
#include "platform/FileSystem.h"
#include "platform/LocalTime.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace trx {

// The protocol beside a project: its path with the extension of the last component (from its last dot
// on) replaced by "_Protocol.txt", or that suffix appended when it has no dot. "" for an unsaved project.
std::string ProtocolFileName(std::string_view projectPath);

// "07.12.2026 00:11:08": short date and long time; at midnight to the second the date alone.
std::string ProtocolTimeStamp(const platform::cLocalTime& time, const cTextFormats& formats);

// The protocol of one run, owned by the run controller from the start of the run to its end. Lines are
// UTF-8, each "time stamp, blank, text" ending in CR LF. Lines are written in pieces, yet none waits in
// memory for much more than a second, so that a run that is killed leaves what it wrote. Nothing here is
// thrown: a file that cannot be opened leaves the run without protocol, and after a write error the rest
// of the run's lines are dropped and WriteError says why, for the run to report once.
class cProtocol {
public:
    using Clock = std::function<platform::cLocalTime()>;
    using Ticks = std::function<std::chrono::steady_clock::time_point()>;

    // Lines collect in memory up to this many bytes, or this long, before they are written.
    static constexpr std::size_t kBufferSize = 64 * 1024;
    static constexpr std::chrono::milliseconds kFlushInterval{1000};

    // `defaultOptions` (the project's, which outlives the run) judges lines written without an option set.
    cProtocol(const cBackUpOptions& defaultOptions, platform::FileSystem& fileSystem,
              const cTextFormats& formats, Clock clock = &platform::LocalNow,
              Ticks ticks = &std::chrono::steady_clock::now);
    ~cProtocol();  // closes
    cProtocol(const cProtocol&) = delete;
    cProtocol& operator=(const cProtocol&) = delete;

    // Starts a new protocol for the project at `projectPath`, creating the file or cutting it to length 0.
    // False, and no protocol, for an empty path or a file that cannot be opened (an existing one then
    // keeps its contents).
    bool Open(const std::string& projectPath);

    // True from a successful Open until Close or a write error.
    bool IsOpen() const { return file_ != nullptr; }

    // Writes one line when a protocol is open and `level` does not exceed the `Protocol` of `options`, or
    // of the default set when it is null. Every LF in `text` ends a line with CR LF; a CR LF already there
    // stays as it is. Called by the run controller and the engine.
    void WriteProtocol(std::string_view text, int level, const cBackUpOptions* options);

    // Writes what is buffered when the oldest of it has waited a second; the run calls it between entries
    // and chunks, so that a long copy holds nothing back.
    void FlushIfDue();

    // Writes what is buffered and closes the file. Harmless when nothing is open.
    void Close();

    // The error that stopped this protocol, or 0.
    int WriteError() const { return writeError_; }

private:
    void Flush();
    void Abandon();

    const cBackUpOptions& defaultOptions_;
    platform::FileSystem& fileSystem_;
    const cTextFormats& formats_;
    Clock clock_;
    Ticks ticks_;
    std::unique_ptr<platform::WritableFile> file_;
    std::string buffer_;
    std::chrono::steady_clock::time_point bufferedSince_{};
    int writeError_ = 0;
};

}  // namespace trx
