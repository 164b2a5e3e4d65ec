// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/TargetPath.h"

#include "model/BackUpOptions.h"

#include <gtest/gtest.h>

namespace trx {
namespace {

constexpr const char* kSample = "C:\\Eigene Dateien\\Briefe\\Muster\\";
constexpr const char* kAll = "Eigene Dateien\\Briefe\\Muster\\";
constexpr const char* kAllWithDrive = "C\\Eigene Dateien\\Briefe\\Muster\\";

std::uint8_t Flags(unsigned level, bool drive) {
    return EncodeTransferFlags(true, level == 0, level, drive);
}

TEST(TargetPath, TheOptionsFramesExample) {
    EXPECT_EQ(GetTargetSubPath(kSample, Flags(1, false)), "Muster\\");
    EXPECT_EQ(GetTargetSubPath(kSample, Flags(2, false)), "Briefe\\Muster\\");
    for (unsigned level = 3; level <= 63; ++level) {
        EXPECT_EQ(GetTargetSubPath(kSample, Flags(level, false)), kAll) << level;
    }
    EXPECT_EQ(GetTargetSubPath(kSample, Flags(0, false)), kAll);
    EXPECT_EQ(GetTargetSubPath(kSample, Flags(1, true)), "Muster\\");
    EXPECT_EQ(GetTargetSubPath(kSample, Flags(3, true)), kAll);
    for (unsigned level = 4; level <= 63; ++level) {
        EXPECT_EQ(GetTargetSubPath(kSample, Flags(level, true)), kAllWithDrive) << level;
    }
    EXPECT_EQ(GetTargetSubPath(kSample, Flags(0, true)), kAllWithDrive);
}

TEST(TargetPath, WithoutDirectoryNamesEverySourceGoesStraightIn) {
    for (unsigned byte = 0; byte < 256; byte += 2) {  // bit 0 clear, any other bits
        EXPECT_EQ(GetTargetSubPath(kSample, static_cast<std::uint8_t>(byte)), "") << byte;
        EXPECT_EQ(GetTargetSubPath("/home/benutzer/Briefe/", static_cast<std::uint8_t>(byte)), "") << byte;
    }
}

TEST(TargetPath, HighLevelsAreUnsignedAndNeverEmpty) {
    EXPECT_EQ(GetTargetSubPath(kSample, 0xFD), kAll);
    EXPECT_EQ(GetTargetSubPath(kSample, 0xFF), kAllWithDrive);
    EXPECT_EQ(GetTargetSubPath("C:\\A\\", 0x81), "A\\");  // level 32
    EXPECT_EQ(GetTargetSubPath("/A/", 0xFD), "A/");
}

TEST(TargetPath, DriveRootsAndOddPaths) {
    for (unsigned level = 0; level <= 63; ++level) {
        EXPECT_EQ(GetTargetSubPath("C:\\", Flags(level, false)), "") << level;
        EXPECT_EQ(GetTargetSubPath("C:\\", Flags(level, true)), "C\\") << level;
        EXPECT_EQ(GetTargetSubPath("/", Flags(level, false)), "") << level;
        EXPECT_EQ(GetTargetSubPath("/", Flags(level, true)), "") << level;
    }
    EXPECT_EQ(GetTargetSubPath("C:\\A\\Daten\\", Flags(1, false)), "Daten\\");
    EXPECT_EQ(GetTargetSubPath("D:\\B\\Daten\\", Flags(1, false)), "Daten\\");
    EXPECT_EQ(GetTargetSubPath("C:\\A\\B", Flags(1, false)), "A\\B");  // no trailing separator
    EXPECT_EQ(GetTargetSubPath("", Flags(0, true)), "");
    EXPECT_EQ(GetTargetSubPath("C:", Flags(0, true)), "C");
}

TEST(TargetPath, LinuxPathsHaveARootAndNoDriveName) {
    const char* path = "/home/benutzer/Briefe/Muster/";
    EXPECT_EQ(GetTargetSubPath(path, Flags(1, false)), "Muster/");
    EXPECT_EQ(GetTargetSubPath(path, Flags(2, false)), "Briefe/Muster/");
    EXPECT_EQ(GetTargetSubPath(path, Flags(2, true)), "Briefe/Muster/");
    EXPECT_EQ(GetTargetSubPath(path, Flags(0, false)), "home/benutzer/Briefe/Muster/");
    EXPECT_EQ(GetTargetSubPath(path, Flags(0, true)), "home/benutzer/Briefe/Muster/");
    EXPECT_EQ(GetTargetSubPath(path, Flags(9, true)), "home/benutzer/Briefe/Muster/");
    // A backslash or colon is part of a Linux name, not a separator or a drive.
    EXPECT_EQ(GetTargetSubPath("/mnt/c:\\x/Daten/", Flags(2, false)), "c:\\x/Daten/");
}

}  // namespace
}  // namespace trx
