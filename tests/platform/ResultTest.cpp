// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Result.h"

#include <gtest/gtest.h>
#include <cerrno>
#include <memory>
#include <vector>

namespace trx::platform {
namespace {

TEST(ResultTest, AValueIsSuccessAndAFailureNeverLooksLikeOne) {
    const Result<std::vector<int>> empty(std::vector<int>{});
    EXPECT_TRUE(empty);
    EXPECT_TRUE(empty->empty());
    const Result<std::vector<int>> failed(Failure{ENOENT});
    EXPECT_FALSE(failed);
    EXPECT_EQ(failed.Error(), ENOENT);
    // A failure without an errno value is still a failure.
    EXPECT_EQ(Result<int>(Failure{0}).Error(), EIO);
    EXPECT_EQ(StatusOf(0).Error(), 0);
    EXPECT_EQ(StatusOf(EACCES).Error(), EACCES);
}

TEST(ResultTest, MoveOnlyValuesAndDerivedPointersAreTakenOut) {
    struct Base {
        virtual ~Base() = default;
    };
    struct Derived : Base {};
    Result<std::unique_ptr<Base>> made = std::make_unique<Derived>();
    ASSERT_TRUE(made);
    std::unique_ptr<Base> taken = std::move(*made);
    EXPECT_NE(dynamic_cast<Derived*>(taken.get()), nullptr);
}

}  // namespace
}  // namespace trx::platform
