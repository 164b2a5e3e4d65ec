// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FormatSize.h"

#include "engine/DefaultTextFormats.h"

#include <gtest/gtest.h>

namespace trx {
namespace {

class EnglishFormats : public cDefaultTextFormats {
public:
    std::string DecimalSeparator() const override { return "."; }
};

constexpr std::uint64_t KB = 1024;
constexpr std::uint64_t MB = KB * KB;
constexpr std::uint64_t TB = MB * MB;

TEST(FormatSize, German) {
    const cDefaultTextFormats german;
    EXPECT_EQ(FormatSize(0, german), "0 Byte");
    EXPECT_EQ(FormatSize(1, german), "1 Byte");
    EXPECT_EQ(FormatSize(1023, german), "1023 Byte");
    EXPECT_EQ(FormatSize(1024, german), "1 KB");
    EXPECT_EQ(FormatSize(1536, german), "1,5 KB");
    EXPECT_EQ(FormatSize(3145728, german), "3 MB");
    EXPECT_EQ(FormatSize(1280, german), "1,3 KB");     // 1.25 rounds half up
    EXPECT_EQ(FormatSize(1075, german), "1 KB");       // 1.0498
    EXPECT_EQ(FormatSize(1076, german), "1,1 KB");     // 1.0508
    EXPECT_EQ(FormatSize(MB - 1, german), "1024 KB");  // rounding happens after the last division
    EXPECT_EQ(FormatSize(5 * MB * KB + MB * KB / 10, german), "5,1 GB");
    EXPECT_EQ(FormatSize(TB, german), "1 TB");
    EXPECT_EQ(FormatSize(1024 * TB, german), "1024 TB");
    EXPECT_EQ(FormatSize(UINT64_MAX, german), "16777216 TB");
}

TEST(FormatSize, English) {
    const EnglishFormats english;
    EXPECT_EQ(FormatSize(1536, english), "1.5 KB");
    EXPECT_EQ(FormatSize(1023, english), "1023 Byte");
    EXPECT_EQ(FormatSize(2 * TB + TB / 2, english), "2.5 TB");
}

}  // namespace
}  // namespace trx
