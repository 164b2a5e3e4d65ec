// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Protocol.h"

#include "platform/PathText.h"

namespace trx {

std::string ProtocolFileName(std::string_view projectPath) {
    if (projectPath.empty()) {
        return {};
    }
    return platform::WithoutExtension(projectPath) + "_Protocol.txt";
}

std::string ProtocolTimeStamp(const platform::cLocalTime& time, const cTextFormats& formats) {
    std::string stamp = formats.ShortDate(time);
    if (time.Hour != 0 || time.Minute != 0 || time.Second != 0) {
        stamp += ' ';
        stamp += formats.LongTime(time);
    }
    return stamp;
}

cProtocol::cProtocol(const cBackUpOptions& defaultOptions, platform::FileSystem& fileSystem,
                     const cTextFormats& formats, Clock clock, Ticks ticks)
    : defaultOptions_(defaultOptions),
      fileSystem_(fileSystem),
      formats_(formats),
      clock_(std::move(clock)),
      ticks_(std::move(ticks)) {
}

cProtocol::~cProtocol() {
    Close();
}

bool cProtocol::Open(const std::string& projectPath) {
    Close();
    if (projectPath.empty()) {
        return false;
    }
    auto file = fileSystem_.OpenForWriting(ProtocolFileName(projectPath));
    if (!file) {
        return false;
    }
    file_ = std::move(*file);
    buffer_.clear();
    buffer_.reserve(kBufferSize + 1024);
    writeError_ = 0;
    return true;
}

void cProtocol::WriteProtocol(std::string_view text, int level, const cBackUpOptions* options) {
    if (!file_) {
        return;
    }
    const cBackUpOptions& judge = options != nullptr ? *options : defaultOptions_;
    if (level > judge.Protocol) {
        return;
    }
    if (buffer_.empty()) {
        bufferedSince_ = ticks_();
    }
    buffer_ += ProtocolTimeStamp(clock_(), formats_);
    buffer_ += ' ';
    char previous = '\0';
    for (const char c : text) {
        if (c == '\n' && previous != '\r') {
            buffer_ += '\r';
        }
        buffer_ += c;
        previous = c;
    }
    buffer_ += "\r\n";
    if (buffer_.size() >= kBufferSize) {
        Flush();
    } else {
        FlushIfDue();
    }
}

void cProtocol::FlushIfDue() {
    if (file_ && !buffer_.empty() && ticks_() - bufferedSince_ >= kFlushInterval) {
        Flush();
    }
}

void cProtocol::Close() {
    if (!file_) {
        return;
    }
    Flush();
    if (file_) {
        (void)file_->Close();  // a failing close loses at most the protocol, never the run
        file_.reset();
    }
    buffer_.clear();
}

void cProtocol::Flush() {
    if (buffer_.empty()) {
        return;
    }
    if (const platform::Status written = file_->Write(buffer_.data(), buffer_.size()); !written) {
        writeError_ = written.Error();
        Abandon();
        return;
    }
    buffer_.clear();
}

// A protocol that failed once is not continued: later lines after a gap would mislead more than help.
void cProtocol::Abandon() {
    (void)file_->Close();
    file_.reset();
    buffer_.clear();
}

}  // namespace trx
