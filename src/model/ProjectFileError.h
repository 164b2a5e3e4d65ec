// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

namespace trx {

// A project file that cannot be read or written. The message is the one the user sees, for example
// "Stream read error" or "Cannot open file /home/anna/Daten.buf".
class cProjectFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

namespace messages {
inline const char* const kInvalidPropertyValue = "Invalid property value";
inline const char* const kStreamReadError = "Stream read error";
inline const char* const kStreamWriteError = "Stream write error";
std::string CannotOpenFile(const std::string& path);
std::string CannotCreateFile(const std::string& path);
std::string ListIndexOutOfBounds(int index);
}  // namespace messages

}  // namespace trx
