// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/common/ErrorMessage.h"

#include <gtest/gtest.h>

namespace trx {
namespace {

TEST(FullStop, OnlyAfterCharactersThatSortAfterTheDot) {
    EXPECT_EQ(WithFullStop("Invalid property value"), "Invalid property value.");
    EXPECT_EQ(WithFullStop("List index out of bounds (3)"), "List index out of bounds (3)");
    EXPECT_EQ(WithFullStop("Cannot open file /p/Daten.buf"), "Cannot open file /p/Daten.buf.");
    EXPECT_EQ(WithFullStop("Fehler 7"), "Fehler 7.");
    EXPECT_EQ(WithFullStop("Schluss."), "Schluss.");
    EXPECT_EQ(WithFullStop("Halt!"), "Halt!");
    EXPECT_EQ(WithFullStop(QString::fromUtf8("Gr\xC3\xB6\xC3\x9F")),
              QString::fromUtf8("Gr\xC3\xB6\xC3\x9F."));
    EXPECT_EQ(WithFullStop(""), "");
}

}  // namespace
}  // namespace trx
