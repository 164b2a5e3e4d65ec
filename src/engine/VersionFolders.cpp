// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/VersionFolders.h"

#include "engine/TargetPath.h"
#include "model/BackUpDestination.h"
#include "model/BackUpOptions.h"
#include "model/BackUpSource.h"
#include "platform/FileSystem.h"
#include "platform/Text.h"

#include <cstdio>
#include <memory>
#include <unordered_set>
#include <vector>

namespace trx {

namespace {

constexpr int kLastStandIn = 99;

std::string NameNumber(int number) {
    return number == 1 ? std::string(kVersionsFolder)
                       : std::string(kVersionsFolder) + "-" + std::to_string(number);
}

// The upper-cased top-level names that the sources of `destination` have or had in it and that could be
// the name of a versions folder.
std::unordered_set<std::string> ClaimedNames(const cBackUpDestination& destination,
                                             platform::FileSystem& fs) {
    std::unordered_set<std::string> claimed;
    const auto claim = [&claimed](std::string_view name) {
        if (name.size() >= kVersionsFolder.size() && name[0] == '.') {
            claimed.insert(text::UpperCase(name));
        }
    };
    for (const cBackUpSource* source : destination.Sources) {
        const std::string target = GetTargetSubPath(source->Path, source->Options->TransferFlags);
        if (!target.empty()) {
            claim(std::string_view(target).substr(0, target.find('/')));
            continue;
        }
        // The source fills the destination's top level itself: its names now and those of its last run.
        for (const std::string& name : source->Catalogue.Files) {
            claim(name);
        }
        const auto dir = fs.OpenDirectory(source->Path);
        if (const auto entries =
                dir ? (*dir)->List()
                    : platform::Result<std::vector<platform::ListedEntry>>(platform::Failure{dir.Error()})) {
            for (const platform::ListedEntry& entry : *entries) {
                claim(entry.Name);
            }
        }
    }
    return claimed;
}

}  // namespace

bool IsVersionsFolderName(std::string_view name) {
    if (name == kVersionsFolder) {
        return true;
    }
    if (!name.starts_with(kVersionsFolder) || name.size() < kVersionsFolder.size() + 2 ||
        name[kVersionsFolder.size()] != '-') {
        return false;
    }
    const std::string_view digits = name.substr(kVersionsFolder.size() + 1);
    if (digits.size() > 2 || digits[0] == '0' ||
        digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return false;
    }
    return std::stoi(std::string(digits)) >= 2;
}

std::string VersionStamp(const platform::cLocalTime& time) {
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d-%02d-%02d", time.Year, time.Month, time.Day,
                  time.Hour, time.Minute, time.Second);
    return text;
}

bool ParseVersionStamp(std::string_view name, platform::cLocalTime& time) {
    static constexpr std::string_view kPattern = "dddd-dd-dd dd-dd-dd";
    if (name.size() > kPattern.size()) {
        // A second run that started in the same second: "-2", "-3", ...
        const std::string_view number = name.substr(kPattern.size());
        if (number.size() < 2 || number.size() > 3 || number[0] != '-' ||
            number.find_first_not_of("0123456789", 1) != std::string_view::npos) {
            return false;
        }
        name = name.substr(0, kPattern.size());
    }
    if (name.size() != kPattern.size()) {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        const bool digit = name[i] >= '0' && name[i] <= '9';
        if (digit != (kPattern[i] == 'd') || (!digit && name[i] != kPattern[i])) {
            return false;
        }
    }
    const auto number = [&](std::size_t at, std::size_t length) {
        return std::stoi(std::string(name.substr(at, length)));
    };
    time = {number(0, 4), number(5, 2), number(8, 2), number(11, 2), number(14, 2), number(17, 2), 0};
    return time.Month >= 1 && time.Month <= 12 && time.Day >= 1 && time.Day <= 31 && time.Hour < 24 &&
           time.Minute < 60 && time.Second < 61;
}

std::string ChooseVersionsFolder(const cBackUpDestination& destination, platform::FileSystem& fs) {
    const std::unordered_set<std::string> claimed = ClaimedNames(destination, fs);
    for (int number = 1; number <= kLastStandIn; ++number) {
        const std::string name = NameNumber(number);
        if (claimed.count(text::UpperCase(name)) == 0) {
            return name;
        }
    }
    return {};
}

}  // namespace trx
