// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/ScopedImageMount.h"

#include <sys/mount.h>
#include <unistd.h>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace trx::test {

namespace {

// Runs a command line made of the test's own temporary paths; true when it succeeded.
bool Succeeds(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

std::string FirstLineOf(const std::string& command) {
    std::string line;
    if (FILE* out = ::popen((command + " 2>/dev/null").c_str(), "r"); out != nullptr) {
        std::array<char, 256> buffer{};
        if (std::fgets(buffer.data(), buffer.size(), out) != nullptr) {
            line = buffer.data();
        }
        ::pclose(out);
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) {
        line.pop_back();
    }
    return line;
}

std::string Quoted(const std::string& path) {
    return "'" + path + "'";
}

}  // namespace

ScopedImageMount::ScopedImageMount(Kind kind, std::string image, std::string folder)
    : image_(std::move(image)), folder_(std::move(folder)) {
    mounted_ = Mount(kind);
}

bool ScopedImageMount::Mount(Kind kind) {
    const bool fat = kind == Kind::Fat;
    const char* tools = fat ? "mkfs.vfat fusefat" : "mkfs.exfat mount.exfat-fuse losetup";
    if (::geteuid() != 0) {
        why_ = "mounting a file system image needs root";
        return false;
    }
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        why_ = "no /dev/fuse on this machine";
        return false;
    }
    if (!Succeeds(std::string("PATH=\"$PATH:/sbin:/usr/sbin\" command -v ") + tools)) {
        why_ = std::string("needs ") + tools + " (packages dosfstools fusefat exfatprogs exfat-fuse)";
        return false;
    }
    std::ofstream(image_).close();
    if (::truncate(image_.c_str(), 64 << 20) != 0 ||
        !Succeeds(std::string("PATH=\"$PATH:/sbin:/usr/sbin\" ") + (fat ? "mkfs.vfat " : "mkfs.exfat ") +
                  Quoted(image_))) {
        why_ = "cannot make the file system image";
        return false;
    }
    if (fat) {
        if (!Succeeds("fusefat -o rw+ " + Quoted(image_) + " " + Quoted(folder_))) {
            why_ = "fusefat cannot mount the image";
            return false;
        }
        return true;
    }
    loopDevice_ = FirstLineOf("losetup -f --show " + Quoted(image_));
    if (loopDevice_.empty()) {
        why_ = "no free loop device";
        return false;
    }
    if (!Succeeds("PATH=\"$PATH:/sbin:/usr/sbin\" mount.exfat-fuse " + loopDevice_ + " " + Quoted(folder_))) {
        why_ = "exfat-fuse cannot mount the image";
        Succeeds("losetup -d " + loopDevice_);
        loopDevice_.clear();
        return false;
    }
    return true;
}

ScopedImageMount::~ScopedImageMount() {
    if (mounted_ && ::umount2(folder_.c_str(), 0) != 0) {
        ::umount2(folder_.c_str(), MNT_DETACH);
    }
    if (!loopDevice_.empty()) {
        Succeeds("losetup -d " + loopDevice_);
    }
}

}  // namespace trx::test
