// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/FilterCriteria.h"
#include "engine/InvalidMaskError.h"
#include "engine/Mask.h"

#include <gtest/gtest.h>
#include <chrono>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace trx {
namespace {

bool Matches(std::string_view name, std::string_view mask) {
    return MaskMatches(name, mask);
}

TEST(Mask, StarsAndLiterals) {
    EXPECT_TRUE(Matches("Brief.txt", "Brief*.txt"));
    EXPECT_TRUE(Matches("brief2006.TXT", "Brief*.txt"));
    EXPECT_FALSE(Matches("Briefe.doc", "Brief*.txt"));
    EXPECT_FALSE(Matches("notes.txt.bak", "*.txt"));
    EXPECT_TRUE(Matches("a.b.txt", "*.txt"));
    EXPECT_TRUE(Matches("a.b", "*.*"));
    EXPECT_TRUE(Matches("a.", "*.*"));
    EXPECT_FALSE(Matches("README", "*.*"));
    EXPECT_TRUE(Matches("anything at all", "*"));
    EXPECT_TRUE(Matches("abcabd", "*ab?"));
    EXPECT_TRUE(Matches("xaxbxc", "*a*b*c"));
    EXPECT_FALSE(Matches("xaxbx", "*a*b*c"));
    EXPECT_FALSE(Matches("Brief.txt", "Brief"));  // anchored at the end too
    EXPECT_FALSE(Matches("xBrief", "Brief*"));    // and at the start
}

TEST(Mask, QuestionMarksBehindAStarAreDropped) {
    // "?*" needs a character; "*?" is "*" and so also lets an empty rest through.
    EXPECT_TRUE(Matches("a", "?*"));
    EXPECT_TRUE(Matches("abc", "?*"));
    EXPECT_TRUE(Matches("a", "*?"));
    EXPECT_TRUE(Matches("a", "a*?"));
    EXPECT_TRUE(Matches("ab", "a*?b"));
    EXPECT_TRUE(Matches("ab", "a*??b"));
    EXPECT_FALSE(Matches("ab", "a?b"));
    EXPECT_TRUE(Matches("axb", "a?b"));
}

TEST(Mask, Sets) {
    EXPECT_TRUE(Matches("Brief.txt", "[a-c]*"));
    EXPECT_TRUE(Matches("anna.doc", "[a-c]*"));
    EXPECT_FALSE(Matches("Dora.txt", "[a-c]*"));
    EXPECT_FALSE(Matches("Brief.txt", "[!a-c]*"));
    EXPECT_FALSE(Matches("anna.doc", "[!a-c]*"));
    EXPECT_TRUE(Matches("Dora.txt", "[!a-c]*"));
    EXPECT_TRUE(Matches("x1", "x[0-9]"));
    EXPECT_TRUE(Matches("xA", "x[0-9a]"));
    EXPECT_FALSE(Matches("xb", "x[c-a]"));  // a range whose end comes first adds nothing
    EXPECT_TRUE(Matches("xb", "x[!c-a]"));
    EXPECT_FALSE(Matches("x", "x[abc]"));  // a set never matches the end of the name
    EXPECT_TRUE(Matches("a-", "a[x-]"));   // a "-" before "]" is a member
    EXPECT_TRUE(Matches("a]", "a]"));      // outside a set "]" and "!" are literals
    EXPECT_TRUE(Matches("!", "!"));
    EXPECT_TRUE(Matches("[", "[[]"));
}

TEST(Mask, OnlyAsciiLettersFoldAndOneCharacterIsOneUtf8Character) {
    EXPECT_FALSE(Matches("ärger.txt", "Ärger*"));
    EXPECT_FALSE(Matches("Ärger.txt", "ärger*"));
    EXPECT_TRUE(Matches("ÄRGER.TXT", "Ärger*"));
    EXPECT_TRUE(Matches("ä", "?"));
    EXPECT_TRUE(Matches("Bär", "B?r"));
    EXPECT_TRUE(Matches("日本", "??"));
    EXPECT_TRUE(Matches("x\xFF", "x?"));      // an invalid byte is one character
    EXPECT_TRUE(Matches("\xC3\xFF", "??"));   // a cut sequence: two characters
    EXPECT_FALSE(Matches("\xC3\xA4", "??"));  // but "ä" is one
    EXPECT_TRUE(Matches("ö", "[ä-ü]"));       // ranges run over code points
    EXPECT_FALSE(Matches("\xFF", "[\xC3\xA4-\xC3\xBC]"));
    EXPECT_TRUE(
        Matches("a\xFF"
                "b",
                "a\xFF"
                "b"));

    std::size_t length = 0;
    EXPECT_EQ(MaskCharacterAt("\xE2\x82\xAC", 0, length), U'€');
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(MaskCharacterAt("\xC0\x80", 0, length), char32_t{0x110000 + 0xC0});  // overlong: byte-wise
    EXPECT_EQ(length, 1u);
    EXPECT_EQ(MaskCharacterAt("\xEF\xBF\xBD", 0, length), char32_t{0xFFFD});  // a real U+FFFD stays one
    EXPECT_EQ(length, 3u);
}

TEST(Mask, InvalidMasksRaiseTheTypedError) {
    for (const char* mask : {"[abc", "[", "[]", "[!]", "[-a]", "[!-a]", "a[b-", "*[a-c"}) {
        EXPECT_THROW(Matches("abc", mask), cInvalidMaskError) << mask;
    }
    try {
        Matches("x", "a*[!");
        FAIL();
    } catch (const cInvalidMaskError& error) {
        EXPECT_EQ(error.Mask(), "a*[!");
    }
}

std::string Stars(int count, std::string_view between) {
    std::string mask;
    for (int i = 0; i < count; ++i) {
        mask += '*';
        mask += between;
    }
    return mask;
}

TEST(Mask, AtMostThirtyStarredElements) {
    EXPECT_NO_THROW(Matches("x", Stars(30, "a")));  // the 30th star goes to the end element
    EXPECT_THROW(Matches("x", Stars(31, "a")), cInvalidMaskError);
    EXPECT_NO_THROW(Matches("x", Stars(29, "a") + "*"));
    EXPECT_NO_THROW(Matches("x", Stars(80, "?") + "a"));  // "*?*?..." is one star
    EXPECT_NO_THROW(Matches("x", std::string(100, '*')));
}

TEST(Mask, BacktrackingStaysFastOnHostileMasks) {
    const std::string name(255, 'a');
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(Matches(name, Stars(29, "a") + "*b"));
    EXPECT_TRUE(Matches(name, Stars(29, "a") + "*a"));
    EXPECT_FALSE(Matches(name + "b", Stars(29, "a?") + "c"));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
}

// An independent reading of the rules for the fuzz test: parse into tokens, then match by plain
// recursion that tries every position of a starred element.
struct RefToken {
    enum Kind { Literal, Any, Set, End } kind = Literal;
    bool star = false;
    bool negated = false;
    char32_t character = 0;
    std::vector<std::pair<char32_t, char32_t>> ranges;
};

RefToken Token(RefToken::Kind kind) {
    RefToken token;
    token.kind = kind;
    return token;
}

std::vector<char32_t> Characters(std::string_view text) {
    std::vector<char32_t> out;
    for (std::size_t pos = 0, length = 0; pos < text.size(); pos += length) {
        out.push_back(MaskCharacterAt(text, pos, length));
    }
    return out;
}

char32_t Fold(char32_t c) {
    return c >= 'a' && c <= 'z' ? c - 32 : c;
}

std::optional<std::vector<RefToken>> RefParse(std::string_view mask) {
    const std::vector<char32_t> m = Characters(mask);
    std::vector<RefToken> tokens;
    bool star = false;
    int starred = 0;
    const auto push = [&](RefToken token) {
        token.star = star;
        starred += star;
        star = false;
        tokens.push_back(std::move(token));
    };
    for (std::size_t i = 0; i < m.size(); ++i) {
        if (m[i] == '*') {
            star = true;
        } else if (m[i] == '?') {
            if (!star) {
                push(Token(RefToken::Any));
            }
        } else if (m[i] == '[') {
            RefToken set = Token(RefToken::Set);
            std::size_t j = i + 1;
            if (j < m.size() && m[j] == '!') {
                set.negated = true;
                ++j;
            }
            if (j < m.size() && m[j] == '-') {
                return std::nullopt;
            }
            bool closed = false;
            int members = 0;
            while (j < m.size()) {
                if (m[j] == ']') {
                    closed = true;
                    break;
                }
                if (j + 2 < m.size() && m[j + 1] == '-' && m[j + 2] != ']') {
                    set.ranges.emplace_back(Fold(m[j]), Fold(m[j + 2]));
                    j += 3;
                } else {
                    set.ranges.emplace_back(Fold(m[j]), Fold(m[j]));
                    j += 1;
                }
                ++members;
            }
            if (!closed || members == 0) {
                return std::nullopt;
            }
            i = j;
            push(std::move(set));
        } else {
            RefToken literal = Token(RefToken::Literal);
            literal.character = Fold(m[i]);
            push(literal);
        }
    }
    push(Token(RefToken::End));
    if (starred > 30) {
        return std::nullopt;
    }
    return tokens;
}

bool RefAccepts(const RefToken& token, char32_t c) {
    c = Fold(c);
    switch (token.kind) {
        case RefToken::Literal:
            return c == token.character;
        case RefToken::Any:
            return true;
        case RefToken::Set: {
            bool member = false;
            for (const auto& [low, high] : token.ranges) {
                member = member || (c >= low && c <= high);
            }
            return member != token.negated;
        }
        case RefToken::End:
            break;
    }
    return false;
}

bool RefMatch(const std::vector<RefToken>& tokens, std::size_t i, const std::vector<char32_t>& name,
              std::size_t pos) {
    const RefToken& token = tokens[i];
    const std::size_t last = token.star ? name.size() : pos;
    for (std::size_t at = pos; at <= last; ++at) {
        if (token.kind == RefToken::End) {
            if (at == name.size()) {
                return true;
            }
        } else if (at < name.size() && RefAccepts(token, name[at]) && RefMatch(tokens, i + 1, name, at + 1)) {
            return true;
        }
    }
    return false;
}

TEST(Mask, FuzzNeverCrashesAndAgreesWithASimpleReading) {
    std::mt19937 random(20240611);
    const std::vector<std::string> maskPieces = {"*",    "*", "?",     "[",    "]", "!", "-",
                                                 "a",    "B", "c",     ".",    "ä", "Ä", "\xFF",
                                                 "\xC3", "z", "[a-c]", "[!b]", "**"};
    const std::vector<std::string> namePieces = {"a",    "b", "C", ".", "ä", "Ä", "\xFF",
                                                 "\xC3", "-", "!", "]", "z", "["};
    const auto pick = [&](const std::vector<std::string>& pieces, int maxCount) {
        std::string text;
        const int count = std::uniform_int_distribution<int>(0, maxCount)(random);
        for (int i = 0; i < count; ++i) {
            text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
        }
        return text;
    };
    int invalid = 0;
    int matched = 0;
    for (int round = 0; round < 4000; ++round) {
        std::string mask = pick(maskPieces, 9);
        if (round % 50 == 0) {
            mask = Stars(std::uniform_int_distribution<int>(26, 34)(random), "a") + mask;  // near the limit
        }
        const std::optional<std::vector<RefToken>> reference = RefParse(mask);
        for (int n = 0; n < 8; ++n) {
            const std::string name = pick(namePieces, 8);
            if (!reference) {
                EXPECT_THROW(MaskMatches(name, mask), cInvalidMaskError) << mask;
                ++invalid;
                continue;
            }
            bool result = false;
            ASSERT_NO_THROW(result = MaskMatches(name, mask)) << mask;
            EXPECT_EQ(result, RefMatch(*reference, 0, Characters(name), 0))
                << "mask " << mask << " name " << name;
            matched += result;
        }
    }
    // The generator must reach both kinds of masks and both answers, or the test proves little.
    EXPECT_GT(invalid, 1000);
    EXPECT_GT(matched, 1000);
}

}  // namespace
}  // namespace trx
