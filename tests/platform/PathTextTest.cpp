// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PathText.h"

#include <gtest/gtest.h>

namespace trx::platform {
namespace {

TEST(PathText, ComponentsAndExtensions) {
    using Parts = std::vector<std::string_view>;
    EXPECT_EQ(PathComponents("a/b/"), (Parts{"a", "b"}));
    EXPECT_EQ(PathComponents("//a//b"), (Parts{"a", "b"}));
    EXPECT_EQ(PathComponents(""), Parts{});
    EXPECT_EQ(PathComponents("/"), Parts{});
    EXPECT_EQ(WithoutExtension("/a.b/Daten.buf"), "/a.b/Daten");
    EXPECT_EQ(WithoutExtension("/a.b/Daten"), "/a.b/Daten");
    EXPECT_EQ(WithoutExtension("/a/.buf"), "/a/");
    EXPECT_EQ(WithoutExtension("x.y.z"), "x.y");
}

}  // namespace
}  // namespace trx::platform
