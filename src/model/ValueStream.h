// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The tagged value stream of the project file. Multi-byte numbers are little-endian.
namespace trx {

namespace tag {
inline constexpr std::uint8_t kListEnd = 0x00;
inline constexpr std::uint8_t kListBegin = 0x01;
inline constexpr std::uint8_t kInt8 = 0x02;
inline constexpr std::uint8_t kInt16 = 0x03;
inline constexpr std::uint8_t kInt32 = 0x04;
inline constexpr std::uint8_t kString = 0x06;
inline constexpr std::uint8_t kFalse = 0x08;
inline constexpr std::uint8_t kTrue = 0x09;
inline constexpr std::uint8_t kLongString = 0x0C;
inline constexpr std::uint8_t kDate = 0x11;
inline constexpr std::uint8_t kWideString = 0x12;
inline constexpr std::uint8_t kInt64 = 0x13;
inline constexpr std::uint8_t kUtf8String = 0x14;
}  // namespace tag

// Appends values to a byte buffer.
class cValueWriter {
public:
    explicit cValueWriter(std::string& out) : out_(out) {}

    void ListBegin() { Byte(tag::kListBegin); }
    void ListEnd() { Byte(tag::kListEnd); }
    void Boolean(bool value) { Byte(value ? tag::kTrue : tag::kFalse); }
    void Integer(std::int32_t value);  // shortest of the three integer forms
    void Int64(std::int64_t value);    // as an Integer when it fits in 32 bits
    void String(std::string_view text);
    void Char(std::uint8_t value);  // through the code page 1252 table
    void Date(double days);
    void Raw(const void* data, std::size_t size) { out_.append(static_cast<const char*>(data), size); }

private:
    void Byte(std::uint8_t b) { out_.push_back(static_cast<char>(b)); }
    void Little(std::uint64_t value, int bytes);

    std::string& out_;
};

// Reads values from a byte buffer; every violation throws cProjectFileError with the user's message.
// Nothing is allocated for a length that runs past the end of the data.
class cValueReader {
public:
    explicit cValueReader(std::string_view data) : data_(data) {}

    bool NextIsListEnd();  // peeks; "Stream read error" at the end of the data
    void ListBegin();
    void ListEnd();
    bool Boolean();
    std::int32_t Integer();
    std::int64_t Int64();
    std::string String();
    std::uint8_t Char();
    double Date();
    void Raw(void* data, std::size_t size);

    std::size_t Position() const { return pos_; }

private:
    std::uint8_t Byte();
    std::uint64_t Little(int bytes);
    std::string_view Take(std::uint64_t size);
    // Reads a String whose tag was already read and returns its UTF-8 text.
    std::string StringAfterTag(std::uint8_t t);
    bool TryIntegerAfterTag(std::uint8_t t, std::int64_t& value);

    std::string_view data_;
    std::size_t pos_ = 0;
};

}  // namespace trx
