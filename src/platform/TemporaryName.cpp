// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/TemporaryName.h"

#include <cerrno>
#include <random>

namespace trx::platform {

namespace {

constexpr std::size_t kMaxNameLength = 255;
constexpr std::string_view kMark = ".trx-";

std::string RandomSuffix(int length) {
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    thread_local std::mt19937_64 generator{std::random_device{}()};
    std::string suffix;
    for (int i = 0; i < length; ++i) {
        suffix.push_back(kDigits[generator() % 36]);
    }
    return suffix;
}

bool IsRandomTail(std::string_view name, std::size_t length) {
    if (name.size() < length) {
        return false;
    }
    for (const char c : name.substr(name.size() - length)) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))) {
            return false;
        }
    }
    return true;
}

// "." + something + ".trx-" + `length` random characters.
bool IsBesideName(std::string_view name, std::size_t length) {
    return name.size() > 1 + kMark.size() + length && name[0] == '.' && IsRandomTail(name, length) &&
           name.substr(name.size() - length - kMark.size(), kMark.size()) == kMark;
}

}  // namespace

std::string TemporaryName(const std::string& name) {
    std::string candidate = "." + name + std::string(kMark) + RandomSuffix(8);
    if (candidate.size() > kMaxNameLength) {
        candidate = std::string(kMark) + RandomSuffix(16);
    }
    return candidate;
}

bool IsTemporaryName(std::string_view name) {
    if (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
        name.remove_suffix(1);
    }
    if (name.size() == kMark.size() + 16 && name.starts_with(kMark) && IsRandomTail(name, 16)) {
        return true;
    }
    return IsBesideName(name, 8);
}

Result<std::string> UnderTemporaryName(const std::string& name,
                                       const std::function<Status(const std::string& temporary)>& make) {
    Status made = StatusOf(EEXIST);
    for (int attempt = 0; attempt < 8 && made.Error() == EEXIST; ++attempt) {
        std::string temporary = TemporaryName(name);
        made = make(temporary);
        if (made) {
            return temporary;
        }
    }
    return Failure{made.Error()};
}

}  // namespace trx::platform
