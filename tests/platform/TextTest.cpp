// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Text.h"

#include <gtest/gtest.h>

namespace trx::text {
namespace {

std::string Utf8(char32_t cp) {
    std::string out;
    AppendUtf8(out, cp);
    return out;
}

TEST(Cp1252, MapsTheHighHalfAndKeepsBytesWithoutCharacter) {
    EXPECT_EQ(Cp1252ToUnicode(0x80), U'\u20AC');
    EXPECT_EQ(Cp1252ToUnicode(0x85), U'\u2026');
    EXPECT_EQ(Cp1252ToUnicode(0x9F), U'\u0178');
    EXPECT_EQ(Cp1252ToUnicode(0xE4), U'\u00E4');
    for (const std::uint8_t undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
        EXPECT_EQ(Cp1252ToUnicode(undefined), static_cast<char32_t>(undefined));
    }
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(UnicodeToCp1252(Cp1252ToUnicode(static_cast<std::uint8_t>(b))), b) << b;
    }
    EXPECT_EQ(UnicodeToCp1252(U'\u03A9'), '?');  // Greek omega has no place in the code page
    EXPECT_EQ(UnicodeToCp1252(U'\u0080'), '?');  // 0x80 holds the euro sign, not U+0080
}

TEST(Utf8, EncodesAndDecodesEveryLength) {
    for (const char32_t cp : {U'A', U'\u00E4', U'\u20AC', U'\U0001F600'}) {
        const std::string s = Utf8(cp);
        std::size_t pos = 0;
        EXPECT_EQ(DecodeUtf8(s, pos), cp);
        EXPECT_EQ(pos, s.size());
        EXPECT_TRUE(IsValidUtf8(s));
    }
    EXPECT_EQ(Utf8(0xD800), Utf8(kReplacementChar));
}

TEST(Utf8, InvalidSequencesAdvanceOneByte) {
    for (const std::string bad :
         {"\x85", "\xC3", "\xE2\x82", "\xC0\xAF", "\xED\xA0\x80", "\xF5\x80\x80\x80"}) {
        std::size_t pos = 0;
        EXPECT_EQ(DecodeUtf8(bad, pos), kReplacementChar);
        EXPECT_EQ(pos, 1u);
        EXPECT_FALSE(IsValidUtf8(bad));
    }
    EXPECT_TRUE(IsValidUtf8(Utf8(kReplacementChar)));  // a real U+FFFD is fine
}

TEST(Utf16, ConvertsPairsAndReplacesLoneSurrogates) {
    const unsigned char text[] = {'B', 0, 0xFC, 0, 0x3D, 0xD8, 0x00, 0xDE, 0x00, 0xD8, 'x', 0};
    EXPECT_EQ(Utf16LeToUtf8(text, 6), "B\xC3\xBC\xF0\x9F\x98\x80\xEF\xBF\xBDx");
}

TEST(UpperCase, FoldsUnicodeButLeavesInvalidBytes) {
    EXPECT_EQ(UpperCase("brief.txt"), "BRIEF.TXT");
    EXPECT_EQ(UpperCase("b\xC3\xBC"
                        "cher"),
              "B\xC3\x9C"
              "CHER");  // bücher -> BÜCHER
    EXPECT_EQ(UpperCase("stra\xC3\x9F"
                        "e"),
              "STRA\xC3\x9F"
              "E");  // ß has no single upper-case letter
    EXPECT_EQ(UpperCase("a\xFF"
                        "b"),
              "A\xFF"
              "B");
    EXPECT_EQ(AsciiUpperCase("\xC3\xA4rger.txt"), "\xC3\xA4RGER.TXT");
    EXPECT_TRUE(SameTextIgnoringCase("/S", "/s"));
    EXPECT_FALSE(SameTextIgnoringCase("a\xFF", "a\xFE"));
}

}  // namespace
}  // namespace trx::text
