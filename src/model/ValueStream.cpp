// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/ValueStream.h"

#include "model/ProjectFileError.h"
#include "platform/Text.h"

#include <cstring>
#include <limits>

namespace trx {

namespace messages {
std::string CannotOpenFile(const std::string& path) {
    return "Cannot open file " + path;
}
std::string CannotCreateFile(const std::string& path) {
    return "Cannot create file " + path;
}
std::string ListIndexOutOfBounds(int index) {
    return "List index out of bounds (" + std::to_string(index) + ")";
}
}  // namespace messages

namespace {
[[noreturn]] void Invalid() {
    throw cProjectFileError(messages::kInvalidPropertyValue);
}
[[noreturn]] void ReadError() {
    throw cProjectFileError(messages::kStreamReadError);
}
bool IsAscii(std::string_view text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}
}  // namespace

// ---- writing ----

void cValueWriter::Little(std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        Byte(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

void cValueWriter::Integer(std::int32_t value) {
    if (value >= -128 && value <= 127) {
        Byte(tag::kInt8);
        Little(static_cast<std::uint32_t>(value), 1);
    } else if (value >= -32768 && value <= 32767) {
        Byte(tag::kInt16);
        Little(static_cast<std::uint32_t>(value), 2);
    } else {
        Byte(tag::kInt32);
        Little(static_cast<std::uint32_t>(value), 4);
    }
}

void cValueWriter::Int64(std::int64_t value) {
    if (value >= std::numeric_limits<std::int32_t>::min() &&
        value <= std::numeric_limits<std::int32_t>::max()) {
        Integer(static_cast<std::int32_t>(value));
    } else {
        Byte(tag::kInt64);
        Little(static_cast<std::uint64_t>(value), 8);
    }
}

void cValueWriter::String(std::string_view text) {
    if (!IsAscii(text)) {
        // Any byte of 0x80 or more: the UTF-8 form, with the bytes as the model holds them.
        Byte(tag::kUtf8String);
        Little(text.size(), 4);
    } else if (text.size() <= 255) {
        Byte(tag::kString);
        Little(text.size(), 1);
    } else {
        Byte(tag::kLongString);
        Little(text.size(), 4);
    }
    out_.append(text);
}

void cValueWriter::Char(std::uint8_t value) {
    std::string text;
    text::AppendUtf8(text, text::Cp1252ToUnicode(value));
    String(text);
}

void cValueWriter::Date(double days) {
    Byte(tag::kDate);
    std::uint64_t bits = 0;
    static_assert(sizeof bits == sizeof days);
    std::memcpy(&bits, &days, sizeof bits);
    Little(bits, 8);
}

// ---- reading ----

std::uint8_t cValueReader::Byte() {
    if (pos_ >= data_.size()) {
        ReadError();
    }
    return static_cast<std::uint8_t>(data_[pos_++]);
}

std::uint64_t cValueReader::Little(int bytes) {
    const std::string_view raw = Take(static_cast<std::uint64_t>(bytes));
    std::uint64_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(raw[static_cast<std::size_t>(i)]);
    }
    return value;
}

std::string_view cValueReader::Take(std::uint64_t size) {
    if (size > data_.size() - pos_) {
        ReadError();
    }
    const std::string_view part = data_.substr(pos_, static_cast<std::size_t>(size));
    pos_ += static_cast<std::size_t>(size);
    return part;
}

bool cValueReader::NextIsListEnd() {
    if (pos_ >= data_.size()) {
        ReadError();
    }
    return static_cast<std::uint8_t>(data_[pos_]) == tag::kListEnd;
}

void cValueReader::ListBegin() {
    if (Byte() != tag::kListBegin) {
        Invalid();
    }
}

void cValueReader::ListEnd() {
    if (Byte() != tag::kListEnd) {
        Invalid();
    }
}

bool cValueReader::Boolean() {
    return Byte() == tag::kTrue;
}

bool cValueReader::TryIntegerAfterTag(std::uint8_t t, std::int64_t& value) {
    switch (t) {
        case tag::kInt8:
            value = static_cast<std::int8_t>(Little(1));
            return true;
        case tag::kInt16:
            value = static_cast<std::int16_t>(Little(2));
            return true;
        case tag::kInt32:
            value = static_cast<std::int32_t>(Little(4));
            return true;
        default:
            return false;
    }
}

std::int32_t cValueReader::Integer() {
    std::int64_t value = 0;
    if (!TryIntegerAfterTag(Byte(), value)) {
        Invalid();
    }
    return static_cast<std::int32_t>(value);
}

std::int64_t cValueReader::Int64() {
    const std::uint8_t t = Byte();
    if (t == tag::kInt64) {
        return static_cast<std::int64_t>(Little(8));
    }
    std::int64_t value = 0;
    if (!TryIntegerAfterTag(t, value)) {
        Invalid();
    }
    return value;
}

std::string cValueReader::StringAfterTag(std::uint8_t t) {
    switch (t) {
        case tag::kString:
            return std::string(Take(Little(1)));
        case tag::kLongString:
        case tag::kUtf8String:
            return std::string(Take(Little(4)));
        case tag::kWideString: {
            const std::uint64_t units = Little(4);
            const std::string_view raw = Take(units * 2);
            return text::Utf16LeToUtf8(reinterpret_cast<const unsigned char*>(raw.data()), raw.size() / 2);
        }
        default:
            Invalid();
    }
}

std::string cValueReader::String() {
    return StringAfterTag(Byte());
}

std::uint8_t cValueReader::Char() {
    const std::uint8_t t = Byte();
    const std::string text = StringAfterTag(t);
    if (t == tag::kString || t == tag::kLongString) {
        // Single-byte forms hold the byte itself.
        if (text.size() != 1) {
            Invalid();
        }
        return static_cast<std::uint8_t>(text[0]);
    }
    std::size_t pos = 0;
    if (text.empty()) {
        Invalid();
    }
    const char32_t cp = text::DecodeUtf8(text, pos);
    if (pos != text.size()) {
        Invalid();
    }
    return text::UnicodeToCp1252(cp);
}

double cValueReader::Date() {
    const std::uint8_t t = Byte();
    if (t == tag::kDate) {
        const std::uint64_t bits = Little(8);
        double days = 0;
        std::memcpy(&days, &bits, sizeof days);
        return days;
    }
    std::int64_t value = 0;
    if (!TryIntegerAfterTag(t, value)) {
        Invalid();
    }
    return static_cast<double>(value);
}

void cValueReader::Raw(void* data, std::size_t size) {
    const std::string_view raw = Take(size);
    std::memcpy(data, raw.data(), size);
}

}  // namespace trx
