// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace trx {

// The unit that "?" and a set consume, and that literals compare: one UTF-8 encoded character, so that
// "?" matches "ä" as a user expects. A byte that does not start a valid UTF-8 sequence counts as one
// character of its own and yields 0x110000 + the byte, a value no real character has; names are never
// rejected or altered for their encoding. Sets their length to the bytes consumed; `pos` < text.size().
char32_t MaskCharacterAt(std::string_view text, std::size_t pos, std::size_t& length);

// One file-name mask ("*", "?", sets such as "[!a-c]"), compiled once into its elements and matched
// against many names. Letters compare without regard to case for ASCII a to z only.
class cMask {
public:
    // Masks with more starred elements than this are invalid.
    static constexpr int kMaxStarredElements = 30;

    // Compiles `mask`; never throws. An invalid mask gives an object whose Valid() is false.
    explicit cMask(std::string_view mask);

    bool Valid() const { return valid_; }

    // True when the whole of `name` matches; always false for an invalid mask. No allocation.
    bool Matches(std::string_view name) const;

private:
    enum class Kind : std::uint8_t { Literal, Any, Set, NegatedSet, End };
    struct Element {
        Kind kind;
        bool star;                 // a "*" stood before this element
        char32_t character;        // Literal: the (folded) character
        std::uint32_t firstRange;  // Set: index into ranges_
        std::uint32_t rangeCount;
    };
    struct Range {
        char32_t low;
        char32_t high;
    };

    bool ReadSet(std::string_view mask, std::size_t& pos, bool& negated, std::uint32_t& first,
                 std::uint32_t& count);
    bool ElementMatches(const Element& element, char32_t character) const;

    std::vector<Element> elements_;
    std::vector<Range> ranges_;
    bool valid_ = false;
};

}  // namespace trx
