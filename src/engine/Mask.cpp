// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Mask.h"

#include "platform/Text.h"

namespace trx {

namespace {

constexpr char32_t kInvalidByteBase = 0x110000;

// Extensions and masks fold ASCII a to z only: "Ärger*" must not match "ärger.txt".
inline char32_t FoldAscii(char32_t c) {
    return (c >= U'a' && c <= U'z') ? c - (U'a' - U'A') : c;
}

}  // namespace

char32_t MaskCharacterAt(std::string_view text, std::size_t pos, std::size_t& length) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        length = 1;
        return lead;
    }
    std::size_t next = pos;
    const char32_t decoded = text::DecodeUtf8(text, next);
    length = next - pos;
    // The decoder gives U+FFFD and a one-byte step for a byte it cannot decode; a real U+FFFD is three bytes.
    if (decoded == text::kReplacementChar && length == 1) {
        return kInvalidByteBase + lead;
    }
    return decoded;
}

cMask::cMask(std::string_view mask) {
    bool pendingStar = false;
    int starred = 0;
    const auto add = [&](Kind kind, char32_t character, std::uint32_t firstRange, std::uint32_t rangeCount) {
        elements_.push_back({kind, pendingStar, character, firstRange, rangeCount});
        starred += pendingStar ? 1 : 0;
        pendingStar = false;
    };
    std::size_t pos = 0;
    while (pos < mask.size()) {
        std::size_t length = 0;
        const char32_t c = MaskCharacterAt(mask, pos, length);
        pos += length;
        if (c == U'*') {
            pendingStar = true;
        } else if (c == U'?') {
            // "*?" means the same as "*": a "?" behind a star is dropped.
            if (!pendingStar) {
                add(Kind::Any, 0, 0, 0);
            }
        } else if (c == U'[') {
            bool negated = false;
            std::uint32_t first = 0;
            std::uint32_t count = 0;
            if (!ReadSet(mask, pos, negated, first, count)) {
                elements_.clear();
                ranges_.clear();
                return;
            }
            add(negated ? Kind::NegatedSet : Kind::Set, 0, first, count);
        } else {
            add(Kind::Literal, FoldAscii(c), 0, 0);
        }
    }
    add(Kind::End, 0, 0, 0);
    valid_ = starred <= kMaxStarredElements;
}

// Reads a set after its "[" up to and including its "]". Members are single characters or ranges "x-y";
// a "-" that cannot start a range (directly before "]") is a member of its own. Invalid: no "]", no member,
// or "-" first.
bool cMask::ReadSet(std::string_view mask, std::size_t& pos, bool& negated, std::uint32_t& first,
                    std::uint32_t& count) {
    if (pos < mask.size() && mask[pos] == '!') {
        negated = true;
        ++pos;
    }
    if (pos < mask.size() && mask[pos] == '-') {
        return false;
    }
    first = static_cast<std::uint32_t>(ranges_.size());
    int members = 0;
    for (;;) {
        if (pos >= mask.size()) {
            return false;
        }
        std::size_t length = 0;
        const char32_t low = FoldAscii(MaskCharacterAt(mask, pos, length));
        pos += length;
        if (low == U']') {
            break;
        }
        char32_t high = low;
        if (pos + 1 < mask.size() && mask[pos] == '-' && mask[pos + 1] != ']') {
            ++pos;
            high = FoldAscii(MaskCharacterAt(mask, pos, length));
            pos += length;
        }
        ++members;
        if (low <= high) {  // a range whose end comes first adds nothing
            ranges_.push_back({low, high});
        }
    }
    count = static_cast<std::uint32_t>(ranges_.size()) - first;
    return members > 0;
}

bool cMask::ElementMatches(const Element& element, char32_t character) const {
    switch (element.kind) {
        case Kind::Literal:
            return FoldAscii(character) == element.character;
        case Kind::Any:
            return true;
        case Kind::Set:
        case Kind::NegatedSet: {
            const char32_t folded = FoldAscii(character);
            bool member = false;
            for (std::uint32_t i = 0; i < element.rangeCount && !member; ++i) {
                const Range& range = ranges_[element.firstRange + i];
                member = folded >= range.low && folded <= range.high;
            }
            return member == (element.kind == Kind::Set);
        }
        case Kind::End:
            break;
    }
    return false;
}

// A starred element first skips characters until it matches and remembers the next position as the point
// to retry from. Only the point of the most recent starred element is kept: once a later star is reached,
// retrying an earlier one can only move that later star's start further right, and the later star has
// already tried every position from its own start on. This gives the same answers as keeping a point per
// star, in time proportional to name length times mask length instead of exponential time.
bool cMask::Matches(std::string_view name) const {
    if (!valid_) {
        return false;
    }
    const std::size_t size = name.size();
    std::size_t pos = 0;
    std::size_t index = 0;
    bool canRetry = false;
    std::size_t retryPos = 0;
    std::size_t retryIndex = 0;
    for (;;) {
        const Element& element = elements_[index];
        if (element.star) {
            if (element.kind == Kind::End) {
                return true;
            }
            canRetry = false;
        }
        bool matched = false;
        std::size_t length = 0;
        for (;;) {
            if (pos >= size) {
                matched = element.kind == Kind::End;
                break;
            }
            if (element.kind != Kind::End && ElementMatches(element, MaskCharacterAt(name, pos, length))) {
                matched = true;
                break;
            }
            if (!element.star) {
                break;
            }
            pos += length;
        }
        if (matched) {
            if (element.kind == Kind::End) {
                return true;
            }
            pos += length;
            if (element.star) {
                canRetry = true;
                retryPos = pos;
                retryIndex = index;
            }
            ++index;
            continue;
        }
        if (!canRetry) {
            return false;
        }
        pos = retryPos;
        index = retryIndex;
    }
}

}  // namespace trx
